// The viewer's table reads, each against a reference measured in the same run:
//   1. filling the IF Table window from a 5,000- and a 50,000-row ifTable served by
//      snmpsim, against "/O" of the same table, both in this process: CPU time, alternating
//      rounds (5 and 3);
//   2. the peak memory of "MIB /O" as a whole process at 50,000 rows against 500 rows;
//   3. "MIB /O" of the 5,000-row table as a whole process against snmpbulkwalk of the same
//      table as a whole process; 5 alternating rounds;
//   4. the bulk walk (SNMPv2c, GETBULK) against the get-next walk (SNMPv1) of snmpd's
//      whole MIB-II subtree in this process; 5 alternating rounds.
// Prints the medians and the median of the per-round ratios; exits 0 either way.
#include "BenchProcess.h"
#include "OffscreenProgram.h"
#include "TestAgent.h"
#include "mib/OvMibExport.h"
#include "snmp/OvSNMPVar.h"
#include "snmp/OvTableWalk.h"
#include "viewer/TMibViewForm.h"
#include "snmp/TSNMPSession.h"

#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// This process's CPU time (user and system) in milliseconds.
double cpuMs() {
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    return (use.ru_utime.tv_sec + use.ru_stime.tv_sec) * 1e3 +
           (use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e3;
}

// Runs a program to its end with its output thrown away; its peak resident memory in kB,
// or -1 when it failed. Read from the process itself while it runs: the rusage of a child
// also counts the memory of this process, whose image the child starts from.
long peakMemoryKb(const QString& program, const QStringList& arguments) {
    std::vector<QByteArray> texts{program.toLocal8Bit()};
    for (const QString& a : arguments)
        texts.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& t : texts)
        argv.push_back(t.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed)
        return -1;
    int status = 0;
    long peak = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        peak = std::max(peak, PeakResidentKb(pid));
        usleep(10000);
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? peak : -1;
}

OvSNMPTarget targetOf(const TestAgent& agent, int version) {
    OvSNMPTarget target = TSNMPSession::DefaultTarget();
    target.Device.Address = agent.Address();
    target.Device.Port = agent.Port();
    target.Security.Version = static_cast<quint8>(version);
    target.Security.ReadCommunity = QLatin1String(TestAgent::ReadCommunity);
    return target;
}

// The CPU time of filling the IF Table window until the read has ended and shows; rows read.
double fillWindow(const OvSNMPTarget& target, int* rows) {
    const double before = cpuMs();
    TMibViewForm form(*OvFindMibView(QStringLiteral("MIB_IFTable")), target.Device.Address, target);
    form.show();
    QEventLoop loop;
    int code = -1;
    QObject::connect(&form, &TMibViewForm::ReadDone, &loop, [&](int c) {
        code = c;
        loop.quit();
    });
    loop.exec();
    QCoreApplication::processEvents(); // painted
    *rows = code == 0 ? form.Model().Count() : -1;
    return cpuMs() - before;
}

// The CPU time of "/O" of the same view in this process.
double exportView(const OvSNMPTarget& target, const QString& file, bool* ok) {
    const double before = cpuMs();
    OvMibExport job(*OvFindMibView(QStringLiteral("MIB_IFTable")), target, file);
    QEventLoop loop;
    int status = -1;
    QObject::connect(
        &job, &OvMibExport::Done, &loop,
        [&](int s) {
            status = s;
            loop.quit();
        },
        Qt::QueuedConnection);
    job.Start();
    loop.exec();
    *ok = status == 0;
    return cpuMs() - before;
}

