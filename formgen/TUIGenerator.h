#pragma once

#include "catalogue/TUIItemInfo.h"

#include <QList>
#include <QPointer>
#include <QWidget>
#include <vector>

class OvSNMPRequest2Edits;

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
