#include "binding/OvSNMPRequest2Edits.h"

#include "binding/OvControlAdapters.h"
#include "binding/OvOptionListWidgets.h"
#include "binding/OvShowGridLines.h"
#include "binding/TRadioGroup.h"
#include "catalogue/OvStandardRanges.h"
#include "errors/OvErrors.h"
#include "values/OvByteForm.h"
#include "values/OvEditHint.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTreeWidget>
#include <algorithm>

namespace {

using namespace OvSyntax;

[[noreturn]] void fail(int code) {
    throw OvException(code);
}

QString valueOf(const OvSNMPVarItem& item) {
    return item.Options ? item.Options->LabelToValue(item.Value) : item.Value;
}

} // namespace

// ---- OvSNMPRequest2Edits ----------------------------------------------------------------

OvSNMPRequest2Edits::OvSNMPRequest2Edits(QWidget* owner)
    : OvSNMPRequest2Controls(owner), Rules(std::make_unique<OvEditConstraint>(owner, true)) {}

OvSNMPRequest2Edits::~OvSNMPRequest2Edits() = default;

int OvSNMPRequest2Edits::Bind(int index, int offset, int syntax, const OvOptionList* options,
                              QWidget* control, QWidget* second) {
    const OvSNMPVarItem* item = VarList().Item(index);
    if (!options && offset == 0 && syntax == item->Syntax)
        options = item->Options;
    auto* combo = qobject_cast<QComboBox*>(control);
    auto* radio = qobject_cast<TRadioGroup*>(control);
    if (combo || radio) {
        if (!options)
            fail(OvCode::NoOptionList);
        if (combo) {
            if (options->kind() == OvOptionList::PrefixList && !second)
                fail(OvCode::NotEnoughControls);
            OvFillComboBox(*options, combo);
        } else {
            OvFillRadioGroup(*options, radio);
        }
    }
    auto entry = std::make_unique<BindingEntry>();
    entry->Index = index;
    entry->Offset = offset;
    entry->Syntax = syntax;
    entry->Options = options;
    entry->Controls.emplace_back(control);
    if (second)
        entry->Controls.emplace_back(second);
    return Add(std::move(entry));
}

int OvSNMPRequest2Edits::BindControl(int index, QWidget* control) {
    return Bind(index, 0, VarList().Item(index)->Syntax, nullptr, control, nullptr);
}

int OvSNMPRequest2Edits::BindComboBox(int index, QWidget* combo) {
    if (auto* c = qobject_cast<QComboBox*>(combo))
        c->setEditable(false); // a drop-down list: only the option labels can be chosen
    return BindControl(index, combo);
}

int OvSNMPRequest2Edits::BindBits(int index, const std::vector<QWidget*>& checkBoxes,
                                  const std::vector<int>& bits) {
    if (bits.size() < checkBoxes.size())
        fail(OvCode::NotEnoughControls);
    auto entry = NewEntry(index);
    entry->Bits.assign(bits.begin(), bits.begin() + static_cast<long>(checkBoxes.size()));
    for (QWidget* w : checkBoxes)
        entry->Controls.emplace_back(w);
    return Add(std::move(entry));
}

int OvSNMPRequest2Edits::BindEdit(int index, const QString& formats, const std::vector<QLineEdit*>& edits) {
    // One edit per specifier letter.
    std::vector<QLineEdit*> taken;
    int at = 0;
    while (true) {
        const int percent = formats.indexOf(QLatin1Char('%'), at);
        if (percent < 0 || percent == formats.size() - 1)
            break;
        if (QStringLiteral("shiufn").contains(formats[percent + 1]) && taken.size() < edits.size())
            taken.push_back(edits[taken.size()]);
        at = percent + 2;
    }
    Rules->Register(formats, taken);
    auto entry = NewEntry(index);
    // The standard's range is shown, not checked: the edit's rule stays what it was.
    const OvStandardRange* range = OvStandardRangeOf(VarList().Item(index)->Name);
    for (QLineEdit* e : taken)
        if (const EditRule* rule = Rules->RuleFor(e))
            e->setToolTip(OvEditHint(entry->Syntax, *rule, taken.size() == 1) +
                          (range ? QStringLiteral("; ") + range->Text() : QString()));
    for (QLineEdit* e : taken)
        entry->Controls.emplace_back(e);
    return Add(std::move(entry));
}

std::unique_ptr<BindingEntry> OvSNMPRequest2Edits::NewEntry(int index) {
    auto entry = std::make_unique<BindingEntry>();
    entry->Index = index;
    entry->Syntax = VarList().Item(index)->Syntax;
    return entry;
}