double runProcess(const QString& program, const QStringList& arguments, bool* ok) {
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer t;
    t.start();
    p.start(program, arguments);
    *ok = p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

QString writeInterfaceTable(const QTemporaryDir& dir, int rows) {
    const QString path = dir.filePath(QStringLiteral("interfaces-%1.snmprec").arg(rows));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write("1.3.6.1.2.1.1.2.0|6|1.3.6.1.4.1.32473.2.9\n");
    // snmprec lists objects in order: column by column.
    const char* const columns[] = {"1|2|%1",          "2|4|port-%1", "3|2|6", "4|2|1500", "5|66|1000000000",
                                   "6|4x|02fc0000%2", "7|2|1",       "8|2|1", "9|67|%1"};
    for (int c = 0; c < 9; ++c)
        for (int i = 1; i <= rows; ++i)
            f.write(
                (QStringLiteral("1.3.6.1.2.1.2.2.1.%1.%2|").arg(c + 1).arg(i) +
                 QString::fromLatin1(columns[c])
                     .section(QLatin1Char('|'), 1)
                     .replace(QStringLiteral("%1"), QString::number(i))
                     .replace(QStringLiteral("%2"), QStringLiteral("%1").arg(i, 4, 16, QLatin1Char('0'))) +
                 QLatin1Char('\n'))
                    .toLatin1());
    return path;
}

double walkInProcess(const TestAgent& agent, int version, int* rows) {
    OvTableWalk walk(targetOf(agent, version), {{QStringLiteral("1.3.6.1.2.1"), OvSyntax::octetstr}});
    QEventLoop loop;
    int code = -1;
    QObject::connect(&walk, &OvAgentRead::Finished, &loop, [&](int c) {
        code = c;
        loop.quit();
    });
    QElapsedTimer t;
    t.start();
    walk.Start();
    if (walk.IsRunning())
        loop.exec();
    *rows = code == 0 ? walk.RowCount() : -1;
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    OffscreenProgram program(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // each figure as soon as it is measured
    TSNMPSession::Create(QString());
    QString error;

    QTemporaryDir work;
    const QString csv = work.filePath(QStringLiteral("out.csv"));
    auto mibArguments = [&](const TestAgent& agent, const QString& file) {
        return QStringList{
            QStringLiteral("/I127.0.0.1"),   QStringLiteral("/t") + QString::number(agent.Port()),
            QStringLiteral("/v1"),           QStringLiteral("/R") + QLatin1String(TestAgent::ReadCommunity),
            QStringLiteral("/TMIB_IFTable"), QStringLiteral("/O") + file};
    };

    // "bench_viewer memory": the peak memory figure only.
    const bool memoryOnly = argc > 1 && qstrcmp(argv[1], "memory") == 0;
    long peak500 = -1, peak50000 = -1;
    for (const int tableRows : {500, 5000, 50000}) {
        if (memoryOnly && tableRows == 5000)
            continue;
        auto agent = TestAgent::StartSimulator(&error, writeInterfaceTable(work, tableRows));
        if (!agent) {
            std::fprintf(stderr, "snmpsimd: %s\n", qPrintable(error));
            return 1;
        }
        if (tableRows != 5000) {
            const long peak = peakMemoryKb(QStringLiteral(VELMARN_MIB_PROGRAM), mibArguments(*agent, csv));
            (tableRows == 500 ? peak500 : peak50000) = peak;
        }
        if (tableRows == 500 || memoryOnly)
            continue;
        const OvSNMPTarget target = targetOf(*agent, 1);
        const int rounds = tableRows == 5000 ? 5 : 3;
        std::vector<double> fill, written, ratios;
        int shown = 0;
        bool ok = true;
        for (int round = 0; round < rounds; ++round) {
            fill.push_back(fillWindow(target, &shown));
            written.push_back(exportView(target, csv, &ok));
            ratios.push_back(fill.back() / written.back());
        }
        std::printf("filling the IF Table window from a %d-row ifTable (snmpsim), CPU in this process, %d "
                    "alternating "
                    "rounds%s\n",
                    tableRows, rounds, ok && shown == tableRows ? "" : " (a run FAILED)");
        std::printf("  window (%d rows)  median %.0f ms CPU\n", shown, median(fill));
        std::printf("  /O of the same   median %.0f ms CPU\n", median(written));
        std::printf("  median of the per-round ratios %.2f (target <= 2)\n", median(ratios));
    }
    std::printf("peak memory of MIB /O as a whole process\n");
    std::printf("  500 rows %ld kB, 50,000 rows %ld kB: ratio %.2f (target <= 1.3)\n", peak500, peak50000,
                peak500 > 0 ? static_cast<double>(peak50000) / static_cast<double>(peak500) : 0.0);
    if (memoryOnly)
        return 0;

    const int rows = 5000;
    auto sim = TestAgent::StartSimulator(&error, writeInterfaceTable(work, rows));
    if (!sim) {
        std::fprintf(stderr, "snmpsimd: %s\n", qPrintable(error));
        return 1;
    }
    const QStringList mibArgs = mibArguments(*sim, csv);
    const QStringList bulkArgs{QStringLiteral("-v2c"),
                               QStringLiteral("-c"),
                               QLatin1String(TestAgent::ReadCommunity),
                               QStringLiteral("-M"),
                               QStringLiteral("/dev/null"),
                               QStringLiteral("-On"),
                               sim->Endpoint(),
                               QStringLiteral("1.3.6.1.2.1.2.2")};
    std::vector<double> ours, theirs, ratios;
    bool ok = true, good = true;
    for (int round = 0; round < 5; ++round) {
        ours.push_back(runProcess(QStringLiteral(VELMARN_MIB_PROGRAM), mibArgs, &ok));
        good = good && ok;
        theirs.push_back(runProcess(QStringLiteral("snmpbulkwalk"), bulkArgs, &ok));
        good = good && ok;
        ratios.push_back(ours.back() / theirs.back());
    }
    QFile written(csv);
    written.open(QIODevice::ReadOnly);
    const int lines = static_cast<int>(written.readAll().count('\n'));
    std::printf("%d-row ifTable from snmpsim, whole processes, 5 alternating rounds%s\n", rows,
                good ? "" : " (a run FAILED)");
    std::printf("  MIB /O (CSV, %d lines)  median %.0f ms\n", lines, median(ours));
    std::printf("  snmpbulkwalk           median %.0f ms\n", median(theirs));
    std::printf("  median of the per-round ratios %.2f (target <= 1.20)\n", median(ratios));
    sim.reset();

    auto snmpd = TestAgent::StartSnmpd(&error);
    if (!snmpd) {
        std::fprintf(stderr, "snmpd: %s\n", qPrintable(error));
        return 1;
    }
    std::vector<double> bulk, next, speedups;
    int bulkRows = 0, nextRows = 0;
    walkInProcess(*snmpd, 1, &bulkRows); // warm-up
    for (int round = 0; round < 5; ++round) {
        bulk.push_back(walkInProcess(*snmpd, 1, &bulkRows));
        next.push_back(walkInProcess(*snmpd, 0, &nextRows));
        speedups.push_back(next.back() / bulk.back());
    }
    std::printf("walk of snmpd's MIB-II subtree in this process, 5 alternating rounds\n");
    std::printf("  bulk walk (SNMPv2c)      median %.1f ms (%d objects)\n", median(bulk), bulkRows);
    std::printf("  get-next walk (SNMPv1)   median %.1f ms (%d objects)\n", median(next), nextRows);
    std::printf("  median of the per-round speed-ups %.1f (target >= 5)\n", median(speedups));
    return 0;
}
