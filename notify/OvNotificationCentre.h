#pragma once

#include "notify/OvNotificationLog.h"
#include "notify/OvNotificationModel.h"
#include "notify/OvNotificationReceiver.h"

#include <QObject>
#include <QStringList>
#include <memory>
#include <vector>

// What the module does with the device's notifications from its start on, whether a
// window shows them or not: the receiver, the log every one goes to, and the rows a
// window shows.
class OvNotificationCentre : public QObject {
    Q_OBJECT
public:
    static constexpr quint16 DefaultPort = 162;

    explicit OvNotificationCentre(QObject* parent = nullptr);

    // Listens on port for the device at address (resolved now, once) as the target's
    // user, logs into folder (default: the user's state folder), and shows the log's
    // last rows. A port that cannot be opened is told by ListenError; the rest works.
    // SNMPv1/v2c notifications are taken with trapCommunity only (none when it is null).
    void Start(const QString& deviceAddress, quint16 port, const OvSNMPSecurity& security,
               const QString& trapCommunity, const QString& logFolder = QString());

    bool IsListening() const;
    quint16 Port() const { return ListenPort; }
    // "UDP port 162 (IPv4)", "(IPv6)" or "(IPv4 and IPv6)": what is listened on.
    QString ListenText() const;
    // Why the port could not be opened, with what to do; empty when listening.
    QString ListenError() const { return ListenProblem; }
    // Why the last line could not be logged; empty when it was.
    QString LogError() const { return LogProblem; }

    int ReceivedCount() const { return Received; }
    int RefusedCount() const { return Refused; }
    int ForeignCount() const;
    // Datagrams the kernel dropped for the module's sockets: a loss is never silent.
    qint64 KernelDrops() const;
    // When the kernel granted less receive buffer than asked for, what that means and
    // what to do; empty otherwise.
    QString BufferNote() const;
    QString LastForeign() const { return LastForeignAddress; }

    OvNotificationModel& Model() { return Rows; }
    OvNotificationLog* Log() { return Logger.get(); }

Q_SIGNALS:
    // Counts, the foreign address or the log's state changed.
    void Changed();

private:
    void Take(const OvNotification& notification);
    QString NotLoggedText(const QString& reason) const;

    // One per address family of the device: a name may have an IPv4 and an IPv6 address.
    std::vector<std::unique_ptr<OvNotificationReceiver>> Receivers;
    QStringList Families;
    QString LastForeignAddress;
    OvNotificationModel Rows;
    std::unique_ptr<OvNotificationLog> Logger;
    quint16 ListenPort = DefaultPort;
    QString ListenProblem;
    QString LogProblem;
    int Received = 0;
    int Refused = 0;
};
