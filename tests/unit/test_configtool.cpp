// velmarn-config against simulated access points, run as a user would run it.
#include "SimulatorSuite.h"
#include "TestAgent.h"
#include "snmp/OvBootCounter.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kSsid = QStringLiteral("1.3.6.1.4.1.32473.1.3.1.1.4.0");
const QString kRts = QStringLiteral("1.3.6.1.4.1.32473.1.3.2.1.2.0");
const QString kChannel = QStringLiteral("1.3.6.1.4.1.32473.1.3.4.4.1.0");

struct ToolRun {
    int Exit = -1;
    QString Out;
    QString Err;
};

class ConfigTool : public SimulatorSuite {
protected:
    QTemporaryDir Dir;

    QString file(const char* name) const { return Dir.filePath(QString::fromLatin1(name)); }

    static ToolRun run(const QStringList& args) {
        QProcess p;
        p.start(QStringLiteral(VELMARN_CONFIG_TOOL), args);
        p.waitForFinished(60000);
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
    static QString at(const TestAgent& agent) { return agent.Endpoint(); }

    // Sets the value of the objects named in a backup file.
    static void edit(const QString& path, const std::map<QString, QString>& values) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QJsonObject root = QJsonDocument::fromJson(f.readAll()).object();
        f.close();
        QJsonArray objects = root.value(QStringLiteral("objects")).toArray();
        for (int i = 0; i < objects.size(); ++i) {
            QJsonObject o = objects[i].toObject();
            const auto it = values.find(o.value(QStringLiteral("name")).toString());
            if (it != values.end())
                o.insert(QStringLiteral("value"), it->second);
            objects[i] = o;
        }
        root.insert(QStringLiteral("objects"), objects);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QJsonDocument(root).toJson());
    }
};

} // namespace

TEST_F(ConfigTool, BackupDiffRestoreOfTwoChangedObjects) {
    const QString backup = file("ap.json");
    ToolRun r = run({QStringLiteral("--address"), at(*Sim()), QStringLiteral("backup"), backup});
    ASSERT_EQ(r.Exit, 0) << r.Err;
    const QString ssid = ToolGet(kSsid);
    const QString rts = ToolGet(kRts);
    ToolSet(kSsid, QStringLiteral("s"), QStringLiteral("Other"));
    ToolSet(kRts, QStringLiteral("i"), QStringLiteral("999"));

    r = run({QStringLiteral("--address"), at(*Sim()), QStringLiteral("diff"), backup});
    EXPECT_EQ(r.Exit, 1);
    const QStringList lines = r.Out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << r.Out;
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("dot11DesiredSSID: "))) << lines[0];
    EXPECT_EQ(lines[1], QStringLiteral("dot11RTSThreshold: 2347 -> 999"));

    r = run({QStringLiteral("--address"), at(*Sim()), QStringLiteral("restore"), backup,
             QStringLiteral("--dry-run")});
    EXPECT_EQ(r.Exit, 0) << r.Err;
    EXPECT_TRUE(ToolGet(kRts).endsWith(QStringLiteral("999")));

    r = run({QStringLiteral("--address"), at(*Sim()), QStringLiteral("restore"), backup});
    EXPECT_EQ(r.Exit, 0) << r.Err;
    EXPECT_TRUE(r.Out.contains(QStringLiteral("restored 2 objects in 2 groups, read back"))) << r.Out;
    EXPECT_EQ(ToolGet(kSsid), ssid);
    EXPECT_EQ(ToolGet(kRts), rts);
}

