#pragma once

#include "OvOptionList.h"

class QComboBox;
class TRadioGroup;

// Filling and selecting option-list controls: the items are the labels in list order;
// a text selects the entry with that label, else the one with that value, else none.
void OvFillComboBox(const OvOptionList& options, QComboBox* combo);
void OvSelectInComboBox(const OvOptionList& options, QComboBox* combo, const QString& text);
void OvFillRadioGroup(const OvOptionList& options, TRadioGroup* group);
void OvSelectInRadioGroup(const OvOptionList& options, TRadioGroup* group, const QString& text);
