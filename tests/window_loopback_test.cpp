#include "loopback_window.h"

namespace zav::testing {
namespace {

using namespace std::string_literals;

TEST_F(WindowOverLoopback, TypedCaretMessageArrivesByteExact)
{
    message()->setFocus();
    QTest::keyClicks(message(), "^Mabc");
    click("cmdSend");
    EXPECT_EQ(receiver.receive(),
              "\x0D"s
              "abc\0"s);
    EXPECT_TRUE(log->calls.empty()) << "no box was expected";
}

TEST_F(WindowOverLoopback, TypedLineBreakArrivesAsCarriageReturnLineFeed)
{
    message()->setFocus();
    QTest::keyClicks(message(), "a");
    QTest::keyClick(message(), Qt::Key_Return);
    QTest::keyClicks(message(), "b");
    click("cmdSend");
    EXPECT_EQ(receiver.receive(), "a\r\nb\0"s);
}

TEST_F(WindowOverLoopback, LongestMessageArrivesWhole)
{
    message()->setPlainText(QString(32766, u'q'));
    click("cmdSend");
    EXPECT_EQ(receiver.receive(), std::string(32766, 'q') + '\0');
}

TEST_F(WindowOverLoopback, TooLongMessageSendsNothing)
{
    message()->setPlainText(QString(32767, u'q'));
    click("cmdSend");
    EXPECT_EQ(receiver.receive(kQuietPeriod), std::nullopt);
}

TEST_F(WindowOverLoopback, NothingArrivesAfterDisconnect)
{
    click("cmdDisconnect");
    message()->setPlainText("after");
    click("cmdSend");
    EXPECT_EQ(receiver.receive(kQuietPeriod), std::nullopt);
    EXPECT_EQ(message()->toPlainText(), "after");
}

TEST_F(WindowOverLoopback, HexPortReachesTheReceiver)
{
    port()->setText("&H" + QString::number(receiver.port(), 16));
    click("cmdConnect");
    message()->setPlainText("hex");
    click("cmdSend");
    EXPECT_EQ(receiver.receive(), "hex\0"s);
}

TEST_F(WindowOverLoopback, PortThatWouldWrapFailsTheOpenAndSendsNothing)
{
    // 67696 is 2160 past 65536: it must not be taken for port 2160 or any other.
    port()->setText(QString::number(receiver.port() + 65536));
    click("cmdConnect");
    EXPECT_EQ(log->calls, std::vector<std::string> {"Notice"});
    message()->setPlainText("wrapped");
    click("cmdSend");
    EXPECT_EQ(receiver.receive(kQuietPeriod), std::nullopt);
}

TEST_F(WindowOverLoopback, CharacterAboveByteSendsNothing)
{
    message()->setPlainText(QString::fromUtf16(u"price \u20AC5"));
    click("cmdSend");
    EXPECT_EQ(receiver.receive(kQuietPeriod), std::nullopt);
}

} // namespace
} // namespace zav::testing
