// The Send handler against its floor, in the same binary and run: the window's Send with the
// real socket endpoint against a plain send() of the same bytes on a connected socket.
#include "bench/draining_receiver.h"
#include "endpoint/socket_endpoint.h"
#include "window/frmMain.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <benchmark/benchmark.h>

namespace {

class SilentNotice final : public zav::ConnectFailureNotice
{
public:
    void announce(QWidget *) override { }
};

// A message of the given length that starts with "^M", so the caret escape is on the path.
QString messageOf(std::int64_t length)
{
    QString message(static_cast<qsizetype>(length), u'x');
    return message.replace(0, 2, QStringLiteral("^M"));
}

void SendHandler(benchmark::State &state)
{
    zav::bench::DrainingReceiver receiver;
    zav::frmMain window(std::make_unique<zav::SocketEndpoint>(), std::make_unique<SilentNotice>());
    window.Form_Load();
    window.findChild<QLineEdit *>("txtIPPort")->setText(QString::number(receiver.port()));
    window.cmdConnect_Click();
    window.findChild<QPlainTextEdit *>("txtSend")->setPlainText(messageOf(state.range(0)));
    for (auto _ : state)
        window.cmdSend_Click(zav::kSendButtonIndex);
    state.SetItemsProcessed(state.iterations());
}

void PlainSend(benchmark::State &state)
{
    zav::bench::DrainingReceiver receiver;
    const int sender = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in peer {};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(receiver.port());
    peer.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connect(sender, reinterpret_cast<sockaddr *>(&peer), sizeof peer);
    // The bytes the handler puts on the wire: a carriage return, the rest, and a closing zero.
    std::string datagram = messageOf(state.range(0)).mid(1).toStdString();
    datagram[0] = '\r';
    datagram.push_back('\0');
    for (auto _ : state)
        benchmark::DoNotOptimize(send(sender, datagram.data(), datagram.size(), 0));
    state.SetItemsProcessed(state.iterations());
    close(sender);
}

BENCHMARK(SendHandler)->Arg(5)->Arg(1000);
BENCHMARK(PlainSend)->Arg(5)->Arg(1000);

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
