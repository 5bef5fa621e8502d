#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

// The syntaxes whose values travel in a binding of their own; the partial syntaxes travel
// only inside others.
bool OvIsWireSyntax(int syntax);
// The wire type a syntax travels as: its own SMI tag, or the one that carries it.
int OvWireTagOf(int syntax);

// A value as a binding carries it, apart from the SNMP library: the SMI tag of its wire
// type (the OvSyntax codes 0x02..0x47; null for no value) and its content.
struct OvWireValue {
    int Tag = 0x05;
    qint64 Number = 0;        // INTEGER, Counter32, Gauge32, Unsigned32, TimeTicks
    quint64 Counter64 = 0;    // Counter64
    QByteArray Octets;        // octet strings, opaque, bit strings, addresses, others
    std::vector<quint32> Ids; // object identifiers
};

// What a binding of the syntax carries for text; Tag null for "(NULL)" and the null
// syntax. Raises -511 for partial and unknown syntaxes, -517 for a text that does not
// read as the value.
OvWireValue OvWireValueOf(int syntax, const QString& text);

// Whether a received value of wire type tag carries the syntax (a macaddress in an OCTET
// STRING, a counter in a Counter32 or Gauge32...). octetCount: the length of an octet
// string.
bool OvTagCarries(int syntax, int tag, int octetCount);

// The text of a received value for an item of the syntax: the syntax's form when its tag
// carries it, else the tag's own form. For values that are present only.
QString OvReceivedValueText(int syntax, const OvWireValue& value);
