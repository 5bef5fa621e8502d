#include "snmp/OvSNMPEngine.h"

#include "errors/OvErrors.h"
#include "snmp/OvValueText.h"

// net-snmp's own headers need its configuration first.
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#include <net-snmp/library/keytools.h>
#include <net-snmp/library/large_fd_set.h>
#include <net-snmp/library/snmpusm.h>
#include <net-snmp/library/transform_oids.h>

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSocketNotifier>
#include <QTimer>

#include <arpa/inet.h>
#include <cstring>
#include <iterator>
#include <optional>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

void OvPduDeleter::operator()(snmp_pdu* pdu) const {
    if (pdu)
        snmp_free_pdu(pdu);
}

QString OvSNMPResult::Message() const {
    const QString message = OvErrorMessage(Code);
    return Hint.isEmpty() ? message : message + QLatin1Char(' ') + Hint;
}

namespace {

bool libraryInitialised = false;

// A UDP socket on any local port: what every request needs.
bool canOpenUdpSocket() {
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0)
        return false;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = 0;
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    const bool ok = ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd);
    return ok;
}

char* copyText(const QByteArray& text) {
    char* p = static_cast<char*>(malloc(static_cast<size_t>(text.size()) + 1));
    memcpy(p, text.constData(), static_cast<size_t>(text.size()));
    p[text.size()] = '\0';
    return p;
}

u_char* copyBytes(const QByteArray& bytes) {
    u_char* p = static_cast<u_char*>(malloc(static_cast<size_t>(bytes.size()) + 1));
    memcpy(p, bytes.constData(), static_cast<size_t>(bytes.size()));
    return p;
}

struct ProtocolOid {
    int number;
    oid* id;
    size_t length;
};

bool findProtocol(const ProtocolOid* table, size_t count, int number, ProtocolOid& out) {
    for (size_t i = 0; i < count; ++i)
        if (table[i].number == number) {
            out = table[i];
            return true;
        }
    return false;
}

// Protocol numbers of the command line and the library's protocol identifiers.
bool authProtocol(int number, ProtocolOid& out) {
    const ProtocolOid table[] = {
        {1, usmNoAuthProtocol, USM_AUTH_PROTO_NOAUTH_LEN},
        {2, usmHMACMD5AuthProtocol, USM_AUTH_PROTO_MD5_LEN},
        {3, usmHMACSHA1AuthProtocol, USM_AUTH_PROTO_SHA_LEN},
        {4, usmHMAC128SHA224AuthProtocol, OID_LENGTH(usmHMAC128SHA224AuthProtocol)},
        {5, usmHMAC192SHA256AuthProtocol, OID_LENGTH(usmHMAC192SHA256AuthProtocol)},
        {6, usmHMAC256SHA384AuthProtocol, OID_LENGTH(usmHMAC256SHA384AuthProtocol)},
        {7, usmHMAC384SHA512AuthProtocol, OID_LENGTH(usmHMAC384SHA512AuthProtocol)},
    };
    return findProtocol(table, std::size(table), number, out);
}

bool privProtocol(int number, ProtocolOid& out) {
    const ProtocolOid table[] = {
        {1, usmNoPrivProtocol, USM_PRIV_PROTO_NOPRIV_LEN},
        {2, usmDESPrivProtocol, USM_PRIV_PROTO_DES_LEN},
        {4, usmAESPrivProtocol, USM_PRIV_PROTO_AES_LEN},
        {20, usmAES192PrivProtocol, OID_LENGTH(usmAES192PrivProtocol)},
        {21, usmAES256PrivProtocol, OID_LENGTH(usmAES256PrivProtocol)},
        {23, usmAES192CiscoPrivProtocol, OID_LENGTH(usmAES192CiscoPrivProtocol)},
        {24, usmAES256CiscoPrivProtocol, OID_LENGTH(usmAES256CiscoPrivProtocol)},
    };
    return findProtocol(table, std::size(table), number, out);
}

int netsnmpVersion(quint8 version) {
    if (version == 3)
        return SNMP_VERSION_3;
    if (version == 0)
        return SNMP_VERSION_1;
    return SNMP_VERSION_2c;
}

// A context engine ID given as hex digits ("8000..." or "0x8000...") is taken as those
// octets; any other text as its own bytes.
QByteArray contextEngineId(const QString& text) {
    QString t = text.trimmed();
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        t = t.mid(2);
    static const QRegularExpression hex(QStringLiteral("^([0-9A-Fa-f]{2})+$"));
    if (hex.match(t).hasMatch())
        return QByteArray::fromHex(t.toLatin1());
    return text.toUtf8();
}

// The empty user the engine-ID probe is sent as.
void ensureProbeUser() {
    if (usm_get_user(nullptr, 0, const_cast<char*>("")))
        return;
    auto* user = static_cast<struct usmUser*>(calloc(1, sizeof(struct usmUser)));
    user->name = strdup("");
    user->secName = strdup("");
    user->authProtocol = snmp_duplicate_objid(usmNoAuthProtocol, USM_AUTH_PROTO_NOAUTH_LEN);
    user->authProtocolLen = USM_AUTH_PROTO_NOAUTH_LEN;
    user->privProtocol = snmp_duplicate_objid(usmNoPrivProtocol, USM_PRIV_PROTO_NOPRIV_LEN);
    user->privProtocolLen = USM_PRIV_PROTO_NOPRIV_LEN;
    usm_add_user(user);
}

struct StatusCode {
    int status;
    int code;
};