// The engine boots are counted in the user's state folder, never beside the backups.
TEST_F(ConfigTool, CountsItsEngineBootsInTheStateFolder) {
    const QString counter = OvBootCounter::StateFolder() + QStringLiteral("/OvSNMP_PP_BootCounter");
    quint32 before = 0;
    OvBootCounter::Load(counter, QByteArray(TSNMPSession::EngineId), before);
    for (int i = 0; i < 2; ++i) {
        QProcess p;
        p.setWorkingDirectory(Dir.path());
        p.start(QStringLiteral(VELMARN_CONFIG_TOOL), {"--address", at(*Sim()), "backup", file("ap.json")});
        ASSERT_TRUE(p.waitForFinished(60000));
        ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    }
    quint32 after = 0;
    ASSERT_EQ(OvBootCounter::Load(counter, QByteArray(TSNMPSession::EngineId), after), OvBootCounter::Found);
    EXPECT_EQ(after, before + 2);
    EXPECT_FALSE(QFile::exists(file("OvSNMP_PP_BootCounter")));
}

TEST_F(ConfigTool, AValueThatDoesNotFitStopsTheRestoreBeforeAnythingIsSent) {
    const QString backup = file("bad.json");
    ASSERT_EQ(run({QStringLiteral("--address"), at(*Sim()), QStringLiteral("backup"), backup}).Exit, 0);
    ToolSet(kSsid, QStringLiteral("s"), QStringLiteral("Changed"));
    const QString ssid = ToolGet(kSsid);
    edit(backup,
         {{QStringLiteral("dot11RTSThreshold"), QStringLiteral("lots")},
          {QStringLiteral("dot11manufacturerProductName"), QStringLiteral("read-only, never written")}});
    const ToolRun r = run({QStringLiteral("--address"), at(*Sim()), QStringLiteral("restore"), backup});
    EXPECT_EQ(r.Exit, 2);
    EXPECT_TRUE(r.Err.contains(QStringLiteral("dot11RTSThreshold: "))) << r.Err;
    EXPECT_FALSE(r.Err.contains(QStringLiteral("dot11manufacturerProductName"))) << r.Err;
    EXPECT_EQ(ToolGet(kSsid), ssid); // nothing was sent
    ToolSet(kSsid, QStringLiteral("s"), QStringLiteral("Velmarn-Lab"));
}

TEST_F(ConfigTool, ACloneIsRefusedUnlessAskedAndAFailingGroupStopsTheRestore) {
    // Another access point: its own MAC, and an RTS threshold its agent will not write.
    QFile source(TestAgent::SimulatorDataFile());
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    QByteArray data = source.readAll();
    data.replace("00902b1a2c3d", "00902b000001");
    data.replace("1.3.6.1.4.1.32473.1.3.2.1.2.0|2:writecache|value=2347",
                 "1.3.6.1.4.1.32473.1.3.2.1.2.0|2:readonly|2347");
    const QString otherData = file("other.snmprec");
    QFile other(otherData);
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write(data);
    other.close();
    QString error;
    auto second = TestAgent::StartSimulator(&error, otherData);
    ASSERT_NE(second, nullptr) << error;

    // Both devices at once.
    const QString pattern = file("{address}.json");
    ToolRun r = run({QStringLiteral("--address"), at(*Sim()), QStringLiteral("--address"), at(*second),
                     QStringLiteral("backup"), pattern});
    ASSERT_EQ(r.Exit, 0) << r.Err;
    EXPECT_EQ(r.Out.count(QStringLiteral("backed up 26 objects")), 2) << r.Out;

    const QString backup = file("first.json");
    QFile::copy(QString(pattern).replace(QStringLiteral("{address}"), at(*Sim())), backup);
    edit(backup, {{QStringLiteral("dot11DesiredSSID"), QStringLiteral("43 6C 6F 6E 65")}, // "Clone"
                  {QStringLiteral("dot11RTSThreshold"), QStringLiteral("1000")},
                  {QStringLiteral("dot11CurrentChannel"), QStringLiteral("11")}});
    r = run({QStringLiteral("--address"), at(*second), QStringLiteral("restore"), backup});
    EXPECT_EQ(r.Exit, 1);
    EXPECT_TRUE(r.Err.contains(QStringLiteral("refused: the backup is of another device"))) << r.Err;
    EXPECT_FALSE(
        second->Tool(QStringLiteral("snmpget"), {QStringLiteral("-c"), QStringLiteral("qubsen")}, {kSsid})
            .contains(QStringLiteral("Clone")));

    r = run({QStringLiteral("--address"), at(*second), QStringLiteral("restore"), backup,
             QStringLiteral("--allow-other-device")});
    EXPECT_EQ(r.Exit, 1);
    EXPECT_TRUE(
        r.Err.contains(QStringLiteral("error writing MAC Operation")) &&
        r.Err.contains(QStringLiteral("written: Station Configuration; not written: MAC Operation, DSS")))
        << r.Err;
    EXPECT_TRUE(
        second->Tool(QStringLiteral("snmpget"), {QStringLiteral("-c"), QStringLiteral("qubsen")}, {kSsid})
            .contains(QStringLiteral("Clone")));
    EXPECT_TRUE(
        second->Tool(QStringLiteral("snmpget"), {QStringLiteral("-c"), QStringLiteral("qubsen")}, {kChannel})
            .trimmed()
            .endsWith(QStringLiteral("INTEGER: 6")));
}

