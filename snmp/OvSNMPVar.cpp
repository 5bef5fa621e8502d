#include "snmp/OvSNMPVar.h"

#include "values/OvOptionList.h"

namespace {
QString textOf(const char* s) {
    return s ? QString::fromUtf8(s) : QString();
}
} // namespace

OvSNMPVarItem OvSNMPVarItem::fromRow(const TSNMPVarInfo& row) {
    OvSNMPVarItem item;
    item.Oid = textOf(row.Oid);
    item.Name = textOf(row.Name);
    item.Syntax = row.Syntax;
    item.Access = row.Access;
    item.Options = row.Options;
    item.GetFormula = textOf(row.GetFormula);
    item.SetFormula = textOf(row.SetFormula);
    item.Extra3 = textOf(row.Extra3);
    item.Value = textOf(row.Value);
    item.InstanceOid = textOf(row.InstanceOid);
    return item;
}

OvSNMPVarList::OvSNMPVarList(const TSNMPVarInfo* table, OvListKind kind, int keyCount)
    : KeyCount(keyCount), ListKind(kind) {
    AppendTable(table);
}

OvSNMPVarList::OvSNMPVarList(const OvSNMPVarList& other) {
    *this = other;
}

OvSNMPVarList& OvSNMPVarList::operator=(const OvSNMPVarList& other) {
    if (this == &other)
        return *this;
    Clear();
    ListKind = other.ListKind;
    KeyCount = other.KeyCount;
    Caption = other.Caption;
    // RowSuffix stays as it was: it belongs to the request, not to the copied values.
    Items.reserve(other.Items.size());
    for (const auto& item : other.Items)
        Items.push_back(std::make_unique<OvSNMPVarItem>(*item));
    return *this;
}

OvSNMPVarList::~OvSNMPVarList() {
    Clear();
    OptionLists.clear();
}

void OvSNMPVarList::AppendTable(const TSNMPVarInfo* table) {
    if (!table)
        return;
    size_t rows = 0;
    while (table[rows].Oid)
        ++rows;
    Items.reserve(Items.size() + rows);
    for (size_t r = 0; r < rows; ++r)
        Items.push_back(std::make_unique<OvSNMPVarItem>(OvSNMPVarItem::fromRow(table[r])));
}

void OvSNMPVarList::Clear() {
    Items.clear();
}

bool OvSNMPVarList::IsReadable(int i) const {
    const int a = Item(i)->Access & 0xFF;
    return !(a & OvAccess::invalid) && (a & OvAccess::readonly);
}

int OvSNMPVarList::ReadItemOfBinding(int binding) const {
    for (int i = 0, sent = 0; i < Count(); ++i)
        if (IsReadable(i) && ++sent == binding)
            return i;
    return -1;
}

bool OvSNMPVarList::IsWritable(int i) const {
    const int a = Item(i)->Access & 0xFF;
    if (a & OvAccess::invalid)
        return false;
    return (a & OvAccess::writeonly) || (ListKind == MVT_UMV && i < KeyCount);
}

bool OvSNMPVarList::IsImplied(int i) const {
    return (Item(i)->Access & OvAccess::implied) != 0;
}

bool OvSNMPVarList::IsDisplayable(int i) const {
    const int a = Item(i)->Access & 0xFF;
    if (a & (OvAccess::invalid | OvAccess::hidden))
        return false;
    return (a & (OvAccess::notaccess | OvAccess::derived | OvAccess::readonly)) != 0;
}

bool OvSNMPVarList::IsUndisplayable(int i) const {
    const int a = Item(i)->Access & 0xFF;
    return a == OvAccess::writeonly || (a & OvAccess::invalid) || (a & OvAccess::hidden);
}

int OvSNMPVarList::DisplayableCount() const {
    int n = 0;
    for (int i = 0; i < Count(); ++i)
        n += IsDisplayable(i) ? 1 : 0;
    return n;
}

int OvSNMPVarList::UndisplayableCount() const {
    int n = 0;
    for (int i = 0; i < Count(); ++i)
        n += IsUndisplayable(i) ? 1 : 0;
    return n;
}

QString OvSNMPVarList::Column(int i) const {
    const QString& oid = Item(i)->Oid;
    return RowSuffix.isEmpty() ? oid : oid + QLatin1Char('.') + RowSuffix;
}
