#include "endpoint/socket_endpoint.h"

#include "endpoint/datagram_encoding.h"
#include "endpoint/peer_address.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <string_view>

namespace zav {

namespace {

// A 16-bit setting, or the given fallback when the value written is of another kind; a
// fallback that is not supported makes the next open fail.
std::int16_t integerSetting(const SettingValue &value, std::int16_t unsupported)
{
    if (const auto *number = std::get_if<std::int16_t>(&value))
        return *number;
    return unsupported;
}

// A Boolean setting; anything that is not a Boolean counts as an unsupported value.
bool booleanSetting(const SettingValue &value, bool &supported)
{
    if (const auto *flag = std::get_if<bool>(&value))
        return *flag;
    supported = false;
    return false;
}

bool isWholePort(double port)
{
    return std::isfinite(port) && port >= 1 && port <= 65535 && std::floor(port) == port;
}

constexpr std::uint32_t kLimitedBroadcast = 0xFFFFFFFFu;

// 0.0.0.0/8 names "this network": the system sends to such an address, if at all, somewhere the
// operator did not type (Linux: this host).
bool isThisNetwork(std::uint32_t address)
{
    return (address >> 24) == 0;
}

// "localhost." in any case: the name of this host, written absolute.
bool isAbsoluteLocalhost(const std::string &name)
{
    constexpr std::string_view kLocalhost = "localhost.";
    return std::equal(name.begin(), name.end(), kLocalhost.begin(), kLocalhost.end(),
                      [](unsigned char a, unsigned char b) { return std::tolower(a) == b; });
}

// The system's own number for a refusal, or kSystemRefused when it gave none.
std::int64_t systemRefusal(int error)
{
    return error > 0 ? error : EndpointError::kSystemRefused;
}

} // namespace

SocketEndpoint::SocketEndpoint(BlockingLookUp lookUp, SendBytes send)
    : m_lookUp(std::move(lookUp)), m_send(std::move(send))
{ }

SocketEndpoint::~SocketEndpoint()
{
    ClosePeer();
}

void SocketEndpoint::WriteSetting(int memberNumber, const SettingValue &value)
{
    bool supported = true;
    switch (memberNumber) {
    case member::kAddressFamily:
        m_addressFamily = integerSetting(value, -1);
        break;
    case member::kSocketType:
        m_socketType = integerSetting(value, -1);
        break;
    case member::kProtocol:
        m_protocol = integerSetting(value, -1);
        break;
    case member::kBlockingSends:
        m_blockingSends = booleanSetting(value, supported);
        break;
    case member::kAllowBroadcast:
        m_allowBroadcast = booleanSetting(value, supported);
        break;
    case member::kReportPeerUnreachable:
        m_reportPeerUnreachable = booleanSetting(value, supported);
        break;
    case member::kLocalAddress:
        m_localAddressGiven = !std::holds_alternative<std::monostate>(value);
        break;
    default:
        supported = false;
        break;
    }
    if (!supported)
        m_settingsUnsupported = true;
}

void SocketEndpoint::SetCommandCode(std::int16_t code)
{
    m_commandCode = code;
}

void SocketEndpoint::SetPeerAddress(const Text &address)
{
    m_peerAddress = address;
}

void SocketEndpoint::SetPeerPort(double port)
{
    m_peerPort = port;
}

std::int64_t SocketEndpoint::LastErrorCode() const
{
    return m_lastError;
}

bool SocketEndpoint::CanSend()
{
    if (m_socket == kNoSocket) {
        m_lastError = EndpointError::kNotOpen;
        return false;
    }
    if (!isWritable(m_socket)) {
        m_lastError = EndpointError::WouldBlockError;
        return false;
    }
    return true;
}

std::int64_t SocketEndpoint::fail(std::int64_t code)
{
    m_lastError = code;
    return code;
}

SocketEndpoint::ResolvedPeer SocketEndpoint::resolvePeer() const
{
    if (const auto dotted = parseDottedDecimal(m_peerAddress))
        return {*dotted};
    auto hostName = asHostName(m_peerAddress);
    if (!hostName)
        return {0, EndpointError::kBadAddress};
    // "localhost." is this host, as "localhost" is: the hosts file answers the name without its
    // final dot, and no name server is asked.
    if (isAbsoluteLocalhost(*hostName))
        hostName->pop_back();
    const LookUpResult found = lookUpHost(*hostName, kHostLookUpTimeLimit, m_lookUp);
    if (found.address)
        return {*found.address};
    switch (found.failure) {
    case LookUpFailure::Unknown:
        return {0, EndpointError::kHostUnknown};
    case LookUpFailure::NoIPv4:
        return {0, EndpointError::kHostWithoutIPv4};
    case LookUpFailure::ServiceFailed:
        return {0, EndpointError::kNameServiceFailed};
    case LookUpFailure::NotAHostName:
        return {0, EndpointError::kNotAnIdnName};
    case LookUpFailure::NotStarted:
        return {0, EndpointError::kLookUpNotStarted};
    case LookUpFailure::None:
    case LookUpFailure::TimedOut:
        break;
    }
    return {0, EndpointError::kHostNotFound};
}

bool SocketEndpoint::applySettings(NativeSocket socket) const
{
    if (!m_blockingSends && !setNonBlocking(socket))
        return false;
    if (m_allowBroadcast) {
        const int on = 1;
        if (setsockopt(socket, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char *>(&on),
                       sizeof on) != 0)
            return false;
    }
    return keepReturnedReports(socket);
}

std::int64_t SocketEndpoint::OpenPeer()
{
    ClosePeer();

    if (!m_library.started())
        return fail(systemRefusal(m_library.error()));
    if (m_settingsUnsupported || m_addressFamily != kFamilyIPv4 || m_socketType != kTypeDatagram ||
        m_protocol != kProtocolDefault || m_localAddressGiven)
        return fail(EndpointError::kUnsupportedSetting);
    if (!isWholePort(m_peerPort))
        return fail(EndpointError::kBadPort);

    const ResolvedPeer peerAddress = resolvePeer();
    if (peerAddress.failure != EndpointError::kNone)
        return fail(peerAddress.failure);
    m_report.addressFound = peerAddress.address;
    if (isThisNetwork(peerAddress.address))
        return fail(EndpointError::kThisNetwork);
    if (peerAddress.address == kLimitedBroadcast && !m_allowBroadcast)
        return fail(EndpointError::kBroadcastRefused);

    const NativeSocket created = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (created == kNoSocket)
        return fail(systemRefusal(lastSocketError()));

    if (!applySettings(created)) {
        const int error = lastSocketError();
        closeNativeSocket(created);
        return fail(systemRefusal(error));
    }

    sockaddr_in peer {};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<std::uint16_t>(m_peerPort));
    peer.sin_addr.s_addr = htonl(peerAddress.address);
    if (connect(created, reinterpret_cast<const sockaddr *>(&peer), sizeof peer) != 0) {
        const int error = lastSocketError();
        closeNativeSocket(created);
        return fail(socketFailureOf(error) == SocketFailure::AccessDenied
                            ? EndpointError::kBroadcastRefused
                            : systemRefusal(error));
    }

