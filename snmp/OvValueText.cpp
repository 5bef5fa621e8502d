#include "snmp/OvValueText.h"

#include "errors/OvErrors.h"
#include "snmp/OvSNMPVar.h"
#include "values/OvDateTime.h"
#include "values/OvNumbers.h"
#include "values/OvWireValue.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <QDateTime>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringList>
#include <cmath>
#include <cstring>

// The text forms are bounded by what the library takes.
static_assert(OvMaxOidLength == MAX_OID_LEN);

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

QByteArray octetsOf(const netsnmp_variable_list* vb) {
    return QByteArray(reinterpret_cast<const char*>(vb->val.string), static_cast<int>(vb->val_len));
}

QString dottedOid(const oid* ids, size_t count) {
    QStringList parts;
    for (size_t i = 0; i < count; ++i)
        parts << QString::number(ids[i]);
    return parts.join(QLatin1Char('.'));
}

quint64 counter64Of(const netsnmp_variable_list* vb) {
    return (static_cast<quint64>(vb->val.counter64->high & 0xFFFFFFFFul) << 32) |
           (vb->val.counter64->low & 0xFFFFFFFFul);
}

// The text of a binding in its own wire type's form.
QString ownText(const netsnmp_variable_list* vb) {
    switch (vb->type) {
    case ASN_INTEGER:
        return QString::number(static_cast<qint32>(*vb->val.integer));
    case ASN_OBJECT_ID:
        return dottedOid(vb->val.objid, vb->val_len / sizeof(oid));
    case ASN_IPADDRESS:
        return vb->val_len == 4 ? OvDottedOctets(octetsOf(vb)) : OvHexText(octetsOf(vb));
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

QByteArray octetsOfText(int syntax, const QString& text) {
    QByteArray octets;
    if (syntax == OvSyntax::displaystr)
        return text.toUtf8();
    if (!OvParseHex(text, octets))
        badValue();
    return octets;
}

} // namespace

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
    if (!OvIsWireSyntax(syntax))
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
        return OvFloatToStr(OvDoubleOfOctets(octets));
    case datetime:
        return OvDateTime::fromOctets(octets.left(11)).toText();
    case bcdatetime:
        return OvDaysText(OvDoubleOfOctets(octets));
    case displaystr:
        return OvDisplayText(octets);
    default:
        return ownText(vb);
    }
}

void OvAppendBinding(snmp_pdu* pduIn, const QString& oidText, int syntax, const QString& text) {
    using namespace OvSyntax;
    auto* pdu = reinterpret_cast<netsnmp_pdu*>(pduIn);
    if (!OvIsWireSyntax(syntax))
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
        addOctets(ASN_OCTET_STR, OvOctetsOfDouble(OvAtof(text)));
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
        addOctets(ASN_OCTET_STR, OvOctetsOfDouble(days));
        return;
    }
    default:
        badSyntax();
    }
}
