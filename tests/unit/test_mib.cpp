// The MIB-II views against net-snmp's snmpd: what they read compared with net-snmp's own
// tools, SNMPv1 and SNMPv3, the bulk walk's end conditions, counter changes.
#include "InterfaceTable.h"
#include "SimulatorSuite.h"
#include "SnmpdSuite.h"
#include "TestSupport.h"
#include "errors/OvErrors.h"
#include "mib/OvCounterDeltas.h"
#include "mib/OvInterfaceRateHistory.h"
#include "mib/OvMibReader.h"
#include "mib/OvMibTableModel.h"
#include "mib/OvMibText.h"
#include "mib/OvRowShapers.h"
#include "snmp/OvSNMPVar.h"
#include "snmp/OvSNMPEngine.h"
#include "snmp/OvScalarRead.h"
#include "snmp/OvTableWalk.h"
#include "values/OvSyntaxText.h"
#include "snmp/TSNMPSession.h"

#include <QHostAddress>
#include <QRegularExpression>
#include <QSignalSpy>
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
    WaitFor([&done] { return done; }, 120000);
    out.Titles = reader.Titles();
    return out;
}

using MibViews = SnmpdSuite;

// What net-snmp's snmpwalk reads of a column: value by row index, strings without quotes,
// hex octets as "FF FE 80".
QMap<QString, QString> walkedByIndex(const TestAgent& agent, const QString& column) {
    QMap<QString, QString> values;
    const QString text = agent.Tool(
        QStringLiteral("snmpwalk"),
        {QStringLiteral("-c"), QLatin1String(TestAgent::ReadCommunity), QStringLiteral("-Oq")}, {column});
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString name = line.section(QLatin1Char(' '), 0, 0);
        QString value = line.section(QLatin1Char(' '), 1).trimmed();
        if (!name.startsWith(column + QLatin1Char('.')) ||
            value.startsWith(QStringLiteral("No more variables")))
            continue;
        if (value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')) && value.size() >= 2)
            value = value.mid(1, value.size() - 2);
        values.insert(name.mid(column.size() + 1), value); // after ".<column>."
    }
    return values;
}

using GeneratedInterfaces = InterfaceTableSuite;

} // namespace

// On the simulated access point's fixed tables (not the machine's own connections), with a
// time-out no load reaches: every view reads rows.
using MibViewsOnTheAccessPoint = SimulatorSuite;

TEST_F(MibViewsOnTheAccessPoint, EveryViewReadsTheAgent) {
    OvSNMPEngine* engine = TSNMPSession::Engine();
    const OvSNMPTarget target = TSNMPSession::DefaultTarget();
    engine->SetTiming(30000, 0); // sessions opened from now on
    engine->Release(target);
    for (int i = 0; i < MibViewCount; ++i) {
        const ViewRead r = readView(QLatin1String(OvMibViewAt(i).Name), target);
        EXPECT_EQ(r.Code, 0) << OvMibViewAt(i).Name << ": " << r.Message.toStdString();
        EXPECT_FALSE(r.Rows.empty()) << OvMibViewAt(i).Name;
    }
    engine->SetTiming(OvSNMPEngine::TimeoutMs, OvSNMPEngine::Retries);
    engine->Release(target);
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
              OvErrorMessage(OvCode::Timeout) + QLatin1Char(' ') + OvSNMPEngine::PrivacyHint());
}

