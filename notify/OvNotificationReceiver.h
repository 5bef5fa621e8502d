#pragma once

#include "notify/OvNotification.h"
#include "notify/OvRecentMessages.h"
#include "notify/OvUsmHeader.h"
#include "snmp/TSNMPSession.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QSet>
#include <memory>

class QSocketNotifier;
struct snmp_session;
struct snmp_pdu;
struct netsnmp_transport_s;

// Listens for the device's traps and informs on one UDP port, on the GUI thread: the
// library parses and (SNMPv3) authenticates each datagram; informs are acknowledged.
// Datagrams from other addresses than the device's are counted and dropped unread.
// Needs the process-wide session (TSNMPSession::Create) for the library and engine ID.
class OvNotificationReceiver : public QObject {
    Q_OBJECT
public:
    // Most sending engines whose keys are made for the user: a device that makes up
    // engine IDs cannot grow the library's user list without end. Only a message that
    // authenticates keeps its engine's keys.
    static constexpr int MaxLearntEngines = 64;
    // Most keys made for new engines per second: made-up engine IDs cannot load the thread.
    static constexpr int MaxNewEnginesPerSecond = 50;
    // Most datagrams read per wake-up, so that the window stays responsive under a flood.
    static constexpr int MaxReadsPerWakeUp = 256;

    explicit OvNotificationReceiver(QObject* parent = nullptr);
    ~OvNotificationReceiver() override;

    // Listens on address ("0.0.0.0" for every interface) and port; false and the
    // system's reason in error when the port cannot be opened.
    bool Listen(const QString& address, quint16 port, QString& error);
    bool IsListening() const { return Handle != nullptr; }

    // Only what comes from this address is shown and logged.
    void SetDevice(const QHostAddress& device) { Device = device; }
    // The module's SNMPv3 user; notifications of other users or of a lower security
    // level are refused. Raises like OvSNMPEngine::CheckUser.
    void SetUser(const OvSNMPSecurity& security);
    // The community SNMPv1/v2c notifications must carry; null: none is taken.
    void SetTrapCommunity(const QString& community);

    int ForeignCount() const { return Foreign; }
    // The receive buffer asked for: a flood at thousands per second must wait somewhere
    // while the window thread works.
    static constexpr int WantedReceiveBuffer = 4 * 1024 * 1024;
    // What the kernel gave the socket (it caps it at net.core.rmem_max); 0 when closed.
    int ReceiveBuffer() const { return BufferBytes; }
    // Datagrams the kernel dropped for this socket because its buffer was full.
    qint64 KernelDrops() const;
    QString LastForeign() const { return LastForeignAddress; }

    // Reads what has arrived (at most MaxReadsPerWakeUp datagrams).
    void ReadPending();

Q_SIGNALS:
    // A notification from the device, valid or refused.
    void Received(const OvNotification& notification);
    // A datagram from another address was dropped.
    void ForeignDropped(int count, const QString& lastAddress);

private:
    static int PreParse(snmp_session* session, netsnmp_transport_s* transport, void* from, int length);
    static int Parse(snmp_session* session, snmp_pdu* pdu, unsigned char* data, size_t length);
    static int PostParse(snmp_session* session, snmp_pdu* pdu, int result);
    static int Callback(int operation, snmp_session* session, int requestId, snmp_pdu* pdu, void* magic);

    // Makes the user's keys for the sender's engine; true when they are new.
    bool LearnEngine(const OvUsmHeader& header);
    void RegisterUser(const QByteArray& engineId);
    void ForgetEngine(const QByteArray& engineId);
    // Sends an inform's acknowledgement; false when it could not be sent.
    bool Acknowledge(snmp_pdu* pdu);
    // Whether an authenticated SNMPv3 message came before: the same datagram again, or
    // the same inform resent.
    bool IsRepeated(snmp_pdu* pdu, const OvNotification& n);
    void Refused(snmp_pdu* pdu, const QString& reason);
    void Accept(snmp_pdu* pdu);
    OvNotification Stamp(snmp_pdu* pdu) const;

    void* Handle = nullptr; // the library's session; it owns the transport
    std::unique_ptr<QSocketNotifier> Notifier;
    QHostAddress Device;
    bool HasUser = false;
    QByteArray TrapCommunity;
    bool TakesCommunities = false;
    OvSNMPSecurity User;
    QByteArray UserName;
    std::unique_ptr<snmp_session> UserKeys; // the user with the keys of its pass phrases
    QSet<QByteArray> LearntEngines;
    OvUsmHeader LastHeader; // of the datagram being parsed
    bool LastIsV3 = false;
    bool LastLearnt = false; // its engine's keys were made for it
    QByteArray LastDigest;   // of the whole datagram
    OvRecentMessages Recent;
    QElapsedTimer EngineClock; // the current second of new engines
    int NewEngines = 0;
    int Foreign = 0;
    int BufferBytes = 0;
    quint64 SocketInode = 0;
    QString LastForeignAddress;
};
