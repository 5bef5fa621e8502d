#include "notify/OvNotificationReceiver.h"

#include "errors/OvErrors.h"
#include "notify/OvNotificationNames.h"
#include "snmp/OvSNMPEngine.h"
#include "values/OvSyntaxText.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#include <net-snmp/library/large_fd_set.h>
#include <net-snmp/library/snmpusm.h>

#include <QCryptographicHash>
#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <iterator>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>

namespace {

const oid kSysUpTime[] = {1, 3, 6, 1, 2, 1, 1, 3, 0};
const oid kSnmpTrapOid[] = {1, 3, 6, 1, 6, 3, 1, 1, 4, 1, 0};

bool isName(const netsnmp_variable_list* vb, const oid* name, size_t length) {
    return snmp_oid_compare(vb->name, vb->name_length, name, length) == 0;
}

// The sender of a datagram from what the UDP transport hands over with it.
bool sourceOf(const void* data, size_t length, QHostAddress& address, quint16& port) {
    if (!data || length < sizeof(netsnmp_sockaddr_storage))
        return false;
    const auto* pair = static_cast<const netsnmp_indexed_addr_pair*>(data);
    const netsnmp_sockaddr_storage& from = pair->remote_addr;
    if (from.sa.sa_family == AF_INET) {
        address = QHostAddress(ntohl(from.sin.sin_addr.s_addr));
        port = ntohs(from.sin.sin_port);
        return true;
    }
    if (from.sa.sa_family == AF_INET6) {
        address = QHostAddress(from.sin6.sin6_addr.s6_addr);
        port = ntohs(from.sin6.sin6_port);
        return true;
    }
    return false;
}

QString versionText(long version) {
    switch (version) {
    case SNMP_VERSION_1:
        return QStringLiteral("v1");
    case SNMP_VERSION_2c:
        return QStringLiteral("v2c");
    case SNMP_VERSION_3:
        return QStringLiteral("v3");
    default:
        return QString();
    }
}

QByteArray localEngineId() {
    u_char id[64];
    const size_t length = snmpv3_get_engineID(id, sizeof id);
    return QByteArray(reinterpret_cast<const char*>(id), static_cast<int>(length));
}

OvNotificationReceiver* receiverOf(snmp_session* session) {
    return static_cast<OvNotificationReceiver*>(session->callback_magic);
}

// Steps of the SNMPv3 exchange a sender of informs makes before its first inform:
// finding this engine's ID, then its boots and time. Answered by the library with a
// report; no notification was refused.
bool isDiscoveryStep(int result, const OvUsmHeader& header) {
    if (result == SNMPERR_USM_UNKNOWNENGINEID || result == SNMPERR_UNKNOWN_ENG_ID)
        return header.EngineId.isEmpty();
    if (result == SNMPERR_USM_NOTINTIMEWINDOW || result == SNMPERR_NOT_IN_TIME_WINDOW)
        return header.Boots == 0 && header.Time == 0;
    return false;
}

// Why a message was refused, as a framework code. An encrypted message whose
// authentication passed but whose decrypted contents do not parse was encrypted with
// another key: a decryption error. Any other message that does not parse, or that is no
// SNMP message at all, is a parse error.
int RefusalCode(int result, bool isV3, const OvUsmHeader& header) {
    const bool parse = result == SNMPERR_ASN_PARSE_ERR || result == SNMPERR_BAD_PARSE ||
                       result == SNMPERR_BAD_VERSION || (!isV3 && result == SNMPERR_GENERR);
    if (isV3 && (header.Flags & 0x03) == 0x03 && parse)
        return OvSNMPEngine::MapLibraryStatus(SNMPERR_USM_DECRYPTIONERROR);
    if (parse)
        return OvCode::ParseError;
    return OvSNMPEngine::MapLibraryStatus(result);
}

const oid kSnmpTrapAddress[] = {1, 3, 6, 1, 6, 3, 18, 1, 3, 0};
const oid kSnmpTrapEnterprise[] = {1, 3, 6, 1, 6, 3, 1, 1, 4, 3, 0};

} // namespace

