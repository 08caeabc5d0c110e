#include "endpoint/socket_endpoint.h"
#include "window/frmMain.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

// While the application starts, the toolkit's only fatal failure is a display it cannot open
// (or no platform to show a window on). Instead of its abort and core dump: one line, status 1.
void exitWithoutDisplay(QtMsgType type, const QMessageLogContext &, const QString &)
{
    if (type != QtFatalMsg)
        return;
    std::fputs("zav-udp-test: no display could be opened\n", stderr);
    std::_Exit(EXIT_FAILURE);
}

} // namespace

int main(int argc, char *argv[])
{
    // The program reads no command line, and neither may the toolkit: it is handed only the
    // program's name (its QT_* environment variables still apply).
    char programName[] = "zav-udp-test";
    int toolkitArgc = 1;
    char *toolkitArgv[] = {argc > 0 && argv[0] ? argv[0] : programName, nullptr};

    const QtMessageHandler toolkitHandler = qInstallMessageHandler(exitWithoutDisplay);
    QApplication app(toolkitArgc, toolkitArgv);
    qInstallMessageHandler(toolkitHandler);

    // The name ties the window to its launcher; the box has its own title.
    QApplication::setApplicationName(QStringLiteral("zav-udp-test"));
    QApplication::setApplicationVersion(QStringLiteral(ZAV_VERSION_TEXT));
    QGuiApplication::setDesktopFileName(QStringLiteral("net.zav.UdpTest"));

    zav::frmMain window(std::make_unique<zav::SocketEndpoint>(), zav::makeMessageBoxNotice());
    window.Form_Load();
    window.show();
    return QApplication::exec();
}
