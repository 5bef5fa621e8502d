#pragma once

#include <QStringList>

// "--help" and "--version": the only arguments without a marker that the module and the
// viewer do not ignore. They are answered before anything needs a display.
enum class OvInfoRequest { None, Help, Version };

// Help or Version when an argument is exactly "--help" or "--version" (the first such
// argument decides); None otherwise.
OvInfoRequest OvInfoRequested(const QStringList& arguments);

// Prints the program's help or version text when the arguments ask for one; true when it
// did, and the program ends there.
bool OvPrintInfoRequested(const QStringList& arguments, const QString& help, const QString& version);