    m_socket = created;
    m_report.peer = OpenedPeer {m_peerAddress, m_peerPort, peerAddress.address};
    m_lastError = EndpointError::kNone;
    return EndpointError::kNone;
}

void SocketEndpoint::ClosePeer()
{
    if (m_socket != kNoSocket) {
        closeNativeSocket(m_socket);
        m_socket = kNoSocket;
    }
    m_report = {};
}

EndpointReport SocketEndpoint::LastReport() const
{
    return m_report;
}

std::optional<std::intptr_t> SocketEndpoint::WatchHandle() const
{
    if (m_socket == kNoSocket)
        return std::nullopt;
    return static_cast<std::intptr_t>(m_socket);
}

std::vector<ReturnedDatagram> SocketEndpoint::TakeReturned()
{
    if (m_socket == kNoSocket)
        return {};
    return takeArrivals(m_socket);
}

long long SocketEndpoint::sendDatagram(const std::string &datagram, int &error) const
{
    const long long sent = m_send(m_socket, datagram.data(), datagram.size());
    error = sent < 0 ? lastSocketError() : 0;
    return sent;
}

std::int64_t SocketEndpoint::SendText(TextView text, std::int16_t count)
{
    m_report.datagram.clear();
    m_report.notAByteAt.reset();
    m_report.returned.clear();
    if (m_socket == kNoSocket) {
        m_lastError = EndpointError::kNotOpen;
        return 0;
    }
    std::string datagram;
    switch (encodeDatagram(text, count, datagram)) {
    case DatagramEncoding::Encoded:
        break;
    case DatagramEncoding::CharacterNotByte:
        m_report.notAByteAt = static_cast<std::size_t>(
                std::find_if(text.begin(), text.end(), [](char16_t c) { return c > 0xFF; }) -
                text.begin());
        m_lastError = EndpointError::kCharacterNotByte;
        return 0;
    case DatagramEncoding::BadCount:
        m_lastError = EndpointError::kBadCount;
        return 0;
    }

    // What came back about earlier datagrams is taken first: left pending, it would fail this
    // send in place of the datagram's own outcome.
    m_report.returned = takeArrivals(m_socket);
    if (!m_report.returned.empty() && m_reportPeerUnreachable) {
        m_lastError = EndpointError::kPeerUnreachable;
        return 0;
    }
    int error = 0;
    long long sent = sendDatagram(datagram, error);
    if (sent < 0) {
        // A report that came in after that failed the send instead: the datagram has not left.
        const std::vector<ReturnedDatagram> late = returnedBehindFailure(m_socket, error);
        if (!late.empty()) {
            m_report.returned.insert(m_report.returned.end(), late.begin(), late.end());
            if (m_reportPeerUnreachable) {
                m_lastError = EndpointError::kPeerUnreachable;
                return 0;
            }
            sent = sendDatagram(datagram, error);
        }
    }
    if (sent >= 0) {
        m_report.datagram = std::move(datagram);
        return sent;
    }
    m_lastError = socketFailureOf(error) == SocketFailure::WouldBlock
            ? EndpointError::WouldBlockError
            : systemRefusal(error);
    return 0;
}

} // namespace zav
