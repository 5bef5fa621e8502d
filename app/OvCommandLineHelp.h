#pragma once

#include <QString>
#include <QStringList>

// What "velmarn --help" and "velmarn --version" print. They are the only arguments
// without a marker that the module does not ignore, and they need no display.
enum class OvInfoRequest { None, Help, Version };

// Help or Version when an argument is exactly "--help" or "--version" (the first such
// argument decides); None otherwise.
OvInfoRequest OvInfoRequested(const QStringList& arguments);

QString OvHelpText();
QString OvVersionText();
