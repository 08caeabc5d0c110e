#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace zav {

// How long OpenPeer waits for a host name's address before it gives up.
inline constexpr std::chrono::milliseconds kHostLookUpTimeLimit {2000};

// A look-up that may take as long as the name service does: the first IPv4 address of the
// name in host byte order, or nothing.
using BlockingLookUp = std::function<std::optional<std::uint32_t>(const std::string &hostName)>;

// The system's name look-up, IPv4 only.
[[nodiscard]] std::optional<std::uint32_t> systemLookUp(const std::string &hostName);

// Runs the look-up on a helper thread of its own and gives up on it after the time limit, so a
// slow name service cannot hold the caller; a look-up given up on finishes in the background.
// Returns nothing when the name is unknown or the time ran out.
[[nodiscard]] std::optional<std::uint32_t> lookUpHost(const std::string &hostName,
                                                      std::chrono::milliseconds timeLimit,
                                                      const BlockingLookUp &lookUp = systemLookUp);

} // namespace zav
