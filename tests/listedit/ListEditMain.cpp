// The widget tests need a QApplication around GoogleTest.
#include <gtest/gtest.h>
#include <QApplication>

int main(int argc, char** argv)
{
    // Test discovery runs the program outside CTest's environment; never ask for a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
