#include "mib/OvMibViews.h"

#include <QHostAddress>
#include <QtEndian>

#include "values/OvSyntaxText.h"

namespace {
using namespace OvSyntax;
using namespace OvAccess;

// A column or object of a view: read-only unless said.
constexpr TSNMPVarInfo col(const char* oid, const char* name, int syntax,
                           const OvOptionList* options = nullptr, int access = readonly) {
    return OvVarRow(oid, name, syntax, access, options);
}
constexpr TSNMPVarInfo kEnd = OvEndRow;

// ---- labels -------------------------------------------------------------------------------

const OvIntOption kAdminStatusSource[] = {{1, "up"}, {2, "down"}, {3, "testing"}, {0, nullptr}};
const OvIntOption kOperStatusSource[] = {
    {1, "up"},      {2, "down"},       {3, "testing"},        {4, "unknown"},
    {5, "dormant"}, {6, "notPresent"}, {7, "lowerLayerDown"}, {0, nullptr}};
const OvIntOption kForwardingSource[] = {{1, "forwarding"}, {2, "notForwarding"}, {0, nullptr}};
const OvIntOption kRouteTypeSource[] = {
    {1, "other"}, {2, "invalid"}, {3, "direct"}, {4, "indirect"}, {0, nullptr}};
const OvIntOption kCidrTypeSource[] = {
    {1, "other"}, {2, "reject"}, {3, "local"}, {4, "remote"}, {0, nullptr}};
const OvIntOption kInetTypeSource[] = {{1, "other"},  {2, "reject"},    {3, "local"},
                                       {4, "remote"}, {5, "blackhole"}, {0, nullptr}};
const OvIntOption kProtoSource[] = {
    {1, "other"}, {2, "local"}, {3, "netmgmt"}, {4, "icmp"},        {5, "egp"},        {6, "ggp"},
    {7, "hello"}, {8, "rip"},   {9, "isIs"},    {10, "esIs"},       {11, "ciscoIgrp"}, {12, "bbnSpfIgp"},
    {13, "ospf"}, {14, "bgp"},  {15, "idpr"},   {16, "ciscoEigrp"}, {17, "dvmrp"},     {0, nullptr}};
const OvIntOption kEnabledSource[] = {{1, "enabled"}, {2, "disabled"}, {0, nullptr}};

const OvIntOption kNetToPhysicalTypeSource[] = {{1, "other"},  {2, "invalid"}, {3, "dynamic"},
                                                {4, "static"}, {5, "local"},   {0, nullptr}};
const OvIntOption kNetToPhysicalStateSource[] = {{1, "reachable"},  {2, "stale"},   {3, "delay"},
                                                 {4, "probe"},      {5, "invalid"}, {6, "unknown"},
                                                 {7, "incomplete"}, {0, nullptr}};
const OvIntOption kNetToMediaTypeSource[] = {
    {1, "other"}, {2, "invalid"}, {3, "dynamic"}, {4, "static"}, {0, nullptr}};
const OvIntOption kTcpStateSource[] = {
    {1, "closed"},    {2, "listen"},     {3, "synSent"},   {4, "synReceived"}, {5, "established"},
    {6, "finWait1"},  {7, "finWait2"},   {8, "closeWait"}, {9, "lastAck"},     {10, "closing"},
    {11, "timeWait"}, {12, "deleteTCB"}, {0, nullptr}};

const OvOptionList kNetToPhysicalType(kNetToPhysicalTypeSource);
const OvOptionList kNetToPhysicalState(kNetToPhysicalStateSource);
const OvOptionList kNetToMediaType(kNetToMediaTypeSource);
const OvOptionList kTcpState(kTcpStateSource);
const OvOptionList kIfType(MibIfTypes);
const OvOptionList kAdminStatus(kAdminStatusSource);
const OvOptionList kOperStatus(kOperStatusSource);
const OvOptionList kForwarding(kForwardingSource);
const OvOptionList kRouteType(kRouteTypeSource);
const OvOptionList kCidrType(kCidrTypeSource);
const OvOptionList kInetType(kInetTypeSource);
const OvOptionList kProto(kProtoSource);
const OvOptionList kEnabled(kEnabledSource);

// ---- tables -------------------------------------------------------------------------------

const TSNMPVarInfo kIfTable[] = {col("1.3.6.1.2.1.2.2.1.1", "ifIndex", integer),
                                 col("1.3.6.1.2.1.2.2.1.2", "ifDescr", displaystr),
                                 col("1.3.6.1.2.1.2.2.1.3", "ifType", integer, &kIfType),
                                 col("1.3.6.1.2.1.2.2.1.4", "ifMtu", integer),
                                 col("1.3.6.1.2.1.2.2.1.5", "ifSpeed", guage),
                                 col("1.3.6.1.2.1.31.1.1.1.15", "ifHighSpeed", guage),
                                 col("1.3.6.1.2.1.2.2.1.6", "ifPhysAddress", octetstr),
                                 col("1.3.6.1.2.1.2.2.1.7", "ifAdminStatus", integer, &kAdminStatus),
                                 col("1.3.6.1.2.1.2.2.1.8", "ifOperStatus", integer, &kOperStatus),
                                 col("1.3.6.1.2.1.2.2.1.9", "ifLastChange", timeticks),
                                 col("1.3.6.1.2.1.31.1.1.1.1", "ifName", displaystr),
                                 col("1.3.6.1.2.1.31.1.1.1.18", "ifAlias", displaystr),
                                 kEnd};

const TSNMPVarInfo kIpAddrTable[] = {col("1.3.6.1.2.1.4.20.1.1", "ipAdEntAddr", ipaddress),
                                     col("1.3.6.1.2.1.4.20.1.2", "ipAdEntIfIndex", integer),
                                     col("1.3.6.1.2.1.4.20.1.3", "ipAdEntNetMask", ipaddress),
                                     col("1.3.6.1.2.1.4.20.1.4", "ipAdEntBcastAddr", integer), kEnd};

const TSNMPVarInfo kInetCidrRouteTable[] = {
    col("1.3.6.1.2.1.4.24.7.1.7", "inetCidrRouteIfIndex", integer),
    col("1.3.6.1.2.1.4.24.7.1.8", "inetCidrRouteType", integer, &kInetType),
    col("1.3.6.1.2.1.4.24.7.1.9", "inetCidrRouteProto", integer, &kProto),
    col("1.3.6.1.2.1.4.24.7.1.10", "inetCidrRouteAge", guage),
    col("1.3.6.1.2.1.4.24.7.1.12", "inetCidrRouteMetric1", integer),
    kEnd};

const TSNMPVarInfo kIpCidrRouteTable[] = {
    col("1.3.6.1.2.1.4.24.4.1.1", "ipCidrRouteDest", ipaddress),
    col("1.3.6.1.2.1.4.24.4.1.2", "ipCidrRouteMask", ipaddress),
    col("1.3.6.1.2.1.4.24.4.1.4", "ipCidrRouteNextHop", ipaddress),
    col("1.3.6.1.2.1.4.24.4.1.5", "ipCidrRouteIfIndex", integer),
    col("1.3.6.1.2.1.4.24.4.1.6", "ipCidrRouteType", integer, &kCidrType),
    col("1.3.6.1.2.1.4.24.4.1.7", "ipCidrRouteProto", integer, &kProto),
    col("1.3.6.1.2.1.4.24.4.1.8", "ipCidrRouteAge", integer),
    col("1.3.6.1.2.1.4.24.4.1.11", "ipCidrRouteMetric1", integer),
    kEnd};

const TSNMPVarInfo kIpRouteTable[] = {col("1.3.6.1.2.1.4.21.1.1", "ipRouteDest", ipaddress),
                                      col("1.3.6.1.2.1.4.21.1.11", "ipRouteMask", ipaddress),
                                      col("1.3.6.1.2.1.4.21.1.7", "ipRouteNextHop", ipaddress),
                                      col("1.3.6.1.2.1.4.21.1.2", "ipRouteIfIndex", integer),
                                      col("1.3.6.1.2.1.4.21.1.8", "ipRouteType", integer, &kRouteType),
                                      col("1.3.6.1.2.1.4.21.1.9", "ipRouteProto", integer, &kProto),
                                      col("1.3.6.1.2.1.4.21.1.10", "ipRouteAge", integer),
                                      col("1.3.6.1.2.1.4.21.1.3", "ipRouteMetric1", integer),
                                      kEnd};

const TSNMPVarInfo kIpNetToPhysicalTable[] = {
    col("1.3.6.1.2.1.4.35.1.4", "ipNetToPhysicalPhysAddress", octetstr),
    col("1.3.6.1.2.1.4.35.1.6", "ipNetToPhysicalType", integer, &kNetToPhysicalType),
    col("1.3.6.1.2.1.4.35.1.7", "ipNetToPhysicalState", integer, &kNetToPhysicalState), kEnd};

const TSNMPVarInfo kIpNetToMediaTable[] = {
    col("1.3.6.1.2.1.4.22.1.1", "ipNetToMediaIfIndex", integer),
    col("1.3.6.1.2.1.4.22.1.2", "ipNetToMediaPhysAddress", octetstr),
    col("1.3.6.1.2.1.4.22.1.3", "ipNetToMediaNetAddress", ipaddress),
    col("1.3.6.1.2.1.4.22.1.4", "ipNetToMediaType", integer, &kNetToMediaType), kEnd};

const TSNMPVarInfo kTcpConnectionTable[] = {
    col("1.3.6.1.2.1.6.19.1.7", "tcpConnectionState", integer, &kTcpState),
    col("1.3.6.1.2.1.6.19.1.8", "tcpConnectionProcess", guage), kEnd};

const TSNMPVarInfo kTcpConnTable[] = {col("1.3.6.1.2.1.6.13.1.1", "tcpConnState", integer, &kTcpState),
                                      col("1.3.6.1.2.1.6.13.1.2", "tcpConnLocalAddress", ipaddress),
                                      col("1.3.6.1.2.1.6.13.1.3", "tcpConnLocalPort", integer),
                                      col("1.3.6.1.2.1.6.13.1.4", "tcpConnRemAddress", ipaddress),
                                      col("1.3.6.1.2.1.6.13.1.5", "tcpConnRemPort", integer),
                                      kEnd};

// ---- scalar groups ------------------------------------------------------------------------

const TSNMPVarInfo kIpGroup[] = {col("1.3.6.1.2.1.4.1", "ipForwarding", integer, &kForwarding),
                                 col("1.3.6.1.2.1.4.2", "ipDefaultTTL", integer),
                                 col("1.3.6.1.2.1.4.3", "ipInReceives", counter),
                                 col("1.3.6.1.2.1.4.4", "ipInHdrErrors", counter),
                                 col("1.3.6.1.2.1.4.5", "ipInAddrErrors", counter),
                                 col("1.3.6.1.2.1.4.6", "ipForwDatagrams", counter),
                                 col("1.3.6.1.2.1.4.7", "ipInUnknownProtos", counter),
                                 col("1.3.6.1.2.1.4.8", "ipInDiscards", counter),
                                 col("1.3.6.1.2.1.4.9", "ipInDelivers", counter),
                                 col("1.3.6.1.2.1.4.10", "ipOutRequests", counter),
                                 col("1.3.6.1.2.1.4.11", "ipOutDiscards", counter),
                                 col("1.3.6.1.2.1.4.12", "ipOutNoRoutes", counter),
                                 col("1.3.6.1.2.1.4.13", "ipReasmTimeout", integer),
                                 col("1.3.6.1.2.1.4.14", "ipReasmReqds", counter),
                                 col("1.3.6.1.2.1.4.15", "ipReasmOKs", counter),
                                 col("1.3.6.1.2.1.4.16", "ipReasmFails", counter),
                                 col("1.3.6.1.2.1.4.17", "ipFragOKs", counter),
                                 col("1.3.6.1.2.1.4.18", "ipFragFails", counter),
                                 col("1.3.6.1.2.1.4.19", "ipFragCreates", counter),
                                 col("1.3.6.1.2.1.4.23", "ipRoutingDiscards", counter),
                                 kEnd};

const TSNMPVarInfo kIcmpGroup[] = {col("1.3.6.1.2.1.5.1", "icmpInMsgs", counter),
                                   col("1.3.6.1.2.1.5.2", "icmpInErrors", counter),
                                   col("1.3.6.1.2.1.5.3", "icmpInDestUnreachs", counter),
                                   col("1.3.6.1.2.1.5.4", "icmpInTimeExcds", counter),
                                   col("1.3.6.1.2.1.5.5", "icmpInParmProbs", counter),
                                   col("1.3.6.1.2.1.5.6", "icmpInSrcQuenchs", counter),
                                   col("1.3.6.1.2.1.5.7", "icmpInRedirects", counter),
                                   col("1.3.6.1.2.1.5.8", "icmpInEchos", counter),
                                   col("1.3.6.1.2.1.5.9", "icmpInEchoReps", counter),
                                   col("1.3.6.1.2.1.5.10", "icmpInTimestamps", counter),
                                   col("1.3.6.1.2.1.5.11", "icmpInTimestampReps", counter),
                                   col("1.3.6.1.2.1.5.12", "icmpInAddrMasks", counter),
                                   col("1.3.6.1.2.1.5.13", "icmpInAddrMaskReps", counter),
                                   col("1.3.6.1.2.1.5.14", "icmpOutMsgs", counter),
                                   col("1.3.6.1.2.1.5.15", "icmpOutErrors", counter),
                                   col("1.3.6.1.2.1.5.16", "icmpOutDestUnreachs", counter),
                                   col("1.3.6.1.2.1.5.17", "icmpOutTimeExcds", counter),
                                   col("1.3.6.1.2.1.5.18", "icmpOutParmProbs", counter),
                                   col("1.3.6.1.2.1.5.19", "icmpOutSrcQuenchs", counter),
                                   col("1.3.6.1.2.1.5.20", "icmpOutRedirects", counter),
                                   col("1.3.6.1.2.1.5.21", "icmpOutEchos", counter),
                                   col("1.3.6.1.2.1.5.22", "icmpOutEchoReps", counter),
                                   col("1.3.6.1.2.1.5.23", "icmpOutTimestamps", counter),
                                   col("1.3.6.1.2.1.5.24", "icmpOutTimestampReps", counter),
                                   col("1.3.6.1.2.1.5.25", "icmpOutAddrMasks", counter),
                                   col("1.3.6.1.2.1.5.26", "icmpOutAddrMaskReps", counter),
                                   kEnd};

const TSNMPVarInfo kUdpGroup[] = {col("1.3.6.1.2.1.7.1", "udpInDatagrams", counter),
                                  col("1.3.6.1.2.1.7.2", "udpNoPorts", counter),
                                  col("1.3.6.1.2.1.7.3", "udpInErrors", counter),
                                  col("1.3.6.1.2.1.7.4", "udpOutDatagrams", counter),
                                  col("1.3.6.1.2.1.7.8", "udpHCInDatagrams", OvSyntax::counter64),
                                  col("1.3.6.1.2.1.7.9", "udpHCOutDatagrams", OvSyntax::counter64),
                                  kEnd};

const TSNMPVarInfo kSnmpGroup[] = {col("1.3.6.1.2.1.11.1", "snmpInPkts", counter),
                                   col("1.3.6.1.2.1.11.2", "snmpOutPkts", counter),
                                   col("1.3.6.1.2.1.11.3", "snmpInBadVersions", counter),
                                   col("1.3.6.1.2.1.11.4", "snmpInBadCommunityNames", counter),
                                   col("1.3.6.1.2.1.11.5", "snmpInBadCommunityUses", counter),
                                   col("1.3.6.1.2.1.11.6", "snmpInASNParseErrs", counter),
                                   col("1.3.6.1.2.1.11.8", "snmpInTooBigs", counter),
                                   col("1.3.6.1.2.1.11.9", "snmpInNoSuchNames", counter),
                                   col("1.3.6.1.2.1.11.10", "snmpInBadValues", counter),
                                   col("1.3.6.1.2.1.11.11", "snmpInReadOnlys", counter),
                                   col("1.3.6.1.2.1.11.12", "snmpInGenErrs", counter),
                                   col("1.3.6.1.2.1.11.13", "snmpInTotalReqVars", counter),
                                   col("1.3.6.1.2.1.11.14", "snmpInTotalSetVars", counter),
                                   col("1.3.6.1.2.1.11.15", "snmpInGetRequests", counter),
                                   col("1.3.6.1.2.1.11.16", "snmpInGetNexts", counter),
                                   col("1.3.6.1.2.1.11.17", "snmpInSetRequests", counter),
                                   col("1.3.6.1.2.1.11.18", "snmpInGetResponses", counter),
                                   col("1.3.6.1.2.1.11.19", "snmpInTraps", counter),
                                   col("1.3.6.1.2.1.11.20", "snmpOutTooBigs", counter),
                                   col("1.3.6.1.2.1.11.21", "snmpOutNoSuchNames", counter),
                                   col("1.3.6.1.2.1.11.22", "snmpOutBadValues", counter),
                                   col("1.3.6.1.2.1.11.24", "snmpOutGenErrs", counter),
                                   col("1.3.6.1.2.1.11.25", "snmpOutGetRequests", counter),
                                   col("1.3.6.1.2.1.11.26", "snmpOutGetNexts", counter),
                                   col("1.3.6.1.2.1.11.27", "snmpOutSetRequests", counter),
                                   col("1.3.6.1.2.1.11.28", "snmpOutGetResponses", counter),
                                   col("1.3.6.1.2.1.11.29", "snmpOutTraps", counter),
                                   col("1.3.6.1.2.1.11.30", "snmpEnableAuthenTraps", integer, &kEnabled),
                                   col("1.3.6.1.2.1.11.31", "snmpSilentDrops", counter),
                                   col("1.3.6.1.2.1.11.32", "snmpProxyDrops", counter),
                                   kEnd};

const TSNMPVarInfo kHCInOctets = col("1.3.6.1.2.1.31.1.1.1.6", "ifHCInOctets", OvSyntax::counter64);
const TSNMPVarInfo kHCInUcast = col("1.3.6.1.2.1.31.1.1.1.7", "ifHCInUcastPkts", OvSyntax::counter64);
const TSNMPVarInfo kHCOutOctets = col("1.3.6.1.2.1.31.1.1.1.10", "ifHCOutOctets", OvSyntax::counter64);
const TSNMPVarInfo kHCOutUcast = col("1.3.6.1.2.1.31.1.1.1.11", "ifHCOutUcastPkts", OvSyntax::counter64);

// ---- index decoding -----------------------------------------------------------------------

// The InetAddressType labels (RFC 4001).
QString addressTypeText(quint32 type) {
    switch (type) {
    case 0:
        return QStringLiteral("unknown");
    case 1:
        return QStringLiteral("ipv4");
    case 2:
        return QStringLiteral("ipv6");
    case 3:
        return QStringLiteral("ipv4z");
    case 4:
        return QStringLiteral("ipv6z");
    case 16:
        return QStringLiteral("dns");
    default:
        return QString::number(type);
    }
}

// Reads the next sub-identifier of an index; false at its end.
bool take(const OvOidPath& index, size_t& at, quint32& value) {
    if (at >= index.size())
        return false;
    value = index[at++];
    return true;
}

// An InetAddressType and an InetAddress of an index (the type, the length, the octets):
// its type label and address text, IPv6 zones as in RFC 4007 ("fe80::1%3"). Empty texts
// when the index is malformed.
QStringList takeInetAddress(const OvOidPath& index, size_t& at) {
    quint32 type = 0, length = 0;
    if (!take(index, at, type) || !take(index, at, length) || length > 64 || at + length > index.size()) {
        at = index.size();
        return {QString(), QString()};
    }
    QByteArray octets;
    for (quint32 i = 0; i < length; ++i)
        octets.append(static_cast<char>(index[at + i] & 0xFF));
    at += length;
    const auto* bytes = reinterpret_cast<const quint8*>(octets.constData());
    auto zone = [&](int from) -> QString {
        return QLatin1Char('%') + QString::number(qFromBigEndian<quint32>(bytes + from));
    };
    QString text;
    if ((type == 1 || type == 3) && (length == 4 || length == 8))
        text = QHostAddress(qFromBigEndian<quint32>(bytes)).toString() + (length == 8 ? zone(4) : QString());
    else if ((type == 2 || type == 4) && (length == 16 || length == 20))
        text = QHostAddress(bytes).toString() + (length == 20 ? zone(16) : QString());
    else if (type == 16)
        text = QString::fromLatin1(octets);
    else
        text = OvHexText(octets);
    return {addressTypeText(type), text};
}

QString takeNumber(const OvOidPath& index, size_t& at) {
    quint32 n = 0;
    return take(index, at, n) ? QString::number(n) : QString();
}

} // namespace