// net-snmp statuses and the framework codes they are shown as.
constexpr StatusCode kLibraryStatuses[] = {
    {SNMPERR_SUCCESS, 0},
    {SNMPERR_GENERR, -401},
    {SNMPERR_BAD_ADDRESS, -509},
    {SNMPERR_BAD_SENDTO, -422},
    {SNMPERR_BAD_RECVFROM, -422},
    {SNMPERR_NO_SOCKET, -422},
    {SNMPERR_BAD_LOCPORT, -422},
    {SNMPERR_BAD_PARSE, -207},
    {SNMPERR_ASN_PARSE_ERR, -207},
    {SNMPERR_BAD_VERSION, -204},
    {SNMPERR_BAD_CONTEXT, -216},
    {SNMPERR_BAD_COMMUNITY, -210},
    {SNMPERR_ABORT, -423},
    {SNMPERR_TIMEOUT, -405},
    {SNMPERR_BAD_ENG_ID, -205},
    {SNMPERR_BAD_SEC_NAME, -304},
    {SNMPERR_BAD_SEC_LEVEL, -303},
    {SNMPERR_UNKNOWN_SEC_MODEL, -201},
    {SNMPERR_INVALID_MSG, -204},
    {SNMPERR_UNKNOWN_ENG_ID, -310},
    {SNMPERR_UNKNOWN_USER_NAME, -304},
    {SNMPERR_UNSUPPORTED_SEC_LEVEL, -303},
    {SNMPERR_AUTHENTICATION_FAILURE, -308},
    {SNMPERR_NOT_IN_TIME_WINDOW, -311},
    {SNMPERR_DECRYPTION_ERR, -306},
    {SNMPERR_USM_GENERICERROR, -301},
    {SNMPERR_USM_UNKNOWNSECURITYNAME, -304},
    {SNMPERR_USM_UNSUPPORTEDSECURITYLEVEL, -303},
    {SNMPERR_USM_ENCRYPTIONERROR, -305},
    {SNMPERR_USM_AUTHENTICATIONFAILURE, -308},
    {SNMPERR_USM_PARSEERROR, -309},
    {SNMPERR_USM_UNKNOWNENGINEID, -310},
    {SNMPERR_USM_NOTINTIMEWINDOW, -311},
    {SNMPERR_USM_DECRYPTIONERROR, -306},
};

const QByteArray kPeerPrefix("udp:");

// What one session waits for: its socket and, with requests outstanding, the time to the
// next retransmission or time-out. net-snmp's large fd sets and poll() below have no
// FD_SETSIZE limit, so sockets numbered past 1,023 work as well as any.
struct SessionWait {
    int Socket = -1;
    bool Outstanding = false;
    timeval Next{0, 0};
};

SessionWait waitOf(void* session) {
    netsnmp_large_fd_set fds;
    netsnmp_large_fd_set_init(&fds, FD_SETSIZE);
    SessionWait w;
    int numfds = 0;
    int block = 1;
    snmp_sess_select_info2_flags(session, &numfds, &fds, &w.Next, &block, NETSNMP_SELECT_NOALARMS);
    netsnmp_large_fd_set_cleanup(&fds);
    w.Outstanding = !block;
    if (netsnmp_transport* transport = snmp_sess_transport(session))
        w.Socket = transport->sock;
    return w;
}

int toMs(const timeval& tv) {
    return static_cast<int>(tv.tv_sec * 1000L + (tv.tv_usec + 999) / 1000);
}

// Waits up to ms for any of the sockets to become readable.
void pollSockets(const std::vector<int>& sockets, int ms) {
    std::vector<pollfd> fds;
    for (int fd : sockets)
        if (fd >= 0)
            fds.push_back(pollfd{fd, POLLIN, 0});
    ::poll(fds.data(), fds.size(), ms);
}

} // namespace

// A net-snmp single session, closed with its owner (closing reports what is outstanding
// as timed out; nobody listens by then).
class OvSNMPEngine::SessionHandle {
public:
    SessionHandle() = default;
    ~SessionHandle() {
        if (Handle)
            snmp_sess_close(Handle);
    }
    SessionHandle(const SessionHandle&) = delete;
    SessionHandle& operator=(const SessionHandle&) = delete;
    void Reset(void* handle) {
        if (Handle)
            snmp_sess_close(Handle);
        Handle = handle;
    }
    operator void*() const { return Handle; }

private:
    void* Handle = nullptr;
};

// A request that has not been handed to the library yet.
struct OvSNMPEngine::Queued {
    OvPduPtr Pdu;
    Completion Done;
    bool Safe = false;     // its completion may run inside a synchronous wait
    bool MayRetry = false; // a time-out may mean a new engine ID: look once, then resend
    int FailedWith = 0;    // what ended it when sent, if the look finds the same engine
};

struct OvSNMPEngine::Slot {
    enum Discovery { Unknown, Discovering, Ready };

    QByteArray Key;
    QByteArray Credentials; // protocols and pass phrases, for replacing changed keys
    OvSNMPTarget Target;
    SessionHandle Session; // closed before the notifier's socket is gone: declared first
    bool V3 = false;
    int Level = SNMP_SEC_LEVEL_NOAUTH;
    Discovery State = Unknown;
    // The agent answered since the engine ID was last checked: a time-out is worth one
    // look at its engine ID (a reinstalled agent's answers are dropped by the library).
    bool Answered = false;
    // A look at the engine ID is under way; when the last one was sent. A device reset
    // while it was down is found by looking again on later time-outs, now and then.
    bool Probing = false;
    bool Released = false; // closed once idle
    QElapsedTimer LastProbe;
    // The agent answered the last look at its engine ID, and whether it has answered a
    // request since its engine became known: a time-out of an encrypted request to an
    // agent that answers the unencrypted look points at the privacy settings.
    bool AnsweredDiscovery = false;
    bool AnsweredRequest = false;
    // An answer failed the check of its digest since the agent last answered: our keys are
    // not the agent's, and its answers are dropped, so a time-out is that failure.
    bool WrongDigest = false;
    std::vector<Queued> Waiting;    // until the agent's engine is known
    std::vector<Queued> Rechecking; // timed out while the engine ID is looked at again
    std::unique_ptr<QSocketNotifier> Notifier;

