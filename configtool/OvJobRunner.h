#pragma once

#include <QObject>
#include <vector>

class OvDeviceJob;
class OvRunReport;

// Runs the jobs, a bounded number at a time, reporting each as it finishes. Stopped once,
// it starts no more and lets those in flight finish; stopped again, it abandons them.
class OvJobRunner : public QObject {
    Q_OBJECT
public:
    OvJobRunner(std::vector<OvDeviceJob*> jobs, int inFlight, OvRunReport& report);
    // Runs the event loop until the jobs are done; true when the run was stopped.
    bool Run();
    void Stop();

private:
    void StartNext();
    void JobFinished(OvDeviceJob* job);

    std::vector<OvDeviceJob*> Jobs;
    OvRunReport& Report;
    size_t Next = 0;
    int Running = 0;
    int InFlight;
    int Stops = 0;
    class QEventLoop* Loop = nullptr;
};