OvNotificationReceiver::OvNotificationReceiver(QObject* parent) : QObject(parent) {}

OvNotificationReceiver::~OvNotificationReceiver() {
    Notifier.reset(); // before its socket goes with the session
    if (Handle)
        snmp_sess_close(Handle);
}

bool OvNotificationReceiver::Listen(const QString& address, quint16 port, QString& error) {
    const bool v6 = QHostAddress(address).protocol() == QAbstractSocket::IPv6Protocol;
    const QByteArray host =
        v6 ? QByteArray("udp6:[" + address.toUtf8() + ']') : QByteArray("udp:" + address.toUtf8());
    const QByteArray spec = host + ':' + QByteArray::number(port);
    errno = 0;
    netsnmp_transport* transport = netsnmp_transport_open_server("velmarn", spec.constData());
    if (!transport) {
        const int reason = errno;
        error = reason ? QString::fromLocal8Bit(std::strerror(reason))
                       : OvErrorMessage(OvCode::CannotCreateSession);
        return false;
    }
    netsnmp_session s;
    snmp_sess_init(&s);
    s.version = SNMP_DEFAULT_VERSION;
    s.callback = &OvNotificationReceiver::Callback;
    s.callback_magic = this;
    // The library decides per message: informs are sent to this engine, traps come from
    // the sender's.
    s.isAuthoritative = SNMP_SESS_UNKNOWNAUTH;
    Handle =
        snmp_sess_add_ex(&s, transport, &OvNotificationReceiver::PreParse, &OvNotificationReceiver::Parse,
                         &OvNotificationReceiver::PostParse, nullptr, nullptr, nullptr, nullptr);
    if (!Handle) {
        error = OvErrorMessage(OvSNMPEngine::MapLibraryStatus(s.s_snmp_errno));
        return false;
    }
    int wanted = WantedReceiveBuffer;
    ::setsockopt(transport->sock, SOL_SOCKET, SO_RCVBUF, &wanted, sizeof wanted);
    int given = 0;
    socklen_t size = sizeof given;
    if (::getsockopt(transport->sock, SOL_SOCKET, SO_RCVBUF, &given, &size) == 0)
        BufferBytes = given / 2; // the kernel doubles what it grants, for its bookkeeping
    struct stat socket {};
    if (::fstat(transport->sock, &socket) == 0)
        SocketInode = socket.st_ino;
    Notifier = std::make_unique<QSocketNotifier>(transport->sock, QSocketNotifier::Read);
    connect(Notifier.get(), &QSocketNotifier::activated, this, &OvNotificationReceiver::ReadPending);
    return true;
}

qint64 OvNotificationReceiver::KernelDrops() const {
    // The socket's line in /proc/net/udp or udp6 ends with its drop count (the counter
    // SO_RXQ_OVFL reports), found by the socket's inode.
    if (SocketInode == 0)
        return 0;
    for (const char* table : {"/proc/net/udp", "/proc/net/udp6"}) {
        QFile file(QString::fromLatin1(table));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray inode = QByteArray::number(SocketInode);
        for (const QByteArray& line : file.readAll().split('\n')) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() >= 13 && fields[9] == inode)
                return fields.last().toLongLong();
        }
    }
    return 0;
}

void OvNotificationReceiver::SetUser(const OvSNMPSecurity& security) {
    OvSNMPEngine::CheckUser(security);
    User = security;
    UserName = User.SecurityName.toUtf8(); // compared with every SNMPv3 message's user
    HasUser = true;
    UserKeys.reset();
    LearntEngines.clear();
    // Informs are sent to this engine: the user's keys for its own ID, made anew, since
    // the library never replaces a known user's keys.
    const QByteArray local = localEngineId();
    if (usmUser* old =
            usm_get_user(reinterpret_cast<u_char*>(const_cast<char*>(local.constData())),
                         static_cast<size_t>(local.size()), const_cast<char*>(UserName.constData()))) {
        usm_remove_user(old);
        usm_free_user(old);
    }
    RegisterUser(local);
}

