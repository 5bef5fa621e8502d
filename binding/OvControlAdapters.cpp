#include "binding/OvControlAdapters.h"

#include "binding/OvEditConstraint.h"
#include "binding/OvOptionListWidgets.h"
#include "binding/OvSNMPRequest2Edits.h"
#include "binding/TRadioGroup.h"
#include "errors/OvErrors.h"
#include "values/OvByteForm.h"
#include "values/OvDateTime.h"
#include "values/OvNumbers.h"
#include "values/OvSyntaxText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>

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

// Typing into an edit, clearing it included (not a text the program puts there).
void hookEdit(QWidget* control, QObject* context, const std::function<void()>& modified) {
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        QObject::connect(edit, &QLineEdit::textEdited, context, modified);
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
        if (e.Controls.size() == 1)
            putText(static_cast<QLineEdit*>(e.Controls.front().data()), text,
                    rules); // what the device showed is good
        else
            showInSplitEdits(e, text, bytes, rules);
    }
    Part Collect(const BindingEntry& e, const OvOptionList*) const override {
        if (e.Controls.size() > 1)
            return {true, false, textOfSplitEdits(e), {}};
        const QString text = static_cast<QLineEdit*>(e.Controls.front().data())->text();
        if (!holdsNumber(e.Syntax, text))
            fail(OvCode::BadPartialValue);
        return {true, false, text, {}};
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
