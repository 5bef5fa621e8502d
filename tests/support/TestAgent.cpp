#include "TestAgent.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

#include <arpa/inet.h>
#include <grp.h>
#include <netinet/in.h>
#include <pwd.h>
#include <csignal>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool runningAsRoot() {
    return ::geteuid() == 0;
}

// snmpsimd drops root privileges; what it reads must be readable by that user.
void giveToNobody(const QString& path) {
    if (!runningAsRoot())
        return;
    const passwd* pw = ::getpwnam("nobody");
    const group* gr = ::getgrnam("nogroup");
    if (pw && gr) [[maybe_unused]]
        int rc = ::chown(path.toLocal8Bit().constData(), pw->pw_uid, gr->gr_gid);
}

} // namespace

TestAgent::~TestAgent() {
    Stop();
}

QString TestAgent::SimulatorDataFile() {
    return QStringLiteral(VELMARN_SIM_DATA);
}

quint16 TestAgent::FreeUdpPort() {
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    quint16 port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
        socklen_t len = sizeof addr;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
        port = ntohs(addr.sin_port);
    }
    ::close(fd);
    return port;
}

std::unique_ptr<TestAgent> TestAgent::StartSimulator(QString* error, const QString& dataFile,
                                                     const Engine* engine) {
    std::unique_ptr<TestAgent> agent(new TestAgent);
    agent->Dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/velmarn-sim-XXXXXX"));
    const QString root = agent->Dir->path();
    ::chmod(root.toLocal8Bit().constData(), 0755);
    QDir(root).mkpath(QStringLiteral("data"));
    QDir(root).mkpath(QStringLiteral("cache"));
    const QString data =
        root + QStringLiteral("/data/") + QLatin1String(ReadCommunity) + QStringLiteral(".snmprec");
    QFile::copy(dataFile.isEmpty() ? SimulatorDataFile() : dataFile, data);
    QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    // Both communities see one data file, so what "vortani" writes "qubsen" reads.
    QFile::link(QLatin1String(ReadCommunity) + QStringLiteral(".snmprec"),
                root + QStringLiteral("/data/") + QLatin1String(WriteCommunity) + QStringLiteral(".snmprec"));
    giveToNobody(root + QStringLiteral("/cache"));
    QDir(root).mkpath(QStringLiteral("variation"));
    QFile::copy(QStringLiteral(VELMARN_SIM_VARIATIONS "/readonly.py"),
                root + QStringLiteral("/variation/readonly.py"));

    agent->AgentPort = FreeUdpPort();
    QStringList args;
    if (engine) {
        // The simulator keeps an engine's boots in $TMPDIR/__pysnmp/0xID/boots and counts one up.
        const QString state = root + QStringLiteral("/__pysnmp/0x") + engine->Id;
        QDir(root).mkpath(state);
        QFile boots(state + QStringLiteral("/boots"));
        boots.open(QIODevice::WriteOnly);
        boots.write(QByteArray::number(engine->Boots - 1));
        boots.close();
        giveToNobody(root + QStringLiteral("/__pysnmp"));
        giveToNobody(state);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TMPDIR"), root);
        agent->Process.setProcessEnvironment(env);
        args << QStringLiteral("--v3-engine-id=") + engine->Id << QStringLiteral("--v3-user=") + engine->User
             << QStringLiteral("--v3-auth-key=") + engine->AuthPass << QStringLiteral("--v3-auth-proto=SHA")
             << QStringLiteral("--v3-priv-key=") + engine->PrivPass << QStringLiteral("--v3-priv-proto=AES");
    }
    args << QStringList{QStringLiteral("--data-dir=") + root + QStringLiteral("/data"),
                        QStringLiteral("--cache-dir=") + root + QStringLiteral("/cache"),
                        QStringLiteral("--variation-modules-dir=") + root + QStringLiteral("/variation"),
                        QStringLiteral("--agent-udpv4-endpoint=127.0.0.1:") +
                            QString::number(agent->AgentPort),
                        QStringLiteral("--v3-user=") + QLatin1String(V3User),
                        QStringLiteral("--v3-auth-key=") + QLatin1String(V3AuthPass),
                        QStringLiteral("--v3-auth-proto=SHA"),
                        QStringLiteral("--v3-priv-key=") + QLatin1String(V3PrivPass),
                        QStringLiteral("--v3-priv-proto=AES"),
                        QStringLiteral("--logging-method=null")};
    if (runningAsRoot())
        args << QStringLiteral("--process-user=nobody") << QStringLiteral("--process-group=nogroup");
    return agent->Run(QStringLiteral("snmpsimd"), args, error) ? std::move(agent) : nullptr;
}

