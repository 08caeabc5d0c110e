#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace zav {

// Looks up the IPv4 address of a host name for the endpoint.
class HostResolver
{
public:
    virtual ~HostResolver() = default;

    // Returns the first IPv4 address of the name in host byte order, or nothing when the name
    // is unknown, is a numeric address in disguise, or the look-up outlasts the timeout.
    [[nodiscard]] virtual std::optional<std::uint32_t> resolveIPv4(
            const std::string &hostName, std::chrono::milliseconds timeout) = 0;
};

// A look-up that may take as long as the name service does.
using BlockingLookUp = std::function<std::optional<std::uint32_t>(const std::string &hostName)>;

// Runs each look-up on a helper thread of its own, so a slow name service cannot hold the
// caller past the timeout; a look-up given up on finishes in the background.
[[nodiscard]] std::unique_ptr<HostResolver> makeThreadedHostResolver(BlockingLookUp lookUp);

// The system's name look-up, threaded as above; refuses names the system reads as numbers.
[[nodiscard]] std::unique_ptr<HostResolver> makeSystemHostResolver();

} // namespace zav
