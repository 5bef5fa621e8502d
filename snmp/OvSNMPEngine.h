#pragma once

#include "snmp/OvSNMPResult.h"
#include "snmp/OvSNMPStatus.h"
#include "snmp/OvSNMPTarget.h"
#include "snmp/OvSNMPUser.h"
#include "snmp/OvTargetSession.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

struct snmp_pdu;
struct snmp_session;
class QTimer;

// The net-snmp side of the process-wide session: library set-up without reading or
// writing any of net-snmp's own configuration or persistent files, one net-snmp session
// per distinct target, SNMPv3 engine discovery and users, and delivery of asynchronous
// answers on the GUI thread as soon as they arrive.
class OvSNMPEngine : public QObject {
    Q_OBJECT
public:
    using Completion = OvCompletion;

    // Request time-out and retries of every request, unless a program sets its own.
    static constexpr int TimeoutMs = 1000;
    static constexpr int Retries = 1;
    // The time-out and retries of sessions opened from now on (velmarn-config's
    // --timeout and --retries, for slow devices and large fleets).
    void SetTiming(int timeoutMs, int retries);
    // Shortest time between two looks at a silent SNMPv3 agent's engine ID.
    static constexpr int RecheckIntervalMs = OvTargetSession::RecheckIntervalMs;

    OvSNMPEngine();
    ~OvSNMPEngine() override;

    // Initialises the library once per process; false when no UDP socket can be had.
    bool Open();
    // Local engine ID and boots for SNMPv3.
    void InitSecurity(const QByteArray& engineId, quint32 boots);
    // The boots value the library uses for the local engine.
    static quint32 LibraryEngineBoots();

    // A new request PDU of the given command (SNMP_MSG_GET, _GETNEXT, _SET).
    static OvPduPtr NewPdu(int command);

    // Sends pdu to target without waiting. Errors found before anything is sent (bad
    // address -509, unsupported protocol -312/-313, model -201, level -303) are raised;
    // otherwise done runs later on this thread exactly once.
    // safeWhen: once it holds true, done may run inside a wait (WaitForEvents).
    void SendAsync(const OvSNMPTarget& target, OvPduPtr pdu, Completion done,
                   std::shared_ptr<const bool> safeWhen = nullptr);
    // Sends pdu and waits for the answer or the time-out; raises like SendAsync.
    OvSNMPResult SendSync(const OvSNMPTarget& target, OvPduPtr pdu);

    // Receives what has arrived, retransmits and times out outstanding requests, and
    // runs the completions of answered requests.
    void ProcessPendingEvents();

    // Waits for answers or time-outs of outstanding requests; runs only the engine's own
    // steps, never a completion nor any other event of the program (those run from the
    // event loop later). False when nothing is outstanding any more.
    bool WaitForEvents();

    // Said after a time-out when the agent answers the unencrypted engine discovery but
    // never an encrypted request: a wrong privacy pass phrase or protocol.
    static QString PrivacyHint();

    // Status mapping: a net-snmp SNMPERR_* value, an agent error-status, a Report PDU.
    static int MapLibraryStatus(int snmpError) { return OvLibraryStatusCode(snmpError); }
    static int MapAgentStatus(long errorStatus) { return OvAgentStatusCode(errorStatus); }
    static int MapReport(snmp_pdu* report) { return OvReportCode(report); }

    // The users' checks and keys (OvSNMPUser.h).
    static void CheckUser(const OvSNMPSecurity& sec) { OvCheckUser(sec); }
    static void FillUser(const OvSNMPSecurity& sec, const QByteArray& securityName, snmp_session& s) {
        OvFillUser(sec, securityName, s);
    }

    // The caller is done with target: its session and socket are closed as soon as nothing
    // of it is outstanding (a later request opens a new one). Many devices one after another
    // then hold only the sockets of those in hand.
    void Release(const OvSNMPTarget& target);
    // Requests or completions still to be handled.
    bool HasOutstanding() const { return !InFlight.empty() || !Finished.empty(); }

Q_SIGNALS:
    // A request was handed over; answers and time-outs are to be expected.
    void RequestSent();

private:
    // A completion or discovery step waiting to run; safe ones may run inside a
    // synchronous wait (they touch nothing but the engine and their own result).
    struct Step {
        std::function<void()> Run;
        OvSafeToRun Safe;
        const OvTargetSession* About = nullptr; // the session the step works on, kept open until it ran
    };

    // The session of target: one that serves it, or a new one watched for answers.
    OvTargetSession& SessionFor(const OvSNMPTarget& target);
    OvTargetSession& Watch(std::unique_ptr<OvTargetSession> session);
    void PreparePdu(const OvTargetSession& session, const OvSNMPTarget& target, snmp_pdu* pdu) const;
    void Send(const OvSNMPTarget& target, OvPduPtr pdu, Completion done, OvSafeToRun safe);
    void SendNow(OvTargetSession& session, OvQueuedRequest q);
    void Complete(Completion done, OvSafeToRun safe, OvSNMPResult result);
    // The code of a send that failed before reaching the wire.
    static int SendFailure(const OvTargetSession& session);
    static OvPduPtr NewProbe();
    void StartDiscovery(OvTargetSession& session);
    void SendProbe(OvTargetSession& session, OvPduPtr probe, int step);
    void EngineIdFound(OvTargetSession& session, int code, snmp_pdu* report);
    void LearnTimeWindow(OvTargetSession& session);
    void TimeWindowKnown(OvTargetSession& session, int code);
    void FinishDiscovery(OvTargetSession& session, bool ready, int code);
    void RecheckEngine(OvTargetSession& session, std::optional<OvQueuedRequest> timedOut);
    void EngineRechecked(OvTargetSession& session, snmp_pdu* report);
    void RegisterUser(OvTargetSession& session);
    // Agents of one engine ID and user (cloned images) take turns, since the library keeps
    // one set of keys and one time window for them: while another session's keyed requests
    // to such an agent are outstanding, the session's next step waits, and resumes when
    // those have ended.
    bool KeysInUseByOther(const OvTargetSession& session) const;
    void AwaitKeys(OvTargetSession& session, std::function<void()> resume);
    void ResumeAwaitingKeys();
    // One round of a synchronous wait: reads what arrived and runs the safe steps; false
    // when nothing is outstanding.
    bool WaitSafely();
    bool RunSafeSteps();
    void DeliverFinished();
    void ScheduleDelivery();
    // Reads an answer waiting on the session's socket; readable: the caller was just told
    // so by the socket's notifier, which spares asking the kernel once more.
    void ReadSocket(OvTargetSession& session, bool readable = false);
    void RearmTimer();
    bool Idle(const OvTargetSession& session) const;
    void ScheduleCloseReleased();
    void CloseReleased();

    static int Callback(int operation, struct snmp_session* session, int requestId, snmp_pdu* pdu,
                        void* magic);

    std::vector<std::unique_ptr<OvTargetSession>> Sessions;
    std::map<uintptr_t, OvPendingRequest> InFlight; // by the key handed to the library as magic
    uintptr_t NextKey = 1;
    static OvSNMPEngine* CurrentEngine;
    std::deque<Step> Finished; // completions waiting to run
    std::deque<std::pair<OvTargetSession*, std::function<void()>>> AwaitingKeys;
    QTimer* TimeoutTimer;
    QDeadlineTimer ArmedUntil; // when TimeoutTimer fires
    bool DeliveryScheduled = false;
    bool CloseScheduled = false;
    int SessionTimeoutMs = TimeoutMs;
    int SessionRetries = Retries;
    OvUserRegistry Users;
};
