#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

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
