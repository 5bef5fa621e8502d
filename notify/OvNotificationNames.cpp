#include "notify/OvNotificationNames.h"

#include "catalogue/OvCatalogue.h"
#include "errors/OvErrors.h"
#include "mib/OvMibViews.h"
#include "snmp/OvValueText.h"
#include "values/OvSyntaxText.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <QHash>
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

// Printable text (and blanks) reads as a string; anything else as hex octets.
bool isPrintable(const netsnmp_variable_list* vb) {
    for (size_t i = 0; i < vb->val_len; ++i) {
        const u_char c = vb->val.string[i];
        if (c < 0x20 && c != '\t' && c != '\r' && c != '\n')
            return false;
    }
    return true;
}

// The syntax an unknown object's value is shown in: its wire type's own.
int wireSyntax(const netsnmp_variable_list* vb) {
    switch (vb->type) {
    case ASN_OCTET_STR:
        return isPrintable(vb) ? OvSyntax::displaystr : OvSyntax::octetstr;
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
    try {
        b.Value = OvReceivedText(syntax, vbIn);
    } catch (const OvException&) {
        b.Value = OvHexText(
            QByteArray(reinterpret_cast<const char*>(vb->val.string), static_cast<int>(vb->val_len)));
    }
    return b;
}
