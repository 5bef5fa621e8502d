// Requests against real agents: the simulated access point and snmpd.
#include "SimulatorSuite.h"
#include "TestAgent.h"
#include "TestSupport.h"
#include "catalogue/OvCatalogue.h"
#include "errors/OvErrors.h"
#include "snmp/OvSNMPEngine.h"
#include "snmp/OvSNMPRequest.h"
#include "snmp/TSNMPSession.h"

#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Both agents run for the whole suite: the simulated access point and snmpd.
class Requests : public SimulatorSuite {
protected:
    static void SetUpTestSuite() {
        SimulatorSuite::SetUpTestSuite();
        StartSnmpd();
    }
    static TestAgent& Snmp() { return *Snmpd(); }
};

} // namespace

TEST_F(Requests, ScalarGetShowsEveryCatalogueSyntax) {
    OvSNMPRequest r;
    r.VarList = OvSNMPVarList(StationConfigTable, SVT_SV, 0);
    EXPECT_FALSE(r.Get(true));
    EXPECT_EQ(r.VarList.Item(0)->Value, QStringLiteral("00 90 2B 1A 2C 3D")); // macaddress
    EXPECT_EQ(r.VarList.Item(1)->Value, QStringLiteral("true"));              // enumerated integer
    EXPECT_EQ(r.VarList.Item(6)->Value, QStringLiteral("100"));
    EXPECT_EQ(r.VarList.Item(1)->InstanceOid, QStringLiteral("1.3.6.1.4.1.32473.1.3.1.1.2.0"));

    OvSNMPRequest mac;
    mac.VarList = OvSNMPVarList(MACOperationTable, SVT_SV, 0);
    mac.Get(true);
    EXPECT_EQ(mac.VarList.Item(9)->Value, QStringLiteral("Orvanta")); // displaystr
    EXPECT_EQ(mac.VarList.Item(6)->Value, QStringLiteral("longPreamble"));

    OvSNMPRequest ap;
    ap.VarList = OvSNMPVarList(APModeConfigTable, SVT_SV, 0);
    ap.Get(true);
    EXPECT_EQ(ap.VarList.Item(2)->Value, QStringLiteral("192.168.0.20")); // ipaddress

    OvSNMPRequest sys;
    sys.VarList = OvSNMPVarList(SysObjectIDTable, SVT_SV, 0);
    sys.Get(true);
    EXPECT_EQ(sys.VarList.Item(0)->Value, QStringLiteral("1.3.6.1.4.1.32473.2.1")); // objectid

    OvSNMPRequest counters;
    counters.VarList = OvSNMPVarList(CountersTable, MVT_SV, 0);
    counters.Get(true);
    bool ok = false;
    counters.VarList.Item(9)->Value.toULongLong(&ok);
    EXPECT_TRUE(ok) << counters.VarList.Item(9)->Value;
    EXPECT_EQ(counters.VarList.Item(9)->InstanceOid, QStringLiteral("1.3.6.1.4.1.32473.1.3.2.2.10.0"));
}

