#pragma once

#include "endpoint/datagram_endpoint.h"
#include "runtime/run_time_fault.h"
#include "runtime/text.h"
#include "window/report_tally.h"

#include <QString>
#include <QTime>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

// What one command did, as one value: everything the operator may be told of it, gathered by the
// handler from the fields it read and the endpoint's answers. The status line's words are made
// from it alone (window/status_messages.h).
namespace zav::outcome {

// Connect found a name to look up, and the look-up is under way.
struct LookingUp
{
    QString address;
};

// Connect opened the endpoint, towards the peer it reports.
struct Opened
{
    std::optional<OpenedPeer> peer;
};

// Connect did not open: OpenPeer's code, the fields as typed, and the address the typed one
// stood for where the endpoint found one.
struct NotOpened
{
    NotOpened(std::int64_t code, QString address, QString port,
              std::optional<std::uint32_t> found = std::nullopt)
        : code(code), address(std::move(address)), port(std::move(port)), found(found)
    { }

    std::int64_t code;
    QString address;
    QString port;
    std::optional<std::uint32_t> found;
};

struct Disconnected
{ };

// Send put a datagram on the wire: SendText's result, the bytes that left, where to (as the
// endpoint knows it) and when (the operator's clock), and what had come back about earlier
// datagrams, which the send took.
struct Sent
{
    Sent(std::int64_t count, std::string datagram, std::optional<OpenedPeer> peer, QTime at,
         const std::vector<ReturnedDatagram> &returned)
        : count(count),
          datagram(std::move(datagram)),
          peer(std::move(peer)),
          at(at),
          returned(returned)
    { }

    std::int64_t count;
    std::string datagram;
    std::optional<OpenedPeer> peer;
    QTime at;
    ReportTally returned;
};

// The caret escape refused the message (as the datagram would carry it): the fault says why.
struct CaretRefused
{
    FaultKind kind = FaultKind::Overflow;
    Text message;
};

// The message has more characters than this tool sends in one datagram: as typed, and as the
// datagram would carry them (a line break as two, the caret of an escape taken away).
struct TooLong
{
    std::size_t typed = 0;
    std::size_t asSent = 0;
};

// Send sent nothing: the endpoint's code; for a character that is not one byte, the text the
// endpoint was given, where that character stands in it, and whether a caret escape made the
// text (so it began with a caret the operator typed); and what had come back about earlier
// datagrams, which a refused send takes all the same.
struct NotSent
{
    explicit NotSent(std::int64_t code, Text message = {},
                     std::optional<std::size_t> notAByteAt = std::nullopt, bool escaped = false,
                     const std::vector<ReturnedDatagram> &returned = {})
        : code(code),
          message(std::move(message)),
          notAByteAt(notAByteAt),
          escaped(escaped),
          returned(returned)
    { }

    std::int64_t code;
    Text message;
    std::optional<std::size_t> notAByteAt;
    bool escaped;
    ReportTally returned;
};

enum class Command { Connect, Disconnect, Send };

// A command ended in a fault: the endpoint's, or an answer out of range.
struct Faulted
{
    Command command = Command::Send;
    RunTimeFault fault {FaultKind::EndpointFault};
};

// The datagram a Send put on the wire, as a report that comes back about it names it: where it
// went and when.
struct SentDatagram
{
    std::optional<OpenedPeer> peer;
    QTime at;
};

// What came back while the status line told one outcome, told with it at once: the reports, and
// the datagram they concern where the line tells something other than that datagram's Send.
struct CameBack
{
    ReportTally reports;
    std::optional<SentDatagram> about;
};

using Outcome = std::variant<LookingUp, Opened, NotOpened, Disconnected, Sent, CaretRefused,
                             TooLong, NotSent, Faulted>;

} // namespace zav::outcome
