// velmarn-config against simulated access points, run as a user would run it.
#include "ConfigToolSuite.h"
#include "TestAgent.h"
#include "snmp/OvBootCounter.h"
#include "snmp/TSNMPSession.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <array>
#include <gtest/gtest.h>
#include <csignal>
#include <unistd.h>

namespace {

const QString kSsid = QStringLiteral("1.3.6.1.4.1.32473.1.3.1.1.4.0");
const QString kRts = QStringLiteral("1.3.6.1.4.1.32473.1.3.2.1.2.0");
const QString kChannel = QStringLiteral("1.3.6.1.4.1.32473.1.3.4.4.1.0");

// One snmpsimd serving the simulated access point on many loopback addresses
// (127.0.1.1, 127.0.1.2, ...), one port: a fleet of devices in one process.
class FleetSimulator {
public:
    FleetSimulator(int devices, QString* error) : Port(TestAgent::FreeUdpPort()) {
        const QString root = Dir.path();
        QFile::setPermissions(root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                        QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                        QFile::ExeOther);
        for (const char* sub : {"data", "cache", "variation"})
            QDir(root).mkpath(QLatin1String(sub));
        QFile::copy(TestAgent::SimulatorDataFile(), root + QStringLiteral("/data/qubsen.snmprec"));
        QFile::link(QStringLiteral("qubsen.snmprec"), root + QStringLiteral("/data/vortani.snmprec"));
        QFile::copy(QStringLiteral(VELMARN_SIM_VARIATIONS "/readonly.py"),
                    root + QStringLiteral("/variation/readonly.py"));
        QStringList args{QStringLiteral("--data-dir=") + root + QStringLiteral("/data"),
                         QStringLiteral("--cache-dir=") + root + QStringLiteral("/cache"),
                         QStringLiteral("--variation-modules-dir=") + root + QStringLiteral("/variation"),
                         QStringLiteral("--logging-method=null")};
        if (::geteuid() == 0) { // snmpsimd drops root; its cache must stay writable
            args << QStringLiteral("--process-user=nobody") << QStringLiteral("--process-group=nogroup");
            QProcess::execute(QStringLiteral("chown"),
                              {QStringLiteral("nobody:nogroup"), root + QStringLiteral("/cache")});
        }
        for (int i = 1; i <= devices; ++i) {
            Addresses << QStringLiteral("127.0.%1.%2:%3").arg(1 + i / 250).arg(1 + i % 250).arg(Port);
            args << QStringLiteral("--agent-udpv4-endpoint=") + Addresses.back();
        }
        Process.setProcessChannelMode(QProcess::MergedChannels);
        Process.start(QStringLiteral("snmpsimd"), args);
        for (int tries = 0; tries < 300 && Process.state() != QProcess::NotRunning; ++tries) {
            if (Answers(Addresses.back()))
                return;
            QThread::msleep(100);
        }
        *error = QStringLiteral("snmpsimd did not answer: ") + QString::fromLocal8Bit(Process.readAll());
        Addresses.clear();
    }
    ~FleetSimulator() {
        Process.terminate();
        if (!Process.waitForFinished(3000))
            Process.kill();
        Process.waitForFinished(2000);
    }
    static bool Answers(const QString& endpoint) {
        QProcess p;
        p.start(QStringLiteral("snmpget"),
                {QStringLiteral("-v2c"), QStringLiteral("-cqubsen"), QStringLiteral("-r0"),
                 QStringLiteral("-t1"), QStringLiteral("-M/dev/null"), endpoint,
                 QStringLiteral("1.3.6.1.2.1.1.2.0")});
        return p.waitForFinished(5000) && p.exitCode() == 0;
    }

    QTemporaryDir Dir;
    quint16 Port;
    QStringList Addresses;
    QProcess Process;
};

// A UDP relay between velmarn-config and an agent that loses what its mode says:
// "lose-set-answers" the answers to SETs, "silent-after-set" everything from the first SET
// on (the SET itself reaches the agent), "silent-after-set-answer" everything after the
// first SET's answer, "silent" everything, "deaf" every answer; "too-big-once" answers the first GET itself
// with tooBig; "pass" loses nothing. It counts the requests it passed on, by PDU type, and
// keeps the objects each SET passed on names; "lose-sets" passes no SET on, "take-10" answers a GET of more
// than 10 objects itself with tooBig.
const char* const kRelayScript = R"(
import json, select, socket, sys
port, agent, mode, counter = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3], sys.argv[4]

def after(data, i):  # the index after the TLV at i
    n = data[i + 1]
    i += 2
    if n & 0x80:
        k = n & 0x7F
        n = int.from_bytes(data[i:i + k], "big")
        i += k
    return i + n

def content(data, i):  # the index of the first byte inside the TLV at i
    return i + 2 + (data[i + 1] & 0x7F if data[i + 1] & 0x80 else 0)

def pdu_at(data):  # past version and community
    return after(data, after(data, content(data, 0)))

def set_names(data):  # the SET's request-id (hex), and the object identifiers its bindings name, dotted
    i = content(data, pdu_at(data))
    request_id = data[i:after(data, i)].hex()
    for _ in range(3):  # request-id, error-status, error-index
        i = after(data, i)
    end, i, names = after(data, i), content(data, i), []
    while i < end:
        name = content(data, i)
        raw = data[content(data, name):after(data, name)]
        ids, n = [raw[0] // 40, raw[0] % 40], 0
        for b in raw[1:]:
            n = n * 128 + (b & 0x7F)
            if not b & 0x80:
                ids.append(n)
                n = 0
        names.append(".".join(map(str, ids)))
        i = after(data, i)
    return request_id, names

def too_big(request):  # the request answered as a response with error-status tooBig
    data = bytearray(request)
    pdu = pdu_at(data)
    status = after(data, content(data, pdu))  # past the request-id
    data[pdu] = 0xA2
    data[status + 2] = 1
    return bytes(data)

front = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
front.bind(("127.0.0.1", port))
back = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
back.bind(("127.0.0.1", 0))
client, last, counts, silent = None, None, {}, mode == "silent"
print("ready", flush=True)
while True:
    ready, _, _ = select.select([front, back], [], [])
    if front in ready:
        data, client = front.recvfrom(65535)
        last = data[pdu_at(data)]
        if (mode == "too-big-once" or (mode == "take-10" and len(set_names(data)[1]) > 10)) and last == 0xA0:
            mode = "pass" if mode == "too-big-once" else mode
            front.sendto(too_big(data), client)
        elif not silent and not (mode == "lose-sets" and last == 0xA3):
            back.sendto(data, ("127.0.0.1", agent))
            counts[hex(last)] = counts.get(hex(last), 0) + 1
            request_id, names = set_names(data) if last == 0xA3 else (None, None)
            if request_id and request_id not in counts.setdefault("set-ids", []):  # a retransmission once
                counts["set-ids"].append(request_id)
                counts.setdefault("set-names", []).append(names)
            open(counter, "w").write(json.dumps(counts))
            silent = mode == "silent-after-set" and last == 0xA3
    if back in ready:
        data, _ = back.recvfrom(65535)
        if silent or mode == "deaf" or (mode == "lose-set-answers" and last == 0xA3):
            continue
        front.sendto(data, client)
        silent = mode == "silent-after-set-answer" and last == 0xA3
)";

class Relay {
public:
    Relay(const TestAgent& agent, const QString& mode) : Port(TestAgent::FreeUdpPort()) {
        QFile script(Dir.filePath(QStringLiteral("relay.py")));
        script.open(QIODevice::WriteOnly);
        script.write(kRelayScript);
        script.close();
        Process.start(QStringLiteral("python3"), {script.fileName(), QString::number(Port),
                                                  QString::number(agent.Port()), mode, Counter()});
        Process.waitForReadyRead(10000); // "ready"
    }
    ~Relay() {
        Process.kill();
        Process.waitForFinished(2000);
    }
    QString Endpoint() const { return QStringLiteral("127.0.0.1:%1").arg(Port); }
    int SetsPassedOn() const { return PassedOn("0xa3"); }
    int GetsPassedOn() const { return PassedOn("0xa0"); }
    // Per SET that reached the agent, the objects it wrote.
    std::vector<QStringList> SetsWrote() const {
        std::vector<QStringList> sets;
        QFile f(Counter());
        if (f.open(QIODevice::ReadOnly))
            for (const QJsonValue& set :
                 QJsonDocument::fromJson(f.readAll()).object().value(QStringLiteral("set-names")).toArray())
                sets.push_back(set.toVariant().toStringList());
        return sets;
    }

private:
    // Requests of that PDU tag that reached the agent.
    int PassedOn(const char* tag) const {
        QFile f(Counter());
        return f.open(QIODevice::ReadOnly)
                   ? QJsonDocument::fromJson(f.readAll()).object().value(QLatin1String(tag)).toInt()
                   : 0;
    }
    QString Counter() const { return Dir.filePath(QStringLiteral("requests")); }
    QTemporaryDir Dir;
    quint16 Port;
    QProcess Process;
};

