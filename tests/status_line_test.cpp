#include "tests/case_name.h"
#include "tests/loopback_window.h"

#include <QFontMetrics>

namespace zav::testing {
namespace {

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

void PrintTo(const StatusCase &c, std::ostream *out)
{
    *out << c.name;
}

const QString kLoopback = "127.0.0.1";
const QString kPort = "{port}";

const StatusCase kStatusCases[] = {
        {"ready", kLoopback, kPort, false, {}, "Ready to send to 127.0.0.1:{port}", {}},
        {"sent", kLoopback, kPort, false, "^Mabc", "Sent 5 bytes to 127.0.0.1:{port} at {time}",
         "\rabc\0"s},
        {"sentEmpty", kLoopback, kPort, false, "", "Sent 1 byte to 127.0.0.1:{port} at {time}",
         "\0"s},
        {"nameWithFinalDot", "localhost.", kPort, false, "n",
         "Sent 2 bytes to localhost.:{port} at {time}", "n\0"s},
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
         "Not sent: the caret must be followed by @ or above (^@ to ^_), not '1'",
         {}},
        {"aboveByte",
         kLoopback,
         kPort,
         false,
         "price \u20AC5",
         "Not sent: character 7 is not one byte (0 to 255): '\u20AC' (U+20AC)",
         {}},
        {"tooLong",
         kLoopback,
         kPort,
         false,
         QString(32767, u'q'),
         "Not sent: 32767 characters; at most 32766 fit in one datagram",
         {}},
        {"shorthandAddress",
         "127.1",
         kPort,
         false,
         {},
         "Not connected: not a full IPv4 address or host name: '127.1'",
         {}},
        {"longAddressShortened",
         QString(300, u'a'),
         kPort,
         false,
         {},
         "Not connected: not a full IPv4 address or host name: 'aaaaaaaaaaaaaaaa\u2026'",
         {}},
        {"portOutOfRange",
         kLoopback,
         "65536",
         false,
         {},
         "Not connected: the port is not a whole number from 1 to 65535: '65536'",
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
