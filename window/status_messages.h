#pragma once

#include "runtime/run_time_fault.h"
#include "runtime/text.h"

#include <QString>
#include <QTime>

#include <cstddef>
#include <cstdint>

// What the status line says after each command: one line of plain words, naming what the
// operator typed where that is the reason. Endpoint results and codes become words here. What
// was typed comes last, shortened, so that should the line still be too narrow for it, only
// the typed text is cut short, never the words.
namespace zav::status {

// "127.0.0.1:2160": the peer as typed and as its port was read.
[[nodiscard]] QString peer(const QString &address, double port);

[[nodiscard]] QString readyToSend(const QString &peer);
// Why an open failed, from OpenPeer's code and the address and port fields as typed.
[[nodiscard]] QString notConnected(std::int64_t code, const QString &address, const QString &port);
// An open that ended in a fault (the endpoint's, or an answer out of range).
[[nodiscard]] QString connectFault(const RunTimeFault &fault);
[[nodiscard]] QString disconnected();
[[nodiscard]] QString disconnectFault(const RunTimeFault &fault);

[[nodiscard]] QString sent(std::int64_t bytes, const QString &peer, const QTime &at);
// Why a Send sent nothing, from the endpoint's code; `typed` is the message field's text, where
// a character that is not a byte is found and named.
[[nodiscard]] QString notSent(std::int64_t code, const QString &typed);
// The caret escape refused the message (its fault's kind says why).
[[nodiscard]] QString caretNotEscaped(FaultKind kind, const Text &message);
[[nodiscard]] QString tooLong(std::size_t characters);
// A Send that ended in a fault (the endpoint's, or an answer out of range).
[[nodiscard]] QString sendFault(const RunTimeFault &fault);

} // namespace zav::status