// inetCidrRouteDestType, Dest, PfxLen, Policy, NextHopType, NextHop.
QStringList OvDecodeInetCidrRouteIndex(const OvOidPath& index) {
    size_t at = 0;
    QStringList parts = takeInetAddress(index, at);
    parts << takeNumber(index, at);
    quint32 length = 0; // the policy: an object identifier of its own length
    QStringList policy;
    if (take(index, at, length))
        for (quint32 i = 0; i < length && at < index.size(); ++i)
            policy << QString::number(index[at++]);
    parts << policy.join(QLatin1Char('.'));
    return parts + takeInetAddress(index, at);
}

// ipNetToPhysicalIfIndex, NetAddressType, NetAddress.
QStringList OvDecodeNetToPhysicalIndex(const OvOidPath& index) {
    size_t at = 0;
    const QString ifIndex = takeNumber(index, at);
    return QStringList{ifIndex} + takeInetAddress(index, at);
}

// tcpConnectionLocalAddressType, LocalAddress, LocalPort, RemAddressType, RemAddress, RemPort.
QStringList OvDecodeTcpConnectionIndex(const OvOidPath& index) {
    size_t at = 0;
    QStringList parts = takeInetAddress(index, at);
    parts << takeNumber(index, at);
    parts << takeInetAddress(index, at);
    parts << takeNumber(index, at);
    return parts;
}

