// The send path against its floor, in the same binary and run:
//   Send handler (window + socket endpoint)   vs  send() of the same bytes on a connected socket
//   caret escape + datagram encoding          vs  copying the same bytes
//   reading the port text                     (typical and 10,000 characters)
#include "caret_escape.h"
#include "datagram_encoding.h"
#include "draining_receiver.h"
#include "frmMain.h"
#include "number_reading.h"
#include "socket_endpoint.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

// Counts every allocation made through operator new, so a bench can report allocations per
// operation.
namespace {
std::atomic<long long> g_allocations {0};
}

void *operator new(std::size_t size)
{
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void *memory = std::malloc(size ? size : 1))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void *memory) noexcept
{
    std::free(memory);
}

void operator delete(void *memory, std::size_t) noexcept
{
    std::free(memory);
}

namespace {

using zav::Text;

class SilentNotice final : public zav::ConnectFailureNotice
{
public:
    void announce(QWidget *) override { }
};

// Reports allocations per operation for every bench, so all of them carry the same counters.
class AllocationCount
{
public:
    explicit AllocationCount(benchmark::State &state) : m_state(state) { }
    ~AllocationCount()
    {
        m_state.counters["allocations"] =
                benchmark::Counter(static_cast<double>(g_allocations.load() - m_before),
                                   benchmark::Counter::kAvgIterations);
    }
    AllocationCount(const AllocationCount &) = delete;
    AllocationCount &operator=(const AllocationCount &) = delete;

private:
    benchmark::State &m_state;
    long long m_before = g_allocations.load();
};

Text messageOf(std::int64_t length)
{
    Text message(static_cast<std::size_t>(length), u'x');
    if (length > 1)
        message.replace(0, 2, u"^M");
    return message;
}

void SendHandler(benchmark::State &state)
{
    zav::bench::DrainingReceiver receiver;
    zav::frmMain window(std::make_unique<zav::SocketEndpoint>(), std::make_unique<SilentNotice>());
    window.Form_Load();
    window.findChild<QLineEdit *>("txtIPPort")->setText(QString::number(receiver.port()));
    window.cmdConnect_Click();
    const Text message = messageOf(state.range(0));
    window.findChild<QPlainTextEdit *>("txtSend")->setPlainText(
            QString(reinterpret_cast<const QChar *>(message.data()),
                    static_cast<qsizetype>(message.size())));
    const AllocationCount allocations(state);
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
    // The bytes the handler puts on the wire: the escaped text and its closing zero.
    const std::string datagram = [&] {
        const Text message = messageOf(state.range(0));
        std::string bytes;
        (void)zav::encodeDatagram(message.front() == u'^' ? zav::ApplyCaretEscape(message)
                                                          : message,
                                  static_cast<std::ptrdiff_t>(message.size()), bytes);
        return bytes;
    }();
    const AllocationCount allocations(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(send(sender, datagram.data(), datagram.size(), 0));
    state.SetItemsProcessed(state.iterations());
    close(sender);
}

void EscapeAndEncode(benchmark::State &state)
{
    const Text message = messageOf(state.range(0));
    std::string datagram;
    const AllocationCount allocations(state);
    for (auto _ : state) {
        const Text escaped = zav::ApplyCaretEscape(message);
        benchmark::DoNotOptimize(zav::encodeDatagram(
                escaped, static_cast<std::ptrdiff_t>(escaped.size()) + 1, datagram));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}

// What any caret escape must at least do: copy the 16-bit text once.
void CopyText(benchmark::State &state)
{
    const Text message = messageOf(state.range(0));
    Text copy;
    const AllocationCount allocations(state);
    for (auto _ : state) {
        copy.assign(message);
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
}

void CopyBytes(benchmark::State &state)
{
    const std::string source(static_cast<std::size_t>(state.range(0)), 'x');
    std::string datagram;
    const AllocationCount allocations(state);
    for (auto _ : state) {
        datagram.assign(source.data(), source.size());
        benchmark::DoNotOptimize(datagram.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void ReadPortTypical(benchmark::State &state)
{
    const Text port = u"2160";
    const AllocationCount allocations(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(zav::readNumber(port));
}

void ReadPortLong(benchmark::State &state)
{
    Text port;
    while (port.size() < 10'000)
        port += u" 2 1 6 0";
    const AllocationCount allocations(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(zav::readNumber(port));
}

BENCHMARK(SendHandler)->Arg(5)->Arg(1000)->Arg(32766);
BENCHMARK(PlainSend)->Arg(5)->Arg(1000)->Arg(32766);
BENCHMARK(EscapeAndEncode)->Arg(32766);
BENCHMARK(EscapeAndEncode)
        ->Name("EscapeAndEncodeScaling")
        ->RangeMultiplier(2)
        ->Range(1024, 32768)
        ->Complexity(benchmark::oN);
BENCHMARK(CopyBytes)->Arg(32766);
BENCHMARK(CopyText)->Arg(32766);
BENCHMARK(ReadPortTypical);
BENCHMARK(ReadPortLong);

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
