#include "connect/TRecentDevices.h"

#include "snmp/OvSNMPTarget.h"

#include <QSettings>
#include <tuple>
#include <unistd.h>

namespace {

QString protocolName(const std::vector<OvProtocolName>& names, int number) {
    for (const OvProtocolName& n : names)
        if (n.Number == number)
            return QLatin1String(n.Name);
    return QStringLiteral("none");
}

// What the dialog kept before it kept a list: the last connection alone.
std::vector<TRecentDevice> lastConnectionOfOldSettings(QSettings& settings) {
    if (!settings.contains(QStringLiteral("connect/address")))
        return {};
    TRecentDevice d;
    d.Address = settings.value(QStringLiteral("connect/address")).toString();
    d.Port = settings.value(QStringLiteral("connect/port"), 161).toInt();
    d.Version = settings.value(QStringLiteral("connect/version"), 1).toInt();
    if (d.Version == 3) {
        d.User = settings.value(QStringLiteral("connect/user")).toString();
        d.AuthProtocol = settings.value(QStringLiteral("connect/auth"), 1).toInt();
        d.PrivProtocol = settings.value(QStringLiteral("connect/priv"), 1).toInt();
    }
    d.BuiltInCommunities = false;
    return {d};
}

} // namespace

int OvDefaultNotificationPort() {
    return geteuid() == 0 ? 162 : 10162;
}

QString TRecentDevice::Caption() const {
    QString text = QStringLiteral("%1:%2 ").arg(Address).arg(Port);
    if (Version != 3)
        return text + (Version == 0 ? QStringLiteral("SNMPv1") : QStringLiteral("SNMPv2c"));
    text += QStringLiteral("SNMPv3 ") + User;
    if (AuthProtocol != 1)
        text += QLatin1Char(' ') + protocolName(OvAuthProtocolNames(), AuthProtocol);
    if (PrivProtocol != 1)
        text += QLatin1Char('/') + protocolName(OvPrivProtocolNames(), PrivProtocol);
    if (!ContextName.isEmpty())
        text += QStringLiteral(" context ") + ContextName;
    if (!ContextEngineId.isEmpty())
        text += QStringLiteral(" engine ") + ContextEngineId;
    return text;
}

bool TRecentDevice::operator==(const TRecentDevice& o) const {
    return std::tie(Address, Port, Version, User, AuthProtocol, PrivProtocol, ContextName, ContextEngineId) ==
           std::tie(o.Address, o.Port, o.Version, o.User, o.AuthProtocol, o.PrivProtocol, o.ContextName,
                    o.ContextEngineId);
}

std::vector<TRecentDevice> TRecentDevices::Load(QSettings& settings) {
    std::vector<TRecentDevice> devices;
    const int count = settings.beginReadArray(QStringLiteral("recent"));
    for (int i = 0; i < count && i < Limit; ++i) {
        settings.setArrayIndex(i);
        TRecentDevice d;
        d.Address = settings.value(QStringLiteral("address")).toString();
        d.Port = settings.value(QStringLiteral("port"), 161).toInt();
        d.Version = settings.value(QStringLiteral("version"), 1).toInt();
        d.User = settings.value(QStringLiteral("user")).toString();
        d.AuthProtocol = settings.value(QStringLiteral("auth"), 1).toInt();
        d.PrivProtocol = settings.value(QStringLiteral("priv"), 1).toInt();
        d.ContextName = settings.value(QStringLiteral("context")).toString();
        d.ContextEngineId = settings.value(QStringLiteral("contextEngineId")).toString();
        d.NotificationPort = settings.value(QStringLiteral("notificationPort"), d.NotificationPort).toInt();
        // Connections kept before this was remembered: which communities they used is unknown.
        d.BuiltInCommunities = settings.value(QStringLiteral("builtInCommunities"), false).toBool();
        d.OwnTrapCommunity = settings.value(QStringLiteral("ownTrapCommunity"), false).toBool();
        if (!d.Address.isEmpty())
            devices.push_back(d);
    }
    settings.endArray();
    return count > 0 ? devices : lastConnectionOfOldSettings(settings);
}

void TRecentDevices::Remember(QSettings& settings, const TRecentDevice& device) {
    std::vector<TRecentDevice> devices{device};
    for (const TRecentDevice& d : Load(settings))
        if (!(d == device) && static_cast<int>(devices.size()) < Limit)
            devices.push_back(d);
    settings.remove(QStringLiteral("connect")); // the single last connection of before
    settings.remove(QStringLiteral("recent"));
    settings.beginWriteArray(QStringLiteral("recent"), static_cast<int>(devices.size()));
    for (int i = 0; i < static_cast<int>(devices.size()); ++i) {
        const TRecentDevice& d = devices[static_cast<size_t>(i)];
        settings.setArrayIndex(i);
        settings.setValue(QStringLiteral("address"), d.Address);
        settings.setValue(QStringLiteral("port"), d.Port);
        settings.setValue(QStringLiteral("version"), d.Version);
        settings.setValue(QStringLiteral("user"), d.User);
        settings.setValue(QStringLiteral("auth"), d.AuthProtocol);
        settings.setValue(QStringLiteral("priv"), d.PrivProtocol);
        settings.setValue(QStringLiteral("context"), d.ContextName);
        settings.setValue(QStringLiteral("contextEngineId"), d.ContextEngineId);
        settings.setValue(QStringLiteral("notificationPort"), d.NotificationPort);
        settings.setValue(QStringLiteral("builtInCommunities"), d.BuiltInCommunities);
        settings.setValue(QStringLiteral("ownTrapCommunity"), d.OwnTrapCommunity);
    }
    settings.endArray();
}
