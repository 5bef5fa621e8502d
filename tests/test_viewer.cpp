// The MIB-II viewer against net-snmp's snmpd: what its views read, the bulk walk's end
// conditions, the program's /O export and its start from the module's menu.
#include "SessionFixture.h"
#include "TestAgent.h"
#include "app/TMainForm.h"
#include "binding/OvFeedback.h"
#include "errors/OvErrors.h"
#include "mib/OvCounterDeltas.h"
#include "mib/OvMibReader.h"
#include "snmp/OvTableWalk.h"
#include "viewer/TMibViewForm.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTreeWidget>
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

// The values net-snmp's snmpwalk shows for a subtree, in order.
QStringList walkedValues(const TestAgent& agent, const QString& oid, const QStringList& options = {}) {
    QStringList values;
    const QString text =
        agent.Tool(QStringLiteral("snmpwalk"),
                   options + QStringList{QStringLiteral("-c"), QLatin1String(TestAgent::ReadCommunity),
                                         QStringLiteral("-Oqv")},
                   {oid});
    for (QString line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (line.startsWith(QLatin1Char('"')) && line.endsWith(QLatin1Char('"')))
            line = line.mid(1, line.size() - 2);
        values << line;
    }
    return values;
}

class Viewer : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        QString error;
        Agent = TestAgent::StartSnmpd(&error).release();
        ASSERT_NE(Agent, nullptr) << error.toStdString();
    }
    static void TearDownTestSuite() {
        delete Agent;
        Agent = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(Agent, nullptr);
        UseAgent(Agent->Address(), Agent->Port(), 1);
        TSNMPSession::DefaultTarget().Security.ReadCommunity = QLatin1String(TestAgent::ReadCommunity);
        TSNMPSession::DefaultTarget().Security.WriteCommunity = QLatin1String(TestAgent::WriteCommunity);
        OvFeedback::TakeShown();
    }
    static OvSNMPTarget V2c() { return TSNMPSession::DefaultTarget(); }

    static TestAgent* Agent;
};
TestAgent* Viewer::Agent = nullptr;

QString mibProgram() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../app/MIB");
}

} // namespace

TEST_F(Viewer, EveryViewReadsTheAgent) {
    for (int i = 0; i < MibViewCount; ++i) {
        const ViewRead r = readView(QLatin1String(OvMibViewAt(i).Name), V2c());
        EXPECT_EQ(r.Code, 0) << OvMibViewAt(i).Name << ": " << r.Message.toStdString();
        EXPECT_FALSE(r.Rows.empty()) << OvMibViewAt(i).Name;
    }
}

TEST_F(Viewer, ColumnsMatchWhatNetSnmpReads) {
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
        EXPECT_EQ(r.Column(QLatin1String(c.Title)), walkedValues(*Agent, QLatin1String(c.Oid))) << c.Title;
    }
    const ViewRead info = readView(QStringLiteral("MIB_Info"), V2c());
    const auto sysName = std::find_if(info.Rows.begin(), info.Rows.end(), [](const QStringList& r) {
        return r.value(0) == QStringLiteral("sysName");
    });
    ASSERT_NE(sysName, info.Rows.end());
    EXPECT_EQ(QStringList{sysName->value(1)}, walkedValues(*Agent, QStringLiteral("1.3.6.1.2.1.1.5")));
}

TEST_F(Viewer, SnmpV1AndSnmpV3ReadTheSameTable) {
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
    EXPECT_NE(refused.Code, 0);
    EXPECT_EQ(refused.Message, OvErrorMessage(refused.Code));
}

