#pragma once

#include <QString>

// The syntax's name in a saved document ("integer", "octetstr", ...).
QString OvSyntaxName(int syntax);
