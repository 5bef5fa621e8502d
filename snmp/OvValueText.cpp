#include "snmp/OvValueText.h"

#include "errors/OvErrors.h"
#include "snmp/OvSNMPVar.h"
#include "values/OvDateTime.h"
#include "values/OvNumbers.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <QDateTime>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringList>
#include <cmath>
#include <cstring>

namespace {

[[noreturn]] void badValue() {
    throw OvException(OvCode::BadPartialValue);
}
[[noreturn]] void badSyntax() {
    throw OvException(OvCode::BadSyntax);
}

// The value of an integer-valued syntax, refused when the text's number does not fit.
qint64 rangedInteger(int syntax, const QString& text) {
    qint64 min = 0;
    qint64 max = 0xFFFFFFFFll;
    if (syntax == OvSyntax::integer) {
        min = -2147483648ll;
        max = 2147483647ll;
    }
    qint64 v = 0;
    if (!OvAtolInRange(text, min, max, v))
        badValue();
    return v;
}

quint64 counter64Value(const QString& text) {
    quint64 v = 0;
    if (!OvParseCounter64(text, v))
        badValue();
    return v;
}

bool isKnownSyntax(int syntax) {
    using namespace OvSyntax;
    switch (syntax) {
    case boolean:
    case integer:
    case bitstr:
    case octetstr:
    case null:
    case objectid:
    case ipaddress:
    case counter:
    case guage:
    case timeticks:
    case opaque:
    case nsapaddr:
    case OvSyntax::counter64:
    case uinteger:
    case double_:
    case macaddress:
    case datetime:
    case bcdatetime:
    case displaystr:
        return true;
    default:
        return false;
    }
}

QByteArray octetsOf(const netsnmp_variable_list* vb) {
    return QByteArray(reinterpret_cast<const char*>(vb->val.string), static_cast<int>(vb->val_len));
}

QString dottedOid(const oid* ids, size_t count) {
    QStringList parts;
    for (size_t i = 0; i < count; ++i)
        parts << QString::number(ids[i]);
    return parts.join(QLatin1Char('.'));
}

QString dottedOctets(const QByteArray& octets) {
    QStringList parts;
    for (char c : octets)
        parts << QString::number(static_cast<unsigned char>(c));
    return parts.join(QLatin1Char('.'));
}

quint64 counter64Of(const netsnmp_variable_list* vb) {
    return (static_cast<quint64>(vb->val.counter64->high & 0xFFFFFFFFul) << 32) |
           (vb->val.counter64->low & 0xFFFFFFFFul);
}

double doubleOfOctets(const QByteArray& octets) {
    quint64 bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | static_cast<unsigned char>(octets[i]);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

QByteArray octetsOfDouble(double d) {
    quint64 bits;
    std::memcpy(&bits, &d, sizeof bits);
    QByteArray out(8, '\0');
    for (int i = 0; i < 8; ++i)
        out[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    return out;
}

// The text of a binding in its own wire type's form.
QString ownText(const netsnmp_variable_list* vb) {
    switch (vb->type) {
    case ASN_INTEGER:
        return QString::number(static_cast<qint32>(*vb->val.integer));
    case ASN_OBJECT_ID:
        return dottedOid(vb->val.objid, vb->val_len / sizeof(oid));
    case ASN_IPADDRESS:
        return vb->val_len == 4 ? dottedOctets(octetsOf(vb)) : OvHexText(octetsOf(vb));
    case ASN_COUNTER:
    case ASN_GAUGE:
    case ASN_UINTEGER:
        return QString::number(static_cast<quint32>(*vb->val.integer & 0xFFFFFFFFul));
    case ASN_TIMETICKS:
        return OvTicksText(static_cast<quint32>(*vb->val.integer & 0xFFFFFFFFul));
    case ASN_COUNTER64:
        return QString::number(counter64Of(vb));
    default: // octet strings, opaque, bit strings and anything else the agent invents
        return OvHexText(octetsOf(vb));
    }
}

// No value: a NULL or an exception.
bool isAbsent(const netsnmp_variable_list* vb) {
    return vb->type == ASN_NULL || OvIsException(vb);
}

bool isOctetType(u_char type) {
    return type == ASN_OCTET_STR || type == ASN_OPAQUE || type == ASN_BIT_STR;
}

bool isUnsignedType(u_char type) {
    return type == ASN_COUNTER || type == ASN_GAUGE || type == ASN_UINTEGER;
}

std::vector<oid> toOids(const std::vector<quint32>& ids) {
    return std::vector<oid>(ids.begin(), ids.end());
}

// Reads the dotted sub-identifiers of a row index; anything unreadable ends the list.
std::vector<quint32> indexIds(const QString& suffix) {
    std::vector<quint32> ids;
    if (!OvParseOid(suffix, ids))
        ids.clear();
    return ids;
}

QString joinIds(const std::vector<quint32>& ids, size_t from) {
    QStringList parts;
    for (size_t i = from; i < ids.size(); ++i)
        parts << QString::number(ids[i]);
    return parts.join(QLatin1Char('.'));
}

QByteArray octetsOfText(int syntax, const QString& text) {
    QByteArray octets;
    if (syntax == OvSyntax::displaystr)
        return text.toUtf8();
    if (!OvParseHex(text, octets))
        badValue();
    return octets;
}

} // namespace

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

bool OvParseOid(const QString& text, std::vector<quint32>& subIds) {
    subIds.clear();
    QString t = text.trimmed();
    if (t.startsWith(QLatin1Char('.')))
        t.remove(0, 1);
    if (t.isEmpty())
        return false;
    const QStringList parts = t.split(QLatin1Char('.'));
    if (parts.size() > MAX_OID_LEN)
        return false;
    for (const QString& p : parts) {
        quint64 v = 0;
        if (!OvParseUInt64(p, v) || v > 0xFFFFFFFFull || p != p.trimmed())
            return false;
        subIds.push_back(static_cast<quint32>(v));
    }
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

bool OvIsException(const variable_list* vb) {
    return vb->type == SNMP_NOSUCHOBJECT || vb->type == SNMP_NOSUCHINSTANCE || vb->type == SNMP_ENDOFMIBVIEW;
}

bool OvWireTypeFits(int syntax, const variable_list* vbIn) {
    using namespace OvSyntax;
    const auto* vb = reinterpret_cast<const netsnmp_variable_list*>(vbIn);
    if (!vb || isAbsent(vb))
        return false;
    const u_char type = vb->type;
    switch (syntax) {
    case boolean:
    case integer:
        return type == ASN_INTEGER;
    case bitstr:
    case octetstr:
    case opaque:
    case macaddress:
    case displaystr:
        return isOctetType(type);
    case objectid:
        return type == ASN_OBJECT_ID;
    case ipaddress:
    case nsapaddr:
        return type == ASN_IPADDRESS;
    case counter:
    case guage:
    case uinteger:
        return isUnsignedType(type);
    case timeticks:
        return type == ASN_TIMETICKS;
    case OvSyntax::counter64:
        return type == ASN_COUNTER64;
    case double_:
    case datetime:
    case bcdatetime:
        // Carried in an OCTET STRING of at least eight octets (none: no value).
        return isOctetType(type) && (vb->val_len == 0 || vb->val_len >= 8);
    default:
        return true; // partial syntaxes never travel on their own
    }
}

QString OvReceivedText(int syntax, const variable_list* vbIn) {
    using namespace OvSyntax;
    const auto* vb = reinterpret_cast<const netsnmp_variable_list*>(vbIn);
    if (!isKnownSyntax(syntax))
        badSyntax();
    if (!vb || isAbsent(vb) || syntax == null)
        return QStringLiteral("(NULL)");
    if (!OvWireTypeFits(syntax, vbIn))
        return ownText(vb);

    // A string of no octets prints empty: empty text where a string is meant.
    if (isOctetType(vb->type) && vb->val_len == 0) {
        if (syntax == displaystr || syntax == octetstr || syntax == bitstr || syntax == opaque)
            return QString();
        return QStringLiteral("(NULL)");
    }
    const QByteArray octets = isOctetType(vb->type) ? octetsOf(vb) : QByteArray();
    switch (syntax) {
    case boolean:
        return *vb->val.integer != 0 ? QStringLiteral("true") : QStringLiteral("false");
    case bitstr:
    case octetstr:
    case opaque:
    case macaddress:
        return OvHexText(octets);
    case double_:
        return OvFloatToStr(doubleOfOctets(octets));
    case datetime:
        return OvDateTime::fromOctets(octets.left(11)).toText();
    case bcdatetime:
        return OvDaysText(doubleOfOctets(octets));
    case displaystr:
        return OvDisplayText(octets);
    default:
        return ownText(vb);
    }
}

void OvAppendBinding(snmp_pdu* pduIn, const QString& oidText, int syntax, const QString& text) {
    using namespace OvSyntax;
    auto* pdu = reinterpret_cast<netsnmp_pdu*>(pduIn);
    if (!isKnownSyntax(syntax))
        badSyntax();
    std::vector<quint32> ids;
    if (!OvParseOid(oidText, ids))
        throw OvException(OvCode::InvalidObjectIdentifier);
    const std::vector<oid> name = toOids(ids);

    if (text == QLatin1String("(NULL)") || syntax == null) {
        // A write carries values only: an absent value is not sent as NULL.
        if (pdu->command == SNMP_MSG_SET)
            badValue();
        snmp_pdu_add_variable(pdu, name.data(), name.size(), ASN_NULL, nullptr, 0);
        return;
    }
    auto addInteger = [&](u_char type, long v) {
        snmp_pdu_add_variable(pdu, name.data(), name.size(), type, &v, sizeof v);
    };
    auto addOctets = [&](u_char type, const QByteArray& octets) {
        snmp_pdu_add_variable(pdu, name.data(), name.size(), type, octets.constData(),
                              static_cast<size_t>(octets.size()));
    };
    switch (syntax) {
    case boolean:
        addInteger(ASN_INTEGER, text == QLatin1String("true") ? 1 : 0);
        return;
    case integer:
        addInteger(ASN_INTEGER, static_cast<long>(rangedInteger(syntax, text)));
        return;
    case bitstr:
    case octetstr:
    case opaque:
    case displaystr:
        addOctets(ASN_OCTET_STR, octetsOfText(syntax, text));
        return;
    case macaddress: {
        const QByteArray mac = octetsOfText(syntax, text);
        if (mac.size() != 6)
            badValue();
        addOctets(ASN_OCTET_STR, mac);
        return;
    }
    case objectid: {
        std::vector<quint32> value;
        if (!OvParseOid(text, value))
            badValue();
        const std::vector<oid> v = toOids(value);
        snmp_pdu_add_variable(pdu, name.data(), name.size(), ASN_OBJECT_ID, v.data(), v.size() * sizeof(oid));
        return;
    }
    case ipaddress:
    case nsapaddr: {
        QByteArray address;
        if (!OvParseIPv4(text, address))
            badValue();
        addOctets(ASN_IPADDRESS, address);
        return;
    }
    case counter:
        addInteger(ASN_COUNTER, static_cast<long>(rangedInteger(syntax, text)));
        return;
    case guage:
        addInteger(ASN_GAUGE, static_cast<long>(rangedInteger(syntax, text)));
        return;
    case uinteger:
        addInteger(ASN_UINTEGER, static_cast<long>(rangedInteger(syntax, text)));
        return;
    case timeticks: {
        quint32 ticks = 0;
        if (!OvParseTicks(text, ticks))
            badValue();
        addInteger(ASN_TIMETICKS, static_cast<long>(ticks));
        return;
    }
    case OvSyntax::counter64: {
        const quint64 v = counter64Value(text);
        struct counter64 c;
        c.high = static_cast<u_long>(v >> 32);
        c.low = static_cast<u_long>(v & 0xFFFFFFFFu);
        snmp_pdu_add_variable(pdu, name.data(), name.size(), ASN_COUNTER64, &c, sizeof c);
        return;
    }
    case double_:
        addOctets(ASN_OCTET_STR, octetsOfDouble(OvAtof(text)));
        return;
    case datetime:
        if (!OvIsDateAndTimeText(text))
            badValue();
        addOctets(ASN_OCTET_STR, OvDateTime(text).toOctets());
        return;
    case bcdatetime: {
        double days = 0;
        if (!OvParseDaysText(text, days))
            badValue();
        addOctets(ASN_OCTET_STR, octetsOfDouble(days));
        return;
    }
    default:
        badSyntax();
    }
}

QString OvIndexOf(int syntax, const QString& value, bool impliedLast) {
    using namespace OvSyntax;
    if (!isKnownSyntax(syntax))
        badSyntax();
    auto lengthPrefixed = [impliedLast](const QString& dotted, int count) {
        if (impliedLast)
            return dotted;
        return dotted.isEmpty() ? QString::number(count) : QString::number(count) + QLatin1Char('.') + dotted;
    };
    switch (syntax) {
    case boolean:
        return value == QLatin1String("true") ? QStringLiteral("1") : QStringLiteral("0");
    case integer:
        return QString::number(static_cast<quint32>(static_cast<qint32>(rangedInteger(syntax, value))));
    case counter:
    case guage:
    case uinteger:
        return QString::number(static_cast<quint32>(rangedInteger(syntax, value)));
    case timeticks: {
        quint32 ticks = 0;
        if (!OvParseTicks(value, ticks))
            badValue();
        return QString::number(ticks);
    }
    case bitstr:
    case octetstr:
    case opaque:
    case displaystr: {
        const QByteArray octets = octetsOfText(syntax, value);
        return lengthPrefixed(dottedOctets(octets), octets.size());
    }
    case objectid: {
        std::vector<quint32> ids;
        if (!OvParseOid(value, ids))
            badValue();
        return lengthPrefixed(joinIds(ids, 0), static_cast<int>(ids.size()));
    }
    case ipaddress:
    case nsapaddr: {
        QByteArray address;
        if (!OvParseIPv4(value, address))
            badValue();
        return dottedOctets(address);
    }
    case null:
        return QString();
    case OvSyntax::counter64: {
        quint64 v = 0;
        if (!OvParseUInt64(value, v))
            badValue();
        return QStringLiteral("%1.%2").arg(v >> 32).arg(v & 0xFFFFFFFFu);
    }
    case double_: {
        const QByteArray o = octetsOfDouble(OvAtof(value));
        quint64 bits = 0;
        for (int i = 7; i >= 0; --i)
            bits = (bits << 8) | static_cast<unsigned char>(o[i]);
        return QStringLiteral("%1.%2").arg(bits & 0xFFFFFFFFu).arg(bits >> 32);
    }
    case bcdatetime: {
        double days = 0;
        if (!OvParseDaysText(value, days))
            badValue();
        quint64 bits;
        std::memcpy(&bits, &days, sizeof bits);
        return QStringLiteral("%1.%2").arg(bits & 0xFFFFFFFFu).arg(bits >> 32);
    }
    case macaddress: {
        const QByteArray mac = octetsOfText(syntax, value);
        if (mac.size() < 6)
            badValue();
        return dottedOctets(mac.left(6));
    }
    case datetime:
        if (!OvIsDateAndTimeText(value))
            badValue();
        return dottedOctets(OvDateTime(value).toOctets());
    default:
        badSyntax();
    }
}

QString OvValueFromIndex(int syntax, const QString& suffix, bool impliedLast, QString& value) {
    using namespace OvSyntax;
    if (!isKnownSyntax(syntax))
        badSyntax();
    const std::vector<quint32> ids = indexIds(suffix);
    auto take = [&ids](size_t i) -> quint32 {
        return i < ids.size() ? ids[i] : 0;
    };
    auto octetsFrom = [&ids](size_t from, size_t count) {
        QByteArray o;
        for (size_t i = from; i < from + count && i < ids.size(); ++i)
            o.append(static_cast<char>(ids[i] & 0xFF));
        return o;
    };
    size_t used = 1;
    switch (syntax) {
    case boolean:
        value = take(0) != 0 ? QStringLiteral("true") : QStringLiteral("false");
        break;
    case integer:
        value = QString::number(static_cast<qint32>(take(0)));
        break;
    case counter:
    case guage:
    case uinteger:
        value = QString::number(take(0));
        break;
    case timeticks:
        value = OvTicksText(take(0));
        break;
    case bitstr:
    case octetstr:
    case opaque:
    case displaystr: {
        const size_t count =
            impliedLast ? ids.size() : std::min<size_t>(take(0), ids.empty() ? 0 : ids.size() - 1);
        const size_t from = impliedLast ? 0 : 1;
        const QByteArray octets = octetsFrom(from, count);
        value = syntax == displaystr ? OvDisplayText(octets) : OvHexText(octets);
        used = from + count;
        break;
    }
    case objectid: {
        const size_t count =
            impliedLast ? ids.size() : std::min<size_t>(take(0), ids.empty() ? 0 : ids.size() - 1);
        const size_t from = impliedLast ? 0 : 1;
        std::vector<quint32> part(ids.begin() + static_cast<long>(std::min(from, ids.size())),
                                  ids.begin() + static_cast<long>(std::min(from + count, ids.size())));
        value = joinIds(part, 0);
        used = from + count;
        break;
    }
    case ipaddress:
    case nsapaddr:
        value = dottedOctets(octetsFrom(0, 4));
        used = 4;
        break;
    case null:
        value = QStringLiteral("(NULL)");
        used = 0;
        break;
    case OvSyntax::counter64:
        value = QString::number((static_cast<quint64>(take(0)) << 32) | take(1));
        used = 2;
        break;
    case double_:
    case bcdatetime: {
        const quint64 bits = (static_cast<quint64>(take(1)) << 32) | take(0);
        double d;
        std::memcpy(&d, &bits, sizeof d);
        value = syntax == double_ ? OvFloatToStr(d) : OvDaysText(d);
        used = 2;
        break;
    }
    case macaddress:
        value = OvHexText(octetsFrom(0, 6));
        used = 6;
        break;
    case datetime:
        value = OvDateTime::fromOctets(octetsFrom(0, 11)).toText();
        used = 11;
        break;
    default:
        badSyntax();
    }
    return joinIds(ids, std::min(used, ids.size()));
}
