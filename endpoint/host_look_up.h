#pragma once

#include "endpoint/datagram_endpoint.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace zav {

// Why a look-up found no IPv4 address.
enum class LookUpFailure {
    None,
    Unknown,       // the name service knows no such name
    NoIPv4,        // the name is known, but has no IPv4 address (only IPv6, say)
    ServiceFailed, // the name service failed, or did not answer
    TimedOut,      // no answer within the time limit
    NotAHostName,  // the IDN rules refuse the name: no question was asked
    NotStarted,    // the look-up could not start (no thread to be had)
};

// A look-up's answer: the first IPv4 address of the name in host byte order, or why there is
// none.
struct LookUpResult
{
    std::optional<std::uint32_t> address;
    LookUpFailure failure = LookUpFailure::None;
};

// A look-up that may take as long as the name service does. The name is UTF-8; a name of other
// than ASCII letters is converted as the name service needs (IDNA).
using BlockingLookUp = std::function<LookUpResult(const std::string &hostName)>;

// The system's name look-up, IPv4 only.
[[nodiscard]] LookUpResult systemLookUp(const std::string &hostName);

// Runs the look-up on a helper thread of its own and gives up on it after the time limit, so a
// slow name service cannot hold the caller; a look-up given up on finishes in the background.
[[nodiscard]] LookUpResult lookUpHost(const std::string &hostName,
                                      std::chrono::milliseconds timeLimit,
                                      const BlockingLookUp &lookUp = systemLookUp);

} // namespace zav
