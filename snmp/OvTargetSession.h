#pragma once

#include "snmp/OvSNMPResult.h"
#include "snmp/OvSNMPTarget.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <memory>
#include <vector>

class QSocketNotifier;

// The library's protocol version of a target's version (0 SNMPv1, 1 SNMPv2c, 3 SNMPv3).
int OvLibraryVersion(quint8 version);

// A net-snmp single session, closed with its owner (closing reports what is outstanding
// as timed out; nobody listens by then).
class OvSessionHandle {
public:
    OvSessionHandle() = default;
    ~OvSessionHandle();
    OvSessionHandle(const OvSessionHandle&) = delete;
    OvSessionHandle& operator=(const OvSessionHandle&) = delete;
    void Reset(void* handle);
    operator void*() const { return Handle; }

private:
    void* Handle = nullptr;
};

// A request that has not been handed to the library yet.
struct OvQueuedRequest {
    OvPduPtr Pdu;
    OvCompletion Done;
    OvSafeToRun Safe;      // its completion may run inside a synchronous wait
    bool MayRetry = false; // a time-out may mean a new engine ID: look once, then resend
    int FailedWith = 0;    // what ended it when sent, if the look finds the same engine
};

// The net-snmp session of one target (agent, version and user), with what is known of the
// agent's SNMPv3 engine and the requests waiting for it.
struct OvTargetSession {
    enum Discovery { Unknown, Discovering, Ready };

    // Shortest time between two looks at a silent SNMPv3 agent's engine ID.
    static constexpr int RecheckIntervalMs = 3000;

    // A session for target, not yet watched: raises -509 for an address that cannot be
    // one, the user's refusal (OvCheckUser) and the library's when it cannot open.
    static std::unique_ptr<OvTargetSession> Open(const OvSNMPTarget& target, int timeoutMs, int retries);
    ~OvTargetSession();

    // Whether requests to target go through this session: the same agent, version and user
    // (with its pass phrases for SNMPv3); scope and communities travel in each request.
    bool Serves(const OvSNMPTarget& target) const;
    // The socket of the session (-1: none).
    int Socket() const;
    // Whether other talks to an agent of the same known engine ID as the same user: the
    // library then holds one set of keys for both.
    bool SharesUserWith(const OvTargetSession& other) const;

    QByteArray Credentials; // protocols and pass phrases, for replacing changed keys
    QByteArray Agent;       // address and port, for the engine time of agents of one engine ID
    OvSNMPTarget Target;
    OvSessionHandle Session; // closed before the notifier's socket is gone: declared first
    bool V3 = false;
    int Level = 1; // the SNMPv3 security level, noAuthNoPriv at first
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
    std::vector<OvQueuedRequest> Waiting;    // until the agent's engine is known
    std::vector<OvQueuedRequest> Rechecking; // timed out while the engine ID is looked at again
    std::unique_ptr<QSocketNotifier> Notifier;

    bool RecheckDue() const;
    bool SilentToEncryption() const;
    // What a time-out of this agent is shown as.
    int TimeoutCode() const;
};

// A request or engine-ID look handed to the library.
struct OvPendingRequest {
    OvTargetSession* Owner = nullptr;
    OvCompletion Done;
    int ProbeStep = 0; // 1: engine ID, 2: time window, 3: engine ID again after a time-out
    OvSafeToRun Safe;
    OvPduPtr Retry; // a copy of a request that may be sent again
};
