#include "configtool/OvJobRunner.h"

#include "configtool/OvDeviceJob.h"
#include "configtool/OvRunReport.h"

#include <QEventLoop>

OvJobRunner::OvJobRunner(std::vector<OvDeviceJob*> jobs, int inFlight, OvRunReport& report)
    : Jobs(std::move(jobs)), Report(report), InFlight(inFlight) {
    for (OvDeviceJob* job : Jobs) {
        connect(job, &OvDeviceJob::Finished, this, [this, job] { JobFinished(job); });
        connect(job, &OvDeviceJob::Said, this, [this, job](const QString& line) { Report.Line(*job, line); });
    }
}

bool OvJobRunner::Run() {
    QEventLoop loop;
    Loop = &loop;
    while (Running < InFlight && Next < Jobs.size())
        StartNext();
    if (Running > 0)
        loop.exec();
    Loop = nullptr;
    for (size_t i = Next; i < Jobs.size(); ++i)
        Report.NotStarted(Jobs[i]->Address);
    return Stops > 0;
}

void OvJobRunner::Stop() {
    if (++Stops > 1)
        for (size_t i = 0; i < Next; ++i)
            Jobs[i]->Abandon(); // those that ended already ignore it
}

void OvJobRunner::StartNext() {
    OvDeviceJob* job = Jobs[Next++];
    ++Running;
    QMetaObject::invokeMethod(job, &OvDeviceJob::Start, Qt::QueuedConnection);
}

void OvJobRunner::JobFinished(OvDeviceJob* job) {
    --Running;
    Report.DeviceFinished(*job);
    if (Stops == 0 && Next < Jobs.size())
        StartNext();
    else if (Running == 0 && Loop)
        Loop->quit();
}
