#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "support/test_environment.h"

int main(int argc, char** argv) {
    // The platform must be chosen before the application object exists.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qov::test::PrepareTestEnvironment();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
