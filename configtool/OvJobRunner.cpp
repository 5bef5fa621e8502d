#include "configtool/OvJobRunner.h"

#include "configtool/OvDeviceJob.h"
#include "configtool/OvRunReport.h"

#include <QEventLoop>

OvJobRunner::OvJobRunner(QStringList addresses, JobMaker make, int inFlight, OvRunReport& report)
    : Addresses(std::move(addresses)), Make(std::move(make)), Report(report), InFlight(inFlight) {}

OvJobRunner::~OvJobRunner() = default;

bool OvJobRunner::Run() {
    QEventLoop loop;
    Loop = &loop;
    while (static_cast<int>(Running.size()) < InFlight && Next < Addresses.size())
        StartNext();
    if (!Running.empty())
        loop.exec();
    Loop = nullptr;
    for (int i = Next; i < Addresses.size(); ++i)
        Report.NotStarted(Addresses[i]);
    return Stops > 0;
}

void OvJobRunner::Stop() {
    if (++Stops > 1) {
        std::vector<OvDeviceJob*> inFlight;
        for (const auto& [job, owned] : Running)
            inFlight.push_back(job);
        for (OvDeviceJob* job : inFlight)
            job->Abandon(); // reports it, and it leaves Running
    }
}

void OvJobRunner::StartNext() {
    std::unique_ptr<OvDeviceJob> owned = Make(Addresses[Next++]);
    OvDeviceJob* job = owned.get();
    connect(job, &OvDeviceJob::Finished, this, [this, job] { JobFinished(job); });
    connect(job, &OvDeviceJob::Said, this, [this, job](const QString& line) { Report.Line(*job, line); });
    connect(job, &OvDeviceJob::Warned, this,
            [this, job](const QString& line) { Report.Warning(*job, line); });
    Running.emplace(job, std::move(owned));
    QMetaObject::invokeMethod(job, &OvDeviceJob::Start, Qt::QueuedConnection);
}

void OvJobRunner::JobFinished(OvDeviceJob* job) {
    Report.DeviceFinished(*job);
    const auto it = Running.find(job);
    // Deleted from this loop once the job's own call has returned (deleteLater would wait
    // for a loop of the application's).
    std::shared_ptr<OvDeviceJob> done(std::move(it->second));
    Running.erase(it);
    QMetaObject::invokeMethod(
        this, [done] {}, Qt::QueuedConnection);
    if (Stops == 0 && Report.JournalFailed())
        Stops = 1; // a run that can no longer be accounted for starts no more devices
    if (Stops == 0 && Next < Addresses.size())
        StartNext();
    else if (Running.empty() && Loop)
        Loop->quit();
}
