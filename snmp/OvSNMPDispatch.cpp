// The engine's event handling: reading answers as they arrive, retransmissions and
// time-outs, the library's callback, and running completions on the GUI thread.
#include "snmp/OvSNMPEngine.h"

#include "errors/OvErrors.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#include <net-snmp/library/large_fd_set.h>

#include <QTimer>

#include <poll.h>

namespace {

// What one session waits for: its socket and, with requests outstanding, the time to the
// next retransmission or time-out. net-snmp's large fd sets and poll() below have no
// FD_SETSIZE limit, so sockets numbered past 1,023 work as well as any.
struct SessionWait {
    int Socket = -1;
    bool Outstanding = false;
    timeval Next{0, 0};
};

// An answer's bindings, moved into a PDU of ours: the library frees its own PDU when the
// callback returns, and readers of an answer look at nothing but its bindings. Cheaper than
// a copy of the whole PDU on every answer.
OvPduPtr takeBindings(netsnmp_pdu* pdu) {
    OvPduPtr own(snmp_pdu_create(pdu->command));
    own->errstat = pdu->errstat;
    own->errindex = pdu->errindex;
    own->variables = pdu->variables;
    pdu->variables = nullptr;
    return own;
}

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

bool OvSNMPEngine::WaitSafely() {
    if (RunSafeSteps())
        return true;
    std::vector<int> sockets;
    bool outstanding = false;
    timeval soonest{1, 0};
    for (auto& session : Sessions) {
        const SessionWait w = waitOf(session->Session);
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
    for (auto& session : Sessions)
        ReadSocket(*session);
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

int OvSNMPEngine::Callback(int operation, netsnmp_session* library, int, snmp_pdu* pdu, void* magic) {
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
            r.Code = OvReportCode(pdu);
            r.Response.reset(snmp_clone_pdu(pdu));
        } else {
            r.Code = OvAgentStatusCode(pdu->errstat);
            r.ErrorIndex = static_cast<int>(pdu->errindex);
            r.Response = takeBindings(pdu);
        }
        break;
    case NETSNMP_CALLBACK_OP_TIMED_OUT:
        r.Code = OvCode::Timeout;
        break;
    case NETSNMP_CALLBACK_OP_SEC_ERROR:
        if (pdu && pdu->command == SNMP_MSG_REPORT) {
            r.Code = OvReportCode(pdu);
            r.Response.reset(snmp_clone_pdu(pdu));
        } else {
            r.Code = OvLibraryStatusCode(library->s_snmp_errno);
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
    OvPendingRequest pending = std::move(it->second);
    self->InFlight.erase(it);
    if (!self->AwaitingKeys.empty())
        self->Finished.push_back(Step{[self] { self->ResumeAwaitingKeys(); }, true});
    OvTargetSession* session = pending.Owner;
    if (operation == NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE && pdu->command != SNMP_MSG_REPORT) {
        session->Answered = session->AnsweredRequest = true;
        session->WrongDigest = false;
    }
    if (pending.ProbeStep == 0 && r.Code == OvCode::Timeout && session->SilentToEncryption())
        r.Hint = PrivacyHint();
    if (pending.ProbeStep == 0 && r.Code == OvCode::Timeout)
        r.Code = session->TimeoutCode();
    auto result = std::make_shared<OvSNMPResult>(std::move(r));
    const bool timedOut = pending.ProbeStep == 0 && result->Code == OvCode::Timeout && pending.Retry;
    // An agent that says it does not know the engine the request was sent to has a new one.
    const bool engineUnknown =
        pending.ProbeStep == 0 && result->Code == OvCode::UnknownEngineId && pending.Retry;
    if ((timedOut && session->Answered) || engineUnknown) {
        // Hold the request while the agent's engine ID is looked at.
        OvQueuedRequest again{std::move(pending.Retry), std::move(pending.Done), pending.Safe, false,
                              result->Code};
        auto shared = std::make_shared<OvQueuedRequest>(std::move(again));
        self->Finished.push_back(Step{
            [self, session, shared] { self->RecheckEngine(*session, std::move(*shared)); }, true, session});
    } else if (pending.ProbeStep == 0) {
        if (timedOut && session->RecheckDue())
            // Still silent: the time-out stands, and a look in the background lets the next
            // request find a device that came back with a new engine ID.
            self->Finished.push_back(
                Step{[self, session] { self->RecheckEngine(*session, std::nullopt); }, true, session});
        self->Finished.push_back(
            Step{[done = std::move(pending.Done), result]() mutable { done(*result); }, pending.Safe});
    } else {
        const int step = pending.ProbeStep;
        // Discovery goes on outside the library's call stack.
        self->Finished.push_back(
            Step{[self, session, step, result] {
                     if (step == 1)
                         self->EngineIdFound(*session, result->Code == OvCode::Timeout ? OvCode::Timeout : 0,
                                             result->Response.get());
                     else if (step == 2)
                         self->TimeWindowKnown(*session, result->Code);
                     else
                         self->EngineRechecked(*session, result->Response.get());
                 },
                 true, session});
    }
    return 1;
}

void OvSNMPEngine::ReadSocket(OvTargetSession& session, bool readable) {
    const int socket = session.Socket();
    pollfd fd{socket, POLLIN, 0};
    // The library's sockets block: read only what is there.
    if (socket >= 0 && (readable || (::poll(&fd, 1, 0) > 0 && (fd.revents & POLLIN)))) {
        netsnmp_large_fd_set fds;
        netsnmp_large_fd_set_init(&fds, FD_SETSIZE);
        netsnmp_large_fd_setfd(socket, &fds);
        const u_int wrongDigests = snmp_get_statistic(STAT_USMSTATSWRONGDIGESTS);
        snmp_sess_read2(session.Session, &fds);
        if (session.V3 && snmp_get_statistic(STAT_USMSTATSWRONGDIGESTS) != wrongDigests)
            session.WrongDigest = true; // dropped by the library: no callback tells it
        netsnmp_large_fd_set_cleanup(&fds);
    }
    snmp_sess_timeout(session.Session);
}

void OvSNMPEngine::ProcessPendingEvents() {
    if (!HasOutstanding())
        return; // nothing outstanding: the periodic tick costs nothing
    for (auto& session : Sessions)
        ReadSocket(*session);
    DeliverFinished();
    RearmTimer();
}

bool OvSNMPEngine::WaitForEvents() {
    const bool outstanding = WaitSafely();
    ScheduleDelivery();
    RearmTimer();
    return outstanding;
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
    for (auto& session : Sessions) {
        const SessionWait w = waitOf(session->Session);
        if (!w.Outstanding)
            continue;
        const long ms = toMs(w.Next);
        if (soonestMs < 0 || ms < soonestMs)
            soonestMs = ms;
    }
    // A timer that fires early only looks again, and one that fires with nothing
    // outstanding stops: it is restarted only when it would fire too late, not on every
    // request and answer.
    if (soonestMs < 0 || (TimeoutTimer->isActive() && ArmedUntil.remainingTime() <= soonestMs))
        return;
    TimeoutTimer->start(static_cast<int>(soonestMs));
    ArmedUntil.setRemainingTime(soonestMs);
}
