#include "binding/OvSNMPRequest2Edits.h"

#include "binding/OvByteForm.h"
#include "binding/OvControls.h"
#include "values/OvDateTime.h"
#include "binding/OvEditHint.h"
#include "errors/OvErrors.h"
#include "values/OvExpression.h"
#include "binding/OvFeedback.h"
#include "values/OvNumbers.h"
#include "binding/OvOptionListWidgets.h"
#include "snmp/OvValueText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTreeWidget>

namespace {

using namespace OvSyntax;

[[noreturn]] void fail(int code) {
    throw OvException(code);
}

QString valueOf(const OvSNMPVarItem& item) {
    return item.Options ? item.Options->LabelToValue(item.Value) : item.Value;
}

QLineEdit* editAt(const BindingEntry& e, int i) {
    return i < static_cast<int>(e.Controls.size())
               ? qobject_cast<QLineEdit*>(e.Controls[static_cast<size_t>(i)])
               : nullptr;
}

void needEdits(const BindingEntry& e, int count) {
    if (static_cast<int>(e.Controls.size()) < count)
        fail(OvCode::NotEnoughControls);
    for (int i = 0; i < count; ++i)
        if (!editAt(e, i))
            fail(OvCode::BadControlType);
}

// An edit of a numeric syntax must hold a number: an empty or non-numeric edit would
// otherwise write 0 to the device.
bool holdsNumber(int syntax, const QString& text) {
    static const QRegularExpression number(QStringLiteral("^\\s*[+-]?\\d"));
    switch (syntax) {
    case integer:
    case counter:
    case guage:
    case uinteger:
    case OvSyntax::counter64:
        return number.match(text).hasMatch();
    case timeticks: {
        quint32 ticks = 0;
        return OvParseTicks(text, ticks);
    }
    default:
        return true;
    }
}

int editNumber(const BindingEntry& e, int i) {
    return static_cast<int>(OvAtol(editAt(e, i)->text()));
}

QString twoHex(QLineEdit* edit) {
    const QString t = edit->text().trimmed();
    if (t.isEmpty())
        return QStringLiteral("00");
    if (t.size() == 1)
        return QLatin1Char('0') + t;
    return t;
}

// The text that a set of split edits spells, by the entry's syntax.
QString textOfSplitEdits(const BindingEntry& e) {
    const int n = static_cast<int>(e.Controls.size());
    switch (e.Syntax) {
    case bitstr:
    case octetstr:
    case opaque: {
        needEdits(e, n);
        QStringList parts;
        for (int i = 0; i < n; ++i)
            parts << twoHex(editAt(e, i));
        return parts.join(QLatin1Char(' '));
    }
    case objectid: {
        needEdits(e, n);
        QStringList parts;
        for (int i = 0; i < n; ++i)
            parts << QString::number(static_cast<quint32>(editNumber(e, i)));
        return parts.join(QLatin1Char('.'));
    }
    case ipaddress:
    case nsapaddr: {
        needEdits(e, 4);
        QStringList parts;
        for (int i = 0; i < 4; ++i)
            parts << QString::number(editNumber(e, i));
        return parts.join(QLatin1Char('.'));
    }
    case timeticks: {
        needEdits(e, 5);
        const quint64 t =
            static_cast<quint64>(editNumber(e, 0)) * 8640000 +
            static_cast<quint64>(editNumber(e, 1)) * 360000 + static_cast<quint64>(editNumber(e, 2)) * 6000 +
            static_cast<quint64>(editNumber(e, 3)) * 100 + static_cast<quint64>(editNumber(e, 4));
        return OvTicksText(static_cast<quint32>(t));
    }
    case macaddress: {
        needEdits(e, 6);
        QStringList parts;
        for (int i = 0; i < 6; ++i)
            parts << twoHex(editAt(e, i));
        return parts.join(QLatin1Char(' '));
    }
    case datetime: {
        needEdits(e, 10);
        const QString direction = editAt(e, 7)->text().left(1);
        return QStringLiteral("%1-%2-%3,%4:%5:%6.%7,%8%9:%10")
            .arg(editNumber(e, 0))
            .arg(editNumber(e, 1))
            .arg(editNumber(e, 2))
            .arg(editNumber(e, 3))
            .arg(editNumber(e, 4))
            .arg(editNumber(e, 5))
            .arg(editNumber(e, 6))
            .arg(direction.isEmpty() ? QStringLiteral("+") : direction)
            .arg(editNumber(e, 8))
            .arg(editNumber(e, 9));
    }
    case bcdatetime: {
        needEdits(e, 7);
        const QDate date(editNumber(e, 0), editNumber(e, 1), editNumber(e, 2));
        const QTime time(editNumber(e, 3), editNumber(e, 4), editNumber(e, 5), editNumber(e, 6));
        if (!date.isValid() || !time.isValid())
            fail(OvCode::BadPartialValue);
        static const QDate epoch(1899, 12, 30);
        return OvDaysText(static_cast<double>(epoch.daysTo(date)) + time.msecsSinceStartOfDay() / 86400000.0);
    }
    default:
        return editAt(e, 0) ? editAt(e, 0)->text() : QString();
    }
}

// A value from the device into an edit: shown from its first character, and a good text
// for the edit's rule.
void putText(QLineEdit* edit, const QString& text, OvEditConstraint& rules) {
    edit->setText(text);
    edit->setCursorPosition(0);
    rules.SetLastGood(edit, text);
}

void showInSplitEdits(const BindingEntry& e, const QString& text, const QByteArray& bytes,
                      OvEditConstraint& rules) {
    const int n = static_cast<int>(e.Controls.size());
    auto put = [&rules, &e](int i, const QString& t) {
        putText(editAt(e, i), t, rules);
    };
    const bool absent = text == QLatin1String("(NULL)");
    switch (e.Syntax) {
    case bitstr:
    case octetstr:
    case opaque: {
        if (n < bytes.size())
            fail(OvCode::NotEnoughControls);
        needEdits(e, bytes.size());
        for (int i = 0; i < bytes.size(); ++i)
            put(i, QStringLiteral("%1")
                       .arg(static_cast<unsigned char>(bytes[i]), 2, 16, QLatin1Char('0'))
                       .toUpper());
        return;
    }
    case objectid: {
        const QStringList ids = absent ? QStringList() : text.split(QLatin1Char('.'), Qt::SkipEmptyParts);
        if (n < ids.size())
            fail(OvCode::NotEnoughControls);
        needEdits(e, ids.size());
        for (int i = 0; i < ids.size(); ++i)
            put(i, ids[i]);
        return;
    }
    case ipaddress:
    case nsapaddr:
        needEdits(e, 4);
        if (!absent)
            for (int i = 0; i < 4; ++i)
                put(i, QString::number(static_cast<unsigned char>(bytes[i])));
        return;
    case timeticks: {
        needEdits(e, 5);
        if (absent)
            return;
        quint32 v = 0;
        for (int i = 3; i >= 0; --i)
            v = (v << 8) | static_cast<unsigned char>(bytes[i]);
        const quint32 r = v % 8640000 % 360000 % 6000;
        put(0, QString::number(v / 8640000));
        put(1, QString::number((v % 8640000) / 360000));
        put(2, QString::number((v % 8640000 % 360000) / 6000));
        put(3, QString::number(r / 100));
        put(4, QString::number(r % 100));
        return;
    }
    case macaddress:
        needEdits(e, 6);
        if (!absent)
            for (int i = 0; i < 6 && i < bytes.size(); ++i)
                put(i, QStringLiteral("%1")
                           .arg(static_cast<unsigned char>(bytes[i]), 2, 16, QLatin1Char('0'))
                           .toUpper());
        return;
    case datetime: {
        needEdits(e, 10);
        if (absent)
            return;
        const OvDateTime d(text);
        const int fields[] = {d.Year, d.Month, d.Day, d.Hour, d.Minutes, d.Seconds, d.DeciSeconds};
        for (int i = 0; i < 7; ++i)
            put(i, QString::number(fields[i]));
        put(7, QString(QLatin1Char(d.Direction)));
        put(8, QString::number(d.HoursFromUTC));
        put(9, QString::number(d.MinutesFromUTC));
        return;
    }
    case bcdatetime: {
        needEdits(e, 7);
        if (absent)
            return;
        double days = 0;
        OvParseDaysText(text, days);
        static const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0));
        const QDateTime at = epoch.addMSecs(static_cast<qint64>(days * 86400000.0 + 0.5));
        const int fields[] = {at.date().year(),   at.date().month(),  at.date().day(), at.time().hour(),
                              at.time().minute(), at.time().second(), at.time().msec()};
        for (int i = 0; i < 7; ++i)
            put(i, QString::number(fields[i]));
        return;
    }
    default:
        needEdits(e, 1);
        put(0, text);
        return;
    }
}

} // namespace