    bool RecheckDue() const;
    bool SilentToEncryption() const;
    // What a time-out of this agent is shown as.
    int TimeoutCode() const;
};

bool OvSNMPEngine::Slot::SilentToEncryption() const {
    return V3 && Level == SNMP_SEC_LEVEL_AUTHPRIV && AnsweredDiscovery && !AnsweredRequest && !WrongDigest;
}

int OvSNMPEngine::Slot::TimeoutCode() const {
    return WrongDigest ? OvCode::AuthenticationFailure : OvCode::Timeout;
}

QString OvSNMPEngine::PrivacyHint() {
    return QStringLiteral(
        "The device answered but not to the encrypted request: check the privacy pass phrase and protocol.");
}

bool OvSNMPEngine::Slot::RecheckDue() const {
    return !Probing && (!LastProbe.isValid() || LastProbe.elapsed() >= RecheckIntervalMs);
}

struct OvSNMPEngine::Pending {
    Slot* Owner = nullptr;
    Completion Done;
    int ProbeStep = 0; // 1: engine ID, 2: time window, 3: engine ID again after a time-out
    bool Safe = false;
    OvPduPtr Retry; // a copy of a request that may be sent again
};

OvSNMPEngine* OvSNMPEngine::CurrentEngine = nullptr;

OvSNMPEngine::OvSNMPEngine() : TimeoutTimer(new QTimer(this)) {
    CurrentEngine = this;
    TimeoutTimer->setSingleShot(true);
    connect(TimeoutTimer, &QTimer::timeout, this, &OvSNMPEngine::ProcessPendingEvents);
}

OvSNMPEngine::~OvSNMPEngine() {
    InFlight.clear();
    if (CurrentEngine == this)
        CurrentEngine = nullptr;
    Slots.clear(); // each slot's notifier goes before its session is closed
}

bool OvSNMPEngine::Open() {
    if (!canOpenUdpSocket())
        return false;
    if (libraryInitialised)
        return true;
    // The library's folders point below a device file, where no folder can ever be: it
    // finds nothing to read and can create nothing there, whoever runs the program, and no
    // folder of ours is made and removed at every start.
    static const char* const nowhere = "/dev/null/velmarn";

    // No MIB files, no configuration or persistent files of net-snmp's own.
    qputenv("MIBS", "");
    netsnmp_set_mib_directory("");
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_PERSIST_STATE, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_LOAD_HOST_FILES, 1);
    set_persistent_directory(nowhere);
    set_configuration_directory(nowhere);
    snmp_disable_log();
    libraryInitialised = true;
    return true;
}

void OvSNMPEngine::InitSecurity(const QByteArray& engineId, quint32 boots) {
    static bool initialised = false;
    if (!initialised) {
        set_exact_engineID(reinterpret_cast<const u_char*>(engineId.constData()),
                           static_cast<size_t>(engineId.size()));
        init_snmp("velmarn");
        // With no log handler at all the library writes to standard error; one that
        // discards keeps its warnings ("Authentication failed for ...") out of our output.
        snmp_disable_log();
        netsnmp_register_loghandler(NETSNMP_LOGHANDLER_NONE, LOG_EMERG);
        initialised = true;
    }
    // init_snmp starts the local boots at 1; the stored count replaces it.
    QByteArray previous = QByteArray::number(boots > 0 ? boots - 1 : 0);
    engineBoots_conf("engineBoots", previous.data());
    set_enginetime(reinterpret_cast<const u_char*>(engineId.constData()), static_cast<u_int>(engineId.size()),
                   boots, snmpv3_local_snmpEngineTime(), TRUE);
}

quint32 OvSNMPEngine::LibraryEngineBoots() {
    return static_cast<quint32>(snmpv3_local_snmpEngineBoots());
}

OvPduPtr OvSNMPEngine::NewPdu(int command) {
    return OvPduPtr(snmp_pdu_create(command));
}

int OvSNMPEngine::MapLibraryStatus(int snmpError) {
    for (const StatusCode& s : kLibraryStatuses)
        if (s.status == snmpError)
            return s.code;
    return OvCode::UnknownErrorCode;
}

int OvSNMPEngine::MapAgentStatus(long errorStatus) {
    if (errorStatus == 0)
        return 0;
    if (errorStatus >= 1 && errorStatus <= 18)
        return static_cast<int>(-100 - errorStatus);
    return OvCode::UnknownErrorCode;
}

int OvSNMPEngine::MapReport(snmp_pdu* report) {
    // snmpUnavailableContexts and snmpUnknownContexts share one library status.
    static const oid unavailableContexts[] = {1, 3, 6, 1, 6, 3, 12, 1, 4};
    static const oid unknownContexts[] = {1, 3, 6, 1, 6, 3, 12, 1, 5};
    if (report->variables) {
        const netsnmp_variable_list* vb = report->variables;
        if (vb->name_length >= 9 && snmp_oid_ncompare(vb->name, 9, unavailableContexts, 9, 9) == 0)
            return OvCode::UnavailableContext;
        if (vb->name_length >= 9 && snmp_oid_ncompare(vb->name, 9, unknownContexts, 9, 9) == 0)
            return OvCode::UnknownContext;
    }
    return MapLibraryStatus(snmpv3_get_report_type(report));
}

