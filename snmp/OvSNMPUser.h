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

// The users registered with the library, per agent engine and name, and the pass phrases
// their keys came from. The library holds one set of keys and one time window per engine
// and user: agents that share an engine ID (cloned images) under other credentials take
// turns, each with its own keys and the time window it had.
class OvUserRegistry {
public:
    // Registers the session's user with its agent's engine (nothing while that is unknown),
    // replacing keys made from other credentials (protocols and pass phrases).
    void Register(snmp_session* library, const QByteArray& credentials);

private:
    struct TimeWindow {
        unsigned Boots = 0;
        unsigned Time = 0;
        QElapsedTimer Since;
    };
    void SaveTimeWindow(const QByteArray& engine, const QByteArray& owner);
    void RestoreTimeWindow(const QByteArray& engine, const QByteArray& owner);

    std::map<QByteArray, QByteArray> RegisteredKeys;
    std::map<QByteArray, TimeWindow> TimeWindows; // by engine, user and credentials
};
