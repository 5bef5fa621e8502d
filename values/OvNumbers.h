#pragma once

#include <QString>

// Number texts as the module reads and writes them, independent of the C locale
// (Qt sets LC_NUMERIC from the environment, so strtod and printf are not used).

// Reads the leading number of a text like the C library's atof: leading blanks, an
// optional sign, digits, a fraction, an exponent; nothing readable gives 0.
double OvAtof(const QString& text);

// Reads the leading integer like the C library's atol (64-bit, wrapping on overflow).
qint64 OvAtol(const QString& text);

// Reads the leading integer like OvAtol; false when it lies outside min..max (a number
// too long for 64 bits included), so that a value never wraps into another one.
bool OvAtolInRange(const QString& text, qint64 min, qint64 max, qint64& out);

// A counter64 text: a whole number of 0..2^64-1, or a fraction or exponent form within
// that range (truncated). False for negative, too large or unreadable texts.
bool OvParseCounter64(const QString& text, quint64& out);

// True when the whole text, blanks around it aside, is a plain unsigned decimal number
// that fits 64 bits; the value is stored in out.
bool OvParseUInt64(const QString& text, quint64& out);

// General number format: up to 15 significant digits, exponent form for very large or
// very small magnitudes ("1E20", "2.2250738585072E-308").
QString OvFloatToStr(double value);

// The current local date and time as days since 1899-12-30, the fraction being the
// time of day.
double OvNowAsDays();
