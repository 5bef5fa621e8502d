#include "binding/OvSNMPRequest2Controls.h"

#include "binding/TStatusPanel.h"
#include "binding/OvFeedback.h"
#include "errors/OvErrors.h"
#include "snmp/OvAgentRead.h"
#include "values/OvExpression.h"

#include <QLocale>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTime>
#include <utility>

OvSNMPRequest2Controls::OvSNMPRequest2Controls(QWidget* owner)
    : QObject(owner), Owner(owner), Req(std::make_unique<OvSNMPRequest>()) {}

OvSNMPRequest2Controls::~OvSNMPRequest2Controls() = default;

void OvSNMPRequest2Controls::SetLogTarget(QObject* target) {
    Log = target;
    WriteLog = nullptr;
    if (auto* memo = qobject_cast<QPlainTextEdit*>(target)) {
        WriteLog = [memo](const QString& shown, const QString&) {
            memo->appendPlainText(shown);
        };
    } else if (auto* panel = qobject_cast<TStatusPanel*>(target)) {
        WriteLog = [panel](const QString& shown, const QString& whole) {
            panel->setText(shown);
            panel->setToolTip(whole);
        };
    } else if (auto* bar = qobject_cast<QStatusBar*>(target)) {
        WriteLog = [bar](const QString& shown, const QString& whole) {
            bar->showMessage(shown);
            bar->setToolTip(whole);
        };
    }
}

void OvSNMPRequest2Controls::ShowResult(OvOperation operation, const QString& errorText) {
    if (!Log)
        return;
    QString line = operation == OvOperation::Get
                       ? QStringLiteral("Get: [ERROR] Request:[VARLIST]. Receive at [TIME].")
                       : QStringLiteral("Set: [ERROR] Request:[VARLIST]. Receive at [TIME].");
    if (VarList().Caption.isEmpty()) {
        const int from = line.indexOf(QLatin1String("[ERROR]")) + 7;
        const int to = line.indexOf(QLatin1String("[VARLIST]")) + 9;
        line.remove(from, to - from);
    } else {
        line = OvSubstitute(line, QStringLiteral("[VARLIST]"), VarList().Caption);
    }
    line = OvSubstitute(line, QStringLiteral("[ERROR]"), errorText);
    line = OvSubstitute(line, QStringLiteral("[TIME]"),
                        QLocale::c().toString(QTime::currentTime(), QStringLiteral("hh:mm:ss AP")));
    // An answer of any length must not widen a window or flood the log.
    const bool shortened = line.size() > ShownLineLength;
    if (WriteLog)
        WriteLog(shortened ? line.left(ShownLineLength) + QChar(0x2026) : line, shortened ? line : QString());
}

QString OvSNMPRequest2Controls::ObjectAt(int errorIndex, OvOperation operation) const {
    if (operation == OvOperation::Set)
        return errorIndex >= 1 && errorIndex <= static_cast<int>(Sent.size())
                   ? VarList().Item(Sent[static_cast<size_t>(errorIndex - 1)].Index)->Name
                   : QString();
    const int item = VarList().ReadItemOfBinding(errorIndex);
    return item >= 0 ? VarList().Item(item)->Name : QString();
}

QString OvSNMPRequest2Controls::FailureText(const OvSNMPError& result, OvOperation operation) const {
    QString text = result.Message;
    // An object the agent lacks is named, unless the message names it already.
    const QString object = ObjectAt(result.ErrorIndex, operation);
    if (result.Code == OvCode::NoSuchName && text == OvErrorMessage(OvCode::NoSuchName) && !object.isEmpty())
        text += QStringLiteral(" (") + object + QLatin1Char(')');
    // No answer is not a refusal: the write may have reached the device.
    if (result.Code == OvCode::Timeout && operation == OvOperation::Set)
        text += QStringLiteral(" The device may have applied it: Refresh shows what it holds");
    return text;
}

void OvSNMPRequest2Controls::Report(const OvSNMPError& result, OvOperation operation) {
    const QString text = FailureText(result, operation);
    if (Log) {
        ShowResult(operation, text);
        return;
    }
    OvFeedback::MessageBox(Owner ? Owner->window() : nullptr, OvFeedback::ProgramFileName(), text);
}

void OvSNMPRequest2Controls::ReportGetError(const OvSNMPError& result) {
    Report(result, OvOperation::Get);
}

