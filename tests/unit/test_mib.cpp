// The MIB-II views against net-snmp's snmpd: what they read compared with net-snmp's own
// tools, SNMPv1 and SNMPv3, the bulk walk's end conditions, counter changes.
#include "SnmpdSuite.h"
#include "errors/OvErrors.h"
#include "mib/OvCounterDeltas.h"
#include "mib/OvMibReader.h"
#include "snmp/OvSNMPVar.h"
#include "snmp/OvScalarRead.h"
#include "snmp/OvTableWalk.h"

#include <gtest/gtest.h>

namespace {

struct ViewRead {
    int Code = -1000;
    QString Message;
    QStringList Titles;
    std::vector<QStringList> Rows;

    QStringList Column(const QString& title) const {
        QStringList cells;
        const int c = static_cast<int>(Titles.indexOf(title));
        for (const QStringList& r : Rows)
            cells << r.value(c);
        return cells;
    }
};

ViewRead readView(const QString& name, const OvSNMPTarget& target) {
    ViewRead out;
    const OvMibView* view = OvFindMibView(name);
    if (!view)
        return out;
    OvMibReader reader(*view, target);
    QObject::connect(&reader, &OvMibReader::RowsArrived, [&](const std::vector<OvMibRow>& rows) {
        for (const OvMibRow& r : rows)
            out.Rows.push_back(r.Cells);
    });
    bool done = false;
    QObject::connect(&reader, &OvMibReader::Finished, [&](int code, const QString& message) {
        out.Code = code;
        out.Message = message;
        done = true;
    });
    reader.Read();
    WaitFor([&done] { return done; }, 15000);
    out.Titles = reader.Titles();
    return out;
}

using MibViews = SnmpdSuite;

} // namespace

TEST_F(MibViews, EveryViewReadsTheAgent) {
    for (int i = 0; i < MibViewCount; ++i) {
        const ViewRead r = readView(QLatin1String(OvMibViewAt(i).Name), V2c());
        EXPECT_EQ(r.Code, 0) << OvMibViewAt(i).Name << ": " << r.Message.toStdString();
        EXPECT_FALSE(r.Rows.empty()) << OvMibViewAt(i).Name;
    }
}

TEST_F(MibViews, ColumnsMatchWhatNetSnmpReads) {
    struct Case {
        const char* View;
        const char* Title;
        const char* Oid;
    };
    for (const Case& c : {Case{"MIB_IFTable", "ifDescr", "1.3.6.1.2.1.2.2.1.2"},
                          Case{"MIB_IFTable", "ifName", "1.3.6.1.2.1.31.1.1.1.1"},
                          Case{"MIB_IPAddress", "ipAdEntAddr", "1.3.6.1.2.1.4.20.1.1"},
                          Case{"MIB_IPAddress", "ipAdEntNetMask", "1.3.6.1.2.1.4.20.1.3"}}) {
        const ViewRead r = readView(QLatin1String(c.View), V2c());
        EXPECT_EQ(r.Column(QLatin1String(c.Title)), WalkedValues(QLatin1String(c.Oid))) << c.Title;
    }
    const ViewRead info = readView(QStringLiteral("MIB_Info"), V2c());
    const auto sysName = std::find_if(info.Rows.begin(), info.Rows.end(), [](const QStringList& r) {
        return r.value(0) == QStringLiteral("sysName");
    });
    ASSERT_NE(sysName, info.Rows.end());
    EXPECT_EQ(QStringList{sysName->value(1)}, WalkedValues(QStringLiteral("1.3.6.1.2.1.1.5")));
}

TEST_F(MibViews, SnmpV1AndSnmpV3ReadTheSameTable) {
    const QStringList expected =
        readView(QStringLiteral("MIB_IFTable"), V2c()).Column(QStringLiteral("ifDescr"));
    OvSNMPTarget v1 = V2c();
    v1.Security.Version = 0;
    EXPECT_EQ(readView(QStringLiteral("MIB_IFTable"), v1).Column(QStringLiteral("ifDescr")), expected);
    OvSNMPTarget v3 = V2c();
    OvSNMPSecurity& s = v3.Security;
    s.Version = 3;
    s.SecurityModel = 3;
    s.SecurityLevel = 3;
    s.SecurityName = QLatin1String(TestAgent::V3User);
    s.AuthProtocol = 5;
    s.AuthPassword = QLatin1String(TestAgent::V3AuthPass);
    s.PrivProtocol = 21;
    s.PrivPassword = QLatin1String(TestAgent::V3PrivPass);
    EXPECT_EQ(readView(QStringLiteral("MIB_IFTable"), v3).Column(QStringLiteral("ifDescr")), expected);
    s.PrivPassword = QStringLiteral("not-the-pass-phrase");
    const ViewRead refused = readView(QStringLiteral("MIB_IFTable"), v3);
    EXPECT_EQ(refused.Code, OvCode::Timeout);
    EXPECT_EQ(refused.Message,
              OvErrorMessage(OvCode::Timeout) + QLatin1Char(' ') + OvSnmpEngine::PrivacyHint());
}

