#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

#include "snmp/OvParsedOid.h"
#include "values/OvOptionList.h"
#include "values/OvSyntax.h"

// Access bits of a descriptor, plus the IMPLIED flag of a last index item.
namespace OvAccess {
constexpr int notaccess = 0x01;
constexpr int readonly = 0x02;
constexpr int writeonly = 0x04;
constexpr int readwrite = 0x06;
constexpr int derived = 0x08;
constexpr int hidden = 0x10;
constexpr int invalid = 0x20;
constexpr int implied = 0x40;
} // namespace OvAccess

// How a request addresses the items of a list.
enum OvListKind : unsigned char {
    SVT_SV = 0,  // scalars: Oid + ".0"
    MVT_SV = 1,  // full instance identifiers as stored
    MVT_FMV = 2, // table walk, key items written like others
    MVT_UMV = 3, // table walk, key items never written
};

// One catalogue row: plain constant data. Tables end with a row whose Oid is null.
struct TSNMPVarInfo {
    const char* Oid;
    const char* Name;
    int Syntax;
    int Access;
    const OvOptionList* Options;
    const char* GetFormula;
    const char* SetFormula;
    const char* Extra3;
    const char* Value;       // initial value text, normally null
    const char* InstanceOid; // normally null
};

// A row of plain data: no formulas, no initial value, no instance.
constexpr TSNMPVarInfo OvVarRow(const char* oid, const char* name, int syntax,
                                int access = OvAccess::readonly, const OvOptionList* options = nullptr) {
    return TSNMPVarInfo{oid, name, syntax, access, options, nullptr, nullptr, nullptr, nullptr, nullptr};
}
// The row that ends a table.
constexpr TSNMPVarInfo OvEndRow{nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};

// One item of a variable list: a private copy of a catalogue row plus the item's
// current value text and the instance identifier the last response delivered.
// The option list is shared, never owned.
struct OvSNMPVarItem {
    QString Oid;
    QString Name;
    int Syntax = 0;
    int Access = 0;
    const OvOptionList* Options = nullptr;
    QString GetFormula; // empty: none
    QString SetFormula; // empty: none
    QString Extra3;
    QString Value;
    QString InstanceOid;
    // The octets of the last display string read and the text they were shown as.
    QByteArray ReadOctets;
    QString ReadText;
    // The parsed forms of what a read sends: the column asked first, the instance after.
    OvParsedOid AskedColumn;
    OvParsedOid AskedInstance;

    static OvSNMPVarItem fromRow(const TSNMPVarInfo& row);
};

// The ordered variable list of one request.
class OvSNMPVarList {
public:
    OvSNMPVarList() = default;
    OvSNMPVarList(const TSNMPVarInfo* table, OvListKind kind, int keyCount);
    OvSNMPVarList(const OvSNMPVarList& other);
    OvSNMPVarList& operator=(const OvSNMPVarList& other);
    ~OvSNMPVarList();

    void AppendTable(const TSNMPVarInfo* table);
    void Clear();
    OvSNMPVarItem* Item(int index) { return Items[static_cast<size_t>(index)].get(); }
    const OvSNMPVarItem* Item(int index) const { return Items[static_cast<size_t>(index)].get(); }
    int Count() const { return static_cast<int>(Items.size()); }

    bool IsReadable(int i) const;
    // The item the binding-th binding of a read stands for (1-based, as an agent's error
    // index counts), or -1: items left out were not sent.
    int ReadItemOfBinding(int binding) const;
    bool IsWritable(int i) const;
    bool IsImplied(int i) const;
    bool IsDisplayable(int i) const;
    bool IsUndisplayable(int i) const;
    int DisplayableCount() const;
    int UndisplayableCount() const;

    // A table walk (MVT_FMV, MVT_UMV) rather than single values.
    bool IsTable() const { return ListKind == MVT_FMV || ListKind == MVT_UMV; }

    // The column identifier of item i: its Oid, plus "." and RowSuffix when set.
    QString Column(int i) const;

    QString RowSuffix;
    int KeyCount = 0;
    OvListKind ListKind = SVT_SV;
    QString Caption;
    // Option lists owned by the list; empty in every list the module builds.
    std::vector<std::unique_ptr<OvOptionList>> OptionLists;

private:
    std::vector<std::unique_ptr<OvSNMPVarItem>> Items;
};