void OvNotificationReceiver::SetTrapCommunity(const QString& community) {
    TakesCommunities = !community.isNull();
    TrapCommunity = community.toUtf8();
}

void OvNotificationReceiver::RegisterUser(const QByteArray& engineId) {
    if (!UserKeys) {
        // The keys of the pass phrases, made once: per engine only their localisation runs.
        UserKeys = std::make_unique<netsnmp_session>();
        snmp_sess_init(UserKeys.get());
        UserKeys->version = SNMP_VERSION_3;
        OvSNMPEngine::FillUser(User, UserName, *UserKeys);
    }
    netsnmp_session s = *UserKeys;
    s.securityEngineID = reinterpret_cast<u_char*>(const_cast<char*>(engineId.constData()));
    s.securityEngineIDLen = static_cast<size_t>(engineId.size());
    usm_create_user_from_session(&s); // keeps a user of that engine that is there already
    LearntEngines.insert(engineId);
}

bool OvNotificationReceiver::LearnEngine(const OvUsmHeader& header) {
    // RFC 3414: a trap's authoritative engine is its sender; its ID comes with it.
    if (!HasUser || header.EngineId.isEmpty() || header.User != UserName ||
        LearntEngines.contains(header.EngineId) || LearntEngines.size() >= MaxLearntEngines)
        return false;
    if (!EngineClock.isValid() || EngineClock.elapsed() >= 1000) {
        EngineClock.start();
        NewEngines = 0;
    }
    if (++NewEngines > MaxNewEnginesPerSecond)
        return false; // refused as an unknown engine; the sender's next try may come in
    RegisterUser(header.EngineId);
    return true;
}

void OvNotificationReceiver::ForgetEngine(const QByteArray& engineId) {
    if (usmUser* user =
            usm_get_user(reinterpret_cast<u_char*>(const_cast<char*>(engineId.constData())),
                         static_cast<size_t>(engineId.size()), const_cast<char*>(UserName.constData()))) {
        usm_remove_user(user);
        usm_free_user(user);
    }
    LearntEngines.remove(engineId);
}

void OvNotificationReceiver::ReadPending() {
    if (!Handle)
        return;
    netsnmp_transport* transport = snmp_sess_transport(Handle);
    const int sock = transport->sock;
    netsnmp_large_fd_set fds;
    netsnmp_large_fd_set_init(&fds, sock + 1);
    for (int i = 0; i < MaxReadsPerWakeUp; ++i) {
        // The library's socket blocks: read only what is there.
        pollfd ready{sock, POLLIN, 0};
        if (::poll(&ready, 1, 0) <= 0 || !(ready.revents & POLLIN))
            break;
        NETSNMP_LARGE_FD_ZERO(&fds);
        NETSNMP_LARGE_FD_SET(sock, &fds);
        snmp_sess_read2(Handle, &fds);
    }
    netsnmp_large_fd_set_cleanup(&fds);
}

int OvNotificationReceiver::PreParse(snmp_session* session, netsnmp_transport_s*, void* from, int length) {
    OvNotificationReceiver* self = receiverOf(session);
    QHostAddress address;
    quint16 port = 0;
    if (sourceOf(from, static_cast<size_t>(length), address, port) && address.isEqual(self->Device))
        return 1;
    ++self->Foreign;
    self->LastForeignAddress = address.toString() + QLatin1Char(':') + QString::number(port);
    Q_EMIT self->ForeignDropped(self->Foreign, self->LastForeignAddress);
    return 0; // dropped unread
}

int OvNotificationReceiver::Parse(snmp_session* session, snmp_pdu* pdu, unsigned char* data, size_t length) {
    OvNotificationReceiver* self = receiverOf(session);
    self->LastHeader = OvUsmHeader();
    self->LastIsV3 = OvReadUsmHeader(data, length, self->LastHeader);
    self->LastLearnt = self->LastIsV3 && self->LearnEngine(self->LastHeader);
    self->LastDigest = self->LastIsV3
                           ? QCryptographicHash::hash(QByteArrayView(data, static_cast<qsizetype>(length)),
                                                      QCryptographicHash::Sha256)
                           : QByteArray();
    return snmp_parse(static_cast<session_list*>(self->Handle), session, pdu, data, length);
}

