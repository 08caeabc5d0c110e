#pragma once

#include "runtime/text.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace zav {

// How long OpenPeer waits for a host name's address before it gives up.
inline constexpr std::chrono::milliseconds kHostLookUpTimeLimit {2000};

// Member numbers of the endpoint, as the window has always addressed them.
namespace member {
inline constexpr int kCommandCode = 1;    // 16-bit command; 7 precedes a close after a failed open
inline constexpr int kAddressFamily = 2;  // socket address family; only 2 (IPv4) opens
inline constexpr int kBlockingSends = 4;  // false: a send never waits for buffer space
inline constexpr int kAllowBroadcast = 5; // false: broadcast destinations are refused
inline constexpr int kPeerAddress = 9;    // remote address text, dotted-decimal IPv4 or host name
inline constexpr int kPeerPort = 15;      // remote port; only whole numbers 1..65535 open
inline constexpr int kLastErrorCode = 24; // code of the last failure, see EndpointError
inline constexpr int kReportPeerUnreachable = 25; // false: a bounced datagram never fails a send
inline constexpr int kCanSend = 28;               // true while open and able to take a datagram now
inline constexpr int kLocalAddress = 47;          // empty: any local address and port
inline constexpr int kProtocol = 48;   // socket protocol; only 0 (the type's default) opens
inline constexpr int kSocketType = 49; // socket type; only 2 (datagram) opens
inline constexpr int kSendText = 57;   // sends a text as one datagram
inline constexpr int kOpenPeer = 59;   // opens towards the peer; 0 on success
inline constexpr int kClosePeer = 64;  // closes the endpoint
} // namespace member

inline constexpr std::int16_t kCloseAfterFailedOpen = 7;
inline constexpr std::int16_t kFamilyIPv4 = 2;
inline constexpr std::int16_t kTypeDatagram = 2;
inline constexpr std::int16_t kProtocolDefault = 0;

// The longest text one datagram carries: SendText's count, the closing zero byte included, is
// a 16-bit number.
inline constexpr std::size_t kLongestText = std::numeric_limits<std::int16_t>::max() - 1;

// The failure codes left in LastErrorCode. OpenPeer returns the same code it leaves there.
// Any code not listed here is the system's own number for what it refused (errno; the Winsock
// code on Windows), which its error text explains.
namespace EndpointError {
inline constexpr std::int64_t kNone = 0;
inline constexpr std::int64_t WouldBlockError = 24035;     // a send would have had to wait: the
                                                           // send may be tried again
inline constexpr std::int64_t kNotOpen = 24101;            // send without an open endpoint
inline constexpr std::int64_t kUnsupportedSetting = 24102; // family, type, protocol or local
                                                           // address other than the supported
inline constexpr std::int64_t kBadAddress = 24103;       // not dotted-decimal IPv4 nor a host name
inline constexpr std::int64_t kBadPort = 24104;          // not a whole number from 1 to 65535
inline constexpr std::int64_t kHostNotFound = 24105;     // no answer for the name in time
inline constexpr std::int64_t kBroadcastRefused = 24106; // broadcast peer while broadcast is off
inline constexpr std::int64_t kSystemRefused = 24107;    // the system refused without saying why
inline constexpr std::int64_t kCharacterNotByte = 24108; // a character above 255 in the text
inline constexpr std::int64_t kBadCount = 24109;    // count below 1 or beyond the text and its zero
inline constexpr std::int64_t kThisNetwork = 24110; // an address in 0.0.0.0/8, typed or found for
                                                    // a name: "this network", no destination
inline constexpr std::int64_t kPeerUnreachable = 24111;   // an earlier datagram came back (reported
                                                          // only when kReportPeerUnreachable is on)
inline constexpr std::int64_t kHostUnknown = 24112;       // the name service knows no such name
inline constexpr std::int64_t kHostWithoutIPv4 = 24113;   // the name has no IPv4 address
inline constexpr std::int64_t kNameServiceFailed = 24114; // the name service failed to answer
inline constexpr std::int64_t kNotAnIdnName = 24115;      // the IDN rules refuse the name
inline constexpr std::int64_t kLookUpNotStarted = 24116;  // no thread to look the name up on
} // namespace EndpointError

// The ICMP report the system received about a datagram: its type and code, the IPv4 address
// (host byte order) of the host or router that sent it, and for "fragmentation needed" the
// largest datagram the next hop takes (0 when not given).
struct IcmpReport
{
    IcmpReport(std::uint8_t type, std::uint8_t code, std::uint32_t reportedBy,
               std::uint32_t nextHopMtu = 0)
        : type(type), code(code), reportedBy(reportedBy), nextHopMtu(nextHopMtu)
    { }

    friend bool operator==(const IcmpReport &, const IcmpReport &) = default;

    std::uint8_t type;
    std::uint8_t code;
    std::uint32_t reportedBy;
    std::uint32_t nextHopMtu;
};

// Where a datagram went: its IPv4 address (host byte order) and port.
struct DatagramDestination
{
    friend bool operator==(const DatagramDestination &, const DatagramDestination &) = default;

