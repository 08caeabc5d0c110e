#include "tests/support/required_in_ci.h"
#include "tests/support/window_over_socket.h"

#ifdef __linux__
#    include <dirent.h>
#endif

#include <fstream>
#include <sstream>

namespace zav::testing {
namespace {

// The system's own counts come from /proc, which only Linux has; elsewhere the tests that need
// them are not built.
#ifdef __linux__

// The system's count of UDP datagrams that arrived for a port nobody listened on.
std::optional<long long> udpNoPorts()
{
    std::ifstream snmp("/proc/net/snmp");
    std::string header;
    std::string values;
    while (std::getline(snmp, header) && std::getline(snmp, values)) {
        if (header.rfind("Udp:", 0) != 0)
            continue;
        std::istringstream names(header);
        std::istringstream numbers(values);
        std::string name;
        std::string number;
        while (names >> name && numbers >> number) {
            if (name == "NoPorts")
                return std::stoll(number);
        }
    }
    return std::nullopt;
}

int openDescriptors()
{
    int count = 0;
    if (DIR *dir = opendir("/proc/self/fd")) {
        while (readdir(dir))
            ++count;
        closedir(dir);
    }
    return count;
}

std::uint16_t portNobodyListensOn()
{
    LoopbackReceiver gone;
    return gone.port();
}

TEST_F(WindowOverLoopback, EveryDatagramLeavesWhileEarlierOnesBounce)
{
    const std::uint16_t closedPort = portNobodyListensOn();
    connectTo("127.0.0.1", QString::number(closedPort));
    ASSERT_EQ(takeNotices(), 0);

    const auto before = udpNoPorts();
    if (!before)
        ZAV_SKIP_OUTSIDE_CI("this system does not count datagrams to closed ports");
    constexpr int kSends = 1000;
    for (int i = 0; i < kSends; ++i)
        send("bounce");
    const long long bounced = *udpNoPorts() - *before;
    // Other programs may add to the count, never take from it.
    EXPECT_GE(bounced, kSends);

    LoopbackReceiver late(closedPort);
    send("after the bounces");
    EXPECT_EQ(late.receive(), "after the bounces\0"s);
    RecordProperty("sends", kSends);
    RecordProperty("reachedClosedPort", static_cast<int>(bounced));
}

// A datagram to a closed port draws a report within moments: the status line tells it at once,
// with the ICMP details, and the next Send does not tell it again.
TEST_F(WindowOverLoopback, BounceIsToldAtOnceAndOnlyOnce)
{
    const std::uint16_t gone = portNobodyListensOn();
    connectTo("127.0.0.1", QString::number(gone));
    send("abcd");
    const QString bounced = "Sent 5 bytes to 127.0.0.1:" + QString::number(gone) +
            " at {time} \u2014 came back: port unreachable, ICMP 3/3 from 127.0.0.1: 61 62 63 64 "
            "00";
    EXPECT_TRUE(QTest::qWaitFor([&] { return wholeStatusSays(bounced); }, 2000))
            << wholeStatusSays(bounced).message();
    // At the default font the line keeps what came back, cutting the details and the bytes.
    window.setFont(QFont(window.font().family(), 9));
    EXPECT_TRUE(
            statusLine()->text().startsWith("Sent 5 bytes to 127.0.0.1:" + QString::number(gone)));
    EXPECT_TRUE(statusLine()->text().contains("\u2014 came back: port unreachable"))
            << statusLine()->text().toStdString();

    LoopbackReceiver back(gone);
    send("next");
    EXPECT_EQ(back.receive(), "next\0"s);
    EXPECT_TRUE(wholeStatusSays("Sent 5 bytes to 127.0.0.1:" + QString::number(gone) +
                                " at {time}: 6E 65 78 74 00"));
}

// A report that comes back while the line tells something else (here, a refused caret) is told
// with it at once, naming the datagram it concerns; after a Connect to another peer, nothing of
// it is told about that peer's datagrams.
TEST_F(WindowOverLoopback, BounceWhileTheLineToldSomethingElseIsToldWithItAndOnlyThere)
{
    const QString gone = QString::number(portNobodyListensOn());
    connectTo("127.0.0.1", gone);
    send("abcd");
    send("^");
    const QString told = "Not sent: nothing follows the caret (^M sends a carriage return) \u2014 "
                         "came back about what was sent to 127.0.0.1:" +
            gone + " (last at {time}): port unreachable, ICMP 3/3 from 127.0.0.1";
    EXPECT_TRUE(QTest::qWaitFor([&] { return wholeStatusSays(told); }, 2000))
            << wholeStatusSays(told).message();

    connectTo("127.0.0.1", QString::number(receiver.port()));
    send("b");
    EXPECT_EQ(receiver.receive(), "b\0"s);
    EXPECT_TRUE(wholeStatusSays("Sent 2 bytes to 127.0.0.1:" + QString::number(receiver.port()) +
                                " at {time}: 62 00"));
}

TEST_F(WindowOverLoopback, ThousandConnectCyclesLeakNoDescriptor)
{
    const QString port = QString::number(receiver.port());
    click("cmdDisconnect"); // each cycle ends closed, so start closed
    const int before = openDescriptors();
    for (int i = 0; i < 1000; ++i) {
        connectTo("127.0.0.1", port);
        connectTo("127.0.0.1", port); // a Connect while open reopens
        click("cmdDisconnect");
        connectTo("127.0.0.1", "0");
    }
    const int after = openDescriptors();
    EXPECT_EQ(after, before);
    EXPECT_EQ(takeNotices(), 1000);
    RecordProperty("descriptorsBefore", before);
    RecordProperty("descriptorsAfter", after);
}

#endif

TEST_F(WindowOverLoopback, TenThousandSendsArriveInOrder)
{
    constexpr int kSends = 10'000;
    constexpr int kBatch = 100; // well within the receiver's buffer
    int arrived = 0;
    for (int batch = 0; batch < kSends / kBatch; ++batch) {
        for (int i = 0; i < kBatch; ++i)
            send(QString("message %1").arg(batch * kBatch + i));
        for (int i = 0; i < kBatch; ++i) {
            const std::string expected = "message " + std::to_string(batch * kBatch + i) + '\0';
            ASSERT_EQ(receiver.receive(), expected);
            ++arrived;
        }
    }
    EXPECT_EQ(receiver.receive(kQuietPeriod), std::nullopt);
    RecordProperty("sends", kSends);
    RecordProperty("arrivedInOrder", arrived);
}

} // namespace
} // namespace zav::testing
