#include "window/status_messages.h"

#include "window/line_breaks.h"

#include <QStringList>
#include <QtGlobal>

#include <algorithm>

namespace zav::status {

namespace {

// Enough of a typed text to recognise it, on one line, with nothing the label could misshow
// (control, format and separator characters), so every status fits the line.
QString shortened(const QString &typed, qsizetype length)
{
    QString shown;
    for (const QChar c : typed.left(length))
        shown += c.isPrint() ? c : QChar(QChar::ReplacementCharacter);
    if (typed.size() > length)
        shown += QChar(0x2026); // an ellipsis
    return shown;
}

QString quoted(const QString &typed)
{
    return u'\'' + shortened(typed, 16) + u'\'';
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
    if (!QChar::isPrint(c))
        return code.toUpper();
    return u'\'' + QString::fromUcs4(&c, 1) + QStringLiteral("' (") + code.toUpper() + u')';
}

QString notAByte(const QString &typed)
{
    // Counted as the operator counts: a character typed as a surrogate pair is one, and so is
    // a line break, which is sent as CR LF and is never the culprit.
    qsizetype position = 0;
    for (qsizetype i = 0; i < typed.size(); ++position) {
        const char32_t c = characterAt(typed, i);
        i += QChar::requiresSurrogates(c) ? 2 : 1;
        if (c > 0xFF && !isLineBreak(c))
            return QStringLiteral("Not sent: character %1 is not one byte (0 to 255): %2")
                    .arg(position + 1)
                    .arg(named(c));
    }
    return QStringLiteral("Not sent: a character is not one byte (0 to 255)");
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

// The usual ICMP reports about a datagram, by type and code; empty for the rest.
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
            return QStringLiteral("fragmentation needed");
        case 6:
            return QStringLiteral("network unknown");
        case 7:
            return QStringLiteral("host unknown");
        case 9:
        case 10:
        case 13:
            return QStringLiteral("prohibited");
        }
    }
    if (report.type == kTimeExceeded)
        return QStringLiteral("time to live exceeded");
    if (report.type == kParameterProblem)
        return QStringLiteral("parameter problem");
    return {};
}

// Briefly, since it shares the line: why an earlier datagram came back, and the ICMP report's
// type, code and sender where the system gave them.
QString cameBack(const ReturnedDatagram &returned)
{
    if (!returned.icmp)
        return QStringLiteral("earlier one: %1").arg(systemWords(returned.systemError));
    const IcmpReport &icmp = *returned.icmp;
    const QString name = icmpName(icmp);
    return QStringLiteral("earlier one: %1, ICMP %2/%3 from %4")
            .arg(name.isEmpty() ? systemWords(returned.systemError) : name)
            .arg(icmp.type)
            .arg(icmp.code)
            .arg(dotted(icmp.reportedBy));
}

// The bytes of the datagram in hex, 16 to a row; a long one up to a limit, then how many more.
QString inHex(const Text &message, std::int64_t bytes)
{
    constexpr std::int64_t kBytesListed = 256;
    constexpr std::int64_t kBytesInARow = 16;
    const std::int64_t count = std::min<std::int64_t>(bytes, std::ssize(message) + 1);
    QString listed;
    for (std::int64_t i = 0; i < std::min(count, kBytesListed); ++i) {
        if (i > 0)
            listed += i % kBytesInARow == 0 ? u'\n' : u' ';
        const unsigned byte = i < std::ssize(message) ? message[i] : 0;
        listed += QStringLiteral("%1").arg(byte, 2, 16, QChar(u'0')).toUpper();
    }
    if (count > kBytesListed)
        listed += QStringLiteral(" \u2026 and %1 more").arg(count - kBytesListed);
    return listed;
}

} // namespace

QString peer(const QString &address, std::optional<std::uint32_t> opened, double port)
{
    const QString typed = shortened(address, 24);
    const QString portText = QString::number(port, 'g', 10);
    if (!opened || dotted(*opened) == address)
        return typed + u':' + portText;
    return QStringLiteral("%1 (%2):%3").arg(typed, dotted(*opened), portText);
}

