#include "endpoint/socket_endpoint.h"
#include "tests/loopback_receiver.h"
#include "tests/recording_endpoint.h"
#include "tests/required_in_ci.h"
#include "tests/window_controls.h"
#include "window/frmMain.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <sched.h>

#include <cerrno>
#include <cstdlib>

namespace zav::testing {
namespace {

using namespace std::string_literals;

// Set by main: this process has a network namespace of its own, with only its own loopback, so
// that loopback can be given a queue that holds datagrams back without touching anyone else's
// traffic, and no other address can be reached.
bool g_privateLoopback = false;

// A queue on the private loopback that lets one datagram through and holds the rest, so the
// socket's send buffer fills up exactly as it does on a congested link.
bool holdLoopbackTraffic(bool hold)
{
    return std::system(hold ? "tc qdisc add dev lo root tbf rate 8bit burst 70000 limit 100000000"
                            : "tc qdisc del dev lo root") == 0;
}

TEST(SendBufferFull, SendSaysWhyAndTheNextSendWorks)
{
    if (!g_privateLoopback)
        ZAV_SKIP_OUTSIDE_CI("needs a network namespace of its own (root) and tc");
    LoopbackReceiver receiver;
    auto log = std::make_shared<CallLog>();
    auto socketEndpoint = std::make_unique<SocketEndpoint>();
    SocketEndpoint &endpoint = *socketEndpoint;
    frmMain window(std::move(socketEndpoint), std::make_unique<RecordingNotice>(log));
    window.Form_Load();
    const WindowControls controls(window);
    controls.connectTo("127.0.0.1", QString::number(receiver.port()));
    ASSERT_TRUE(log->calls.empty());

    ASSERT_TRUE(holdLoopbackTraffic(true));
    QPlainTextEdit *message = controls.message();
    auto *send = controls.control<QPushButton>("cmdSend");
    message->setPlainText(QString(32766, u'f'));
    // Send as the operator would until the endpoint says it cannot take a datagram now.
    int sends = 0;
    while (endpoint.CanSend() && sends < 1000) {
        QTest::mouseClick(send, Qt::LeftButton);
        ++sends;
    }
    ASSERT_FALSE(endpoint.CanSend());
    // A Send now sends nothing, changes nothing, shows no box, and says why.
    QTest::mouseClick(send, Qt::LeftButton);
    EXPECT_TRUE(log->calls.empty());
    EXPECT_TRUE(
            controls.statusSays("Not sent: the send buffer is full \u2014 try again in a moment"));
    EXPECT_EQ(message->toPlainText().size(), 32766);
    // Asked to send anyway, the endpoint takes what still fits, then answers "would block".
    const Text more(32766, u'f');
    while (endpoint.SendText(more, 32767) >= 1 && sends < 2000)
        ++sends;
    EXPECT_EQ(endpoint.LastErrorCode(), WouldBlockError);

    ASSERT_TRUE(holdLoopbackTraffic(false));
    message->setPlainText("after");
    QTest::mouseClick(send, Qt::LeftButton);
    // Whatever the queue still held may come first, whole; then the new message.
    int heldDelivered = 0;
    std::optional<std::string> datagram;
    while ((datagram = receiver.receive()) && datagram->size() == 32767u)
        ++heldDelivered;
    EXPECT_EQ(datagram, "after\0"s);
    EXPECT_LE(heldDelivered, sends);
    std::printf("[figure] send buffer full: after %d datagrams the endpoint could take no more; "
                "a Send then sent nothing and said why, a send asked for anyway answered 24035, "
                "and the first Send after the buffer drained arrived\n",
                sends);
}

// Where the system itself refuses, the operator reads the system's own words. With no route to
// it in this namespace, nothing can be sent to the documentation address either.
TEST(PrivateNetwork, SystemRefusalIsNamed)
{
    if (!g_privateLoopback)
        ZAV_SKIP_OUTSIDE_CI("needs a network namespace of its own (root)");
    auto log = std::make_shared<CallLog>();
    frmMain window(std::make_unique<SocketEndpoint>(), std::make_unique<RecordingNotice>(log));
    window.Form_Load();
    const WindowControls controls(window);
    controls.connectTo("192.0.2.1", "2160");
    EXPECT_EQ(log->calls, std::vector<std::string> {"Notice"});
    EXPECT_TRUE(controls.statusSays("Not connected: the system refused: " +
                                    qt_error_string(ENETUNREACH)));
}

} // namespace
} // namespace zav::testing

int main(int argc, char *argv[])
{
    // Before any thread exists: a namespace can only be entered by a single-threaded process.
    zav::testing::g_privateLoopback =
            unshare(CLONE_NEWNET) == 0 && std::system("ip link set lo up") == 0;
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests (as the build does) needs no application, and so no display.
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
