#include "configtool/OvDeviceJob.h"

#include "catalogue/OvCatalogue.h"
#include "configtool/OvJournal.h"
#include "configtool/OvRestoreCheck.h"
#include "configtool/OvRunReport.h"
#include "errors/OvErrors.h"
#include "snmp/OvSNMPRequest.h"
#include "snmp/OvSNMPEngine.h"
#include "snmp/TSNMPSession.h"
#include "values/OvSaveFile.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString titleOf(int group) {
    return QLatin1String(ConfigGroups[group].Title);
}

QString joinedOrNone(const QStringList& list) {
    return list.isEmpty() ? QStringLiteral("none") : list.join(QStringLiteral(", "));
}

} // namespace

OvDeviceJob::OvDeviceJob(const OvConfigOptions& options, const QString& address,
                         const OvConfigDocument* saved, OvJournal* journal, QObject* parent)
    : QObject(parent), Address(address), Label(options.LabelOf(address)), Options(options), Saved(saved),
      Target(options.TargetFor(address)), Journal(journal),
      Reader(Target, this, [this](std::function<void()> step) { Later(std::move(step)); }) {}

OvDeviceJob::~OvDeviceJob() = default;

void OvDeviceJob::Later(std::function<void()> step) {
    // Queued, so that no request is replaced inside its own completion.
    QMetaObject::invokeMethod(
        this,
        [this, step = std::move(step)] {
            if (!Ended)
                step();
        },
        Qt::QueuedConnection);
}

void OvDeviceJob::Start() {
    // The device's session opens with the first request and keeps this timing to its end.
    const OvTiming timing = Options.TimingFor(Address);
    TSNMPSession::Engine()->SetTiming(timing.TimeoutMs, timing.Retries);
    if (!Ended)
        Reader.Start(
            &Current, [this] { ReadDone(); },
            [this](const QString& what, const QString& message) { ReadFailed(what, message); });
}

void OvDeviceJob::Abandon() {
    if (Ended)
        return;
    // Answers still on their way are not waited for when the job goes.
    Reader.Abandon();
    if (Request)
        Request->LeaveOutstanding();
    if (!SetSent) {
        Fail(QStringLiteral("stopped before anything was written"));
    } else if (static_cast<size_t>(Written.size()) == Restore.Groups.size()) {
        Finish(QStringLiteral("written: all groups; stopped before the read-back ended"), OvOutcome::Unknown);
    } else {
        const int group = Restore.Groups[static_cast<size_t>(Written.size())];
        if (Journal && group != JournaledUnknown)
            Journaled(group, Restore.ObjectNames(group), QStringLiteral("unknown"));
        StopWriting(QStringLiteral("stopped: may have been written: %1").arg(titleOf(group)),
                    OvOutcome::Unknown, group);
    }
}

void OvDeviceJob::ReadFailed(const QString& what, const QString& message) {
    Fail(QStringLiteral("error reading %1: %2").arg(what, message));
}

void OvDeviceJob::ReadBackFailed(const QString& what, const QString& message) {
    Finish(QStringLiteral("written: all groups; read-back failed: error reading %1: %2").arg(what, message),
           OvOutcome::Unknown);
}

void OvDeviceJob::ReadDone() {
    switch (Options.Cmd) {
    case OvConfigOptions::Command::Backup:
        Backup();
        break;
    case OvConfigOptions::Command::Diff:
        Diff();
        break;
    default:
        Plan();
        break;
    }
}

QString OvDeviceJob::CurrentValueNamed(const char* name) const {
    const OvCatalogueEntry e = OvCatalogueEntry::ByName(QLatin1String(name));
    return e.Found() ? Current[static_cast<size_t>(e.Group)][static_cast<size_t>(e.Row)] : QString();
}

QString OvDeviceJob::CurrentValue(const QString& oid) const {
    return OvRestorePlan::ValueOf(Current, oid);
}