// The JSON lines of a journal.
std::vector<QJsonObject> journalLines(const QString& path) {
    std::vector<QJsonObject> lines;
    QFile f(path);
    if (f.open(QIODevice::ReadOnly))
        for (const QByteArray& line : f.readAll().split('\n'))
            if (!line.isEmpty())
                lines.push_back(QJsonDocument::fromJson(line).object());
    return lines;
}

} // namespace

TEST_F(ConfigTool, TwoHundredDevicesFitInto128FileDescriptors) {
    // Every device's socket is closed when it is done, and no more devices are started at
    // once than sockets can be opened: without that the 200 devices need more sockets than
    // the process may open.
    QString error;
    FleetSimulator fleet(200, &error);
    ASSERT_EQ(fleet.Addresses.size(), 200) << error;
    QFile list(file("fleet.txt"));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write(fleet.Addresses.join(QLatin1Char('\n')).toUtf8());
    list.close();
    QProcess p;
    p.start(QStringLiteral("sh"),
            {QStringLiteral("-c"), QStringLiteral("ulimit -n 128; exec \"$0\" \"$@\""),
             QStringLiteral(VELMARN_CONFIG_TOOL), QStringLiteral("--parallel"), QStringLiteral("256"),
             // One simulator serves them all: on a busy machine it is slow.
             QStringLiteral("--timeout"), QStringLiteral("10"), QStringLiteral("--addresses-file"),
             list.fileName(), QStringLiteral("backup"), file("fleet-{address}.json")});
    ASSERT_TRUE(p.waitForFinished(300000));
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(p.exitCode(), 0) << err;
    static const QRegularExpression lowered(
        QStringLiteral("--parallel 256 lowered to 1[01][0-9]: open-file limit 128\n"));
    EXPECT_EQ(err.count(lowered), 1) << err;
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()).count(QStringLiteral(": backed up 26 objects")),
              200)
        << err;
    int saved = 0;
    for (const QString& address : fleet.Addresses) {
        QFile f(file("fleet-{address}.json").replace(QStringLiteral("{address}"), address));
        saved += f.open(QIODevice::ReadOnly) && f.readAll().contains("00 90 2B 1A 2C 3D") ? 1 : 0;
    }
    EXPECT_EQ(saved, 200);
#ifndef __SANITIZE_ADDRESS__ // whose runtime needs descriptors of its own at such limits
    // Limits so low that a socket still cannot be had: the device says so, never that its
    // address is wrong.
    QString said;
    for (int limit = 4; limit <= 10; ++limit) {
        QProcess low;
        low.start(QStringLiteral("sh"),
                  {QStringLiteral("-c"), QStringLiteral("ulimit -n %1; exec \"$0\" \"$@\"").arg(limit),
                   QStringLiteral(VELMARN_CONFIG_TOOL), QStringLiteral("--timeout"), QStringLiteral("0.1"),
                   QStringLiteral("--retries"), QStringLiteral("0"), QStringLiteral("--address"),
                   QStringLiteral("127.0.0.1:1"), QStringLiteral("diff"),
                   file("fleet-{address}.json").replace(QStringLiteral("{address}"), fleet.Addresses[0])});
        low.waitForFinished(30000);
        said += QString::fromUtf8(low.readAllStandardError());
    }
    EXPECT_FALSE(said.contains(QStringLiteral("Invalid IP Address"))) << said;
    EXPECT_TRUE(said.contains(QStringLiteral("127.0.0.1:1: error reading the device: Too many open files")))
        << said;
#endif
}

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
    EXPECT_EQ(lines[1], QStringLiteral("dot11RTSThreshold: 999 -> 2347")); // device -> backup
    const QString json = R"({"current":"999","device":"%1","object":"dot11RTSThreshold","saved":"2347"})";
    r = run({"--address", at(*Sim()), "--json", "diff", backup}); // the same, for programs
    EXPECT_EQ(r.Out.split('\n').mid(1), QStringList({json.arg(at(*Sim())), ""})) << r.Exit;

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

// SNMPv3 runs count the engine boots in the user's state folder, never beside the backups;
// runs without SNMPv3 leave the file alone.
TEST_F(ConfigTool, CountsItsEngineBootsInTheStateFolder) {
    const QString counter = OvBootCounter::StateFolder() + QStringLiteral("/OvSNMP_PP_BootCounter");
    for (const bool v3 : {false, true}) {
        quint32 before = 0;
        OvBootCounter::Load(counter, QByteArray(TSNMPSession::EngineId), before);
        for (int i = 0; i < 2; ++i) {
            QProcess p;
            p.setWorkingDirectory(Dir.path());
            p.start(QStringLiteral(VELMARN_CONFIG_TOOL),
                    (v3 ? snmpV3() : QStringList()) + QStringList{QStringLiteral("--address"), at(*Sim()),
                                                                  QStringLiteral("backup"), file("ap.json")});
            ASSERT_TRUE(p.waitForFinished(60000));
            ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        }
        quint32 after = 0;
        OvBootCounter::Load(counter, QByteArray(TSNMPSession::EngineId), after);
        EXPECT_EQ(after, before + (v3 ? 2 : 0)) << v3;
        EXPECT_FALSE(QFile::exists(file("OvSNMP_PP_BootCounter"))) << v3;
    }
}