int OvNotificationReceiver::PostParse(snmp_session* session, snmp_pdu* pdu, int result) {
    OvNotificationReceiver* self = receiverOf(session);
    if (result != SNMPERR_SUCCESS && !(self->LastIsV3 && isDiscoveryStep(result, self->LastHeader))) {
        // Keys stay only for a sender that proved it has them.
        if (self->LastLearnt)
            self->ForgetEngine(self->LastHeader.EngineId);
        if (self->LastIsV3)
            pdu->version = SNMP_VERSION_3;
        int code = RefusalCode(result, self->LastIsV3, self->LastHeader);
        // The module's own user from an engine it made no keys for (too many new engines
        // at once): the engine is what is unknown.
        if (self->LastIsV3 && self->HasUser && self->LastHeader.User == self->UserName &&
            !self->LearntEngines.contains(self->LastHeader.EngineId) &&
            (result == SNMPERR_USM_UNKNOWNSECURITYNAME || result == SNMPERR_UNKNOWN_USER_NAME))
            code = OvCode::UnknownEngineId;
        self->Refused(pdu, OvErrorMessage(code));
    }
    return 1;
}

int OvNotificationReceiver::Callback(int operation, snmp_session* session, int, snmp_pdu* pdu, void*) {
    // A message that failed authentication also comes here, without a command: its
    // refusal was told after parsing.
    if (operation == NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE && pdu->command != 0)
        receiverOf(session)->Accept(pdu);
    return 1;
}

OvNotification OvNotificationReceiver::Stamp(snmp_pdu* pdu) const {
    OvNotification n;
    n.Time = QDateTime::currentDateTimeUtc(); // shown in local time; no time zone look-up per arrival
    QHostAddress address;
    if (sourceOf(pdu->transport_data, pdu->transport_data_length, address, n.SourcePort))
        n.Source = address.toString();
    n.Version = versionText(pdu->version);
    if (pdu->version == SNMP_VERSION_3) {
        n.User = pdu->securityName
                     ? QString::fromUtf8(pdu->securityName, static_cast<int>(pdu->securityNameLen))
                     : QString::fromUtf8(LastHeader.User);
    }
    if (pdu->command == SNMP_MSG_INFORM)
        n.Type = QStringLiteral("inform");
    else if (pdu->command == SNMP_MSG_TRAP || pdu->command == SNMP_MSG_TRAP2)
        n.Type = QStringLiteral("trap");
    return n;
}

void OvNotificationReceiver::Refused(snmp_pdu* pdu, const QString& reason) {
    OvNotification n = Stamp(pdu);
    n.Refusal = reason;
    Q_EMIT Received(n);
}

