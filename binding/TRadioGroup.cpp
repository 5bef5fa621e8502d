#include "binding/TRadioGroup.h"

#include <QRadioButton>
#include <QVBoxLayout>

TRadioGroup::TRadioGroup(QWidget* parent)
    : QGroupBox(parent), Buttons(new QButtonGroup(this)), Column(new QVBoxLayout(this)) {
    Buttons->setExclusive(true);
    connect(Buttons, &QButtonGroup::idClicked, this, [this](int) { Q_EMIT Clicked(); });
}

void TRadioGroup::SetItems(const QStringList& items) {
    for (QAbstractButton* b : Buttons->buttons()) {
        Buttons->removeButton(b);
        delete b;
    }
    ItemTexts = items;
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        Buttons->addButton(button, i);
        Column->addWidget(button);
    }
}

int TRadioGroup::ItemIndex() const {
    return Buttons->checkedId();
}

void TRadioGroup::SetItemIndex(int index) {
    if (QAbstractButton* b = Buttons->button(index)) {
        b->setChecked(true);
        return;
    }
    // No selection: an exclusive group cannot uncheck its last button directly.
    Buttons->setExclusive(false);
    for (QAbstractButton* b : Buttons->buttons())
        b->setChecked(false);
    Buttons->setExclusive(true);
}

QString TRadioGroup::SelectedText() const {
    const int i = ItemIndex();
    return i >= 0 && i < ItemTexts.size() ? ItemTexts[i] : QString();
}
