#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

struct variable_list;
struct snmp_pdu;

// The text forms of SNMP values, fixed once for requests and controls alike.

// "00 1A 2B": upper-case digit pairs separated by one blank.
QString OvHexText(const QByteArray& octets);
// Reads digit pairs separated by blanks, ":" or "-" (either case; a run of several pairs
// without separator is read pair by pair). An empty text is zero octets. False when
// malformed, a lone digit included.
bool OvParseHex(const QString& text, QByteArray& octets);

// "1 day, 2:03:04.05", "3 days, 0:00:00.00" or "2:03:04.05".
QString OvTicksText(quint32 hundredths);
// Reads the text above or a plain count of hundredths. False when malformed.
bool OvParseTicks(const QString& text, quint32& hundredths);

// Octets of a display string: UTF-8 where valid, Latin-1 otherwise.
QString OvDisplayText(const QByteArray& octets);

// "1.3.6.1": sub-identifiers of 0..4294967295, an optional leading dot.
bool OvParseOid(const QString& text, std::vector<quint32>& subIds);
// Dotted IPv4 of four numbers 0..255.
bool OvParseIPv4(const QString& text, QByteArray& fourOctets);

// The date-time text of a day count since 1899-12-30: "yyyy/mm/dd hh:nn:ss am/pm".
QString OvDaysText(double days);
// Reads that text (also with a 24-hour time, or a date alone). False when malformed.
bool OvParseDaysText(const QString& text, double& days);

// Whether text reads as a DateAndTime: at least the seven date and time numbers.
bool OvIsDateAndTimeText(const QString& text);

// noSuchObject, noSuchInstance or endOfMibView: the agent's word that there is no value.
bool OvIsException(const variable_list* vb);

// Whether a received binding carries a value of the syntax's wire type (a macaddress in
// an OCTET STRING, a counter in a Counter32 or Gauge32...); false for no value.
bool OvWireTypeFits(int syntax, const variable_list* vb);

// The value text of a received binding for an item of the given syntax: the syntax's
// form when the wire type fits, else the wire type's own form; "(NULL)" for absent
// values. Raises -511 for partial and unknown syntaxes.
QString OvReceivedText(int syntax, const variable_list* vb);

// Appends a binding of oidText carrying text as the syntax sends it. Raises -511 for
// partial and unknown syntaxes, -517 for a text that does not read as the value.
void OvAppendBinding(snmp_pdu* pdu, const QString& oidText, int syntax, const QString& text);

// A key value as row-index sub-identifiers (dotted, no leading dot); impliedLast leaves
// out the length of variable-length values. Raises -511, or -517 for a malformed value.
QString OvIndexOf(int syntax, const QString& value, bool impliedLast);
// Reads a key value from the front of a dotted row index; returns the rest.
QString OvValueFromIndex(int syntax, const QString& suffix, bool impliedLast, QString& value);