int OvSNMPRequest2Edits::Add(std::unique_ptr<BindingEntry> entry) {
    entry->Count = static_cast<int>(entry->Controls.size());
    Hook(*entry);
    EntryList.push_back(std::move(entry));
    return static_cast<int>(EntryList.size()) - 1;
}

void OvSNMPRequest2Edits::Hook(BindingEntry& entry) {
    entry.Adapter = OvControlAdapter::For(entry.Controls.empty() ? nullptr : entry.Controls.front().data());
    BindingEntry* changed = &entry; // entries live as long as the request
    for (auto& c : entry.Controls)
        entry.Adapter->Hook(c.data(), this, [this, changed] {
            Modified = true;
            changed->HoldsValue = true;
            changed->ChangedSinceRead = true;
        });
}

void OvSNMPRequest2Edits::BindListView(QTreeWidget* view, bool disableUntilSelected) {
    View = view;
    DisableUntilSelected = disableUntilSelected;
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setRootIsDecorated(false);
    view->setAllColumnsShowFocus(true);
    OvShowGridLines(view);
    connect(view, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (!View)
            return;
        const auto selected = View->selectedItems();
        RowSelected(selected.isEmpty() ? nullptr : selected.first(), !selected.isEmpty());
    });
    BuildColumns();
}

std::vector<int> OvSNMPRequest2Edits::ColumnOrder() const {
    std::vector<int> order;
    const OvSNMPVarList& list = VarList();
    for (int i = 0; i < list.Count(); ++i)
        if (list.IsUndisplayable(i))
            order.push_back(i);
    for (int i = 0; i < list.Count(); ++i)
        if (list.IsDisplayable(i))
            order.push_back(i);
    return order;
}

void OvSNMPRequest2Edits::BuildColumns() {
    if (!View)
        return;
    OvSNMPVarList& list = VarList();
    const int needed = list.UndisplayableCount() + list.DisplayableCount();
    // A new view has one empty column; only a view that already has its columns keeps them.
    if (View->columnCount() >= needed && View->columnCount() > 1)
        return;
    QStringList heads;
    for (int i : ColumnOrder())
        heads << list.Item(i)->Name;
    View->clear();
    View->setColumnCount(static_cast<int>(heads.size()));
    View->setHeaderLabels(heads);
    const int hidden = list.UndisplayableCount();
    for (int c = 0; c < heads.size(); ++c) {
        if (c < hidden)
            View->setColumnHidden(c, true);
        else
            View->header()->resizeSection(c, View->header()->sectionSizeHint(c));
    }
}

void OvSNMPRequest2Edits::BeforeGet() {
    // The read that follows a write counts changes from the write on.
    if (!ReadFollowsSet())
        for (auto& e : EntryList)
            e->ChangedSinceRead = false;
    if (!View)
        return;
    BuildColumns();
    View->clear();
}

void OvSNMPRequest2Edits::AppendRow() {
    auto* row = new QTreeWidgetItem(View);
    int column = 0;
    for (int i : ColumnOrder())
        row->setText(column++, VarList().Item(i)->Value);
}

void OvSNMPRequest2Edits::BeforeSet() {
    for (auto& e : EntryList)
        e->ChangedSinceRead = false;
}

void OvSNMPRequest2Edits::ShowRow() {
    if (View) {
        AppendRow();
        QCoreApplication::processEvents(); // stays responsive during long walks
        return;
    }
    ShowReadValues();
}

void OvSNMPRequest2Edits::ShowReadValues() {
    KeptTyped.clear();
    KeptRefused.clear();
    for (auto& entryPtr : EntryList) {
        BindingEntry& e = *entryPtr;
        const OvSNMPVarItem& item = *VarList().Item(e.Index);
        const auto refused = std::find_if(NotTaken().begin(), NotTaken().end(),
                                          [&e](const WrittenValue& w) { return w.Index == e.Index; });
        if (refused != NotTaken().end()) {
            const QString note = QStringLiteral("%1 kept as typed %2; the device holds %3")
                                     .arg(item.Name, refused->Text, item.Value);
            if (!KeptRefused.contains(note))
                KeptRefused << note;
        } else if (e.ChangedSinceRead) {
            if (!KeptTyped.contains(item.Name))
                KeptTyped << item.Name;
        } else {
            ShowEntry(e);
        }
    }
}

QString OvSNMPRequest2Edits::GetNote() const {
    QStringList notes;
    if (const QString cells = OvSNMPRequest2Controls::GetNote(); !cells.isEmpty())
        notes << cells;
    if (!KeptTyped.isEmpty())
        notes << QStringLiteral("typed values kept: ") + KeptTyped.join(QStringLiteral(", "));
    notes << KeptRefused;
    return notes.join(QStringLiteral("; "));
}

