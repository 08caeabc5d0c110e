#include "tests/case_name.h"
#include "tests/loopback_window.h"

#include <variant>

namespace zav::testing {
namespace {

using testing::PrintTo;

using namespace std::string_literals;

// A key pressed in the message field, with its modifiers and how often a held key repeats its
// press; or text typed there.
struct Key
{
    Qt::Key key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    int repeats = 0;
};
using Keystroke = std::variant<const char *, Key>;

struct TypingCase
{
    const char *name;
    std::vector<Keystroke> keys;
    std::string arrives;
    bool keysSend = false; // the keys themselves send; Send is not clicked
};

const TypingCase kTypingCases[] = {
        {"caretEscape", {"^Mabc"}, "\rabc\0"s},
        {"returnIsCarriageReturnLineFeed", {"a", Key {Qt::Key_Return}, "b"}, "a\r\nb\0"s},
        {"shiftReturnToo", {"a", Key {Qt::Key_Return, Qt::ShiftModifier}, "b"}, "a\r\nb\0"s},
        {"keypadEnterToo", {"a", Key {Qt::Key_Enter, Qt::KeypadModifier}, "b"}, "a\r\nb\0"s},
        {"ctrlReturnSends", {"a", Key {Qt::Key_Return, Qt::ControlModifier}}, "a\0"s, true},
        {"ctrlKeypadEnterSends",
         {"a", Key {Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier}},
         "a\0"s,
         true},
        {"heldCtrlReturnSendsOnce",
         {"a", Key {Qt::Key_Return, Qt::ControlModifier, 5}},
         "a\0"s,
         true},
};

class TypedMessage : public WindowOverLoopback, public ::testing::WithParamInterface<TypingCase>
{ };

TEST_P(TypedMessage, ArrivesByteExact)
{
    message()->setFocus();
    for (const Keystroke &stroke : GetParam().keys) {
        if (const auto *text = std::get_if<const char *>(&stroke)) {
            QTest::keyClicks(message(), *text);
            continue;
        }
        const Key &key = std::get<Key>(stroke);
        if (key.repeats > 0)
            holdKey(message(), key.key, key.modifiers, key.repeats);
        else
            QTest::keyClick(message(), key.key, key.modifiers);
    }
    if (!GetParam().keysSend)
        click("cmdSend");
    EXPECT_EQ(receiver.receive(), GetParam().arrives);
    EXPECT_EQ(receiver.receive(kQuietPeriod), std::nullopt);
    EXPECT_EQ(takeNotices(), 0);
    if (GetParam().keysSend) {
        EXPECT_EQ(message()->toPlainText(), "a") << "the shortcut typed into the message";
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, TypedMessage, ::testing::ValuesIn(kTypingCases), caseName);

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
