#pragma once

#include "snmp/OvSNMPTarget.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <map>

struct snmp_session;

// SNMPv3 users as the library knows them.

// Refuses a user the library cannot use (model -201, level -303, protocols -312/-313).
void OvCheckUser(const OvSNMPSecurity& sec);
// Puts the user into a session: model, level, name, protocols and the keys of its pass
// phrases. securityName must outlive the session's use; raises like OvCheckUser.
void OvFillUser(const OvSNMPSecurity& sec, const QByteArray& securityName, snmp_session& s);
// The empty user the engine-ID probe is sent as, known to the library.
void OvEnsureProbeUser();

// The users registered with the library, per agent engine and name, the pass phrases their
// keys came from and the agent they were last used with. The library holds one set of keys
// and one time window per engine and user: agents that share an engine ID (cloned images)
// take turns, each with its own keys and the time window (boots and time) it had.
class OvUserRegistry {
public:
    // Registers the session's user with its agent's engine (nothing while that is unknown)
    // for agent (its address and port), replacing keys made from other credentials
    // (protocols and pass phrases) and the time window of another agent.
    void Register(snmp_session* library, const QByteArray& credentials, const QByteArray& agent);

private:
    struct TimeWindow {
        unsigned Boots = 0;
        unsigned Time = 0;
        QElapsedTimer Since;
    };
    void SaveTimeWindow(const QByteArray& engine, const QByteArray& owner);
    void RestoreTimeWindow(const QByteArray& engine, const QByteArray& owner);

    struct Holder {
        QByteArray Credentials;
        QByteArray Agent;
    };
    std::map<QByteArray, Holder> Holders;         // by engine and user
    std::map<QByteArray, TimeWindow> TimeWindows; // by engine, user and agent
};
