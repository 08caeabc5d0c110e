#include "endpoint/host_look_up.h"

#include "endpoint/socket_platform.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace zav {

namespace {

// What the caller and the look-up thread share; whichever finishes last frees it.
struct PendingLookUp
{
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::optional<std::uint32_t> address;
};

} // namespace

std::optional<std::uint32_t> systemLookUp(const std::string &hostName)
{
    SocketLibrary library;
    if (!library.started())
        return std::nullopt;

    addrinfo hints {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo *found = nullptr;
    if (getaddrinfo(hostName.c_str(), nullptr, &hints, &found) != 0 || !found)
        return std::nullopt;
    std::optional<std::uint32_t> address;
    for (const addrinfo *entry = found; entry && !address; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET && entry->ai_addr) {
            const auto *ipv4 = reinterpret_cast<const sockaddr_in *>(entry->ai_addr);
            address = ntohl(ipv4->sin_addr.s_addr);
        }
    }
    freeaddrinfo(found);
    return address;
}

std::optional<std::uint32_t> lookUpHost(const std::string &hostName,
                                        std::chrono::milliseconds timeLimit,
                                        const BlockingLookUp &lookUp)
{
    auto pending = std::make_shared<PendingLookUp>();
    try {
        std::thread([pending, hostName, lookUp] {
            auto address = lookUp(hostName);
            const std::lock_guard lock(pending->mutex);
            pending->address = address;
            pending->done = true;
            pending->finished.notify_all();
        }).detach();
    } catch (const std::system_error &) {
        return std::nullopt;
    }

    std::unique_lock lock(pending->mutex);
    if (!pending->finished.wait_for(lock, timeLimit, [&] { return pending->done; }))
        return std::nullopt;
    return pending->address;
}

} // namespace zav