std::unique_ptr<TestAgent> TestAgent::StartSnmpd(QString* error, const QString& extraConfig, quint16 port) {
    std::unique_ptr<TestAgent> agent(new TestAgent);
    agent->Dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/velmarn-snmpd-XXXXXX"));
    const QString root = agent->Dir->path();
    QDir(root).mkpath(QStringLiteral("persist"));
    agent->AgentPort = port != 0 ? port : FreeUdpPort();
    QFile conf(root + QStringLiteral("/snmpd.conf"));
    conf.open(QIODevice::WriteOnly);
    const QString text =
        QStringLiteral("agentAddress udp:127.0.0.1:%1\n"
                       "rocommunity %2 127.0.0.1\n"
                       "rwcommunity %3 127.0.0.1\n"
                       "createUser %4 SHA-256 \"%5\" AES-256 \"%6\"\n"
                       "rwuser %4 priv\n"
                       "createUser md5des MD5 \"md5des-auth\" DES \"md5des-priv\"\n"
                       "rwuser md5des priv\n"
                       "createUser shaaes SHA \"shaaes-auth\" AES \"shaaes-priv\"\n"
                       "rwuser shaaes priv\n"
                       "createUser authonly SHA \"authonly-auth\"\n"
                       "rwuser authonly auth\n"
                       // One user per remaining protocol number; SHA-1 keys need the AES
                       // key extension, so the two variants of AES-192/256 differ there.
                       "createUser sha224des SHA-224 \"sha224-auth\" DES \"sha224-priv\"\n"
                       "rwuser sha224des priv\n"
                       "createUser sha384 SHA-384 \"sha384-auth\"\n"
                       "rwuser sha384 auth\n"
                       "createUser sha512aes SHA-512 \"sha512-auth\" AES \"sha512-priv\"\n"
                       "rwuser sha512aes priv\n"
                       "createUser aes192 SHA \"aes192-auth\" AES-192 \"aes192-priv\"\n"
                       "rwuser aes192 priv\n"
                       "createUser aes256 SHA \"aes256-auth\" AES-256 \"aes256-priv\"\n"
                       "rwuser aes256 priv\n"
                       "createUser aes192c SHA \"aes192c-auth\" AES-192-C \"aes192c-priv\"\n"
                       "rwuser aes192c priv\n"
                       "createUser aes256c SHA \"aes256c-auth\" AES-256-C \"aes256c-priv\"\n"
                       "rwuser aes256c priv\n"
                       "sysObjectID 1.3.6.1.4.1.32473.2.1\n"
                       // No "Connection from UDP" line per request: the test program would
                       // wake to read each one while it waits for the answer.
                       "dontLogTCPWrappersConnects yes\n")
            .arg(agent->AgentPort)
            .arg(QLatin1String(ReadCommunity), QLatin1String(WriteCommunity), QLatin1String(V3User),
                 QLatin1String(V3AuthPass), QLatin1String(V3PrivPass)) +
        extraConfig + QLatin1Char('\n');
    conf.write(text.toUtf8());
    conf.close();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MIBS"), QString());
    env.insert(QStringLiteral("SNMP_PERSISTENT_DIR"), root + QStringLiteral("/persist"));
    env.insert(QStringLiteral("HOME"), root);
    agent->Process.setProcessEnvironment(env);
    const QStringList args{QStringLiteral("-f"),
                           QStringLiteral("-Lo"),
                           QStringLiteral("-C"),
                           QStringLiteral("-c"),
                           root + QStringLiteral("/snmpd.conf"),
                           QStringLiteral("-p"),
                           root + QStringLiteral("/snmpd.pid"),
                           QStringLiteral("-M"),
                           QStringLiteral("/dev/null"),
                           QStringLiteral("-I"),
                           QStringLiteral("-smux,mteTrigger,mteTriggerConf")};
    return agent->Run(QStringLiteral("/usr/sbin/snmpd"), args, error) ? std::move(agent) : nullptr;
}

