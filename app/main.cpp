#include "frmMain.h"
#include "socket_endpoint.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(zav::kApplicationTitle));
    QApplication::setApplicationVersion(QStringLiteral(ZAV_VERSION_TEXT));

    zav::frmMain window(std::make_unique<zav::SocketEndpoint>());
    window.Form_Load();
    window.show();
    return QApplication::exec();
}
