#pragma once

#include "configtool/OvConfigDocument.h"
#include "configtool/OvConfigOptions.h"

#include <QObject>
#include <QStringList>
#include <array>
#include <memory>
#include <vector>

class OvSNMPRequest;
struct OvSNMPError;

// One command against one access point, done with asynchronous requests so that many
// devices can be handled at once: read every configuration group, then write a backup,
// compare with one, or restore one (plan, one SET per group with changes, read back).
class OvDeviceJob : public QObject {
    Q_OBJECT
public:
    // saved: the document to compare with or restore (null for a backup).
    OvDeviceJob(const OvConfigOptions& options, const QString& address, const OvConfigDocument* saved,
                QObject* parent = nullptr);
    ~OvDeviceJob() override;

    void Start();

    QString Address;
    int ExitCode = 0;
    QStringList Lines; // what the command found, for the user
    QString Summary;   // one line for the device

Q_SIGNALS:
    void Finished();

private:
    using Values = std::array<std::vector<QString>, 9>; // per group, per row

    void ReadGroups(int group, Values* into, void (OvDeviceJob::*then)());
    void Read();
    void ReadDone();
    void Backup();
    void Diff();
    void Plan();
    void WriteGroup(size_t next);
    void ReadBack();
    void Confirm();
    void Fail(const QString& summary); // a device or protocol error: exit status 1
    void Finish(const QString& summary, int code);
    std::unique_ptr<OvSNMPRequest> NewRequest(int group) const;
    QString CurrentValue(const QString& oid) const;

    const OvConfigOptions& Options;
    const OvConfigDocument* Saved;
    const OvSNMPTarget Target;
    std::unique_ptr<OvSNMPRequest> Request; // the one outstanding request
    Values Current;
    Values After;
    std::vector<int> ChangedGroups;
    QStringList Written;
};

// Runs the jobs, a bounded number at a time, until every one has finished.
class OvJobRunner : public QObject {
    Q_OBJECT
public:
    OvJobRunner(std::vector<OvDeviceJob*> jobs, int inFlight);
    // Runs the event loop until all are done; the largest exit code of all.
    int Run();

private:
    void StartNext();
    std::vector<OvDeviceJob*> Jobs;
    size_t Next = 0;
    int Running = 0;
    int InFlight;
};
