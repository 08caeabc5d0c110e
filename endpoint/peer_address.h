#pragma once

#include "runtime/text.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zav {

// Reads a plain dotted-decimal IPv4 address: four decimal parts of 0..255 without leading
// zeros. The old shorthands ("127.1", "0x7f.0.0.1", "127.0.0.010") are not addresses here.
// Returns the address in host byte order.
[[nodiscard]] std::optional<std::uint32_t> parseDottedDecimal(TextView text);

// Returns the text in UTF-8 for the system's look-up when it may be a host name: dot-separated
// labels of 1 to 63 characters and 253 in all, without blanks or control characters, the last
// one not a number, decimal or "0x" hexadecimal (so no shorthand address, "127.1" or
// "0x7f000001", passes as a name). What else a name may hold (underscores, letters of any
// script, which the system's look-up converts as the name service needs) the system judges.
// One final dot ("switcher.studio.") is allowed and kept: it makes the name absolute.
[[nodiscard]] std::optional<std::string> asHostName(TextView text);

// True when opening towards the address means looking it up as a host name, which may take up
// to the look-up's time limit.
[[nodiscard]] bool needsLookUp(TextView address);

} // namespace zav
