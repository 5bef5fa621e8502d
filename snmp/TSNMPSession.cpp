#include "snmp/TSNMPSession.h"

#include "errors/OvErrors.h"
#include "snmp/OvBootCounter.h"
#include "snmp/OvSNMPEngine.h"

#include <QDir>
#include <QTimer>
#include <memory>

namespace {

struct SessionState {
    std::unique_ptr<OvSNMPEngine> engine;
    OvSNMPTarget defaultTarget;
    std::unique_ptr<QTimer> eventTimer;
    quint32 boots = 0;
};

SessionState& state() {
    // Intentionally never destroyed: the engine must outlive every request, including
    // those released during static destruction.
    static SessionState* s = new SessionState;
    return *s;
}

} // namespace

OvSNMPTarget TSNMPSession::Defaults() {
    OvSNMPTarget t;
    t.Device.Address = QStringLiteral("127.0.0.1");
    t.Device.Port = 161;
    t.Security.Version = 0;
    t.Security.ReadCommunity = QStringLiteral("qubsen");
    t.Security.WriteCommunity = QStringLiteral("vortani");
    t.Security.SecurityModel = 1;
    t.Security.SecurityLevel = 1;
    t.Security.AuthProtocol = 1;
    t.Security.PrivProtocol = 1;
    return t;
}

QString TSNMPSession::BootCounterPath(const QString& directory) {
    const QString name = QString::fromLatin1(BootCounterFile);
    if (directory.isEmpty())
        return name;
    if (directory.endsWith(QLatin1Char('/')) || directory.endsWith(QDir::separator()))
        return directory + name;
    return directory + QDir::separator() + name;
}

void TSNMPSession::Create(const QString& directory, bool countBoots) {
    SessionState& s = state();
    s.engine = std::make_unique<OvSNMPEngine>();
    if (!s.engine->Open())
        throw OvException(OvCode::CannotCreateSession);

    const QString file = BootCounterPath(directory);
    const QByteArray engineId(EngineId);
    quint32 boots = 0;
    const int status = countBoots ? OvBootCounter::Increment(file, engineId, boots) : 0;
    if (status != 0) {
        // The start ends here: the engine goes, and the library's private folder with it.
        s.engine.reset();
        const int code = status < OvBootCounter::CannotOpen && status != OvBootCounter::CannotSave
                             ? OvCode::BootCounterLoad
                             : OvCode::BootCounterSave;
        throw OvException(code,
                          OvErrorMessage(code) + QLatin1Char(' ') + OvBootCounter::Problem(file, status));
    }
    s.boots = boots;

    s.engine->InitSecurity(engineId, boots);
    s.defaultTarget = Defaults();

    if (!s.eventTimer) {
        s.eventTimer = std::make_unique<QTimer>();
        s.eventTimer->setInterval(20);
        QObject::connect(s.eventTimer.get(), &QTimer::timeout, s.eventTimer.get(), [] {
            // A tick that comes while the previous one still runs (a completion may wait
            // for a synchronous request) is skipped rather than nested.
            static bool busy = false;
            SessionState& st = state();
            if (busy || !st.engine)
                return;
            busy = true;
            st.engine->ProcessPendingEvents();
            busy = false;
            // Nothing outstanding: no ticks until the next request, so that an idle program
            // lets the processor sleep.
            if (!st.engine->HasOutstanding())
                st.eventTimer->stop();
        });
    }
    QObject::connect(s.engine.get(), &OvSNMPEngine::RequestSent, s.eventTimer.get(), [] {
        QTimer* timer = state().eventTimer.get();
        if (!timer->isActive())
            timer->start();
    });
    s.eventTimer->start();
}

bool TSNMPSession::IsCreated() {
    return state().engine != nullptr;
}

OvSNMPTarget& TSNMPSession::DefaultTarget() {
    return state().defaultTarget;
}

QTimer* TSNMPSession::EventTimer() {
    return state().eventTimer.get();
}

OvSNMPEngine* TSNMPSession::Engine() {
    return state().engine.get();
}

quint32 TSNMPSession::EngineBoots() {
    return state().boots;
}

void TSNMPSession::ResetForTesting() {
    SessionState& s = state();
    if (s.eventTimer)
        s.eventTimer->stop();
    s.engine.reset();
    s.defaultTarget = OvSNMPTarget{};
    s.boots = 0;
}
