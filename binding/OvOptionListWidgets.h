#pragma once

#include "values/OvOptionList.h"

class QComboBox;
class TRadioGroup;

// Filling and selecting option-list controls: the items are the labels in list order,
// none selected; a text selects the entry with that label, else the one with that value,
// else none.
void OvFillComboBox(const OvOptionList& options, QComboBox* combo);
void OvSelectInComboBox(const OvOptionList& options, QComboBox* combo, const QString& text);
void OvFillRadioGroup(const OvOptionList& options, TRadioGroup* group);
void OvSelectInRadioGroup(const OvOptionList& options, TRadioGroup* group, const QString& text);

// Shows a value: its entry when the list has one; a value the list does not know (a
// device number without a label) as an extra entry of its own, so the user sees it and
// it is written back unchanged; "(NULL)" or an empty text as no selection.
void OvShowInComboBox(const OvOptionList& options, QComboBox* combo, const QString& text);
void OvShowInRadioGroup(const OvOptionList& options, TRadioGroup* group, const QString& text);
// The value text a combo box or radio group holds; "(NULL)" when nothing is selected.
QString OvComboBoxText(const QComboBox* combo);
QString OvRadioGroupText(const TRadioGroup* group);
