#pragma once

#include <QByteArray>
#include <QString>
#include <QVarLengthArray>
#include <vector>

// The text forms of values, fixed once for requests, controls and files alike.

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
// Whether octets are text a person can read and type back exactly: valid UTF-8 without
// control characters, line or paragraph separators, bidirectional controls or a
// byte-order mark. text: the decoded text when they are.
bool OvPlainText(const QByteArray& octets, QString& text);

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

// "0.144.43": each octet as a decimal number, dot-separated.
QString OvDottedOctets(const QByteArray& octets);
// "1.3.6": the sub-identifiers from index from on, dot-separated.
QString OvDottedIds(const std::vector<quint32>& ids, size_t from = 0);
// The same of count sub-identifiers of any unsigned width (the SNMP library's are longs).
// Written into one buffer: every answer's names and identifier values pass here.
template <typename Id> QString OvDottedIds(const Id* ids, size_t count) {
    QVarLengthArray<char, 256> text;
    char digits[20];
    for (size_t i = 0; i < count; ++i) {
        if (i > 0)
            text.append('.');
        int n = 0;
        for (auto v = ids[i]; n == 0 || v > 0; v /= 10)
            digits[n++] = static_cast<char>('0' + v % 10);
        while (n > 0)
            text.append(digits[--n]);
    }
    return QString::fromLatin1(text.constData(), text.size());
}

// A double in eight octets, low byte first, as the module's own syntaxes carry it.
double OvDoubleOfOctets(const QByteArray& octets);
QByteArray OvOctetsOfDouble(double d);

// The longest object identifier the SNMP library takes.
constexpr int OvMaxOidLength = 128;
