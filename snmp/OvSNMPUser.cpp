#include "snmp/OvSNMPUser.h"

#include "errors/OvErrors.h"

// net-snmp's own headers need its configuration first.
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#include <net-snmp/library/keytools.h>
#include <net-snmp/library/lcd_time.h>
#include <net-snmp/library/snmpusm.h>
#include <net-snmp/library/transform_oids.h>

#include <cstring>
#include <iterator>

namespace {

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

} // namespace

void OvCheckUser(const OvSNMPSecurity& sec) {
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

void OvFillUser(const OvSNMPSecurity& sec, const QByteArray& securityName, snmp_session& s) {
    OvCheckUser(sec);
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

// The empty user the engine-ID probe is sent as.
void OvEnsureProbeUser() {
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

void OvUserRegistry::Register(snmp_session* library, const QByteArray& credentials, const QByteArray& agent) {
    if (library->securityEngineIDLen == 0)
        return;
    const QByteArray engine(reinterpret_cast<const char*>(library->securityEngineID),
                            static_cast<int>(library->securityEngineIDLen));
    const QByteArray key =
        engine + '\0' + QByteArray(library->securityName, static_cast<int>(library->securityNameLen));
    struct usmUser* user =
        usm_get_user(library->securityEngineID, library->securityEngineIDLen, library->securityName);
    auto known = Holders.find(key);
    const bool otherKeys = known == Holders.end() || known->second.Credentials != credentials;
    const bool otherAgent = known != Holders.end() && known->second.Agent != agent;
    if (user && otherKeys) {
        // The library never replaces the keys of a known user: drop the old ones first.
        usm_remove_user(user);
        usm_free_user(user);
        user = nullptr;
    }
    if (otherAgent)
        SaveTimeWindow(engine, key + '\0' + known->second.Agent);
    if (!user) {
        library->flags &= ~SNMP_FLAGS_USER_CREATED; // else the library skips the creation
        usm_create_user_from_session(library);
    }
    if (otherAgent)
        RestoreTimeWindow(engine, key + '\0' + agent);
    Holders[key] = Holder{credentials, agent};
}

void OvUserRegistry::SaveTimeWindow(const QByteArray& engine, const QByteArray& owner) {
    u_int boots = 0, time = 0;
    if (get_enginetime(reinterpret_cast<const u_char*>(engine.constData()), static_cast<u_int>(engine.size()),
                       &boots, &time, FALSE) != SNMPERR_SUCCESS)
        return;
    TimeWindow& w = TimeWindows[owner];
    w.Boots = boots;
    w.Time = time;
    w.Since.start();
}

void OvUserRegistry::RestoreTimeWindow(const QByteArray& engine, const QByteArray& owner) {
    const auto* id = reinterpret_cast<const u_char*>(engine.constData());
    const auto length = static_cast<u_int>(engine.size());
    auto saved = TimeWindows.find(owner);
    if (saved == TimeWindows.end()) {
        // A first turn learns its window from its own agent, as a new engine does.
        set_enginetime(id, length, 0, 0, TRUE);
        return;
    }
    const TimeWindow& w = saved->second;
    set_enginetime(id, length, w.Boots, static_cast<u_int>(w.Time + w.Since.elapsed() / 1000), TRUE);
}
