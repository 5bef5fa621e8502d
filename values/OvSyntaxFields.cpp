#include "values/OvSyntaxFields.h"

#include "errors/OvErrors.h"
#include "values/OvDateTime.h"
#include "values/OvNumbers.h"
#include "values/OvSyntax.h"
#include "values/OvSyntaxText.h"

#include <QDateTime>

namespace OvSyntaxFields {

namespace {

using namespace OvSyntax;

int number(const QStringList& fields, int i) {
    return static_cast<int>(OvAtol(fields[i]));
}

QString twoHex(const QString& field) {
    const QString t = field.trimmed();
    if (t.isEmpty())
        return QStringLiteral("00");
    if (t.size() == 1)
        return QLatin1Char('0') + t;
    return t;
}

QStringList hexFields(const QStringList& fields) {
    QStringList parts;
    for (const QString& f : fields)
        parts << twoHex(f);
    return parts;
}

QString upperHex(char octet) {
    return QStringLiteral("%1").arg(static_cast<unsigned char>(octet), 2, 16, QLatin1Char('0')).toUpper();
}

} // namespace

int Count(int syntax) {
    switch (syntax) {
    case bitstr:
    case octetstr:
    case opaque:
    case objectid:
        return -1;
    case ipaddress:
    case nsapaddr:
        return 4;
    case timeticks:
        return 5;
    case macaddress:
        return 6;
    case datetime:
        return 10;
    case bcdatetime:
        return 7;
    default:
        return 0;
    }
}

QString Join(int syntax, const QStringList& fields) {
    switch (syntax) {
    case bitstr:
    case octetstr:
    case opaque:
    case macaddress:
        return hexFields(fields).join(QLatin1Char(' '));
    case objectid: {
        QStringList parts;
        for (int i = 0; i < fields.size(); ++i)
            parts << QString::number(static_cast<quint32>(number(fields, i)));
        return parts.join(QLatin1Char('.'));
    }
    case ipaddress:
    case nsapaddr: {
        QStringList parts;
        for (int i = 0; i < fields.size(); ++i)
            parts << QString::number(number(fields, i));
        return parts.join(QLatin1Char('.'));
    }
    case timeticks: {
        const quint64 t = static_cast<quint64>(number(fields, 0)) * 8640000 +
                          static_cast<quint64>(number(fields, 1)) * 360000 +
                          static_cast<quint64>(number(fields, 2)) * 6000 +
                          static_cast<quint64>(number(fields, 3)) * 100 +
                          static_cast<quint64>(number(fields, 4));
        return OvTicksText(static_cast<quint32>(t));
    }
    case datetime: {
        const QString direction = fields[7].left(1);
        return QStringLiteral("%1-%2-%3,%4:%5:%6.%7,%8%9:%10")
            .arg(number(fields, 0))
            .arg(number(fields, 1))
            .arg(number(fields, 2))
            .arg(number(fields, 3))
            .arg(number(fields, 4))
            .arg(number(fields, 5))
            .arg(number(fields, 6))
            .arg(direction.isEmpty() ? QStringLiteral("+") : direction)
            .arg(number(fields, 8))
            .arg(number(fields, 9));
    }
    case bcdatetime: {
        const QDate date(number(fields, 0), number(fields, 1), number(fields, 2));
        const QTime time(number(fields, 3), number(fields, 4), number(fields, 5), number(fields, 6));
        if (!date.isValid() || !time.isValid())
            throw OvException(OvCode::BadPartialValue);
        static const QDate epoch(1899, 12, 30);
        return OvDaysText(static_cast<double>(epoch.daysTo(date)) + time.msecsSinceStartOfDay() / 86400000.0);
    }
    default:
        return fields.value(0);
    }
}

QStringList Split(int syntax, const QString& text, const QByteArray& bytes) {
    QStringList fields;
    const bool absent = text == QLatin1String("(NULL)");
    switch (syntax) {
    case bitstr:
    case octetstr:
    case opaque:
        for (char octet : bytes)
            fields << upperHex(octet);
        return fields;
    case objectid:
        return absent ? fields : text.split(QLatin1Char('.'), Qt::SkipEmptyParts);
    case ipaddress:
    case nsapaddr:
        if (!absent)
            for (int i = 0; i < 4 && i < bytes.size(); ++i)
                fields << QString::number(static_cast<unsigned char>(bytes[i]));
        return fields;
    case timeticks: {
        if (absent || bytes.size() < 4)
            return fields;
        quint32 v = 0;
        for (int i = 3; i >= 0; --i)
            v = (v << 8) | static_cast<unsigned char>(bytes[i]);
        const quint32 r = v % 8640000 % 360000 % 6000;
        fields << QString::number(v / 8640000) << QString::number((v % 8640000) / 360000)
               << QString::number((v % 8640000 % 360000) / 6000) << QString::number(r / 100)
               << QString::number(r % 100);
        return fields;
    }
    case macaddress:
        if (!absent)
            for (int i = 0; i < 6 && i < bytes.size(); ++i)
                fields << upperHex(bytes[i]);
        return fields;
    case datetime: {
        if (absent)
            return fields;
        const OvDateTime d(text);
        const int numbers[] = {d.Year, d.Month, d.Day, d.Hour, d.Minutes, d.Seconds, d.DeciSeconds};
        for (int n : numbers)
            fields << QString::number(n);
        fields << QString(QLatin1Char(d.Direction)) << QString::number(d.HoursFromUTC)
               << QString::number(d.MinutesFromUTC);
        return fields;
    }
    case bcdatetime: {
        if (absent)
            return fields;
        double days = 0;
        OvParseDaysText(text, days);
        static const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0));
        const QDateTime at = epoch.addMSecs(static_cast<qint64>(days * 86400000.0 + 0.5));
        const int numbers[] = {at.date().year(),   at.date().month(),  at.date().day(), at.time().hour(),
                               at.time().minute(), at.time().second(), at.time().msec()};
        for (int n : numbers)
            fields << QString::number(n);
        return fields;
    }
    default:
        return {text};
    }
}

} // namespace OvSyntaxFields
