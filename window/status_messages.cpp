#include "window/status_messages.h"

#include <QStringList>
#include <QtGlobal>

#include <algorithm>
#include <variant>

namespace zav::status {

namespace {

// The text code unit for code unit: unlike QString::fromStdU16String, which reads a leading
// U+FEFF as a byte order mark and drops it.
QString asShown(const Text &text)
{
    return QString(reinterpret_cast<const QChar *>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

// Whether a character shows as itself on the one line: not a control or format character (a
// direction control reshapes the line), nor a line or paragraph separator (breaks it).
bool showsAsItself(char32_t c)
{
    const auto category = QChar::category(c);
    return QChar::isPrint(c) && category != QChar::Separator_Line &&
            category != QChar::Separator_Paragraph;
}

// Enough of a typed text to recognise it, on one line, with nothing the label could misshow
// (control, format and separator characters), so every status fits the line.
QString shortened(const QString &typed, qsizetype length)
{
    QString shown;
    qsizetype characters = 0;
    qsizetype at = 0;
    for (; at < typed.size() && characters < length; ++characters) {
        // A character above U+FFFF is two code units: it shows, or is replaced, whole.
        const bool pair = typed[at].isHighSurrogate() && at + 1 < typed.size() &&
                typed[at + 1].isLowSurrogate();
        const qsizetype units = pair ? 2 : 1;
        const char32_t c =
                pair ? QChar::surrogateToUcs4(typed[at], typed[at + 1]) : typed[at].unicode();
        shown += showsAsItself(c) ? typed.mid(at, units) : QString(QChar::ReplacementCharacter);
        at += units;
    }
    if (at < typed.size())
        shown += QChar(0x2026); // an ellipsis
    return shown;
}

// What was typed, marked as what the line may cut in its middle.
QString typedPart(const QString &shown)
{
    return marks::kTypedStart + shown + marks::kPartEnd;
}

// A detail, marked as what the line may cut from its end.
QString detailPart(const QString &shown)
{
    return marks::kDetailsStart + shown + marks::kPartEnd;
}

QString quoted(const QString &typed)
{
    return u'\'' + typedPart(shortened(typed, 16)) + u'\'';
}

QString dotted(std::uint32_t address)
{
    return QStringLiteral("%1.%2.%3.%4")
            .arg(address >> 24)
            .arg((address >> 16) & 0xFF)
            .arg((address >> 8) & 0xFF)
            .arg(address & 0xFF);
}

// The character that starts at `at`: one code unit, or the two of a surrogate pair, which the
// operator typed as one character.
char32_t characterAt(const QString &text, qsizetype at)
{
    const QChar c = text[at];
    if (c.isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate())
        return QChar::surrogateToUcs4(c, text[at + 1]);
    return c.unicode();
}

// A character by its code, and as itself when it can be shown.
QString named(char32_t c)
{
    const QString code = QStringLiteral("U+%1").arg(static_cast<unsigned>(c), 4, 16, QChar(u'0'));
    if (!showsAsItself(c))
        return code.toUpper();
    return u'\'' + QString::fromUcs4(&c, 1) + QStringLiteral("' (") + code.toUpper() + u')';
}

// The position of the character at `index` in the text a datagram carries, counted as the
// operator counts what was typed: a line break (sent as CR LF) is one character, and so is the
// caret an escape took away. (No surrogate pair comes before the first character that is not
// one byte.)
qsizetype typedPosition(const Text &message, std::size_t index, bool escaped)
{
    qsizetype position = escaped ? 2 : 1;
    for (std::size_t i = 0; i < index; ++position)
        i += message[i] == u'\r' && i + 1 < index && message[i + 1] == u'\n' ? 2 : 1;
    return position;
}

QString notAByte(const outcome::NotSent &notSent)
{
    if (!notSent.notAByteAt || *notSent.notAByteAt >= notSent.message.size())
        return QStringLiteral("Not sent: a character is not one byte (0 to 255)");
    QString text = asShown(notSent.message);
    const auto at = static_cast<qsizetype>(*notSent.notAByteAt);
    // The escape took 64 from the first character's low byte; the operator typed it before.
    if (notSent.escaped && at == 0)
        text[0] = QChar(static_cast<char16_t>(text[0].unicode() + 64));
    return QStringLiteral("Not sent: character %1 is not one byte (0 to 255): %2")
            .arg(typedPosition(notSent.message, *notSent.notAByteAt, notSent.escaped))
            .arg(named(characterAt(text, at)));
}

QString systemWords(std::int64_t code)
{
    return qt_error_string(static_cast<int>(code));
}

// What the system refused, in its own words when it gave its reason's number.
QString refusedBySystem(const QString &outcome, std::int64_t code)
{
    if (code == EndpointError::kSystemRefused)
        return outcome + QStringLiteral(": the system refused");
    return QStringLiteral("%1: the system refused: %2").arg(outcome, systemWords(code));
}

// The ICMP reports about a datagram, by type and code; empty for a type that is no report of a
// datagram's failure.
QString icmpName(const IcmpReport &report)
{
    constexpr int kUnreachable = 3;
    constexpr int kTimeExceeded = 11;
    constexpr int kParameterProblem = 12;
    if (report.type == kUnreachable) {
        switch (report.code) {
        case 0:
            return QStringLiteral("network unreachable");
        case 1:
            return QStringLiteral("host unreachable");
        case 2:
            return QStringLiteral("protocol unreachable");
        case 3:
            return QStringLiteral("port unreachable");
        case 4:
            if (report.nextHopMtu > 0)
                return QStringLiteral("fragmentation needed, next hop takes %1 bytes")
                        .arg(report.nextHopMtu);
            return QStringLiteral("fragmentation needed");
        case 5:
            return QStringLiteral("source route failed");
        case 6:
            return QStringLiteral("network unknown");
        case 7:
            return QStringLiteral("host unknown");
        case 8:
            return QStringLiteral("source host isolated");
        case 9:
        case 10:
        case 13:
            return QStringLiteral("prohibited");
        case 11:
            return QStringLiteral("network unreachable for the type of service");
        case 12:
            return QStringLiteral("host unreachable for the type of service");
        case 14:
            return QStringLiteral("host precedence violation");
        case 15:
            return QStringLiteral("precedence cutoff");
        default:
            return QStringLiteral("unreachable");
        }
    }
    if (report.type == kTimeExceeded)
        return report.code == 1 ? QStringLiteral("fragment reassembly time exceeded")
                                : QStringLiteral("time to live exceeded");
    if (report.type == kParameterProblem)
        return QStringLiteral("parameter problem");
    return {};
}

// A report without its ICMP details, by what it means for a datagram; the system's words where
// that is not known.
QString meaningName(const ReturnedDatagram &returned)
{
    switch (returned.meaning) {
    case ReturnMeaning::PortUnreachable:
        return QStringLiteral("port unreachable");
    case ReturnMeaning::HostUnreachable:
        return QStringLiteral("host unreachable");
    case ReturnMeaning::NetworkUnreachable:
        return QStringLiteral("network unreachable");
    case ReturnMeaning::TimeToLiveExceeded:
        return QStringLiteral("time to live exceeded");
    case ReturnMeaning::Unknown:
        break;
    }
    return systemWords(returned.systemError);
}

// One report, briefly: why the datagram came back, and the ICMP report's type, code and sender
// where the system gave them.
QString reportWords(const ReturnedDatagram &returned)
{
    if (!returned.icmp)
        return meaningName(returned);
    const IcmpReport &icmp = *returned.icmp;
    const QString name = icmpName(icmp);
    const QString details = QStringLiteral("ICMP %1/%2 from %3")
                                    .arg(icmp.type)
                                    .arg(icmp.code)
                                    .arg(dotted(icmp.reportedBy));
    return name.isEmpty() ? details : name + detailPart(QStringLiteral(", ") + details);
}

// Reports, oldest first, briefly since they share the line: the same report in a row is told
// once with its count, and past a few the rest are counted.
QString listed(const ReportTally &reports)
{
    QStringList told;
    for (const ReportTally::Entry &entry : reports.shown()) {
        const QString words = reportWords(entry.report);
        told += entry.times == 1 ? words
                                 : QStringLiteral("%1, %2 times").arg(words).arg(entry.times);
    }
    QString words = told.join(QStringLiteral("; "));
    if (reports.notShown() > 0)
        words += QStringLiteral("; and %1 more").arg(reports.notShown());
    return words;
}

// What had come back about earlier datagrams when a Send took it.
QString earlierOnes(const ReportTally &returned)
{
    if (returned.total() == 1)
        return QStringLiteral("earlier one: ") + listed(returned);
    return QStringLiteral("%1 earlier ones: %2").arg(returned.total()).arg(listed(returned));
}

// The bytes of the datagram in hex, 16 to a row; a long one up to a limit, then how many more.
QString inHex(const std::string &datagram)
{
    constexpr qsizetype kBytesListed = 256;
    constexpr qsizetype kBytesInARow = 16;
    const auto count = static_cast<qsizetype>(datagram.size());
    QString listed;
    for (qsizetype i = 0; i < std::min(count, kBytesListed); ++i) {
        if (i > 0)
            listed += i % kBytesInARow == 0 ? u'\n' : u' ';
        const auto byte = static_cast<unsigned char>(datagram[static_cast<std::size_t>(i)]);
        listed += QStringLiteral("%1").arg(byte, 2, 16, QChar(u'0')).toUpper();
    }
    if (count > kBytesListed)
        listed += QStringLiteral(" \u2026 and %1 more").arg(count - kBytesListed);
    return listed;
}

// "127.0.0.1:2160": the peer as typed and as its port was read, and where a name was typed, the
// address it was found at: "localhost (127.0.0.1):2160".
QString peer(const OpenedPeer &peer)
{
    const QString address = asShown(peer.address);
    const QString portText = QString::number(peer.port, 'g', 10);
    if (dotted(peer.ipv4) == address)
        return address + u':' + portText;
    const QString typed = typedPart(shortened(address, 24));
    return QStringLiteral("%1 (%2):%3").arg(typed, dotted(peer.ipv4), portText);
}

QString describeOne(const outcome::LookingUp &lookingUp)
{
    return QStringLiteral("Looking up %1\u2026").arg(quoted(lookingUp.address));
}

QString describeOne(const outcome::Opened &opened)
{
    if (!opened.peer)
        return QStringLiteral("Ready to send");
    return QStringLiteral("Ready to send to %1").arg(peer(*opened.peer));
}

QString describeOne(const outcome::NotOpened &failed)
{
    const QString address = quoted(failed.address);
    // A name refused for the address it was found at shows that address.
    const QString found = failed.found && dotted(*failed.found) != failed.address
            ? QStringLiteral(" (%1)").arg(dotted(*failed.found))
            : QString();
    switch (failed.code) {
    case EndpointError::kBadAddress:
        return QStringLiteral("Not connected: not a full IPv4 address or host name: %1")
                .arg(address);
    case EndpointError::kBadPort:
        return QStringLiteral("Not connected: the port is not a whole number from 1 to 65535: %1")
                .arg(quoted(failed.port));
    case EndpointError::kHostNotFound:
        return QStringLiteral("Not connected: no answer within %1 s for %2")
                .arg(kHostLookUpTimeLimit.count() / 1000.0)
                .arg(address);
    case EndpointError::kHostUnknown:
        return QStringLiteral("Not connected: no host is known by the name %1").arg(address);
    case EndpointError::kHostWithoutIPv4:
        return QStringLiteral("Not connected: the name has no IPv4 address: %1").arg(address);
    case EndpointError::kNameServiceFailed:
        return QStringLiteral("Not connected: the name service failed to answer for %1")
                .arg(address);
    case EndpointError::kNotAnIdnName:
        return QStringLiteral("Not connected: the IDN rules refuse the host name %1").arg(address);
    case EndpointError::kLookUpNotStarted:
        return QStringLiteral("Not connected: the look-up of %1 could not start (no thread to be "
                              "had)")
                .arg(address);
    case EndpointError::kThisNetwork:
        return QStringLiteral("Not connected: 0.0.0.0/8 means this network, not a destination: %1")
                .arg(address + found);
    case EndpointError::kBroadcastRefused:
        return QStringLiteral("Not connected: broadcast is refused: %1").arg(address + found);
    case EndpointError::kUnsupportedSetting:
        return QStringLiteral("Not connected: the endpoint's settings are not supported");
    default:
        break;
    }
    // A name the system refused to send to is named, with the address it was found at.
    const QString refused = refusedBySystem(QStringLiteral("Not connected"), failed.code);
    return found.isEmpty() ? refused : QStringLiteral("%1: %2").arg(refused, address + found);
}

QString describeOne(const outcome::Disconnected &)
{
    return QStringLiteral("Disconnected");
}

QString clock(const QTime &at)
{
    return at.toString(Qt::ISODate); // 10:42:07
}

// What came back while the line told a Send: about its datagram, or earlier ones to its peer.
QString cameBackAfterSent(const ReportTally &reports)
{
    if (reports.empty())
        return {};
    return QStringLiteral(" \u2014 came back: ") + listed(reports);
}

// What came back while the line told something other than a Send: the datagram it concerns is
// named, where it went (as the system gives it, else as it was sent) and when it was sent.
QString cameBackAfterOther(const outcome::CameBack &cameBack)
{
    const ReportTally &reports = cameBack.reports;
    if (reports.empty())
        return {};
    const std::optional<DatagramDestination> sentTo = reports.shown().front().report.sentTo;
    const outcome::SentDatagram *about = cameBack.about ? &*cameBack.about : nullptr;
    const bool aboutMatches = about && about->peer &&
            (!sentTo ||
             (sentTo->address == about->peer->ipv4 && sentTo->port == about->peer->port));
    QString datagram;
    if (aboutMatches)
        datagram = detailPart(QStringLiteral(" about what was sent to %1 (last at %2)")
                                      .arg(peer(*about->peer), clock(about->at)));
    else if (sentTo)
        datagram = detailPart(QStringLiteral(" about what was sent to %1:%2")
                                      .arg(dotted(sentTo->address))
                                      .arg(sentTo->port));
    return QStringLiteral(" \u2014 came back%1: %2").arg(datagram, listed(reports));
}

QString describeSent(const outcome::Sent &sent, const ReportTally &cameBack)
{
    QString words = sent.count == 1 ? QStringLiteral("Sent 1 byte")
                                    : QStringLiteral("Sent %1 bytes").arg(sent.count);
    if (sent.peer)
        words += QStringLiteral(" to ") + peer(*sent.peer);
    words += QStringLiteral(" at ") + clock(sent.at);
    if (!sent.returned.empty())
        words += QStringLiteral(" (%1)").arg(earlierOnes(sent.returned));
    words += cameBackAfterSent(cameBack);
    return words + marks::kBytesStart + QStringLiteral(": ") + inHex(sent.datagram);
}

QString describeOne(const outcome::Sent &sent)
{
    return describeSent(sent, {});
}

QString describeOne(const outcome::CaretRefused &refused)
{
    if (refused.kind == FaultKind::SubscriptOutOfRange || refused.message.size() < 2)
        return QStringLiteral("Not sent: nothing follows the caret (^M sends a carriage return)");
    const QString text = asShown(refused.message);
    // The escape judges one code unit: half of a character above U+FFFF is named as what it is.
    const char32_t escaped = text[1].unicode();
    const QString what = escaped == u'\r' ? QStringLiteral("a line break") : named(escaped);
    return QStringLiteral("Not sent: after ^, the low byte must be 64 or more (^@ to ^_): %1")
            .arg(what);
}

QString describeOne(const outcome::TooLong &tooLong)
{
    const QString limit = QStringLiteral("this tool's limit is %1").arg(kLongestText);
    if (tooLong.typed == tooLong.asSent)
        return QStringLiteral("Not sent: %1 characters; %2").arg(tooLong.typed).arg(limit);
    return QStringLiteral("Not sent: %1 typed, %2 as sent; %3")
            .arg(tooLong.typed)
            .arg(tooLong.asSent)
            .arg(limit);
}

QString notSentBecause(const outcome::NotSent &notSent)
{
    switch (notSent.code) {
    case EndpointError::kNotOpen:
        return QStringLiteral("Not sent: not connected \u2014 click Connect");
    case EndpointError::WouldBlockError:
        return QStringLiteral("Not sent: the send buffer is full \u2014 try again in a moment");
    case EndpointError::kCharacterNotByte:
        return notAByte(notSent);
    case EndpointError::kPeerUnreachable:
        return QStringLiteral("Not sent: an earlier datagram came back unreachable");
    case EndpointError::kBadCount:
        return QStringLiteral("Not sent: the count does not match the message");
    default:
        return refusedBySystem(QStringLiteral("Not sent"), notSent.code);
    }
}

QString describeOne(const outcome::NotSent &notSent)
{
    if (notSent.returned.empty())
        return notSentBecause(notSent);
    return QStringLiteral("%1 (%2)").arg(notSentBecause(notSent), earlierOnes(notSent.returned));
}

QString describeOne(const outcome::Faulted &faulted)
{
    const QString fault = QString::fromLatin1(faulted.fault.what());
    switch (faulted.command) {
    case outcome::Command::Connect:
        return QStringLiteral("Not connected: the endpoint failed (%1)").arg(fault);
    case outcome::Command::Disconnect:
        return QStringLiteral("Disconnect failed: the endpoint failed (%1)").arg(fault);
    case outcome::Command::Send:
        break;
    }
    return QStringLiteral("Send failed: the endpoint failed (%1)").arg(fault);
}

} // namespace

QString withoutMarks(QString marked)
{
    marked.remove(marks::kTypedStart)
            .remove(marks::kDetailsStart)
            .remove(marks::kPartEnd)
            .remove(marks::kBytesStart);
    return marked;
}

QString describe(const outcome::Outcome &outcome, const outcome::CameBack &cameBack)
{
    return withoutMarks(describeMarked(outcome, cameBack));
}

QString describeMarked(const outcome::Outcome &outcome, const outcome::CameBack &cameBack)
{
    if (const auto *sent = std::get_if<outcome::Sent>(&outcome))
        return describeSent(*sent, cameBack.reports);
    return std::visit([](const auto &one) { return describeOne(one); }, outcome) +
            cameBackAfterOther(cameBack);
}

} // namespace zav::status