void OvSNMPEngine::CheckUser(const OvSNMPSecurity& sec) {
    ProtocolOid auth{}, priv{};
    if (sec.SecurityModel != SNMP_SEC_MODEL_USM)
        throw OvException(OvCode::UnsupportedSecurityModel);
    if (sec.SecurityLevel < SNMP_SEC_LEVEL_NOAUTH || sec.SecurityLevel > SNMP_SEC_LEVEL_AUTHPRIV)
        throw OvException(OvCode::UnsupportedSecurityLevel);
    if (!authProtocol(sec.AuthProtocol, auth))
        throw OvException(OvCode::UnsupportedAuthProtocol);
    if (!privProtocol(sec.PrivProtocol, priv))
        throw OvException(OvCode::UnsupportedPrivProtocol);
    if (sec.SecurityLevel >= SNMP_SEC_LEVEL_AUTHNOPRIV && sec.AuthProtocol == 1)
        throw OvException(OvCode::UnsupportedSecurityLevel);
    if (sec.SecurityLevel == SNMP_SEC_LEVEL_AUTHPRIV && sec.PrivProtocol == 1)
        throw OvException(OvCode::UnsupportedSecurityLevel);
}

void OvSNMPEngine::FillUser(const OvSNMPSecurity& sec, const QByteArray& securityName, snmp_session& s) {
    CheckUser(sec);
    ProtocolOid auth{}, priv{};
    authProtocol(sec.AuthProtocol, auth);
    privProtocol(sec.PrivProtocol, priv);
    s.securityModel = SNMP_SEC_MODEL_USM;
    s.securityLevel = sec.SecurityLevel;
    s.securityName = const_cast<char*>(securityName.constData());
    s.securityNameLen = static_cast<size_t>(securityName.size());
    s.securityAuthProto = auth.id;
    s.securityAuthProtoLen = auth.length;
    s.securityPrivProto = priv.id;
    s.securityPrivProtoLen = priv.length;
    if (sec.SecurityLevel >= SNMP_SEC_LEVEL_AUTHNOPRIV) {
        const QByteArray pass = sec.AuthPassword.toUtf8();
        s.securityAuthKeyLen = USM_AUTH_KU_LEN;
        if (generate_Ku(auth.id, static_cast<u_int>(auth.length),
                        reinterpret_cast<const u_char*>(pass.constData()), static_cast<size_t>(pass.size()),
                        s.securityAuthKey, &s.securityAuthKeyLen) != SNMPERR_SUCCESS)
            throw OvException(OvCode::AuthenticationError);
    }
    if (sec.SecurityLevel == SNMP_SEC_LEVEL_AUTHPRIV) {
        const QByteArray pass = sec.PrivPassword.toUtf8();
        s.securityPrivKeyLen = USM_PRIV_KU_LEN;
        if (generate_Ku(auth.id, static_cast<u_int>(auth.length),
                        reinterpret_cast<const u_char*>(pass.constData()), static_cast<size_t>(pass.size()),
                        s.securityPrivKey, &s.securityPrivKeyLen) != SNMPERR_SUCCESS)
            throw OvException(OvCode::EncryptionError);
    }
}

OvSNMPEngine::Slot& OvSNMPEngine::SlotFor(const OvSNMPTarget& target) {
    const OvSNMPSecurity& sec = target.Security;
    const bool v3 = netsnmpVersion(sec.Version) == SNMP_VERSION_3;
    if (v3)
        CheckUser(sec);

    QByteArray credentials;
    if (v3) {
        credentials = QByteArray::number(sec.AuthProtocol) + '\0' + sec.AuthPassword.toUtf8() + '\0' +
                      QByteArray::number(sec.PrivProtocol) + '\0' + sec.PrivPassword.toUtf8();
    }
    const QByteArray key = target.Device.Address.toUtf8() + '\0' + QByteArray::number(target.Device.Port) +
                           '\0' + QByteArray::number(netsnmpVersion(sec.Version)) + '\0' +
                           sec.SecurityName.toUtf8() + '\0' + QByteArray::number(sec.SecurityLevel) + '\0' +
                           credentials;
    for (auto& slot : Slots)
        if (slot->Key == key) {
            slot->Released = false;
            return *slot;
        }

    auto slot = std::make_unique<Slot>();
    slot->Key = key;
    slot->Credentials = credentials;
    slot->Target = target;
    slot->V3 = v3;
    slot->Level = sec.SecurityLevel;

    const QString address = target.Device.Address.trimmed();
    // Four dotted numbers are an IPv4 address: one that is not is refused here rather than
    // looked up as a name.
    static const QRegularExpression dottedQuad(QStringLiteral("^\\d+\\.\\d+\\.\\d+\\.\\d+$"));
    QByteArray octets;
    if (address.isEmpty() || (dottedQuad.match(address).hasMatch() && !OvParseIPv4(address, octets)))
        throw OvException(OvCode::InvalidAddress);
    const QByteArray port = QByteArray::number(target.Device.Port);
    QByteArray peer = address.contains(QLatin1Char(':'))
                          ? QByteArray(QByteArray("udp6:[") + address.toUtf8() + "]:" + port)
                          : QByteArray(kPeerPrefix + address.toUtf8() + ':' + port);
    const QByteArray community = sec.ReadCommunity.toUtf8();
    const QByteArray securityName = sec.SecurityName.toUtf8();

    netsnmp_session s;
    snmp_sess_init(&s);
    s.peername = peer.data();
    s.version = netsnmpVersion(sec.Version);
    s.retries = SessionRetries;
    s.timeout = SessionTimeoutMs * 1000L;
    s.community = reinterpret_cast<u_char*>(const_cast<char*>(community.constData()));
    s.community_len = static_cast<size_t>(community.size());
    if (v3) {
        FillUser(sec, securityName, s);
        s.flags |= SNMP_FLAGS_DONT_PROBE;
    }

    slot->Session.Reset(snmp_sess_open(&s));
    if (!slot->Session) {
        const int error = s.s_snmp_errno ? s.s_snmp_errno : snmp_errno;
        const int code = MapLibraryStatus(error);
        throw OvException(code == OvCode::UnknownErrorCode || error == 0 ? OvCode::InvalidAddress : code);
    }
    if (v3) // opening clears it; the engine ID is found without blocking instead
        snmp_sess_session(slot->Session)->flags |= SNMP_FLAGS_DONT_PROBE;

    if (netsnmp_transport* transport = snmp_sess_transport(slot->Session)) {
        slot->Notifier = std::make_unique<QSocketNotifier>(transport->sock, QSocketNotifier::Read);
        Slot* raw = slot.get();
        connect(slot->Notifier.get(), &QSocketNotifier::activated, this, [this, raw] {
            ReadSocket(*raw);
            DeliverFinished();
            RearmTimer();
        });
    }
    Slots.push_back(std::move(slot));
    return *Slots.back();
}

