#include "notify/OvNotificationNames.h"

#include "catalogue/OvCatalogue.h"
#include "errors/OvErrors.h"
#include "mib/OvMibViews.h"
#include "snmp/OvValueText.h"
#include "values/OvSyntaxText.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <QHash>
#include <cstdio>
#include <map>

namespace {

struct KnownObject {
    QString Name;
    int Syntax;
};

// Objects that travel in notifications and are in no window's table.
const TSNMPVarInfo kNotificationObjects[] = {
    OvVarRow("1.3.6.1.6.3.1.1.4.1", "snmpTrapOID", OvSyntax::objectid),
    OvVarRow("1.3.6.1.6.3.1.1.4.3", "snmpTrapEnterprise", OvSyntax::objectid),
    OvVarRow("1.3.6.1.6.3.18.1.3", "snmpTrapAddress", OvSyntax::ipaddress),
    OvVarRow("1.3.6.1.6.3.18.1.4", "snmpTrapCommunity", OvSyntax::octetstr),
    // dot11NotificationEntry of the IEEE 802.11 MIB, by ifIndex.
    OvVarRow("1.2.840.10036.1.5.1.1", "dot11DisassociateReason", OvSyntax::integer),
    OvVarRow("1.2.840.10036.1.5.1.2", "dot11DisassociateStation", OvSyntax::macaddress),
    OvVarRow("1.2.840.10036.1.5.1.3", "dot11DeauthenticateReason", OvSyntax::integer),
    OvVarRow("1.2.840.10036.1.5.1.4", "dot11DeauthenticateStation", OvSyntax::macaddress),
    OvVarRow("1.2.840.10036.1.5.1.5", "dot11AuthenticateFailStatus", OvSyntax::integer),
    OvVarRow("1.2.840.10036.1.5.1.6", "dot11AuthenticateFailStation", OvSyntax::macaddress), OvEndRow};

const std::map<QString, QString>& notificationNames() {
    static const std::map<QString, QString> names = {
        {QStringLiteral("1.3.6.1.6.3.1.1.5.1"), QStringLiteral("coldStart")},
        {QStringLiteral("1.3.6.1.6.3.1.1.5.2"), QStringLiteral("warmStart")},
        {QStringLiteral("1.3.6.1.6.3.1.1.5.3"), QStringLiteral("linkDown")},
        {QStringLiteral("1.3.6.1.6.3.1.1.5.4"), QStringLiteral("linkUp")},
        {QStringLiteral("1.3.6.1.6.3.1.1.5.5"), QStringLiteral("authenticationFailure")},
        {QStringLiteral("1.2.840.10036.1.6.0.1"), QStringLiteral("dot11Disassociate")},
        {QStringLiteral("1.2.840.10036.1.6.0.2"), QStringLiteral("dot11Deauthenticate")},
        {QStringLiteral("1.2.840.10036.1.6.0.3"), QStringLiteral("dot11AuthenticateFail")},
    };
    return names;
}

// Every object the module knows by name: the windows' tables, the MIB-II views, and the
// notification objects; the first table that names an OID wins.
const QHash<QString, KnownObject>& knownObjects() {
    static const QHash<QString, KnownObject> objects = [] {
        QHash<QString, KnownObject> all;
        auto add = [&all](const TSNMPVarInfo* table) {
            for (const TSNMPVarInfo* row : OvRowsOf(table))
                if (!all.contains(QLatin1String(row->Oid)))
                    all.insert(QLatin1String(row->Oid), KnownObject{QLatin1String(row->Name), row->Syntax});
        };
        add(kNotificationObjects);
        add(MibSystemTable);
        for (int i = 0; i < MibViewCount; ++i)
            for (const OvMibTableSource& source : OvMibViewAt(i).Sources)
                add(source.Columns);
        for (int i = 0; i < ConfigGroupCount; ++i)
            add(ConfigGroups[i].Table);
        add(CountersTable);
        return all;
    }();
    return objects;
}

QByteArray octetsOf(const netsnmp_variable_list* vb) {
    return QByteArray(reinterpret_cast<const char*>(vb->val.string), static_cast<int>(vb->val_len));
}

// Text a person can read as itself; anything else (control or bidirectional characters,
// no UTF-8) as hex octets, as the viewer shows them.
bool isPlainText(const netsnmp_variable_list* vb) {
    QString text;
    return OvPlainText(octetsOf(vb), text);
}

// The values net-snmp carries inside an Opaque: float, double and 64-bit integers.
bool opaqueSpecial(const netsnmp_variable_list* vb, OvNotifiedBinding& b) {
    char text[64];
    switch (vb->type) {
    case ASN_OPAQUE_FLOAT:
        if (vb->val_len < sizeof(float))
            return false;
        std::snprintf(text, sizeof text, "%f", static_cast<double>(*vb->val.floatVal));
        break;
    case ASN_OPAQUE_DOUBLE:
        if (vb->val_len < sizeof(double))
            return false;
        std::snprintf(text, sizeof text, "%f", *vb->val.doubleVal);
        break;
    case ASN_OPAQUE_I64:
    case ASN_OPAQUE_U64: {
        if (vb->val_len < sizeof(struct counter64))
            return false;
        const quint64 v = (static_cast<quint64>(vb->val.counter64->high & 0xFFFFFFFFul) << 32) |
                          (vb->val.counter64->low & 0xFFFFFFFFul);
        if (vb->type == ASN_OPAQUE_I64)
            std::snprintf(text, sizeof text, "%lld", static_cast<long long>(v));
        else
            std::snprintf(text, sizeof text, "%llu", static_cast<unsigned long long>(v));
        break;
    }
    default:
        return false;
    }
    b.Value = QString::fromLatin1(text);
    return true;
}

// The syntax an unknown object's value is shown in: its wire type's own.
int wireSyntax(const netsnmp_variable_list* vb) {
    switch (vb->type) {
    case ASN_OCTET_STR:
        return isPlainText(vb) ? OvSyntax::displaystr : OvSyntax::octetstr;
    case ASN_INTEGER:
    case ASN_OBJECT_ID:
    case ASN_IPADDRESS:
    case ASN_COUNTER:
    case ASN_GAUGE:
    case ASN_TIMETICKS:
    case ASN_OPAQUE:
    case ASN_COUNTER64:
    case ASN_BIT_STR:
        return vb->type;
    default:
        return OvSyntax::null;
    }
}

} // namespace

