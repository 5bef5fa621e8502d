#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>

class OvDeviceJob;
class OvRunReport;
class QEventLoop;

// Runs one job per device, a bounded number at a time, each made when it starts and gone
// once reported: a fleet holds only the devices in hand. Stopped once, it starts no more
// and lets those in flight finish; stopped again, it abandons them.
class OvJobRunner : public QObject {
    Q_OBJECT
public:
    using JobMaker = std::function<std::unique_ptr<OvDeviceJob>(const QString& address)>;

    OvJobRunner(QStringList addresses, JobMaker make, int inFlight, OvRunReport& report);
    ~OvJobRunner() override;
    // Runs the event loop until the jobs are done; true when the run was stopped.
    bool Run();
    void Stop();

private:
    void StartNext();
    void JobFinished(OvDeviceJob* job);

    QStringList Addresses;
    JobMaker Make;
    OvRunReport& Report;
    std::map<OvDeviceJob*, std::unique_ptr<OvDeviceJob>> Running;
    int Next = 0;
    int InFlight;
    int Stops = 0;
    QEventLoop* Loop = nullptr;
};
