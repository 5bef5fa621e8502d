#pragma once

#include "app/TMainForm.h"

#include <QStringList>
#include <memory>

class TConnectDialog;

// Builds the main window from launch options. A start-up error (the engine-boots file, a
// number that is not one) is shown in a message box and gives null.
std::unique_ptr<TMainForm> OvStartMainWindow(const QStringList& arguments,
                                             TMainForm::StartedFrom start = TMainForm::StartedFrom::Options);

// The start from the desktop menu ("velmarn --connect"): the engine-boots file and the
// button pictures are in the user's state folder (see OvBootCounter::StateFolder), the
// working folder stays as it was, and the dialog asks until a main window starts. After a
// start-up error the dialog comes back with what was entered. Null when the user cancels.
std::unique_ptr<TMainForm> OvStartFromMenu(TConnectDialog& ask);
