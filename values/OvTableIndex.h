#pragma once

#include <QString>

// Key values as the sub-identifiers of a table's row index, per syntax.

// A key value as row-index sub-identifiers (dotted, no leading dot); impliedLast leaves
// out the length of variable-length values. Raises -511, or -517 for a malformed value.
QString OvIndexOf(int syntax, const QString& value, bool impliedLast);
// Reads a key value from the front of a dotted row index; returns the rest.
QString OvValueFromIndex(int syntax, const QString& suffix, bool impliedLast, QString& value);
