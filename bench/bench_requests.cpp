// Request round trips and table walks of OvSNMPRequest, each against net-snmp's own calls
// for the same requests, in the same process on the same loopback agent, the two sides
// alternating in rounds so that both see the same machine load:
//   1. sequential asynchronous gets through OvSNMPRequest vs synchronous gets through
//      net-snmp directly (snmpd), taking turns get by get, 10 rounds of 100 each;
//   2. a get-next walk of a 600-row, two-column table (both columns per request) through
//      OvSNMPRequest vs the same requests through net-snmp directly (snmpsim), 5 rounds.
// Prints the median of the per-round ratios; exits 0 either way (figures for reading).
#include "OffscreenProgram.h"
#include "TestAgent.h"
#include "snmp/OvSNMPRequest.h"
#include "snmp/TSNMPSession.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
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

constexpr TSNMPVarInfo kSysObjectId[] = {OvVarRow("1.3.6.1.2.1.1.2", "sysObjectID", OvSyntax::objectid),
                                         OvEndRow};

constexpr TSNMPVarInfo kBigTable[] = {OvVarRow("1.3.6.1.4.1.32473.9.5.1.1", "index", OvSyntax::integer),
                                      OvVarRow("1.3.6.1.4.1.32473.9.5.1.2", "name", OvSyntax::displaystr),
                                      OvEndRow};

// One asynchronous get of sysObjectID through OvSNMPRequest, waited for in the event loop.
double asyncGet(OvSNMPRequest& r, QObject& context) {
    bool done = false;
    QElapsedTimer t;
    t.start();
    r.GetAsync(
        &context, [&done](const OvSNMPError&, OvSNMPVarList&) { done = true; }, true);
    while (!done)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    return t.nsecsElapsed() / 1e6;
}

// A net-snmp session of its own to the agent, SNMPv2c with the read community.
void* openSession(const TestAgent& agent) {
    netsnmp_session s;
    snmp_sess_init(&s);
    QByteArray peer = "udp:" + agent.Address().toLatin1() + ":" + QByteArray::number(agent.Port());
    s.peername = peer.data();
    s.version = SNMP_VERSION_2c;
    s.community = reinterpret_cast<u_char*>(const_cast<char*>("qubsen"));
    s.community_len = 6;
    return snmp_sess_open(&s);
}

// The same get through net-snmp's synchronous call on a session of its own.
double directSyncGet(void* session) {
    const oid name[] = {1, 3, 6, 1, 2, 1, 1, 2, 0};
    QElapsedTimer t;
    t.start();
    netsnmp_pdu* pdu = snmp_pdu_create(SNMP_MSG_GET);
    snmp_add_null_var(pdu, name, OID_LENGTH(name));
    netsnmp_pdu* response = nullptr;
    snmp_sess_synch_response(session, pdu, &response);
    if (response)
        snmp_free_pdu(response);
    return t.nsecsElapsed() / 1e6;
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

// The same walk as OvSNMPRequest's: both columns per get-next, until the first column
// leaves the table.
double walkThroughNetSnmp(const TestAgent& agent, int* rows) {
    void* session = openSession(agent);
    const oid column1[] = {1, 3, 6, 1, 4, 1, 32473, 9, 5, 1, 1};
    const oid column2[] = {1, 3, 6, 1, 4, 1, 32473, 9, 5, 1, 2};
    std::vector<oid> at1(column1, column1 + OID_LENGTH(column1));
    std::vector<oid> at2(column2, column2 + OID_LENGTH(column2));
    QElapsedTimer t;
    t.start();
    int n = 0;
    for (;;) {
        netsnmp_pdu* pdu = snmp_pdu_create(SNMP_MSG_GETNEXT);
        snmp_add_null_var(pdu, at1.data(), at1.size());
        snmp_add_null_var(pdu, at2.data(), at2.size());
        netsnmp_pdu* response = nullptr;
        if (snmp_sess_synch_response(session, pdu, &response) != STAT_SUCCESS || !response)
            break;
        const netsnmp_variable_list* v1 = response->variables;
        const bool inTable =
            v1 && v1->next_variable &&
            snmp_oidtree_compare(v1->name, v1->name_length, column1, OID_LENGTH(column1)) == 0;
        if (inTable) {
            at1.assign(v1->name, v1->name + v1->name_length);
            at2.assign(v1->next_variable->name, v1->next_variable->name + v1->next_variable->name_length);
            ++n;
        }
        snmp_free_pdu(response);
        if (!inTable)
            break;
    }
    const double elapsed = t.nsecsElapsed() / 1e6;
    snmp_sess_close(session);
    *rows = n;
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
    // The two sides take turns request by request, so that both meet the agent in the
    // same state (snmpd slows down and speeds up by a factor of two over a run).
    OvSNMPRequest request;
    request.VarList = OvSNMPVarList(kSysObjectId, SVT_SV, 0);
    QObject context;
    void* directSession = openSession(*snmpd);
    for (int i = 0; i < 50; ++i) { // warm-up: session opened, caches filled
        asyncGet(request, context);
        directSyncGet(directSession);
    }
    std::vector<double> ours, theirs, ratios;
    for (int round = 0; round < 10; ++round) {
        std::vector<double> a, d;
        for (int i = 0; i < 100; ++i) {
            a.push_back(asyncGet(request, context));
            d.push_back(directSyncGet(directSession));
        }
        ours.push_back(median(a));
        theirs.push_back(median(d));
        ratios.push_back(ours.back() / theirs.back());
    }
    snmp_sess_close(directSession);
    std::printf("round trip, 10 rounds of 100 sequential gets each side, taking turns, against snmpd\n");
    std::printf("  OvSNMPRequest asynchronous   median %.3f ms\n", median(ours));
    std::printf("  net-snmp synchronous direct  median %.3f ms\n", median(theirs));
    std::printf("  median of the per-round ratios %.2f (goal <= 1.10)\n", median(ratios));

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
    std::vector<double> walks, direct, walkRatios;
    int walked = 0, directRows = 0;
    walkThroughRequest(&walked); // warm-up
    for (int round = 0; round < 5; ++round) {
        walks.push_back(walkThroughRequest(&walked));
        direct.push_back(walkThroughNetSnmp(*sim, &directRows));
        walkRatios.push_back(walks.back() / direct.back());
    }
    std::printf("get-next walk of a %d-row table, two columns per request, against snmpsim (5 rounds)\n",
                rows);
    std::printf("  OvSNMPRequest walk      median %.1f ms (%d rows)\n", median(walks), walked);
    std::printf("  net-snmp calls direct   median %.1f ms (%d rows)\n", median(direct), directRows);
    std::printf("  median of the per-round ratios %.2f (target <= 1.50)\n", median(walkRatios));
    return 0;
}