TEST_F(ConfigTool, UsageErrors) {
    for (const QStringList& args :
         {QStringList{}, QStringList{QStringLiteral("backup")},
          QStringList{QStringLiteral("--address"), QStringLiteral("127.0.0.1"), QStringLiteral("restore")},
          QStringList{QStringLiteral("--address"), QStringLiteral("127.0.0.1"), QStringLiteral("--version"),
                      QStringLiteral("4"), QStringLiteral("backup")},
          QStringList{QStringLiteral("--address"), QStringLiteral("127.0.0.1"), QStringLiteral("diff"),
                      file("missing.json")}}) {
        const ToolRun r = run(args);
        EXPECT_EQ(r.Exit, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.Err.startsWith(QStringLiteral("velmarn-config: "))) << r.Err;
    }
    EXPECT_EQ(run({QStringLiteral("--help")}).Exit, 0);
}

TEST_F(ConfigTool, AgentsThatAnswerWronglyOrCannotBeReachedSaveNothing) {
    QString error;
    auto integers = TestAgent::StartHostile(&error, QStringLiteral("integers")); // every object INTEGER 1
    ASSERT_NE(integers, nullptr) << error;
    struct Case {
        const char* name;
        QString address;
        const char* message;
    };
    for (const Case& c :
         {Case{"answers of another type", at(*integers), "Variable does not exist! ("},
          Case{"send refused", QStringLiteral("127.255.255.255:161"), "Transport operation failed!"}}) {
        const QString saved = file("never.json");
        const ToolRun r = run({QStringLiteral("--address"), c.address, QStringLiteral("backup"), saved});
        EXPECT_EQ(r.Exit, 1) << c.name << r.Err.toStdString();
        EXPECT_TRUE((r.Out + r.Err).contains(QLatin1String(c.message)))
            << c.name << (r.Out + r.Err).toStdString();
        EXPECT_FALSE(QFile::exists(saved)) << c.name;
    }
}

TEST_F(ConfigTool, ABootsFileThatIsRefusedLeavesNoTemporaryFolder) {
    const QString tmp = file("tmp");
    ASSERT_TRUE(QDir().mkpath(tmp));
    const QString counter = OvBootCounter::StateFolder() + QStringLiteral("/OvSNMP_PP_BootCounter");
    const QString kept = counter + QStringLiteral(".kept");
    QFile::rename(counter, kept);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), counter));
    QProcess p;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), tmp);
    p.setProcessEnvironment(environment);
    p.setWorkingDirectory(Dir.path());
    p.start(QStringLiteral(VELMARN_CONFIG_TOOL),
            {QStringLiteral("--address"), at(*Sim()), QStringLiteral("backup"), file("never.json")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains(QLatin1String("engine boots")));
    EXPECT_EQ(QDir(tmp).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    QFile::remove(counter);
    QFile::rename(kept, counter);
}
