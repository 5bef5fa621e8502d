#include "snmp/OvSNMPStatus.h"

#include "errors/OvErrors.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

namespace {

struct StatusCode {
    int status;
    int code;
};

// net-snmp statuses and the framework codes they are shown as.
constexpr StatusCode kLibraryStatuses[] = {
    {SNMPERR_SUCCESS, OvCode::Ok},
    {SNMPERR_GENERR, OvCode::OperationFailed},
    {SNMPERR_BAD_ADDRESS, OvCode::InvalidAddress},
    {SNMPERR_BAD_SENDTO, OvCode::TransportFailed},
    {SNMPERR_BAD_RECVFROM, OvCode::TransportFailed},
    {SNMPERR_NO_SOCKET, OvCode::TransportFailed},
    {SNMPERR_BAD_LOCPORT, OvCode::TransportFailed},
    {SNMPERR_BAD_PARSE, OvCode::ParseError},
    {SNMPERR_ASN_PARSE_ERR, OvCode::ParseError},
    {SNMPERR_BAD_VERSION, OvCode::InvalidMessage},
    {SNMPERR_BAD_CONTEXT, OvCode::UnknownContext},
    {SNMPERR_BAD_COMMUNITY, OvCode::CommunityFormat},
    {SNMPERR_ABORT, OvCode::BlockedModeShutdown},
    {SNMPERR_TIMEOUT, OvCode::Timeout},
    {SNMPERR_BAD_ENG_ID, OvCode::InvalidEngineId},
    {SNMPERR_BAD_SEC_NAME, OvCode::UnknownSecurityName},
    {SNMPERR_BAD_SEC_LEVEL, OvCode::UnsupportedSecurityLevel},
    {SNMPERR_UNKNOWN_SEC_MODEL, OvCode::UnsupportedSecurityModel},
    {SNMPERR_INVALID_MSG, OvCode::InvalidMessage},
    {SNMPERR_UNKNOWN_ENG_ID, OvCode::UnknownEngineId},
    {SNMPERR_UNKNOWN_USER_NAME, OvCode::UnknownSecurityName},
    {SNMPERR_UNSUPPORTED_SEC_LEVEL, OvCode::UnsupportedSecurityLevel},
    {SNMPERR_AUTHENTICATION_FAILURE, OvCode::AuthenticationFailure},
    {SNMPERR_NOT_IN_TIME_WINDOW, OvCode::NotInTimeWindow},
    {SNMPERR_DECRYPTION_ERR, OvCode::DecryptionError},
    {SNMPERR_USM_GENERICERROR, OvCode::UsmGenericError},
    {SNMPERR_USM_UNKNOWNSECURITYNAME, OvCode::UnknownSecurityName},
    {SNMPERR_USM_UNSUPPORTEDSECURITYLEVEL, OvCode::UnsupportedSecurityLevel},
    {SNMPERR_USM_ENCRYPTIONERROR, OvCode::EncryptionError},
    {SNMPERR_USM_AUTHENTICATIONFAILURE, OvCode::AuthenticationFailure},
    {SNMPERR_USM_PARSEERROR, OvCode::UsmParseError},
    {SNMPERR_USM_UNKNOWNENGINEID, OvCode::UnknownEngineId},
    {SNMPERR_USM_NOTINTIMEWINDOW, OvCode::NotInTimeWindow},
    {SNMPERR_USM_DECRYPTIONERROR, OvCode::DecryptionError},
};

} // namespace

int OvLibraryStatusCode(int snmpError) {
    for (const StatusCode& s : kLibraryStatuses)
        if (s.status == snmpError)
            return s.code;
    return OvCode::UnknownErrorCode;
}

int OvAgentStatusCode(long errorStatus) {
    if (errorStatus == 0)
        return OvCode::Ok;
    // Agent error-status n (1..18) is code -100 - n.
    if (errorStatus >= 1 && errorStatus <= 18)
        return static_cast<int>(-100 - errorStatus);
    return OvCode::UnknownErrorCode;
}

int OvReportCode(snmp_pdu* report) {
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
    return OvLibraryStatusCode(snmpv3_get_report_type(report));
}
