#include <QGuiApplication>

#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    // Listing the tests for CTest runs without the tests' environment, and pixmaps need a platform.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
