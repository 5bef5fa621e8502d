// velmarn-config with a fleet, each figure against a reference measured in the same run:
//   1. backups of 50, 500 and 5,000 simulated devices with --parallel 64 (snmpsimd
//      processes serving one loopback address per device; a time-out of 10 s, so that
//      simulators slowed down by the machine's load do not count as failed devices): devices per second at
//      5,000 against 50, CPU per device, the most open file descriptors against the parallel count, peak
//      memory at 5,000 against 50;
//   2. the backup of one device as a whole process against one snmpget process asking for
//      every object the backup reads; 31 rounds, each side first in every other round.
// "--one-device" measures only the second. Prints the figures; exits 0 either way.
#include "BenchProcess.h"
#include "CoreProgram.h"
#include "TestAgent.h"
#include "catalogue/OvCatalogue.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kParallel = 64;
constexpr int kEndpointsPerSimulator = 400; // snmpsimd waits with select(): below 1,024 sockets

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// snmpsimd serving the simulated access point on many loopback addresses, one port.
class Simulators {
public:
    Simulators(int devices, quint16 port) {
        const QString root = Dir.path();
        ::chmod(root.toLocal8Bit().constData(), 0755);
        for (const char* sub : {"data", "cache", "variation"})
            QDir(root).mkpath(QLatin1String(sub));
        QFile::copy(TestAgent::SimulatorDataFile(), root + QStringLiteral("/data/qubsen.snmprec"));
        QFile::copy(QStringLiteral(VELMARN_SIM_VARIATIONS "/readonly.py"),
                    root + QStringLiteral("/variation/readonly.py"));
        if (::geteuid() == 0)
            QProcess::execute(QStringLiteral("chown"),
                              {QStringLiteral("nobody:nogroup"), root + QStringLiteral("/cache")});
        for (int i = 0; i < devices; ++i)
            Addresses << QStringLiteral("127.1.%1.%2:%3").arg(i / 250).arg(1 + i % 250).arg(port);
        for (int first = 0; first < devices; first += kEndpointsPerSimulator) {
            QStringList args{QStringLiteral("--data-dir=") + root + QStringLiteral("/data"),
                             QStringLiteral("--cache-dir=") + root + QStringLiteral("/cache"),
                             QStringLiteral("--variation-modules-dir=") + root + QStringLiteral("/variation"),
                             QStringLiteral("--logging-method=null")};
            if (::geteuid() == 0)
                args << QStringLiteral("--process-user=nobody") << QStringLiteral("--process-group=nogroup");
            const int last = std::min(devices, first + kEndpointsPerSimulator);
            for (int i = first; i < last; ++i)
                args << QStringLiteral("--agent-udpv4-endpoint=") + Addresses[i];
            Processes.push_back(std::make_unique<QProcess>());
            Processes.back()->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            Processes.back()->setStandardOutputFile(QProcess::nullDevice());
            Processes.back()->start(QStringLiteral("snmpsimd"), args);
            // One at a time: the first builds the data file's index in the shared cache.
            if (!Answers(Addresses[last - 1])) {
                Addresses.clear();
                return;
            }
        }
    }
    ~Simulators() {
        for (auto& p : Processes) {
            p->terminate();
            if (!p->waitForFinished(3000))
                p->kill();
        }
    }
    static bool Answers(const QString& endpoint) {
        for (int tries = 0; tries < 600; ++tries) {
            QProcess p;
            p.start(QStringLiteral("snmpget"),
                    {QStringLiteral("-v2c"), QStringLiteral("-cqubsen"), QStringLiteral("-r0"),
                     QStringLiteral("-t1"), QStringLiteral("-M/dev/null"), endpoint,
                     QStringLiteral("1.3.6.1.2.1.1.2.0")});
            if (p.waitForFinished(5000) && p.exitCode() == 0)
                return true;
            QThread::msleep(100);
        }
        return false;
    }

    QTemporaryDir Dir;
    QStringList Addresses;
    std::vector<std::unique_ptr<QProcess>> Processes;
};

struct FleetRun {
    double DevicesPerSecond = 0;
    int MostFds = 0;
    long PeakKb = 0;
    double CpuMsPerDevice = 0; // user and system time of velmarn-config
    bool Ok = false;
};