namespace {

const std::vector<OvMibView>& views() {
    static const std::vector<OvMibView> all = {
        {"MIB_Info", "Information", OvMibViewKind::Scalars, {{MibSystemTable, {}, nullptr}}},
        {"MIB_IFTable", "IF Table", OvMibViewKind::Table, {{kIfTable, {}, nullptr, "ifLastChange"}}},
        {"MIB_IFCounters",
         "IF Counters",
         OvMibViewKind::InterfaceCounters,
         {{MibInterfaceKeys, {}, nullptr}}},
        {"MIB_IPCounters", "IP Counters", OvMibViewKind::Counters, {{kIpGroup, {}, nullptr}}},
        {"MIB_IPRouting",
         "IP Routing",
         OvMibViewKind::Table,
         {{kInetCidrRouteTable,
           {QStringLiteral("inetCidrRouteDestType"), QStringLiteral("inetCidrRouteDest"),
            QStringLiteral("inetCidrRoutePfxLen"), QStringLiteral("inetCidrRoutePolicy"),
            QStringLiteral("inetCidrRouteNextHopType"), QStringLiteral("inetCidrRouteNextHop")},
           OvDecodeInetCidrRouteIndex},
          {kIpCidrRouteTable, {}, nullptr},
          {kIpRouteTable, {}, nullptr}}},
        {"MIB_IPAddress", "IP Address Table", OvMibViewKind::Table, {{kIpAddrTable, {}, nullptr}}},
        {"MIB_ICMPCounters", "ICMP Counters", OvMibViewKind::Counters, {{kIcmpGroup, {}, nullptr}}},
        {"MIB_UDPCounters", "UDP Counters", OvMibViewKind::Counters, {{kUdpGroup, {}, nullptr}}},
        {"MIB_SNMPCounters", "SNMP Counters", OvMibViewKind::Counters, {{kSnmpGroup, {}, nullptr}}},
        {"MIB_ARP",
         "ARP Table",
         OvMibViewKind::Table,
         {{kIpNetToPhysicalTable,
           {QStringLiteral("ipNetToPhysicalIfIndex"), QStringLiteral("ipNetToPhysicalNetAddressType"),
            QStringLiteral("ipNetToPhysicalNetAddress")},
           OvDecodeNetToPhysicalIndex},
          {kIpNetToMediaTable, {}, nullptr}}},
        {"MIB_TCPConnections",
         "TCP Connections",
         OvMibViewKind::Table,
         {{kTcpConnectionTable,
           {QStringLiteral("tcpConnectionLocalAddressType"), QStringLiteral("tcpConnectionLocalAddress"),
            QStringLiteral("tcpConnectionLocalPort"), QStringLiteral("tcpConnectionRemAddressType"),
            QStringLiteral("tcpConnectionRemAddress"), QStringLiteral("tcpConnectionRemPort")},
           OvDecodeTcpConnectionIndex},
          {kTcpConnTable, {}, nullptr}}},
    };
    return all;
}

} // namespace

