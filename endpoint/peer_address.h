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

// Returns the text as an ASCII host name when it has a host name's form: dot-separated labels
// of letters, digits and hyphens, 1 to 63 characters each and 253 in all, not starting or
// ending with a hyphen, the last one not a number, decimal or "0x" hexadecimal (so no shorthand
// address, "127.1" or "0x7f000001", passes as a name).
// One final dot ("localhost.") is allowed and dropped: it names the same host.
[[nodiscard]] std::optional<std::string> asHostName(TextView text);

// True when opening towards the address means looking it up as a host name, which may take up
// to the look-up's time limit.
[[nodiscard]] bool needsLookUp(TextView address);

} // namespace zav