// ---- OvSNMPRequest2Controls -----------------------------------------------------------

OvSNMPRequest2Controls::OvSNMPRequest2Controls(QWidget* owner)
    : QObject(owner), Owner(owner), Req(std::make_unique<OvSNMPRequest>()) {}

OvSNMPRequest2Controls::~OvSNMPRequest2Controls() = default;

void OvSNMPRequest2Controls::SetLogTarget(QObject* target) {
    Log = target;
}

void OvSNMPRequest2Controls::ShowResult(OvOperation operation, const QString& errorText) {
    if (!Log)
        return;
    QString line = operation == OvOperation::Get
                       ? QStringLiteral("Get: [ERROR] Request:[VARLIST]. Receive at [TIME].")
                       : QStringLiteral("Set: [ERROR] Request:[VARLIST]. Receive at [TIME].");
    if (VarList().Caption.isEmpty()) {
        const int from = line.indexOf(QLatin1String("[ERROR]")) + 7;
        const int to = line.indexOf(QLatin1String("[VARLIST]")) + 9;
        line.remove(from, to - from);
    } else {
        line = OvSubstitute(line, QStringLiteral("[VARLIST]"), VarList().Caption);
    }
    line = OvSubstitute(line, QStringLiteral("[ERROR]"), errorText);
    line = OvSubstitute(line, QStringLiteral("[TIME]"),
                        QLocale::c().toString(QTime::currentTime(), QStringLiteral("hh:mm:ss AP")));
    // An answer of any length must not widen a window or flood the log.
    const bool shortened = line.size() > ShownLineLength;
    const QString shown = shortened ? line.left(ShownLineLength) + QChar(0x2026) : line;
    if (auto* memo = qobject_cast<QPlainTextEdit*>(Log)) {
        memo->appendPlainText(shown);
    } else if (auto* panel = qobject_cast<TStatusPanel*>(Log)) {
        panel->setText(shown);
        panel->setToolTip(shortened ? line : QString());
    } else if (auto* bar = qobject_cast<QStatusBar*>(Log)) {
        bar->showMessage(shown);
        bar->setToolTip(shortened ? line : QString());
    }
}