TEST_F(Requests, SetWritesOnlyWritableValidItemsAndReadsBack) {
    OvSNMPRequest r;
    r.VarList = OvSNMPVarList(APModeConfigTable, SVT_SV, 0);
    r.Get(true);
    r.VarList.Item(0)->Value = QStringLiteral("backupAccessPoint");
    r.VarList.Item(1)->Value = QStringLiteral("00:11:22:aa:bb:cc");
    r.VarList.Item(2)->Value = QStringLiteral("10.20.30.40");
    r.VarList.Item(3)->Value = QStringLiteral("ZZ"); // not hex, but excluded below
    r.VarList.Item(3)->Access |= OvAccess::invalid;
    EXPECT_FALSE(r.Set(false));
    EXPECT_TRUE(
        ToolGet(QStringLiteral("1.3.6.1.4.1.32473.1.3.1.2.1.0")).endsWith(QStringLiteral("INTEGER: 5")));
    EXPECT_TRUE(ToolGet(QStringLiteral("1.3.6.1.4.1.32473.1.3.1.2.2.0"))
                    .endsWith(QStringLiteral("00 11 22 AA BB CC")));
    EXPECT_TRUE(
        ToolGet(QStringLiteral("1.3.6.1.4.1.32473.1.3.1.2.3.0")).endsWith(QStringLiteral("10.20.30.40")));

    // A list mixing read-only rows: the agent refuses read-only objects, so the set would
    // fail if they were sent.
    OvSNMPRequest station;
    station.VarList = OvSNMPVarList(StationConfigTable, SVT_SV, 0);
    station.Get(true);
    station.VarList.Item(3)->Value = QStringLiteral("4C 61 62"); // "Lab"
    EXPECT_NO_THROW(station.Set(false));
    EXPECT_TRUE(ToolGet(QStringLiteral("1.3.6.1.4.1.32473.1.3.1.1.4.0")).endsWith(QStringLiteral("\"Lab\"")));
}

TEST_F(Requests, MalformedTextsRaise517AndSendNothing) {
    const char* bad[][2] = {
        {"1", "00:11:22"}, {"1", "GG GG GG GG GG GG"}, {"2", "10.0.0.256"}, {"2", "10.0.0"}, {"3", "4C 6"}};
    for (auto& row : bad) {
        OvSNMPRequest r;
        r.VarList = OvSNMPVarList(APModeConfigTable, SVT_SV, 0);
        r.Get(true);
        const QString before = ToolGet(QStringLiteral("1.3.6.1.4.1.32473.1.3.1.2.1.0"));
        r.VarList.Item(0)->Value = QStringLiteral("repeater");
        r.VarList.Item(QString::fromLatin1(row[0]).toInt())->Value = QString::fromLatin1(row[1]);
        try {
            r.Set(false);
            ADD_FAILURE() << "sent " << row[1];
        } catch (const OvException& e) {
            EXPECT_EQ(e.code(), -517) << row[1];
        }
        EXPECT_EQ(ToolGet(QStringLiteral("1.3.6.1.4.1.32473.1.3.1.2.1.0")), before) << "mode was written";
    }
}

TEST_F(Requests, ErrorsFoundBeforeSending) {
    OvSNMPRequest r;
    r.VarList = OvSNMPVarList(SysObjectIDTable, SVT_SV, 0);
    EXPECT_EQ(CodeOf([&] { r.Get(false); }), -510);
    r.VarList.ListKind = static_cast<OvListKind>(7);
    EXPECT_EQ(CodeOf([&] { r.Get(true); }), -514);
    // Refused before any look-up: no query leaves the machine.
    for (const char* address : {"999.1.1.1", ""}) {
        OvSNMPRequest bad;
        bad.Target.Device.Address = QString::fromLatin1(address);
        bad.VarList = OvSNMPVarList(SysObjectIDTable, SVT_SV, 0);
        try {
            bad.Get(true);
            ADD_FAILURE() << address;
        } catch (const OvException& e) {
            EXPECT_EQ(e.code(), -509) << address;
            EXPECT_EQ(e.message(), QStringLiteral("Invalid IP Address or DNS name!"));
        }
    }
}

namespace {
// A UDP socket on loopback that takes requests and never answers; it notes when each came.
struct SilentAgent {
    int Fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK, 0);
    quint16 Port = 0;
    QElapsedTimer Clock;
    std::vector<qint64> ArrivedMs;
    SilentAgent() {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(Fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        socklen_t len = sizeof a;
        ::getsockname(Fd, reinterpret_cast<sockaddr*>(&a), &len);
        Port = ntohs(a.sin_port);
        Clock.start();
    }
    ~SilentAgent() { ::close(Fd); }
    void Drain() {
        char buffer[2048];
        while (::recv(Fd, buffer, sizeof buffer, 0) > 0)
            ArrivedMs.push_back(Clock.elapsed());
    }
};
} // namespace

