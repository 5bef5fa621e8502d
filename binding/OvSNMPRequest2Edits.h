#pragma once

#include "binding/OvEditConstraint.h"
#include "snmp/OvSNMPRequest.h"

#include <QObject>
#include <QPointer>
#include <memory>
#include <vector>

class QLineEdit;
#include <QTreeWidget>

class QWidget;

// What a log line reports.
enum class OvOperation { Get, Set };

// One bind call: which part of which item the controls show.
struct BindingEntry {
    int Index = 0;  // item index in the variable list
    int Offset = 0; // byte offset of the part; 0 for a whole value
    int Syntax = 0; // syntax of the part
    const OvOptionList* Options = nullptr;
    int Count = 0;
    std::vector<int> Bits; // bit numbers of check boxes bound to single bits, or empty
    std::vector<QPointer<QWidget>> Controls;
};

// The request object of a window, bound to Qt controls: shows a variable list, reads the
// controls back, and writes one Get or Set line into the window's log target.
class OvSNMPRequest2Controls : public QObject {
    Q_OBJECT
public:
    explicit OvSNMPRequest2Controls(QWidget* owner);
    ~OvSNMPRequest2Controls() override;

    virtual void BeforeGet() {}
    virtual void BeforeSet() {}
    virtual void ShowRow() = 0;
    virtual void CollectValues() {}
    virtual void ReportGetError(const OvSNMPError& result);
    virtual void ReportSetError(const OvSNMPError& result);
    virtual void AfterGet() {}
    virtual void AfterSet() {}

    // The log line of an operation with its error text ("Ok!" on success).
    void ShowResult(OvOperation operation, const QString& errorText);
    // A memo (QPlainTextEdit), a status bar or a status panel; anything else gets nothing.
    void SetLogTarget(QObject* target);
    QObject* LogTarget() const { return Log; }

    // Reads the device into the controls.
    void Get();
    // Writes the controls (when collectFromControls) to the device.
    void Set(bool refreshAfterSet, bool collectFromControls);

    OvSNMPRequest& Request() { return *Req; }
    OvSNMPVarList& VarList() { return Req->VarList; }
    const OvSNMPVarList& VarList() const { return Req->VarList; }

    // Longest log line shown whole; a longer one is shortened, the whole in a tooltip.
    static constexpr int ShownLineLength = 300;

    bool Asynchronous = true;
    bool RefreshAfterSet = true;
    QString RowFilter;

Q_SIGNALS:
    // An asynchronous Get has ended: code 0, or the failure (already shown in the log).
    void GetFinished(int code, const QString& message);

protected:
    QPointer<QWidget> Owner;

private:
    void Report(const OvSNMPError& result, OvOperation operation);
    void GetCompleted(const OvSNMPError& result);
    void SetCompleted(const OvSNMPError& result);
    void FinishGet();
    bool RowAccepted();

    QPointer<QObject> Log;
    // Destroyed last, after every control reference above.
    std::unique_ptr<OvSNMPRequest> Req;
};

class OvSNMPRequest2Edits : public OvSNMPRequest2Controls {
    Q_OBJECT
public:
    explicit OvSNMPRequest2Edits(QWidget* owner);
    ~OvSNMPRequest2Edits() override;

    void BeforeGet() override;
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

private:
    void Hook(BindingEntry& entry);
    // Reads the controls of item i into its value; raises -517 and the like.
    void CollectItem(int i);
    void BuildColumns();
    void AppendRow();
    void CopySelectedRow();
    void SetControlsEnabled(bool enabled);
    std::vector<int> ColumnOrder() const;

    QPointer<QTreeWidget> View;
    std::vector<std::unique_ptr<BindingEntry>> EntryList;
    std::unique_ptr<OvEditConstraint> Rules;
};