// The document of what was read: writable objects and identity, as the options select;
// the objects the device does not have go to lacking.
OvConfigDocument OvDeviceJob::BackupDocument(QStringList& lacking) const {
    OvConfigDocument d;
    d.Address = Address;
    d.Name = Options.NameOf(Address);
    for (int g = 0; g < ConfigGroupCount; ++g) {
        int r = 0;
        for (const TSNMPVarInfo* info = ConfigGroups[g].Table; info->Oid; ++info, ++r) {
            const QString name = QString::fromLatin1(info->Name);
            const QString value = Current[static_cast<size_t>(g)][static_cast<size_t>(r)];
            // The device section names the device whatever objects are chosen, so that the
            // backup can be restored to it; only a template (--ignore-identity) goes without.
            if (!Options.IgnoreIdentity && !Reader.Lacks(g, r))
                d.Identify(name, value);
            if (!OvCatalogueEntry::At(g, r).KeptInBackups() || !Options.Selects(titleOf(g), name))
                continue;
            if (Reader.Lacks(g, r)) {
                lacking << name; // another firmware or device image
                continue;
            }
            d.Objects.push_back(
                {titleOf(g), name, QString::fromLatin1(info->Oid), OvSyntaxName(info->Syntax), value});
        }
    }
    return d;
}

// Whether the read found the device's identity or any object a restore writes: another
// agent at the address, or a view hiding the private tree, has none of them.
bool OvDeviceJob::IsAccessPoint() const {
    for (int g = 0; g < ConfigGroupCount; ++g)
        for (int r = 0; ConfigGroups[g].Table[r].Oid; ++r) {
            const OvCatalogueEntry e = OvCatalogueEntry::At(g, r);
            const QLatin1String name(e.Info->Name);
            if (!Reader.Lacks(g, r) && (e.Writable() || name == QLatin1String("dot11StationID") ||
                                        name == QLatin1String("dot11manufacturerProductName")))
                return true;
        }
    return false;
}

void OvDeviceJob::Backup() {
    if (!IsAccessPoint()) {
        Fail(QStringLiteral("not backed up: the device has none of the access point's objects"));
        return;
    }
    QStringList lacking;
    const OvConfigDocument d = BackupDocument(lacking);
    // Said now, so that it is not first learnt from a restore that refuses the file.
    for (const OvRestoreCheck::Refusal& r : OvRestoreCheck::Of(d, Options).Refused)
        Q_EMIT Warned(QStringLiteral("warning: %1 %2; a restore will refuse it unless excluded")
                          .arg(r.Name, r.Problem));
    const QByteArray json = d.ToJson();
    QString done = QStringLiteral("backed up ") + OvCounted(d.Objects.size(), "object");
    if (Options.File.isEmpty()) {
        Q_EMIT Said(QString::fromUtf8(json).trimmed());
    } else {
        const QString file = Options.FileFor(Address);
        OvReplacingFile out(file);
        if (!(out.Open() && out.Write(json) && out.Commit())) {
            Fail(QStringLiteral("cannot write %1: %2").arg(file, out.Error()));
            return;
        }
        done += QStringLiteral(" to ") + file;
    }
    if (!lacking.isEmpty())
        done += QStringLiteral("; not on the device: ") + lacking.join(QStringLiteral(", "));
    Finish(done, OvOutcome::Done);
}

// diff and the restore plan say the same thing the same way: per object, what the device
// holds -> what the backup holds.
void OvDeviceJob::Diff() {
    int differing = 0;
    for (const OvConfigDocument::Object& o : Saved->Objects) {
        const OvCatalogueEntry e = OvCatalogueEntry::ByOid(o.Oid);
        const QString now =
            Reader.Lacks(e.Group, e.Row) ? QStringLiteral("(not on the device)") : CurrentValue(o.Oid);
        if (now == o.Value || !Options.Selects(o.Group, o.Name))
            continue;
        ++differing;
        Q_EMIT Said(Options.Json ? DifferenceJson(o, now)
                                 : QStringLiteral("%1: %2 -> %3").arg(o.Name, now, o.Value));
    }
    if (differing == 0)
        Finish(QStringLiteral("same as the backup"), OvOutcome::Done);
    else
        Finish(OvCounted(differing, "object") +
                   (differing == 1 ? QStringLiteral(" differs") : QStringLiteral(" differ")) +
                   QStringLiteral(" from the backup"),
               OvOutcome::Differ);
}

// diff --json: one object a line, for programs; a named device's address goes with it.
QString OvDeviceJob::DifferenceJson(const OvConfigDocument::Object& o, const QString& now) const {
    const QString name = Options.NameOf(Address);
    QJsonObject line{{QStringLiteral("device"), name.isEmpty() ? Address : name},
                     {QStringLiteral("object"), o.Name},
                     {QStringLiteral("saved"), o.Value},
                     {QStringLiteral("current"), now}};
    if (!name.isEmpty())
        line.insert(QStringLiteral("address"), Address);
    return QString::fromUtf8(QJsonDocument(line).toJson(QJsonDocument::Compact));
}

