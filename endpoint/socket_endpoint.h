#pragma once

#include "endpoint/datagram_endpoint.h"
#include "endpoint/host_look_up.h"
#include "endpoint/socket_platform.h"

namespace zav {

// The endpoint over an IPv4 UDP socket of the operating system, connected to one peer.
class SocketEndpoint final : public DatagramEndpoint
{
public:
    // The look-up and the send are the system's; a test may stand in for either.
    explicit SocketEndpoint(BlockingLookUp lookUp = systemLookUp, SendBytes send = sendBytes);
    ~SocketEndpoint() override;
    SocketEndpoint(const SocketEndpoint &) = delete;
    SocketEndpoint &operator=(const SocketEndpoint &) = delete;

    void WriteSetting(int memberNumber, const SettingValue &value) override;
    void SetCommandCode(std::int16_t code) override;
    void SetPeerAddress(const Text &address) override;
    void SetPeerPort(double port) override;
    [[nodiscard]] std::int64_t LastErrorCode() const override;
    [[nodiscard]] bool CanSend() override;
    [[nodiscard]] std::int64_t SendText(TextView text, std::int16_t count) override;
    [[nodiscard]] std::int64_t OpenPeer() override;
    void ClosePeer() override;
    [[nodiscard]] EndpointReport LastReport() const override;
    [[nodiscard]] std::optional<std::intptr_t> WatchHandle() const override;
    [[nodiscard]] std::vector<ReturnedDatagram> TakeReturned() override;

private:
    // The peer's IPv4 address in host byte order, or why there is none.
    struct ResolvedPeer
    {
        std::uint32_t address = 0;
        std::int64_t failure = EndpointError::kNone;
    };
    [[nodiscard]] ResolvedPeer resolvePeer() const;
    [[nodiscard]] std::int64_t fail(std::int64_t code);
    // Blocking and broadcast as configured, and reports kept; false when the system refuses.
    [[nodiscard]] bool applySettings(NativeSocket socket) const;
    // One send of the datagram; the count sent, or -1 with the system's number in `error`.
    [[nodiscard]] long long sendDatagram(const std::string &datagram, int &error) const;

    SocketLibrary m_library;
    BlockingLookUp m_lookUp;
    SendBytes m_send;
    NativeSocket m_socket = kNoSocket;
    EndpointReport m_report;

    std::int16_t m_addressFamily = kFamilyIPv4;
    std::int16_t m_socketType = kTypeDatagram;
    std::int16_t m_protocol = kProtocolDefault;
    bool m_blockingSends = false;
    bool m_allowBroadcast = false;
    bool m_localAddressGiven = false;
    bool m_reportPeerUnreachable = false;
    bool m_settingsUnsupported = false;

    std::int16_t m_commandCode = 0;
    Text m_peerAddress;
    double m_peerPort = 0;
    std::int64_t m_lastError = EndpointError::kNone;
};

} // namespace zav
