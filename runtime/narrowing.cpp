#include "runtime/narrowing.h"

#include "runtime/run_time_fault.h"

#include <limits>

namespace zav {

std::int16_t narrowToInt16(std::int64_t value)
{
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max())
        throw RunTimeFault(FaultKind::Overflow);
    return static_cast<std::int16_t>(value);
}

std::int16_t narrowToInt16(std::size_t value)
{
    if (value > static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max()))
        throw RunTimeFault(FaultKind::Overflow);
    return static_cast<std::int16_t>(value);
}

} // namespace zav