TEST_F(Requests, TimeOutAfterOneRetry) {
    SilentAgent silent;
    OvSNMPRequest r;
    r.Target.Device.Port = silent.Port;
    r.VarList = OvSNMPVarList(SysObjectIDTable, SVT_SV, 0);
    QElapsedTimer t;
    t.start();
    const Raised raised = RaisedBy([&] { r.Get(true); });
    EXPECT_EQ(raised.Code, -405);
    EXPECT_EQ(raised.Message, QStringLiteral("SNMP request timed out!"));
    EXPECT_GE(t.elapsed(), 1800);
    EXPECT_LT(t.elapsed(), 3500);
    silent.Drain();
    EXPECT_EQ(silent.ArrivedMs.size(), 2u); // the synchronous read: request and one retry
    silent.ArrivedMs.clear();

    bool called = false;
    OvSNMPError result;
    QObject context;
    t.restart();
    r.GetAsync(
        &context,
        [&](const OvSNMPError& e, OvSNMPVarList&) {
            called = true;
            result = e;
        },
        true);
    EXPECT_EQ(r.Outstanding, 1);
    ASSERT_TRUE(WaitFor(
        [&] {
            silent.Drain();
            return called;
        },
        5000));
    EXPECT_EQ(result.Code, -405);
    EXPECT_TRUE(result.Done);
    EXPECT_GE(t.elapsed(), 1800);
    EXPECT_EQ(r.Outstanding, 0);
    // The request and one retry, a second apart; nothing after.
    WaitFor([] { return false; }, 300);
    silent.Drain();
    ASSERT_EQ(silent.ArrivedMs.size(), 2u);
    EXPECT_NEAR(static_cast<double>(silent.ArrivedMs[1] - silent.ArrivedMs[0]), 1000.0, 150.0);
}

TEST_F(Requests, AsyncGetAnswersWithoutWaitingForTheTick) {
    OvSNMPRequest r;
    r.VarList = OvSNMPVarList(SysObjectIDTable, SVT_SV, 0);
    const OvSNMPError result = GetAsyncAndWait(r);
    EXPECT_EQ(result.Code, 0);
    EXPECT_EQ(result.Message, QStringLiteral("Ok!"));
    EXPECT_EQ(result.Agent.Port, Sim()->Port());
    EXPECT_EQ(r.VarList.Item(0)->Value, QStringLiteral("1.3.6.1.4.1.32473.2.1"));
}

TEST_F(Requests, DestroyingWithAnAnswerOutstandingWaitsAndStaysQuiet) {
    bool called = false;
    QObject context;
    QElapsedTimer t;
    t.start();
    {
        OvSNMPRequest r;
        r.Target.Device.Port = TestAgent::FreeUdpPort();
        r.VarList = OvSNMPVarList(SysObjectIDTable, SVT_SV, 0);
        r.GetAsync(
            &context, [&](const OvSNMPError&, OvSNMPVarList&) { called = true; }, true);
    }
    // The time-out (about 2 s) ends the wait well before the 6 s limit.
    EXPECT_LT(t.elapsed(), 6500);
    EXPECT_FALSE(called);
    WaitFor([] { return false; }, 300);
    EXPECT_FALSE(called);
}

