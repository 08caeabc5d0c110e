#include "tests/support/rows.h"
#include "tests/support/window_fixture.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QTextDocument>
#include <QThread>

#include <ctime>
#include <future>

namespace zav::testing {
namespace {

using Calls = std::vector<std::string>;

const Calls kConfiguration = {
        "WriteSetting 2=2",      "WriteSetting 48=0",    "WriteSetting 49=2",
        "WriteSetting 4=false",  "WriteSetting 5=false", "WriteSetting 47=empty",
        "WriteSetting 25=false",
};

const Calls kFailedOpenTail = {"SetCommandCode 7", "ClosePeer", "Notice"};

Calls joined(Calls first, const Calls &second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

using StartUp = WindowFixture;

TEST_F(StartUp, ConfiguresThenOpensTowardsTheDefaultPeer)
{
    window.Form_Load();
    EXPECT_EQ(
            takeCalls(),
            joined(kConfiguration, {"SetPeerAddress [127.0.0.1]", "SetPeerPort 2160", "OpenPeer"}));
}

TEST_F(StartUp, FailedOpenClosesThenShowsTheBoxOnItsOwn)
{
    fake->openResult = 10061;
    window.Form_Load();
    EXPECT_EQ(takeCalls(),
              joined(joined(kConfiguration,
                            {"SetPeerAddress [127.0.0.1]", "SetPeerPort 2160", "OpenPeer"}),
                     kFailedOpenTail));
    // The window is not shown yet, so the box cannot stand over it.
    EXPECT_EQ(log->noticeOwners, std::vector<QWidget *> {nullptr});
}

TEST_F(StartUp, FaultWhileConfiguringIsAFailedOpen)
{
    fake->faulting = {"WriteSetting"};
    window.Form_Load();
    EXPECT_EQ(takeCalls(), joined({"WriteSetting 2=2"}, kFailedOpenTail));
}

struct ConnectCase : Row
{
    QString address;
    QString port;
    std::string addressWritten;
    std::string portWritten;
};

const ConnectCase kConnectCases[] = {
        {"plain", "10.0.0.140", "2160", "[10.0.0.140]", "2160"},
        {"portTrailingLetters", "127.0.0.1", "2160abc", "[127.0.0.1]", "2160"},
        {"portBlankInside", "127.0.0.1", "21 60", "[127.0.0.1]", "2160"},
        {"portLetters", "127.0.0.1", "abc", "[127.0.0.1]", "0"},
        {"portEmpty", "127.0.0.1", "", "[127.0.0.1]", "0"},
        {"portHex", "127.0.0.1", "&H870", "[127.0.0.1]", "2160"},
        {"portFractionPassedOn", "127.0.0.1", "2160.5", "[127.0.0.1]", "2160.5"},
        {"portAboveRangePassedOn", "127.0.0.1", "67696", "[127.0.0.1]", "67696"},
        {"addressUntrimmed", " 10.0.0.140 ", "1", "[ 10.0.0.140 ]", "1"},
        {"addressEmpty", "", "1", "[]", "1"},
        {"addressNotAnAddress", "switcher\u00E9", "1", "[switcher\\xE9]", "1"},
};

class ConnectFields : public WindowFixture, public ::testing::WithParamInterface<ConnectCase>
{ };

TEST_P(ConnectFields, WritesTheFieldsAndOpens)
{
    const ConnectCase &c = GetParam();
    address()->setText(c.address);
    port()->setText(c.port);
    click("cmdConnect");
    EXPECT_EQ(takeCalls(),
              (Calls {"SetPeerAddress " + c.addressWritten, "SetPeerPort " + c.portWritten,
                      "OpenPeer"}));
    EXPECT_EQ(address()->text(), c.address);
    EXPECT_EQ(port()->text(), c.port);
}

INSTANTIATE_TEST_SUITE_P(Cases, ConnectFields, ::testing::ValuesIn(kConnectCases), caseName);

using Connect = WindowFixture;

TEST_F(Connect, TwiceOpensTwiceWithoutABox)
{
    click("cmdConnect");
    click("cmdConnect");
    const Calls once = {"SetPeerAddress [127.0.0.1]", "SetPeerPort 2160", "OpenPeer"};
    EXPECT_EQ(takeCalls(), joined(once, once));
}

TEST_F(Connect, EachFailedClickClosesThenShowsTheBoxOnce)
{
    window.show();
    fake->openResult = -1;
    const Calls failed =
            joined({"SetPeerAddress [127.0.0.1]", "SetPeerPort 2160", "OpenPeer"}, kFailedOpenTail);
    click("cmdConnect");
    EXPECT_EQ(takeCalls(), failed);
    click("cmdConnect");
    EXPECT_EQ(takeCalls(), failed);
    EXPECT_EQ(log->noticeOwners, (std::vector<QWidget *> {&window, &window}));
}

struct ConnectFault : Row
{
    std::string faultingMember;
    std::int64_t openResult;
    Calls calls;
};

// Faults after a failed open still close the endpoint and show the box. (Faults that fail the
// open itself are in the fault-injection table.)
const ConnectFault kConnectFaults[] = {
        {"commandCodeFaultsStillCloses",
         "SetCommandCode",
         1,
         {"SetPeerAddress [127.0.0.1]", "SetPeerPort 2160", "OpenPeer"}},
        {"closeFaultsStillShowsBox",
         "ClosePeer",
         1,
         {"SetPeerAddress [127.0.0.1]", "SetPeerPort 2160", "OpenPeer"}},
};

class ConnectFaults : public WindowFixture, public ::testing::WithParamInterface<ConnectFault>
{ };

TEST_P(ConnectFaults, EndAsAFailedOpen)
{
    const ConnectFault &c = GetParam();
    if (!c.faultingMember.empty())
        fake->faulting = {c.faultingMember};
    fake->openResult = c.openResult;
    click("cmdConnect");
    EXPECT_EQ(takeCalls(), joined(c.calls, kFailedOpenTail));
}

INSTANTIATE_TEST_SUITE_P(Cases, ConnectFaults, ::testing::ValuesIn(kConnectFaults), caseName);

// A fault on the thread a look-up runs on is the handler's as much as one on the window's.
TEST_F(Connect, FaultWhileLookingUpIsAFailedOpen)
{
    fake->faulting = {"OpenPeer"};
    connectTo("switcher-1", "2160");
    EXPECT_EQ(takeCalls(),
              joined({"SetPeerAddress [switcher-1]", "SetPeerPort 2160", "OpenPeer"},
                     kFailedOpenTail));
    EXPECT_TRUE(statusSays("Not connected: the endpoint failed (endpoint fault)"));
}

using Disconnect = WindowFixture;

TEST_F(Disconnect, OnlyCloses)
{
    click("cmdDisconnect");
    EXPECT_EQ(takeCalls(), Calls {"ClosePeer"});
}

TEST_F(Disconnect, FaultEndsItQuietly)
{
    fake->faulting = {"ClosePeer"};
    click("cmdDisconnect");
    click("cmdDisconnect");
    EXPECT_EQ(takeCalls(), (Calls {"ClosePeer", "ClosePeer"}));
}

struct SendCase : Row
{
    QString typed;
    Calls calls;
    QString status = {}; // checked where given
};

const SendCase kSendCases[] = {
        {"caretEscape", "^Mabc", {"CanSend", "SendText [\\x0Dabc] 5"}},
        {"empty", "", {"CanSend", "SendText [] 1"}},
        {"caretNotFirst", "a^M", {"CanSend", "SendText [a^M] 4"}},
        {"onlyFirstEscape", "^M^J", {"CanSend", "SendText [\\x0D^J] 4"}},
        {"caretAlone", "^", {}},
        {"caretDigit", "^1", {}},
        {"caretBlank", "^ ", {}},
        {"caretQuestionMark", "^?", {}},
        {"lineBreaks", "a\nb\n", {"CanSend", "SendText [a\\x0D\\x0Ab\\x0D\\x0A] 7"}},
        {"noBreakSpaceKept", "a\u00A0b", {"CanSend", "SendText [a\\xA0b] 4"}},
        {"escapeThenLineBreaks", "^Ma\nb", {"CanSend", "SendText [\\x0Da\\x0D\\x0Ab] 6"}},
        {"lineSeparatorInParagraph", "a\u2028b", {"CanSend", "SendText [a\\x0D\\x0Ab] 5"}},
        {"longestMessage", QString(32766, u'x'), {"CanSend", "SendText <32766 chars> 32767"}},
        {"oneTooLong", QString(32767, u'x'), {"CanSend"}},
        // Judged as the datagram carries them (the escape takes one character away, a line
        // break is two), told as typed too.
        {"escapedOneTooLong",
         "^M" + QString(32766, u'x'),
         {"CanSend"},
         "Not sent: 32768 typed, 32767 as sent; this tool's limit is 32766"},
        {"lineBreaksOneTooLong",
         QString(16383, u'\n') + "\U0001F600",
         {"CanSend"},
         "Not sent: 16384 typed, 32768 as sent; this tool's limit is 32766"},
        {"escapedLongest",
         "^M" + QString(32765, u'x'),
         {"CanSend", "SendText <32766 chars> 32767"}},
};

class SendMessage : public WindowFixture, public ::testing::WithParamInterface<SendCase>
{ };

TEST_P(SendMessage, SendsWhatWasTypedOrNothing)
{
    const SendCase &c = GetParam();
    message()->setPlainText(c.typed);
    const QString before = message()->document()->toRawText();
    click("cmdSend");
    EXPECT_EQ(takeCalls(), c.calls);
    EXPECT_EQ(message()->document()->toRawText(), before);
    EXPECT_TRUE(log->noticeOwners.empty());
    if (!c.status.isEmpty()) {
        EXPECT_TRUE(statusSays(c.status));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SendMessage, ::testing::ValuesIn(kSendCases), caseName);

struct SendAnswer : Row
{
    bool canSend;
    std::int64_t sendResult;
    std::int64_t lastError;
    std::string faultingMember;
    Calls calls;
    QString status;
    std::vector<ReturnedDatagram> returned = {};
};

const SendAnswer kSendAnswers[] = {
        {"notOpen",
         false,
         1,
         EndpointError::kNotOpen,
         "",
         {"CanSend", "LastErrorCode"},
         "Not sent: not connected \u2014 click Connect"},
        {"bufferFull",
         false,
         1,
         EndpointError::WouldBlockError,
         "",
         {"CanSend", "LastErrorCode"},
         "Not sent: the send buffer is full \u2014 try again in a moment"},
        {"sent", true, 2, 0, "", {"CanSend", "SendText [a] 2"}, "Sent 2 bytes at {time}: 61 00"},
        // What came back about an earlier datagram reaches the words.
        {"sentAfterIcmpReport",
         true,
         2,
         0,
         "",
         {"CanSend", "SendText [a] 2"},
         "Sent 2 bytes at {time} (earlier one: prohibited, ICMP 3/13 from 192.0.2.1)*",
         {ReturnedDatagram {113, IcmpReport {3, 13, 0xC0000201u}}}},
        // A send the system refuses still tells what came back before it.
        {"refusedAfterIcmpReport",
         true,
         -1,
         1,
         "",
         {"CanSend", "SendText [a] 2", "LastErrorCode"},
         "Not sent: the system refused: * (earlier one: prohibited, ICMP 3/13 from 192.0.2.1)",
         {ReturnedDatagram {113, IcmpReport {3, 13, 0xC0000201u}}}},
        {"wouldBlockTriedOnce",
         true,
         0,
         EndpointError::WouldBlockError,
         "",
         {"CanSend", "SendText [a] 2", "LastErrorCode"},
         "Not sent: the send buffer is full \u2014 try again in a moment"},
        {"systemRefused",
         true,
         -1,
         10054,
         "",
         {"CanSend", "SendText [a] 2", "LastErrorCode"},
         "Not sent: the system refused: *"},
        {"resultTooLarge",
         true,
         70000,
         0,
         "",
         {"CanSend", "SendText [a] 2"},
         "Send failed: the endpoint failed (overflow)"},
        {"errorCodeTooLarge",
         true,
         0,
         70000,
         "",
         {"CanSend", "SendText [a] 2", "LastErrorCode"},
         "Send failed: the endpoint failed (overflow)"},
        {"canSendFaults",
         true,
         1,
         0,
         "CanSend",
         {"CanSend"},
         "Send failed: the endpoint failed (endpoint fault)"},
        {"sendFaults",
         true,
         1,
         0,
         "SendText",
         {"CanSend", "SendText [a] 2"},
         "Send failed: the endpoint failed (endpoint fault)"},
        {"errorCodeFaults",
         true,
         0,
         0,
         "LastErrorCode",
         {"CanSend", "SendText [a] 2", "LastErrorCode"},
         "Send failed: the endpoint failed (endpoint fault)"},
};

class SendAnswers : public WindowFixture, public ::testing::WithParamInterface<SendAnswer>
{ };

TEST_P(SendAnswers, MakeOneAttemptAndSayWhatHappened)
{
    const SendAnswer &c = GetParam();
    fake->canSend = c.canSend;
    fake->sendResult = c.sendResult;
    fake->lastErrorCode = c.lastError;
    fake->returned = c.returned;
    if (!c.faultingMember.empty())
        fake->faulting = {c.faultingMember};
    message()->setPlainText("a");
    click("cmdSend");
    EXPECT_EQ(takeCalls(), c.calls);
    EXPECT_TRUE(wholeStatusSays(c.status));
    EXPECT_TRUE(log->noticeOwners.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, SendAnswers, ::testing::ValuesIn(kSendAnswers), caseName);

// Counts the paint events a widget receives.
class PaintCounter : public QObject
{
public:
    PaintCounter(QWidget *widget, int &paints) : m_paints(paints)
    {
        widget->installEventFilter(this);
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++m_paints;
        return false;
    }

private:
    int &m_paints;
};

// A name look-up may take up to 2 s: the status line says so before it starts, the pointer is
// busy until the open ends, and the open runs off the window's thread, so the window goes on
// answering (here, an event queued to it) while it waits.
struct LookUpCase : Row
{
    QString address;
    bool offThread;
    QString statusDuringOpen;
    bool busyDuringOpen;
    QString status;
    bool threadStarts = true;
};

const LookUpCase kLookUpCases[] = {
        {"name", "switcher-1", true, "Looking up 'switcher-1'\u2026", true,
         "Ready to send to switcher-1 (127.0.0.1):2160"},
        // With no thread to be had, the open runs on the window's, bounded by the look-up's own
        // time limit.
        {"noThreadToBeHad", "switcher-1", false, "Looking up 'switcher-1'\u2026", true,
         "Ready to send to switcher-1 (127.0.0.1):2160", false},
        {"dottedAddress", "127.0.0.1", false, "", false, "Ready to send to 127.0.0.1:2160"},
};

class LookUp : public WindowFixture, public ::testing::WithParamInterface<LookUpCase>
{ };

TEST_P(LookUp, ShowsItselfWhileTheWindowGoesOnAnswering)
{
    QString statusDuringOpen;
    bool busyDuringOpen = false;
    bool offThread = false;
    // On the window's thread, what the line shows is what was painted before the open waits.
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    int paints = 0;
    PaintCounter counter(statusLine(), paints);
    const auto look = [&] {
        statusDuringOpen = offThread || paints > 0 ? statusLine()->text() : QString();
        busyDuringOpen = QGuiApplication::overrideCursor() != nullptr;
    };
    fake->whileOpening = [&] {
        offThread = QThread::currentThread() != window.thread();
        if (!offThread) {
            look();
            return;
        }
        std::promise<void> looked;
        QMetaObject::invokeMethod(
                &window,
                [&] {
                    look();
                    looked.set_value();
                },
                Qt::QueuedConnection);
        looked.get_future().wait_for(std::chrono::seconds(5));
    };
    fake->addressOpened = 0x7F000001u;
    threadsStart = GetParam().threadStarts;
    paints = 0;
    connectTo(GetParam().address, "2160");
    EXPECT_EQ(offThread, GetParam().offThread);
    EXPECT_EQ(statusDuringOpen, GetParam().statusDuringOpen);
    EXPECT_EQ(busyDuringOpen, GetParam().busyDuringOpen);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(statusSays(GetParam().status));
}

INSTANTIATE_TEST_SUITE_P(Cases, LookUp, ::testing::ValuesIn(kLookUpCases), caseName);

// What the operator does while a look-up runs is taken after it, as a window that waited would
// take it: a click, a key and a screen reader's press alike. A close ends the window then,
// without the box, even when the open failed.
enum class Input { Click, Key, ScreenReader, Connect, Close };

struct InputCase : Row
{
    Input input;
    std::int64_t openResult;
    Calls afterOpen;
    bool visible;
};

const InputCase kInputCases[] = {
        {"click", Input::Click, 0, {"CanSend", "SendText [a] 2"}, true},
        {"key", Input::Key, 0, {"CanSend", "SendText [a] 2"}, true},
        {"screenReader", Input::ScreenReader, 0, {"CanSend", "SendText [a] 2"}, true},
        {"connect",
         Input::Connect,
         0,
         {"SetPeerAddress [switcher-1]", "SetPeerPort 2160", "OpenPeer"},
         true},
        {"closeAfterFailedOpen", Input::Close, -1, {"SetCommandCode 7", "ClosePeer"}, false},
};

class InputDuringLookUp : public WindowFixture, public ::testing::WithParamInterface<InputCase>
{ };

TEST_P(InputDuringLookUp, IsTakenAfterIt)
{
    const InputCase &c = GetParam();
    window.show();
    message()->setPlainText("a");
    const auto give = [&] {
        auto *send = control<QPushButton>("cmdSend");
        switch (c.input) {
        case Input::Click:
            QTest::mouseClick(send, Qt::LeftButton);
            break;
        case Input::Key:
            QTest::keyClick(message(), Qt::Key_Return, Qt::ControlModifier);
            break;
        case Input::ScreenReader:
            QAccessible::queryAccessibleInterface(send)->actionInterface()->doAction(
                    QAccessibleActionInterface::pressAction());
            break;
        case Input::Connect:
            QTest::mouseClick(control<QPushButton>("cmdConnect"), Qt::LeftButton);
            break;
        case Input::Close:
            window.close();
            break;
        }
    };
    bool given = false; // once: a Connect taken after the look-up looks up again
    bool shownMeanwhile = false;
    fake->whileOpening = [&] {
        if (std::exchange(given, true))
            return;
        std::promise<void> given;
        QMetaObject::invokeMethod(
                &window,
                [&] {
                    give();
                    shownMeanwhile = window.isVisible();
                    given.set_value();
                },
                Qt::QueuedConnection);
        given.get_future().wait_for(std::chrono::seconds(5));
        // A screen reader's press is a click a moment later: it comes while the look-up runs.
        QThread::msleep(300);
    };
    fake->openResult = c.openResult;
    connectTo("switcher-1", "2160");
    QTest::qWait(300);
    EXPECT_EQ(takeCalls(),
              joined({"SetPeerAddress [switcher-1]", "SetPeerPort 2160", "OpenPeer"}, c.afterOpen));
    // The window stays until the look-up ends, whatever was given meanwhile.
    EXPECT_TRUE(shownMeanwhile);
    EXPECT_EQ(window.isVisible(), c.visible);
}

INSTANTIATE_TEST_SUITE_P(Cases, InputDuringLookUp, ::testing::ValuesIn(kInputCases), caseName);

// The time a Send tells is the operator's own, also far from UTC.
using SendClock = WindowFixture;

TEST_F(SendClock, IsTheOperatorsOwn)
{
    const QByteArray zone = qgetenv("TZ");
    qputenv("TZ", "<+14>-14");
    tzset();
    const QString before = QTime::currentTime().toString("HH:mm");
    send("a");
    const QString after = QTime::currentTime().toString("HH:mm");
    qputenv("TZ", zone);
    tzset();
    const QString shown = statusLine()->text();
    EXPECT_TRUE(shown.contains(" at " + before) || shown.contains(" at " + after))
            << shown.toStdString() << " at " << before.toStdString();
}

using Typing = WindowFixture;

TEST_F(Typing, EnterBreaksTheLineAndTabMovesOn)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    message()->setFocus();
    QTest::keyClicks(message(), "^Ma");
    QTest::keyClick(message(), Qt::Key_Return);
    QTest::keyClicks(message(), "b");
    QTest::keyClick(message(), Qt::Key_Tab);
    click("cmdSend");
    EXPECT_EQ(takeCalls(), (Calls {"CanSend", "SendText [\\x0Da\\x0D\\x0Ab] 6"}));
}

} // namespace
} // namespace zav::testing
