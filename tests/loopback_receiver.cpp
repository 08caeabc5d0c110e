#include "loopback_receiver.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace zav::testing {

LoopbackReceiver::LoopbackReceiver() : LoopbackReceiver(0) { }

LoopbackReceiver::LoopbackReceiver(std::uint16_t port)
{
    m_socket = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (m_socket < 0 || bind(m_socket, reinterpret_cast<sockaddr *>(&address), length) != 0 ||
        getsockname(m_socket, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        throw std::runtime_error("cannot bind a loopback receiver");
    m_port = ntohs(address.sin_port);
}

LoopbackReceiver::~LoopbackReceiver()
{
    close(m_socket);
}

std::optional<std::string> LoopbackReceiver::receive(std::chrono::milliseconds wait)
{
    pollfd entry {m_socket, POLLIN, 0};
    if (poll(&entry, 1, static_cast<int>(wait.count())) != 1)
        return std::nullopt;
    std::string datagram(65536, '\0');
    const ssize_t size = recv(m_socket, datagram.data(), datagram.size(), 0);
    if (size < 0)
        return std::nullopt;
    datagram.resize(static_cast<std::size_t>(size));
    return datagram;
}

} // namespace zav::testing
