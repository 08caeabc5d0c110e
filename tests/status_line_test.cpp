#include "tests/support/rows.h"
#include "window/status_messages.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace zav::testing {
namespace {

using namespace zav::outcome;

// The words the status line says for each outcome of a command, with no window and no socket.
struct WordsCase : Row
{
    Outcome outcome;
    QString words;
    CameBack cameBack = {}; // what came back while the line told the outcome
};

const QTime kAt(10, 42, 7);
const OpenedPeer kLoopback {u"127.0.0.1", 2160, 0x7F000001u};
const OpenedPeer kLocalhost {u"localhost", 2160, 0x7F000001u};

const WordsCase kWordsCases[] = {
        {"lookingUp", LookingUp {"switcher-1"}, "Looking up 'switcher-1'\u2026"},
        {"ready", Opened {kLoopback}, "Ready to send to 127.0.0.1:2160"},
        {"readyByName", Opened {kLocalhost}, "Ready to send to localhost (127.0.0.1):2160"},
        // The name is what gets shortened, never the port after it.
        {"longNameShortened",
         Opened {OpenedPeer {Text(40, u's') + u".localhost", 2160, 0x7F000001u}},
         "Ready to send to " + QString(24, u's') + "\u2026 (127.0.0.1):2160"},
        {"sent", Sent {5, "\rabc\0"s, kLoopback, kAt, {}},
         "Sent 5 bytes to 127.0.0.1:2160 at 10:42:07: 0D 61 62 63 00"},
        {"sentOneByte", Sent {1, "\0"s, kLoopback, kAt, {}},
         "Sent 1 byte to 127.0.0.1:2160 at 10:42:07: 00"},
        // The bytes in rows of 16, up to 256 of them, then how many more.
        {"sentLong", Sent {300, std::string(299, 'q') + '\0', kLoopback, kAt, {}},
         "Sent 300 bytes to 127.0.0.1:2160 at 10:42:07: " +
                 QStringList(16, QStringList(16, "71").join(u' ')).join(u'\n') +
                 " \u2026 and 44 more"},
        {"sentAfterIcmpReport",
         Sent {2,
               "a\0"s,
               kLoopback,
               kAt,
               {ReturnedDatagram {113, IcmpReport {3, 13, 0xC0000201u}}}},
         "Sent 2 bytes to 127.0.0.1:2160 at 10:42:07 (earlier one: prohibited, ICMP 3/13 from "
         "192.0.2.1): 61 00"},
        // Every report that came back is told, the same one in a row once with its count.
        {"sentAfterReports",
         Sent {2,
               "a\0"s,
               kLoopback,
               kAt,
               {ReturnedDatagram {111, IcmpReport {3, 3, 0x7F000001u}},
                ReturnedDatagram {111, IcmpReport {3, 3, 0x7F000001u}},
                ReturnedDatagram {113, IcmpReport {11, 0, 0x7F000002u}}}},
         "Sent 2 bytes to 127.0.0.1:2160 at 10:42:07 (3 earlier ones: port unreachable, ICMP 3/3 "
         "from 127.0.0.1, 2 times; time to live exceeded, ICMP 11/0 from 127.0.0.2): 61 00"},
        {"sentAfterManyReports",
         Sent {2,
               "a\0"s,
               kLoopback,
               kAt,
               {ReturnedDatagram {113, IcmpReport {3, 1, 1u}},
                ReturnedDatagram {113, IcmpReport {3, 1, 2u}},
                ReturnedDatagram {113, IcmpReport {3, 1, 3u}},
                ReturnedDatagram {113, IcmpReport {3, 1, 4u}},
                ReturnedDatagram {113, IcmpReport {3, 1, 5u}},
                ReturnedDatagram {113, IcmpReport {3, 1, 5u}}}},
         "Sent 2 bytes to 127.0.0.1:2160 at 10:42:07 (6 earlier ones: host unreachable, ICMP 3/1 "
         "from 0.0.0.1; host unreachable, ICMP 3/1 from 0.0.0.2; host unreachable, ICMP 3/1 from "
         "0.0.0.3; host unreachable, ICMP 3/1 from 0.0.0.4; and 2 more): 61 00"},
        {"sentAfterOneReportPastThoseTold",
         Sent {2,
               "a\0"s,
               kLoopback,
               kAt,
               {ReturnedDatagram {113, IcmpReport {3, 1, 1u}},
                ReturnedDatagram {113, IcmpReport {3, 1, 2u}},
                ReturnedDatagram {113, IcmpReport {3, 1, 3u}},
                ReturnedDatagram {113, IcmpReport {3, 1, 4u}},
                ReturnedDatagram {113, IcmpReport {3, 1, 5u}}}},
         "Sent 2 bytes to 127.0.0.1:2160 at 10:42:07 (5 earlier ones: host unreachable, ICMP 3/1 "
         "from 0.0.0.1; host unreachable, ICMP 3/1 from 0.0.0.2; host unreachable, ICMP 3/1 from "
         "0.0.0.3; host unreachable, ICMP 3/1 from 0.0.0.4; and 1 more): 61 00"},
        // Codes with names of their own, not the system's word for them.
        {"sentAfterPrecedenceCutoff",
         Sent {2,
               "a\0"s,
               kLoopback,
               kAt,
               {ReturnedDatagram {113, IcmpReport {3, 15, 0x7F000001u}}}},
         "Sent 2 bytes to 127.0.0.1:2160 at 10:42:07 (earlier one: precedence cutoff, ICMP 3/15 "
         "from 127.0.0.1): 61 00"},
        {"sentAfterFragmentationNeeded",
         Sent {2,
               "a\0"s,
               kLoopback,
               kAt,
               {ReturnedDatagram {90, IcmpReport {3, 4, 0x7F000001u, 1200}}}},
         "Sent 2 bytes to 127.0.0.1:2160 at 10:42:07 (earlier one: fragmentation needed, next hop "
         "takes 1200 bytes, ICMP 3/4 from 127.0.0.1): 61 00"},
        // A type that reports no failure of its own is told by its numbers.
        {"sentAfterUnnamedIcmpReport",
         Sent {2, "a\0"s, kLoopback, kAt, {ReturnedDatagram {113, IcmpReport {5, 1, 0x7F000001u}}}},
         "Sent 2 bytes to 127.0.0.1:2160 at 10:42:07 (earlier one: ICMP 5/1 from 127.0.0.1): 61 "
         "00"},
        // Without ICMP details: what the system's number means for a datagram where it tells
        // (Windows says "connection reset"), else the system's words.
        {"sentAfterResetMeaningPortUnreachable",
         Sent {2,
               "a\0"s,
               kLoopback,
               kAt,
               {ReturnedDatagram {10054, std::nullopt, ReturnMeaning::PortUnreachable}}},
         "Sent 2 bytes to 127.0.0.1:2160 at 10:42:07 (earlier one: port unreachable): 61 00"},
        {"sentAfterReset", Sent {2, "a\0"s, kLoopback, kAt, {ReturnedDatagram {104, std::nullopt}}},
         "Sent 2 bytes to 127.0.0.1:2160 at 10:42:07 (earlier one: " + qt_error_string(104) +
                 "): 61 00"},
        // A send the system refuses still tells what had come back before it.
        {"refusedAfterReport",
         NotSent {1,
                  u"a",
                  std::nullopt,
                  false,
                  {ReturnedDatagram {111, IcmpReport {3, 3, 0x7F000001u}}}},
         "Not sent: the system refused: " + qt_error_string(1) +
                 " (earlier one: port unreachable, ICMP 3/3 from 127.0.0.1)"},
        // What came back while the line told a Send follows what that Send took; while it told
        // something else, the datagram it concerns is named, where it went and when.
        {"cameBackWhileSentTold",
         Sent {2, "a\0"s, kLoopback, kAt, {ReturnedDatagram {113, IcmpReport {3, 0, 1u}}}},
         "Sent 2 bytes to 127.0.0.1:2160 at 10:42:07 (earlier one: network unreachable, ICMP 3/0 "
         "from 0.0.0.1) \u2014 came back: fragmentation needed, ICMP 3/4 from 0.0.0.2; port "
         "unreachable, 2 times: 61 00",
         {ReportTally({ReturnedDatagram {90, IcmpReport {3, 4, 2u}},
                       ReturnedDatagram {111, std::nullopt, ReturnMeaning::PortUnreachable},
                       ReturnedDatagram {111, std::nullopt, ReturnMeaning::PortUnreachable}}),
          std::nullopt}},
        {"cameBackWhileRefusalTold",
         CaretRefused {FaultKind::SubscriptOutOfRange, u"^"},
         "Not sent: nothing follows the caret (^M sends a carriage return) \u2014 came back about "
         "what was sent to localhost (127.0.0.1):2160 (last at 10:42:07): port unreachable",
         {ReportTally({ReturnedDatagram {111, std::nullopt, ReturnMeaning::PortUnreachable}}),
          SentDatagram {kLocalhost, kAt}}},
        {"cameBackFromElsewhere",
         NotSent {EndpointError::kNotOpen},
         "Not sent: not connected \u2014 click Connect \u2014 came back about what was sent to "
         "192.0.2.7:9: host unreachable, ICMP 3/1 from 192.0.2.1",
         {ReportTally(
                  {ReturnedDatagram {113, IcmpReport {3, 1, 0xC0000201u}, ReturnMeaning::Unknown,
                                     DatagramDestination {0xC0000207u, 9}}}),
          SentDatagram {kLoopback, kAt}}},
        {"disconnected", Disconnected {}, "Disconnected"},
        {"notOpen", NotSent {EndpointError::kNotOpen},
         "Not sent: not connected \u2014 click Connect"},
        {"bufferFull", NotSent {EndpointError::WouldBlockError},
         "Not sent: the send buffer is full \u2014 try again in a moment"},
        {"bounced", NotSent {EndpointError::kPeerUnreachable},
         "Not sent: an earlier datagram came back unreachable"},
        {"badCount", NotSent {EndpointError::kBadCount},
         "Not sent: the count does not match the message"},
        {"sendRefused", NotSent {1}, "Not sent: the system refused: " + qt_error_string(1)},
        {"loneCaret", CaretRefused {FaultKind::SubscriptOutOfRange, u"^"},
         "Not sent: nothing follows the caret (^M sends a carriage return)"},
        {"caretBeforeDigit", CaretRefused {FaultKind::Overflow, u"^1"},
         "Not sent: after ^, the low byte must be 64 or more (^@ to ^_): '1' (U+0031)"},
        {"caretBeforeLowByteZero", CaretRefused {FaultKind::Overflow, u"^\u0100"},
         "Not sent: after ^, the low byte must be 64 or more (^@ to ^_): '\u0100' (U+0100)"},
        {"caretBeforeLineBreak", CaretRefused {FaultKind::Overflow, u"^\r\n"},
         "Not sent: after ^, the low byte must be 64 or more (^@ to ^_): a line break"},
        // Counted as the operator counts what was typed.
        {"aboveByte", NotSent {EndpointError::kCharacterNotByte, u"price \u20AC5", 6},
         "Not sent: character 7 is not one byte (0 to 255): '\u20AC' (U+20AC)"},
        {"aboveByteAfterLineBreak", NotSent {EndpointError::kCharacterNotByte, u"a\r\nb\u20AC", 4},
         "Not sent: character 4 is not one byte (0 to 255): '\u20AC' (U+20AC)"},
        {"surrogatePairIsOneCharacter",
         NotSent {EndpointError::kCharacterNotByte, u"ab\U0001F600", 2},
         "Not sent: character 3 is not one byte (0 to 255): '\U0001F600' (U+1F600)"},
        // After an escape: the caret counts, and the first character is named as typed.
        {"aboveByteAfterEscape", NotSent {EndpointError::kCharacterNotByte, u"\ra\u20AC", 2, true},
         "Not sent: character 4 is not one byte (0 to 255): '\u20AC' (U+20AC)"},
        {"escapedAboveByte", NotSent {EndpointError::kCharacterNotByte, u"\u206Cb", 0, true},
         "Not sent: character 2 is not one byte (0 to 255): '\u20AC' (U+20AC)"},
        {"tooLong", TooLong {32767, 32767},
         "Not sent: 32767 characters; this tool's limit is 32766"},
        {"sendFault", Faulted {Command::Send, RunTimeFault(FaultKind::Overflow)},
         "Send failed: the endpoint failed (overflow)"},
        {"connectFault", Faulted {Command::Connect, RunTimeFault(FaultKind::EndpointFault)},
         "Not connected: the endpoint failed (endpoint fault)"},
        {"disconnectFault", Faulted {Command::Disconnect, RunTimeFault(FaultKind::EndpointFault)},
         "Disconnect failed: the endpoint failed (endpoint fault)"},
        {"shorthandAddress", NotOpened {EndpointError::kBadAddress, "127.1", "2160"},
         "Not connected: not a full IPv4 address or host name: '127.1'"},
        // Nothing typed breaks or reshapes the one line: separators, direction controls.
        {"separatorsInAddress",
         NotOpened {EndpointError::kBadAddress, "a\u2028b\u2029c\u202Ed", "2160"},
         "Not connected: not a full IPv4 address or host name: 'a\uFFFDb\uFFFDc\uFFFDd'"},
        {"caretBeforeLineSeparator", CaretRefused {FaultKind::Overflow, u"^\u2028"},
         "Not sent: after ^, the low byte must be 64 or more (^@ to ^_): U+2028"},
        // The escape judges the first half of a character above U+FFFF, and names that half.
        {"caretBeforeSurrogatePair", CaretRefused {FaultKind::Overflow, u"^\U0001F600"},
         "Not sent: after ^, the low byte must be 64 or more (^@ to ^_): U+D83D"},
        {"lineBreakInAddress", NotOpened {EndpointError::kBadAddress, "127.0.0.1\n", "2160"},
         "Not connected: not a full IPv4 address or host name: '127.0.0.1\uFFFD'"},
        {"longAddressShortened", NotOpened {EndpointError::kBadAddress, QString(300, u'a'), "2160"},
         "Not connected: not a full IPv4 address or host name: 'aaaaaaaaaaaaaaaa\u2026'"},
        {"portNamedAsTyped", NotOpened {EndpointError::kBadPort, "127.0.0.1", "7e4"},
         "Not connected: the port is not a whole number from 1 to 65535: '7e4'"},
        {"nameTimedOut", NotOpened {EndpointError::kHostNotFound, "switcher", "2160"},
         "Not connected: no answer within 2 s for 'switcher'"},
        {"nameUnknown", NotOpened {EndpointError::kHostUnknown, "switcher", "2160"},
         "Not connected: no host is known by the name 'switcher'"},
        {"nameWithoutIPv4", NotOpened {EndpointError::kHostWithoutIPv4, "switcher", "2160"},
         "Not connected: the name has no IPv4 address: 'switcher'"},
        {"nameServiceFailed", NotOpened {EndpointError::kNameServiceFailed, "switcher", "2160"},
         "Not connected: the name service failed to answer for 'switcher'"},
        {"nameRefusedByIdnRules", NotOpened {EndpointError::kNotAnIdnName, "\u2603.test", "2160"},
         "Not connected: the IDN rules refuse the host name '\u2603.test'"},
        {"lookUpNotStarted", NotOpened {EndpointError::kLookUpNotStarted, "switcher", "2160"},
         "Not connected: the look-up of 'switcher' could not start (no thread to be had)"},
        {"nameRefusedBySystem", NotOpened {101, "zero.test", "2160", 0x0A010203u},
         "Not connected: the system refused: " + qt_error_string(101) + ": 'zero.test' (10.1.2.3)"},
        // A character above U+FFFF is one character, shown as itself.
        {"nameAboveFFFFShownWhole",
         NotOpened {EndpointError::kHostUnknown, "\U0001F600" + QString(20, u'x'), "2160"},
         "Not connected: no host is known by the name '\U0001F600" + QString(15, u'x') + "\u2026'"},
        {"nameEndingAboveFFFF", NotOpened {EndpointError::kHostUnknown, "ab\U0001F600", "2160"},
         "Not connected: no host is known by the name 'ab\U0001F600'"},
        {"nameEndingInHalfACharacter",
         NotOpened {EndpointError::kHostUnknown, QString("ab") + QChar(0xD83D), "2160"},
         "Not connected: no host is known by the name 'ab\uFFFD'"},
        // A name refused for what it was found at shows it; a typed address is not repeated.
        {"nameInThisNetwork", NotOpened {EndpointError::kThisNetwork, "zero", "2160", 1u},
         "Not connected: 0.0.0.0/8 means this network, not a destination: 'zero' (0.0.0.1)"},
        {"thisNetworkTyped", NotOpened {EndpointError::kThisNetwork, "0.0.0.0", "2160", 0u},
         "Not connected: 0.0.0.0/8 means this network, not a destination: '0.0.0.0'"},
        {"nameForBroadcast",
         NotOpened {EndpointError::kBroadcastRefused, "all", "2160", 0xFFFFFFFFu},
         "Not connected: broadcast is refused: 'all' (255.255.255.255)"},

        {"broadcast", NotOpened {EndpointError::kBroadcastRefused, "255.255.255.255", "2160"},
         "Not connected: broadcast is refused: '255.255.255.255'"},
        {"unsupportedSetting", NotOpened {EndpointError::kUnsupportedSetting, "127.0.0.1", "2160"},
         "Not connected: the endpoint's settings are not supported"},
        {"openRefused", NotOpened {13, "127.0.0.1", "2160"},
         "Not connected: the system refused: " + qt_error_string(13)},
        {"openRefusedUnsaid", NotOpened {EndpointError::kSystemRefused, "127.0.0.1", "2160"},
         "Not connected: the system refused"},
};

class StatusWords : public ::testing::TestWithParam<WordsCase>
{ };

TEST_P(StatusWords, SayWhatTheCommandDid)
{
    EXPECT_EQ(status::describe(GetParam().outcome, GetParam().cameBack).toStdString(),
              GetParam().words.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Cases, StatusWords, ::testing::ValuesIn(kWordsCases), caseName);

} // namespace
} // namespace zav::testing