QString OvNotificationName(const QString& notificationOid) {
    const auto it = notificationNames().find(notificationOid);
    return it == notificationNames().end() ? notificationOid : it->second;
}

QString OvTrapOidOfV1(const QString& enterprise, long genericTrap, long specificTrap) {
    if (genericTrap >= 0 && genericTrap < 6)
        return QStringLiteral("1.3.6.1.6.3.1.1.5.") + QString::number(genericTrap + 1);
    return enterprise + QStringLiteral(".0.") + QString::number(specificTrap);
}

OvNotifiedBinding OvNameBinding(const variable_list* vbIn) {
    const auto* vb = reinterpret_cast<const netsnmp_variable_list*>(vbIn);
    OvNotifiedBinding b;
    b.Oid = OvDottedIds(vb->name, vb->name_length);
    b.Name = b.Oid;
    b.Type = OvWireTypeName(vb->type);
    int syntax = wireSyntax(vb);
    // The longest known prefix names the object; what follows is its instance.
    for (qsizetype end = b.Oid.size(); end > 0; end = b.Oid.lastIndexOf(QLatin1Char('.'), end - 1)) {
        const auto it = knownObjects().find(b.Oid.left(end));
        if (it == knownObjects().end())
            continue;
        b.Name = it->Name + b.Oid.mid(end);
        if (OvWireTypeFits(it->Syntax, vbIn))
            syntax = it->Syntax;
        break;
    }
    if (opaqueSpecial(vb, b))
        return b;
    if (syntax == OvSyntax::displaystr && !isPlainText(vb))
        syntax = OvSyntax::octetstr;
    try {
        b.Value = OvReceivedText(syntax, vbIn);
        b.Hex = syntax == OvSyntax::octetstr || syntax == OvSyntax::macaddress ||
                syntax == OvSyntax::bitstr || syntax == OvSyntax::opaque;
    } catch (const OvException&) {
        b.Value = OvHexText(octetsOf(vb));
        b.Hex = true;
    }
    return b;
}
