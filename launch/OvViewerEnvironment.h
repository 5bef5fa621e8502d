#pragma once

#include "launch/OvLaunchOptions.h"

#include <QProcessEnvironment>
#include <QStringList>

// What the viewer's command line does not carry (port, version, communities, SNMPv3
// user and scope) travels in its environment, which only the same user can read. Each
// variable holds the value of one launch option.

// base less every VELMARN_* variable, plus the target's settings that are not empty.
QProcessEnvironment OvViewerEnvironment(const OvSNMPTarget& target, QProcessEnvironment base);

// Sets what the environment holds into target and texts; returns the option letters it
// set. Raises OvConvertError for a number that is none.
QString OvApplyViewerEnvironment(const QProcessEnvironment& environment, OvSNMPTarget& target,
                                 TLaunchTexts& texts);

// The viewer's arguments less the empty options ("/R") of letters the environment set:
// the command line decides, but an empty value does not clear what the module handed on.
QStringList OvWithoutEmptyOptions(const QStringList& arguments, const QString& letters);
