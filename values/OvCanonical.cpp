#include "values/OvCanonical.h"

#include "values/OvOptionList.h"
#include "values/OvSyntax.h"

#include <QStringList>
#include <algorithm>
#include <limits>

namespace {

// The white space a number may have around it: ASCII only, as typed or stored in a file.
bool isBlank(QChar c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool isHexDigit(QChar c) {
    return isDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool isOctetSeparator(QChar c) {
    return c == u' ' || c == u':' || c == u'-';
}

} // namespace

namespace OvCanonical {

// Parsed by hand rather than with a regular expression: compiling one costs more than a
// whole backup's values.
bool Number(const QString& text, qint64 min, qint64 max, QString& out) {
    QStringView t(text);
    while (!t.isEmpty() && isBlank(t.front()))
        t = t.mid(1);
    while (!t.isEmpty() && isBlank(t.back()))
        t.chop(1);
    bool negative = false;
    if (!t.isEmpty() && (t.front() == u'+' || t.front() == u'-')) {
        negative = t.front() == u'-';
        t = t.mid(1);
    }
    if (t.isEmpty() || !std::all_of(t.begin(), t.end(), isDigit))
        return false;
    while (t.size() > 1 && t.front() == u'0')
        t = t.mid(1);
    if (t.size() > 19)
        return false;
    quint64 magnitude = 0;
    for (const QChar c : t)
        magnitude = magnitude * 10 + (c.unicode() - u'0');
    if (magnitude > quint64(std::numeric_limits<qint64>::max()))
        return false;
    const qint64 value = negative ? -qint64(magnitude) : qint64(magnitude);
    if (value < min || value > max)
        return false;
    out = QString::number(value);
    return true;
}

bool Option(const OvOptionList& list, const QString& text, qint64 min, qint64 max, QString& out) {
    const QString trimmed = text.trimmed();
    for (int i = 0; i < list.Count(); ++i)
        if (list.At(i).Label.compare(trimmed, Qt::CaseInsensitive) == 0) {
            out = list.At(i).Label;
            return true;
        }
    QString number;
    if (!Number(text, min, max, number))
        return false;
    const int i = list.FindByValue(number);
    out = i >= 0 ? list.At(i).Label : number;
    return true;
}

// Pairs of hex digits, run together ("4c6162") or each after one separator
// ("00:90-2b 1a"); "0:90" is not read as "00 90".
bool Octets(const QString& text, int length, QString& out) {
    const QString digits = text.trimmed();
    const bool separated = digits.size() > 2 && isOctetSeparator(digits[2]);
    const qsizetype step = separated ? 3 : 2;
    if ((digits.size() + (separated ? 1 : 0)) % step != 0)
        return false;
    const qsizetype pairs = (digits.size() + step - 1) / step;
    if (length >= 0 && pairs != length)
        return false;
    QString canonical;
    canonical.reserve(pairs * 3);
    for (qsizetype i = 0; i < digits.size(); i += step) {
        if (!isHexDigit(digits[i]) || !isHexDigit(digits[i + 1]))
            return false;
        if (separated && i + 2 < digits.size() && !isOctetSeparator(digits[i + 2]))
            return false;
        if (i)
            canonical += u' ';
        canonical += digits[i].toUpper();
        canonical += digits[i + 1].toUpper();
    }
    out = canonical;
    return true;
}

bool IPv4(const QString& text, QString& out) {
    const QStringList parts = text.trimmed().split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    QStringList numbers;
    for (const QString& part : parts) {
        QString n;
        if (part.isEmpty() || part.size() > 3 || !Number(part, 0, 255, n) || part.trimmed() != part ||
            part.startsWith(QLatin1Char('+')) || part.startsWith(QLatin1Char('-')))
            return false;
        numbers << n;
    }
    out = numbers.join(QLatin1Char('.'));
    return true;
}

bool OfSyntax(int syntax, const OvOptionList* options, const QString& text, QString& out) {
    using namespace OvSyntax;
    constexpr qint64 kInt32Min = -2147483648LL;
    constexpr qint64 kInt32Max = 2147483647LL;
    constexpr qint64 kUInt32Max = 4294967295LL;
    switch (syntax) {
    case integer:
        return options ? Option(*options, text, kInt32Min, kInt32Max, out)
                       : Number(text, kInt32Min, kInt32Max, out);
    case counter:
    case guage:
    case uinteger:
        return Number(text, 0, kUInt32Max, out);
    case octetstr:
        return Octets(text, -1, out);
    case macaddress:
        return Octets(text, 6, out);
    case ipaddress:
        return IPv4(text, out);
    default: // display strings and the rest: as they are
        out = text;
        return true;
    }
}

} // namespace OvCanonical
