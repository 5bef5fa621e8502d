#include "formgen/TUIGenerator.h"

#include "binding/TStaticText.h"
#include "binding/OvSNMPRequest2Edits.h"
#include "errors/OvErrors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTreeWidget>

std::vector<TUIItemInfo> OvCopyLayout(const TUIItemInfo* table) {
    std::vector<TUIItemInfo> copy;
    for (const TUIItemInfo* row = table; row && row->Kind != ukNone; ++row)
        copy.push_back(*row);
    copy.push_back(TUIItemInfo{ukNone, nullptr, nullptr, 0, nullptr, nullptr});
    return copy;
}

TUIGenerator::TUIGenerator(TUIItemInfo* table, QWidget* owner) : Table(table), Owner(owner) {
    Generate();
}

void TUIGenerator::Generate() {
    for (TUIItemInfo* row = Table; row && row->VarInfo; ++row) {
        const int access = row->VarInfo->Access;
        auto makeCheckAndLabel = [this, row](bool checked) {
            auto* check = new QCheckBox(Owner);
            check->resize(CheckBoxWidth, check->sizeHint().height());
            check->setChecked(checked);
            row->CheckBox = check;
            Controls.append(check);
            auto* label = new QLabel(QString::fromUtf8(row->VarInfo->Name), Owner);
            label->adjustSize(); // automatic sizing
            Controls.append(label);
            return check;
        };
        switch (row->Kind) {
        case ukEdit:
        case ukComboBox: {
            QCheckBox* check = makeCheckAndLabel(true);
            QWidget* value = row->Kind == ukEdit ? static_cast<QWidget*>(new QLineEdit(Owner))
                                                 : static_cast<QWidget*>(new QComboBox(Owner));
            value->resize(value->sizeHint());
            if (row->ValueChars > 0) { // room for that many characters of hex octets: "4C 61 62"
                QString octets(row->ValueChars, QLatin1Char('D'));
                for (int blank = 2; blank < octets.size(); blank += 3)
                    octets[blank] = QLatin1Char(' ');
                value->setMinimumWidth(value->fontMetrics().horizontalAdvance(octets) + 12);
            }
            row->Control = value;
            if (access == OvAccess::readonly || access == OvAccess::notaccess) {
                check->setEnabled(false); // stays checked
                value->setEnabled(false);
            }
            break;
        }
        case ukStaticText: {
            QCheckBox* check = makeCheckAndLabel(false);
            if (access == OvAccess::readonly)
                check->setEnabled(false);
            auto* text = new TStaticText(Owner);
            text->setText(QStringLiteral("          "));
            text->adjustSize();
            row->Control = text;
            break;
        }
        case ukMemo:
            row->Control = new QPlainTextEdit(Owner);
            break;
        case ukListView:
            row->Control = new QTreeWidget(Owner);
            break;
        default:
            break;
        }
        if (row->Control)
            Controls.append(row->Control);
    }
}

TSNMPLayoutAdapter::TSNMPLayoutAdapter(TUIItemInfo* table, OvSNMPRequest2Edits* request)
    : Table(table), Request(request) {
    BindRows();
}

void TSNMPLayoutAdapter::BindRows() {
    int i = 0;
    for (TUIItemInfo* row = Table; row && row->Kind != ukNone; ++row, ++i) {
        switch (row->Kind) {
        case ukEdit:
            Request->BindEdit(i, QString::fromUtf8(row->Format ? row->Format : ""),
                              {qobject_cast<QLineEdit*>(row->Control)});
            break;
        case ukComboBox:
            Request->BindComboBox(i, row->Control);
            break;
        case ukMemo:
            Request->SetLogTarget(row->Control);
            break;
        case ukStaticText:
            Request->BindControl(i, row->Control);
            break;
        case ukListView:
            Request->BindListView(qobject_cast<QTreeWidget*>(row->Control), true);
            break;
        default:
            break;
        }
    }
}

void TSNMPLayoutAdapter::Refresh() {
    try {
        Request->Get();
    } catch (const OvException& e) {
        Request->ShowResult(OvOperation::Get, e.message());
    }
}

void TSNMPLayoutAdapter::SetChecked() {
    // Every edit is checked first, ticked or not: a bad value anywhere stops the write.
    if (!Request->Constraints().ValidateAll())
        return;
    OvSNMPVarList& list = Request->VarList();
    std::vector<int> excluded;
    try {
        // Unticked rows are marked first: what they hold cannot stop the write.
        int i = 0;
        for (TUIItemInfo* row = Table; row && row->Kind != ukNone; ++row, ++i) {
            if (i >= list.Count())
                break;
            if (row->CheckBox && !row->CheckBox->isChecked()) {
                list.Item(i)->Access |= OvAccess::invalid;
                excluded.push_back(i);
            }
        }
        Request->CollectValues();
        Request->Set(false, false);
    } catch (const OvException& e) {
        for (int i : excluded)
            list.Item(i)->Access &= ~OvAccess::invalid;
        Request->ShowResult(OvOperation::Set, e.message());
        return;
    }
    // The request has fixed what it sends; the rows count again for what follows.
    for (int i : excluded)
        list.Item(i)->Access &= ~OvAccess::invalid;
    Request->GetAfterSet();
}

void TSNMPLayoutAdapter::SelectAll() {
    for (TUIItemInfo* row = Table; row && row->VarInfo; ++row)
        if (row->CheckBox)
            row->CheckBox->setChecked(row->VarInfo->Access != OvAccess::readonly);
}

void TSNMPLayoutAdapter::SelectNone() {
    for (TUIItemInfo* row = Table; row && row->Kind != ukNone; ++row)
        if (row->CheckBox)
            row->CheckBox->setChecked(false);
}