QString lookingUp(const QString &address)
{
    return QStringLiteral("Looking up %1\u2026").arg(quoted(address));
}

QString readyToSend(const QString &peer)
{
    return QStringLiteral("Ready to send to %1").arg(peer);
}

QString notConnected(std::int64_t code, const QString &address, const QString &port)
{
    switch (code) {
    case EndpointError::kBadAddress:
        return QStringLiteral("Not connected: not a full IPv4 address or host name: %1")
                .arg(quoted(address));
    case EndpointError::kBadPort:
        return QStringLiteral("Not connected: the port is not a whole number from 1 to 65535: %1")
                .arg(quoted(port));
    case EndpointError::kHostNotFound:
        return QStringLiteral("Not connected: no address found within %1 s for %2")
                .arg(kHostLookUpTimeLimit.count() / 1000.0)
                .arg(quoted(address));
    case EndpointError::kThisNetwork:
        return QStringLiteral("Not connected: 0.0.0.0/8 means this network, not a destination: %1")
                .arg(quoted(address));
    case EndpointError::kBroadcastRefused:
        return QStringLiteral("Not connected: broadcast is refused: %1").arg(quoted(address));
    case EndpointError::kUnsupportedSetting:
        return QStringLiteral("Not connected: the endpoint's settings are not supported");
    default:
        return refusedBySystem(QStringLiteral("Not connected"), code);
    }
}

QString connectFault(const RunTimeFault &fault)
{
    return QStringLiteral("Not connected: the endpoint failed (%1)").arg(fault.what());
}

QString disconnected()
{
    return QStringLiteral("Disconnected");
}

QString disconnectFault(const RunTimeFault &fault)
{
    return QStringLiteral("Disconnect failed: the endpoint failed (%1)").arg(fault.what());
}

QString sent(std::int64_t bytes, const QString &peer, const QTime &at, const Text &message,
             const std::optional<ReturnedDatagram> &returned)
{
    QString words =
            bytes == 1 ? QStringLiteral("Sent 1 byte") : QStringLiteral("Sent %1 bytes").arg(bytes);
    if (!peer.isEmpty())
        words += QStringLiteral(" to ") + peer;
    words += QStringLiteral(" at ") + at.toString(Qt::ISODate); // 10:42:07
    if (returned)
        words += QStringLiteral(" (%1)").arg(cameBack(*returned));
    return words + QStringLiteral(": ") + inHex(message, bytes);
}

QString notSent(std::int64_t code, const QString &typed)
{
    switch (code) {
    case EndpointError::kNotOpen:
        return QStringLiteral("Not sent: not connected \u2014 click Connect");
    case EndpointError::WouldBlockError:
        return QStringLiteral("Not sent: the send buffer is full \u2014 try again in a moment");
    case EndpointError::kCharacterNotByte:
        return notAByte(typed);
    case EndpointError::kPeerUnreachable:
        return QStringLiteral("Not sent: an earlier datagram came back unreachable");
    case EndpointError::kBadCount:
        return QStringLiteral("Not sent: the count does not match the message");
    default:
        return refusedBySystem(QStringLiteral("Not sent"), code);
    }
}

QString caretNotEscaped(FaultKind kind, const Text &message)
{
    if (kind == FaultKind::SubscriptOutOfRange || message.size() < 2)
        return QStringLiteral("Not sent: nothing follows the caret (^M sends a carriage return)");
    const QString text = QString::fromStdU16String(message);
    const char32_t escaped = characterAt(text, 1);
    const QString what = escaped == u'\r' ? QStringLiteral("a line break") : named(escaped);
    return QStringLiteral("Not sent: after ^, the low byte must be 64 or more (^@ to ^_): %1")
            .arg(what);
}

QString tooLong(std::size_t characters)
{
    return QStringLiteral("Not sent: %1 characters; at most %2 fit in one datagram")
            .arg(characters)
            .arg(kLongestText);
}

QString sendFault(const RunTimeFault &fault)
{
    return QStringLiteral("Send failed: the endpoint failed (%1)").arg(fault.what());
}

} // namespace zav::status