// It waits for its own answers only, and runs no other request's completion meanwhile (one
// that shows rows may spin the event loop into a window being torn down).
TEST_F(Requests, DestroyingWaitsForItsOwnAnswersOnly) {
    int othersCalled = 0;
    const auto count = [&](const OvSNMPError&, OvSNMPVarList&) {
        ++othersCalled;
    };
    TSNMPSession::Engine()->SetTiming(20000, 0); // the silent device's session: no time-out here
    OvSNMPRequest silent, answered;
    silent.Target.Device.Port = TestAgent::FreeUdpPort();
    for (OvSNMPRequest* other : {&silent, &answered}) {
        other->VarList = OvSNMPVarList(SysObjectIDTable, SVT_SV, 0);
        other->GetAsync(nullptr, count, true);
    }
    TSNMPSession::Engine()->SetTiming(OvSNMPEngine::TimeoutMs, OvSNMPEngine::Retries);
    QElapsedTimer t;
    t.start();
    {
        OvSNMPRequest r;
        r.VarList = OvSNMPVarList(SysObjectIDTable, SVT_SV, 0);
        r.GetAsync(nullptr, count, true);
    }
    EXPECT_LT(t.elapsed(), 5000); // not the 6 s limit
    EXPECT_EQ(othersCalled, 0);
    EXPECT_TRUE(WaitFor([&] { return othersCalled == 1; })); // the answered one, later
    silent.LeaveOutstanding();
}

TEST_F(Requests, WalkOfSnmpdInterfaceTable) {
    UseAgent(Snmp().Address(), Snmp().Port());
    static const TSNMPVarInfo ifTable[] = {
        OvVarRow("1.3.6.1.2.1.2.2.1.1", "ifIndex", OvSyntax::integer),
        {"1.3.6.1.2.1.2.2.1.2", "ifDescr", OvSyntax::displaystr, OvAccess::readonly, nullptr, nullptr,
         nullptr, nullptr, nullptr, nullptr},
        {"1.3.6.1.2.1.2.2.1.10", "ifInOctets", OvSyntax::counter, OvAccess::readonly, nullptr, nullptr,
         nullptr, nullptr, nullptr, nullptr},
        OvEndRow,
    };
    for (quint8 version : {quint8(0), quint8(1)}) {
        OvSNMPRequest r;
        r.Target.Security.Version = version;
        r.Target.Security.WriteCommunity =
            QStringLiteral("not-a-community"); // walks read with the read community
        r.VarList = OvSNMPVarList(ifTable, MVT_FMV, 1);
        QStringList names;
        bool first = true;
        while (r.Get(first)) {
            first = false;
            names << r.VarList.Item(1)->Value;
            EXPECT_EQ(r.VarList.Item(0)->InstanceOid,
                      QStringLiteral("1.3.6.1.2.1.2.2.1.1.") + r.VarList.Item(0)->Value);
            ASSERT_LT(names.size(), 100);
        }
        EXPECT_TRUE(names.contains(QStringLiteral("lo")))
            << names.join(QLatin1Char(',')) << " v" << int(version);
        EXPECT_EQ(r.VarList.Item(0)->Value, QStringLiteral("(NOTDONE)"));
    }
}

