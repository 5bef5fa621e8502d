#pragma once

#include "catalogue/TUIItemInfo.h"
#include "snmp/OvAgentRead.h"
#include "snmp/OvSNMPVar.h"

#include <QString>
#include <QStringList>

// What a view shows: single objects, a table, or counters with their changes per refresh.
enum class OvMibViewKind { Scalars, Table, Counters, InterfaceCounters };

// Index parts a table shows that are no column of its own (inetCidrRouteTable's key).
using OvIndexDecoder = QStringList (*)(const OvOidPath& index);

// One table a view can show: its columns (catalogue rows ending with a null Oid), and
// for keys that are not readable, the titles and decoder of the index parts.
struct OvMibTableSource {
    const TSNMPVarInfo* Columns;
    QStringList IndexTitles;
    OvIndexDecoder DecodeIndex = nullptr;
    // A TimeStamp column (sysUpTime at an event) shown as the time since the event.
    const char* TimeStamp = nullptr;
};

// A 32-bit interface counter and, where ifXTable has one, its 64-bit twin.
struct OvInterfaceCounter {
    TSNMPVarInfo Narrow;
    const TSNMPVarInfo* Wide; // null: no 64-bit twin
};

struct OvMibView {
    const char* Name;  // the /T value, "MIB_IFTable"
    const char* Title; // the menu caption, "IF Table"
    OvMibViewKind Kind;
    // Scalars and counters: the objects; tables: the tables tried in order until one has rows.
    std::vector<OvMibTableSource> Sources;
};

// The module's "MIB II" menu starts the first nine; the viewer's own View menu has all.
constexpr int MibViewCount = 11;
// The views in menu order.
const OvMibView& OvMibViewAt(int i);
// The view of a /T value, or null.
const OvMibView* OvFindMibView(const QString& name);

// The system group, read as one view; of it sysContact, sysName and sysLocation can be
// written, through an editor of that table and layout.
extern const TSNMPVarInfo MibSystemTable[];
extern const TSNMPVarInfo MibSystemWritable[];
extern const TUIItemInfo MibSystemLayout[];

// The interface types of the IANA registry, ending with a null label.
extern const OvIntOption MibIfTypes[];

// The identifying columns (ifIndex, ifDescr, ifSpeed, ifHighSpeed) and the counters of
// MIB_IFCounters.
extern const TSNMPVarInfo MibInterfaceKeys[];
const std::vector<OvInterfaceCounter>& OvInterfaceCounters();

// The index parts of inetCidrRouteTable (DestType, Dest, PfxLen, Policy, NextHopType,
// NextHop), ipNetToPhysicalTable (IfIndex, NetAddressType, NetAddress) and
// tcpConnectionTable (Local AddressType, Address, Port, Rem AddressType, Address, Port):
// address types by their labels, addresses as text (IPv6 compressed, zones as "%3").
QStringList OvDecodeInetCidrRouteIndex(const OvOidPath& index);
QStringList OvDecodeNetToPhysicalIndex(const OvOidPath& index);
QStringList OvDecodeTcpConnectionIndex(const OvOidPath& index);

// The rows of a catalogue table up to its null end.
std::vector<const TSNMPVarInfo*> OvRowsOf(const TSNMPVarInfo* table);
