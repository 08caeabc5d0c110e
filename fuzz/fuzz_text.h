#pragma once

#include "runtime/text.h"

#include <cstddef>
#include <cstdint>

namespace zav::fuzzing {

// Reads fuzz bytes as 16-bit code units, little-endian; an odd last byte is one more unit.
inline Text textFrom(const std::uint8_t *data, std::size_t size)
{
    Text text;
    text.reserve(size / 2 + 1);
    for (std::size_t i = 0; i < size; i += 2)
        text += static_cast<char16_t>(data[i] | (i + 1 < size ? data[i + 1] << 8 : 0));
    return text;
}

// Stops the run with a report when a property does not hold.
#define ZAV_FUZZ_CHECK(condition) \
    do { \
        if (!(condition)) { \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort(); \
        } \
    } while (false)

} // namespace zav::fuzzing
