#pragma once

#include "snmp/OvSNMPRequest.h"
#include "snmp/TSNMPSession.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <functional>

// Creates the process-wide SNMP session once and points the default target at an agent.
inline void UseAgent(const QString& address, quint16 port, quint8 version = 1) {
    if (!TSNMPSession::IsCreated())
        TSNMPSession::Create(QString());
    OvSNMPTarget& t = TSNMPSession::DefaultTarget();
    t = TSNMPSession::Defaults();
    t.Device.Address = address;
    t.Device.Port = port;
    t.Security.Version = version;
}

// Runs the event loop until done() holds or the time is up; true when it held.
inline bool WaitFor(const std::function<bool()>& done, int ms = 5000) {
    QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    return done();
}

// Starts an asynchronous read and waits for its one answer; Code -1000 when none came.
inline OvSNMPError GetAsyncAndWait(OvSNMPRequest& request, bool first = true, int ms = 5000) {
    QObject context;
    OvSNMPError result;
    result.Code = -1000;
    bool called = false;
    request.GetAsync(
        &context,
        [&](const OvSNMPError& e, OvSNMPVarList&) {
            called = true;
            result = e;
        },
        first);
    WaitFor([&called] { return called; }, ms);
    return result;
}
