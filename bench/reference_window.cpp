// The floor for start-up, memory and click-to-wire: a bare window of the toolkit with the same
// controls at the same places, whose Send button writes one fixed datagram (a single zero
// byte, as an empty message is sent) with a plain send() on a socket connected at start.
// It has no status line.
#include "window/control_places.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace places = zav::places;

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
    window.setFixedSize(places::pixels(places::kClientArea.width),
                        places::pixels(places::kClientArea.height));
    const auto place = [&window](QWidget *control, const places::Control &at) {
        control->setParent(&window);
        control->setGeometry(places::pixels(at.twips.left), places::pixels(at.twips.top),
                             places::pixels(at.twips.width), places::pixels(at.twips.height));
    };
    const auto caption = [](const places::Control &at) { return QString::fromLatin1(at.caption); };
    place(new QLabel(caption(places::kAddressLabel)), places::kAddressLabel);
    place(new QLineEdit(caption(places::kAddress)), places::kAddress);
    place(new QLabel(caption(places::kPortLabel)), places::kPortLabel);
    place(new QLineEdit(caption(places::kPort)), places::kPort);
    place(new QPlainTextEdit, places::kMessage);
    place(new QPushButton(caption(places::kDisconnect)), places::kDisconnect);
    place(new QPushButton(caption(places::kConnect)), places::kConnect);
    auto *send = new QPushButton(caption(places::kSend));
    place(send, places::kSend);
    QObject::connect(send, &QPushButton::clicked, [sender] {
        const char datagram = '\0';
        (void)::send(sender, &datagram, 1, 0);
    });
    window.show();
    return QApplication::exec();
}
