// The floor for start-up, memory and click-to-wire: a bare window of the toolkit with the same
// controls at the same places, whose Send button writes one fixed datagram (a single zero
// byte, as an empty message is sent) with a plain send() on a socket connected at start.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int sender = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in peer {};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(2160);
    peer.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::connect(sender, reinterpret_cast<sockaddr *>(&peer), sizeof peer);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Reference"));
    window.setFixedSize(502, 192);
    (new QLabel(QStringLiteral("IP Address"), &window))->setGeometry(16, 24, 113, 25);
    (new QLineEdit(QStringLiteral("127.0.0.1"), &window))->setGeometry(16, 48, 129, 25);
    (new QLabel(QStringLiteral("IP Port"), &window))->setGeometry(16, 88, 113, 17);
    (new QLineEdit(QStringLiteral("2160"), &window))->setGeometry(16, 104, 137, 25);
    (new QPlainTextEdit(&window))->setGeometry(224, 24, 233, 105);
    (new QPushButton(QStringLiteral("Disconnect"), &window))->setGeometry(16, 144, 73, 25);
    (new QPushButton(QStringLiteral("Connect"), &window))->setGeometry(120, 144, 81, 25);
    auto *send = new QPushButton(QStringLiteral("Send"), &window);
    send->setGeometry(296, 144, 81, 25);
    QObject::connect(send, &QPushButton::clicked, [sender] {
        const char datagram = '\0';
        (void)::send(sender, &datagram, 1, 0);
    });
    window.show();
    return QApplication::exec();
}