TEST_F(MibViews, BulkWalkEndsAtTheEndOfTheMibAndOnAnswersThatDoNotAdvance) {
    QString error;
    auto hostile = TestAgent::StartHostile(&error, QStringLiteral("backwards"));
    ASSERT_NE(hostile, nullptr) << error.toStdString();
    auto endless = TestAgent::StartHostile(&error, QStringLiteral("endless"));
    ASSERT_NE(endless, nullptr) << error.toStdString();
    const int limit = OvMaxTableRows;
    OvMaxTableRows = 40;
    struct Case {
        const char* Name;
        TestAgent* Hostile;
        quint8 Version;
        const char* Column;
        int Code;
        int Rows; // what was read before the agent went wrong is kept
    };
    for (const Case& c :
         {Case{"past the last object, v2c", nullptr, 1, "1.3.6.1.6.3.99999", 0, 0},
          Case{"past the last object, v1", nullptr, 0, "1.3.6.1.6.3.99999", 0, 0},
          Case{"going backwards, v2c", hostile.get(), 1, "1.3.6.1.4.1.32473.9.1.1.1",
               OvCode::WalkNotAdvancing, 1},
          Case{"going backwards, v1", hostile.get(), 0, "1.3.6.1.4.1.32473.9.1.1.1", OvCode::WalkNotAdvancing,
               1},
          Case{"never ending, v2c", endless.get(), 1, "1.3.6.1.4.1.32473.9.1.1.1", OvCode::TooManyRows, 41},
          Case{"never ending, v1", endless.get(), 0, "1.3.6.1.4.1.32473.9.1.1.1", OvCode::TooManyRows, 41}}) {
        OvSNMPTarget target = V2c();
        target.Device.Port = c.Hostile ? c.Hostile->Port() : Agent->Port();
        target.Security.Version = c.Version;
        OvTableWalk walk(target, {{QLatin1String(c.Column), OvSyntax::integer}});
        int code = -1000;
        QObject::connect(&walk, &OvAgentRead::Finished, [&code](int finished) { code = finished; });
        walk.Start();
        EXPECT_TRUE(WaitFor([&code] { return code != -1000; }, 10000)) << c.Name;
        EXPECT_EQ(code, c.Code) << c.Name;
        EXPECT_EQ(walk.RowCount(), c.Rows) << c.Name;
    }
    OvMaxTableRows = limit;
}

TEST_F(MibViews, AScalarAnswerOfAnotherNameOrTypeFailsTheReadAndSaysWhich) {
    QString error;
    for (const char* mode : {"renamed", "integers"}) {
        auto hostile = TestAgent::StartHostile(&error, QLatin1String(mode));
        ASSERT_NE(hostile, nullptr) << error.toStdString();
        OvSNMPTarget target = V2c();
        target.Device.Port = hostile->Port();
        OvScalarRead read(target, {{QStringLiteral("1.3.6.1.2.1.1.3.0"), OvSyntax::timeticks},
                                   {QStringLiteral("1.3.6.1.2.1.1.5.0"), OvSyntax::displaystr}});
        int code = -1000;
        QString message;
        QObject::connect(&read, &OvAgentRead::Finished, [&](int finished, const QString& text) {
            code = finished;
            message = text;
        });
        read.Start();
        EXPECT_TRUE(WaitFor([&code] { return code != -1000; }, 10000)) << mode;
        EXPECT_EQ(code, OvCode::NoSuchName) << mode;
        EXPECT_TRUE(message.endsWith(QStringLiteral("(1.3.6.1.2.1.1.3.0)"))) << mode << message.toStdString();
    }
}

TEST(CounterDeltas, WrapAtTheCountersWidthAndRateInSeconds) {
    struct Case {
        const char* Before;
        const char* After;
        int Bits;
        const char* Delta;
        const char* Rate;
    };
    for (const Case& c : {Case{"100", "350", 32, "250", "125"}, Case{"4294967290", "5", 32, "11", "5"},
                          Case{"4294967290", "4294967300", 64, "10", "5"},
                          Case{"18446744073709551615", "1", 64, "2", "1"}, Case{"7", "9", 0, "", ""}}) {
        OvCounterDeltas deltas;
        EXPECT_TRUE(
            deltas.Update(QStringLiteral("k"), QLatin1String(c.Before), c.Bits, 1000).Delta.isEmpty());
        const OvCounterDeltas::Change change =
            deltas.Update(QStringLiteral("k"), QLatin1String(c.After), c.Bits, 3000);
        EXPECT_EQ(change.Delta, QLatin1String(c.Delta)) << c.Before << " -> " << c.After;
        EXPECT_EQ(change.Rate, QLatin1String(c.Rate)) << c.Before << " -> " << c.After;
    }
}

TEST(MibViewsOfTheAccessPoint, RoutingFallsBackToTheOldestTableTheAgentHas) {
    // The simulated access point has neither inetCidrRouteTable nor ipCidrRouteTable.
    QString error;
    TestAgent* sim = SharedAgents::Simulator(&error);
    ASSERT_NE(sim, nullptr) << error.toStdString();
    UseAgent(sim->Address(), sim->Port(), 1);
    const ViewRead routes = readView(QStringLiteral("MIB_IPRouting"), TSNMPSession::DefaultTarget());
    EXPECT_EQ(routes.Code, 0) << routes.Message.toStdString();
    EXPECT_EQ(routes.Titles.value(0), QStringLiteral("ipRouteDest"));
    EXPECT_EQ(routes.Column(QStringLiteral("ipRouteNextHop")),
              (QStringList{QStringLiteral("192.0.2.1"), QStringLiteral("192.0.2.50")}));
}
