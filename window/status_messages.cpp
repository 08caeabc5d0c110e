#include "window/status_messages.h"

#include "endpoint/datagram_endpoint.h"

#include <QtGlobal>

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

QString codePoint(char16_t c)
{
    return QStringLiteral("U+%1").arg(static_cast<unsigned>(c), 4, 16, QChar(u'0')).toUpper();
}

// A character by its code, and as itself when it can be shown.
QString named(QChar c)
{
    if (!c.isPrint())
        return codePoint(c.unicode());
    return u'\'' + QString(c) + QStringLiteral("' (") + codePoint(c.unicode()) + u')';
}

QString notAByte(const QString &typed)
{
    // Line and paragraph separators are sent as CR LF, so they are never the culprit.
    for (qsizetype i = 0; i < typed.size(); ++i) {
        const QChar c = typed[i];
        if (c.unicode() > 0xFF && c != QChar::LineSeparator && c != QChar::ParagraphSeparator)
            return QStringLiteral("Not sent: character %1 is not one byte (0 to 255): %2")
                    .arg(i + 1)
                    .arg(named(c));
    }
    return QStringLiteral("Not sent: a character is not one byte (0 to 255)");
}

// What the system refused, in its own words when it gave its reason's number.
QString refusedBySystem(const QString &outcome, std::int64_t code)
{
    if (code == EndpointError::kSystemRefused)
        return outcome + QStringLiteral(": the system refused");
    return QStringLiteral("%1: the system refused: %2")
            .arg(outcome, qt_error_string(static_cast<int>(code)));
}

} // namespace

QString peer(const QString &address, double port)
{
    return shortened(address, 24) + u':' + QString::number(port, 'g', 10);
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

QString sent(std::int64_t bytes, const QString &peer, const QTime &at)
{
    const QString count =
            bytes == 1 ? QStringLiteral("1 byte") : QStringLiteral("%1 bytes").arg(bytes);
    const QString time = at.toString(Qt::ISODate); // 10:42:07
    if (peer.isEmpty())
        return QStringLiteral("Sent %1 at %2").arg(count, time);
    return QStringLiteral("Sent %1 to %2 at %3").arg(count, peer, time);
}

QString notSent(std::int64_t code, const QString &typed)
{
    switch (code) {
    case EndpointError::kNotOpen:
        return QStringLiteral("Not sent: not connected \u2014 click Connect");
    case WouldBlockError:
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
    if (kind == FaultKind::SubscriptOutOfRange)
        return QStringLiteral("Not sent: nothing follows the caret (^M sends a carriage return)");
    const QChar escaped = message.size() > 1 ? QChar(message[1]) : QChar();
    const QString what = escaped == u'\r' ? QStringLiteral("a line break")
            : escaped.isPrint()           ? u'\'' + QString(escaped) + u'\''
                                          : codePoint(escaped.unicode());
    return QStringLiteral("Not sent: the caret must be followed by @ or above (^@ to ^_), not %1")
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
