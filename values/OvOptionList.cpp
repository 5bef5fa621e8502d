#include "values/OvOptionList.h"

#include <QStringList>

OvOptionList::OvOptionList(const OvIntOption* table, int kind, bool caseSensitive)
    : ListKind(kind), CaseSensitive(caseSensitive) {
    Append(table);
}

OvOptionList::OvOptionList(const OvTextOption* table, int kind, bool caseSensitive)
    : ListKind(kind), CaseSensitive(caseSensitive) {
    Append(table);
}

void OvOptionList::Append(const OvIntOption* table) {
    if (!table)
        return;
    for (const OvIntOption* row = table; row->Label; ++row) {
        Entry e;
        e.IntValue = row->Value;
        e.TextValue = QString::number(row->Value);
        e.Label = QString::fromUtf8(row->Label);
        Entries.push_back(std::move(e));
    }
}

void OvOptionList::Append(const OvTextOption* table) {
    if (!table)
        return;
    for (const OvTextOption* row = table; row->Label; ++row) {
        Entry e;
        e.TextValue = QString::fromUtf8(row->Value ? row->Value : "");
        e.Label = QString::fromUtf8(row->Label);
        Entries.push_back(std::move(e));
    }
}

bool OvOptionList::sameText(const QString& a, const QString& b) const {
    if (CaseSensitive)
        return QString::localeAwareCompare(a, b) == 0 && a == b;
    return QString::localeAwareCompare(a.toCaseFolded(), b.toCaseFolded()) == 0;
}

bool OvOptionList::startsWith(const QString& text, const QString& prefix) const {
    if (text.size() < prefix.size())
        return false;
    return text.startsWith(prefix, CaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive);
}

int OvOptionList::FindText(const QString& text, QString Entry::*field) const {
    for (int i = 0; i < Count(); ++i) {
        const QString& candidate = At(i).*field;
        const bool match = ListKind == PrefixList ? startsWith(text, candidate) : sameText(candidate, text);
        if (match)
            return i;
    }
    return -1;
}

int OvOptionList::FindByLabel(const QString& text) const {
    return FindText(text, &Entry::Label);
}

int OvOptionList::FindByValue(const QString& text) const {
    if (ListKind == IntegerValues) {
        if (text == QLatin1String("(NULL)"))
            return -1;
        bool ok = false;
        const int v = text.trimmed().toInt(&ok, 10);
        if (!ok)
            return -1;
        for (int i = 0; i < Count(); ++i)
            if (At(i).IntValue == v)
                return i;
        return -1;
    }
    return FindText(text, &Entry::TextValue);
}

QString OvOptionList::ValueToLabel(const QString& text) const {
    const int i = FindByValue(text);
    if (i < 0)
        return text;
    if (ListKind == PrefixList)
        return At(i).Label + text.mid(At(i).TextValue.size());
    return At(i).Label;
}

QString OvOptionList::LabelToValue(const QString& text) const {
    const int i = FindByLabel(text);
    if (i < 0)
        return text;
    if (ListKind == PrefixList)
        return At(i).TextValue + text.mid(At(i).Label.size());
    return ValueText(i);
}

QString OvOptionList::ValueText(int i) const {
    return ListKind == IntegerValues ? QString::number(At(i).IntValue) : At(i).TextValue;
}

QStringList OvOptionList::Labels() const {
    QStringList out;
    for (const Entry& e : Entries)
        out << e.Label;
    return out;
}

int OvOptionList::SelectionFor(const QString& text) const {
    const int byLabel = FindByLabel(text);
    return byLabel >= 0 ? byLabel : FindByValue(text);
}