void OvSNMPEngine::PreparePdu(const Slot& slot, const OvSNMPTarget& target, snmp_pdu* pdu) const {
    const OvSNMPSecurity& sec = target.Security;
    pdu->version = netsnmpVersion(sec.Version);
    if (!slot.V3) {
        const bool write = pdu->command == SNMP_MSG_SET;
        const QByteArray community = (write ? sec.WriteCommunity : sec.ReadCommunity).toUtf8();
        // net-snmp puts the session's community into a request that has none, so an empty
        // one cannot be sent: say so rather than send another.
        if (community.isEmpty())
            throw OvException(OvCode::CommunityFormat, write
                                                           ? QStringLiteral("The write community is empty!")
                                                           : QStringLiteral("The read community is empty!"));
        pdu->community = copyBytes(community);
        pdu->community_len = static_cast<size_t>(community.size());
        return;
    }
    pdu->securityModel = SNMP_SEC_MODEL_USM;
    pdu->securityLevel = sec.SecurityLevel;
    const QByteArray name = sec.SecurityName.toUtf8();
    pdu->securityName = copyText(name);
    pdu->securityNameLen = static_cast<size_t>(name.size());
    const QByteArray context = target.Scope.ContextName.toUtf8();
    pdu->contextName = copyText(context);
    pdu->contextNameLen = static_cast<size_t>(context.size());
    const QByteArray contextEngine = contextEngineId(target.Scope.ContextEngineID);
    if (!contextEngine.isEmpty()) {
        pdu->contextEngineID = copyBytes(contextEngine);
        pdu->contextEngineIDLen = static_cast<size_t>(contextEngine.size());
    }
}

void OvSNMPEngine::SendAsync(const OvSNMPTarget& target, OvPduPtr pdu, Completion done) {
    Send(target, std::move(pdu), std::move(done), false);
}

void OvSNMPEngine::Send(const OvSNMPTarget& target, OvPduPtr pdu, Completion done, bool safe) {
    Slot& slot = SlotFor(target);
    PreparePdu(slot, target, pdu.get());
    Q_EMIT RequestSent();
    Queued q{std::move(pdu), std::move(done), safe, slot.V3};
    if (slot.V3 && slot.State != Slot::Ready) {
        slot.Waiting.push_back(std::move(q));
        if (slot.State == Slot::Unknown)
            StartDiscovery(slot);
        RearmTimer();
        return;
    }
    SendNow(slot, std::move(q));
    RearmTimer();
}

void OvSNMPEngine::Complete(Completion done, bool safe, OvSNMPResult result) {
    auto shared = std::make_shared<OvSNMPResult>(std::move(result));
    Finished.push_back(Step{[d = std::move(done), shared]() mutable { d(*shared); }, safe});
    ScheduleDelivery();
}

void OvSNMPEngine::SendNow(Slot& slot, Queued q) {
    if (slot.V3)
        RegisterUser(slot);
    Pending pending{&slot, std::move(q.Done), 0, q.Safe, nullptr};
    if (q.MayRetry)
        pending.Retry.reset(snmp_clone_pdu(q.Pdu.get()));
    snmp_pdu* raw = q.Pdu.release();
    const uintptr_t key = NextKey++;
    InFlight[key] = std::move(pending);
    const int id =
        snmp_sess_async_send(slot.Session, raw, &OvSNMPEngine::Callback, reinterpret_cast<void*>(key));
    if (id == 0) {
        snmp_free_pdu(raw); // a failed send leaves the request with its sender
        auto it = InFlight.find(key);
        if (it == InFlight.end())
            return; // the library's callback has reported the failure already
        Pending failed = std::move(it->second);
        InFlight.erase(it);
        OvSNMPResult r;
        r.Code = SendFailure(slot);
        Complete(std::move(failed.Done), failed.Safe, std::move(r));
    }
}

int OvSNMPEngine::SendFailure(const Slot& slot) {
    const int code = MapLibraryStatus(snmp_sess_session(slot.Session)->s_snmp_errno);
    return code == 0 || code == OvCode::UnknownErrorCode ? OvCode::TransportFailed : code;
}