// Another device's settings are not put onto this one unless asked (cloning).
bool OvDeviceJob::RefusesOtherDevice() {
    const QString mac = CurrentValueNamed("dot11StationID");
    const QString product = CurrentValueNamed("dot11manufacturerProductName");
    if (Options.AllowOtherDevice || (mac == Saved->Mac && product == Saved->Product))
        return false;
    Fail(QStringLiteral("refused: the backup is of another device (%1, MAC %2; this one %3, MAC %4); "
                        "--allow-other-device clones it")
             .arg(Saved->Product, Saved->Mac, product, mac));
    return true;
}

void OvDeviceJob::Plan() {
    if (RefusesOtherDevice())
        return;
    const QString version = CurrentValueNamed("dot11manufacturerProductVersion");
    if (!Saved->Version.isEmpty() && version != Saved->Version)
        Q_EMIT Said(QStringLiteral("warning: the backup is of firmware %1, the device runs %2")
                        .arg(Saved->Version, version));
    Restore = OvRestorePlan(*Saved, Options, Current, Reader);
    if (!Restore.Refused.isEmpty()) {
        Fail(QStringLiteral("nothing was sent; these values do not fit: ") +
             Restore.Refused.join(QStringLiteral("; ")));
        return;
    }
    for (const QString& line : Restore.Lines(Current))
        Q_EMIT Said(line);
    const QString notSaved = Options.Save ? QStringLiteral("; not saved: a dry run") : QString();
    if (Restore.Groups.empty() && Options.Save && !Options.DryRun) {
        // What an earlier restore without --save wrote is saved now, as asked.
        SetSent = true;
        SaveChanges(QStringLiteral("nothing to restore: the device holds the backup's values"));
    } else if (Restore.Groups.empty()) {
        Finish(QStringLiteral("nothing to restore: the device holds the backup's values") + notSaved,
               OvOutcome::Done);
    } else if (Options.DryRun) {
        Finish(QStringLiteral("dry run: %1 in %2 would be written")
                       .arg(OvCounted(Restore.Objects, "object"), OvCounted(Restore.Groups.size(), "group")) +
                   notSaved,
               OvOutcome::Done);
    } else {
        WriteGroup(0);
    }
}

// A SET of group's planned rows only: what the device already holds is not written again.
std::unique_ptr<OvSNMPRequest> OvDeviceJob::WriteRequest(int group) const {
    const auto& rows = Restore.Rows(group);
    std::unique_ptr<OvSNMPRequest> request = Reader.GroupRequest(group);
    OvSNMPVarList& list = request->VarList;
    for (int i = 0; i < list.Count(); ++i) {
        const auto row = rows.find(i);
        if (row != rows.end())
            list.Item(i)->Value = row->second->Value;
        else
            list.Item(i)->Access |= OvAccess::invalid;
    }
    return request;
}

void OvDeviceJob::WriteGroup(size_t next) {
    if (next == Restore.Groups.size()) {
        ReadBack();
        return;
    }
    Request = WriteRequest(Restore.Groups[next]);
    try {
        Request->SetAsync(
            this,
            [this, next](const OvSNMPError& e, OvSNMPVarList&) {
                const int code = e.Code;
                const SetFailure failure{e.Message, code == OvCode::Timeout ? 0 : e.ErrorIndex,
                                         code == OvCode::Timeout};
                Later([this, next, code, failure] {
                    if (code == 0)
                        GroupWritten(next);
                    else
                        ReadAgain(next, failure, 1);
                });
            },
            false);
        SetSent = true;
    } catch (const OvException& e) {
        NotWritten(next, {e.message(), 0, false}); // nothing was sent
    }
}

void OvDeviceJob::GroupWritten(size_t next) {
    const int group = Restore.Groups[next];
    Written << titleOf(group);
    if (Journal)
        Journaled(group, Restore.ObjectNames(group), QStringLiteral("written"));
    WriteGroup(next + 1);
}

QString OvDeviceJob::SetFailure::Object(const QStringList& names) const {
    // The error index counts the objects sent, in the group's order.
    return Index >= 1 && Index <= names.size() ? names[Index - 1] : QString();
}