const TSNMPVarInfo MibSystemTable[] = {col("1.3.6.1.2.1.1.1", "sysDescr", displaystr),
                                       col("1.3.6.1.2.1.1.2", "sysObjectID", objectid),
                                       col("1.3.6.1.2.1.1.3", "sysUpTime", timeticks),
                                       col("1.3.6.1.2.1.1.4", "sysContact", displaystr, nullptr, readwrite),
                                       col("1.3.6.1.2.1.1.5", "sysName", displaystr, nullptr, readwrite),
                                       col("1.3.6.1.2.1.1.6", "sysLocation", displaystr, nullptr, readwrite),
                                       col("1.3.6.1.2.1.1.7", "sysServices", integer),
                                       kEnd};

// Edited as their octets, so that a value that is not UTF-8 is written back exactly.
const TSNMPVarInfo MibSystemWritable[] = {col("1.3.6.1.2.1.1.4", "sysContact", octetstr, nullptr, readwrite),
                                          col("1.3.6.1.2.1.1.5", "sysName", octetstr, nullptr, readwrite),
                                          col("1.3.6.1.2.1.1.6", "sysLocation", octetstr, nullptr, readwrite),
                                          kEnd};

const TUIItemInfo MibSystemLayout[] = {{ukEdit, "%s", &MibSystemWritable[0], 0, nullptr, nullptr},
                                       {ukEdit, "%s", &MibSystemWritable[1], 0, nullptr, nullptr},
                                       {ukEdit, "%s", &MibSystemWritable[2], 0, nullptr, nullptr},
                                       {ukNone, nullptr, nullptr, 0, nullptr, nullptr}};

