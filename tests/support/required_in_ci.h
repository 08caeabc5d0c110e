#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace zav::testing {

// CI sets CI=true; there a test must run, never quietly skip.
inline bool runsInCi()
{
    const char *ci = std::getenv("CI");
    return ci && std::strcmp(ci, "true") == 0;
}

} // namespace zav::testing

// Skips a test that needs what this machine lacks; in CI the test fails instead, saying why.
#define ZAV_SKIP_OUTSIDE_CI(reason) \
    do { \
        if (::zav::testing::runsInCi()) \
            FAIL() << (reason) << " (required in CI)"; \
        GTEST_SKIP() << (reason); \
    } while (false)