    std::uint32_t address = 0;
    std::uint16_t port = 0;
};

// What a report without its ICMP details means for a datagram, where the system's number for it
// tells (Windows hands a port unreachable over as a connection reset, say).
enum class ReturnMeaning {
    Unknown,
    PortUnreachable,
    HostUnreachable,
    NetworkUnreachable,
    TimeToLiveExceeded,
};

// What came back about an earlier datagram: the system's number for it (errno; the Winsock code
// on Windows), the ICMP report itself and where the datagram it concerns went, where the system
// gives them (Linux), and else what the number means for a datagram.
struct ReturnedDatagram
{
    ReturnedDatagram(int systemError, std::optional<IcmpReport> icmp = std::nullopt,
                     ReturnMeaning meaning = ReturnMeaning::Unknown,
                     std::optional<DatagramDestination> sentTo = std::nullopt)
        : systemError(systemError), icmp(icmp), meaning(meaning), sentTo(sentTo)
    { }

    friend bool operator==(const ReturnedDatagram &, const ReturnedDatagram &) = default;

    int systemError;
    std::optional<IcmpReport> icmp;
    ReturnMeaning meaning;
    std::optional<DatagramDestination> sentTo;
};

// Where the endpoint is open towards: the address as it was written before the open, the port,
// and the IPv4 address (host byte order) that address stands for.
struct OpenedPeer
{
    Text address;
    double port = 0;
    std::uint32_t ipv4 = 0;
};

// What the endpoint knows of its last OpenPeer or SendText beyond their results.
struct EndpointReport
{
    // While open: where datagrams go.
    std::optional<OpenedPeer> peer;
    // After an OpenPeer: the IPv4 address the peer's address stands for, as typed or as found
    // for a name, also when the open was refused for it (this network, broadcast).
    std::optional<std::uint32_t> addressFound;
    // After a SendText: the bytes that left, the closing zero byte included; empty when none did.
    std::string datagram;
    // After a SendText refused with EndpointError::kCharacterNotByte: where in the text the first
    // character that is not one byte stands.
    std::optional<std::size_t> notAByteAt;
    // After a SendText: what had come back about earlier datagrams, oldest first, taken and
    // cleared so that none of it could fail this one.
    std::vector<ReturnedDatagram> returned;
};

// A configuration value: an empty value, a Boolean or a 16-bit integer.
using SettingValue = std::variant<std::monostate, bool, std::int16_t>;

// The endpoint every datagram goes through. Members answer failures with results; a member
// may also throw RunTimeFault, which the calling handler deals with.
class DatagramEndpoint
{
public:
    virtual ~DatagramEndpoint() = default;

    // Stores one configuration member (kAddressFamily ... kReportPeerUnreachable); it takes
    // effect at the next OpenPeer.
    virtual void WriteSetting(int memberNumber, const SettingValue &value) = 0;

    // Stores a command code; kCloseAfterFailedOpen needs no effect of its own.
    virtual void SetCommandCode(std::int16_t code) = 0;

    // Stores the remote address exactly as typed; it is checked at OpenPeer.
    virtual void SetPeerAddress(const Text &address) = 0;

    // Stores the remote port as read from the port field; it is checked at OpenPeer.
    virtual void SetPeerPort(double port) = 0;

    // The code of the last failure, EndpointError::kNone when nothing failed yet.
    [[nodiscard]] virtual std::int64_t LastErrorCode() const = 0;

    // True while open and the system can take a datagram now; when false, LastErrorCode says
    // why: EndpointError::kNotOpen, or EndpointError::WouldBlockError while the buffer is full.
    [[nodiscard]] virtual bool CanSend() = 0;

    // Sends the text, one byte per character and followed by one zero byte, cut to `count`
    // bytes, as one datagram (so a count of length + 1 sends all of it); returns the number of
    // bytes sent, or below 1 on failure with the code in LastErrorCode.
    [[nodiscard]] virtual std::int64_t SendText(TextView text, std::int16_t count) = 0;

    // (Re)opens towards the stored peer; returns 0 when open, otherwise a failure code
    // (also left in LastErrorCode) with the endpoint closed.
    [[nodiscard]] virtual std::int64_t OpenPeer() = 0;

    // Closes the endpoint; closing a closed endpoint does nothing.
    virtual void ClosePeer() = 0;

    // What the endpoint knows of its last OpenPeer or SendText (see EndpointReport).
    [[nodiscard]] virtual EndpointReport LastReport() const = 0;

    // While open: the system's handle of the endpoint's socket, for a watch that calls
    // TakeReturned when something arrives on it; nothing while closed.
    [[nodiscard]] virtual std::optional<std::intptr_t> WatchHandle() const = 0;

    // Takes what has arrived since the last send or take: drops any datagram, as the program
    // receives nothing, and returns every report about earlier datagrams, oldest first, which
    // the next SendText then does not report again.
    [[nodiscard]] virtual std::vector<ReturnedDatagram> TakeReturned() = 0;
};

} // namespace zav
