#pragma once

#include "binding/OvControlAdapters.h"
#include "binding/OvEditConstraint.h"
#include "binding/OvSNMPRequest2Controls.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <memory>
#include <vector>

#include <QTreeWidget>

class QLineEdit;
class QWidget;

// One bind call: which part of which item the controls show.
struct BindingEntry {
    int Index = 0;  // item index in the variable list
    int Offset = 0; // byte offset of the part; 0 for a whole value
    int Syntax = 0; // syntax of the part
    const OvOptionList* Options = nullptr;
    int Count = 0;
    std::vector<int> Bits; // bit numbers of check boxes bound to single bits, or empty
    std::vector<QPointer<QWidget>> Controls;
    std::shared_ptr<const OvControlAdapter> Adapter; // by the kind of the first control
    // The controls show a value: one a read or a selected list row put there, or one the
    // user gave. Until then there is nothing to write.
    bool HoldsValue = false;
    // The user changed the controls after the read under way was sent (or, for the read
    // that follows a write, after the write was sent): the answer leaves them as they are.
    bool ChangedSinceRead = false;
};

class OvSNMPRequest2Edits : public OvSNMPRequest2Controls {
    Q_OBJECT
public:
    explicit OvSNMPRequest2Edits(QWidget* owner);
    ~OvSNMPRequest2Edits() override;

    void BeforeGet() override;
    void BeforeSet() override;
    void ShowRow() override;
    void CollectValues() override;
    void AfterGet() override;
    virtual void RowSelected(QTreeWidgetItem* item, bool selected);

    // Binds controls to item index; returns the entry's position. Raises -519 for a
    // combo box or radio group without option list, -521 for a prefix list without
    // second control.
    int Bind(int index, int offset, int syntax, const OvOptionList* options, QWidget* control,
             QWidget* second = nullptr);
    int BindControl(int index, QWidget* control);
    int BindComboBox(int index, QWidget* combo);
    // Binds check boxes to single bits of an item (SNMP BITS order).
    int BindBits(int index, const std::vector<QWidget*>& checkBoxes, const std::vector<int>& bits);
    // One edit per format specifier of the format text.
    int BindEdit(int index, const QString& formats, const std::vector<QLineEdit*>& edits);
    void BindListView(QTreeWidget* view, bool disableUntilSelected);

    // Shows every item's value in its controls.
    void ShowValues();
    // Reads the controls into the values of the writable items (the Set's collection).
    void CollectFromControls();

    const std::vector<std::unique_ptr<BindingEntry>>& Entries() const { return EntryList; }
    OvEditConstraint& Constraints() { return *Rules; }
    QTreeWidget* ListView() const { return View; }

    bool Modified = false;
    bool DisableUntilSelected = true;

protected:
    QString GetNote() const override;

private:
    // Chooses the entry's adapter and follows the user's changes of its controls.
    // An entry for item index with its syntax; Add counts its controls, hooks and keeps it.
    std::unique_ptr<BindingEntry> NewEntry(int index);
    int Add(std::unique_ptr<BindingEntry> entry);
    void Hook(BindingEntry& entry);
    // Reads the controls of item i into its value; raises -517 and the like.
    void CollectItem(int i);
    // Shows the entry's part of its item's value.
    void ShowEntry(BindingEntry& e);
    // Shows a read's answer, except in controls the user changed meanwhile and in those
    // of a write the device did not take; notes which.
    void ShowReadValues();
    void BuildColumns();
    void AppendRow();
    void CopySelectedRow();
    void SetControlsEnabled(bool enabled);
    std::vector<int> ColumnOrder() const;

    QPointer<QTreeWidget> View;
    std::vector<std::unique_ptr<BindingEntry>> EntryList;
    std::unique_ptr<OvEditConstraint> Rules;
    QStringList KeptTyped;   // objects whose controls the last read left as the user changed them
    QStringList KeptRefused; // "NAME kept as typed X; the device holds Y"
};
