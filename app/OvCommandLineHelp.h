#pragma once

#include "launch/OvInfoRequest.h"

#include <QString>

// What "velmarn --help" and "velmarn --version" print, without a display.
QString OvHelpText();
QString OvVersionText();