void OvSNMPRequest2Edits::CopySelectedRow() {
    if (!View)
        return;
    const auto selected = View->selectedItems();
    if (selected.isEmpty())
        return;
    int column = 0;
    for (int i : ColumnOrder())
        VarList().Item(i)->Value = selected.first()->text(column++);
}

void OvSNMPRequest2Edits::CollectValues() {
    for (int i = 0; i < VarList().Count(); ++i)
        VarList().Item(i)->Value.clear();
    CopySelectedRow();
    CollectFromControls();
}

void OvSNMPRequest2Edits::SetControlsEnabled(bool enabled) {
    for (auto& e : EntryList)
        for (auto& c : e->Controls)
            if (c)
                c->setEnabled(enabled);
}

void OvSNMPRequest2Edits::AfterGet() {
    Modified = false;
    if (View && DisableUntilSelected && VarList().ListKind == MVT_FMV)
        SetControlsEnabled(false);
}

void OvSNMPRequest2Edits::RowSelected(QTreeWidgetItem* item, bool selected) {
    if (!selected || !item)
        return;
    if (DisableUntilSelected)
        SetControlsEnabled(true);
    CopySelectedRow();
    ShowValues();
    Modified = false;
}

void OvSNMPRequest2Edits::ShowValues() {
    for (auto& e : EntryList)
        ShowEntry(*e);
}

void OvSNMPRequest2Edits::ShowEntry(BindingEntry& e) {
    const OvSNMPVarItem& item = *VarList().Item(e.Index);
    QByteArray bytes = OvByteForm::FromText(item.Syntax, valueOf(item));
    QString text;
    const OvOptionList* options = e.Options;
    if (e.Offset != 0 || e.Syntax != item.Syntax) {
        bytes = OvByteForm::Cut(bytes, e.Offset, e.Syntax);
        text = OvByteForm::ToText(e.Syntax, bytes);
    } else {
        text = OvByteForm::ToText(item.Syntax, bytes);
        if (!options)
            options = item.Options;
    }
    if (options)
        text = options->ValueToLabel(text);

    QWidget* first = e.Controls.empty() ? nullptr : e.Controls.front().data();
    if (!first)
        return; // the control is gone with its window
    e.Adapter->Show(e, text, bytes, options, *Rules);
    e.HoldsValue = item.Value != QLatin1String("(NULL)");
}

void OvSNMPRequest2Edits::CollectFromControls() {
    OvSNMPVarList& list = VarList();
    for (int i = 0; i < list.Count(); ++i) {
        OvSNMPVarItem& item = *list.Item(i);
        // An item left out of the write (invalid) is still collected, for formulas that
        // read it, but what its controls hold cannot stop the write.
        const bool leftOut = (item.Access & OvAccess::invalid) != 0;
        item.Access &= ~OvAccess::invalid;
        const bool writable = list.IsWritable(i);
        if (leftOut)
            item.Access |= OvAccess::invalid;
        if (!writable)
            continue;
        try {
            CollectItem(i);
        } catch (const OvException& e) {
            if (!leftOut)
                throw e.ForItem(item.Name);
        }
    }
}

void OvSNMPRequest2Edits::CollectItem(int i) {
    OvSNMPVarItem& item = *VarList().Item(i);
    // Values were emptied before collecting (or hold the selected row's texts).
    const QString start = valueOf(item);
    QByteArray value = start.isEmpty() ? QByteArray() : OvByteForm::FromText(item.Syntax, start);
    bool bound = false;
    bool startedString = false;
    for (auto& entryPtr : EntryList) {
        const BindingEntry& e = *entryPtr;
        if (e.Index != i)
            continue;
        bound = true;
        if (item.Syntax == displaystr && !startedString) {
            value.clear(); // a string is built only from its controls
            startedString = true;
        }
        const OvOptionList* options = e.Options;
        if (e.Offset == 0 && e.Syntax == item.Syntax && !options)
            options = item.Options;
        QWidget* first = e.Controls.empty() ? nullptr : e.Controls.front().data();
        if (!first)
            continue;
        if (!e.HoldsValue)
            fail(OvCode::BadPartialValue); // never read, never given: nothing the user saw
        const OvControlAdapter::Part given = e.Adapter->Collect(e, options);
        if (!given.Given)
            continue; // other controls contribute nothing
        QByteArray part = given.Bytes;
        if (!given.Raw)
            part = OvByteForm::FromText(e.Syntax, options ? options->LabelToValue(given.Text) : given.Text);
        OvByteForm::Splice(value, e.Offset, part);
    }
    if (bound) {
        QString text = OvByteForm::ToText(item.Syntax, value);
        item.Value = item.Options ? item.Options->ValueToLabel(text) : text;
    }
}
