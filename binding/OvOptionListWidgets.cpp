#include "binding/OvOptionListWidgets.h"

#include "binding/TRadioGroup.h"

#include <QComboBox>

namespace {

constexpr int kExtraRole = Qt::UserRole + 1; // marks the entry of a value without label

bool isAbsent(const QString& text) {
    return text.isEmpty() || text == QLatin1String("(NULL)");
}

} // namespace

void OvFillComboBox(const OvOptionList& options, QComboBox* combo) {
    combo->clear();
    combo->addItems(options.Labels());
    combo->setCurrentIndex(-1); // Qt selects the first item added: nobody chose it
}

void OvSelectInComboBox(const OvOptionList& options, QComboBox* combo, const QString& text) {
    combo->setCurrentIndex(options.SelectionFor(text));
}

void OvFillRadioGroup(const OvOptionList& options, TRadioGroup* group) {
    group->SetItems(options.Labels());
    group->SetItemIndex(-1);
}

void OvShowInComboBox(const OvOptionList& options, QComboBox* combo, const QString& text) {
    const int last = combo->count() - 1;
    if (last >= 0 && combo->itemData(last, kExtraRole).toBool())
        combo->removeItem(last);
    int pos = isAbsent(text) ? -1 : options.SelectionFor(text);
    if (pos < 0 && !isAbsent(text)) {
        combo->addItem(text);
        pos = combo->count() - 1;
        combo->setItemData(pos, true, kExtraRole);
    }
    combo->setCurrentIndex(pos);
}

void OvShowInRadioGroup(const OvOptionList& options, TRadioGroup* group, const QString& text) {
    int pos = isAbsent(text) ? -1 : options.SelectionFor(text);
    QStringList items = options.Labels();
    if (pos < 0 && !isAbsent(text)) {
        items << text;
        pos = static_cast<int>(items.size()) - 1;
    }
    if (group->Items() != items)
        group->SetItems(items);
    group->SetItemIndex(pos);
}

QString OvComboBoxText(const QComboBox* combo) {
    return combo->currentIndex() >= 0 ? combo->currentText() : QStringLiteral("(NULL)");
}

QString OvRadioGroupText(const TRadioGroup* group) {
    return group->ItemIndex() >= 0 ? group->SelectedText() : QStringLiteral("(NULL)");
}

void OvSelectInRadioGroup(const OvOptionList& options, TRadioGroup* group, const QString& text) {
    group->SetItemIndex(options.SelectionFor(text));
}
