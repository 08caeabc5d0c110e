#include <QApplication>

#include <gtest/gtest.h>

// The window tests need an application object; the test properties choose its platform.
int main(int argc, char *argv[])
{
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests (as the build does) needs no application, and so no display.
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