const TSNMPVarInfo MibInterfaceKeys[] = {
    col("1.3.6.1.2.1.2.2.1.1", "ifIndex", integer), col("1.3.6.1.2.1.2.2.1.2", "ifDescr", displaystr),
    col("1.3.6.1.2.1.2.2.1.5", "ifSpeed", guage), col("1.3.6.1.2.1.31.1.1.1.15", "ifHighSpeed", guage), kEnd};

const std::vector<OvInterfaceCounter>& OvInterfaceCounters() {
    static const std::vector<OvInterfaceCounter> all = {
        {col("1.3.6.1.2.1.2.2.1.10", "ifInOctets", counter), &kHCInOctets},
        {col("1.3.6.1.2.1.2.2.1.11", "ifInUcastPkts", counter), &kHCInUcast},
        {col("1.3.6.1.2.1.2.2.1.12", "ifInNUcastPkts", counter), nullptr},
        {col("1.3.6.1.2.1.2.2.1.13", "ifInDiscards", counter), nullptr},
        {col("1.3.6.1.2.1.2.2.1.14", "ifInErrors", counter), nullptr},
        {col("1.3.6.1.2.1.2.2.1.16", "ifOutOctets", counter), &kHCOutOctets},
        {col("1.3.6.1.2.1.2.2.1.17", "ifOutUcastPkts", counter), &kHCOutUcast},
        {col("1.3.6.1.2.1.2.2.1.18", "ifOutNUcastPkts", counter), nullptr},
        {col("1.3.6.1.2.1.2.2.1.19", "ifOutDiscards", counter), nullptr},
        {col("1.3.6.1.2.1.2.2.1.20", "ifOutErrors", counter), nullptr},
    };
    return all;
}

const OvMibView& OvMibViewAt(int i) {
    return views()[static_cast<size_t>(i)];
}

const OvMibView* OvFindMibView(const QString& name) {
    for (const OvMibView& v : views())
        if (name.compare(QLatin1String(v.Name), Qt::CaseInsensitive) == 0)
            return &v;
    return nullptr;
}

std::vector<const TSNMPVarInfo*> OvRowsOf(const TSNMPVarInfo* table) {
    std::vector<const TSNMPVarInfo*> rows;
    for (const TSNMPVarInfo* row = table; row && row->Oid; ++row)
        rows.push_back(row);
    return rows;
}
