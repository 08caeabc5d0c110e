#include "tests/support/before_any_thread.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <vector>

namespace zav::testing {
namespace {

std::vector<void (*)()> &stepsBeforeAnyThread()
{
    static std::vector<void (*)()> steps;
    return steps;
}

} // namespace

bool beforeAnyThread(void (*step)())
{
    stepsBeforeAnyThread().push_back(step);
    return true;
}

} // namespace zav::testing

// The window tests need an application object; the test properties choose its platform.
int main(int argc, char *argv[])
{
    for (const auto step : zav::testing::stepsBeforeAnyThread())
        step();
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests (as the build does) needs no application, and so no display.
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