void OvNotificationReceiver::Accept(snmp_pdu* pdu) {
    OvNotification n = Stamp(pdu);
    if (n.Type.isEmpty())
        return Refused(pdu, QStringLiteral("Not a notification!"));
    if (pdu->version != SNMP_VERSION_3) {
        // Anybody can send from the device's address: the community is all there is.
        const QByteArray community(reinterpret_cast<const char*>(pdu->community),
                                   pdu->community ? static_cast<int>(pdu->community_len) : 0);
        if (!TakesCommunities || community != TrapCommunity)
            return Refused(pdu, QStringLiteral("Unknown community!"));
    } else {
        // The library authenticated the message for whichever user it knows; only the
        // module's own, at its level, is taken.
        if (!HasUser || n.User != User.SecurityName)
            return Refused(pdu, OvErrorMessage(OvCode::UnknownSecurityName));
        if (pdu->securityLevel < User.SecurityLevel)
            return Refused(pdu, OvErrorMessage(OvCode::UnsupportedSecurityLevel));
    }
    if (pdu->command == SNMP_MSG_TRAP) {
        n.Oid = OvTrapOidOfV1(OvDottedIds(pdu->enterprise, pdu->enterprise_length), pdu->trap_type,
                              pdu->specific_type);
        n.Uptime = OvTicksText(static_cast<quint32>(pdu->time));
    }
    for (const netsnmp_variable_list* vb = pdu->variables; vb; vb = vb->next_variable) {
        if (pdu->command != SNMP_MSG_TRAP && isName(vb, kSysUpTime, std::size(kSysUpTime)) &&
            vb->type == ASN_TIMETICKS)
            n.Uptime = OvTicksText(static_cast<quint32>(*vb->val.integer));
        else if (pdu->command != SNMP_MSG_TRAP && isName(vb, kSnmpTrapOid, std::size(kSnmpTrapOid)) &&
                 vb->type == ASN_OBJECT_ID)
            n.Oid = OvDottedIds(vb->val.objid, vb->val_len / sizeof(oid));
        else
            n.Bindings.push_back(OvNameBinding(reinterpret_cast<const variable_list*>(vb)));
    }
    if (pdu->command == SNMP_MSG_TRAP) {
        // What an SNMPv1 trap says outside its bindings, after them as RFC 3584 puts it.
        netsnmp_variable_list* extra = nullptr;
        snmp_varlist_add_variable(&extra, kSnmpTrapAddress, std::size(kSnmpTrapAddress), ASN_IPADDRESS,
                                  pdu->agent_addr, 4);
        snmp_varlist_add_variable(&extra, kSnmpTrapEnterprise, std::size(kSnmpTrapEnterprise), ASN_OBJECT_ID,
                                  pdu->enterprise, pdu->enterprise_length * sizeof(oid));
        for (const netsnmp_variable_list* vb = extra; vb; vb = vb->next_variable)
            n.Bindings.push_back(OvNameBinding(reinterpret_cast<const variable_list*>(vb)));
        snmp_free_varbind(extra);
    }
    if (n.Oid.isEmpty())
        return Refused(pdu, QStringLiteral("The notification has no snmpTrapOID.0!"));
    n.Name = OvNotificationName(n.Oid);
    if (IsRepeated(pdu, n)) {
        // A resent inform is answered again, but is the same notification; a trap sent
        // again by somebody else is a replay.
        if (pdu->command == SNMP_MSG_INFORM) {
            Acknowledge(pdu);
            return;
        }
        n.Bindings.clear();
        return Refused(pdu, OvErrorMessage(OvCode::SameMessageTwice));
    }
    if (pdu->command == SNMP_MSG_INFORM) {
        n.Acknowledged = Acknowledge(pdu);
        if (!n.Acknowledged)
            n.Refusal = QStringLiteral("The acknowledgement could not be sent!");
    }
    Q_EMIT Received(n);
}

bool OvNotificationReceiver::Acknowledge(snmp_pdu* pdu) {
    netsnmp_pdu* reply = snmp_clone_pdu(pdu);
    if (!reply)
        return false;
    reply->command = SNMP_MSG_RESPONSE;
    reply->errstat = 0;
    reply->errindex = 0;
    if (snmp_sess_send(Handle, reply) != 0)
        return true;
    snmp_free_pdu(reply);
    return false;
}

bool OvNotificationReceiver::IsRepeated(snmp_pdu* pdu, const OvNotification& n) {
    if (pdu->version != SNMP_VERSION_3 || pdu->securityLevel < SNMP_SEC_LEVEL_AUTHNOPRIV)
        return false; // what anybody can make up proves nothing by coming twice
    QByteArray key = LastDigest;
    if (pdu->command == SNMP_MSG_INFORM) // a resent inform is encoded anew, with its request ID
        key = "inform " + n.Source.toUtf8() + ':' + QByteArray::number(n.SourcePort) + ' ' +
              QByteArray::number(static_cast<qlonglong>(pdu->reqid));
    return Recent.SeenBefore(key);
}
