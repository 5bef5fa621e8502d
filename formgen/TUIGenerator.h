#pragma once

#include "OvSNMPVar.h"

#include <QList>
#include <QPointer>
#include <QWidget>
#include <vector>

class QCheckBox;
class OvSNMPRequest2Edits;

// Control kinds of a layout row.
enum TUIKind { ukNone = 0, ukEdit = 1, ukComboBox = 2, ukMemo = 3, ukStaticText = 4, ukListView = 5 };

// One row of a layout table: which control shows which catalogue row. Tables are
// constant and end with an all-zero row; a window works on its own copy, in which the
// generator fills Control and CheckBox.
struct TUIItemInfo {
    int Kind;
    const char* Format;
    const TSNMPVarInfo* VarInfo;
    int Reserved;
    QWidget* Control;
    QCheckBox* CheckBox;
};

// A window's own copy of a layout table, terminator included.
std::vector<TUIItemInfo> OvCopyLayout(const TUIItemInfo* table);

// Creates a check box, a label and a value control per row (a memo or list view alone).
class TUIGenerator {
public:
    TUIGenerator(TUIItemInfo* table, QWidget* owner);
    virtual ~TUIGenerator() = default;

    TUIItemInfo* Table;
    QPointer<QWidget> Owner;
    int CheckBoxWidth = 20;
    // The created controls in row order: check box, label, value control per row.
    QList<QWidget*> Controls;

private:
    void Generate();
};

// Binds each row's value control to its item of the window's request object, and carries
// the command-button actions.
class TLayoutAdapter {
public:
    virtual ~TLayoutAdapter() = default;
};

class TSNMPLayoutAdapter : public TLayoutAdapter {
public:
    TSNMPLayoutAdapter(TUIItemInfo* table, OvSNMPRequest2Edits* request);

    // Refresh: read the device; a failure becomes a log line.
    void Refresh();
    // Set: validate and collect every row, write the ticked ones in one request, read back.
    void SetChecked();
    void SelectAll();
    void SelectNone();

    TUIItemInfo* Table;
    OvSNMPRequest2Edits* Request;
    QPointer<QWidget> Memo;

private:
    void BindRows();
};
