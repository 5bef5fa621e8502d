#pragma once

#include <QString>

// Whether a typed text can stand for a value of the syntax at all: a number for the
// numeric syntaxes (an empty or non-numeric edit would otherwise write 0), a time-ticks
// text for time ticks. True for the other syntaxes, whose texts are read when sent.
bool OvHoldsValue(int syntax, const QString& text);

// The check of a value from a file before a write: raises -511 for a syntax no binding
// carries, -517 unless text is a whole value a write of the syntax carries (numbers
// with nothing after them, no absent value).
void OvCheckWholeValue(int syntax, const QString& text);
