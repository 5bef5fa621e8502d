#include "snmp/OvSNMPEngine.h"

#include "errors/OvErrors.h"

// net-snmp's own headers need its configuration first.
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <QRegularExpression>
#include <QSocketNotifier>
#include <QTimer>

#include <arpa/inet.h>
#include <cstring>
#include <netinet/in.h>
#include <optional>
#include <sys/socket.h>
#include <unistd.h>

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

} // namespace

QString OvSNMPEngine::PrivacyHint() {
    return QStringLiteral(
        "The device answered but not to the encrypted request: check the privacy pass phrase and protocol.");
}

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
    Sessions.clear(); // each session's notifier goes before its session is closed
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

OvTargetSession& OvSNMPEngine::SessionFor(const OvSNMPTarget& target) {
    // Looked up from the target's settings on every request: a changed target takes
    // effect with its next request.
    if (OvLibraryVersion(target.Security.Version) == SNMP_VERSION_3)
        OvCheckUser(target.Security);
    for (auto& session : Sessions)
        if (session->Serves(target)) {
            session->Released = false;
            return *session;
        }
    return Watch(OvTargetSession::Open(target, SessionTimeoutMs, SessionRetries));
}

OvTargetSession& OvSNMPEngine::Watch(std::unique_ptr<OvTargetSession> session) {
    const int socket = session->Socket();
    if (socket >= 0) {
        // Answers are read as soon as they arrive.
        session->Notifier = std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Read);
        OvTargetSession* raw = session.get();
        connect(session->Notifier.get(), &QSocketNotifier::activated, this, [this, raw] {
            ReadSocket(*raw, true);
            DeliverFinished();
            RearmTimer();
        });
    }
    Sessions.push_back(std::move(session));
    return *Sessions.back();
}

void OvSNMPEngine::PreparePdu(const OvTargetSession& session, const OvSNMPTarget& target,
                              snmp_pdu* pdu) const {
    const OvSNMPSecurity& sec = target.Security;
    pdu->version = OvLibraryVersion(sec.Version);
    if (!session.V3) {
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
    // Without a user the agent's refusal names the pass phrases, which are not at fault.
    if (name.isEmpty())
        throw OvException(OvCode::EmptyUserName);
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

void OvSNMPEngine::SendAsync(const OvSNMPTarget& target, OvPduPtr pdu, Completion done,
                             std::shared_ptr<const bool> safeWhen) {
    Send(target, std::move(pdu), std::move(done), OvSafeToRun(std::move(safeWhen)));
}

void OvSNMPEngine::Send(const OvSNMPTarget& target, OvPduPtr pdu, Completion done, OvSafeToRun safe) {
    OvTargetSession& session = SessionFor(target);
    PreparePdu(session, target, pdu.get());
    Q_EMIT RequestSent();
    OvQueuedRequest q{std::move(pdu), std::move(done), safe, session.V3};
    if (session.V3 && session.State != OvTargetSession::Ready) {
        session.Waiting.push_back(std::move(q));
        if (session.State == OvTargetSession::Unknown)
            StartDiscovery(session);
        RearmTimer();
        return;
    }
    SendNow(session, std::move(q));
    RearmTimer();
}

void OvSNMPEngine::Complete(Completion done, OvSafeToRun safe, OvSNMPResult result) {
    auto shared = std::make_shared<OvSNMPResult>(std::move(result));
    Finished.push_back(Step{[d = std::move(done), shared]() mutable { d(*shared); }, safe});
    ScheduleDelivery();
}

void OvSNMPEngine::SendNow(OvTargetSession& session, OvQueuedRequest q) {
    if (session.V3 && KeysInUseByOther(session)) {
        auto held = std::make_shared<OvQueuedRequest>(std::move(q));
        AwaitKeys(session, [this, &session, held] { SendNow(session, std::move(*held)); });
        return;
    }
    if (session.V3)
        RegisterUser(session);
    OvPendingRequest pending{&session, std::move(q.Done), 0, q.Safe, nullptr};
    if (q.MayRetry)
        pending.Retry.reset(snmp_clone_pdu(q.Pdu.get()));
    snmp_pdu* raw = q.Pdu.release();
    const uintptr_t key = NextKey++;
    InFlight[key] = std::move(pending);
    const int id =
        snmp_sess_async_send(session.Session, raw, &OvSNMPEngine::Callback, reinterpret_cast<void*>(key));
    if (id == 0) {
        snmp_free_pdu(raw); // a failed send leaves the request with its sender
        auto it = InFlight.find(key);
        if (it == InFlight.end())
            return; // the library's callback has reported the failure already
        OvPendingRequest failed = std::move(it->second);
        InFlight.erase(it);
        OvSNMPResult r;
        r.Code = SendFailure(session);
        Complete(std::move(failed.Done), failed.Safe, std::move(r));
    }
}

int OvSNMPEngine::SendFailure(const OvTargetSession& session) {
    const int code = OvLibraryStatusCode(snmp_sess_session(session.Session)->s_snmp_errno);
    return code == 0 || code == OvCode::UnknownErrorCode ? OvCode::TransportFailed : code;
}

void OvSNMPEngine::RegisterUser(OvTargetSession& session) {
    Users.Register(snmp_sess_session(session.Session), session.Credentials, session.Agent);
}

void OvSNMPEngine::AwaitKeys(OvTargetSession& session, std::function<void()> resume) {
    AwaitingKeys.emplace_back(&session, std::move(resume));
}

bool OvSNMPEngine::KeysInUseByOther(const OvTargetSession& session) const {
    for (const auto& [key, pending] : InFlight) {
        const bool keyed = pending.ProbeStep == 0 || pending.ProbeStep == 2; // the others go as nobody
        if (keyed && pending.Owner != &session && pending.Owner->V3 && pending.Owner->SharesUserWith(session))
            return true;
    }
    return false;
}

void OvSNMPEngine::ResumeAwaitingKeys() {
    // Each goes on in turn, or waits again behind what the ones before it sent.
    auto waiting = std::move(AwaitingKeys);
    AwaitingKeys.clear();
    for (auto& [session, resume] : waiting)
        resume();
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

void OvSNMPEngine::SetTiming(int timeoutMs, int retries) {
    SessionTimeoutMs = timeoutMs;
    SessionRetries = retries;
}

void OvSNMPEngine::Release(const OvSNMPTarget& target) {
    bool any = false;
    for (auto& session : Sessions)
        if (session->Target.Device.Address == target.Device.Address &&
            session->Target.Device.Port == target.Device.Port) {
            session->Released = true;
            any = true;
        }
    if (any)
        ScheduleCloseReleased();
}

bool OvSNMPEngine::Idle(const OvTargetSession& session) const {
    if (session.Probing || !session.Waiting.empty() || !session.Rechecking.empty())
        return false;
    for (const auto& awaiting : AwaitingKeys)
        if (awaiting.first == &session)
            return false;
    for (const auto& [key, pending] : InFlight)
        if (pending.Owner == &session)
            return false;
    for (const Step& step : Finished)
        if (step.About == &session)
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
    for (auto it = Sessions.begin(); it != Sessions.end();) {
        if (!(*it)->Released) {
            ++it;
        } else if (Idle(**it)) {
            it = Sessions.erase(it); // the notifier goes before the session is closed
        } else {
            waiting = true;
            ++it;
        }
    }
    if (waiting) // looked at again once the outstanding work has been handled
        QTimer::singleShot(50, this, [this] { ScheduleCloseReleased(); });
}
