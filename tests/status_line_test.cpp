#include "tests/case_name.h"
#include "tests/loopback_window.h"

#include <QFontMetrics>

namespace zav::testing {
namespace {

using testing::PrintTo;

using namespace std::string_literals;

// What the operator does, in order: connect to an address and port ("{port}" is the
// receiver's), perhaps disconnect, perhaps send a message.
struct StatusCase
{
    const char *name;
    QString address;
    QString port;
    bool disconnect;
    std::optional<QString> message;
    QString status; // "{port}" and "{time}" as above
    std::optional<std::string> arrives;
};

const QString kLoopback = "127.0.0.1";
const QString kPort = "{port}";

const StatusCase kStatusCases[] = {
        {"ready", kLoopback, kPort, false, {}, "Ready to send to 127.0.0.1:{port}", {}},
        {"readyByName",
         "localhost",
         kPort,
         false,
         {},
         "Ready to send to localhost (127.0.0.1):{port}",
         {}},
        {"sent", kLoopback, kPort, false, "^Mabc",
         "Sent 5 bytes to 127.0.0.1:{port} at {time}: 0D 61 62 63 00", "\rabc\0"s},
        {"sentEmpty", kLoopback, kPort, false, "", "Sent 1 byte to 127.0.0.1:{port} at {time}: 00",
         "\0"s},
        {"nameWithFinalDot", "localhost.", kPort, false, "n",
         "Sent 2 bytes to localhost. (127.0.0.1):{port} at {time}: 6E 00", "n\0"s},
        // The name is what gets shortened, never the port and time after it.
        {"longNameShortened", QString(40, u's') + ".localhost", kPort, false, "n",
         "Sent 2 bytes to " + QString(24, u's') + "\u2026 (127.0.0.1):{port} at {time}: *", "n\0"s},
        {"longMessageCut", kLoopback, kPort, false, QString(40, u'a'),
         "Sent 41 bytes to 127.0.0.1:{port} at {time}: 61 61 61*\u2026",
         std::string(40, 'a') + '\0'},
        {"disconnected", kLoopback, kPort, true, {}, "Disconnected", {}},
        {"notConnected",
         kLoopback,
         kPort,
         true,
         "after",
         "Not sent: not connected \u2014 click Connect",
         {}},
        {"loneCaret",
         kLoopback,
         kPort,
         false,
         "^",
         "Not sent: nothing follows the caret (^M sends a carriage return)",
         {}},
        {"caretBeforeDigit",
         kLoopback,
         kPort,
         false,
         "^1",
         "Not sent: after ^, the low byte must be 64 or more (^@ to ^_): '1' (U+0031)",
         {}},
        {"caretBeforeLowByteZero",
         kLoopback,
         kPort,
         false,
         "^\u0100",
         "Not sent: after ^, the low byte must be 64 or more (^@ to ^_): '\u0100' (U+0100)",
         {}},
        {"aboveByte",
         kLoopback,
         kPort,
         false,
         "price \u20AC5",
         "Not sent: character 7 is not one byte (0 to 255): '\u20AC' (U+20AC)",
         {}},
        {"aboveByteAfterLineBreak",
         kLoopback,
         kPort,
         false,
         "a\nb\u20AC",
         "Not sent: character 4 is not one byte (0 to 255): '\u20AC' (U+20AC)",
         {}},
        {"surrogatePairIsOneCharacter",
         kLoopback,
         kPort,
         false,
         "ab\U0001F600",
         "Not sent: character 3 is not one byte (0 to 255): '\U0001F600' (U+1F600)",
         {}},
        {"tooLong",
         kLoopback,
         kPort,
         false,
         QString(32767, u'q'),
         "Not sent: 32767 characters; at most 32766 fit in one datagram",
         {}},
        // Counted as the datagram carries them: the escape takes one character away.
        {"tooLongAfterEscape",
         kLoopback,
         kPort,
         false,
         "^M" + QString(32766, u'q'),
         "Not sent: 32767 characters; at most 32766 fit in one datagram",
         {}},
        {"shorthandAddress",
         "127.1",
         kPort,
         false,
         {},
         "Not connected: not a full IPv4 address or host name: '127.1'",
         {}},
        {"hexShorthandAddress",
         "0x7f000001",
         kPort,
         false,
         {},
         "Not connected: not a full IPv4 address or host name: '0x7f000001'",
         {}},
        {"lineBreakInAddress",
         "127.0.0.1\n",
         kPort,
         false,
         {},
         "Not connected: not a full IPv4 address or host name: '127.0.0.1\uFFFD'",
         {}},
        {"longAddressShortened",
         QString(300, u'a'),
         kPort,
         false,
         {},
         "Not connected: not a full IPv4 address or host name: 'aaaaaaaaaaaaaaaa\u2026'",
         {}},
        {"thisNetwork",
         "0.0.0.0",
         kPort,
         false,
         {},
         "Not connected: 0.0.0.0/8 means this network, not a destination: '0.0.0.0'",
         {}},
        {"portOutOfRange",
         kLoopback,
         "65536",
         false,
         {},
         "Not connected: the port is not a whole number from 1 to 65535: '65536'",
         {}},
        {"portNamedAsTyped",
         kLoopback,
         "7e4",
         false,
         {},
         "Not connected: the port is not a whole number from 1 to 65535: '7e4'",
         {}},
        {"nameNotFound",
         "switcher.invalid",
         kPort,
         false,
         {},
         "Not connected: no address found within 2 s for 'switcher.invalid'",
         {}},
        {"broadcast",
         "255.255.255.255",
         kPort,
         false,
         {},
         "Not connected: broadcast is refused: '255.255.255.255'",
         {}},
        // The system refuses a subnet's broadcast address itself, for the same reason.
        {"subnetBroadcast",
         "127.255.255.255",
         kPort,
         false,
         {},
         "Not connected: broadcast is refused: '127.255.255.255'",
         {}},
};

class StatusLine : public WindowOverLoopback, public ::testing::WithParamInterface<StatusCase>
{ };

TEST_P(StatusLine, SaysWhatTheLastCommandDid)
{
    const StatusCase &c = GetParam();
    const QString port = QString::number(receiver.port());
    connectTo(c.address, QString(c.port).replace("{port}", port));
    if (c.disconnect)
        click("cmdDisconnect");
    if (c.message)
        send(*c.message);

    // Shown whole: nothing of it had to be cut short to fit the line.
    EXPECT_TRUE(statusSays(QString(c.status).replace("{port}", port)));
    if (c.arrives) {
        EXPECT_EQ(receiver.receive(), *c.arrives);
    }
    EXPECT_EQ(receiver.receive(kQuietPeriod), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Cases, StatusLine, ::testing::ValuesIn(kStatusCases), caseName);

} // namespace
} // namespace zav::testing
