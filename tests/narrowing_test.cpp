#include "runtime/narrowing.h"
#include "runtime/run_time_fault.h"

#include <gtest/gtest.h>

namespace zav::testing {
namespace {

TEST(Narrowing, KeepsEveryValueOfTheRange)
{
    for (const std::int64_t value : {-32768LL, -1LL, 0LL, 1LL, 32767LL})
        EXPECT_EQ(narrowToInt16(value), value);
    EXPECT_EQ(narrowToInt16(std::size_t {32767}), 32767);
}

TEST(Narrowing, OverflowsJustOutsideTheRange)
{
    for (const std::int64_t value : {-32769LL, 32768LL, 70000LL, -70000LL}) {
        try {
            (void)narrowToInt16(value);
            ADD_FAILURE() << value << " narrowed without a fault";
        } catch (const RunTimeFault &fault) {
            EXPECT_EQ(fault.kind(), FaultKind::Overflow) << value;
        }
    }
    EXPECT_THROW((void)narrowToInt16(std::size_t {32768}), RunTimeFault);
}

} // namespace
} // namespace zav::testing