OvPduPtr OvSNMPEngine::NewProbe() {
    ensureProbeUser();
    OvPduPtr probe = NewPdu(SNMP_MSG_GET);
    probe->version = SNMP_VERSION_3;
    probe->securityName = strdup("");
    probe->securityNameLen = 0;
    probe->securityLevel = SNMP_SEC_LEVEL_NOAUTH;
    probe->securityModel = SNMP_SEC_MODEL_USM;
    return probe;
}

void OvSNMPEngine::StartDiscovery(Slot& slot) {
    slot.State = Slot::Discovering;
    SendProbe(slot, NewProbe(), 1);
}

void OvSNMPEngine::SendProbe(Slot& slot, OvPduPtr probe, int step) {
    const uintptr_t key = NextKey++;
    InFlight[key] = Pending{&slot, nullptr, step, true, nullptr};
    snmp_pdu* raw = probe.release();
    if (snmp_sess_async_send(slot.Session, raw, &OvSNMPEngine::Callback, reinterpret_cast<void*>(key)) == 0) {
        snmp_free_pdu(raw);
        if (InFlight.erase(key) == 0)
            return; // the library's callback has reported the failure already
        if (step == 3)
            EngineRechecked(slot, nullptr);
        else
            FinishDiscovery(slot, false, SendFailure(slot));
    }
}

namespace {

QByteArray engineIdOf(const netsnmp_session* session) {
    return QByteArray(reinterpret_cast<const char*>(session->securityEngineID),
                      static_cast<int>(session->securityEngineIDLen));
}

void setEngineId(netsnmp_session* session, const snmp_pdu* report) {
    free(session->securityEngineID); // what SNMP_FREE does, without its C cast
    session->securityEngineID = copyBytes(QByteArray(reinterpret_cast<const char*>(report->securityEngineID),
                                                     static_cast<int>(report->securityEngineIDLen)));
    session->securityEngineIDLen = report->securityEngineIDLen;
}

} // namespace

void OvSNMPEngine::EngineIdFound(Slot& slot, int code, snmp_pdu* report) {
    netsnmp_session* session = snmp_sess_session(slot.Session);
    if (report && report->securityEngineIDLen > 0 && session->securityEngineIDLen == 0)
        setEngineId(session, report);
    slot.AnsweredDiscovery = report && report->securityEngineIDLen > 0;
    if (session->securityEngineIDLen == 0) {
        FinishDiscovery(slot, false, code == 0 ? OvCode::UnknownEngineId : code);
        return;
    }
    LearnTimeWindow(slot);
}

void OvSNMPEngine::LearnTimeWindow(Slot& slot) {
    if (slot.Level < SNMP_SEC_LEVEL_AUTHNOPRIV) {
        FinishDiscovery(slot, true, 0);
        return;
    }
    // Learn the agent's boots and time with one authenticated request of no bindings: its
    // notInTimeWindow report sets them, and a wrong user or pass phrase shows here.
    RegisterUser(slot);
    OvPduPtr probe = NewPdu(SNMP_MSG_GET);
    PreparePdu(slot, slot.Target, probe.get());
    SendProbe(slot, std::move(probe), 2);
}

void OvSNMPEngine::TimeWindowKnown(Slot& slot, int code) {
    const bool ready = code == 0 || code == OvCode::NotInTimeWindow;
    FinishDiscovery(slot, ready, code);
}

void OvSNMPEngine::FinishDiscovery(Slot& slot, bool ready, int code) {
    slot.State = ready ? Slot::Ready : Slot::Unknown;
    auto waiting = std::move(slot.Waiting);
    slot.Waiting.clear();
    for (Queued& q : waiting) {
        if (ready) {
            SendNow(slot, std::move(q));
            continue;
        }
        OvSNMPResult r;
        r.Code = code == OvCode::Timeout ? slot.TimeoutCode() : code;
        if (code == OvCode::Timeout && slot.SilentToEncryption())
            r.Hint = PrivacyHint(); // the look at the time window was encrypted too
        Complete(std::move(q.Done), q.Safe, std::move(r));
    }
}

void OvSNMPEngine::RecheckEngine(Slot& slot, std::optional<Queued> timedOut) {
    if (timedOut)
        slot.Rechecking.push_back(std::move(*timedOut));
    if (slot.Probing)
        return; // one look serves every request that timed out meanwhile
    slot.Probing = true;
    slot.Answered = false;
    slot.LastProbe.start();
    SendProbe(slot, NewProbe(), 3);
}

void OvSNMPEngine::EngineRechecked(Slot& slot, snmp_pdu* report) {
    slot.Probing = false;
    slot.AnsweredDiscovery = report && report->securityEngineIDLen > 0;
    auto rechecking = std::move(slot.Rechecking);
    slot.Rechecking.clear();
    netsnmp_session* session = snmp_sess_session(slot.Session);
    const bool changed = report && report->securityEngineIDLen > 0 &&
                         QByteArray(reinterpret_cast<const char*>(report->securityEngineID),
                                    static_cast<int>(report->securityEngineIDLen)) != engineIdOf(session);
    if (!changed) {
        // The same agent, or none: the failures stand.
        for (Queued& q : rechecking) {
            OvSNMPResult r;
            r.Code = q.FailedWith;
            Complete(std::move(q.Done), q.Safe, std::move(r));
        }
        return;
    }
    // A new engine (the agent was reinstalled or reset): learn it and send once more.
    setEngineId(session, report);
    slot.AnsweredRequest = false;
    for (Queued& q : rechecking)
        slot.Waiting.push_back(std::move(q));
    slot.State = Slot::Discovering;
    LearnTimeWindow(slot);
}

