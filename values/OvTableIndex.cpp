#include "values/OvTableIndex.h"

#include "errors/OvErrors.h"
#include "values/OvDateTime.h"
#include "values/OvNumbers.h"
#include "values/OvSyntax.h"
#include "values/OvSyntaxText.h"
#include "values/OvWireValue.h"

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

// Reads the dotted sub-identifiers of a row index; anything unreadable ends the list.
std::vector<quint32> indexIds(const QString& suffix) {
    std::vector<quint32> ids;
    if (!OvParseOid(suffix, ids))
        ids.clear();
    return ids;
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

QString OvIndexOf(int syntax, const QString& value, bool impliedLast) {
    using namespace OvSyntax;
    if (!OvIsWireSyntax(syntax))
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
        return lengthPrefixed(OvDottedOctets(octets), octets.size());
    }
    case objectid: {
        std::vector<quint32> ids;
        if (!OvParseOid(value, ids))
            badValue();
        return lengthPrefixed(OvDottedIds(ids, 0), static_cast<int>(ids.size()));
    }
    case ipaddress:
    case nsapaddr: {
        QByteArray address;
        if (!OvParseIPv4(value, address))
            badValue();
        return OvDottedOctets(address);
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
        const QByteArray o = OvOctetsOfDouble(OvAtof(value));
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
        return OvDottedOctets(mac.left(6));
    }
    case datetime:
        if (!OvIsDateAndTimeText(value))
            badValue();
        return OvDottedOctets(OvDateTime(value).toOctets());
    default:
        badSyntax();
    }
}

QString OvValueFromIndex(int syntax, const QString& suffix, bool impliedLast, QString& value) {
    using namespace OvSyntax;
    if (!OvIsWireSyntax(syntax))
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
        value = OvDottedIds(part, 0);
        used = from + count;
        break;
    }
    case ipaddress:
    case nsapaddr:
        value = OvDottedOctets(octetsFrom(0, 4));
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
    return OvDottedIds(ids, std::min(used, ids.size()));
}
