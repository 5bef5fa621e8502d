#include "OvOptionListWidgets.h"

#include "OvControls.h"

#include <QComboBox>

void OvFillComboBox(const OvOptionList& options, QComboBox* combo) {
    combo->clear();
    combo->addItems(options.Labels());
}

void OvSelectInComboBox(const OvOptionList& options, QComboBox* combo, const QString& text) {
    combo->setCurrentIndex(options.SelectionFor(text));
}

void OvFillRadioGroup(const OvOptionList& options, TRadioGroup* group) {
    group->SetItems(options.Labels());
}

void OvSelectInRadioGroup(const OvOptionList& options, TRadioGroup* group, const QString& text) {
    group->SetItemIndex(options.SelectionFor(text));
}