TEST_F(MibViews, BulkWalkEndsAtTheEndOfTheMibAndOnAnswersThatDoNotAdvance) {
    QString error;
    auto hostile = TestAgent::StartHostile(&error, QStringLiteral("backwards"));
    ASSERT_NE(hostile, nullptr) << error.toStdString();
    auto endless = TestAgent::StartHostile(&error, QStringLiteral("endless"));
    ASSERT_NE(endless, nullptr) << error.toStdString();
    auto empty = TestAgent::StartHostile(&error, QStringLiteral("emptybulk"));
    ASSERT_NE(empty, nullptr) << error.toStdString();
    auto itself = TestAgent::StartHostile(&error, QStringLiteral("itself"));
    ASSERT_NE(itself, nullptr) << error.toStdString();
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
          Case{"never ending, v1", endless.get(), 0, "1.3.6.1.4.1.32473.9.1.1.1", OvCode::TooManyRows, 41},
          Case{"no binding in the answer, v2c", empty.get(), 1, "1.3.6.1.4.1.32473.9.1.1.1",
               OvCode::InvalidPdu, 0},
          Case{"no binding in the answer, v1", empty.get(), 0, "1.3.6.1.4.1.32473.9.1.1.1",
               OvCode::InvalidPdu, 0},
          Case{"the column itself, v2c", itself.get(), 1, "1.3.6.1.4.1.32473.9.1.1.1", 0, 0}}) {
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
    for (const Case& c : {Case{"100", "350", 32, "250", "125.00"}, Case{"4294967290", "5", 32, "11", "5.50"},
                          Case{"4294967290", "4294967300", 64, "10", "5.00"},
                          Case{"18446744073709551615", "1", 64, "2", "1.00"}, Case{"7", "9", 0, "", ""}}) {
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

TEST_F(MibViews, TooBigHalvesTheRepetitionsUntilTheAgentAnswers) {
    // The agent refuses more than 8 repetitions: 60, 30 and 15 are refused, then 7 a
    // request read the 30 rows in 5 answers.
    QString error;
    auto agent = TestAgent::StartHostile(&error, QStringLiteral("toobig"));
    ASSERT_NE(agent, nullptr) << error.toStdString();
    OvSNMPTarget target = V2c();
    target.Device.Port = agent->Port();
    OvTableWalk walk(target, {{QStringLiteral("1.3.6.1.4.1.32473.9.1.1.1"), OvSyntax::integer}});
    std::vector<QString> values;
    QObject::connect(&walk, &OvTableWalk::RowsArrived, [&values](const std::vector<OvTableRow>& rows) {
        for (const OvTableRow& r : rows)
            values.push_back(r.Cells[0].value_or(QString()));
    });
    int code = -1000;
    QObject::connect(&walk, &OvAgentRead::Finished, [&code](int finished) { code = finished; });
    walk.Start();
    ASSERT_TRUE(WaitFor([&code] { return code != -1000; }, 10000));
    EXPECT_EQ(code, 0);
    ASSERT_EQ(values.size(), 30u);
    EXPECT_EQ(values.back(), QStringLiteral("30"));
    const QString requests =
        agent->Tool(QStringLiteral("snmpget"),
                    {QStringLiteral("-c"), QLatin1String(TestAgent::ReadCommunity), QStringLiteral("-Oqv")},
                    {QStringLiteral("1.3.6.1.4.1.32473.9.99.0")});
    EXPECT_EQ(requests.trimmed(), QStringLiteral("8"));
}

TEST(MibText, StringsThatAreNoPlainTextShowAsHexAndCsvTellsMissingFromEmpty) {
    struct Case {
        QByteArray Octets;
        const char* Text;
    };
    for (const Case& c :
         {Case{QByteArray("alias"), "alias"}, Case{QByteArray("Z\xC3\xBCrich"), "Z\u00FCrich"},
          Case{QByteArray("\xFF\xFE\x80"
                          "alias"),
               "FF FE 80 61 6C 69 61 73"},
          Case{QByteArray("a\0b", 3), "61 00 62"}, Case{QByteArray("line\n"), "6C 69 6E 65 0A"},
          Case{QByteArray("\xC2\x85"), "C2 85"}, Case{QByteArray(""), ""}}) {
        const QString text = OvMibOctetsText(c.Octets);
        EXPECT_EQ(text, QString::fromUtf8(c.Text)) << c.Octets.toHex().constData();
        EXPECT_FALSE(text.isNull()) << c.Octets.toHex().constData();
    }
    EXPECT_EQ(OvMibCsvLine({QString(), OvMibPresent(QString()), QStringLiteral("a,b"), QStringLiteral("x")}),
              QByteArray(",\"\",\"a,b\",x\r\n"));
}

TEST(MibText, CellsSortAsNumbersAddressesAndIndexes) {
    struct Case {
        const char* Less;
        const char* More;
    };
    for (const Case& c :
         {Case{"9", "10"}, Case{"-3", "2"}, Case{"1.5", "1.25e1"}, Case{"9.255.255.255", "10.0.0.1"},
          Case{"10.0.0.9", "10.0.0.10"}, Case{"port-9", "port-10"}, Case{"1.3.6.1.2", "1.3.6.1.10"},
          Case{"abc", "ABD"}, Case{"fe80::3", "fe80::10"}}) {
        EXPECT_TRUE(OvMibLess(QLatin1String(c.Less), QLatin1String(c.More))) << c.Less << " < " << c.More;
        EXPECT_FALSE(OvMibLess(QLatin1String(c.More), QLatin1String(c.Less))) << c.More << " < " << c.Less;
    }
    EXPECT_TRUE(OvMibLess(QString(), QStringLiteral("")));
}

TEST(MibTableModel, AReadMergesInPlaceAndEachBatchGoesInOneStep) {
    auto row = [](const char* key, const char* value) {
        return OvMibRow{QLatin1String(key), {QLatin1String(key), QLatin1String(value)}, {}};
    };
    OvMibTableModel model;
    model.SetTitles({QStringLiteral("key"), QStringLiteral("value")});
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.BeginRead();
    model.Merge({row("1", "a"), row("2", "b"), row("3", "c")});
    model.Merge({row("4", "d"), row("5", "e")});
    model.EndRead();
    EXPECT_EQ(inserted.size(), 2);
    const QPersistentModelIndex three = model.index(2, 1);
    // The next read: 1 changes, 2 and 5 went, 3a is new between 3 and 4, 6 is new at the end.
    model.BeginRead();
    model.Merge({row("1", "A"), row("3", "c"), row("3a", "x")});
    model.Merge({row("4", "d"), row("6", "f")});
    model.EndRead();
    QStringList keys;
    for (int r = 0; r < model.Count(); ++r)
        keys << model.Row(r).Key;
    EXPECT_EQ(keys, (QStringList{"1", "3", "3a", "4", "6"}));
    EXPECT_EQ(model.index(0, 1).data().toString(), QStringLiteral("A"));
    EXPECT_EQ(changed.size(), 1);
    EXPECT_EQ(reset.size(), 0);
    ASSERT_TRUE(three.isValid()); // a selection or scroll position on it stays
    EXPECT_EQ(three.data().toString(), QStringLiteral("c"));
    // A failed read removes nothing.
    model.BeginRead();
    model.Merge({row("1", "A")});
    EXPECT_EQ(model.Count(), 5);
    // Missing and empty cells differ.
    model.Merge({OvMibRow{QStringLiteral("7"), {QStringLiteral("7"), QString()}, {}},
                 OvMibRow{QStringLiteral("8"), {QStringLiteral("8"), OvMibPresent(QString())}, {}}});
    // (new rows of a read go after the row it brought last: 1)
    EXPECT_EQ(model.index(1, 1).data().toString(), QStringLiteral("\u2013"));
    EXPECT_TRUE(model.index(1, 1).data(Qt::ForegroundRole).isValid());
    EXPECT_EQ(model.index(2, 1).data().toString(), QString());
    EXPECT_FALSE(model.index(2, 1).data(Qt::ForegroundRole).isValid());
}

TEST_F(GeneratedInterfaces, TablesMatchSnmpwalkCellByCellWithSparseColumnsAndRawOctets) {
    const ViewRead table = readView(QStringLiteral("MIB_IFTable"), Target());
    ASSERT_EQ(table.Code, 0) << table.Message.toStdString();
    ASSERT_EQ(static_cast<int>(table.Rows.size()), Interfaces);
    struct Column {
        const char* Title;
        const char* Oid;
    };
    for (const Column& c :
         {Column{"ifIndex", "1.3.6.1.2.1.2.2.1.1"}, Column{"ifDescr", "1.3.6.1.2.1.2.2.1.2"},
          Column{"ifMtu", "1.3.6.1.2.1.2.2.1.4"}, Column{"ifPhysAddress", "1.3.6.1.2.1.2.2.1.6"},
          Column{"ifName", "1.3.6.1.2.1.31.1.1.1.1"}, Column{"ifAlias", "1.3.6.1.2.1.31.1.1.1.18"}}) {
        const QMap<QString, QString> walked =
            walkedByIndex(*Agent, QStringLiteral(".") + QLatin1String(c.Oid));
        const QStringList cells = table.Column(QLatin1String(c.Title));
        ASSERT_FALSE(walked.isEmpty()) << c.Title;
        for (int r = 0; r < cells.size(); ++r) {
            const QString index = QString::number(r + 1);
            EXPECT_EQ(cells[r].isNull(), !walked.contains(index)) << c.Title << " row " << index;
            EXPECT_EQ(cells[r], walked.value(index).trimmed()) << c.Title << " row " << index;
        }
    }
    const QStringList alias = table.Column(QStringLiteral("ifAlias"));
    EXPECT_EQ(alias.value(0), QStringLiteral("FF FE 80 61 6C 69 61 73"));
    EXPECT_EQ(alias.value(1), QStringLiteral("61 00 62"));
    EXPECT_TRUE(alias.value(2).isEmpty() && !alias.value(2).isNull());
    EXPECT_TRUE(alias.value(3).isNull());
    EXPECT_EQ(table.Column(QStringLiteral("ifType")).value(4), QStringLiteral("gigabitEthernet")); // type 117
    // ifLastChange as the time since the change: sysUpTime 500000, row 2 changed at 200.
    EXPECT_EQ(table.Column(QStringLiteral("ifLastChange")).value(1), OvTicksText(500000 - 200));
}

TEST_F(GeneratedInterfaces, InterfaceCountersShowEachCounterFromItsOwnColumnOneRowPerInterface) {
    struct Case {
        const char* Name;
        quint8 Version;
        std::vector<std::pair<const char*, const char*>> Columns; // title, column
    };
    for (const Case& c : {Case{"v2c",
                               1,
                               {{"ifHCInOctets", "1.3.6.1.2.1.31.1.1.1.6"},
                                {"ifHCInUcastPkts", "1.3.6.1.2.1.31.1.1.1.7"},
                                {"ifInNUcastPkts", "1.3.6.1.2.1.2.2.1.12"},
                                {"ifInDiscards", "1.3.6.1.2.1.2.2.1.13"},
                                {"ifInErrors", "1.3.6.1.2.1.2.2.1.14"},
                                {"ifHCOutOctets", "1.3.6.1.2.1.31.1.1.1.10"},
                                {"ifHCOutUcastPkts", "1.3.6.1.2.1.31.1.1.1.11"},
                                {"ifOutNUcastPkts", "1.3.6.1.2.1.2.2.1.18"},
                                {"ifOutDiscards", "1.3.6.1.2.1.2.2.1.19"},
                                {"ifOutErrors", "1.3.6.1.2.1.2.2.1.20"}}},
                          // SNMPv1 has no Counter64: the 32-bit columns only.
                          Case{"v1",
                               0,
                               {{"ifInOctets", "1.3.6.1.2.1.2.2.1.10"},
                                {"ifInUcastPkts", "1.3.6.1.2.1.2.2.1.11"},
                                {"ifOutOctets", "1.3.6.1.2.1.2.2.1.16"},
                                {"ifOutUcastPkts", "1.3.6.1.2.1.2.2.1.17"}}}}) {
        const ViewRead view = readView(QStringLiteral("MIB_IFCounters"), Target(c.Version));
        ASSERT_EQ(view.Code, 0) << c.Name << view.Message.toStdString();
        ASSERT_EQ(static_cast<int>(view.Rows.size()), Interfaces) << c.Name;
        EXPECT_EQ(view.Titles.filter(QStringLiteral("ifHC")).isEmpty(), c.Version == 0) << c.Name;
        for (const auto& [title, oid] : c.Columns) {
            const QMap<QString, QString> walked =
                walkedByIndex(*Agent, QStringLiteral(".") + QLatin1String(oid));
            QStringList expected;
            for (int i = 1; i <= Interfaces; ++i)
                expected << walked.value(QString::number(i));
            EXPECT_EQ(view.Column(QLatin1String(title)), expected) << c.Name << " " << title;
        }
        // ifSpeed at its top: ifHighSpeed's megabits.
        EXPECT_EQ(view.Column(QStringLiteral("ifSpeed")).value(3), QStringLiteral("10000000000")) << c.Name;
        EXPECT_EQ(view.Column(QStringLiteral("ifSpeed")).value(4), QStringLiteral("1000000000")) << c.Name;
    }
}

TEST_F(GeneratedInterfaces, EmptyTablesReadAsEmptyWithTheirTitles) {
    for (const char* name : {"MIB_IPRouting", "MIB_IPAddress"}) {
        const ViewRead view = readView(QLatin1String(name), Target());
        EXPECT_EQ(view.Code, 0) << name << view.Message.toStdString();
        EXPECT_TRUE(view.Rows.empty()) << name;
        EXPECT_FALSE(view.Titles.isEmpty()) << name;
    }
    EXPECT_EQ(readView(QStringLiteral("MIB_UDPCounters"), Target()).Code, OvCode::NoSuchName);
}

TEST(InterfaceRates, RatesPerSecondWithDecimalsAndUtilisationOfTheSpeed) {
    OvInterfaceRates rates;
    auto read = [](quint64 inOctets, quint64 inErrors) {
        OvMibRow row{QStringLiteral("1"),
                     {QStringLiteral("1"), QStringLiteral("eth0"), QStringLiteral("1000000")},
                     {0, 0, 0}};
        for (int c = 0; c < 10; ++c) {
            row.Cells << QString::number(c == 0 ? inOctets : c == 4 ? inErrors : 0);
            row.CounterBits.push_back(c == 0 ? 64 : 32);
        }
        return row;
    };
    const QStringList titles = rates.Titles(QStringList(13, QStringLiteral("t")));
    ASSERT_EQ(titles.size(), 23);
    const OvMibRow first = rates.Shape(read(1000, 0), 0);
    EXPECT_TRUE(first.Cells.value(3).isNull()); // no rate before the second read
    const OvMibRow second = rates.Shape(read(1000 + 62500, 8), 5000);
    EXPECT_EQ(titles.value(3), QStringLiteral("In bit/s"));
    EXPECT_EQ(second.Cells.value(3), QStringLiteral("100000.00")); // 62,500 octets in 5 s
    EXPECT_EQ(second.Cells.value(5), QStringLiteral("10.00"));     // of 1 Mbit/s
    EXPECT_EQ(titles.value(9), QStringLiteral("In errors/s"));
    EXPECT_EQ(second.Cells.value(9), QStringLiteral("1.60")); // 8 errors in 5 s
    EXPECT_EQ(second.Cells.value(13), QStringLiteral("63500"));
}

// The graph's history keeps the bit rates the rows show, under the interface's newest
// name; after a failed read each line starts anew.
TEST(InterfaceRates, HistoryKeepsTheShownBitRatesAndBreaksAfterAFailedRead) {
    OvInterfaceRates rates;
    OvInterfaceRateHistory history(10);
    auto record = [&](const char* name, quint64 inOctets, quint64 outOctets, qint64 nowMs) {
        OvMibRow row{"1", {"1", name, "1000000"}, {0, 0, 0}};
        for (int c = 0; c < 10; ++c) {
            row.Cells << QString::number(c == 0 ? inOctets : c == 5 ? outOctets : 0);
            row.CounterBits.push_back(64);
        }
        history.Record(rates.Shape(row, nowMs), nowMs);
    };
    record("eth0", 0, 0, 0);
    EXPECT_TRUE(history.CountersOf({"1"}).empty()); // no rate before the second read
    record("eth0", 1000, 250, 1000);
    history.MarkGap();
    record("wan0", 3000, 250, 3000);
    ASSERT_EQ(history.CountersOf({"2", "1"}), (std::vector<int>{0, 1}));
    EXPECT_EQ(history.Names(), (QStringList{"wan0 in", "wan0 out"}));
    const auto& in = history.History().Samples(0);
    const auto& out = history.History().Samples(1);
    ASSERT_EQ(in.size(), 2u);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(in[0].Rate, 8000);  // 1000 octets in 1 s
    EXPECT_EQ(in[1].Rate, 8000);  // 2000 in 2 s
    EXPECT_EQ(out[0].Rate, 2000); // 250 in 1 s
    EXPECT_EQ(out[1].Rate, 0);
    EXPECT_FALSE(in[0].AfterGap);
    EXPECT_TRUE(in[1].AfterGap && out[1].AfterGap);
}

TEST(MibIndexes, AddressesOfEveryTypeReadAsTheirTextWithZonesPoliciesAndPorts) {
    struct Case {
        const char* Name;
        QStringList (*Decode)(const OvOidPath&);
        OvOidPath Index;
        QStringList Parts;
    };
    const OvOidPath v6zone{4, 20, 0xfe, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x10, 0, 0, 0, 3};
    OvOidPath route{1, 4, 10, 1, 2, 0, 24, 2, 0, 0};
    route.insert(route.end(), v6zone.begin(), v6zone.end());
    for (const Case& c : {Case{"IPv4 route",
                               OvDecodeInetCidrRouteIndex,
                               {1, 4, 192, 0, 2, 0, 24, 3, 1, 3, 6, 1, 4, 203, 0, 113, 9},
                               {"ipv4", "192.0.2.0", "24", "1.3.6", "ipv4", "203.0.113.9"}},
                          Case{"route to an IPv6 next hop with a zone",
                               OvDecodeInetCidrRouteIndex,
                               route,
                               {"ipv4", "10.1.2.0", "24", "0.0", "ipv6z", "fe80::10%3"}},
                          Case{"IPv6 neighbour",
                               OvDecodeNetToPhysicalIndex,
                               {7, 2, 16, 0x20, 0x01, 0x0d, 0xb8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1},
                               {"7", "ipv6", "2001:db8::1"}},
                          Case{"IPv4 connection",
                               OvDecodeTcpConnectionIndex,
                               {1, 4, 127, 0, 0, 1, 161, 1, 4, 127, 0, 0, 2, 50123},
                               {"ipv4", "127.0.0.1", "161", "ipv4", "127.0.0.2", "50123"}},
                          Case{"cut short", OvDecodeNetToPhysicalIndex, {7, 1, 4, 10}, {"7", "", ""}}}) {
        EXPECT_EQ(c.Decode(c.Index), c.Parts) << c.Name;
    }
}

TEST_F(MibViews, RoutesMatchTheAgentsRouteIndex) {
    const ViewRead routes = readView(QStringLiteral("MIB_IPRouting"), V2c());
    ASSERT_EQ(routes.Code, 0) << routes.Message.toStdString();
    const QString column = QStringLiteral(".1.3.6.1.2.1.4.24.7.1.7"); // inetCidrRouteIfIndex
    const QMap<QString, QString> walked = walkedByIndex(*Agent, column);
    ASSERT_EQ(static_cast<int>(routes.Rows.size()), walked.size());
    QStringList destinations, nextHops;
    // type.length.octets: IPv4 dotted, IPv6 as Qt writes it (no zones on this agent)
    auto address = [](const QStringList& ids, int& at) {
        const int length = ids.value(at + 1).toInt();
        quint8 octets[16] = {};
        for (int i = 0; i < length && i < 16; ++i)
            octets[i] = static_cast<quint8>(ids.value(at + 2 + i).toUInt());
        const QString text =
            length == 4 ? ids.mid(at + 2, 4).join(QLatin1Char('.')) : QHostAddress(octets).toString();
        at += 2 + length;
        return text;
    };
    for (const QString& index : walked.keys()) {
        const QStringList ids = index.split(QLatin1Char('.'));
        int at = 0;
        destinations << address(ids, at);
        at += 1;                         // the prefix length
        at += 1 + ids.value(at).toInt(); // the policy
        nextHops << address(ids, at);
    }
    QStringList shownDestinations = routes.Column(QStringLiteral("inetCidrRouteDest"));
    QStringList shownNextHops = routes.Column(QStringLiteral("inetCidrRouteNextHop"));
    destinations.sort();
    nextHops.sort();
    shownDestinations.sort();
    shownNextHops.sort();
    EXPECT_EQ(shownDestinations, destinations);
    EXPECT_EQ(shownNextHops, nextHops);
    EXPECT_EQ(
        routes.Column(QStringLiteral("inetCidrRouteDestType")).filter(QRegularExpression("^ipv[46]$")).size(),
        static_cast<int>(routes.Rows.size()));
}
