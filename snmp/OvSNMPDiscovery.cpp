// SNMPv3 engine discovery of a target session: the agent's engine ID, then its boots and
// time, and a look again when a known agent falls silent or says the engine is unknown.
#include "snmp/OvSNMPEngine.h"

#include "errors/OvErrors.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <cstring>

namespace {

QByteArray engineIdOf(const netsnmp_session* session) {
    return QByteArray(reinterpret_cast<const char*>(session->securityEngineID),
                      static_cast<int>(session->securityEngineIDLen));
}

void setEngineId(netsnmp_session* session, const snmp_pdu* report) {
    free(session->securityEngineID); // what SNMP_FREE does, without its C cast
    session->securityEngineID = static_cast<u_char*>(malloc(report->securityEngineIDLen + 1));
    memcpy(session->securityEngineID, report->securityEngineID, report->securityEngineIDLen);
    session->securityEngineIDLen = report->securityEngineIDLen;
}

} // namespace

OvPduPtr OvSNMPEngine::NewProbe() {
    OvEnsureProbeUser();
    OvPduPtr probe = NewPdu(SNMP_MSG_GET);
    probe->version = SNMP_VERSION_3;
    probe->securityName = strdup("");
    probe->securityNameLen = 0;
    probe->securityLevel = SNMP_SEC_LEVEL_NOAUTH;
    probe->securityModel = SNMP_SEC_MODEL_USM;
    return probe;
}

void OvSNMPEngine::StartDiscovery(OvTargetSession& session) {
    session.State = OvTargetSession::Discovering;
    SendProbe(session, NewProbe(), 1);
}

void OvSNMPEngine::SendProbe(OvTargetSession& session, OvPduPtr probe, int step) {
    const uintptr_t key = NextKey++;
    InFlight[key] = OvPendingRequest{&session, nullptr, step, true, nullptr};
    snmp_pdu* raw = probe.release();
    if (snmp_sess_async_send(session.Session, raw, &OvSNMPEngine::Callback, reinterpret_cast<void*>(key)) ==
        0) {
        snmp_free_pdu(raw);
        if (InFlight.erase(key) == 0)
            return; // the library's callback has reported the failure already
        if (step == 3)
            EngineRechecked(session, nullptr);
        else
            FinishDiscovery(session, false, SendFailure(session));
    }
}

void OvSNMPEngine::EngineIdFound(OvTargetSession& session, int code, snmp_pdu* report) {
    netsnmp_session* library = snmp_sess_session(session.Session);
    if (report && report->securityEngineIDLen > 0 && library->securityEngineIDLen == 0)
        setEngineId(library, report);
    session.AnsweredDiscovery = report && report->securityEngineIDLen > 0;
    if (library->securityEngineIDLen == 0) {
        FinishDiscovery(session, false, code == 0 ? OvCode::UnknownEngineId : code);
        return;
    }
    LearnTimeWindow(session);
}

void OvSNMPEngine::LearnTimeWindow(OvTargetSession& session) {
    if (session.Level < SNMP_SEC_LEVEL_AUTHNOPRIV) {
        FinishDiscovery(session, true, 0);
        return;
    }
    if (KeysInUseByOther(session)) {
        AwaitKeys(session, [this, &session] { LearnTimeWindow(session); });
        return;
    }
    // Learn the agent's boots and time with one authenticated request of no bindings: its
    // notInTimeWindow report sets them, and a wrong user or pass phrase shows here.
    RegisterUser(session);
    OvPduPtr probe = NewPdu(SNMP_MSG_GET);
    PreparePdu(session, session.Target, probe.get());
    SendProbe(session, std::move(probe), 2);
}

void OvSNMPEngine::TimeWindowKnown(OvTargetSession& session, int code) {
    const bool ready = code == 0 || code == OvCode::NotInTimeWindow;
    FinishDiscovery(session, ready, code);
}

void OvSNMPEngine::FinishDiscovery(OvTargetSession& session, bool ready, int code) {
    session.State = ready ? OvTargetSession::Ready : OvTargetSession::Unknown;
    auto waiting = std::move(session.Waiting);
    session.Waiting.clear();
    for (OvQueuedRequest& q : waiting) {
        if (ready) {
            SendNow(session, std::move(q));
            continue;
        }
        OvSNMPResult r;
        r.Code = code == OvCode::Timeout ? session.TimeoutCode() : code;
        if (code == OvCode::Timeout && session.SilentToEncryption())
            r.Hint = PrivacyHint(); // the look at the time window was encrypted too
        Complete(std::move(q.Done), q.Safe, std::move(r));
    }
}

void OvSNMPEngine::RecheckEngine(OvTargetSession& session, std::optional<OvQueuedRequest> timedOut) {
    if (timedOut)
        session.Rechecking.push_back(std::move(*timedOut));
    if (session.Probing)
        return; // one look serves every request that timed out meanwhile
    session.Probing = true;
    session.Answered = false;
    session.LastProbe.start();
    SendProbe(session, NewProbe(), 3);
}

void OvSNMPEngine::EngineRechecked(OvTargetSession& session, snmp_pdu* report) {
    session.Probing = false;
    session.AnsweredDiscovery = report && report->securityEngineIDLen > 0;
    auto rechecking = std::move(session.Rechecking);
    session.Rechecking.clear();
    netsnmp_session* library = snmp_sess_session(session.Session);
    const bool changed = report && report->securityEngineIDLen > 0 &&
                         QByteArray(reinterpret_cast<const char*>(report->securityEngineID),
                                    static_cast<int>(report->securityEngineIDLen)) != engineIdOf(library);
    if (!changed) {
        // The same agent, or none: the failures stand.
        for (OvQueuedRequest& q : rechecking) {
            OvSNMPResult r;
            r.Code = q.FailedWith;
            Complete(std::move(q.Done), q.Safe, std::move(r));
        }
        return;
    }
    // A new engine (the agent was reinstalled or reset): learn it and send once more.
    setEngineId(library, report);
    session.AnsweredRequest = false;
    for (OvQueuedRequest& q : rechecking)
        session.Waiting.push_back(std::move(q));
    session.State = OvTargetSession::Discovering;
    LearnTimeWindow(session);
}
