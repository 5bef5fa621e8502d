#include "values/OvSyntaxText.h"

#include "values/OvNumbers.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringList>
#include <cmath>
#include <cstring>

QString OvHexText(const QByteArray& octets) {
    QString s;
    s.reserve(octets.size() * 3);
    static const char digits[] = "0123456789ABCDEF";
    for (int i = 0; i < octets.size(); ++i) {
        const auto b = static_cast<unsigned char>(octets[i]);
        if (i)
            s += QLatin1Char(' ');
        s += QLatin1Char(digits[b >> 4]);
        s += QLatin1Char(digits[b & 0x0F]);
    }
    return s;
}

bool OvParseHex(const QString& text, QByteArray& octets) {
    octets.clear();
    static const QRegularExpression separators(QStringLiteral("[\\s:\\-]+"));
    const QStringList groups = text.trimmed().split(separators, Qt::SkipEmptyParts);
    for (const QString& g : groups) {
        if (g.size() % 2 != 0)
            return false;
        for (QChar c : g)
            if (c.unicode() > 127 || !isxdigit(c.toLatin1()))
                return false;
        octets.append(QByteArray::fromHex(g.toLatin1()));
    }
    return true;
}

QString OvTicksText(quint32 hundredths) {
    const quint32 days = hundredths / 8640000;
    quint32 rest = hundredths % 8640000;
    const quint32 hours = rest / 360000;
    rest %= 360000;
    const quint32 minutes = rest / 6000;
    rest %= 6000;
    const QString clock = QStringLiteral("%1:%2:%3.%4")
                              .arg(hours)
                              .arg(minutes, 2, 10, QLatin1Char('0'))
                              .arg(rest / 100, 2, 10, QLatin1Char('0'))
                              .arg(rest % 100, 2, 10, QLatin1Char('0'));
    if (days == 0)
        return clock;
    return QStringLiteral("%1 %2, %3")
        .arg(days)
        .arg(days == 1 ? QStringLiteral("day") : QStringLiteral("days"), clock);
}

bool OvParseTicks(const QString& text, quint32& hundredths) {
    const QString t = text.trimmed();
    quint64 plain = 0;
    if (OvParseUInt64(t, plain)) {
        if (plain > 0xFFFFFFFFull)
            return false;
        hundredths = static_cast<quint32>(plain);
        return true;
    }
    static const QRegularExpression re(
        QStringLiteral("^(?:(\\d+)\\s+days?,\\s*)?(\\d+):(\\d{1,2}):(\\d{1,2})(?:\\.(\\d{1,2}))?$"));
    const QRegularExpressionMatch m = re.match(t);
    if (!m.hasMatch())
        return false;
    const quint64 days = m.captured(1).toULongLong();
    const quint64 hours = m.captured(2).toULongLong();
    const quint64 minutes = m.captured(3).toULongLong();
    const quint64 seconds = m.captured(4).toULongLong();
    QString frac = m.captured(5);
    if (frac.size() == 1)
        frac += QLatin1Char('0');
    const quint64 total =
        days * 8640000 + hours * 360000 + minutes * 6000 + seconds * 100 + frac.toULongLong();
    if (minutes > 59 || seconds > 59 || m.captured(2).size() > 10 || m.captured(1).size() > 10 ||
        total > 0xFFFFFFFFull)
        return false;
    hundredths = static_cast<quint32>(total);
    return true;
}

QString OvDisplayText(const QByteArray& octets) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(octets);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(octets);
}

namespace {
// Characters that do not show as themselves, or turn the text around them.
bool isHiddenOrControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0xFEFF || c == 0x2028 || c == 0x2029 || c == 0x200E ||
           c == 0x200F || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}
} // namespace

bool OvPlainText(const QByteArray& octets, QString& text) {
    // A leading byte-order mark is kept as a character, so that it is seen, not dropped.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString decoded = utf8.decode(octets);
    if (utf8.hasError())
        return false;
    for (const char32_t c : decoded.toUcs4())
        if (isHiddenOrControl(c))
            return false;
    text = decoded;
    return true;
}

bool OvParseOid(const QString& text, std::vector<quint32>& subIds) {
    subIds.clear();
    QStringView t = QStringView(text).trimmed();
    if (t.startsWith(u'.'))
        t = t.mid(1);
    // One pass over the text: every backup and request parses its identifiers here.
    quint64 value = 0;
    bool digits = false;
    for (const QChar c : t) {
        if (c == u'.') {
            if (!digits || subIds.size() + 1 >= static_cast<size_t>(OvMaxOidLength))
                return false; // an empty part, or more parts than an identifier may have
            subIds.push_back(static_cast<quint32>(value));
            value = 0;
            digits = false;
            continue;
        }
        if (c < u'0' || c > u'9')
            return false;
        value = value * 10 + (c.unicode() - u'0');
        if (value > 0xFFFFFFFFull)
            return false;
        digits = true;
    }
    if (!digits)
        return false;
    subIds.push_back(static_cast<quint32>(value));
    return true;
}

