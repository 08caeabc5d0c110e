#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

namespace zav::bench {

// A receiver on 127.0.0.1 that keeps reading on its own thread, so senders never meet a full
// receive buffer. It spins rather than sleeps: waking a sleeping reader would charge each send
// with a cross-core wake-up that depends on the sender's pace, not on its work.
class DrainingReceiver
{
public:
    DrainingReceiver()
    {
        m_socket = socket(AF_INET, SOCK_DGRAM, 0);
        const int buffer = 8 << 20;
        setsockopt(m_socket, SOL_SOCKET, SO_RCVBUFFORCE, &buffer, sizeof buffer);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        bind(m_socket, reinterpret_cast<sockaddr *>(&address), length);
        getsockname(m_socket, reinterpret_cast<sockaddr *>(&address), &length);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] {
            char datagram[65536];
            while (!m_stop.load(std::memory_order_relaxed)) {
                if (recv(m_socket, datagram, sizeof datagram, MSG_DONTWAIT) > 0) {
                    m_lastArrival.store(std::chrono::steady_clock::now(),
                                        std::memory_order_relaxed);
                    m_received.fetch_add(1, std::memory_order_release);
                }
            }
        });
    }
    ~DrainingReceiver()
    {
        m_stop = true;
        m_thread.join();
        close(m_socket);
    }
    DrainingReceiver(const DrainingReceiver &) = delete;
    DrainingReceiver &operator=(const DrainingReceiver &) = delete;

    [[nodiscard]] std::uint16_t port() const { return m_port; }
    [[nodiscard]] long long received() const { return m_received.load(); }

    // Waits for the datagram after the first `before` and answers when it arrived.
    [[nodiscard]] std::chrono::steady_clock::time_point arrivalAfter(long long before) const
    {
        while (m_received.load(std::memory_order_acquire) == before) { }
        return m_lastArrival.load(std::memory_order_relaxed);
    }

private:
    int m_socket = -1;
    std::uint16_t m_port = 0;
    std::atomic<bool> m_stop {false};
    std::atomic<long long> m_received {0};
    std::atomic<std::chrono::steady_clock::time_point> m_lastArrival {};
    std::thread m_thread;
};

} // namespace zav::bench
