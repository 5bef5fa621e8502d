#include "snmp/OvTargetSession.h"

#include "errors/OvErrors.h"
#include "snmp/OvSNMPStatus.h"
#include "snmp/OvSNMPUser.h"
#include "values/OvSyntaxText.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <QSocketNotifier>
#include <cstring>

namespace {

// Four runs of digits joined by dots, whatever their values.
bool isDottedQuad(QStringView text) {
    int dots = 0;
    bool digits = false;
    for (const QChar c : text) {
        if (c == u'.') {
            if (!digits || ++dots > 3)
                return false;
            digits = false;
        } else if (c >= u'0' && c <= u'9') {
            digits = true;
        } else {
            return false;
        }
    }
    return dots == 3 && digits;
}

// The peer name the library opens for an agent's address and port. Four dotted numbers
// are an IPv4 address: one that is not is refused here rather than looked up as a name.
QByteArray peerName(const OvSNMPDevice& device) {
    const QString address = device.Address.trimmed();
    QByteArray octets;
    if (address.isEmpty() || (isDottedQuad(address) && !OvParseIPv4(address, octets)))
        throw OvException(OvCode::InvalidAddress);
    const QByteArray port = QByteArray::number(device.Port);
    if (address.contains(QLatin1Char(':')))
        return QByteArray("udp6:[") + address.toUtf8() + "]:" + port;
    return QByteArray("udp:") + address.toUtf8() + ':' + port;
}

// The pass phrases and protocols an SNMPv3 user's keys are made from.
QByteArray credentialsOf(const OvSNMPSecurity& sec) {
    return QByteArray::number(sec.AuthProtocol) + '\0' + sec.AuthPassword.toUtf8() + '\0' +
           QByteArray::number(sec.PrivProtocol) + '\0' + sec.PrivPassword.toUtf8();
}

// Opens the library's session to target; raises what the library refuses.
void* openLibrarySession(const OvSNMPTarget& target, int timeoutMs, int retries) {
    const OvSNMPSecurity& sec = target.Security;
    const bool v3 = OvLibraryVersion(sec.Version) == SNMP_VERSION_3;
    QByteArray peer = peerName(target.Device);
    const QByteArray community = sec.ReadCommunity.toUtf8();
    const QByteArray securityName = sec.SecurityName.toUtf8();

    netsnmp_session s;
    snmp_sess_init(&s);
    s.peername = peer.data();
    s.version = OvLibraryVersion(sec.Version);
    s.retries = retries;
    s.timeout = timeoutMs * 1000L;
    s.community = reinterpret_cast<u_char*>(const_cast<char*>(community.constData()));
    s.community_len = static_cast<size_t>(community.size());
    if (v3) {
        OvFillUser(sec, securityName, s);
        s.flags |= SNMP_FLAGS_DONT_PROBE;
    }
    void* handle = snmp_sess_open(&s);
    if (!handle) {
        const int error = s.s_snmp_errno ? s.s_snmp_errno : snmp_errno;
        const int code = OvLibraryStatusCode(error);
        throw OvException(code == OvCode::UnknownErrorCode || error == 0 ? OvCode::InvalidAddress : code);
    }
    if (v3) // opening clears it; the engine ID is found without blocking instead
        snmp_sess_session(handle)->flags |= SNMP_FLAGS_DONT_PROBE;
    return handle;
}

} // namespace

int OvLibraryVersion(quint8 version) {
    if (version == 3)
        return SNMP_VERSION_3;
    if (version == 0)
        return SNMP_VERSION_1;
    return SNMP_VERSION_2c;
}

OvSessionHandle::~OvSessionHandle() {
    Reset(nullptr);
}

void OvSessionHandle::Reset(void* handle) {
    if (Handle)
        snmp_sess_close(Handle);
    Handle = handle;
}

std::unique_ptr<OvTargetSession> OvTargetSession::Open(const OvSNMPTarget& target, int timeoutMs,
                                                       int retries) {
    const OvSNMPSecurity& sec = target.Security;
    auto session = std::make_unique<OvTargetSession>();
    session->V3 = OvLibraryVersion(sec.Version) == SNMP_VERSION_3;
    if (session->V3) {
        session->Credentials = credentialsOf(sec);
        session->Agent = target.Device.Address.toUtf8() + ':' + QByteArray::number(target.Device.Port);
    }
    session->Target = target;
    session->Level = sec.SecurityLevel;
    session->Session.Reset(openLibrarySession(target, timeoutMs, retries));
    return session;
}

OvTargetSession::~OvTargetSession() = default;

bool OvTargetSession::Serves(const OvSNMPTarget& target) const {
    const OvSNMPSecurity& x = Target.Security;
    const OvSNMPSecurity& y = target.Security;
    const bool v3 = OvLibraryVersion(x.Version) == SNMP_VERSION_3;
    return Target.Device.Port == target.Device.Port &&
           OvLibraryVersion(x.Version) == OvLibraryVersion(y.Version) && x.SecurityLevel == y.SecurityLevel &&
           Target.Device.Address == target.Device.Address && x.SecurityName == y.SecurityName &&
           (!v3 || (x.AuthProtocol == y.AuthProtocol && x.PrivProtocol == y.PrivProtocol &&
                    x.AuthPassword == y.AuthPassword && x.PrivPassword == y.PrivPassword));
}

int OvTargetSession::Socket() const {
    netsnmp_transport* transport = snmp_sess_transport(Session);
    return transport ? transport->sock : -1;
}

bool OvTargetSession::SharesUserWith(const OvTargetSession& other) const {
    const netsnmp_session* a = snmp_sess_session(Session);
    const netsnmp_session* b = snmp_sess_session(other.Session);
    return a->securityEngineIDLen != 0 && a->securityEngineIDLen == b->securityEngineIDLen &&
           std::memcmp(a->securityEngineID, b->securityEngineID, a->securityEngineIDLen) == 0 &&
           a->securityNameLen == b->securityNameLen &&
           std::memcmp(a->securityName, b->securityName, a->securityNameLen) == 0;
}

bool OvTargetSession::SilentToEncryption() const {
    return V3 && Level == SNMP_SEC_LEVEL_AUTHPRIV && AnsweredDiscovery && !AnsweredRequest && !WrongDigest;
}

int OvTargetSession::TimeoutCode() const {
    return WrongDigest ? OvCode::AuthenticationFailure : OvCode::Timeout;
}

bool OvTargetSession::RecheckDue() const {
    return !Probing && (!LastProbe.isValid() || LastProbe.elapsed() >= RecheckIntervalMs);
}
