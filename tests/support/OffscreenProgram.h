#pragma once

#include "binding/OvFeedback.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "PrivateUserFolders.h"

// What every test and benchmark program starts with: an offscreen QApplication, message
// boxes and beeps answered by the test hooks, and a private working folder so that the
// engine-boots file never lands in the source tree.
class OffscreenProgram {
public:
    OffscreenProgram(int& argc, char** argv) : App(offscreen(argc), argv) {
        QDir::setCurrent(Work.path());
        // The notifications log of a main window goes there too.
        UsePrivateUserFolders(Work.path());
        OvFeedback::SetTestMode(true);
    }

private:
    static int& offscreen(int& argc) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return argc;
    }

    QApplication App;
    QTemporaryDir Work;
};
