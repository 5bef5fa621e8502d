#pragma once

#include "snmp/OvSNMPVar.h"

class QCheckBox;
class QWidget;

// Control kinds of a layout row.
enum TUIKind { ukNone = 0, ukEdit = 1, ukComboBox = 2, ukMemo = 3, ukStaticText = 4, ukListView = 5 };

// One row of a layout table: which control shows which catalogue row, and the edit rule
// (format) of an edit. Plain data: tables are constant and end with an all-zero row; a
// window works on its own copy, in which the generator fills Control and CheckBox.
struct TUIItemInfo {
    int Kind;
    const char* Format;
    const TSNMPVarInfo* VarInfo;
    int ValueChars; // characters an edit's value needs room for; 0 for the usual width
    QWidget* Control;
    QCheckBox* CheckBox;
};