void OvSNMPEngine::RegisterUser(Slot& slot) {
    netsnmp_session* session = snmp_sess_session(slot.Session);
    if (session->securityEngineIDLen == 0)
        return;
    const QByteArray engine(reinterpret_cast<const char*>(session->securityEngineID),
                            static_cast<int>(session->securityEngineIDLen));
    const QByteArray key =
        engine + '\0' + QByteArray(session->securityName, static_cast<int>(session->securityNameLen));
    struct usmUser* user =
        usm_get_user(session->securityEngineID, session->securityEngineIDLen, session->securityName);
    auto known = RegisteredKeys.find(key);
    if (user && (known == RegisteredKeys.end() || known->second != slot.Credentials)) {
        // The library never replaces the keys of a known user: drop the old ones first.
        usm_remove_user(user);
        usm_free_user(user);
        user = nullptr;
    }
    if (!user) {
        session->flags &= ~SNMP_FLAGS_USER_CREATED; // else the library skips the creation
        usm_create_user_from_session(session);
    }
    RegisteredKeys[key] = slot.Credentials;
}

OvSNMPResult OvSNMPEngine::SendSync(const OvSNMPTarget& target, OvPduPtr pdu) {
    // The asynchronous send and a local wait: one path for discovery, retries and errors.
    auto answer = std::make_shared<std::optional<OvSNMPResult>>();
    Send(
        target, std::move(pdu), [answer](OvSNMPResult& r) { *answer = std::move(r); }, true);
    while (!answer->has_value()) {
        if (!WaitSafely()) {
            OvSNMPResult lost;
            lost.Code = OvCode::OperationFailed; // nothing outstanding, nothing answered
            *answer = std::move(lost);
        }
    }
    // Answers of asynchronous requests that arrived meanwhile run after this returns.
    ScheduleDelivery();
    RearmTimer();
    return std::move(**answer);
}

bool OvSNMPEngine::WaitSafely() {
    if (RunSafeSteps())
        return true;
    std::vector<int> sockets;
    bool outstanding = false;
    timeval soonest{1, 0};
    for (auto& slot : Slots) {
        const SessionWait w = waitOf(slot->Session);
        sockets.push_back(w.Socket);
        if (w.Outstanding) {
            outstanding = true;
            if (timercmp(&w.Next, &soonest, <))
                soonest = w.Next;
        }
    }
    if (!outstanding)
        return false;
    pollSockets(sockets, toMs(soonest));
    for (auto& slot : Slots)
        ReadSocket(*slot);
    RunSafeSteps();
    return true;
}

bool OvSNMPEngine::RunSafeSteps() {
    bool ran = false;
    for (auto it = Finished.begin(); it != Finished.end();) {
        if (!it->Safe) {
            ++it;
            continue;
        }
        auto run = std::move(it->Run);
        Finished.erase(it);
        run(); // may queue further steps: start again from the front
        ran = true;
        it = Finished.begin();
    }
    return ran;
}

int OvSNMPEngine::Callback(int operation, netsnmp_session* session, int, snmp_pdu* pdu, void* magic) {
    // The magic is a key, not a pointer: a Report comes as security error and again as
    // message, and with request id 0, so neither the id nor a freed record can be used.
    OvSNMPEngine* self = CurrentEngine;
    if (!self || operation == NETSNMP_CALLBACK_OP_RESEND)
        return 1;
    auto it = self->InFlight.find(reinterpret_cast<uintptr_t>(magic));
    if (it == self->InFlight.end())
        return 1; // already completed
    OvSNMPResult r;
    switch (operation) {
    case NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE:
        if (pdu->command == SNMP_MSG_REPORT) {
            r.Code = MapReport(pdu);
        } else {
            r.Code = MapAgentStatus(pdu->errstat);
            r.ErrorIndex = static_cast<int>(pdu->errindex);
        }
        r.Response.reset(snmp_clone_pdu(pdu));
        break;
    case NETSNMP_CALLBACK_OP_TIMED_OUT:
        r.Code = OvCode::Timeout;
        break;
    case NETSNMP_CALLBACK_OP_SEC_ERROR:
        if (pdu && pdu->command == SNMP_MSG_REPORT) {
            r.Code = MapReport(pdu);
            r.Response.reset(snmp_clone_pdu(pdu));
        } else {
            r.Code = MapLibraryStatus(session->s_snmp_errno);
        }
        if (r.Code == 0)
            r.Code = OvCode::OperationFailed;
        break;
    case NETSNMP_CALLBACK_OP_SEND_FAILED:
        r.Code = SendFailure(*it->second.Owner);
        break;
    case NETSNMP_CALLBACK_OP_DISCONNECT:
        r.Code = OvCode::TransportFailed;
        break;
    default:
        return 1;
    }
    Pending pending = std::move(it->second);
    self->InFlight.erase(it);
    Slot* slot = pending.Owner;
    if (operation == NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE && pdu->command != SNMP_MSG_REPORT) {
        slot->Answered = slot->AnsweredRequest = true;
        slot->WrongDigest = false;
    }
    if (pending.ProbeStep == 0 && r.Code == OvCode::Timeout && slot->SilentToEncryption())
        r.Hint = PrivacyHint();
    if (pending.ProbeStep == 0 && r.Code == OvCode::Timeout)
        r.Code = slot->TimeoutCode();
    auto result = std::make_shared<OvSNMPResult>(std::move(r));
    const bool timedOut = pending.ProbeStep == 0 && result->Code == OvCode::Timeout && pending.Retry;
    // An agent that says it does not know the engine the request was sent to has a new one.
    const bool engineUnknown =
        pending.ProbeStep == 0 && result->Code == OvCode::UnknownEngineId && pending.Retry;
    if ((timedOut && slot->Answered) || engineUnknown) {
        // Hold the request while the agent's engine ID is looked at.
        Queued again{std::move(pending.Retry), std::move(pending.Done), pending.Safe, false, result->Code};
        auto shared = std::make_shared<Queued>(std::move(again));
        self->Finished.push_back(
            Step{[self, slot, shared] { self->RecheckEngine(*slot, std::move(*shared)); }, true, slot});
    } else if (pending.ProbeStep == 0) {
        if (timedOut && slot->RecheckDue())
            // Still silent: the time-out stands, and a look in the background lets the next
            // request find a device that came back with a new engine ID.
            self->Finished.push_back(
                Step{[self, slot] { self->RecheckEngine(*slot, std::nullopt); }, true, slot});
        self->Finished.push_back(
            Step{[done = std::move(pending.Done), result]() mutable { done(*result); }, pending.Safe});
    } else {
        const int step = pending.ProbeStep;
        // Discovery goes on outside the library's call stack.
        self->Finished.push_back(
            Step{[self, slot, step, result] {
                     if (step == 1)
                         self->EngineIdFound(*slot, result->Code == OvCode::Timeout ? OvCode::Timeout : 0,
                                             result->Response.get());
                     else if (step == 2)
                         self->TimeWindowKnown(*slot, result->Code);
                     else
                         self->EngineRechecked(*slot, result->Response.get());
                 },
                 true, slot});
    }
    return 1;
}