void OvSNMPRequest2Controls::Report(const OvSNMPError& result, OvOperation operation) {
    if (Log) {
        ShowResult(operation, result.Message);
        return;
    }
    OvFeedback::MessageBox(Owner ? Owner->window() : nullptr, OvFeedback::ProgramFileName(), result.Message);
}

void OvSNMPRequest2Controls::ReportGetError(const OvSNMPError& result) {
    Report(result, OvOperation::Get);
}

void OvSNMPRequest2Controls::ReportSetError(const OvSNMPError& result) {
    Report(result, OvOperation::Set);
}

bool OvSNMPRequest2Controls::RowAccepted() {
    return Req->Accepts(RowFilter) && Req->IsValid();
}

void OvSNMPRequest2Controls::Get() {
    BeforeGet();
    const OvListKind kind = VarList().ListKind;
    if (!Asynchronous) {
        if (kind == SVT_SV || kind == MVT_SV) {
            Req->Get(true);
            if (RowAccepted())
                ShowRow();
        } else {
            for (bool first = true; Req->Get(first); first = false)
                if (RowAccepted())
                    ShowRow();
        }
        AfterGet();
        if (Log)
            ShowResult(OvOperation::Get, OvErrorMessage(0));
        return;
    }
    Req->GetAsync(
        this, [this](const OvSNMPError& r, OvSNMPVarList&) { GetCompleted(r); }, true);
}

void OvSNMPRequest2Controls::GetCompleted(const OvSNMPError& result) {
    if (result.Code != 0) {
        ReportGetError(result);
        Q_EMIT GetFinished(result.Code, result.Message);
        return;
    }
    const OvListKind kind = VarList().ListKind;
    try {
        if (kind == SVT_SV || kind == MVT_SV) {
            if (RowAccepted() && Req->Alive)
                ShowRow();
        } else if (!result.Done) {
            if (RowAccepted() && Req->Alive)
                ShowRow();
            Req->GetAsync(
                this, [this](const OvSNMPError& r, OvSNMPVarList&) { GetCompleted(r); }, false);
            return;
        }
    } catch (const OvException& e) {
        OvSNMPError shown = result;
        shown.Code = e.code();
        shown.Message = e.message();
        ReportGetError(shown);
        Q_EMIT GetFinished(shown.Code, shown.Message);
        return;
    }
    FinishGet();
    Q_EMIT GetFinished(0, result.Message);
}