TEST_F(Viewer, BulkWalkEndsAtTheEndOfTheMibAndOnAnswersThatDoNotAdvance) {
    QString error;
    auto hostile = TestAgent::StartHostile(&error, QStringLiteral("backwards"));
    ASSERT_NE(hostile, nullptr) << error.toStdString();
    struct Case {
        const char* Name;
        bool Hostile;
        quint8 Version;
        const char* Column;
        int Code;
        int Rows; // what was read before the agent went wrong is kept
    };
    for (const Case& c :
         {Case{"past the last object, v2c", false, 1, "1.3.6.1.6.3.99999", 0, 0},
          Case{"past the last object, v1", false, 0, "1.3.6.1.6.3.99999", 0, 0},
          Case{"going backwards, v2c", true, 1, "1.3.6.1.4.1.32473.9.1.1.1", OvCode::WalkNotAdvancing, 1},
          Case{"going backwards, v1", true, 0, "1.3.6.1.4.1.32473.9.1.1.1", OvCode::WalkNotAdvancing, 1}}) {
        OvSNMPTarget target = V2c();
        target.Device.Port = c.Hostile ? hostile->Port() : Agent->Port();
        target.Security.Version = c.Version;
        OvTableWalk walk(target, {{QLatin1String(c.Column), OvSyntax::integer}});
        int code = -1000;
        QObject::connect(&walk, &OvAgentRead::Finished, [&code](int finished) { code = finished; });
        walk.Start();
        EXPECT_TRUE(WaitFor([&code] { return code != -1000; }, 10000)) << c.Name;
        EXPECT_EQ(code, c.Code) << c.Name;
        EXPECT_EQ(walk.RowCount(), c.Rows) << c.Name;
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

TEST_F(Viewer, CounterViewShowsChangesAndSavesWhatItShows) {
    TMibViewForm form(*OvFindMibView(QStringLiteral("MIB_SNMPCounters")), Agent->Address(), V2c());
    form.findChild<QComboBox*>(QStringLiteral("IntervalBox"))->setCurrentIndex(0); // every second
    auto* rows = form.findChild<QTreeWidget*>(QStringLiteral("Rows"));
    ASSERT_NE(rows, nullptr);
    // snmpInPkts grows with every read: its Delta shows from the second read on.
    auto inPackets = [rows]() -> QTreeWidgetItem* {
        const auto found = rows->findItems(QStringLiteral("snmpInPkts"), Qt::MatchExactly, 0);
        return found.isEmpty() ? nullptr : found.first();
    };
    ASSERT_TRUE(WaitFor([&] { return inPackets() && inPackets()->text(2).toInt() > 0; }, 8000));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("snmp.csv"));
    ASSERT_TRUE(form.SaveCsv(file));
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QStringList lines =
        QString::fromUtf8(saved.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    EXPECT_EQ(lines.value(0), QStringLiteral("Object,Value,Delta,Rate"));
    EXPECT_EQ(lines.size(), rows->topLevelItemCount() + 1);
    EXPECT_FALSE(form.SaveCsv(dir.filePath(QStringLiteral("no/such/folder.csv"))));
    EXPECT_EQ(OvFeedback::TakeShown().size(), 1);
}

TEST_F(Viewer, ModuleMenuStartsAViewerThatReachesTheSameAgent) {
    // The module on a port of its own with SNMPv2c: only the environment tells the viewer.
    TMainForm module({QStringLiteral("/I127.0.0.1"), QStringLiteral("/t") + QString::number(Agent->Port()),
                      QStringLiteral("/v1"), QStringLiteral("/R") + QLatin1String(TestAgent::ReadCommunity)});
    QString program;
    QStringList arguments;
    QProcessEnvironment environment;
    const auto previous = TMainForm::ProcessStarter;
    TMainForm::ProcessStarter = [&](const QString& p, const QStringList& a, const QProcessEnvironment& e) {
        program = p;
        arguments = a;
        environment = e;
        return true;
    };
    auto* action = module.findChild<QAction*>(QStringLiteral("IPAddressTable1"));
    ASSERT_NE(action, nullptr);
    action->trigger();
    TMainForm::ProcessStarter = previous;
    ASSERT_FALSE(arguments.filter(QStringLiteral("/W")).isEmpty()); // "/W" empty, as the module hands it on

    QProcess viewer;
    viewer.setProcessEnvironment(environment);
    viewer.setWorkingDirectory(QDir::tempPath());
    viewer.start(mibProgram(), arguments << QStringLiteral("/O-"));
    ASSERT_TRUE(viewer.waitForFinished(20000));
    EXPECT_EQ(viewer.exitCode(), 0) << viewer.readAllStandardError().toStdString();
    const QStringList lines =
        QString::fromUtf8(viewer.readAllStandardOutput()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.first(), QStringLiteral("ipAdEntAddr,ipAdEntIfIndex,ipAdEntNetMask,ipAdEntBcastAddr"));
    QStringList addresses;
    for (const QString& line : lines.mid(1))
        addresses << line.section(QLatin1Char(','), 0, 0);
    EXPECT_EQ(addresses, walkedValues(*Agent, QStringLiteral("1.3.6.1.2.1.4.20.1.1")));
}

TEST_F(Viewer, ExportEndsWithStatusOneAndTheMessage) {
    struct Case {
        const char* Name;
        QStringList Arguments;
        bool Silent;
        const char* Message;
    };
    const QString port = QStringLiteral("/t") + QString::number(Agent->Port());
    const QString community = QStringLiteral("/R") + QLatin1String(TestAgent::ReadCommunity);
    for (const Case& c : {Case{"unknown view",
                               {QStringLiteral("/I127.0.0.1"), port, QStringLiteral("/TMIB_None")},
                               false,
                               "Unknown view \"MIB_None\""},
                          Case{"agent silent",
                               {QStringLiteral("/I127.0.0.1"), port, QStringLiteral("/v1"), community,
                                QStringLiteral("/TMIB_IFTable")},
                               true,
                               "SNMP request timed out!"},
                          Case{"no file name",
                               {QStringLiteral("/I127.0.0.1"), QStringLiteral("/TMIB_Info")},
                               false,
                               "/O needs a file name"}}) {
        QProcess viewer;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY")); // no windowing at all
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        viewer.setProcessEnvironment(environment);
        viewer.setWorkingDirectory(QDir::tempPath());
        Agent->SetSilent(c.Silent);
        const QString output =
            QStringLiteral("/O") + (QLatin1String(c.Name) == QLatin1String("no file name")
                                        ? QString()
                                        : QDir::tempPath() + QStringLiteral("/velmarn-never.csv"));
        viewer.start(mibProgram(), c.Arguments + QStringList{output});
        const bool finished = viewer.waitForFinished(20000);
        Agent->SetSilent(false);
        ASSERT_TRUE(finished) << c.Name;
        EXPECT_EQ(viewer.exitCode(), 1) << c.Name;
        EXPECT_TRUE(QString::fromLocal8Bit(viewer.readAllStandardError()).contains(QLatin1String(c.Message)))
            << c.Name;
        EXPECT_FALSE(QFile::exists(QDir::tempPath() + QStringLiteral("/velmarn-never.csv"))) << c.Name;
    }
}
