// The GUI tests need one QApplication for the whole run; offscreen unless told otherwise.
#include "support/PrivateDataFolder.h"

#include <gtest/gtest.h>
#include <QApplication>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const orvik::test::PrivateDataFolder data;
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