void OvSNMPRequest2Controls::FinishGet() {
    AfterGet();
    if (Log)
        ShowResult(OvOperation::Get, OvErrorMessage(0));
}

void OvSNMPRequest2Controls::Set(bool refreshAfterSet, bool collectFromControls) {
    RefreshAfterSet = refreshAfterSet;
    BeforeSet();
    if (collectFromControls)
        CollectValues();
    if (!Asynchronous) {
        Req->Set(false);
        AfterSet();
        if (Log)
            ShowResult(OvOperation::Set, OvErrorMessage(0));
        if (VarList().IsTable() && RefreshAfterSet)
            Get();
        return;
    }
    Req->SetAsync(
        this, [this](const OvSNMPError& r, OvSNMPVarList&) { SetCompleted(r); }, false);
}

void OvSNMPRequest2Controls::SetCompleted(const OvSNMPError& result) {
    if (result.Code != 0) {
        ReportSetError(result);
        return;
    }
    AfterSet();
    if (Log)
        ShowResult(OvOperation::Set, OvErrorMessage(0));
    if (VarList().IsTable() && RefreshAfterSet) {
        try {
            Get();
        } catch (const OvException& e) {
            ShowResult(OvOperation::Get, e.message());
        }
    }
}

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
    entry->Count = static_cast<int>(entry->Controls.size());
    Hook(*entry);
    EntryList.push_back(std::move(entry));
    return static_cast<int>(EntryList.size()) - 1;
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
    auto entry = std::make_unique<BindingEntry>();
    entry->Index = index;
    entry->Syntax = VarList().Item(index)->Syntax;
    entry->Bits.assign(bits.begin(), bits.begin() + static_cast<long>(checkBoxes.size()));
    for (QWidget* w : checkBoxes)
        entry->Controls.emplace_back(w);
    entry->Count = static_cast<int>(entry->Controls.size());
    Hook(*entry);
    EntryList.push_back(std::move(entry));
    return static_cast<int>(EntryList.size()) - 1;
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
    auto entry = std::make_unique<BindingEntry>();
    entry->Index = index;
    entry->Syntax = VarList().Item(index)->Syntax;
    for (QLineEdit* e : taken)
        if (const EditRule* rule = Rules->RuleFor(e))
            e->setToolTip(OvEditHint(entry->Syntax, *rule, taken.size() == 1));
    for (QLineEdit* e : taken)
        entry->Controls.emplace_back(e);
    entry->Count = static_cast<int>(entry->Controls.size());
    EntryList.push_back(std::move(entry));
    return static_cast<int>(EntryList.size()) - 1;
}

