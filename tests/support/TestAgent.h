#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <memory>

// A real SNMP agent on a free 127.0.0.1 port for the duration of a test: snmpsimd serving
// a data file (the simulated access point by default), or net-snmp's snmpd for MIB-II.
class TestAgent {
public:
    // Communities and the SNMPv3 users both kinds of agent know.
    static constexpr const char* ReadCommunity = "qubsen";
    static constexpr const char* WriteCommunity = "vortani";
    static constexpr const char* V3User = "velmarn";
    static constexpr const char* V3AuthPass = "velmarn-auth";
    static constexpr const char* V3PrivPass = "velmarn-priv";

    ~TestAgent();

    // How long a start may take at most before the agent answers; under the time each
    // test program has (TIMEOUT in tests/CMakeLists.txt).
    static constexpr int StartUpLimitMs = 240000;

    // An SNMPv3 engine of a simulator's own, as a cloned image has: its ID (hex), its boots
    // and one more user with SHA and AES pass phrases.
    struct Engine {
        QString Id;
        int Boots = 1;
        QString User, AuthPass, PrivPass;
    };

    // snmpsimd with dataFile (the project's access point when empty) and, when given, an
    // engine of its own; null and a reason in error when it ends before it answers.
    static std::unique_ptr<TestAgent> StartSimulator(QString* error, const QString& dataFile = QString(),
                                                     const Engine* engine = nullptr);
    // snmpd with the standard MIB-II tables; extraConfig is appended to its configuration.
    // On port when given, else on a free one.
    static std::unique_ptr<TestAgent> StartSnmpd(QString* error, const QString& extraConfig = QString(),
                                                 quint16 port = 0);

    // A small agent that misbehaves as mode says (see hostile_agent.py).
    static std::unique_ptr<TestAgent> StartHostile(QString* error, const QString& mode);

    static QString SimulatorDataFile();
    static quint16 FreeUdpPort();

    QString Address() const { return QStringLiteral("127.0.0.1"); }
    quint16 Port() const { return AgentPort; }
    QString Endpoint() const { return Address() + QLatin1Char(':') + QString::number(AgentPort); }
    void Stop();
    // Freezes the agent (SIGSTOP) or lets it go on: a device that stops answering.
    void SetSilent(bool silent);

    // Runs one of net-snmp's command-line tools against this agent (v2c unless options
    // say otherwise): program options, then the agent, then objects. Returns its
    // standard output, or an empty text when it failed.
    QString Tool(const QString& program, const QStringList& options, const QStringList& objects,
                 int* exitCode = nullptr) const;

private:
    TestAgent() = default;
    // Starts the agent's program and waits until it answers.
    bool Run(const QString& program, const QStringList& args, QString* error);
    bool WaitUntilAnswering(const QString& community, QString* error);

    std::unique_ptr<QTemporaryDir> Dir;
    QProcess Process;
    quint16 AgentPort = 0;
};
