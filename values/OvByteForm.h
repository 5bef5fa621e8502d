#pragma once

#include <QByteArray>
#include <QString>

// The byte form of every syntax, between a value text and the controls that show parts
// of it. 32-bit numbers and doubles are stored low byte first, 16-bit numbers and the DateAndTime year
// high byte first.
namespace OvByteForm {

// Text to bytes: "(NULL)" is no bytes. Raises -511 for an unknown syntax, -517 for a
// hex, address, identifier, time-ticks or date text that does not read as one and for a
// number outside the syntax's range.
QByteArray FromText(int syntax, const QString& text);

// Octet string, display string, bit string and opaque: texts of any length, "" included.
bool IsString(int syntax);

// Bytes to text: no bytes give "(NULL)" ("" for the string syntaxes above). Raises -511, or -517
// when there are fewer bytes than the syntax needs.
QString ToText(int syntax, const QByteArray& bytes);

// Bytes a part of the syntax occupies inside a longer value; -1 for "the rest".
int Width(int syntax);

// The part at offset: the rest of the value for variable-width syntaxes, else exactly
// the syntax's width (-518 when the value is too short). Never reads outside the value.
QByteArray Cut(const QByteArray& value, int offset, int syntax);

// Copies part over value at offset, growing value with zero bytes where needed.
void Splice(QByteArray& value, int offset, const QByteArray& part);

// SNMP BITS numbering: bit 0 is the most significant bit of the first byte.
bool BitSet(const QByteArray& bytes, int bit); // raises -518 beyond the last byte
void SetBit(QByteArray& bytes, int bit, bool on);

} // namespace OvByteForm

// The 32-bit number stored low byte first at octet at of octets (which holds four there).
quint32 OvReadLe32(const QByteArray& octets, int at);