void OvSNMPRequest2Controls::ReportSetError(const OvSNMPError& result) {
    Report(result, OvOperation::Set);
}

bool OvSNMPRequest2Controls::RowAccepted() {
    return Req->Accepts(RowFilter) && Req->IsValid();
}

void OvSNMPRequest2Controls::Get() {
    if (!FollowingSet)
        Refused.clear();
    BeforeGet();
    const OvListKind kind = VarList().ListKind;
    if (!Asynchronous) {
        if (kind == SVT_SV || kind == MVT_SV) {
            Req->Get(true);
            if (RowAccepted())
                ShowRow();
        } else {
            for (bool first = true; Req->Get(first); first = false)
                if (RowAccepted())
                    ShowRow();
        }
        FinishGet();
        return;
    }
    Req->GetAsync(
        this, [this](const OvSNMPError& r, OvSNMPVarList&) { GetCompleted(r); }, true);
}

bool OvSNMPRequest2Controls::GetOrLog() {
    try {
        Get();
        return true;
    } catch (const OvException& e) {
        ShowResult(OvOperation::Get, e.message());
        return false;
    }
}

void OvSNMPRequest2Controls::GetCompleted(const OvSNMPError& result) {
    if (result.Code != 0) {
        ReportGetError(result);
        Q_EMIT GetFinished(result.Code, result.Message);
        return;
    }
    const OvListKind kind = VarList().ListKind;
    try {
        if (kind == SVT_SV || kind == MVT_SV) {
            if (RowAccepted() && Req->Alive)
                ShowRow();
        } else if (!result.Done) {
            if (RowAccepted() && Req->Alive)
                ShowRow();
            Req->GetAsync(
                this, [this](const OvSNMPError& r, OvSNMPVarList&) { GetCompleted(r); }, false);
            return;
        }
    } catch (const OvException& e) {
        OvSNMPError shown = result;
        shown.Code = e.code();
        shown.Message = e.message();
        ReportGetError(shown);
        Q_EMIT GetFinished(shown.Code, shown.Message);
        return;
    }
    FinishGet();
    Q_EMIT GetFinished(0, result.Message);
}

QString OvSNMPRequest2Controls::GetNote() const {
    const int wrong = Req->WrongTypeCells();
    return wrong == 0 ? QString() : OvWrongTypeCellsText(wrong);
}

void OvSNMPRequest2Controls::FinishGet() {
    AfterGet();
    const QString note = GetNote();
    if (Log)
        ShowResult(OvOperation::Get,
                   OvErrorMessage(0) +
                       (note.isEmpty() ? QString() : QStringLiteral(" (") + note + QLatin1Char(')')));
}

void OvSNMPRequest2Controls::FinishSet() {
    AfterSet();
    if (Log)
        ShowResult(OvOperation::Set, OvErrorMessage(0));
}

void OvSNMPRequest2Controls::Set(bool refreshAfterSet, bool collectFromControls) {
    RefreshAfterSet = refreshAfterSet;
    BeforeSet();
    if (collectFromControls)
        CollectValues();
    Sent.clear();
    for (int i = 0; i < VarList().Count(); ++i)
        if (Req->Writes(i))
            Sent.push_back({i, VarList().Item(i)->Value});
    if (!Asynchronous) {
        Req->Set(false);
        FinishSet();
        if (RefreshesAfterSet())
            Get();
        return;
    }
    Req->SetAsync(
        this, [this](const OvSNMPError& r, OvSNMPVarList&) { SetCompleted(r); }, false);
    SetUnderWay = true;
}

void OvSNMPRequest2Controls::GetAfterSet() {
    if (SetUnderWay) {
        GetWhenSetAnswered = true;
        return;
    }
    GetOrLog();
}

void OvSNMPRequest2Controls::SetCompleted(const OvSNMPError& result) {
    SetUnderWay = false;
    const bool readAgain = std::exchange(GetWhenSetAnswered, false);
    if (result.Code != 0) {
        ReportSetError(result);
    } else {
        FinishSet();
    }
    if (!readAgain && !(result.Code == 0 && RefreshesAfterSet()))
        return;
    // What the device did not take stays as the user typed it, beside what it holds.
    Refused = result.Code != 0 ? Sent : std::vector<WrittenValue>();
    FollowingSet = true;
    GetOrLog();
    FollowingSet = false;
}
