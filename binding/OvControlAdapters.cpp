#include "binding/OvControlAdapters.h"

#include "binding/OvEditConstraint.h"
#include "binding/OvOptionListWidgets.h"
#include "binding/OvSNMPRequest2Edits.h"
#include "binding/TRadioGroup.h"
#include "binding/TTextHexSwitch.h"
#include "errors/OvErrors.h"
#include "values/OvByteForm.h"
#include "values/OvSyntax.h"
#include "values/OvSyntaxCheck.h"
#include "values/OvSyntaxFields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {

using namespace OvSyntax;

[[noreturn]] void fail(int code) {
    throw OvException(code);
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

// Typing into an edit, clearing it included (not a text the program puts there).
void hookEdit(QWidget* control, QObject* context, const std::function<void()>& modified) {
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        QObject::connect(edit, &QLineEdit::textEdited, context, modified);
}

// The text that a set of split edits spells, by the entry's syntax.
QString textOfSplitEdits(const BindingEntry& e) {
    const int count = OvSyntaxFields::Count(e.Syntax);
    if (count == 0)
        return editAt(e, 0) ? editAt(e, 0)->text() : QString();
    const int n = count < 0 ? static_cast<int>(e.Controls.size()) : count;
    needEdits(e, n);
    QStringList fields;
    for (int i = 0; i < n; ++i)
        fields << editAt(e, i)->text();
    return OvSyntaxFields::Join(e.Syntax, fields);
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
    const int count = OvSyntaxFields::Count(e.Syntax);
    if (count > 0)
        needEdits(e, count); // before the value is read, absent or not
    const QStringList fields = OvSyntaxFields::Split(e.Syntax, text, bytes);
    if (count <= 0)
        needEdits(e, count == 0 ? 1 : static_cast<int>(fields.size()));
    for (int i = 0; i < fields.size(); ++i)
        putText(editAt(e, i), fields[i], rules);
}

bool isBoolean(int syntax) {
    return syntax == boolean || syntax == bool8 || syntax == bool16;
}

class LabelAdapter : public OvControlAdapter {
public:
    void Show(const BindingEntry& e, const QString& text, const QByteArray&, const OvOptionList*,
              OvEditConstraint&) const override {
        static_cast<QLabel*>(e.Controls.front().data())->setText(text);
    }
    Part Collect(const BindingEntry& e, const OvOptionList*) const override {
        return {true, false, static_cast<QLabel*>(e.Controls.front().data())->text(), {}};
    }
};

// A check box for a boolean, for the first two options of a list, or one check box per bit.
class CheckBoxAdapter : public OvControlAdapter {
public:
    void Show(const BindingEntry& e, const QString& text, const QByteArray& bytes,
              const OvOptionList* options, OvEditConstraint&) const override {
        auto* check = static_cast<QCheckBox*>(e.Controls.front().data());
        if (!e.Bits.empty()) {
            for (size_t i = 0; i < e.Controls.size(); ++i)
                if (auto* box = qobject_cast<QCheckBox*>(e.Controls[i]))
                    box->setChecked(OvByteForm::BitSet(bytes, e.Bits[i]));
        } else if (!options) {
            if (!isBoolean(e.Syntax))
                fail(OvCode::BadPartialSyntax);
            check->setChecked(text == QLatin1String("true"));
        } else {
            int pos = options->FindByLabel(text);
            if (pos < 0)
                pos = options->FindByValue(text);
            check->setChecked(pos > 0);
        }
    }
    Part Collect(const BindingEntry& e, const OvOptionList* options) const override {
        auto* check = static_cast<QCheckBox*>(e.Controls.front().data());
        Part part;
        part.Given = true;
        if (!e.Bits.empty()) {
            part.Raw = true;
            for (size_t k = 0; k < e.Controls.size(); ++k)
                if (auto* box = qobject_cast<QCheckBox*>(e.Controls[k]))
                    OvByteForm::SetBit(part.Bytes, e.Bits[k], box->isChecked());
        } else if (options) {
            const int pos = check->isChecked() ? 1 : 0;
            part.Text = pos < options->Count() ? options->At(pos).Label : QString();
        } else {
            if (!isBoolean(e.Syntax))
                fail(OvCode::BadPartialSyntax);
            part.Text = check->isChecked() ? QStringLiteral("true") : QStringLiteral("false");
        }
        return part;
    }
    void Hook(QWidget* control, QObject* context, const std::function<void()>& modified) const override {
        if (auto* check = qobject_cast<QCheckBox*>(control))
            QObject::connect(check, &QCheckBox::clicked, context, modified);
    }
};

// A combo box of an option list; with a second control, the list gives the front of the
// value (a prefix) and the second control the rest.
class ComboBoxAdapter : public OvControlAdapter {
public:
    void Show(const BindingEntry& e, const QString& text, const QByteArray&, const OvOptionList* options,
              OvEditConstraint& rules) const override {
        auto* combo = static_cast<QComboBox*>(e.Controls.front().data());
        const bool prefixed = e.Controls.size() > 1;
        if (options && !prefixed)
            OvShowInComboBox(*options, combo, text);
        else
            combo->setCurrentIndex(options ? options->SelectionFor(text) : combo->findText(text));
        if (!prefixed || !e.Controls[1])
            return;
        const int pos = combo->currentIndex();
        QString rest = pos >= 0 ? text.mid(combo->itemText(pos).size()) : text;
        if (e.Syntax == objectid && !rest.isEmpty())
            rest.remove(0, 1); // the separating dot
        if (auto* edit = qobject_cast<QLineEdit*>(e.Controls[1].data()))
            putText(edit, rest, rules);
        else if (auto* other = qobject_cast<QLabel*>(e.Controls[1].data()))
            other->setText(rest);
    }
    Part Collect(const BindingEntry& e, const OvOptionList*) const override {
        auto* combo = static_cast<QComboBox*>(e.Controls.front().data());
        if (e.Controls.size() == 1)
            return {true, false, OvComboBoxText(combo), {}};
        QString rest;
        if (auto* edit = qobject_cast<QLineEdit*>(e.Controls[1].data()))
            rest = edit->text();
        else if (auto* other = qobject_cast<QLabel*>(e.Controls[1].data()))
            rest = other->text();
        return {true,
                false,
                combo->currentText() + (e.Syntax == objectid ? QStringLiteral(".") : QString()) + rest,
                {}};
    }
    void Hook(QWidget* control, QObject* context, const std::function<void()>& modified) const override {
        if (auto* combo = qobject_cast<QComboBox*>(control))
            QObject::connect(combo, &QComboBox::activated, context, modified);
        else
            hookEdit(control, context, modified); // the rest after a prefix
    }
};

class RadioGroupAdapter : public OvControlAdapter {
public:
    void Show(const BindingEntry& e, const QString& text, const QByteArray&, const OvOptionList* options,
              OvEditConstraint&) const override {
        auto* radio = static_cast<TRadioGroup*>(e.Controls.front().data());
        if (options)
            OvShowInRadioGroup(*options, radio, text);
        else
            radio->SetItemIndex(radio->Items().indexOf(text));
    }
    Part Collect(const BindingEntry& e, const OvOptionList*) const override {
        return {true, false, OvRadioGroupText(static_cast<TRadioGroup*>(e.Controls.front().data())), {}};
    }
    void Hook(QWidget* control, QObject* context, const std::function<void()>& modified) const override {
        if (auto* radio = qobject_cast<TRadioGroup*>(control))
            QObject::connect(radio, &TRadioGroup::Clicked, context, modified);
    }
};

// One edit for the whole value, or one edit per field of it (address octets, MAC
// octets, date and time fields...).
class EditAdapter : public OvControlAdapter {
public:
    void Show(const BindingEntry& e, const QString& text, const QByteArray& bytes, const OvOptionList*,
              OvEditConstraint& rules) const override {
        if (e.Controls.size() > 1) {
            showInSplitEdits(e, text, bytes, rules);
            return;
        }
        auto* edit = static_cast<QLineEdit*>(e.Controls.front().data());
        TTextHexSwitch* form = TTextHexSwitch::Of(edit);
        putText(edit, form ? form->Present(bytes) : text, rules); // what the device showed is good
    }
    Part Collect(const BindingEntry& e, const OvOptionList*) const override {
        if (e.Controls.size() > 1)
            return {true, false, textOfSplitEdits(e), {}};
        const auto* edit = static_cast<QLineEdit*>(e.Controls.front().data());
        if (const TTextHexSwitch* form = TTextHexSwitch::Of(edit)) {
            Part part{true, true, {}, {}};
            if (!form->Octets(edit->text(), part.Bytes))
                fail(OvCode::BadPartialValue);
            return part;
        }
        if (!OvHoldsValue(e.Syntax, edit->text()))
            fail(OvCode::BadPartialValue);
        return {true, false, edit->text(), {}};
    }
    void Hook(QWidget* control, QObject* context, const std::function<void()>& modified) const override {
        hookEdit(control, context, modified);
    }
};

// Any other control: showing a value in it is an error, and it gives nothing back.
class UnsupportedAdapter : public OvControlAdapter {
public:
    void Show(const BindingEntry&, const QString&, const QByteArray&, const OvOptionList*,
              OvEditConstraint&) const override {
        fail(OvCode::BadControlType);
    }
    Part Collect(const BindingEntry&, const OvOptionList*) const override { return {}; }
};

} // namespace

void OvControlAdapter::Hook(QWidget*, QObject*, const std::function<void()>&) const {}

std::shared_ptr<const OvControlAdapter> OvControlAdapter::For(const QWidget* first) {
    if (qobject_cast<const QLabel*>(first))
        return std::make_shared<LabelAdapter>();
    if (qobject_cast<const QCheckBox*>(first))
        return std::make_shared<CheckBoxAdapter>();
    if (qobject_cast<const QComboBox*>(first))
        return std::make_shared<ComboBoxAdapter>();
    if (qobject_cast<const TRadioGroup*>(first))
        return std::make_shared<RadioGroupAdapter>();
    if (qobject_cast<const QLineEdit*>(first))
        return std::make_shared<EditAdapter>();
    return std::make_shared<UnsupportedAdapter>();
}
