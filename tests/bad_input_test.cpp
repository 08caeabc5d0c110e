#include "tests/case_name.h"
#include "tests/field_line_breaks.h"
#include "tests/loopback_window.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>

namespace zav::testing {
namespace {

using testing::PrintTo;

using namespace std::string_literals;

// Every bad input ends in one of these, never in a crash, a hang or a datagram elsewhere.
enum class Outcome {
    Sent,                  // the open succeeded and the probe message arrived byte-exact
    Refused,               // the box was shown once and nothing arrived
    RefusedWithoutSending, // as Refused, but Send is not even clicked (broadcast)
};

struct FieldCase
{
    const char *name;
    QString text; // "{port}" stands for the receiver's port
    Outcome outcome;
};

QString withPort(QString text, std::uint16_t port)
{
    return text.replace("{port}", QString::number(port));
}

// Blanks between every digit: the port field ignores them.
QString spacedOut(std::uint16_t port)
{
    QString spaced = "  ";
    for (const QChar digit : QString::number(port))
        spaced += digit + QString(" ");
    return spaced + " ";
}

const FieldCase kAddressCases[] = {
        {"plain", "127.0.0.1", Outcome::Sent},
        {"localhost", "localhost", Outcome::Sent},
        {"empty", "", Outcome::Refused},
        {"blanksAround", "  127.0.0.1  ", Outcome::Refused},
        {"partTooLarge", "999.1.1.1", Outcome::Refused},
        {"threeParts", "127.0.1", Outcome::Refused},
        {"octalPart", "127.0.0.010", Outcome::Refused},
        {"twoParts", "127.1", Outcome::Refused},
        {"hexPart", "0x7f.0.0.1", Outcome::Refused},
        {"hexWhole", "0x7f000001", Outcome::Refused},
        {"name300", QString(300, u'a'), Outcome::Refused},
        {"hundredThousand", QString(100'000, u'1'), Outcome::Refused},
        {"nulInside", QString::fromLatin1("127.0.0.1\0", 10), Outcome::Refused},
        {"lineBreakInside", "127.0.0.1\n", Outcome::Refused},
        {"broadcast", "255.255.255.255", Outcome::RefusedWithoutSending},
};

const FieldCase kPortCases[] = {
        {"plain", "{port}", Outcome::Sent},
        {"blanksEverywhere", "", Outcome::Sent}, // filled in by spacedOut
        {"empty", "", Outcome::Refused},
        {"letters", "abc", Outcome::Refused},
        {"zero", "0", Outcome::Refused},
        {"negative", "-1", Outcome::Refused},
        {"above65535", "65536", Outcome::Refused},
        {"wrapsTo2160", "67696", Outcome::Refused},
        {"fraction", "{port}.5", Outcome::Refused},
        {"overflowingExponent", "1e400", Outcome::Refused},
        {"hexWithoutDigits", "&H", Outcome::Refused},
        {"hexTooLarge", "&HFFFFF", Outcome::Refused},
        {"millionDigits", QString(1'000'000, u'9'), Outcome::Refused},
};

class BadInput : public WindowOverLoopback, public ::testing::WithParamInterface<FieldCase>
{
protected:
    void expectOutcome(Outcome outcome)
    {
        if (outcome == Outcome::RefusedWithoutSending) {
            EXPECT_EQ(takeNotices(), 1);
            return;
        }
        EXPECT_EQ(takeNotices(), outcome == Outcome::Sent ? 0 : 1);
        send("probe");
        if (outcome == Outcome::Sent)
            EXPECT_EQ(receiver.receive(), "probe\0"s);
        else
            EXPECT_EQ(receiver.receive(kQuietPeriod), std::nullopt);
    }
};

class BadAddress : public BadInput
{ };

TEST_P(BadAddress, OpensOnlyWhatWasTyped)
{
    ASSERT_EQ(takeNotices(), 0);
    connectTo(GetParam().text, QString::number(receiver.port()));
    expectOutcome(GetParam().outcome);
    std::printf("[figure] bad address %s: %s\n", GetParam().name,
                GetParam().outcome == Outcome::Sent ? "sent" : "refused");
}

INSTANTIATE_TEST_SUITE_P(Cases, BadAddress, ::testing::ValuesIn(kAddressCases), caseName);

class BadPort : public BadInput
{ };

TEST_P(BadPort, NeverWrapsToAnotherPort)
{
    ASSERT_EQ(takeNotices(), 0);
    const QString port = std::string(GetParam().name) == "blanksEverywhere"
            ? spacedOut(receiver.port())
            : withPort(GetParam().text, receiver.port());
    connectTo("127.0.0.1", port);
    expectOutcome(GetParam().outcome);
    std::printf("[figure] bad port %s: %s\n", GetParam().name,
                GetParam().outcome == Outcome::Sent ? "sent" : "refused");
}

INSTANTIATE_TEST_SUITE_P(Cases, BadPort, ::testing::ValuesIn(kPortCases), caseName);

struct MessageCase
{
    const char *name;
    QString text;
    std::optional<std::string> datagram; // nothing: nothing may arrive
};

const MessageCase kMessageCases[] = {
        {"nulCharacters", QString::fromLatin1("a\0b\0", 4), "a\0b\0\0"s},
        {"caretNul", QString::fromLatin1("^@\0", 3), "\0\0\0"s},
        {"loneHighSurrogate", QString(QChar(0xD800)), std::nullopt},
        {"loneLowSurrogate", "x" + QString(QChar(0xDC00)), std::nullopt},
        {"aboveByte", "\u20AC", std::nullopt},
        {"latin1", "\u00E9\u00FF", "\xE9\xFF\0"s},
        {"byteOrderMark", QString(QChar(0xFEFF)), std::nullopt},
};

class BadMessage : public WindowOverLoopback, public ::testing::WithParamInterface<MessageCase>
{ };

TEST_P(BadMessage, IsSentByteExactOrNotAtAll)
{
    send(GetParam().text);
    if (GetParam().datagram) {
        EXPECT_EQ(receiver.receive(), *GetParam().datagram);
    }
    EXPECT_EQ(receiver.receive(kQuietPeriod), std::nullopt);
    EXPECT_EQ(takeNotices(), 0);
    std::printf("[figure] bad message %s: %s\n", GetParam().name,
                GetParam().datagram ? "sent" : "refused");
}

INSTANTIATE_TEST_SUITE_P(Cases, BadMessage, ::testing::ValuesIn(kMessageCases), caseName);

TEST_F(WindowOverLoopback, MillionCharacterPasteSendsNothingAndReturns)
{
    QApplication::clipboard()->setText(QString(1'000'000, u'p'));
    message()->setFocus();
    QElapsedTimer timer;
    timer.start();
    message()->paste();
    ASSERT_EQ(message()->document()->characterCount(), 1'000'001);
    // Wrapping a megabyte-long word at word boundaries takes the toolkit about a minute.
    EXPECT_EQ(message()->wordWrapMode(), QTextOption::WrapAnywhere);
    click("cmdSend");
    std::printf("[figure] million-character paste and Send: %lld ms, nothing sent\n",
                static_cast<long long>(timer.elapsed()));
    EXPECT_EQ(receiver.receive(kQuietPeriod), std::nullopt);
    EXPECT_EQ(takeNotices(), 0);

    // The longest message a Send can carry still wraps at word boundaries.
    message()->setPlainText(QString(32766, u'w'));
    EXPECT_EQ(message()->wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
}

TEST_F(WindowOverLoopback, CaretBeforeEveryCodeUnit)
{
    int sent = 0;
    for (unsigned code = 0; code <= 0xFFFF; ++code) {
        const auto c = static_cast<char16_t>(code);
        message()->setPlainText(QString(QChar(u'^')) + QChar(c));
        window.cmdSend_Click(kSendButtonIndex);
        // A line break is sent as CR LF, so a caret before one escapes the CR and fails.
        const bool escapes =
                !breaksTheLineInTheField(c) && (code & 0xFF) >= 64 && code - 64 <= 0xFF;
        if (!escapes)
            continue;
        ++sent;
        const std::string expected {static_cast<char>(code - 64), '\0'};
        ASSERT_EQ(receiver.receive(), expected) << "code " << code;
    }
    EXPECT_EQ(receiver.receive(kQuietPeriod), std::nullopt);
    EXPECT_EQ(sent, 192);
    std::printf("[figure] caret before each of 65536 code units: %d sent byte-exact, %d not sent\n",
                sent, 65536 - sent);
}

} // namespace
} // namespace zav::testing
