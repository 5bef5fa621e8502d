#pragma once

#include <QString>

// Values as the numbers of expressions and formulas.

// The term an expression reads for a value text of the syntax: the number itself, 1 or 0
// for a boolean, hundredths for time ticks, days for a day count. False for syntaxes
// whose values are no numbers.
bool OvNumberTerm(int syntax, const QString& value, QString& term);

// Whether a formula's result became a value text of the syntax.
enum class OvNumberFit { Fits, OutOfRange, NoNumber };

// The value text of the syntax for a formula's result x; whole-number syntaxes take its
// whole part, refused (never wrapped) outside their range.
OvNumberFit OvTextOfNumber(int syntax, double x, QString& text);
