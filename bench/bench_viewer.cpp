// The viewer's table reads, each against a reference measured in the same run:
//   1. "MIB /O" of a 5,000-row ifTable served by snmpsim, as a whole process, against
//      snmpbulkwalk of the same table as a whole process; 5 alternating rounds;
//   2. the bulk walk (SNMPv2c, GETBULK) against the get-next walk (SNMPv1) of snmpd's
//      whole MIB-II subtree in this process; 5 alternating rounds.
// Prints the medians and the median of the per-round ratios; exits 0 either way.
#include "OffscreenProgram.h"
#include "TestAgent.h"
#include "snmp/OvSNMPVar.h"
#include "snmp/OvTableWalk.h"

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
    const QString path = dir.filePath(QStringLiteral("interfaces.snmprec"));
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
    OvSNMPTarget target = TSNMPSession::DefaultTarget();
    target.Device.Address = agent.Address();
    target.Device.Port = agent.Port();
    target.Security.Version = static_cast<quint8>(version);
    target.Security.ReadCommunity = QLatin1String(TestAgent::ReadCommunity);
    OvTableWalk walk(target, {{QStringLiteral("1.3.6.1.2.1"), OvSyntax::octetstr}});
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
    TSNMPSession::Create(QString());
    QString error;

    const int rows = 5000;
    QTemporaryDir work;
    auto sim = TestAgent::StartSimulator(&error, writeInterfaceTable(work, rows));
    if (!sim) {
        std::fprintf(stderr, "snmpsimd: %s\n", qPrintable(error));
        return 1;
    }
    const QString csv = work.filePath(QStringLiteral("out.csv"));
    const QStringList mibArgs{
        QStringLiteral("/I127.0.0.1"),   QStringLiteral("/t") + QString::number(sim->Port()),
        QStringLiteral("/v1"),           QStringLiteral("/R") + QLatin1String(TestAgent::ReadCommunity),
        QStringLiteral("/TMIB_IFTable"), QStringLiteral("/O") + csv};
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