// Another firmware or device image without dot11FragmentationThreshold: SNMPv1 answers
// noSuchName with its index, SNMPv2c a noSuchObject binding. Either way the rest is read,
// the object is named as skipped, never written, and the run does not end in "done".
TEST_F(ConfigTool, AnObjectTheDeviceLacksIsSkippedAndNamed) {
    QFile source(TestAgent::SimulatorDataFile());
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    QByteArray data = source.readAll();
    const QByteArray line = "1.3.6.1.4.1.32473.1.3.2.1.5.0|2:writecache|value=2346\n";
    ASSERT_TRUE(data.contains(line));
    data.replace(line, "");
    const QString lackingData = secret("lacking.snmprec", data);
    QString error;
    auto lacking = TestAgent::StartSimulator(&error, lackingData);
    ASSERT_NE(lacking, nullptr) << error;
    const QString backup = file("full.json");
    ASSERT_EQ(run({QStringLiteral("--address"), at(*Sim()), QStringLiteral("backup"), backup}).Exit, 0);
    edit(backup, {{QStringLiteral("dot11RTSThreshold"), QStringLiteral("1000")}}); // same group

    for (const char* version : {"1", "2c"}) {
        const QStringList device{QStringLiteral("--version"), QLatin1String(version),
                                 QStringLiteral("--address"), at(*lacking)};
        ToolRun r = run(device + QStringList{QStringLiteral("backup")});
        EXPECT_EQ(r.Exit, 0) << version << r.Err;
        EXPECT_TRUE(r.Out.contains(QStringLiteral("\"dot11RTSThreshold\""))) << version << r.Out;
        EXPECT_FALSE(r.Out.contains(QStringLiteral("\"dot11FragmentationThreshold\""))) << version << r.Out;
        EXPECT_TRUE(r.Err.contains(QStringLiteral("backed up 25 objects; not on the device: "
                                                  "dot11FragmentationThreshold")))
            << version << r.Err;

        r = run(device + QStringList{QStringLiteral("diff"), backup});
        EXPECT_EQ(r.Exit, 1) << version << r.Err;
        EXPECT_TRUE(
            r.Out.contains(QStringLiteral("dot11FragmentationThreshold: (not on the device) -> 2346")))
            << version << r.Out;

        Relay relay(*lacking, QStringLiteral("pass"));
        r = run({QStringLiteral("--version"), QLatin1String(version), QStringLiteral("--address"),
                 relay.Endpoint(), QStringLiteral("restore"), backup});
        EXPECT_EQ(r.Exit, 1) << version << r.Err;
        EXPECT_TRUE(r.Out.contains(QStringLiteral("MAC Operation / dot11RTSThreshold: 2347 -> 1000\n"
                                                  "dot11FragmentationThreshold: skipped, the device does not "
                                                  "have it")))
            << version << r.Out;
        EXPECT_TRUE(r.Err.contains(QStringLiteral("restored 1 object in 1 group, read back; skipped, not on "
                                                  "the device: dot11FragmentationThreshold")))
            << version << r.Err;
        EXPECT_EQ(relay.SetsWrote(), std::vector<QStringList>{{kRts}}) << version;
        EXPECT_TRUE(
            lacking->Tool(QStringLiteral("snmpget"), {QStringLiteral("-c"), QStringLiteral("qubsen")}, {kRts})
                .trimmed()
                .endsWith(QStringLiteral("INTEGER: 1000")))
            << version;
        lacking->Tool(QStringLiteral("snmpset"), {QStringLiteral("-c"), QStringLiteral("vortani")},
                      {kRts, QStringLiteral("i"), QStringLiteral("2347")});
    }
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
    EXPECT_EQ(r.Exit, 3);
    EXPECT_TRUE(r.Err.contains(QStringLiteral("refused: the backup is of another device"))) << r.Err;
    EXPECT_FALSE(
        second->Tool(QStringLiteral("snmpget"), {QStringLiteral("-c"), QStringLiteral("qubsen")}, {kSsid})
            .contains(QStringLiteral("Clone")));

    r = run({QStringLiteral("--address"), at(*second), QStringLiteral("restore"), backup,
             QStringLiteral("--allow-other-device")});
    EXPECT_EQ(r.Exit, 4); // some groups written, others not
    EXPECT_TRUE(
        r.Err.contains(QStringLiteral("error writing MAC Operation (dot11RTSThreshold): ")) &&
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

TEST_F(ConfigTool, ARestoreSaysWhatHappenedWhenTheDeviceFallsSilent) {
    const QString backup = file("silent.json");
    ASSERT_EQ(run({QStringLiteral("--address"), at(*Sim()), QStringLiteral("backup"), backup}).Exit, 0);
    const QString saved = ToolGet(kRts);
    struct Case {
        const char* mode;
        int exit;
        const char* summary;
        int setsOnTheWire;
        QStringList journal; // the group's outcomes, in order
    };
    for (const Case& c : {
             // The SET and its retransmission arrive, both answers are lost: read again, it was written.
             Case{"lose-set-answers",
                  0,
                  "restored 1 object in 1 group, read back",
                  2,
                  {QStringLiteral("unknown"), QStringLiteral("written")}},
             Case{"silent-after-set",
                  4,
                  "unknown: may have been written: MAC Operation (SNMP request timed out!, "
                  "and it did not answer again); written: none; not written: none",
                  1,
                  {QStringLiteral("unknown")}},
             Case{"silent-after-set-answer",
                  4,
                  "written: all groups; read-back failed: error reading the device: SNMP request "
                  "timed out!",
                  1,
                  {QStringLiteral("written")}},
         }) {
        ToolSet(kRts, QStringLiteral("i"), QStringLiteral("999"));
        Relay relay(*Sim(), QLatin1String(c.mode));
        const QString journal = file("journal.jsonl");
        QFile::remove(journal);
        const ToolRun r = run({QStringLiteral("--address"), relay.Endpoint(), QStringLiteral("--journal"),
                               journal, QStringLiteral("restore"), backup});
        EXPECT_EQ(r.Exit, c.exit) << c.mode << r.Err;
        EXPECT_TRUE(QString(r.Out + r.Err).contains(QLatin1String(c.summary))) << c.mode << r.Out << r.Err;
        EXPECT_EQ(relay.SetsPassedOn(), c.setsOnTheWire) << c.mode;
        EXPECT_EQ(ToolGet(kRts), saved) << c.mode; // the device did take the value every time
        QStringList outcomes;
        for (const QJsonObject& line : journalLines(journal))
            if (line.contains(QStringLiteral("group"))) {
                EXPECT_EQ(line.value(QStringLiteral("group")).toString(), QStringLiteral("MAC Operation"));
                EXPECT_EQ(line.value(QStringLiteral("objects")).toArray(),
                          QJsonArray{QStringLiteral("dot11RTSThreshold")});
                outcomes << line.value(QStringLiteral("outcome")).toString();
            }
        EXPECT_EQ(outcomes, c.journal) << c.mode;
    }
}

// What each way a SET can end leaves on the device, and what the run says and journals,
// counted by the bindings that reached the agent. The device applies a SET's bindings one by
// one: dot11DTIMPeriod refuses every write (undoFailed), after dot11BeaconPeriod was taken;
// dot11LongRetryLimit acknowledges a write and keeps its value; dot11WEPDefaultKeyID holds 4,
// which a restore refuses to send.
TEST_F(ConfigTool, EachWayASetEndsIsReportedObjectByObject) {
    QFile source(TestAgent::SimulatorDataFile());
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray data =
        source.readAll()
            .replace("1.1.8.0|2:writecache|value=1", "1.1.8.0|2:error|op=set,status=undofailed,value=1")
            .replace("2.1.4.0|2:writecache|value=4", "2.1.4.0|2|4")
            .replace("1.3.3.0|2:writecache|value=1", "1.3.3.0|2:writecache|value=4");
    QString error;
    auto device = TestAgent::StartSimulator(&error, secret("quirky.snmprec", data));
    ASSERT_NE(device, nullptr) << error;
    const QString backup = file("quirky.json"), edited = file("edited.json"),
                  journal = file("outcomes.jsonl");
    const ToolRun b = run({"--address", at(*device), "backup", backup});
    EXPECT_TRUE(b.Err.contains("warning: dot11WEPDefaultKeyID 4 is outside 0..3 (IEEE 802.11 MIB); a restore "
                               "will refuse it unless excluded"))
        << b.Err;
    const QString at = "1.3.6.1.4.1.32473.1.3.";
    struct Case {
        const char* relay;
        std::map<QString, QString> edits; // of the backup
        QStringList options;
        int exit;
        const char* says;
        const char* sets;    // per SET that reached the agent (a retransmission once), its objects below `at`
        const char* journal; // per group line, "outcome: objects"
        const char* holds;   // the device's dot11BeaconPeriod and dot11RTSThreshold afterwards
    };
    const std::map<QString, QString> rtsShort{{"dot11RTSThreshold", "1000"}, {"dot11ShortRetryLimit", "5"}},
        rts{{"dot11RTSThreshold", "1000"}}, dtim{{"dot11DTIMPeriod", "3"}},
        both{{"dot11BeaconPeriod", "200"}, {"dot11DTIMPeriod", "3"}},
        rtsLong{{"dot11RTSThreshold", "1000"}, {"dot11LongRetryLimit", "9"}},
        wep{{"dot11WEPDefaultKeyID", "5"}, {"dot11RTSThreshold", "1000"}};
    // clang-format off
    for (const Case& c : std::initializer_list<Case>{
        {"pass", rtsShort, {}, 0, "dot11WEPDefaultKeyID: 4 is outside 0..3 (IEEE 802.11 MIB); skipped, the device "
         "holds it already", "2.1.2.0 2.1.3.0", "written: dot11RTSThreshold dot11ShortRetryLimit", "100 1000"},
        {"pass", dtim, {}, 3, "error writing Station Configuration (dot11DTIMPeriod): Cannot create/set variable, "
         "Undo Failed!; written: none; not written: Station Configuration", "1.1.8.0", "not written: dot11DTIMPeriod",
         "100 2347"},
        {"pass", both, {}, 4, "error writing Station Configuration: partly written: dot11BeaconPeriod; not written: "
         "dot11DTIMPeriod (Cannot create/set variable, Undo Failed!)", "1.1.7.0 1.1.8.0",
         "written: dot11BeaconPeriod|not written: dot11DTIMPeriod", "200 2347"},
        {"lose-set-answers", rts, {}, 0, "restored 1 object in 1 group, read back", "2.1.2.0",
         "unknown: dot11RTSThreshold|written: dot11RTSThreshold", "100 1000"},
        {"lose-sets", rts, {}, 3, "error writing MAC Operation: SNMP request timed out!; read again: not written", "",
         "unknown: dot11RTSThreshold|not written: dot11RTSThreshold", "100 2347"},
        {"lose-set-answers", both, {}, 4, "error writing Station Configuration: SNMP request timed out!; read again: "
         "partly written: dot11BeaconPeriod; not written: dot11DTIMPeriod;", "1.1.7.0 1.1.8.0",
         "unknown: dot11BeaconPeriod dot11DTIMPeriod|written: dot11BeaconPeriod|not written: dot11DTIMPeriod", "200 2347"},
        {"pass", rtsLong, {}, 1, "written, but the device does not hold the backup's values: dot11LongRetryLimit reads 4",
         "2.1.2.0 2.1.4.0", "written: dot11RTSThreshold dot11LongRetryLimit", "100 1000"},
        {"pass", {}, {"--save", "--dry-run"}, 0, "nothing to restore: the device holds the backup's values; not saved: "
         "a dry run", "", "", "100 2347"},
        {"pass", wep, {}, 3, "nothing was sent; these values do not fit: dot11WEPDefaultKeyID: 5 is outside 0..3", "",
         "", "100 2347"},
        {"pass", wep, {"--exclude", "dot11WEPDefaultKeyID"}, 0, "restored 1 object", "2.1.2.0",
         "written: dot11RTSThreshold", "100 1000"},
        {"pass", wep, {"--only", "MAC Operation"}, 0, "restored 1 object", "2.1.2.0", "written: dot11RTSThreshold",
         "100 1000"},
    }) {
        // clang-format on
        device->Tool("snmpset", {"-c", "vortani"}, {at + "1.1.7.0", "i", "100", at + "2.1.2.0", "i", "2347"});
        device->Tool("snmpset", {"-c", "vortani"}, {at + "2.1.3.0", "i", "7"});
        QFile::remove(edited);
        QFile::remove(journal);
        QFile::copy(backup, edited);
        edit(edited, c.edits);
        Relay relay(*device, c.relay);
        const ToolRun r = run(
            c.options + QStringList{"--address", relay.Endpoint(), "--journal", journal, "restore", edited});
        EXPECT_EQ(r.Exit, c.exit) << c.says << r.Out << r.Err;
        EXPECT_TRUE(QString(r.Out + r.Err).contains(c.says)) << r.Out << r.Err;
        QStringList sets, outcomes;
        for (const QStringList& set : relay.SetsWrote())
            sets << QString(set.join(' ')).remove(at);
        EXPECT_EQ(sets.join('|'), c.sets) << c.says;
        for (const QJsonObject& l : journalLines(journal))
            if (l.contains("group"))
                outcomes << l["outcome"].toString() + ": " +
                                l["objects"].toVariant().toStringList().join(' ');
        EXPECT_EQ(outcomes.join('|'), c.journal) << c.says;
        const QString before = "dot11BeaconPeriod=100 dot11DTIMPeriod=1 dot11RTSThreshold=2347 "
                               "dot11ShortRetryLimit=7 dot11LongRetryLimit=4 ";
        for (const QJsonObject& l : journalLines(journal)) { // a written or unknown SET's values
            EXPECT_EQ(l["values"].toArray().size(),
                      l["outcome"] == "not written" ? 0 : l["objects"].toArray().size());
            for (const QJsonValue v : l["values"].toArray())
                EXPECT_TRUE(before.contains(v["object"].toString() + "=" + v["old"].toString() + " ") &&
                            v["new"].toString() == c.edits.at(v["object"].toString()));
        }
        EXPECT_EQ(
            device->Tool("snmpget", {"-Oqv", "-c", "qubsen"}, {at + "1.1.7.0", at + "2.1.2.0"}).simplified(),
            c.holds)
            << c.says;
    }
}

TEST_F(ConfigTool, ARunExitsWithItsWorstDeviceAndSumsThemUp) {
    const QString backup = file("fleet.json");
    ASSERT_EQ(run({QStringLiteral("--address"), at(*Sim()), QStringLiteral("backup"), backup}).Exit, 0);
    const QString unreachable = QStringLiteral("127.255.255.255:161"); // the send is refused
    struct Case {
        const char* name;
        QStringList args;
        int exit;
        const char* summary;
    };
    ToolSet(kChannel, QStringLiteral("i"), QStringLiteral("3"));
    for (const Case& c : {
             Case{"a failed device before a good one",
                  {QStringLiteral("--address"), unreachable, QStringLiteral("--address"), at(*Sim()),
                   QStringLiteral("backup"), file("{address}.json")},
                  3,
                  "2 devices: 1 done, 0 differ, 1 failed, 0 unknown"},
             Case{"differences and an outage",
                  {QStringLiteral("--address"), at(*Sim()), QStringLiteral("--address"), unreachable,
                   QStringLiteral("diff"), backup},
                  3,
                  "2 devices: 0 done, 1 differ, 1 failed, 0 unknown"},
             Case{"differences only",
                  {QStringLiteral("--address"), at(*Sim()), QStringLiteral("diff"), backup},
                  1,
                  "1 device: 0 done, 1 differ, 0 failed, 0 unknown"},
         }) {
        const ToolRun r = run(c.args);
        EXPECT_EQ(r.Exit, c.exit) << c.name << r.Err;
        EXPECT_TRUE(QString(r.Out + r.Err).trimmed().endsWith(QLatin1String(c.summary)))
            << c.name << r.Out << r.Err;
    }
    ToolSet(kChannel, QStringLiteral("i"), QStringLiteral("6"));
}

// A named device is backed up, reported and journaled under its name, and keeps its file
// when its address changes (a relay is the device's second address).
TEST_F(ConfigTool, ANamedDeviceKeepsItsFileWhenRenumbered) {
    Relay moved(*Sim(), "pass");
    const QString journal = file("named.jsonl"), backup = file("ap7-lobby.json");
    for (const QString& address : {at(*Sim()), moved.Endpoint()}) {
        const QString devices = secret("named.txt", (address + " name=ap7-lobby # lobby\n").toUtf8());
        ToolRun r = run({"--journal", journal, "--addresses-file", devices, "backup", file("{name}.json")});
        EXPECT_TRUE(r.Out.contains("ap7-lobby (" + address + "): backed up 26 objects to " + backup))
            << r.Out;
        QFile f(backup);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QJsonObject device = QJsonDocument::fromJson(f.readAll()).object().value("device").toObject();
        EXPECT_EQ(device.value("name"), "ap7-lobby");
        EXPECT_EQ(device.value("address"), address);
        const QJsonObject last = journalLines(journal).back();
        EXPECT_EQ(last.value("device"), "ap7-lobby");
        EXPECT_EQ(last.value("address"), address);
        r = run({"--addresses-file", devices, "diff", file("{name}.json")});
        EXPECT_EQ(r.Out, "ap7-lobby (" + address + "): same as the backup\n");
    }
}

// --git commits the backups that changed, once a run, naming devices and objects; a device
// that fails keeps its committed backup. git runs with a scratch home: no identity but the
// repository's own.
TEST_F(ConfigTool, GitModeCommitsTheBackupsThatChanged) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", Dir.path()), env.insert("GIT_CONFIG_NOSYSTEM", "1");
    auto tool = [&env](const QString& program, const QStringList& args, const QString& path = {}) {
        QProcessEnvironment e = env;
        if (!path.isNull())
            e.insert("PATH", path);
        QProcess p;
        p.setProcessEnvironment(e), p.start(program, args), p.waitForFinished(60000);
        return ToolRun{p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                       QString::fromUtf8(p.readAllStandardError())};
    };
    const QString repo = file("repo"), anonymous = file("anonymous"), backups = file("repo/{name}.json");
    for (const QString& r : {repo, anonymous})
        tool("git", {"init", "-q", r});
    for (const char* key : {"user.name", "user.email"})
        tool("git", {"-C", repo, "config", key, "Velmarn Test"});
    Relay second(*Sim(), "pass");
    secret("repo/ap5.json", "kept\n"), tool("git", {"-C", repo, "add", "ap5.json"});
    tool("git", {"-C", repo, "commit", "-q", "-m", "start"});
    const QString devices = secret("git.txt", (at(*Sim()) + " name=ap7\n" + second.Endpoint() +
                                               " name=ap9\n127.255.255.255 161 name=ap5\n")
                                                  .toUtf8());
    const QStringList args{"--git", "--addresses-file", devices, "backup", backups};
    for (const char* value : {"2347", "2347", "999", "2347"}) {
        ToolSet(kRts, "i", value);
        EXPECT_EQ(tool(VELMARN_CONFIG_TOOL, args).Exit, 3);
    }
    EXPECT_EQ(tool("git", {"-C", repo, "log", "--format=%s"}).Out,
              "2 devices changed: ap7 (dot11RTSThreshold), ap9 (dot11RTSThreshold)\n"
              "2 devices changed: ap7 (dot11RTSThreshold), ap9 (dot11RTSThreshold)\n"
              "2 devices changed: ap7 (new), ap9 (new)\nstart\n");
    EXPECT_EQ(tool("git", {"-C", repo, "status", "--porcelain"}).Out, "");
    // What is missing is said before any device is contacted.
    for (const auto& [folder, path, says] : std::initializer_list<std::tuple<QString, QString, QString>>{
             {file("{name}.json"), QString(), Dir.path() + " is not in a git work tree"},
             {anonymous + "/{name}.json", QString(), "the repository " + anonymous + " has no user.name"},
             {backups, Dir.path(), "no git command on PATH"}}) {
        Relay silent(*Sim(), "silent");
        const ToolRun r =
            tool(VELMARN_CONFIG_TOOL, {"--git", "--address", silent.Endpoint(), "backup", folder}, path);
        EXPECT_TRUE(r.Exit == 2 && r.Err.startsWith("velmarn-config: --git: " + says)) << r.Err;
        EXPECT_EQ(silent.GetsPassedOn(), 0);
    }
}

// --failed-to lists the devices that did not end 0 as they were given, and the list given
// back retries exactly those.
TEST_F(ConfigTool, TheDevicesThatFailedAreListedForTheNextRun) {
    const QString good = at(*Sim()), gone = "127.255.255.255"; // its sends are refused
    const QString list = secret("failed.txt", "left from before\n");
    struct Case {
        QString devices;
        QStringList more;
        QString listed;
    };
    for (const Case& c : {Case{gone + " 161  # old\n" + good + "\n" + gone + ":162\n",
                               {"--address", gone + ":163"},
                               gone + " 161\n" + gone + ":162\n" + gone + ":163\n"},
                          Case{"port,address\n161,\"" + gone + "\"\n," + good + "\n",
                               {},
                               "port,address\n161,\"" + gone + "\"\n"},
                          Case{"address,port\n" + gone + ",161\n",
                               {"--address", gone + ":162"},
                               "address,profile,name\n" + gone + ":161,,\n" + gone + ":162,,\n"},
                          Case{good + "\n", {}, ""}}) {
        const QStringList args{"--timeout", "0.2", "--failed-to", list, "--addresses-file"};
        const QString devices = secret("devices.txt", c.devices.toUtf8());
        // Given back, the list retries those devices and lists them again the same way.
        for (const QStringList& given : {QStringList{devices} + c.more, QStringList{list}}) {
            const ToolRun r = run(args + given + QStringList{"backup", file("{address}.json")});
            QFile f(list);
            EXPECT_TRUE(f.open(QIODevice::ReadOnly) && f.readAll() == c.listed.toUtf8())
                << c.devices << r.Err;
            if (c.listed.isEmpty())
                break;
        }
    }
}

TEST_F(ConfigTool, AStoppedRunFinishesTheDeviceUnderWayAndAccountsForTheRest) {
    Relay silent(*Sim(), QStringLiteral("silent"));
    const QString journal = file("stopped.jsonl");
    QProcess p;
    p.start(QStringLiteral(VELMARN_CONFIG_TOOL),
            {QStringLiteral("--parallel"), QStringLiteral("1"), QStringLiteral("--journal"), journal,
             QStringLiteral("--address"), at(*Sim()), QStringLiteral("--address"), silent.Endpoint(),
             QStringLiteral("--address"), QStringLiteral("127.0.0.2:1"), QStringLiteral("--address"),
             QStringLiteral("127.0.0.3:1"), QStringLiteral("backup"), file("{address}.json")});
    QByteArray out;
    while (!out.contains("backed up") && p.waitForReadyRead(30000))
        out += p.readAllStandardOutput(); // the first device is done: the silent one is under way
    ::kill(static_cast<pid_t>(p.processId()), SIGTERM);
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(p.exitCode(), 3) << err;
    EXPECT_TRUE(err.contains(silent.Endpoint() +
                             QStringLiteral(": error reading the device: SNMP request timed out!")))
        << err;
    EXPECT_TRUE(err.trimmed().endsWith(
        QStringLiteral("stopped: 4 devices: 1 done, 0 differ, 1 failed, 0 unknown, 2 not started")))
        << err;
    QStringList outcomes;
    for (const QJsonObject& line : journalLines(journal))
        outcomes << line.value(QStringLiteral("outcome")).toString();
    EXPECT_EQ(outcomes, (QStringList{QStringLiteral("done"), QStringLiteral("failed"),
                                     QStringLiteral("not started"), QStringLiteral("not started")}));
}

// A second stop signal ends the run at once, whether the device under way is being read or
// written; a SET left without an answer is in the journal as "unknown".
TEST_F(ConfigTool, ASecondStopEndsTheRunAtOnce) {
    const QString backup = file("twice.json");
    ASSERT_EQ(run({QStringLiteral("--address"), at(*Sim()), QStringLiteral("backup"), backup}).Exit, 0);
    const QString saved = ToolGet(kRts);
    struct Case {
        const char* mode;
        const char* command;
        int exit;
        const char* summary;
        QStringList groups; // the journal's group outcomes
    };
    for (const Case& c : {Case{"deaf", "diff", 3, "stopped before anything was written", {}},
                          Case{"silent-after-set",
                               "restore",
                               4,
                               "stopped: may have been written: MAC Operation",
                               {QStringLiteral("unknown")}}}) {
        ToolSet(kRts, QStringLiteral("i"), QStringLiteral("999"));
        Relay relay(*Sim(), QLatin1String(c.mode));
        const QString journal = file("twice.jsonl");
        QFile::remove(journal);
        QProcess p;
        p.start(QStringLiteral(VELMARN_CONFIG_TOOL),
                {QStringLiteral("--address"), relay.Endpoint(), QStringLiteral("--timeout"),
                 QStringLiteral("30"), QStringLiteral("--journal"), journal, QLatin1String(c.command),
                 backup});
        const bool writing = QByteArray(c.command) == "restore";
        for (int i = 0; i < 300 && (writing ? relay.SetsPassedOn() : relay.GetsPassedOn()) == 0; ++i)
            QThread::msleep(20); // the request under way
        ::kill(static_cast<pid_t>(p.processId()), SIGINT);
        QThread::msleep(300);
        ::kill(static_cast<pid_t>(p.processId()), SIGINT);
        QElapsedTimer stopping;
        stopping.start();
        ASSERT_TRUE(p.waitForFinished(30000)) << c.mode;
        // Not waiting for the answer under way (up to 6 s, or the 30 s time-out).
        EXPECT_LT(stopping.elapsed(), 4000) << c.mode;
        const QString err = QString::fromUtf8(p.readAllStandardError());
        EXPECT_EQ(p.exitCode(), c.exit) << c.mode << err;
        EXPECT_TRUE(err.contains(QLatin1String(c.summary))) << c.mode << err;
        QStringList groups;
        for (const QJsonObject& line : journalLines(journal))
            if (line.contains(QStringLiteral("group")))
                groups << line.value(QStringLiteral("outcome")).toString();
        EXPECT_EQ(groups, c.groups) << c.mode;
    }
    ToolSet(kRts, QStringLiteral("i"), saved.section(QLatin1Char(' '), -1));
}

TEST_F(ConfigTool, FilesThatCannotBeUsedAreRefusedBeforeAnythingIsSent) {
    const QString backup = file("good.json");
    ASSERT_EQ(run({QStringLiteral("--address"), at(*Sim()), QStringLiteral("backup"), backup}).Exit, 0);
    QFile f(backup);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QJsonObject good = QJsonDocument::fromJson(f.readAll()).object();
    const QJsonArray objects = good.value(QStringLiteral("objects")).toArray();
    auto with = [&good](const char* key, const QJsonValue& value) {
        QJsonObject root = good;
        if (value.isUndefined())
            root.remove(QLatin1String(key));
        else
            root.insert(QLatin1String(key), value);
        return QJsonDocument(root).toJson();
    };
    auto objectsWith = [&objects](const char* name, const char* key, const QString& value) {
        QJsonArray changed = objects;
        for (int i = 0; i < changed.size(); ++i) {
            QJsonObject o = changed[i].toObject();
            if (o.value(QStringLiteral("name")).toString() == QLatin1String(name))
                o.insert(QLatin1String(key), value);
            changed[i] = o;
        }
        return changed;
    };
    QJsonArray twice = objects;
    twice.append(objects[objects.size() - 1]);
    QJsonObject noMac = good.value(QStringLiteral("device")).toObject();
    noMac.remove(QStringLiteral("mac"));
    struct Case {
        const char* name;
        QByteArray json;
        const char* says;
    };
    const QByteArray cut = "dot11RTSThreshold: \"" + QByteArray(200, '9') + "\xe2\x80\xa6\" is not a whole";
    for (const Case& c : {
             Case{"another syntax",
                  with("objects", objectsWith("dot11RTSThreshold", "syntax", QStringLiteral("octetstr"))),
                  "dot11RTSThreshold: of syntax \"octetstr\", but it is integer"},
             Case{"a huge value, cut in the message",
                  with("objects",
                       objectsWith("dot11RTSThreshold", "value", QString(50000, QLatin1Char('9')) + "x")),
                  cut.constData()},
             Case{"over 16 MB", QByteArray(17 << 20, ' ') + with("format", "velmarn-config 1"),
                  "over 16 MB, not a backup"},
             Case{"format only", QByteArray(R"({"format":"velmarn-config 1"})"), "no device section"},
             Case{"no objects", with("objects", QJsonArray()), "no objects"},
             Case{"device not an object", with("device", QStringLiteral("ap7")), "no device section"},
             Case{"an object twice", with("objects", twice), "dot11EDThreshold: given twice"},
             Case{"another group",
                  with("objects", objectsWith("dot11RTSThreshold", "group", QStringLiteral("DSS"))),
                  "dot11RTSThreshold: in group \"DSS\", but it belongs to \"MAC Operation\""},
             Case{"trailing garbage",
                  with("objects", objectsWith("dot11RTSThreshold", "value", QStringLiteral("12abc"))),
                  "dot11RTSThreshold: \"12abc\" is not a whole integer value"},
             Case{"half a MAC",
                  with("objects", objectsWith("dot11RemoteMACAddress", "value", QStringLiteral("00:90:2b"))),
                  "dot11RemoteMACAddress: \"00:90:2b\" is not a whole macaddress value"},
             Case{"no MAC", with("device", noMac), "the backup does not name its device (MAC and product)"},
             Case{"no name", with("objects", objectsWith("dot11RTSThreshold", "name", QString())),
                  "an object needs its \"oid\", \"name\" and \"value\""},
             Case{"a key twice",
                  with("objects", objects)
                      .replace("\"format\":", "\"format\": \"velmarn-config 1\", \"format\":"),
                  "\"format\" given twice in one object"},
             Case{"text and hex disagree",
                  with("objects", objectsWith("dot11DesiredSSID", "text", QStringLiteral("Other"))),
                  "dot11DesiredSSID: its text \"Other\" is not what its hex value"},
         }) {
        const QString path = secret("unusable.json", c.json);
        Relay relay(*Sim(), QStringLiteral("pass"));
        for (const char* command : {"diff", "restore"}) {
            const ToolRun r =
                run({QStringLiteral("--address"), relay.Endpoint(), QLatin1String(command), path});
            const bool usable = QByteArray(c.name) == "no MAC" && QByteArray(command) == "diff";
            EXPECT_EQ(r.Exit, usable ? 0 : 2) << c.name << " " << command << r.Err;
            if (!usable) {
                EXPECT_TRUE(r.Err.contains(QString::fromUtf8(c.says)) && r.Err.size() < 1000)
                    << c.name << " " << command << r.Err.left(1000);
            }
        }
        EXPECT_EQ(relay.SetsPassedOn(), 0) << c.name;
    }
}

TEST_F(ConfigTool, AnotherSpellingOfTheSameValueIsTheSameValue) {
    const QString backup = file("spelled.json");
    ASSERT_EQ(run({QStringLiteral("--address"), at(*Sim()), QStringLiteral("backup"), backup}).Exit, 0);
    struct Case {
        const char* name;
        const char* object;
        QString oid;
        QString spelling;
        const char* setType; // to change the device first
        const char* other;
        const char* held; // what snmpget shows once restored
    };
    const QString mode = QStringLiteral("1.3.6.1.4.1.32473.1.3.1.2.1.0");
    const QString remote = QStringLiteral("1.3.6.1.4.1.32473.1.3.1.2.2.0");
    for (const Case& c : {
             Case{"plus sign", "dot11RTSThreshold", kRts, QStringLiteral("+2347"), "i", "999",
                  "INTEGER: 2347"},
             Case{"blanks", "dot11RTSThreshold", kRts, QStringLiteral(" 2347 "), "i", "999", "INTEGER: 2347"},
             Case{"leading zero", "dot11RTSThreshold", kRts, QStringLiteral("02347"), "i", "999",
                  "INTEGER: 2347"},
             Case{"label in capitals", "dot11AccessPointMode", mode, QStringLiteral("Repeater"), "i", "1",
                  "INTEGER: 6"},
             Case{"number of the label", "dot11AccessPointMode", mode, QStringLiteral("6"), "i", "1",
                  "INTEGER: 6"},
             Case{"lower-case hex", "dot11DesiredSSID", kSsid,
                  QStringLiteral("56 65 6c 6d 61 72 6e 2d 4c 61 62"), "s", "Other",
                  "STRING: \"Velmarn-Lab\""},
             Case{"colon-separated MAC", "dot11RemoteMACAddress", remote, QStringLiteral("00:90:2b:5e:6f:70"),
                  "x", "001122334455", "Hex-STRING: 00 90 2B 5E 6F 70"},
         }) {
        edit(backup, {{QLatin1String(c.object), c.spelling}});
        ToolRun r = run({QStringLiteral("--address"), at(*Sim()), QStringLiteral("diff"), backup});
        EXPECT_EQ(r.Exit, 0) << c.name << r.Out;
        ToolSet(c.oid, QLatin1String(c.setType), QLatin1String(c.other));
        Relay relay(*Sim(), QStringLiteral("pass"));
        r = run({QStringLiteral("--address"), relay.Endpoint(), QStringLiteral("restore"), backup});
        EXPECT_EQ(r.Exit, 0) << c.name << r.Out << r.Err;
        EXPECT_TRUE(r.Out.contains(QStringLiteral("restored 1 object in 1 group, read back")))
            << c.name << r.Out;
        EXPECT_EQ(relay.SetsPassedOn(), 1) << c.name;
        EXPECT_TRUE(ToolGet(c.oid).endsWith(QLatin1String(c.held))) << c.name << ToolGet(c.oid);
        r = run({QStringLiteral("--address"), at(*Sim()), QStringLiteral("diff"), backup});
        EXPECT_EQ(r.Exit, 0) << c.name << r.Out;
    }
}

TEST_F(ConfigTool, SnmpV3AndTheSameDeviceGivenTwice) {
    const QString backup = file("v3.json");
    const QStringList v3 = snmpV3();
    ToolRun r = run(v3 + QStringList{QStringLiteral("--address"), at(*Sim()), QStringLiteral("--address"),
                                     at(*Sim()), QStringLiteral("backup"), backup});
    EXPECT_EQ(r.Exit, 0) << r.Err;
    EXPECT_TRUE(r.Err.endsWith(QStringLiteral("1 device: 1 done, 0 differ, 0 failed, 0 unknown\n"))) << r.Err;
    ToolSet(kRts, QStringLiteral("i"), QStringLiteral("999"));
    r = run(v3 + QStringList{QStringLiteral("--address"), at(*Sim()), QStringLiteral("restore"), backup});
    EXPECT_EQ(r.Exit, 0) << r.Err;
    EXPECT_TRUE(ToolGet(kRts).endsWith(QStringLiteral("INTEGER: 2347"))) << ToolGet(kRts);
}

// Cloned images share an engine ID; with other boots, and other pass phrases or the same,
// each device still gets its own verdict.
TEST_F(ConfigTool, DevicesOfOneEngineIdGetTheirOwnVerdicts) {
    QString error;
    const TestAgent::Engine first{"8000000001020304", 7, "clone", "clone-auth-a", "clone-priv-a"};
    const TestAgent::Engine second{first.Id, 3, "clone", "clone-auth-b", "clone-priv-b"};
    const auto a = TestAgent::StartSimulator(&error, QString(), &first);
    const auto b = TestAgent::StartSimulator(&error, QString(), &second);
    const TestAgent::Engine third{first.Id, 3, "clone", "clone-auth-a", "clone-priv-a"};
    const auto c = TestAgent::StartSimulator(&error, QString(), &third);
    ASSERT_TRUE(a && b && c) << error;
    const QString devices = secret("clones.txt", QString("127.0.0.1 %1 a\n127.0.0.1 %2 b\n127.0.0.1 %3 a\n")
                                                     .arg(a->Port())
                                                     .arg(b->Port())
                                                     .arg(c->Port())
                                                     .toUtf8());
    for (const char* pass : {"clone-auth-a", "clone-priv-a", "clone-auth-b", "clone-priv-b", "wrong-pass"})
        secret(pass, pass);
    const QString profile =
        "[%1]\nversion=3\nuser=clone\ncontext=qubsen\nauth-protocol=SHA\nauth-passphrase-file=%2\n"
        "priv-protocol=AES\npriv-passphrase-file=%3\n";
    // The second device's pass phrases and its verdict; the others are backed up every time.
    for (const auto& [auth, priv, says] :
         {std::array<const char*, 3>{"clone-auth-b", "clone-priv-b", ": backed up 26"},
          {"wrong-pass", "clone-priv-b", ": error reading the device: Authentication failure!"},
          {"clone-auth-b", "wrong-pass", ": error reading the device: SNMP request timed out!"}}) {
        const QString profiles = secret(
            "clones.ini",
            (profile.arg("a", "clone-auth-a", "clone-priv-a") + profile.arg("b", auth, priv)).toUtf8());
        const ToolRun r = run({"--timeout", "0.5", "--profiles", profiles, "--addresses-file", devices,
                               "backup", file("{address}.json")});
        for (const auto* same : {a.get(), c.get()})
            EXPECT_TRUE(r.Out.contains(at(*same) + ": backed up 26 objects")) << auth << priv << r.Err;
        EXPECT_TRUE(QString(r.Out + r.Err).contains(at(*b) + says)) << auth << priv << r.Err;
    }
}

TEST_F(ConfigTool, ValuesOutsideTheStandardRangesAreNotSent) {
    const QString backup = file("ranges.json");
    ASSERT_EQ(run({QStringLiteral("--address"), at(*Sim()), QStringLiteral("backup"), backup}).Exit, 0);
    struct Case {
        const char* object;
        QString value;
        const char* says;
    };
    for (const Case& c : {
             Case{"dot11RTSThreshold", QStringLiteral("99999"),
                  "dot11RTSThreshold: 99999 is outside 0..2347 (IEEE 802.11 MIB)"},
             Case{"dot11CurrentChannel", QStringLiteral("200"),
                  "dot11CurrentChannel: 200 is outside 1..14 (IEEE 802.11 MIB)"},
             Case{"dot11DesiredSSID", QString(QStringLiteral("41 ")).repeated(40).trimmed(),
                  "dot11DesiredSSID: 40 octets is outside 0..32 octets (IEEE 802.11 MIB)"},
             Case{"dot11AccessPointMode", QStringLiteral("99"), "dot11AccessPointMode: 99 is not one of "},
         }) {
        const QString path = file("out-of-range.json");
        QFile::remove(path);
        QFile::copy(backup, path);
        edit(path, {{QLatin1String(c.object), c.value}});
        Relay relay(*Sim(), QStringLiteral("pass"));
        const ToolRun r =
            run({QStringLiteral("--address"), relay.Endpoint(), QStringLiteral("restore"), path});
        EXPECT_EQ(r.Exit, 3) << c.object << r.Err;
        EXPECT_TRUE(r.Err.contains(QString("nothing was sent; these values do not fit: ") + c.says)) << r.Err;
        EXPECT_EQ(relay.SetsPassedOn(), 0) << c.object;
    }
}

TEST_F(ConfigTool, TheSameSettingsGiveTheSameBytesWithTheSsidReadable) {
    QByteArray first;
    for (const char* name : {"first.json", "second.json"}) {
        ASSERT_EQ(run({QStringLiteral("--address"), at(*Sim()), QStringLiteral("backup"), file(name)}).Exit,
                  0);
        QFile f(file(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        if (first.isEmpty())
            first = bytes;
        else
            EXPECT_EQ(bytes, first);
    }
    EXPECT_TRUE(first.contains("\"text\": \"Velmarn-Lab\"")) << first.constData();
    EXPECT_FALSE(first.contains("\"time\"")) << first.constData();
}

TEST_F(ConfigTool, OnlyExcludeAndIgnoreIdentityChooseWhatIsHandled) {
    const QString backup = file("template.json");
    ASSERT_EQ(run({QStringLiteral("--address"), at(*Sim()), QStringLiteral("backup"), backup}).Exit, 0);
    edit(backup,
         {{QStringLiteral("dot11StationID"), QStringLiteral("00 90 2B 00 00 07")}}); // another device's
    ToolSet(kRts, QStringLiteral("i"), QStringLiteral("999"));
    ToolSet(kChannel, QStringLiteral("i"), QStringLiteral("3"));
    const QString only = QStringLiteral("--only");
    struct Case {
        const char* name;
        QStringList options;
        int exit;
        const char* differing; // the objects diff names, in order
    };
    for (const Case& c : {
             Case{"everything", {}, 1, "dot11StationID dot11RTSThreshold dot11CurrentChannel"},
             Case{"without identity",
                  {QStringLiteral("--ignore-identity")},
                  1,
                  "dot11RTSThreshold dot11CurrentChannel"},
             Case{"one group", {only, QStringLiteral("DSS")}, 1, "dot11CurrentChannel"},
             Case{"one group, its object excluded",
                  {only, QStringLiteral("DSS"), QStringLiteral("--exclude"),
                   QStringLiteral("dot11CurrentChannel")},
                  0,
                  ""},
         }) {
        const ToolRun r = run(
            c.options + QStringList{QStringLiteral("--address"), at(*Sim()), QStringLiteral("diff"), backup});
        EXPECT_EQ(r.Exit, c.exit) << c.name << r.Err;
        QStringList named;
        for (const QString& line : r.Out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            if (line.startsWith(QLatin1String("dot11")))
                named << line.section(QLatin1Char(':'), 0, 0);
        EXPECT_EQ(named.join(QLatin1Char(' ')), QLatin1String(c.differing)) << c.name << r.Out;
    }
    // A template restored onto one group of this device: one SET, the other group untouched.
    Relay relay(*Sim(), QStringLiteral("pass"));
    const ToolRun r = run({only, QStringLiteral("DSS"), QStringLiteral("--address"), relay.Endpoint(),
                           QStringLiteral("restore"), backup, QStringLiteral("--allow-other-device")});
    EXPECT_EQ(r.Exit, 0) << r.Err;
    EXPECT_EQ(relay.SetsPassedOn(), 1);
    EXPECT_TRUE(ToolGet(kChannel).endsWith(QStringLiteral("INTEGER: 6"))) << ToolGet(kChannel);
    EXPECT_TRUE(ToolGet(kRts).endsWith(QStringLiteral("INTEGER: 999"))) << ToolGet(kRts);
    ToolSet(kRts, QStringLiteral("i"), QStringLiteral("2347"));
}

TEST_F(ConfigTool, SaveAfterARestoreThatReadBackRight) {
    const QString backup = file("save.json");
    const QString save = QStringLiteral("1.3.6.1.4.1.32473.1.1.1.0");
    ASSERT_EQ(run({QStringLiteral("--address"), at(*Sim()), QStringLiteral("backup"), backup}).Exit, 0);
    for (const bool saving : {false, true}) {
        ToolSet(kRts, QStringLiteral("i"), QStringLiteral("999"));
        Relay relay(*Sim(), QStringLiteral("pass"));
        QStringList args{QStringLiteral("--address"), relay.Endpoint(), QStringLiteral("restore"), backup};
        if (saving)
            args << QStringLiteral("--save");
        const ToolRun r = run(args);
        EXPECT_EQ(r.Exit, 0) << r.Err;
        EXPECT_EQ(r.Out.contains(QStringLiteral("read back, saved")), saving) << r.Out;
        EXPECT_EQ(relay.SetsPassedOn(), saving ? 2 : 1); // the group, then "Save Changes"
        EXPECT_TRUE(
            ToolGet(save).endsWith(saving ? QStringLiteral("INTEGER: 1") : QStringLiteral("INTEGER: 0")))
            << ToolGet(save);
    }
    // Nothing left to restore: --save still saves what an earlier restore wrote.
    ToolSet(save, QStringLiteral("i"), QStringLiteral("0"));
    Relay relay(*Sim(), QStringLiteral("pass"));
    const ToolRun r = run({QStringLiteral("--address"), relay.Endpoint(), QStringLiteral("restore"), backup,
                           QStringLiteral("--save")});
    EXPECT_EQ(r.Exit, 0) << r.Err;
    EXPECT_TRUE(
        r.Out.contains(QStringLiteral("nothing to restore: the device holds the backup's values, saved")))
        << r.Out;
    EXPECT_EQ(relay.SetsPassedOn(), 1);
    EXPECT_TRUE(ToolGet(save).endsWith(QStringLiteral("INTEGER: 1"))) << ToolGet(save);
    ToolSet(save, QStringLiteral("i"), QStringLiteral("0"));
}

TEST_F(ConfigTool, ABackupReadsTheDeviceWithOneGetUnlessItIsTooBig) {
    // 69 objects: in GETs of 35 after one tooBig; of 9 (69, 35, 18 refused) up to 10 a GET, the read-back
    // too.
    for (const auto& [mode, command, gets] : {std::tuple{"pass", "backup", 1},
                                              {"too-big-once", "backup", 2},
                                              {"take-10", "backup", 8},
                                              {"take-10", "restore", 16}}) {
        if (command == QString("restore"))
            ToolSet(kRts, "i", "999");
        Relay relay(*Sim(), mode);
        const ToolRun r = run({"--address", relay.Endpoint(), command, file("big.json")});
        EXPECT_EQ(r.Exit, 0) << mode << r.Err;
        EXPECT_TRUE(r.Out.contains(command == QString("backup") ? "objects to " : "restored 1 object"))
            << mode;
        EXPECT_EQ(relay.GetsPassedOn(), gets) << mode << command;
    }
}

TEST_F(ConfigTool, RetriesSendTheRequestAgain) {
    for (const auto& [retries, sent] : {std::pair<const char*, int>{nullptr, 2}, {"0", 1}, {"3", 4}}) {
        Relay relay(*Sim(), QStringLiteral("deaf"));
        QStringList args{QStringLiteral("--timeout"), QStringLiteral("0.2"), QStringLiteral("--address"),
                         relay.Endpoint(), QStringLiteral("backup")};
        if (retries)
            args << QStringLiteral("--retries") << QLatin1String(retries);
        const ToolRun r = run(args);
        EXPECT_EQ(r.Exit, 3) << r.Err;
        EXPECT_EQ(relay.GetsPassedOn(), sent) << (retries ? retries : "default");
    }
    // A profile's port, time-out and retries come before the command line's.
    Relay relay(*Sim(), QStringLiteral("deaf"));
    const QString port = relay.Endpoint().section(QLatin1Char(':'), 1);
    const ToolRun r =
        run({QStringLiteral("--port"), QStringLiteral("1"), QStringLiteral("--retries"), QStringLiteral("0"),
             QStringLiteral("--timeout"), QStringLiteral("60"), QStringLiteral("--profiles"),
             secret("slow.ini", "[slow]\nport=" + port.toUtf8() + "\ntimeout=0.2\nretries=2\n"),
             QStringLiteral("--addresses-file"), secret("slow.csv", "address,profile\n127.0.0.1,slow\n"),
             QStringLiteral("backup")});
    EXPECT_TRUE(r.Exit == 3 && r.Err.contains(QStringLiteral(
                                   "127.0.0.1: error reading the device: SNMP request timed out!")))
        << r.Err;
    EXPECT_EQ(relay.GetsPassedOn(), 3);
}

TEST_F(ConfigTool, ALineOfTheAddressesFileMayNameItsProfile) {
    secret("auth.txt", TestAgent::V3AuthPass);
    secret("priv.txt", TestAgent::V3PrivPass);
    const QString profiles = secret("profiles.ini", "[site-b]\n"
                                                    "version=3\n"
                                                    "user=velmarn\n"
                                                    "context=qubsen\n"
                                                    "auth-protocol=SHA\n"
                                                    "auth-passphrase-file=auth.txt\n"
                                                    "priv-protocol=AES\n"
                                                    "priv-passphrase-file=priv.txt\n");
    Relay other(*Sim(), QStringLiteral("pass")); // a second address of the device
    const QString devices = secret(
        "devices.txt", QStringLiteral("127.0.0.1 %1 site-b\n# the rest: the command line's\n127.0.0.1 %2\n")
                           .arg(Sim()->Port())
                           .arg(other.Endpoint().section(QLatin1Char(':'), 1))
                           .toUtf8());
    // The command line's community is wrong: only the device of the profile answers.
    ToolRun r =
        run({QStringLiteral("--community"), QStringLiteral("nope"), QStringLiteral("--timeout"),
             QStringLiteral("0.2"), QStringLiteral("--profiles"), profiles,
             QStringLiteral("--addresses-file"), devices, QStringLiteral("backup"), file("{address}.json")});
    EXPECT_EQ(r.Exit, 3) << r.Err;
    EXPECT_TRUE(r.Out.contains(at(*Sim()) + QStringLiteral(": backed up 26 objects"))) << r.Out;
    EXPECT_TRUE(r.Err.contains(other.Endpoint() + QStringLiteral(": error reading"))) << r.Err;
    EXPECT_EQ(other.GetsPassedOn(), 2); // v2c with the wrong community, sent twice

    const QString unknown =
        secret("unknown.txt", QStringLiteral("127.0.0.1 %1 site-c\n").arg(Sim()->Port()).toUtf8());
    r = run({QStringLiteral("--profiles"), profiles, QStringLiteral("--addresses-file"), unknown,
             QStringLiteral("backup")});
    EXPECT_EQ(r.Exit, 2);
    EXPECT_TRUE(r.Err.contains(QStringLiteral("no profile \"site-c\""))) << r.Err;
}

TEST_F(ConfigTool, UsageErrors) {
    const QString shared = file("shared"), link = shared + "/link", target = secret("target.txt", "kept");
    ASSERT_TRUE(QDir().mkpath(shared) && ::chmod(QFile::encodeName(shared).constData(), 01777) == 0 &&
                QFile::link(target, link) &&
                ::lchown(QFile::encodeName(link).constData(), 65534, gid_t(-1)) == 0);
    for (const QStringList& args :
         {QStringList{}, QStringList{QStringLiteral("backup")},
          QStringList{QStringLiteral("--address"), QStringLiteral("127.0.0.1"), QStringLiteral("restore")},
          QStringList{QStringLiteral("--address"), QStringLiteral("127.0.0.1"), QStringLiteral("--version"),
                      QStringLiteral("4"), QStringLiteral("backup")},
          QStringList{QStringLiteral("--address"), QStringLiteral("127.0.0.1"), QStringLiteral("diff"),
                      file("missing.json")},
          QStringList{QStringLiteral("--address"), QStringLiteral("127.0.0.1"), QStringLiteral("--version"),
                      QStringLiteral("3"), QStringLiteral("--user"), QStringLiteral("velmarn"),
                      QStringLiteral("--auth-protocol"), QStringLiteral("SHA"),
                      QStringLiteral("--auth-passphrase-file"), secret("short.txt", "seven77"),
                      QStringLiteral("backup")},
          QStringList{QStringLiteral("--only"), QStringLiteral("No Such Group"), QStringLiteral("--address"),
                      QStringLiteral("127.0.0.1"), QStringLiteral("backup")},
          QStringList{QStringLiteral("--timeout"), QStringLiteral("nan"), QStringLiteral("--address"),
                      QStringLiteral("127.0.0.1"), QStringLiteral("backup")},
          QStringList{QStringLiteral("--ignore-identity"), QStringLiteral("--address"),
                      QStringLiteral("127.0.0.1"), QStringLiteral("restore"), file("missing.json")},
          QStringList{"--failed-to", file("none/failed.txt"), "--address", "127.0.0.1", "backup"},
          QStringList{"--journal", link, "--address", "127.0.0.1", "backup"},
          QStringList{"--address", "127.0.0.1", "backup", link}}) {
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
    TestAgent* mib2 = StartSnmpd();
    ASSERT_NE(mib2, nullptr);
    for (const Case& c :
         {Case{"answers of another type", at(*integers), "Variable does not exist! ("},
          Case{"send refused", QStringLiteral("127.255.255.255:161"), "Transport operation failed!"},
          Case{"MIB-II only", at(*mib2),
               "not backed up: the device has none of the access point's objects"}}) {
        const QString saved = secret("kept.json", "an earlier backup");
        const ToolRun r = run({QStringLiteral("--address"), c.address, QStringLiteral("backup"), saved});
        EXPECT_EQ(r.Exit, 3) << c.name << r.Err.toStdString();
        EXPECT_TRUE(QString(r.Out + r.Err).contains(QLatin1String(c.message)))
            << c.name << QString(r.Out + r.Err).toStdString();
        QFile kept(saved);
        EXPECT_TRUE(kept.open(QIODevice::ReadOnly) && kept.readAll() == "an earlier backup") << c.name;
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
            snmpV3() + QStringList{QStringLiteral("--address"), at(*Sim()), QStringLiteral("backup"),
                                   file("never.json")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 3);
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains(QLatin1String("engine boots")));
    EXPECT_EQ(QDir(tmp).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    QFile::remove(counter);
    QFile::rename(kept, counter);
}
