#include "endpoint/socket_endpoint.h"
#include "tests/support/before_any_thread.h"
#include "tests/support/loopback_receiver.h"
#include "tests/support/required_in_ci.h"
#include "tests/support/rows.h"
#include "tests/support/window_over_socket.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <poll.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace zav::testing {
namespace {

// Set before any thread: this process has network and mount namespaces of its own, with only its
// own loopback, so that loopback can be given a queue that holds datagrams back without touching
// anyone else's traffic, and no other address can be reached.
bool g_privateLoopback = false;

// A queue on the private loopback that lets one datagram through and holds the rest, so the
// socket's send buffer fills up exactly as it does on a congested link.
bool holdLoopbackTraffic(bool hold)
{
    return std::system(hold ? "tc qdisc add dev lo root tbf rate 8bit burst 70000 limit 100000000"
                            : "tc qdisc del dev lo root") == 0;
}

using PrivateNetwork = WindowOverSocket;
using SendBufferFull = WindowOverSocket;

TEST_F(SendBufferFull, SendSaysWhyAndTheNextSendWorks)
{
    if (!g_privateLoopback)
        ZAV_SKIP_OUTSIDE_CI("needs a network namespace of its own (root) and tc");
    LoopbackReceiver receiver;
    connectTo("127.0.0.1", QString::number(receiver.port()));
    ASSERT_TRUE(log->calls.empty());

    ASSERT_TRUE(holdLoopbackTraffic(true));
    QPlainTextEdit *typed = message();
    auto *send = control<QPushButton>("cmdSend");
    typed->setPlainText(QString(32766, u'f'));
    // Send as the operator would until the endpoint says it cannot take a datagram now.
    int sends = 0;
    while (endpoint->CanSend() && sends < 1000) {
        QTest::mouseClick(send, Qt::LeftButton);
        ASSERT_TRUE(wholeStatusSays("Sent 32767 bytes to *")) << sends;
        ++sends;
    }
    ASSERT_FALSE(endpoint->CanSend());
    // A Send now sends nothing, changes nothing, shows no box, and says why.
    QTest::mouseClick(send, Qt::LeftButton);
    EXPECT_TRUE(log->calls.empty());
    EXPECT_TRUE(statusSays("Not sent: the send buffer is full \u2014 try again in a moment"));
    EXPECT_EQ(typed->toPlainText().size(), 32766);
    // CanSend said so because the buffer takes no datagram now: asked anyway, it answers
    // "would block".
    EXPECT_LT(endpoint->SendText(Text(32766, u'f'), 32767), 1);
    EXPECT_EQ(endpoint->LastErrorCode(), EndpointError::WouldBlockError);

    ASSERT_TRUE(holdLoopbackTraffic(false));
    typed->setPlainText("after");
    QTest::mouseClick(send, Qt::LeftButton);
    // Whatever the queue still held may come first, whole; then the new message.
    int heldDelivered = 0;
    std::optional<std::string> datagram;
    while ((datagram = receiver.receive()) && datagram->size() == 32767u)
        ++heldDelivered;
    EXPECT_EQ(datagram, "after\0"s);
    EXPECT_LE(heldDelivered, sends);
    // The datagrams the endpoint took before its buffer was full.
    RecordProperty("datagramsTaken", sends);
}

// A datagram the system drops on its way out for want of buffer space (a shaped link's queue is
// full) is told as the system's drop, not as a full send buffer: the socket's buffer is empty.
TEST_F(PrivateNetwork, DropOnTheWayOutIsToldAsTheSystemsOwn)
{
    if (!g_privateLoopback)
        ZAV_SKIP_OUTSIDE_CI("needs a network namespace of its own (root) and tc");
    LoopbackReceiver receiver;
    connectTo("127.0.0.1", QString::number(receiver.port()));
    ASSERT_EQ(std::system("tc qdisc add dev lo root tbf rate 8bit burst 2000 limit 1"), 0);
    bool dropped = false;
    for (int i = 0; i < 10 && !dropped; ++i) {
        send(QString(1000, u'd'));
        dropped = statusSays("Not sent: the system refused: " + qt_error_string(ENOBUFS));
    }
    ASSERT_EQ(std::system("tc qdisc del dev lo root"), 0);
    EXPECT_TRUE(dropped);
}

// Where the system itself refuses, the operator reads the system's own words. With no route to
// it in this namespace, nothing can be sent to the documentation address either.
TEST_F(PrivateNetwork, SystemRefusalIsNamed)
{
    if (!g_privateLoopback)
        ZAV_SKIP_OUTSIDE_CI("needs a network namespace of its own (root)");
    connectTo("192.0.2.1", "2160");
    EXPECT_EQ(log->calls, std::vector<std::string> {"Notice"});
    EXPECT_TRUE(statusSays("Not connected: the system refused: " + qt_error_string(ENETUNREACH)));
}

// The ICMP report a host or router sends about a datagram it will not take, made by hand on a raw
// socket: its own 8 bytes, then the IP and UDP headers of the datagram it is about.
bool reportAboutDatagram(std::uint16_t fromPort, std::uint16_t toPort, std::uint8_t type,
                         std::uint8_t code, std::uint16_t nextHopMtu)
{
    const auto checksum = [](const unsigned char *bytes, std::size_t size) {
        std::uint32_t sum = 0;
        for (std::size_t i = 0; i + 1 < size; i += 2)
            sum += (bytes[i] << 8) | bytes[i + 1];
        while (sum >> 16)
            sum = (sum & 0xFFFF) + (sum >> 16);
        return static_cast<std::uint16_t>(~sum);
    };
    const auto put16 = [](unsigned char *at, std::uint16_t value) {
        at[0] = static_cast<unsigned char>(value >> 8);
        at[1] = static_cast<unsigned char>(value & 0xFF);
    };
    unsigned char report[8 + 20 + 8] = {type, code};
    put16(report + 6, nextHopMtu); // read only for "fragmentation needed"
    unsigned char *ip = report + 8;
    ip[0] = 0x45; // version 4, 20-byte header
    put16(ip + 2, 20 + 8 + 7);
    ip[8] = 64;
    ip[9] = IPPROTO_UDP;
    ip[12] = ip[16] = 127;
    ip[15] = ip[19] = 1;
    put16(ip + 10, checksum(ip, 20));
    unsigned char *udp = ip + 20;
    put16(udp, fromPort);
    put16(udp + 2, toPort);
    put16(udp + 4, 8 + 7);
    put16(report + 2, checksum(report, sizeof report));

    const int raw = socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
    sockaddr_in loopback {};
    loopback.sin_family = AF_INET;
    loopback.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool sent = raw >= 0 &&
            sendto(raw, report, sizeof report, 0, reinterpret_cast<sockaddr *>(&loopback),
                   sizeof loopback) == static_cast<ssize_t>(sizeof report);
    if (raw >= 0)
        close(raw);
    return sent;
}

struct ReportCase : Row
{
    std::uint8_t type;
    std::uint8_t code;
    std::uint16_t nextHopMtu;
    QString why;
};

const ReportCase kReports[] = {
        {"portUnreachable", 3, 3, 0, "port unreachable, ICMP 3/3"},
        {"hostUnreachable", 3, 1, 0, "host unreachable, ICMP 3/1"},
        {"fragmentationNeeded", 3, 4, 1200,
         "fragmentation needed, next hop takes 1200 bytes, ICMP 3/4"},
        {"hostProhibited", 3, 10, 0, "prohibited, ICMP 3/10"},
        {"administrativelyProhibited", 3, 13, 0, "prohibited, ICMP 3/13"},
};

class ReturnedReport : public WindowOverSocket, public ::testing::WithParamInterface<ReportCase>
{ };

// Whatever an earlier datagram's report left pending, the next Send goes out, and says what came
// back; the one after it has nothing to add.
TEST_P(ReturnedReport, NextSendArrivesAndSaysWhatCameBack)
{
    if (!g_privateLoopback)
        ZAV_SKIP_OUTSIDE_CI("needs a network namespace of its own (root) for a raw socket");
    const ReportCase &c = GetParam();
    LoopbackReceiver receiver;
    const QString peer = "127.0.0.1:" + QString::number(receiver.port());
    connectTo("127.0.0.1", QString::number(receiver.port()));

    send("first");
    std::uint16_t sentFrom = 0;
    ASSERT_EQ(receiver.receive(std::chrono::milliseconds(2000), &sentFrom), "first\0"s);
    ASSERT_TRUE(reportAboutDatagram(sentFrom, receiver.port(), c.type, c.code, c.nextHopMtu));

    send("second");
    EXPECT_EQ(receiver.receive(), "second\0"s);
    EXPECT_TRUE(wholeStatusSays("Sent 7 bytes to " + peer + " at {time} (earlier one: " + c.why +
                                " from 127.0.0.1): 73 65 63 6F 6E 64 00"));
    send("third");
    EXPECT_EQ(receiver.receive(), "third\0"s);
    EXPECT_TRUE(statusSays("Sent 6 bytes to " + peer + " at {time}: 74 68 69 72 64 00"));
    EXPECT_TRUE(log->calls.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, ReturnedReport, ::testing::ValuesIn(kReports), caseName);

// The window's watch drops the switcher's answers as they come, and tells each report after one
// Send, the second beside the first.
TEST_F(PrivateNetwork, AnswersAreDroppedAndEachReportIsTold)
{
    if (!g_privateLoopback)
        ZAV_SKIP_OUTSIDE_CI("needs a network namespace of its own (root) for a raw socket");
    LoopbackReceiver receiver;
    connectTo("127.0.0.1", QString::number(receiver.port()));
    send("b");
    std::uint16_t sentFrom = 0;
    ASSERT_EQ(receiver.receive(std::chrono::milliseconds(2000), &sentFrom), "b\0"s);
    for (int i = 0; i < 50; ++i)
        receiver.answer(sentFrom, std::string(1000, 'r'));
    int waiting = 0;
    const auto nothingWaits = [&] {
        ioctl(static_cast<NativeSocket>(*endpoint->WatchHandle()), FIONREAD, &waiting);
        return waiting == 0;
    };
    EXPECT_TRUE(QTest::qWaitFor(nothingWaits, 2000)) << waiting << " bytes wait";
    const QString first = "came back: host unreachable, ICMP 3/1 from 127.0.0.1";
    ASSERT_TRUE(reportAboutDatagram(sentFrom, receiver.port(), 3, 1, 0));
    EXPECT_TRUE(QTest::qWaitFor([&] { return wholeStatusSays("* " + first + ": *"); }, 2000))
            << wholeStatusSays(first).message();
    ASSERT_TRUE(reportAboutDatagram(sentFrom, receiver.port(), 3, 13, 0));
    const QString both = first + "; prohibited, ICMP 3/13 from 127.0.0.1";
    EXPECT_TRUE(QTest::qWaitFor([&] { return wholeStatusSays("* " + both + ": *"); }, 2000))
            << wholeStatusSays(both).message();
}

// Whether the socket still signals something to take: a datagram, a queued report, an error.
bool stillSignals(NativeSocket socket)
{
    pollfd entry {socket, POLLIN, 0};
    return poll(&entry, 1, 0) == 1;
}

// Reports and answers flooding in while the watch takes them, as the window's watch does: each
// report is taken once, none is left queued, and once the flood ends the socket rests.
TEST_F(PrivateNetwork, FloodOfReportsAndAnswersIsTakenOnceEach)
{
    if (!g_privateLoopback)
        ZAV_SKIP_OUTSIDE_CI("needs a network namespace of its own (root) for a raw socket");
    LoopbackReceiver peer;
    SocketEndpoint watched; // taken from here, not by the window
    watched.SetPeerAddress(u"127.0.0.1");
    watched.SetPeerPort(peer.port());
    ASSERT_EQ(watched.OpenPeer(), 0);
    const auto socket = static_cast<NativeSocket>(*watched.WatchHandle());
    // Room for every report at once, so that none is dropped for want of it.
    const int room = 16 << 20;
    ASSERT_EQ(setsockopt(socket, SOL_SOCKET, SO_RCVBUFFORCE, &room, sizeof room), 0);
    ASSERT_EQ(watched.SendText(u"q", 2), 2);
    std::uint16_t ours = 0;
    ASSERT_EQ(peer.receive(std::chrono::milliseconds(2000), &ours), "q\0"s);

    constexpr int kRounds = 400;
    constexpr int kReportsARound = 5;
    std::atomic<bool> flooding = true;
    std::thread flood([&] {
        for (int round = 0; round < kRounds; ++round) {
            for (int i = 0; i < kReportsARound; ++i)
                reportAboutDatagram(ours, peer.port(), 3, 1, 0);
            peer.answer(ours, "answer");
        }
        flooding = false;
    });
    std::size_t taken = 0;
    while (flooding)
        taken += watched.TakeReturned().size();
    flood.join();
    taken += watched.TakeReturned().size();
    EXPECT_EQ(taken, std::size_t {kRounds * kReportsARound});
    EXPECT_FALSE(stillSignals(socket));
}

} // namespace
} // namespace zav::testing

