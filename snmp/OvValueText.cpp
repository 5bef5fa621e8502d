#include "snmp/OvValueText.h"

#include "errors/OvErrors.h"
#include "values/OvSyntax.h"
#include "values/OvSyntaxText.h"
#include "values/OvWireValue.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

// The values layer names wire types by their SMI tags, the library's ASN types.
static_assert(ASN_INTEGER == OvSyntax::integer && ASN_BIT_STR == OvSyntax::bitstr &&
              ASN_OCTET_STR == OvSyntax::octetstr && ASN_NULL == OvSyntax::null &&
              ASN_OBJECT_ID == OvSyntax::objectid && ASN_IPADDRESS == OvSyntax::ipaddress &&
              ASN_COUNTER == OvSyntax::counter && ASN_GAUGE == OvSyntax::guage &&
              ASN_TIMETICKS == OvSyntax::timeticks && ASN_OPAQUE == OvSyntax::opaque &&
              ASN_NSAP == OvSyntax::nsapaddr && ASN_COUNTER64 == OvSyntax::counter64 &&
              ASN_UINTEGER == OvSyntax::uinteger);
// The text forms are bounded by what the library takes.
static_assert(OvMaxOidLength == MAX_OID_LEN);

namespace {

// No value: a NULL or an exception.
bool isAbsent(const netsnmp_variable_list* vb) {
    return vb->type == ASN_NULL || OvIsException(vb);
}

// What a present binding carries, apart from the library.
OvWireValue wireValueOf(const netsnmp_variable_list* vb) {
    OvWireValue v;
    v.Tag = vb->type;
    switch (vb->type) {
    case ASN_INTEGER:
    case ASN_COUNTER:
    case ASN_GAUGE:
    case ASN_UINTEGER:
    case ASN_TIMETICKS:
        v.Number = *vb->val.integer;
        break;
    case ASN_COUNTER64:
        v.Counter64 = (static_cast<quint64>(vb->val.counter64->high & 0xFFFFFFFFul) << 32) |
                      (vb->val.counter64->low & 0xFFFFFFFFul);
        break;
    case ASN_OBJECT_ID:
        v.Ids.assign(vb->val.objid, vb->val.objid + vb->val_len / sizeof(oid));
        break;
    default: // octet strings, opaque, bit strings, addresses and anything else the agent invents
        v.Octets = QByteArray(reinterpret_cast<const char*>(vb->val.string), static_cast<int>(vb->val_len));
        break;
    }
    return v;
}

std::vector<oid> toOids(const std::vector<quint32>& ids) {
    return std::vector<oid>(ids.begin(), ids.end());
}

} // namespace

bool OvIsException(const variable_list* vb) {
    return vb->type == SNMP_NOSUCHOBJECT || vb->type == SNMP_NOSUCHINSTANCE || vb->type == SNMP_ENDOFMIBVIEW;
}

bool OvWireTypeFits(int syntax, const variable_list* vbIn) {
    const auto* vb = reinterpret_cast<const netsnmp_variable_list*>(vbIn);
    return vb && !isAbsent(vb) && OvTagCarries(syntax, vb->type, static_cast<int>(vb->val_len));
}

QString OvWireTypeName(int type) {
    switch (type) {
    case ASN_INTEGER:
        return QStringLiteral("INTEGER");
    case ASN_OCTET_STR:
        return QStringLiteral("OCTET STRING");
    case ASN_BIT_STR:
        return QStringLiteral("BITS");
    case ASN_NULL:
        return QStringLiteral("NULL");
    case ASN_OBJECT_ID:
        return QStringLiteral("OBJECT IDENTIFIER");
    case ASN_IPADDRESS:
        return QStringLiteral("IpAddress");
    case ASN_COUNTER:
        return QStringLiteral("Counter32");
    case ASN_GAUGE:
        return QStringLiteral("Gauge32");
    case ASN_TIMETICKS:
        return QStringLiteral("TimeTicks");
    case ASN_OPAQUE:
        return QStringLiteral("Opaque");
    case ASN_COUNTER64:
        return QStringLiteral("Counter64");
    case ASN_OPAQUE_FLOAT:
        return QStringLiteral("Opaque: Float");
    case ASN_OPAQUE_DOUBLE:
        return QStringLiteral("Opaque: Double");
    case ASN_OPAQUE_I64:
        return QStringLiteral("Opaque: Int64");
    case ASN_OPAQUE_U64:
        return QStringLiteral("Opaque: UInt64");
    case SNMP_NOSUCHOBJECT:
        return QStringLiteral("noSuchObject");
    case SNMP_NOSUCHINSTANCE:
        return QStringLiteral("noSuchInstance");
    case SNMP_ENDOFMIBVIEW:
        return QStringLiteral("endOfMibView");
    default:
        return QStringLiteral("0x") + QString::number(type, 16);
    }
}

QString OvWireTypeMismatch(int syntax, const variable_list* vbIn) {
    const auto* vb = reinterpret_cast<const netsnmp_variable_list*>(vbIn);
    return QStringLiteral("answered %1, expected %2")
        .arg(OvWireTypeName(vb->type), OvWireTypeName(OvWireTagOf(syntax)));
}

QString OvReceivedText(int syntax, const variable_list* vbIn) {
    const auto* vb = reinterpret_cast<const netsnmp_variable_list*>(vbIn);
    if (!OvIsWireSyntax(syntax))
        throw OvException(OvCode::BadSyntax);
    if (!vb || isAbsent(vb) || syntax == OvSyntax::null)
        return QStringLiteral("(NULL)");
    return OvReceivedValueText(syntax, wireValueOf(vb));
}

void OvAppendBinding(snmp_pdu* pduIn, const QString& oidText, int syntax, const QString& text) {
    auto* pdu = reinterpret_cast<netsnmp_pdu*>(pduIn);
    if (!OvIsWireSyntax(syntax))
        throw OvException(OvCode::BadSyntax);
    std::vector<quint32> ids;
    if (!OvParseOid(oidText, ids))
        throw OvException(OvCode::InvalidObjectIdentifier);
    const std::vector<oid> name = toOids(ids);
    const OvWireValue v = OvWireValueOf(syntax, text);
    const auto type = static_cast<u_char>(v.Tag);
    switch (type) {
    case ASN_NULL:
        // A write carries values only: an absent value is not sent as NULL.
        if (pdu->command == SNMP_MSG_SET)
            throw OvException(OvCode::BadPartialValue);
        snmp_pdu_add_variable(pdu, name.data(), name.size(), ASN_NULL, nullptr, 0);
        return;
    case ASN_OCTET_STR:
    case ASN_IPADDRESS:
        snmp_pdu_add_variable(pdu, name.data(), name.size(), type, v.Octets.constData(),
                              static_cast<size_t>(v.Octets.size()));
        return;
    case ASN_OBJECT_ID: {
        const std::vector<oid> value = toOids(v.Ids);
        snmp_pdu_add_variable(pdu, name.data(), name.size(), type, value.data(), value.size() * sizeof(oid));
        return;
    }
    case ASN_COUNTER64: {
        struct counter64 c;
        c.high = static_cast<u_long>(v.Counter64 >> 32);
        c.low = static_cast<u_long>(v.Counter64 & 0xFFFFFFFFu);
        snmp_pdu_add_variable(pdu, name.data(), name.size(), type, &c, sizeof c);
        return;
    }
    default: { // INTEGER, Counter32, Gauge32, Unsigned32, TimeTicks
        const long n = static_cast<long>(v.Number);
        snmp_pdu_add_variable(pdu, name.data(), name.size(), type, &n, sizeof n);
        return;
    }
    }
}