TEST_F(Requests, AnIdentifierChangedBetweenReadsIsTheOneSent) {
    UseAgent(Snmp().Address(), Snmp().Port());
    static const TSNMPVarInfo row[] = {OvVarRow("1.3.6.1.2.1.1.1", "sysDescr", OvSyntax::displaystr),
                                       OvEndRow};
    // One item read again and again while its identifier text or the list's row suffix
    // changes: the agent must be asked for the new identifier every time.
    const struct {
        const char* oid;
        const char* rowSuffix;
        OvListKind kind;
        const char* asked;
    } reads[] = {
        {"1.3.6.1.2.1.1.1", "", SVT_SV, "1.3.6.1.2.1.1.1.0"},
        {"1.3.6.1.2.1.1.5", "", SVT_SV, "1.3.6.1.2.1.1.5.0"},
        {"1.3.6.1.2.1.1", "6", SVT_SV, "1.3.6.1.2.1.1.6.0"},
        {"1.3.6.1.2.1.1", "4", SVT_SV, "1.3.6.1.2.1.1.4.0"},
        {"1.3.6.1.2.1.1.4.0", "", MVT_SV, "1.3.6.1.2.1.1.4.0"},
        {"1.3.6.1.2.1.1.1.0", "", MVT_SV, "1.3.6.1.2.1.1.1.0"},
    };
    OvSNMPRequest r;
    r.VarList = OvSNMPVarList(row, SVT_SV, 0);
    for (const auto& read : reads) {
        r.VarList.Item(0)->Oid = QLatin1String(read.oid);
        r.VarList.RowSuffix = QLatin1String(read.rowSuffix);
        r.VarList.ListKind = read.kind;
        ASSERT_NO_THROW(r.Get(true)) << read.asked;
        EXPECT_EQ(r.VarList.Item(0)->InstanceOid, QLatin1String(read.asked));
    }

    // A walk whose instance is set back to the column starts again from its first row.
    static const TSNMPVarInfo sysORDescr[] = {
        OvVarRow("1.3.6.1.2.1.1.9.1.3", "sysORDescr", OvSyntax::displaystr), OvEndRow};
    OvSNMPRequest walk;
    walk.VarList = OvSNMPVarList(sysORDescr, MVT_FMV, 0);
    ASSERT_TRUE(walk.Get(true));
    const QString firstRow = walk.VarList.Item(0)->InstanceOid;
    ASSERT_TRUE(walk.Get(false));
    EXPECT_NE(walk.VarList.Item(0)->InstanceOid, firstRow);
    walk.VarList.Item(0)->InstanceOid = QStringLiteral("1.3.6.1.2.1.1.9.1.3");
    ASSERT_TRUE(walk.Get(false));
    EXPECT_EQ(walk.VarList.Item(0)->InstanceOid, firstRow);
}

namespace {
struct V3Case {
    const char* name;
    const char* user;
    int auth;
    const char* authPass;
    int priv;
    const char* privPass;
    int level;
    int expectedCode;
};

class RequestsV3 : public Requests, public ::testing::WithParamInterface<V3Case> {};
} // namespace

