#pragma once

#include <QStringList>
#include <memory>

class TConnectDialog;
class TMainForm;

// Builds the main window from launch options. A start-up error (the engine-boots file, a
// number that is not one) is shown in a message box and gives null.
std::unique_ptr<TMainForm> OvStartMainWindow(const QStringList& arguments);

// The start from the desktop menu ("velmarn --connect"): the program works in the user's
// state folder (see OvBootCounter::StateFolder), where the engine-boots file and the
// button pictures are, and asks with the dialog until a main window starts. After a
// start-up error the dialog comes back with what was entered. Null when the user cancels.
std::unique_ptr<TMainForm> OvStartFromMenu(TConnectDialog& ask);