std::unique_ptr<TestAgent> TestAgent::StartHostile(QString* error, const QString& mode) {
    std::unique_ptr<TestAgent> agent(new TestAgent);
    agent->Dir =
        std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/velmarn-hostile-XXXXXX"));
    agent->AgentPort = FreeUdpPort();
    const QStringList args{QStringLiteral(VELMARN_TEST_SUPPORT "/hostile_agent.py"),
                           QString::number(agent->AgentPort), mode};
    return agent->Run(QStringLiteral("/usr/bin/python3"), args, error) ? std::move(agent) : nullptr;
}

bool TestAgent::Run(const QString& program, const QStringList& args, QString* error) {
    Process.setProcessChannelMode(QProcess::MergedChannels);
    Process.start(program, args);
    if (!Process.waitForStarted(StartUpLimitMs)) {
        if (error)
            *error = program + QStringLiteral(" did not start: ") + Process.errorString();
        return false;
    }
    return WaitUntilAnswering(QLatin1String(ReadCommunity), error);
}

bool TestAgent::WaitUntilAnswering(const QString& community, QString* error) {
    // As long as the agent runs: on a machine whose cores are busy its start-up can take
    // many times what it takes on an idle one. The limit only ends a hung start.
    QDeadlineTimer deadline(StartUpLimitMs);
    while (!deadline.hasExpired()) {
        if (Process.state() != QProcess::Running) {
            if (error)
                *error = QStringLiteral("agent exited: ") + QString::fromLocal8Bit(Process.readAll());
            return false;
        }
        int code = -1;
        Tool(QStringLiteral("snmpget"), {QStringLiteral("-c"), community},
             {QStringLiteral("1.3.6.1.2.1.1.2.0")}, &code);
        if (code == 0)
            return true;
        QThread::msleep(100);
    }
    if (error)
        *error = QStringLiteral("agent did not answer on %1 within %2 s")
                     .arg(Endpoint())
                     .arg(StartUpLimitMs / 1000);
    return false;
}

QString TestAgent::Tool(const QString& program, const QStringList& options, const QStringList& objects,
                        int* exitCode) const {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MIBS"), QString());
    env.insert(QStringLiteral("SNMP_PERSISTENT_DIR"), Dir->path() + QStringLiteral("/tool-persist"));
    p.setProcessEnvironment(env);
    QStringList args{QStringLiteral("-r0"), QStringLiteral("-t1"), QStringLiteral("-On"),
                     QStringLiteral("-M"), QStringLiteral("/dev/null")};
    if (!options.contains(QStringLiteral("-v3")) && !options.contains(QStringLiteral("-v1")))
        args.prepend(QStringLiteral("-v2c"));
    args << options << Endpoint() << objects;
    p.start(program, args);
    p.waitForFinished(10000);
    if (exitCode)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return p.exitCode() == 0 ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
}

void TestAgent::SetSilent(bool silent) {
    if (Process.state() == QProcess::Running)
        ::kill(static_cast<pid_t>(Process.processId()), silent ? SIGSTOP : SIGCONT);
}

void TestAgent::Stop() {
    SetSilent(false); // a stopped process would not take the terminate
    if (Process.state() != QProcess::NotRunning) {
        Process.terminate();
        if (!Process.waitForFinished(3000)) {
            Process.kill();
            Process.waitForFinished(2000);
        }
    }
}
