#include "connect/OvConnectHints.h"

const std::vector<OvConnectHint>& OvConnectHints() {
    static const std::vector<OvConnectHint> rows = {
        {QStringLiteral("SNMP request timed out!"),
         QStringLiteral(
             "the device address and UDP port, that the device is on and reachable (ping), that no "
             "firewall drops UDP 161, and the SNMP version: many devices answer SNMPv1/v2c only for a "
             "matching read community and stay silent otherwise. With SNMPv3 a wrong privacy pass "
             "phrase or privacy protocol ends here too, and so does a missing or wrong context name "
             "where the device serves its objects in a named context.")},
        {QStringLiteral("SNMP request timed out! The device answered but not to the encrypted request"),
         QStringLiteral(
             "the device answered the unencrypted discovery, then dropped the encrypted request. It "
             "does so when it cannot decrypt it, when it has no SNMPv3 user of that name, and when it "
             "serves no context of that name: check the SNMPv3 user (user names are case-sensitive), "
             "the privacy pass phrase and privacy protocol against the user's on the device, and the "
             "context name.")},
        {QStringLiteral("Unknown SecurityName!"),
         QStringLiteral("the SNMPv3 user: it is not configured on the device, or is spelled differently "
                        "(user names are case-sensitive).")},
        {QStringLiteral("Authentication failure!"),
         QStringLiteral("the authentication pass phrase and the authentication protocol: they differ from "
                        "the device's.")},
        {QStringLiteral("Authentication error!"),
         QStringLiteral("the authentication pass phrase: SNMPv3 takes 8 characters or more. Nothing was "
                        "sent.")},
        {QStringLiteral("Encryption error!"),
         QStringLiteral("the privacy pass phrase: SNMPv3 takes 8 characters or more. Nothing was sent. "
                        "Enter it, or choose privacy \"none\".")},
        {QStringLiteral("Unsupported SecurityLevel!"),
         QStringLiteral("the authentication and privacy chosen: the SNMPv3 user has not got them on the "
                        "device.")},
        {QStringLiteral("The read community is empty!"), QStringLiteral("the read community: it is empty.")},
        {QStringLiteral("The write community is empty!"),
         QStringLiteral("the write community: it is empty.")},
        {QStringLiteral("The SNMPv3 user name is empty!"), QStringLiteral("the SNMPv3 user: it is empty.")},
        {QStringLiteral("Variable does not exist!"),
         QStringLiteral("the device lacks sysObjectID or sysName, or the read community or SNMPv3 user "
                        "may not see them (its view on the device).")},
        {QStringLiteral("Invalid IP Address or DNS name!"),
         QStringLiteral("the device address: it is no address, or a name that does not resolve.")},
    };
    return rows;
}

QString OvConnectHintFor(const QString& message) {
    const OvConnectHint* best = nullptr;
    for (const OvConnectHint& row : OvConnectHints())
        if (message.startsWith(row.Message) && (!best || row.Message.size() > best->Message.size()))
            best = &row;
    return best ? best->Hint : QString();
}
