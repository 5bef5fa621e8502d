// Shared main of the test programs: an offscreen QApplication, message boxes and beeps
// answered by the test hooks, and a private working directory so the engine-boots file
// never lands in the source tree.
#include "OvFeedback.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir workDir;
    QDir::setCurrent(workDir.path());
    OvFeedback::SetTestMode(true);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
