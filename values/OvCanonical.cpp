#include "values/OvCanonical.h"

#include "values/OvOptionList.h"
#include "values/OvSyntax.h"

#include <QRegularExpression>
#include <QStringList>

namespace OvCanonical {

bool Number(const QString& text, qint64 min, qint64 max, QString& out) {
    static const QRegularExpression whole(QStringLiteral("^\\s*([+-]?)0*(\\d{1,19})\\s*$"));
    const QRegularExpressionMatch m = whole.match(text);
    if (!m.hasMatch())
        return false;
    bool ok = false;
    const qint64 magnitude = m.captured(2).toLongLong(&ok);
    if (!ok)
        return false;
    const qint64 value = m.captured(1) == QLatin1String("-") ? -magnitude : magnitude;
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

bool Octets(const QString& text, int length, QString& out) {
    QString digits = text.trimmed();
    static const QRegularExpression separated(QStringLiteral("^[0-9A-Fa-f]{1,2}([ :-][0-9A-Fa-f]{1,2})*$"));
    static const QRegularExpression plain(QStringLiteral("^([0-9A-Fa-f]{2})*$"));
    QStringList pairs;
    if (plain.match(digits).hasMatch()) {
        for (int i = 0; i < digits.size(); i += 2)
            pairs << digits.mid(i, 2);
    } else if (separated.match(digits).hasMatch()) {
        static const QRegularExpression separator(QStringLiteral("[ :-]"));
        pairs = digits.split(separator);
        for (QString& pair : pairs)
            if (pair.size() != 2) // "0:90" is not read as "00 90"
                return false;
    } else {
        return false;
    }
    if (length >= 0 && pairs.size() != length)
        return false;
    out = pairs.join(QLatin1Char(' ')).toUpper();
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
