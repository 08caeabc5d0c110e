#include "tests/support/rows.h"
#include "tests/support/window_over_socket.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>

namespace zav::testing {
namespace {

// Every bad input ends in one of these, never in a crash, a hang or a datagram elsewhere. (Which
// addresses and ports the endpoint refuses, and why, is its own table; these are what the
// fields may hold.)
enum class Outcome {
    Sent,    // the open succeeded and the probe message arrived byte-exact
    Refused, // the box was shown once and nothing arrived
};

struct FieldCase : Row
{
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
        {"threeParts", "127.0.1", Outcome::Refused},
        {"hundredThousand", QString(100'000, u'1'), Outcome::Refused},
        {"nulInside", QString::fromLatin1("127.0.0.1\0", 10), Outcome::Refused},
        {"lineBreakInside", "127.0.0.1\n", Outcome::Refused},
};

const FieldCase kPortCases[] = {
        {"plain", "{port}", Outcome::Sent},
        {"blanksEverywhere", "", Outcome::Sent}, // filled in by spacedOut
        {"empty", "", Outcome::Refused},
        {"letters", "abc", Outcome::Refused},
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
        RecordProperty("outcome", outcome == Outcome::Sent ? "sent" : "refused");
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
}

INSTANTIATE_TEST_SUITE_P(Cases, BadPort, ::testing::ValuesIn(kPortCases), caseName);

struct MessageCase : Row
{
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
    RecordProperty("outcome", GetParam().datagram ? "sent" : "refused");
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
    RecordProperty("milliseconds", static_cast<int>(timer.elapsed()));
    EXPECT_EQ(receiver.receive(kQuietPeriod), std::nullopt);
    EXPECT_EQ(takeNotices(), 0);

    // The longest message a Send can carry still wraps at word boundaries.
    message()->setPlainText(QString(32766, u'w'));
    EXPECT_EQ(message()->wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
}

} // namespace
} // namespace zav::testing