void OvSNMPEngine::ReadSocket(Slot& slot) {
    const SessionWait w = waitOf(slot.Session);
    pollfd fd{w.Socket, POLLIN, 0};
    // The library's sockets block: read only what is there.
    if (w.Socket >= 0 && ::poll(&fd, 1, 0) > 0 && (fd.revents & POLLIN)) {
        netsnmp_large_fd_set fds;
        netsnmp_large_fd_set_init(&fds, FD_SETSIZE);
        netsnmp_large_fd_setfd(w.Socket, &fds);
        const u_int wrongDigests = snmp_get_statistic(STAT_USMSTATSWRONGDIGESTS);
        snmp_sess_read2(slot.Session, &fds);
        if (slot.V3 && snmp_get_statistic(STAT_USMSTATSWRONGDIGESTS) != wrongDigests)
            slot.WrongDigest = true; // dropped by the library: no callback tells it
        netsnmp_large_fd_set_cleanup(&fds);
    }
    snmp_sess_timeout(slot.Session);
}

void OvSNMPEngine::ProcessPendingEvents() {
    if (!HasOutstanding())
        return; // nothing outstanding: the periodic tick costs nothing
    for (auto& slot : Slots)
        ReadSocket(*slot);
    DeliverFinished();
    RearmTimer();
}

void OvSNMPEngine::WaitForEvents(int ms) {
    std::vector<int> sockets;
    for (auto& slot : Slots)
        sockets.push_back(waitOf(slot->Session).Socket);
    if (!sockets.empty())
        pollSockets(sockets, ms);
    ProcessPendingEvents();
}

void OvSNMPEngine::ScheduleDelivery() {
    if (DeliveryScheduled || Finished.empty())
        return;
    DeliveryScheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            DeliveryScheduled = false;
            DeliverFinished();
            RearmTimer();
        },
        Qt::QueuedConnection);
}

void OvSNMPEngine::DeliverFinished() {
    // One at a time: a completion may send, read or wait for further answers.
    while (!Finished.empty()) {
        auto next = std::move(Finished.front().Run);
        Finished.pop_front();
        next();
    }
}

void OvSNMPEngine::RearmTimer() {
    long soonestMs = -1;
    for (auto& slot : Slots) {
        const SessionWait w = waitOf(slot->Session);
        if (!w.Outstanding)
            continue;
        const long ms = toMs(w.Next);
        if (soonestMs < 0 || ms < soonestMs)
            soonestMs = ms;
    }
    if (soonestMs < 0)
        TimeoutTimer->stop();
    else
        TimeoutTimer->start(static_cast<int>(soonestMs));
}

void OvSNMPEngine::SetTiming(int timeoutMs, int retries) {
    SessionTimeoutMs = timeoutMs;
    SessionRetries = retries;
}

void OvSNMPEngine::Release(const OvSNMPTarget& target) {
    bool any = false;
    for (auto& slot : Slots)
        if (slot->Target.Device.Address == target.Device.Address &&
            slot->Target.Device.Port == target.Device.Port) {
            slot->Released = true;
            any = true;
        }
    if (any)
        ScheduleCloseReleased();
}

bool OvSNMPEngine::Idle(const Slot& slot) const {
    if (slot.Probing || !slot.Waiting.empty() || !slot.Rechecking.empty())
        return false;
    for (const auto& [key, pending] : InFlight)
        if (pending.Owner == &slot)
            return false;
    for (const Step& step : Finished)
        if (step.About == &slot)
            return false;
    return true;
}

void OvSNMPEngine::ScheduleCloseReleased() {
    if (CloseScheduled)
        return;
    CloseScheduled = true;
    // From the event loop: never inside the library's callback or a socket's own signal.
    QMetaObject::invokeMethod(
        this, [this] { CloseReleased(); }, Qt::QueuedConnection);
}

void OvSNMPEngine::CloseReleased() {
    CloseScheduled = false;
    bool waiting = false;
    for (auto it = Slots.begin(); it != Slots.end();) {
        if (!(*it)->Released) {
            ++it;
        } else if (Idle(**it)) {
            it = Slots.erase(it); // the notifier goes before the session is closed
        } else {
            waiting = true;
            ++it;
        }
    }
    if (waiting) // looked at again once the outstanding work has been handled
        QTimer::singleShot(50, this, [this] { ScheduleCloseReleased(); });
}