void OvDeviceJob::NotWritten(size_t next, const SetFailure& failure) {
    const int group = Restore.Groups[next];
    const QStringList names = Restore.ObjectNames(group);
    if (Journal)
        Journaled(group, names, QStringLiteral("not written"));
    const QString object = failure.Object(names);
    StopWriting(QStringLiteral("error writing %1%2: %3%4")
                    .arg(titleOf(group), object.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(object),
                         failure.Message,
                         failure.TimedOut ? QStringLiteral("; read again: not written") : QString()),
                Written.isEmpty() ? OvOutcome::Failed : OvOutcome::Partial);
}

// Agents that apply a SET's bindings one by one keep those before the one they refused.
void OvDeviceJob::PartlyWritten(size_t next, const SetFailure& failure, const QStringList& held,
                                QStringList other) {
    const int group = Restore.Groups[next];
    if (Journal) {
        Journaled(group, held, QStringLiteral("written"));
        Journaled(group, other, QStringLiteral("not written"));
    }
    const QString object = failure.Object(Restore.ObjectNames(group));
    for (QString& name : other)
        if (name == object)
            name += QStringLiteral(" (%1)").arg(failure.Message);
    const QString what =
        failure.TimedOut
            ? QStringLiteral("error writing %1: %2; read again").arg(titleOf(group), failure.Message)
            : QStringLiteral("error writing %1").arg(titleOf(group));
    StopWriting(QStringLiteral("%1: partly written: %2; not written: %3")
                    .arg(what, held.join(QStringLiteral(", ")), other.join(QStringLiteral(", "))),
                OvOutcome::Partial, group);
}

void OvDeviceJob::ReadAgain(size_t next, const SetFailure& failure, int attempt) {
    const int group = Restore.Groups[next];
    if (attempt == 1 && failure.TimedOut && Journal) {
        Journaled(group, Restore.ObjectNames(group), QStringLiteral("unknown"));
        JournaledUnknown = group;
    }
    Request = Reader.GroupRequest(group);
    try {
        Request->GetAsync(
            this,
            [this, next, group, failure, attempt](const OvSNMPError& e, OvSNMPVarList& list) {
                const int code = e.Code;
                const std::vector<QString> values =
                    code == 0 ? OvDeviceRead::ValuesOf(group, list, 0) : std::vector<QString>();
                Later([this, next, failure, attempt, code, values] {
                    ReadAgainAnswered(next, failure, attempt, code, values);
                });
            },
            true);
    } catch (const OvException&) {
        MayHaveBeenWritten(group, failure);
    }
}

void OvDeviceJob::ReadAgainAnswered(size_t next, const SetFailure& failure, int attempt, int code,
                                    const std::vector<QString>& values) {
    constexpr int kAttempts = 2;
    const int group = Restore.Groups[next];
    if (code != 0) {
        if (attempt < kAttempts)
            ReadAgain(next, failure, attempt + 1);
        else
            MayHaveBeenWritten(group, failure);
        return;
    }
    QStringList held;
    QStringList other;
    Restore.Split(group, values, held, other);
    if (other.isEmpty())
        GroupWritten(next); // the answer was lost, or came after every value was taken
    else if (held.isEmpty())
        NotWritten(next, failure);
    else
        PartlyWritten(next, failure, held, other);
}

void OvDeviceJob::MayHaveBeenWritten(int group, const SetFailure& failure) {
    if (Journal && group != JournaledUnknown)
        Journaled(group, Restore.ObjectNames(group), QStringLiteral("unknown"));
    StopWriting(QStringLiteral("unknown: may have been written: %1 (%2, and it did not answer again)")
                    .arg(titleOf(group), failure.Message),
                OvOutcome::Unknown, group);
}

QString OvDeviceJob::WrittenSoFar(int unknownGroup) const {
    QStringList notWritten;
    for (int g : Restore.Groups)
        if (g != unknownGroup && !Written.contains(titleOf(g)))
            notWritten << titleOf(g);
    return QStringLiteral("written: %1; not written: %2")
        .arg(joinedOrNone(Written), joinedOrNone(notWritten));
}

