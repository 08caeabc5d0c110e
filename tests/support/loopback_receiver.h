#pragma once

#include "endpoint/socket_platform.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace zav::testing {

// A UDP socket bound to 127.0.0.1 on a port the system picks, for datagrams under test.
class LoopbackReceiver
{
public:
    LoopbackReceiver();
    // Binds to a chosen loopback port, e.g. one a closed receiver used before.
    explicit LoopbackReceiver(std::uint16_t port);
    ~LoopbackReceiver();
    LoopbackReceiver(const LoopbackReceiver &) = delete;
    LoopbackReceiver &operator=(const LoopbackReceiver &) = delete;

    [[nodiscard]] std::uint16_t port() const { return m_port; }

    // The next datagram, or nothing when none arrives before the deadline; `senderPort`, when
    // given, receives the port it came from.
    [[nodiscard]] std::optional<std::string> receive(
            std::chrono::milliseconds wait = std::chrono::milliseconds(2000),
            std::uint16_t *senderPort = nullptr);

    // Answers: sends a datagram back to a port on 127.0.0.1, as a switcher that replies would.
    void answer(std::uint16_t port, const std::string &datagram);

private:
    SocketLibrary m_library;
    NativeSocket m_socket = kNoSocket;
    std::uint16_t m_port = 0;
};

// How long a test waits to be sure that a datagram did not come.
inline constexpr std::chrono::milliseconds kQuietPeriod {300};

} // namespace zav::testing
