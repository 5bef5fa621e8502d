#pragma once

#include "snmp/OvSNMPRequest.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

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
    void FinishSet();
    // A table is read again after a write that asked for it.
    bool RefreshesAfterSet() { return VarList().IsTable() && RefreshAfterSet; }
    bool RowAccepted();

    QPointer<QObject> Log;
    // Writes a line into the log target: shown, and the whole line when it was shortened.
    std::function<void(const QString& shown, const QString& whole)> WriteLog;
    // Destroyed last, after every control reference above.
    std::unique_ptr<OvSNMPRequest> Req;
};
