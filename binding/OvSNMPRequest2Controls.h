#pragma once

#include "snmp/OvSNMPRequest.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

class QWidget;

// What a log line reports.
enum class OvOperation { Get, Set };

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
    // Get, but an error found before anything is sent (a bad address, say) goes to the log
    // line rather than to the caller; false then.
    bool GetOrLog();
    // Writes the controls (when collectFromControls) to the device.
    void Set(bool refreshAfterSet, bool collectFromControls);
    // Reads the device once the write under way has its answer or its time-out (at once
    // when none is under way), so that the log follows the order of events and a resent
    // write is not read back before the device has it.
    void GetAfterSet();

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
    // A value a write carried: the item and its text as written.
    struct WrittenValue {
        int Index = 0;
        QString Text;
    };
    // What the write that the read under way follows carried, when the device did not
    // take it (refused, or no answer): the read keeps those values as typed.
    const std::vector<WrittenValue>& NotTaken() const { return Refused; }
    // Words the Get's log line adds after "Ok!" (what the read left as it was), or empty.
    virtual QString GetNote() const;
    // A read of the device started after a write, in its place (GetAfterSet).
    bool ReadFollowsSet() const { return FollowingSet; }

    QPointer<QWidget> Owner;

private:
    void Report(const OvSNMPError& result, OvOperation operation);
    void GetCompleted(const OvSNMPError& result);
    void SetCompleted(const OvSNMPError& result);
    void FinishGet();
    void FinishSet();
    // A table is read again after a write that asked for it.
    bool RefreshesAfterSet() { return VarList().IsTable() && RefreshAfterSet; }
    bool RowAccepted();
    // The log's message for a failed operation: the code's, with what it means here.
    QString FailureText(const OvSNMPError& result, OvOperation operation) const;
    // The name of the object an agent's error index points at, or empty.
    QString ObjectAt(int errorIndex, OvOperation operation) const;

    QPointer<QObject> Log;
    std::vector<WrittenValue> Sent;    // what the last write carried
    std::vector<WrittenValue> Refused; // what it carried, for the read after it failed
    bool SetUnderWay = false;
    bool GetWhenSetAnswered = false;
    bool FollowingSet = false;
    // Writes a line into the log target: shown, and the whole line when it was shortened.
    std::function<void(const QString& shown, const QString& whole)> WriteLog;
    // Destroyed last, after every control reference above.
    std::unique_ptr<OvSNMPRequest> Req;
};