TEST_P(RequestsV3, SnmpdAnswersOrNamesTheFailure) {
    const V3Case& c = GetParam();
    UseAgent(Snmp().Address(), Snmp().Port(), 3);
    OvSNMPSecurity& s = TSNMPSession::DefaultTarget().Security;
    s.SecurityModel = 3;
    s.SecurityLevel = c.level;
    s.SecurityName = QString::fromLatin1(c.user);
    s.AuthProtocol = c.auth;
    s.AuthPassword = QString::fromLatin1(c.authPass);
    s.PrivProtocol = c.priv;
    s.PrivPassword = QString::fromLatin1(c.privPass);
    for (bool async : {false, true}) {
        OvSNMPRequest r;
        r.VarList = OvSNMPVarList(SysObjectIDTable, SVT_SV, 0);
        int code = 0;
        if (async) {
            // Errors found before anything is sent are raised by the call itself.
            const int raised = CodeOf([&] { code = GetAsyncAndWait(r, true, 8000).Code; });
            if (raised != 0)
                code = raised;
        } else {
            try {
                r.Get(true);
            } catch (const OvException& e) {
                code = e.code();
            }
        }
        EXPECT_EQ(code, c.expectedCode) << (async ? "async" : "sync");
        if (c.expectedCode == 0) {
            EXPECT_EQ(r.VarList.Item(0)->Value, QStringLiteral("1.3.6.1.4.1.32473.2.1"));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Users, RequestsV3,
    ::testing::Values(V3Case{"md5des", "md5des", 2, "md5des-auth", 2, "md5des-priv", 3, 0},
                      V3Case{"shaaes", "shaaes", 3, "shaaes-auth", 4, "shaaes-priv", 3, 0},
                      V3Case{"sha256aes256", "velmarn", 5, "velmarn-auth", 21, "velmarn-priv", 3, 0},
                      V3Case{"authOnly", "authonly", 3, "authonly-auth", 1, "", 2, 0},
                      V3Case{"sha224des", "sha224des", 4, "sha224-auth", 2, "sha224-priv", 3, 0},
                      V3Case{"sha384", "sha384", 6, "sha384-auth", 1, "", 2, 0},
                      V3Case{"sha512aes", "sha512aes", 7, "sha512-auth", 4, "sha512-priv", 3, 0},
                      V3Case{"aes192", "aes192", 3, "aes192-auth", 20, "aes192-priv", 3, 0},
                      V3Case{"aes256", "aes256", 3, "aes256-auth", 21, "aes256-priv", 3, 0},
                      V3Case{"aes192c", "aes192c", 3, "aes192c-auth", 23, "aes192c-priv", 3, 0},
                      V3Case{"aes256c", "aes256c", 3, "aes256c-auth", 24, "aes256c-priv", 3, 0},
                      V3Case{"wrongAuthPass", "shaaes", 3, "not-the-pass", 4, "shaaes-priv", 3, -308},
                      V3Case{"unknownUser", "nobody-here", 3, "whatever-pass", 4, "whatever-pass", 3, -304},
                      V3Case{"wrongLevel", "authonly", 3, "authonly-auth", 4, "some-priv-pass", 3, -303},
                      V3Case{"unsupportedPriv", "shaaes", 3, "shaaes-auth", 3, "shaaes-priv", 3, -313},
                      V3Case{"unsupportedAuth", "shaaes", 9, "shaaes-auth", 4, "shaaes-priv", 3, -312}),
    RowName());

TEST_F(Requests, AgentReinstalledWithANewEngineIdIsFoundAgain) {
    QString error;
    auto agent = TestAgent::StartSnmpd(&error, QStringLiteral("engineID velmarn-before"));
    ASSERT_NE(agent, nullptr) << error;
    const quint16 port = agent->Port();
    UseAgent(agent->Address(), port, 3);
    OvSNMPSecurity& s = TSNMPSession::DefaultTarget().Security;
    s.SecurityModel = 3;
    s.SecurityLevel = 3;
    s.SecurityName = QString::fromLatin1(TestAgent::V3User);
    s.AuthProtocol = 5;
    s.AuthPassword = QString::fromLatin1(TestAgent::V3AuthPass);
    s.PrivProtocol = 21;
    s.PrivPassword = QString::fromLatin1(TestAgent::V3PrivPass);
    OvSNMPRequest r;
    r.VarList = OvSNMPVarList(SysObjectIDTable, SVT_SV, 0);
    ASSERT_NO_THROW(r.Get(true));
    agent.reset();
    agent = TestAgent::StartSnmpd(&error, QStringLiteral("engineID velmarn-after"), port);
    ASSERT_NE(agent, nullptr) << error;
    EXPECT_EQ(CodeOf([&r] { r.Get(true); }), 0);
    agent.reset();
    agent = TestAgent::StartSnmpd(&error, QStringLiteral("engineID velmarn-third"), port);
    ASSERT_NE(agent, nullptr) << error;
    EXPECT_EQ(GetAsyncAndWait(r, true, 10000).Code, 0);

    // Down for a while (several time-outs after the first), then back with a new engine:
    // the next requests find it again.
    agent.reset();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(GetAsyncAndWait(r, true, 10000).Code, -405);
    agent = TestAgent::StartSnmpd(&error, QStringLiteral("engineID velmarn-fourth"), port);
    ASSERT_NE(agent, nullptr) << error;
    QThread::msleep(OvSNMPEngine::RecheckIntervalMs); // the look at the engine is due again
    // Polled as the main window does, a second apart: at most one poll is lost.
    int code = GetAsyncAndWait(r, true, 10000).Code;
    if (code != 0) {
        WaitFor([] { return false; }, 1000);
        code = GetAsyncAndWait(r, true, 10000).Code;
    }
    EXPECT_EQ(code, 0);
}

TEST_F(Requests, AWrongPrivacyPassPhraseIsToldFromASilentDevice) {
    OvSNMPSecurity& s = TSNMPSession::DefaultTarget().Security;
    auto useShaAes = [&s](const char* privPass) {
        s.SecurityModel = 3;
        s.SecurityLevel = 3;
        s.SecurityName = QStringLiteral("shaaes");
        s.AuthProtocol = 3;
        s.AuthPassword = QStringLiteral("shaaes-auth");
        s.PrivProtocol = 4;
        s.PrivPassword = QLatin1String(privPass);
    };
    const QString timedOut = OvErrorMessage(OvCode::Timeout);
    // The agent answers the discovery, then drops what it cannot decrypt.
    UseAgent(Snmp().Address(), Snmp().Port(), 3);
    useShaAes("not-the-priv-pass");
    OvSNMPRequest r;
    r.VarList = OvSNMPVarList(SysObjectIDTable, SVT_SV, 0);
    const Raised sync = RaisedBy([&r] { r.Get(true); });
    EXPECT_EQ(sync.Code, OvCode::Timeout);
    EXPECT_EQ(sync.Message, timedOut + QLatin1Char(' ') + OvSNMPEngine::PrivacyHint());
    EXPECT_EQ(GetAsyncAndWait(r, true, 10000).Message, sync.Message); // and on later polls
    // Nobody there: a plain time-out.
    UseAgent(QStringLiteral("127.0.0.1"), TestAgent::FreeUdpPort(), 3);
    useShaAes("shaaes-priv");
    OvSNMPRequest none;
    none.VarList = OvSNMPVarList(SysObjectIDTable, SVT_SV, 0);
    EXPECT_EQ(GetAsyncAndWait(none, true, 10000).Message, timedOut);
}

TEST_F(Requests, ChangedPassPhraseTakesEffect) {
    UseAgent(Snmp().Address(), Snmp().Port(), 3);
    OvSNMPSecurity& s = TSNMPSession::DefaultTarget().Security;
    s.SecurityModel = 3;
    s.SecurityLevel = 2;
    s.SecurityName = QStringLiteral("authonly");
    s.AuthProtocol = 3;
    s.AuthPassword = QStringLiteral("authonly-auth");
    OvSNMPRequest good;
    good.VarList = OvSNMPVarList(SysObjectIDTable, SVT_SV, 0);
    EXPECT_NO_THROW(good.Get(true));
    s.AuthPassword = QStringLiteral("authonly-wrong");
    OvSNMPRequest wrong;
    wrong.VarList = OvSNMPVarList(SysObjectIDTable, SVT_SV, 0);
    const Raised raised = RaisedBy([&] { wrong.Get(true); });
    EXPECT_EQ(raised.Code, -308);
    // And back: the right pass phrase works again.
    EXPECT_NO_THROW(good.Get(true));
}

TEST_F(Requests, SimulatorSnmpV3User) {
    UseAgent(Sim()->Address(), Sim()->Port(), 3);
    OvSNMPTarget& t = TSNMPSession::DefaultTarget();
    t.Security.SecurityModel = 3;
    t.Security.SecurityLevel = 3;
    t.Security.SecurityName = QString::fromLatin1(TestAgent::V3User);
    t.Security.AuthProtocol = 3;
    t.Security.AuthPassword = QString::fromLatin1(TestAgent::V3AuthPass);
    t.Security.PrivProtocol = 4;
    t.Security.PrivPassword = QString::fromLatin1(TestAgent::V3PrivPass);
    t.Scope.ContextName = QString::fromLatin1(TestAgent::ReadCommunity);
    OvSNMPRequest r;
    r.VarList = OvSNMPVarList(APModeConfigTable, SVT_SV, 0);
    ASSERT_NO_THROW(r.Get(true));
    r.VarList.Item(3)->Value = QStringLiteral("67 2D 37");
    r.VarList.Item(0)->Access |= OvAccess::invalid;
    r.VarList.Item(1)->Access |= OvAccess::invalid;
    r.VarList.Item(2)->Access |= OvAccess::invalid;
    ASSERT_NO_THROW(r.Set(false));
    EXPECT_TRUE(ToolGet(QStringLiteral("1.3.6.1.4.1.32473.1.3.1.2.4.0")).endsWith(QStringLiteral("\"g-7\"")));

    // A wrong authentication pass phrase: this agent's answers fail our check of their
    // digest and are dropped, which is that failure, not a silent device.
    t.Security.AuthPassword = QStringLiteral("not-the-auth-pass");
    OvSNMPRequest wrong;
    wrong.VarList = OvSNMPVarList(APModeConfigTable, SVT_SV, 0);
    const OvSNMPError refused = GetAsyncAndWait(wrong, true, 10000);
    EXPECT_EQ(refused.Code, OvCode::AuthenticationFailure);
    EXPECT_EQ(refused.Message, OvErrorMessage(OvCode::AuthenticationFailure));
}

TEST_F(Requests, WritesUseTheWriteCommunity) {
    UseAgent(Snmp().Address(), Snmp().Port());
    static const TSNMPVarInfo location[] = {{"1.3.6.1.2.1.1.6", "sysLocation", OvSyntax::displaystr,
                                             OvAccess::readwrite, nullptr, nullptr, nullptr, nullptr, nullptr,
                                             nullptr},
                                            OvEndRow};
    OvSNMPRequest r;
    r.VarList = OvSNMPVarList(location, SVT_SV, 0);
    r.VarList.Item(0)->Value = QStringLiteral("lab rack 7");
    ASSERT_NO_THROW(r.Set(false)); // "vortani" may write
    r.VarList.Item(0)->Value.clear();
    r.Get(true); // "qubsen" may read
    EXPECT_EQ(r.VarList.Item(0)->Value, QStringLiteral("lab rack 7"));

    OvSNMPRequest readOnly;
    readOnly.Target.Security.WriteCommunity = QStringLiteral("qubsen"); // a community that may only read
    readOnly.VarList = OvSNMPVarList(location, SVT_SV, 0);
    readOnly.VarList.Item(0)->Value = QStringLiteral("elsewhere");
    EXPECT_NE(CodeOf([&readOnly] { readOnly.Set(false); }), 0);
    r.Get(true);
    EXPECT_EQ(r.VarList.Item(0)->Value, QStringLiteral("lab rack 7"));

    OvSNMPRequest empty;
    empty.Target.Security.WriteCommunity.clear();
    empty.VarList = OvSNMPVarList(location, SVT_SV, 0);
    empty.VarList.Item(0)->Value = QStringLiteral("x");
    const Raised raised = RaisedBy([&] { empty.Set(false); });
    EXPECT_EQ(raised.Code, -210);
    EXPECT_EQ(raised.Message, QStringLiteral("The write community is empty!"));
}

// Every version names the object the agent lacks: SNMPv1 with noSuchName and its error
// index, SNMPv2c with a noSuchObject binding, whose position the request reports instead.
TEST_F(Requests, AReadNamesTheObjectTheAgentLacks) {
    static const TSNMPVarInfo table[] = {
        OvVarRow("1.3.6.1.2.1.1.2", "sysObjectID", OvSyntax::objectid),
        OvVarRow("1.3.6.1.2.1.1.5", "sysName", OvSyntax::octetstr),
        OvVarRow("1.3.6.1.4.1.32473.99.1", "absent", OvSyntax::integer),
        OvEndRow,
    };
    for (const quint8 version : {quint8(0), quint8(1)}) {
        OvSNMPRequest r;
        r.Target.Security.Version = version;
        r.VarList = OvSNMPVarList(table, SVT_SV, 0);
        const OvSNMPError result = GetAsyncAndWait(r);
        EXPECT_EQ(result.Code, OvCode::NoSuchName) << int(version);
        EXPECT_EQ(result.ErrorIndex, 3) << int(version);
    }
}
