// The Send handler against its floor, in the same binary and run: the window's Send with the
// real socket endpoint against a plain send() of the same bytes on a connected socket. Each is
// measured twice: to the datagram's arrival at a receiver on 127.0.0.1 (what the operator
// waits for), and for the whole call (the handler also writes the status line, after the
// datagram has left).
#include "bench/draining_receiver.h"
#include "endpoint/socket_endpoint.h"
#include "window/frmMain.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

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

// The window, started and connected to the receiver, with the message typed.
class SendingWindow
{
public:
    SendingWindow(const zav::bench::DrainingReceiver &receiver, std::int64_t length)
        : m_window(std::make_unique<zav::SocketEndpoint>(), std::make_unique<SilentNotice>())
    {
        m_window.Form_Load();
        m_window.findChild<QLineEdit *>("txtIPPort")->setText(QString::number(receiver.port()));
        m_window.cmdConnect_Click();
        m_window.findChild<QPlainTextEdit *>("txtSend")->setPlainText(messageOf(length));
    }
    void send() { m_window.cmdSend_Click(zav::kSendButtonIndex); }

private:
    zav::frmMain m_window;
};

// A plain connected UDP socket and the bytes the handler puts on the wire: a carriage return,
// the rest of the message, and a closing zero.
class PlainSender
{
public:
    PlainSender(const zav::bench::DrainingReceiver &receiver, std::int64_t length)
    {
        m_socket = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in peer {};
        peer.sin_family = AF_INET;
        peer.sin_port = htons(receiver.port());
        peer.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connect(m_socket, reinterpret_cast<sockaddr *>(&peer), sizeof peer);
        m_datagram = messageOf(length).mid(1).toStdString();
        m_datagram[0] = '\r';
        m_datagram.push_back('\0');
    }
    ~PlainSender() { close(m_socket); }
    PlainSender(const PlainSender &) = delete;
    PlainSender &operator=(const PlainSender &) = delete;

    void send()
    {
        benchmark::DoNotOptimize(::send(m_socket, m_datagram.data(), m_datagram.size(), 0));
    }

private:
    int m_socket = -1;
    std::string m_datagram;
};

// Times each send to its datagram's arrival.
template<typename Sender>
void toArrival(benchmark::State &state)
{
    zav::bench::DrainingReceiver receiver;
    Sender sender(receiver, state.range(0));
    for (auto _ : state) {
        const long long before = receiver.received();
        const Clock::time_point start = Clock::now();
        sender.send();
        const Clock::time_point arrived = receiver.arrivalAfter(before);
        state.SetIterationTime(std::chrono::duration<double>(arrived - start).count());
    }
}

// Times each send call as a whole.
template<typename Sender>
void wholeCall(benchmark::State &state)
{
    zav::bench::DrainingReceiver receiver;
    Sender sender(receiver, state.range(0));
    for (auto _ : state)
        sender.send();
}

void SendHandlerToArrival(benchmark::State &state)
{
    toArrival<SendingWindow>(state);
}
void PlainSendToArrival(benchmark::State &state)
{
    toArrival<PlainSender>(state);
}
void SendHandler(benchmark::State &state)
{
    wholeCall<SendingWindow>(state);
}
void PlainSend(benchmark::State &state)
{
    wholeCall<PlainSender>(state);
}

BENCHMARK(SendHandlerToArrival)->Arg(5)->Arg(1000)->UseManualTime();
BENCHMARK(PlainSendToArrival)->Arg(5)->Arg(1000)->UseManualTime();
BENCHMARK(SendHandler)->Arg(5)->Arg(1000)->Arg(32766);
BENCHMARK(PlainSend)->Arg(32766);
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