bool OvParseIPv4(const QString& text, QByteArray& fourOctets) {
    const QStringList parts = text.trimmed().split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    fourOctets.clear();
    for (const QString& p : parts) {
        quint64 v = 0;
        if (!OvParseUInt64(p, v) || v > 255 || p != p.trimmed())
            return false;
        fourOctets.append(static_cast<char>(v));
    }
    return true;
}

QString OvDaysText(double days) {
    if (!std::isfinite(days) || std::fabs(days) > 3e6)
        return OvFloatToStr(days);
    static const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0));
    const QDateTime at = epoch.addMSecs(static_cast<qint64>(std::llround(days * 86400000.0)));
    const QTime t = at.time();
    const int hour12 = t.hour() % 12 == 0 ? 12 : t.hour() % 12;
    return QStringLiteral("%1/%2/%3 %4:%5:%6 %7")
        .arg(at.date().year(), 4, 10, QLatin1Char('0'))
        .arg(at.date().month(), 2, 10, QLatin1Char('0'))
        .arg(at.date().day(), 2, 10, QLatin1Char('0'))
        .arg(hour12, 2, 10, QLatin1Char('0'))
        .arg(t.minute(), 2, 10, QLatin1Char('0'))
        .arg(t.second(), 2, 10, QLatin1Char('0'))
        .arg(t.hour() < 12 ? QStringLiteral("am") : QStringLiteral("pm"));
}

bool OvParseDaysText(const QString& text, double& days) {
    static const QRegularExpression re(QStringLiteral(
        "^(\\d{1,4})/(\\d{1,2})/"
        "(\\d{1,2})(?:\\s+(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?(?:\\.(\\d{1,3}))?\\s*([aApP][mM])?)?$"));
    const QRegularExpressionMatch m = re.match(text.trimmed());
    if (!m.hasMatch())
        return false;
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    int hour = m.captured(4).toInt();
    const QString ampm = m.captured(8).toLower();
    if (!ampm.isEmpty()) {
        if (hour < 1 || hour > 12)
            return false;
        hour = hour % 12 + (ampm == QLatin1String("pm") ? 12 : 0);
    }
    const QTime time(hour, m.captured(5).toInt(), m.captured(6).toInt(), m.captured(7).toInt());
    if (!date.isValid() || !time.isValid())
        return false;
    static const QDate epoch(1899, 12, 30);
    days = static_cast<double>(epoch.daysTo(date)) + time.msecsSinceStartOfDay() / 86400000.0;
    return true;
}

bool OvIsDateAndTimeText(const QString& text) {
    static const QRegularExpression re(QStringLiteral(
        "^\\s*(\\d+)-(\\d+)-(\\d+),(\\d+):(\\d+):(\\d+)\\.(\\d+)(?:,[+-](\\d+):(\\d+))?\\s*$"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch())
        return false;
    // The ranges of RFC 2579: year, month, day, hour, minutes, seconds (60: leap second),
    // deci-seconds, hours and minutes from UTC.
    static const int lowest[] = {0, 1, 1, 0, 0, 0, 0, 0, 0};
    static const int highest[] = {65535, 12, 31, 23, 59, 60, 9, 13, 59};
    for (int i = 0; i < 9; ++i) {
        if (m.captured(i + 1).isEmpty())
            continue; // no UTC offset given
        bool ok = false;
        const int v = m.captured(i + 1).toInt(&ok);
        if (!ok || v < lowest[i] || v > highest[i])
            return false;
    }
    return true;
}

QString OvDottedOctets(const QByteArray& octets) {
    return OvDottedIds(reinterpret_cast<const quint8*>(octets.constData()),
                       static_cast<size_t>(octets.size()));
}

QString OvDottedIds(const std::vector<quint32>& ids, size_t from) {
    return from < ids.size() ? OvDottedIds(ids.data() + from, ids.size() - from) : QString();
}

double OvDoubleOfOctets(const QByteArray& octets) {
    quint64 bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | static_cast<unsigned char>(octets[i]);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

QByteArray OvOctetsOfDouble(double d) {
    quint64 bits;
    std::memcpy(&bits, &d, sizeof bits);
    QByteArray out(8, '\0');
    for (int i = 0; i < 8; ++i)
        out[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    return out;
}