// CPU time of the children waited for so far, in milliseconds.
double childrenCpuMs() {
    rusage u{};
    ::getrusage(RUSAGE_CHILDREN, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

int openFds(qint64 pid) {
    return static_cast<int>(
        QDir(QStringLiteral("/proc/%1/fd").arg(pid)).entryList(QDir::Files | QDir::System).size());
}

FleetRun backUp(const QStringList& addresses, const QString& work) {
    QDir(work).removeRecursively();
    QDir().mkpath(work);
    QFile list(work + QStringLiteral("/fleet.txt"));
    list.open(QIODevice::WriteOnly);
    list.write(addresses.join(QLatin1Char('\n')).toUtf8());
    list.close();
    QProcess p;
    p.setWorkingDirectory(work);
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(work + QStringLiteral("/errors.txt"));
    FleetRun run;
    const double cpuBefore = childrenCpuMs();
    QElapsedTimer t;
    t.start();
    p.start(QStringLiteral(VELMARN_CONFIG_TOOL),
            {QStringLiteral("--parallel"), QString::number(kParallel), QStringLiteral("--timeout"),
             QStringLiteral("10"), QStringLiteral("--addresses-file"), list.fileName(),
             QStringLiteral("backup"), work + QStringLiteral("/{address}.json")});
    p.waitForStarted();
    const qint64 pid = p.processId();
    while (!p.waitForFinished(20)) {
        run.MostFds = std::max(run.MostFds, openFds(pid));
        run.PeakKb = std::max(run.PeakKb, PeakResidentKb(pid)); // the high-water mark, read while it runs
    }
    run.DevicesPerSecond = addresses.size() / (static_cast<double>(t.nsecsElapsed()) / 1e9);
    run.CpuMsPerDevice = (childrenCpuMs() - cpuBefore) / addresses.size();
    run.Ok = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return run;
}

double runProcess(const QString& program, const QStringList& arguments, const QString& dir, bool* ok) {
    QProcess p;
    p.setWorkingDirectory(dir);
    p.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer t;
    t.start();
    p.start(program, arguments);
    *ok = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

bool fleetFigures(const Simulators& sims, const QTemporaryDir& work) {
    std::printf("backups with --parallel %d, %zu snmpsimd processes\n", kParallel, sims.Processes.size());
    bool good = true;
    std::vector<std::pair<int, FleetRun>> runs;
    for (int devices : {50, 500, 5000, 50, 500}) {
        const FleetRun r = backUp(sims.Addresses.mid(0, devices), work.filePath(QStringLiteral("fleet")));
        good = good && r.Ok;
        runs.emplace_back(devices, r);
        std::printf(
            "  %5d devices: %6.1f devices/s, %.2f ms CPU per device, at most %3d open files, peak %6ld "
            "kB%s\n",
            devices, r.DevicesPerSecond, r.CpuMsPerDevice, r.MostFds, r.PeakKb, r.Ok ? "" : " (FAILED)");
        std::fflush(stdout);
    }
    auto best = [&runs](int devices, auto field) {
        double v = 0;
        for (const auto& [n, r] : runs)
            if (n == devices)
                v = std::max(v, static_cast<double>(r.*field));
        return v;
    };
    const double rate50 = best(50, &FleetRun::DevicesPerSecond);
    const double rate5000 = best(5000, &FleetRun::DevicesPerSecond);
    int mostFds = 0;
    for (const auto& [n, r] : runs)
        mostFds = std::max(mostFds, r.MostFds);
    std::printf("  devices/s at 5,000 against 50: %.2f (target >= 0.80)\n", rate5000 / rate50);
    std::printf("  most open files: %d = --parallel + %d (target: a small constant)\n", mostFds,
                mostFds - kParallel);
    std::printf("  peak memory at 5,000 against 50: %.2f (target <= 1.20)\n",
                best(5000, &FleetRun::PeakKb) / best(50, &FleetRun::PeakKb));
    return good;
}

// The backup against one snmpget of the objects it reads.
bool oneDeviceFigures(const QString& device, const QTemporaryDir& work) {
    QStringList objects;
    for (int g = 0; g < ConfigGroupCount; ++g)
        for (const TSNMPVarInfo* info = ConfigGroups[g].Table; info->Oid; ++info)
            objects << QLatin1String(info->Oid) + QStringLiteral(".0");
    const QString dir = work.path();
    const QStringList backupArgs{QStringLiteral("--address"), device, QStringLiteral("backup"),
                                 work.filePath(QStringLiteral("one.json"))};
    const QStringList getArgs = QStringList{QStringLiteral("-v2c"), QStringLiteral("-cqubsen"),
                                            QStringLiteral("-M/dev/null"), QStringLiteral("-On"), device} +
                                objects;
    constexpr int kRounds = 31;
    std::vector<double> ours, theirs, ratios;
    bool good = true;
    for (int round = 0; round < kRounds; ++round) {
        bool ok = true;
        const bool oursFirst = round % 2 == 0; // neither side always runs after the other
        double mine = oursFirst ? runProcess(QStringLiteral(VELMARN_CONFIG_TOOL), backupArgs, dir, &ok) : 0;
        good = good && ok;
        theirs.push_back(runProcess(QStringLiteral("snmpget"), getArgs, dir, &ok));
        good = good && ok;
        if (!oursFirst)
            mine = runProcess(QStringLiteral(VELMARN_CONFIG_TOOL), backupArgs, dir, &ok);
        good = good && ok;
        ours.push_back(mine);
        ratios.push_back(ours.back() / theirs.back());
    }
    std::printf("one device, whole processes, %d rounds%s\n", kRounds, good ? "" : " (a run FAILED)");
    std::printf("  velmarn-config backup          median %.1f ms\n", median(ours));
    std::printf("  snmpget of its %lld objects      median %.1f ms\n", static_cast<long long>(objects.size()),
                median(theirs));
    std::printf("  median of the per-round ratios %.2f (target <= 1.20)\n", median(ratios));
    return good;
}

} // namespace

int main(int argc, char** argv) {
    CoreProgram program(argc, argv);
    const bool oneDeviceOnly = QCoreApplication::arguments().contains(QStringLiteral("--one-device"));
    QTemporaryDir work;
    Simulators sims(oneDeviceOnly ? 1 : 5000, TestAgent::FreeUdpPort());
    if (sims.Addresses.isEmpty()) {
        std::fprintf(stderr, "snmpsimd did not answer\n");
        return 1;
    }
    if (!oneDeviceOnly)
        fleetFigures(sims, work);
    oneDeviceFigures(sims.Addresses.first(), work);
    return 0;
}
