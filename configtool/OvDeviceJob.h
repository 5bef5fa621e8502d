#pragma once

#include "configtool/OvConfigDocument.h"
#include "configtool/OvConfigOptions.h"
#include "configtool/OvDeviceRead.h"
#include "configtool/OvRestorePlan.h"
#include "configtool/OvOutcome.h"

#include <QObject>
#include <QStringList>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class OvJournal;
class OvSNMPVarList;
class OvSNMPRequest;

// One command against one access point, done with asynchronous requests so that many
// devices can be handled at once: read every configuration group (around the objects the
// device does not have), then write a backup, compare with one, or restore one (plan, one
// SET per group with changes, read back). Its outcome says exactly what happened to the
// device.
class OvDeviceJob : public QObject {
    Q_OBJECT
public:
    // saved: the document to compare with or restore (null for a backup); journal: where
    // each group's SET is recorded (may be null).
    OvDeviceJob(const OvConfigOptions& options, const QString& address, const OvConfigDocument* saved,
                OvJournal* journal, QObject* parent = nullptr);
    ~OvDeviceJob() override;

    void Start();
    // Ends the job now, reporting what was under way as it stands (a run stopped twice).
    void Abandon();

    QString Address;
    QString Label; // "NAME (ADDRESS)" or the address, for the output
    OvOutcome Outcome = OvOutcome::Done;
    QString Summary; // one line for the device

Q_SIGNALS:
    // A line for the user, as soon as it is known (the plan before any SET is sent).
    void Said(const QString& line);
    // A line about the command's result that is no part of it (never into a backup's JSON).
    void Warned(const QString& line);
    void Finished();

private:
    void ReadFailed(const QString& what, const QString& message);
    void ReadBackFailed(const QString& what, const QString& message);
    void ReadDone();
    OvConfigDocument BackupDocument(QStringList& lacking) const;
    bool IsAccessPoint() const;
    void Backup();
    void Diff();
    QString DifferenceJson(const OvConfigDocument::Object& o, const QString& now) const;
    bool RefusesOtherDevice(); // and says so
    void Plan();
    std::unique_ptr<OvSNMPRequest> WriteRequest(int group) const;
    // Why a SET was not taken as answered: the agent's error and the object it named (the
    // error index, 0 for none), or a time-out.
    struct SetFailure {
        QString Message;
        int Index = 0;
        bool TimedOut = false;
        QString Object(const QStringList& names) const; // the one named, or empty
    };
    void WriteGroup(size_t next);
    void GroupWritten(size_t next);
    void NotWritten(size_t next, const SetFailure& failure);
    void PartlyWritten(size_t next, const SetFailure& failure, const QStringList& held, QStringList other);
    // A SET that was refused or timed out may have been applied, in whole or in part: the
    // group is read again to tell, object by object.
    void ReadAgain(size_t next, const SetFailure& failure, int attempt);
    void ReadAgainAnswered(size_t next, const SetFailure& failure, int attempt, int code,
                           const std::vector<QString>& values);
    void MayHaveBeenWritten(int group, const SetFailure& failure); // after the last read again
    void StopWriting(const QString& what, OvOutcome outcome, int unknownGroup = -1);
    void ReadBack();
    void Confirm();
    // The main window's "Save Changes": the restored settings survive a reboot.
    void SaveChanges(const QString& restored);
    void Fail(const QString& summary); // before anything was written
    void Finish(const QString& summary, OvOutcome outcome);
    // Runs step from the event loop, unless the job has ended meanwhile.
    void Later(std::function<void()> step);
    QString CurrentValue(const QString& oid) const;
    QString CurrentValueNamed(const char* name) const;
    QString WrittenSoFar(int unknownGroup) const;
    // The journal's record of a SET to group: the objects named, written or unknown.
    void Journaled(int group, const QStringList& names, const QString& outcome);

    const OvConfigOptions& Options;
    const OvConfigDocument* Saved;
    const OvSNMPTarget Target;
    OvJournal* Journal;
    OvDeviceRead Reader;
    std::unique_ptr<OvSNMPRequest> Request; // the one outstanding write or check
    OvGroupValues Current;
    OvGroupValues After;
    OvRestorePlan Restore;
    QStringList Written;
    bool SetSent = false;
    int JournaledUnknown = -1; // the group the journal already has as "unknown"
    bool Ended = false;
};
