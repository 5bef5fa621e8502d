#include "notify/OvNotificationCentre.h"

#include "errors/OvErrors.h"

#include <QHostInfo>
#include <algorithm>

namespace {

// The device's addresses, one of each family it has: the text itself when it is one,
// else the name's first IPv4 and first IPv6 address.
std::vector<QHostAddress> resolve(const QString& address) {
    QHostAddress parsed(address.trimmed());
    if (!parsed.isNull())
        return {parsed};
    std::vector<QHostAddress> found;
    for (const auto family : {QAbstractSocket::IPv4Protocol, QAbstractSocket::IPv6Protocol})
        for (const QHostAddress& a : QHostInfo::fromName(address.trimmed()).addresses())
            if (a.protocol() == family) {
                found.push_back(a);
                break;
            }
    return found;
}

} // namespace

OvNotificationCentre::OvNotificationCentre(QObject* parent) : QObject(parent) {}

bool OvNotificationCentre::IsListening() const {
    return std::any_of(Receivers.begin(), Receivers.end(), [](const auto& r) { return r->IsListening(); });
}

int OvNotificationCentre::ForeignCount() const {
    int count = 0;
    for (const auto& r : Receivers)
        count += r->ForeignCount();
    return count;
}

qint64 OvNotificationCentre::KernelDrops() const {
    qint64 drops = 0;
    for (const auto& r : Receivers)
        drops += r->KernelDrops();
    return drops;
}

QString OvNotificationCentre::BufferNote() const {
    for (const auto& r : Receivers)
        if (r->ReceiveBuffer() < OvNotificationReceiver::WantedReceiveBuffer)
            return QStringLiteral(
                       "The system gives notifications waiting to be read %1 kB, and a flood may be lost: "
                       "allow more with sysctl net.core.rmem_max=%2.")
                .arg(r->ReceiveBuffer() / 1024)
                .arg(OvNotificationReceiver::WantedReceiveBuffer);
    return QString();
}

QString OvNotificationCentre::ListenText() const {
    return QStringLiteral("UDP port %1 (%2)").arg(ListenPort).arg(Families.join(QStringLiteral(" and ")));
}

void OvNotificationCentre::Start(const QString& deviceAddress, quint16 port, const OvSNMPSecurity& security,
                                 const QString& trapCommunity, const QString& logFolder) {
    ListenPort = port;
    Logger = std::make_unique<OvNotificationLog>(deviceAddress, logFolder);
    Rows.Replace(OvNotificationLog::Read(Logger->Path(), OvNotificationModel::MaxRows));
    QString logError;
    if (!Logger->Open(logError))
        LogProblem = NotLoggedText(logError);

    QStringList errors;
    for (const QHostAddress& device : resolve(deviceAddress)) {
        auto receiver = std::make_unique<OvNotificationReceiver>();
        receiver->SetDevice(device);
        receiver->SetTrapCommunity(trapCommunity);
        if (security.Version == 3) {
            try {
                receiver->SetUser(security);
            } catch (const OvException&) {
                // A user the library cannot take: requests say why; notifications are refused.
            }
        }
        const bool v6 = device.protocol() == QAbstractSocket::IPv6Protocol;
        // A device on this machine sends from it: no other interface needs to be open.
        const QString listenAddress = device.isLoopback()
                                          ? (v6 ? QStringLiteral("::1") : QStringLiteral("127.0.0.1"))
                                          : (v6 ? QStringLiteral("::") : QStringLiteral("0.0.0.0"));
        QString error;
        if (!receiver->Listen(listenAddress, port, error)) {
            errors << error;
            continue;
        }
        connect(receiver.get(), &OvNotificationReceiver::Received, this, &OvNotificationCentre::Take);
        connect(receiver.get(), &OvNotificationReceiver::ForeignDropped, this,
                [this](int, const QString& last) {
                    LastForeignAddress = last;
                    Q_EMIT Changed();
                });
        Families << (v6 ? QStringLiteral("IPv6") : QStringLiteral("IPv4"));
        Receivers.push_back(std::move(receiver));
    }
    if (Receivers.empty()) {
        ListenProblem = QStringLiteral("Notifications cannot be received: UDP port %1 cannot be opened (%2). "
                                       "Choose another \"Notifications port\" in the connect dialog, e.g. "
                                       "10162 (/N10162 on the command line), and send the device's "
                                       "notifications there")
                            .arg(port)
                            .arg(errors.isEmpty() ? QStringLiteral("the device's address is unknown")
                                                  : errors.join(QStringLiteral("; ")));
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
