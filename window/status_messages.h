#pragma once

#include "endpoint/datagram_endpoint.h"
#include "runtime/run_time_fault.h"
#include "runtime/text.h"

#include <QString>
#include <QTime>

#include <cstddef>
#include <cstdint>
#include <optional>

// What the status line says after each command: plain words, naming what the operator typed
// where that is the reason. Endpoint results and codes become words here. What was typed, or the
// bytes sent, come last, what was typed shortened, so that should the line be too narrow, only
// they are cut short, never the words. Only the bytes may run over more than one line, for the
// tooltip; the status line shows them on its one line.
namespace zav::status {

// "127.0.0.1:2160": the peer as typed and as its port was read, and where a name was typed, the
// address it was found at: "localhost (127.0.0.1):2160".
[[nodiscard]] QString peer(const QString &address, std::optional<std::uint32_t> opened,
                           double port);

[[nodiscard]] QString lookingUp(const QString &address);
[[nodiscard]] QString readyToSend(const QString &peer);
// Why an open failed, from OpenPeer's code and the address and port fields as typed.
[[nodiscard]] QString notConnected(std::int64_t code, const QString &address, const QString &port);
// An open that ended in a fault (the endpoint's, or an answer out of range).
[[nodiscard]] QString connectFault(const RunTimeFault &fault);
[[nodiscard]] QString disconnected();
[[nodiscard]] QString disconnectFault(const RunTimeFault &fault);

// What a Send put on the wire: how many bytes, where and when, what had come back about an
// earlier datagram, and the bytes themselves in hex (the message's characters, then its zero
// byte), one line of 16 to a row.
[[nodiscard]] QString sent(std::int64_t bytes, const QString &peer, const QTime &at,
                           const Text &message, const std::optional<ReturnedDatagram> &returned);
// Why a Send sent nothing, from the endpoint's code; `typed` is the message field's text, where
// a character that is not a byte is found and named.
[[nodiscard]] QString notSent(std::int64_t code, const QString &typed);
// The caret escape refused the message (its fault's kind says why).
[[nodiscard]] QString caretNotEscaped(FaultKind kind, const Text &message);
// The datagram would carry more characters than one can.
[[nodiscard]] QString tooLong(std::size_t characters);
// A Send that ended in a fault (the endpoint's, or an answer out of range).
[[nodiscard]] QString sendFault(const RunTimeFault &fault);

} // namespace zav::status
