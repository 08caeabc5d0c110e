#include "endpoint/socket_endpoint.h"
#include "window/frmMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The name ties the window to its launcher; the box has its own title.
    QApplication::setApplicationName(QStringLiteral("zav-udp-test"));
    QApplication::setApplicationVersion(QStringLiteral(ZAV_VERSION_TEXT));
    QGuiApplication::setDesktopFileName(QStringLiteral("net.zav.UdpTest"));

    zav::frmMain window(std::make_unique<zav::SocketEndpoint>(), zav::makeMessageBoxNotice());
    window.Form_Load();
    window.show();
    return QApplication::exec();
}
