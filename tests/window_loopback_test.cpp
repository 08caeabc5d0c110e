#include "tests/support/rows.h"
#include "tests/support/window_over_socket.h"

#include <variant>

namespace zav::testing {
namespace {

// A key pressed in the message field, with its modifiers and how often a held key repeats its
// press; or text typed there.
struct Key
{
    Qt::Key key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    int repeats = 0;
};
using Keystroke = std::variant<const char *, Key>;

struct TypingCase : Row
{
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

// From the window to the wire and back to the status line, over the real socket endpoint: what
// the operator does (connect to an address and port, "{port}" the receiver's; perhaps
// disconnect; perhaps send), what the status line then says, and what arrives.
struct WiringCase : Row
{
    QString address;
    QString port;
    bool disconnect;
    std::optional<QString> message;
    QString status; // "{port}" as above, "{time}" a clock time, "*" any text
    std::optional<std::string> arrives;
};

const QString kLoopback = "127.0.0.1";
const QString kPort = "{port}";

const WiringCase kWiringCases[] = {
        {"ready", kLoopback, kPort, false, {}, "Ready to send to 127.0.0.1:{port}", {}},
        {"sent", kLoopback, kPort, false, "^Mabc",
         "Sent 5 bytes to 127.0.0.1:{port} at {time}: 0D 61 62 63 00", "\rabc\0"s},
        {"nameWithFinalDot", "localhost.", kPort, false, "n",
         "Sent 2 bytes to localhost. (127.0.0.1):{port} at {time}: 6E 00", "n\0"s},
        {"hexPort", kLoopback, "&H{hexport}", false, "hex", "Sent 4 bytes to 127.0.0.1:{port}*",
         "hex\0"s},
        {"longestArrivesWhole", kLoopback, kPort, false, QString(32766, u'q'),
         "Sent 32767 bytes to 127.0.0.1:{port} at {time}: 71 71*", std::string(32766, 'q') + '\0'},
        {"tooLong",
         kLoopback,
         kPort,
         false,
         QString(32767, u'q'),
         "Not sent: 32767 characters; this tool's limit is 32766",
         {}},
        {"aboveByteAfterEscape",
         kLoopback,
         kPort,
         false,
         "^Ma\u20AC",
         "Not sent: character 4 is not one byte (0 to 255): '\u20AC' (U+20AC)",
         {}},
        {"aboveByteAfterLineBreak",
         kLoopback,
         kPort,
         false,
         "a\nb\u20AC",
         "Not sent: character 4 is not one byte (0 to 255): '\u20AC' (U+20AC)",
         {}},
        {"afterDisconnect",
         kLoopback,
         kPort,
         true,
         "after",
         "Not sent: not connected \u2014 click Connect",
         {}},
        {"shorthandAddress",
         "127.1",
         kPort,
         false,
         "after",
         "Not sent: not connected \u2014 click Connect",
         {}},
        // 2160 past 65536: it must not be taken for the receiver's port or any other.
        {"portThatWouldWrap",
         kLoopback,
         "{wrapped}",
         false,
         {},
         "Not connected: the port is not a whole number from 1 to 65535: '{wrapped}'",
         {}},
        // Named as typed, not as the number read from it.
        {"portNamedAsTyped",
         kLoopback,
         "7e4",
         false,
         {},
         "Not connected: the port is not a whole number from 1 to 65535: '7e4'",
         {}},
        {"subnetBroadcast",
         "127.255.255.255",
         kPort,
         false,
         {},
         "Not connected: broadcast is refused: '127.255.255.255'",
         {}},
};

class Wiring : public WindowOverLoopback, public ::testing::WithParamInterface<WiringCase>
{
protected:
    QString filledIn(QString text) const
    {
        return text.replace("{port}", QString::number(receiver.port()))
                .replace("{hexport}", QString::number(receiver.port(), 16))
                .replace("{wrapped}", QString::number(receiver.port() + 65536));
    }
};

TEST_P(Wiring, FromTheWindowToTheWire)
{
    const WiringCase &c = GetParam();
    connectTo(c.address, filledIn(c.port));
    if (c.disconnect)
        click("cmdDisconnect");
    if (c.message)
        send(*c.message);

    EXPECT_TRUE(wholeStatusSays(filledIn(c.status)));
    if (c.arrives) {
        EXPECT_EQ(receiver.receive(), *c.arrives);
    }
    EXPECT_EQ(receiver.receive(kQuietPeriod), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Cases, Wiring, ::testing::ValuesIn(kWiringCases), caseName);

} // namespace
} // namespace zav::testing
