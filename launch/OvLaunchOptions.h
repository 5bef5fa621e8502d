#pragma once

#include "snmp/OvSNMPTarget.h"

#include <QString>
#include <QStringList>

// The texts the main window keeps from the command line; empty unless an option set them.
struct TLaunchTexts {
    QString AddressText;
    QString ReadCommunityText;
    QString WriteCommunityText;
    QString LaunchTypeText;
    // The UDP port notifications are received on (/N).
    quint16 NotificationPort = 162;
    // The community SNMPv1/v2c notifications must carry (/C); null when not given.
    QString TrapCommunity;
};

// One launch option: its marker letter ("/t" is 't'), the environment variable that
// hands it to the viewer (null for those the viewer's command line carries), and how it
// is set into and read from a target.
struct OvLaunchOption {
    char Letter;
    const char* Variable;
    void (*Set)(OvSNMPTarget& target, TLaunchTexts& texts, const QString& value);
    QString (*Get)(const OvSNMPTarget& target);
};

// The options in the order the parser tests their markers.
const OvLaunchOption* OvLaunchOptions();
int OvLaunchOptionCount();

// Parses the launch options into target and texts. Each argument is tested for the
// markers "/T", "/I", "/t", "/v", "/c", "/d", "/R", "/W", "/m", "/l", "/n", "/A", "/P",
// "/a", "/p", "/N", "/C" in this order; the first one found anywhere in the argument decides, and
// its value is the rest of the argument. Arguments without a marker are ignored.
// A numeric option whose value is not an integer raises OvConvertError.
void OvParseLaunchOptions(const QStringList& arguments, OvSNMPTarget& target, TLaunchTexts& texts);

// The community SNMPv1/v2c notifications must carry: /C, else the read community; null
// (none is taken) for an SNMPv3 module without /C.
QString OvTrapCommunity(const TLaunchTexts& texts, const OvSNMPTarget& target);