void OvSNMPRequest2Edits::Hook(BindingEntry& entry) {
    for (auto& c : entry.Controls) {
        if (auto* combo = qobject_cast<QComboBox*>(c.data()))
            connect(combo, &QComboBox::activated, this, [this] { Modified = true; });
        else if (auto* radio = qobject_cast<TRadioGroup*>(c.data()))
            connect(radio, &TRadioGroup::Clicked, this, [this] { Modified = true; });
        else if (auto* check = qobject_cast<QCheckBox*>(c.data()))
            connect(check, &QCheckBox::clicked, this, [this] { Modified = true; });
    }
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

void OvSNMPRequest2Edits::ShowRow() {
    if (View) {
        AppendRow();
        QCoreApplication::processEvents(); // stays responsive during long walks
        return;
    }
    ShowValues();
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
    for (auto& entryPtr : EntryList) {
        const BindingEntry& e = *entryPtr;
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
            continue; // the control is gone with its window
        if (auto* label = qobject_cast<QLabel*>(first)) {
            label->setText(text);
        } else if (auto* check = qobject_cast<QCheckBox*>(first)) {
            if (!e.Bits.empty()) {
                for (size_t i = 0; i < e.Controls.size(); ++i)
                    if (auto* box = qobject_cast<QCheckBox*>(e.Controls[i]))
                        box->setChecked(OvByteForm::BitSet(bytes, e.Bits[i]));
            } else if (!options) {
                if (e.Syntax != boolean && e.Syntax != bool8 && e.Syntax != bool16)
                    fail(OvCode::BadPartialSyntax);
                check->setChecked(text == QLatin1String("true"));
            } else {
                int pos = options->FindByLabel(text);
                if (pos < 0)
                    pos = options->FindByValue(text);
                check->setChecked(pos > 0);
            }
        } else if (auto* combo = qobject_cast<QComboBox*>(first)) {
            const bool prefixed = e.Controls.size() > 1;
            if (options && !prefixed)
                OvShowInComboBox(*options, combo, text);
            else
                combo->setCurrentIndex(options ? options->SelectionFor(text) : combo->findText(text));
            const int pos = combo->currentIndex();
            if (e.Controls.size() > 1 && e.Controls[1]) {
                QString rest = pos >= 0 ? text.mid(combo->itemText(pos).size()) : text;
                if (e.Syntax == objectid && !rest.isEmpty())
                    rest.remove(0, 1); // the separating dot
                if (auto* edit = qobject_cast<QLineEdit*>(e.Controls[1].data())) {
                    putText(edit, rest, *Rules);
                } else if (auto* other = qobject_cast<QLabel*>(e.Controls[1].data())) {
                    other->setText(rest);
                }
            }
        } else if (auto* radio = qobject_cast<TRadioGroup*>(first)) {
            if (options)
                OvShowInRadioGroup(*options, radio, text);
            else
                radio->SetItemIndex(radio->Items().indexOf(text));
        } else if (qobject_cast<QLineEdit*>(first)) {
            if (e.Controls.size() == 1) {
                putText(qobject_cast<QLineEdit*>(first), text, *Rules); // what the device showed is good
            } else {
                showInSplitEdits(e, text, bytes, *Rules);
            }
        } else {
            fail(OvCode::BadControlType);
        }
    }
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
        QByteArray part;
        bool partDone = false;
        QString text;
        if (auto* label = qobject_cast<QLabel*>(first)) {
            text = label->text();
        } else if (auto* check = qobject_cast<QCheckBox*>(first)) {
            if (!e.Bits.empty()) {
                for (size_t k = 0; k < e.Controls.size(); ++k)
                    if (auto* box = qobject_cast<QCheckBox*>(e.Controls[k]))
                        OvByteForm::SetBit(part, e.Bits[k], box->isChecked());
                partDone = true;
            } else if (options) {
                const int pos = check->isChecked() ? 1 : 0;
                text = pos < options->Count() ? options->At(pos).Label : QString();
            } else {
                if (e.Syntax != boolean && e.Syntax != bool8 && e.Syntax != bool16)
                    fail(OvCode::BadPartialSyntax);
                text = check->isChecked() ? QStringLiteral("true") : QStringLiteral("false");
            }
        } else if (auto* combo = qobject_cast<QComboBox*>(first)) {
            text = e.Controls.size() > 1 ? combo->currentText() : OvComboBoxText(combo);
            if (e.Controls.size() > 1 && e.Controls[1]) {
                QString rest;
                if (auto* edit = qobject_cast<QLineEdit*>(e.Controls[1].data()))
                    rest = edit->text();
                else if (auto* other = qobject_cast<QLabel*>(e.Controls[1].data()))
                    rest = other->text();
                text += (e.Syntax == objectid ? QStringLiteral(".") : QString()) + rest;
            }
        } else if (auto* radio = qobject_cast<TRadioGroup*>(first)) {
            text = OvRadioGroupText(radio);
        } else if (auto* edit = qobject_cast<QLineEdit*>(first)) {
            if (e.Controls.size() == 1) {
                text = edit->text();
                if (!holdsNumber(e.Syntax, text))
                    fail(OvCode::BadPartialValue);
            } else {
                text = textOfSplitEdits(e);
            }
        } else {
            continue; // other controls contribute nothing
        }
        if (!partDone) {
            if (options)
                text = options->LabelToValue(text);
            part = OvByteForm::FromText(e.Syntax, text);
        }
        OvByteForm::Splice(value, e.Offset, part);
    }
    if (bound) {
        QString text = OvByteForm::ToText(item.Syntax, value);
        item.Value = item.Options ? item.Options->ValueToLabel(text) : text;
    }
}