void OvDeviceJob::Journaled(int group, const QStringList& names, const QString& outcome) {
    // Every catalogue object may be shown today; a secret one added to it would have to be
    // marked there and its values left out here.
    QJsonArray values;
    if (outcome != QLatin1String("not written"))
        for (const auto& [row, saved] : Restore.Rows(group))
            if (names.contains(saved->Name))
                values.append(QJsonObject{
                    {QStringLiteral("object"), saved->Name},
                    {QStringLiteral("old"), Current[static_cast<size_t>(group)][static_cast<size_t>(row)]},
                    {QStringLiteral("new"), saved->Value}});
    Journal->Group(Address, titleOf(group), names, outcome, values);
}

void OvDeviceJob::StopWriting(const QString& what, OvOutcome outcome, int unknownGroup) {
    Finish(what + QStringLiteral("; ") + WrittenSoFar(unknownGroup), outcome);
}

void OvDeviceJob::ReadBack() {
    Reader.Start(
        &After, [this] { Confirm(); },
        [this](const QString& what, const QString& message) { ReadBackFailed(what, message); });
}

void OvDeviceJob::Confirm() {
    const QStringList wrong = Restore.Mismatches(After);
    if (!wrong.isEmpty()) {
        Finish(QStringLiteral("written, but the device does not hold the backup's values: ") +
                   wrong.join(QStringLiteral("; ")),
               OvOutcome::Differ);
        return;
    }
    const QString restored =
        QStringLiteral("restored %1 in %2, read back")
            .arg(OvCounted(Restore.Objects, "object"), OvCounted(Restore.Groups.size(), "group"));
    if (Options.Save)
        SaveChanges(restored);
    else
        Finish(restored, OvOutcome::Done);
}

void OvDeviceJob::SaveChanges(const QString& restored) {
    const QString group = QStringLiteral("Save Changes");
    const QStringList objects{QLatin1String(ConfigSaveTable[0].Name)};
    Request = std::make_unique<OvSNMPRequest>();
    Request->Target = Target;
    Request->VarList = OvSNMPVarList(ConfigSaveTable, SVT_SV, 0);
    Request->VarList.Item(0)->Value = QStringLiteral("1");
    auto failed = [this, restored, group, objects](int code, const QString& message) {
        const bool unknown = code == OvCode::Timeout;
        if (Journal)
            Journal->Group(Address, group, objects,
                           unknown ? QStringLiteral("unknown") : QStringLiteral("not written"));
        Finish(QStringLiteral("%1; %2: %3")
                   .arg(restored, unknown ? QStringLiteral("may not be saved") : QStringLiteral("not saved"),
                        message),
               unknown ? OvOutcome::Unknown : OvOutcome::Partial);
    };
    try {
        Request->SetAsync(
            this,
            [this, restored, group, objects, failed](const OvSNMPError& e, OvSNMPVarList&) {
                const int code = e.Code;
                const QString message = e.Message;
                Later([this, restored, group, objects, failed, code, message] {
                    if (code != 0) {
                        failed(code, message);
                        return;
                    }
                    if (Journal)
                        Journal->Group(Address, group, objects, QStringLiteral("written"));
                    Finish(restored + QStringLiteral(", saved"), OvOutcome::Done);
                });
            },
            false);
    } catch (const OvException& e) {
        failed(e.code(), e.message());
    }
}

void OvDeviceJob::Fail(const QString& summary) {
    Finish(summary, OvOutcome::Failed);
}

void OvDeviceJob::Finish(const QString& summary, OvOutcome outcome) {
    if (Ended)
        return;
    Ended = true;
    // Its socket goes now: a fleet holds only the sockets of the devices in hand.
    if (OvSNMPEngine* engine = TSNMPSession::Engine())
        engine->Release(Target);
    Summary = summary;
    Outcome = outcome;
    if (!Restore.Skipped.isEmpty()) {
        // The device does not hold the whole backup: never a plain "done".
        Summary +=
            QStringLiteral("; skipped, not on the device: ") + Restore.Skipped.join(QStringLiteral(", "));
        if (Outcome == OvOutcome::Done)
            Outcome = OvOutcome::Differ;
    }
    // What was read goes too: a fleet's memory stays that of the devices in hand. A request
    // still waiting for its answer stays, since destroying it would wait for that.
    if (Request && Request->Outstanding == 0)
        Request.reset();
    Reader.Release();
    Current = OvGroupValues();
    After = OvGroupValues();
    Restore = OvRestorePlan();
    Q_EMIT Finished();
}
