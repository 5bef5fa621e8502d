#pragma once

#include <QString>
#include <vector>

class QSettings;

// The port notifications are received on when nothing else is said: 162 for root, else
// 10162, which a user without privileges may open.
int OvDefaultNotificationPort();

// One connection made from the connect dialog, as it is remembered: where and how, never
// with a community or a pass phrase. The SNMPv3 fields are empty for SNMPv1 and v2c.
struct TRecentDevice {
    QString Address;
    int Port = 161;
    int Version = 1; // the /v number
    QString User;
    int AuthProtocol = 1; // the /a and /p numbers
    int PrivProtocol = 1;
    QString ContextName;
    QString ContextEngineId;
    int NotificationPort = OvDefaultNotificationPort();
    // Whether the built-in communities were used: if not, they are asked for again.
    bool BuiltInCommunities = true;
    // Whether the trap community was one of its own (not the read community): asked again.
    bool OwnTrapCommunity = false;

    // "192.0.2.10:161 SNMPv2c", "192.0.2.10:1161 SNMPv3 admin SHA/AES context qubsen".
    QString Caption() const;
    // The same device and user (what the caption names); a connection made again replaces it.
    bool operator==(const TRecentDevice& other) const;
};

// The last connections of the connect dialog, newest first, in the program's settings
// (~/.config/velmarn/velmarn.conf): a connection made again moves to the front, and the
// oldest go beyond Limit.
class TRecentDevices {
public:
    static constexpr int Limit = 10;

    static std::vector<TRecentDevice> Load(QSettings& settings);
    static void Remember(QSettings& settings, const TRecentDevice& device);
};
