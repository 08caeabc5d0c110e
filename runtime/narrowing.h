#pragma once

#include <cstddef>
#include <cstdint>

namespace zav {

// Checked narrowing to a signed 16-bit integer; throws RunTimeFault(Overflow) when the value
// does not fit in -32768..32767.
[[nodiscard]] std::int16_t narrowToInt16(std::int64_t value);

// Same, for a length or count: throws RunTimeFault(Overflow) above 32767.
[[nodiscard]] std::int16_t narrowToInt16(std::size_t value);

} // namespace zav
