#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// A value shown in one edit per field: the octets of an address or string, the numbers of
// an identifier, the parts of a time or a date.
namespace OvSyntaxFields {

// How many edits the syntax's fields take: -1 for as many as the value has (octets,
// sub-identifiers), 0 for a syntax shown whole in one edit.
int Count(int syntax);

// The value text the field texts spell; an empty field reads as zero. Raises -517 for a
// date or time that does not exist.
QString Join(int syntax, const QStringList& fields);

// The field texts of a value: text as shown, bytes its byte form. None for an absent value.
QStringList Split(int syntax, const QString& text, const QByteArray& bytes);

} // namespace OvSyntaxFields