namespace zav::testing {

bool g_privateNameService = false;

namespace {

// Puts a file of the test's own in place of a system file, in this process's mount namespace.
bool replaceSystemFile(const char *path, const char *contents)
{
    char own[] = "/tmp/zav-test-XXXXXX";
    const int file = mkstemp(own);
    if (file < 0)
        return false;
    const bool written = write(file, contents, std::strlen(contents)) ==
            static_cast<ssize_t>(std::strlen(contents));
    close(file);
    const bool replaced = written && mount(own, path, nullptr, MS_BIND, nullptr) == 0;
    unlink(own);
    return replaced;
}

// The system's resolver asks only 127.0.0.1 of the private loopback, where a test's own name
// server answers, after the hosts file; relative names get the search list "studio.test".
bool useOwnNameService()
{
    return mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
            replaceSystemFile("/etc/resolv.conf", "nameserver 127.0.0.1\nsearch studio.test\n") &&
            replaceSystemFile("/etc/nsswitch.conf", "hosts: files dns\n");
}

// Before any thread exists: a namespace can only be entered by a single-threaded process.
void enterPrivateNetwork()
{
    g_privateLoopback =
            unshare(CLONE_NEWNET | CLONE_NEWNS) == 0 && std::system("ip link set lo up") == 0;
    g_privateNameService = g_privateLoopback && useOwnNameService();
}

const bool kEntersPrivateNetwork = beforeAnyThread(enterPrivateNetwork);

} // namespace
} // namespace zav::testing
