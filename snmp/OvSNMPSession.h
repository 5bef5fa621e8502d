#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

class QTimer;
class OvSnmpEngine;

// The agent address of a target.
struct OvSNMPDevice {
    QString Address;
    quint16 Port = 0;
};

// SNMPv3 scope put into every request.
struct OvSNMPScope {
    QString ContextEngineID;
    QString ContextName;
};

// Version, communities and SNMPv3 user of a target. Protocol numbers follow the command
// line: auth 1 none, 2 MD5, 3 SHA, 4..7 SHA-224..SHA-512; privacy 1 none, 2 DES,
// 4 AES-128, 20 AES-192, 21 AES-256, 23/24 AES-192/256 with the 3DES key extension.
struct OvSNMPSecurity {
    quint8 Version = 0; // 0 SNMPv1, 1 SNMPv2c, 3 SNMPv3
    QString ReadCommunity;
    QString WriteCommunity;
    int SecurityModel = 0;
    int SecurityLevel = 0;
    QString SecurityName;
    QString AuthPassword;
    QString PrivPassword;
    int AuthProtocol = 0;
    int PrivProtocol = 0;
};

// The SNMPv3 protocols by the names users know them by, with their numbers above ("none",
// 1, is not among them).
struct OvProtocolName {
    const char* Name;
    int Number;
};
const std::vector<OvProtocolName>& OvAuthProtocolNames();
const std::vector<OvProtocolName>& OvPrivProtocolNames();

struct OvSNMPTarget {
    OvSNMPDevice Device;
    OvSNMPScope Scope;
    OvSNMPSecurity Security;
};

// Most rows one table walk reads (-529 past it): an agent whose table never ends would
// be walked until memory runs out. Tests lower it.
inline int OvMaxTableRows = 1000000;

// The process-wide SNMP session: one engine, the default target every request copies,
// and the 20 ms event timer that delivers asynchronous answers on the GUI thread.
class TSNMPSession {
public:
    static constexpr const char* EngineId = "OvSNMP_PP_Application";
    static constexpr const char* BootCounterFile = "OvSNMP_PP_BootCounter";

    // Creates the session once: library set-up, engine boots read, incremented and
    // saved in directory (empty: the current directory), defaults, event timer on.
    // Raises -506, -507 or -508 (the last two saying why after their message).
    static void Create(const QString& directory);

    static bool IsCreated();
    // The target every request starts from before the launch options change it.
    static OvSNMPTarget Defaults();
    static OvSNMPTarget& DefaultTarget();
    static QTimer* EventTimer();
    static OvSnmpEngine* Engine();
    static quint32 EngineBoots();
    static QString BootCounterPath(const QString& directory);

    // Back to the state before Create, for tests that create the session again.
    static void ResetForTesting();
};
