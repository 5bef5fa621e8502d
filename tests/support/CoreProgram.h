#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include "PrivateUserFolders.h"

// What every widget-free test program starts with: an event loop without any windowing,
// and a private working folder so that the engine-boots file never lands in the source tree.
class CoreProgram {
public:
    CoreProgram(int& argc, char** argv) : App(argc, argv) {
        QDir::setCurrent(Work.path());
        UsePrivateUserFolders(Work.path());
    }

private:
    QCoreApplication App;
    QTemporaryDir Work;
};
