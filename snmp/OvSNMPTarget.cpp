#include "snmp/OvSNMPTarget.h"

const std::vector<OvProtocolName>& OvAuthProtocolNames() {
    static const std::vector<OvProtocolName> names = {{"MD5", 2},     {"SHA", 3},     {"SHA-224", 4},
                                                      {"SHA-256", 5}, {"SHA-384", 6}, {"SHA-512", 7}};
    return names;
}

const std::vector<OvProtocolName>& OvPrivProtocolNames() {
    static const std::vector<OvProtocolName> names = {{"DES", 2},      {"AES", 4},        {"AES-192", 20},
                                                      {"AES-256", 21}, {"AES-192-C", 23}, {"AES-256-C", 24}};
    return names;
}
