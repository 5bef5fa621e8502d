#include "notify/OvNotificationCentre.h"

#include "errors/OvErrors.h"

#include <QHostInfo>

namespace {

// The device's address: the text itself when it is one, else the name's first address.
QHostAddress resolve(const QString& address) {
    QHostAddress parsed(address.trimmed());
    if (!parsed.isNull())
        return parsed;
    const QHostInfo info = QHostInfo::fromName(address.trimmed());
    for (const QHostAddress& a : info.addresses())
        if (a.protocol() == QAbstractSocket::IPv4Protocol)
            return a;
    return info.addresses().isEmpty() ? QHostAddress() : info.addresses().first();
}

} // namespace

OvNotificationCentre::OvNotificationCentre(QObject* parent) : QObject(parent) {
    connect(&Receiver, &OvNotificationReceiver::Received, this, &OvNotificationCentre::Take);
    connect(&Receiver, &OvNotificationReceiver::ForeignDropped, this, &OvNotificationCentre::Changed);
}

void OvNotificationCentre::Start(const QString& deviceAddress, quint16 port, const OvSNMPSecurity& security,
                                 const QString& trapCommunity, const QString& logFolder) {
    ListenPort = port;
    const QHostAddress device = resolve(deviceAddress);
    Receiver.SetDevice(device);
    Receiver.SetTrapCommunity(trapCommunity);
    if (security.Version == 3) {
        try {
            Receiver.SetUser(security);
        } catch (const OvException&) {
            // A user the library cannot take: requests say why; notifications are refused.
        }
    }
    Logger = std::make_unique<OvNotificationLog>(deviceAddress, logFolder);
    Rows.Replace(OvNotificationLog::Read(Logger->Path(), OvNotificationModel::MaxRows));
    QString logError;
    if (!Logger->Open(logError))
        LogProblem = NotLoggedText(logError);

    // A device on this machine sends from it: no other interface needs to be open.
    const QString listenAddress =
        device.isLoopback() ? QStringLiteral("127.0.0.1") : QStringLiteral("0.0.0.0");
    QString error;
    if (!Receiver.Listen(listenAddress, port, error)) {
        ListenProblem = QStringLiteral("Notifications cannot be received: UDP port %1 cannot be opened (%2). "
                                       "Start the module with another port, e.g. /N10162, and send the "
                                       "device's notifications there")
                            .arg(port)
                            .arg(error);
        if (port < 1024)
            ListenProblem += QStringLiteral(", or allow ports below 1024 to programs without privileges "
                                            "(sysctl net.ipv4.ip_unprivileged_port_start=%1)")
                                 .arg(port);
        ListenProblem += QLatin1Char('.');
    }
    Q_EMIT Changed();
}

QString OvNotificationCentre::NotLoggedText(const QString& reason) const {
    return QStringLiteral("Notifications are not being logged: %1 cannot be written (%2).")
        .arg(Logger->Path(), reason);
}

void OvNotificationCentre::Take(const OvNotification& notification) {
    ++Received;
    if (notification.IsRefused())
        ++Refused;
    QString error;
    if (Logger && !Logger->Append(notification, error))
        LogProblem = NotLoggedText(error);
    else
        LogProblem.clear();
    Rows.Add(notification);
    Q_EMIT Changed();
}
