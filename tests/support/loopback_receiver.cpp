#include "tests/support/loopback_receiver.h"

#include <stdexcept>

namespace zav::testing {

LoopbackReceiver::LoopbackReceiver() : LoopbackReceiver(0) { }

LoopbackReceiver::LoopbackReceiver(std::uint16_t port)
{
    m_socket = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (m_socket == kNoSocket ||
        bind(m_socket, reinterpret_cast<sockaddr *>(&address), length) != 0 ||
        getsockname(m_socket, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        throw std::runtime_error("cannot bind a loopback receiver");
    m_port = ntohs(address.sin_port);
}

LoopbackReceiver::~LoopbackReceiver()
{
    if (m_socket != kNoSocket)
        closeNativeSocket(m_socket);
}

std::optional<std::string> LoopbackReceiver::receive(std::chrono::milliseconds wait,
                                                     std::uint16_t *senderPort)
{
    if (!waitReadable(m_socket, static_cast<int>(wait.count())))
        return std::nullopt;
    std::string datagram(65536, '\0');
    sockaddr_in sender {};
    socklen_t length = sizeof sender;
    const auto size = recvfrom(m_socket, datagram.data(), static_cast<int>(datagram.size()), 0,
                               reinterpret_cast<sockaddr *>(&sender), &length);
    if (size < 0)
        return std::nullopt;
    datagram.resize(static_cast<std::size_t>(size));
    if (senderPort)
        *senderPort = ntohs(sender.sin_port);
    return datagram;
}

void LoopbackReceiver::answer(std::uint16_t port, const std::string &datagram)
{
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    (void)sendto(m_socket, datagram.data(), static_cast<int>(datagram.size()), 0,
                 reinterpret_cast<sockaddr *>(&address), sizeof address);
}

} // namespace zav::testing
