#pragma once

#include <QString>
#include <vector>

// Source rows of an integer option list, ended by a row whose label is null.
struct OvIntOption {
    int Value;
    const char* Label;
};

// Source rows of a text or prefix option list, ended by a row whose label is null.
struct OvTextOption {
    const char* Value;
    const char* Label;
};

// The value/label pairs of an enumerated variable, converting in both directions.
class OvOptionList {
public:
    enum Kind { IntegerValues = 1, TextValues = 2, PrefixList = 3 };

    struct Entry {
        int IntValue = 0;  // kind 1
        QString TextValue; // kinds 2 and 3
        QString Label;
    };

    OvOptionList(const OvIntOption* table, int kind = IntegerValues, bool caseSensitive = false);
    OvOptionList(const OvTextOption* table, int kind, bool caseSensitive = false);
    virtual ~OvOptionList() = default;

    void Append(const OvIntOption* table);
    void Append(const OvTextOption* table);
    void Clear() { Entries.clear(); }

    int kind() const { return ListKind; }
    bool caseSensitive() const { return CaseSensitive; }
    int Count() const { return static_cast<int>(Entries.size()); }
    const Entry& At(int i) const { return Entries[static_cast<size_t>(i)]; }

    // Position of the first matching entry, or -1.
    virtual int FindByLabel(const QString& text) const;
    virtual int FindByValue(const QString& text) const;
    // Texts not in the list come back unchanged.
    virtual QString ValueToLabel(const QString& text) const;
    virtual QString LabelToValue(const QString& text) const;

    // The entry's value as text (signed decimal for integer lists).
    QString ValueText(int i) const;
    // The labels in list order, for filling a combo box or a radio group.
    QStringList Labels() const;
    // The position a combo box or radio group selects for a text: by label, else by value.
    int SelectionFor(const QString& text) const;

private:
    // The first entry whose field matches text (by prefix in a prefix list), or -1.
    int FindText(const QString& text, QString Entry::*field) const;
    bool sameText(const QString& a, const QString& b) const;
    bool startsWith(const QString& text, const QString& prefix) const;

    int ListKind;
    bool CaseSensitive;
    std::vector<Entry> Entries;
};
