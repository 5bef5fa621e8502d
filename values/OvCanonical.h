#pragma once

#include <QString>

class OvOptionList;

// The one spelling of each kind of value, so that two spellings of one value compare
// equal and a backup stores only that one. Each returns false, out untouched, for a text
// that is not a whole value of its kind ("12abc", "4C 6"); the windows keep their own
// lenient reading of typed text.
namespace OvCanonical {

// A whole number within min..max: decimal without "+", leading zeros or blanks
// ("+2347", " 2347 ", "02347" -> "2347").
bool Number(const QString& text, qint64 min, qint64 max, QString& out);

// A value of an integer option list: its label as the list spells it, given as the label
// in any case or as its number ("Repeater", "6" -> "repeater"); a number the list has no
// label for stays a number.
bool Option(const OvOptionList& list, const QString& text, qint64 min, qint64 max, QString& out);

// Octets: upper-case hex pairs separated by one blank, read from pairs separated by
// blanks, ":" or "-" or not at all ("4c:61", "4C61" -> "4C 61"). length: the number of
// octets the value must have, or -1 for any.
bool Octets(const QString& text, int length, QString& out);

// An IPv4 address: four numbers 0..255 without leading zeros ("010.1.0.7" -> "10.1.0.7").
bool IPv4(const QString& text, QString& out);

// A value of the syntax: integers by Number (by Option with an option list), unsigned
// numbers by Number, octet strings and MAC addresses by Octets, IPv4 addresses by IPv4;
// display strings and the rest as they are.
bool OfSyntax(int syntax, const OvOptionList* options, const QString& text, QString& out);

} // namespace OvCanonical
