#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

struct variable_list;
struct snmp_pdu;

// SNMP values on the wire: received bindings as value texts, value texts as bindings.

// noSuchObject, noSuchInstance or endOfMibView: the agent's word that there is no value.
bool OvIsException(const variable_list* vb);

// Whether a received binding carries a value of the syntax's wire type (a macaddress in
// an OCTET STRING, a counter in a Counter32 or Gauge32...); false for no value.
bool OvWireTypeFits(int syntax, const variable_list* vb);

// The wire type's name: "INTEGER", "OCTET STRING", "TimeTicks"...
QString OvWireTypeName(int type);
// What a binding of the wrong type carried against what the syntax travels as:
// "answered INTEGER, expected OCTET STRING".
QString OvWireTypeMismatch(int syntax, const variable_list* vb);

// The value text of a received binding for an item of the given syntax: the syntax's
// form when the wire type fits, else the wire type's own form; "(NULL)" for absent
// values. Raises -511 for partial and unknown syntaxes.
QString OvReceivedText(int syntax, const variable_list* vb);

// Appends a binding of oidText carrying text as the syntax sends it. Raises -511 for
// partial and unknown syntaxes, -517 for a text that does not read as the value.
void OvAppendBinding(snmp_pdu* pdu, const QString& oidText, int syntax, const QString& text);
