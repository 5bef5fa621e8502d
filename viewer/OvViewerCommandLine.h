#pragma once

#include <QString>

// What "velmarn-mib --help" and "velmarn-mib --version" print, without a display.
QString OvViewerHelpText();
QString OvViewerVersionText();
