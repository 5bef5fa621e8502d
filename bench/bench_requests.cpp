// Request round trips and table walks of OvSNMPRequest, each against a reference run in
// the same process on the same loopback agent:
//   1. 1000 sequential asynchronous gets through OvSNMPRequest vs 1000 synchronous gets
//      through net-snmp directly (snmpd);
//   2. a walk of a 600-row, two-column table through OvSNMPRequest vs snmpwalk of the same
//      columns (snmpsim).
// Prints medians and ratios; exits 0 either way (the figures are for reading, not gating).
#include "snmp/OvSNMPRequest.h"
#include "OffscreenProgram.h"
#include "TestAgent.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
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

void pointAt(const TestAgent& agent) {
    OvSNMPTarget& t = TSNMPSession::DefaultTarget();
    t.Device.Address = agent.Address();
    t.Device.Port = agent.Port();
    t.Security.Version = 1;
}

constexpr TSNMPVarInfo kSysObjectId[] = {
    {"1.3.6.1.2.1.1.2", "sysObjectID", OvSyntax::objectid, OvAccess::readonly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}};

constexpr TSNMPVarInfo kBigTable[] = {
    {"1.3.6.1.4.1.32473.9.5.1.1", "index", OvSyntax::integer, OvAccess::readonly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.9.5.1.2", "name", OvSyntax::displaystr, OvAccess::readonly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}};

std::vector<double> asyncGets(int n) {
    std::vector<double> ms;
    OvSNMPRequest r;
    r.VarList = OvSNMPVarList(kSysObjectId, SVT_SV, 0);
    QObject context;
    for (int i = 0; i < n; ++i) {
        bool done = false;
        QElapsedTimer t;
        t.start();
        r.GetAsync(
            &context, [&done](const OvSNMPError&, OvSNMPVarList&) { done = true; }, true);
        while (!done)
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    return ms;
}

std::vector<double> directSyncGets(const TestAgent& agent, int n) {
    netsnmp_session s;
    snmp_sess_init(&s);
    QByteArray peer = "udp:" + agent.Address().toLatin1() + ":" + QByteArray::number(agent.Port());
    s.peername = peer.data();
    s.version = SNMP_VERSION_2c;
    s.community = reinterpret_cast<u_char*>(const_cast<char*>("qubsen"));
    s.community_len = 6;
    void* session = snmp_sess_open(&s);
    const oid name[] = {1, 3, 6, 1, 2, 1, 1, 2, 0};
    std::vector<double> ms;
    for (int i = 0; i < n; ++i) {
        QElapsedTimer t;
        t.start();
        netsnmp_pdu* pdu = snmp_pdu_create(SNMP_MSG_GET);
        snmp_add_null_var(pdu, name, OID_LENGTH(name));
        netsnmp_pdu* response = nullptr;
        snmp_sess_synch_response(session, pdu, &response);
        if (response)
            snmp_free_pdu(response);
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    snmp_sess_close(session);
    return ms;
}

double walkThroughRequest(int* rows) {
    OvSNMPRequest r;
    r.VarList = OvSNMPVarList(kBigTable, MVT_FMV, 1);
    QElapsedTimer t;
    t.start();
    int n = 0;
    for (bool first = true; r.Get(first); first = false)
        ++n;
    *rows = n;
    return t.nsecsElapsed() / 1e6;
}

double walkThroughSnmpwalk(const TestAgent& agent, int* lines) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MIBS"), QString());
    p.setProcessEnvironment(env);
    QElapsedTimer t;
    t.start();
    p.start(QStringLiteral("snmpwalk"),
            {QStringLiteral("-v2c"), QStringLiteral("-c"), QStringLiteral("qubsen"), QStringLiteral("-M"),
             QStringLiteral("/dev/null"), agent.Endpoint(), QStringLiteral("1.3.6.1.4.1.32473.9.5.1")});
    p.waitForFinished(120000);
    const double elapsed = t.nsecsElapsed() / 1e6;
    *lines = static_cast<int>(p.readAllStandardOutput().count('\n'));
    return elapsed;
}

} // namespace

int main(int argc, char** argv) {
    OffscreenProgram program(argc, argv);
    TSNMPSession::Create(QString());

    QString error;
    auto snmpd = TestAgent::StartSnmpd(&error);
    if (!snmpd) {
        std::fprintf(stderr, "snmpd: %s\n", qPrintable(error));
        return 1;
    }
    pointAt(*snmpd);
    const int n = 1000;
    asyncGets(50); // warm-up: session opened, caches filled
    directSyncGets(*snmpd, 50);
    const double asyncMedian = median(asyncGets(n));
    const double directMedian = median(directSyncGets(*snmpd, n));
    std::printf("round trip, %d sequential gets against snmpd\n", n);
    std::printf("  OvSNMPRequest asynchronous   median %.3f ms\n", asyncMedian);
    std::printf("  net-snmp synchronous direct  median %.3f ms\n", directMedian);
    std::printf("  ratio %.2f (target <= 1.30)\n", asyncMedian / directMedian);

    // A 600-row table of two columns for the simulator.
    QTemporaryDir work;
    const QString data = work.filePath(QStringLiteral("big.snmprec"));
    QFile f(data);
    f.open(QIODevice::WriteOnly);
    f.write("1.3.6.1.2.1.1.2.0|6|1.3.6.1.4.1.32473.2.9\n");
    const int rows = 600;
    for (int i = 1; i <= rows; ++i)
        f.write(QStringLiteral("1.3.6.1.4.1.32473.9.5.1.1.%1|2|%1\n").arg(i).toLatin1());
    for (int i = 1; i <= rows; ++i)
        f.write(QStringLiteral("1.3.6.1.4.1.32473.9.5.1.2.%1|4|row-%1\n").arg(i).toLatin1());
    f.close();
    auto sim = TestAgent::StartSimulator(&error, data);
    if (!sim) {
        std::fprintf(stderr, "snmpsimd: %s\n", qPrintable(error));
        return 1;
    }
    pointAt(*sim);
    std::vector<double> ours, theirs;
    int walked = 0, lines = 0;
    for (int round = 0; round < 3; ++round) {
        ours.push_back(walkThroughRequest(&walked));
        theirs.push_back(walkThroughSnmpwalk(*sim, &lines));
    }
    std::printf("walk of a %d-row table, two columns, against snmpsim (median of 3)\n", rows);
    std::printf("  OvSNMPRequest walk  %.1f ms (%d rows)\n", median(ours), walked);
    std::printf("  snmpwalk            %.1f ms (%d values)\n", median(theirs), lines);
    std::printf("  ratio %.2f (target <= 1.50)\n", median(ours) / median(theirs));
    return 0;
}
