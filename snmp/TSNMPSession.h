#pragma once

#include "snmp/OvSNMPTarget.h"

#include <QString>

class QTimer;
class OvSNMPEngine;

// The process-wide SNMP session: one engine, the default target every request copies,
// and the 20 ms event timer that delivers asynchronous answers on the GUI thread.
class TSNMPSession {
public:
    static constexpr const char* EngineId = "OvSNMP_PP_Application";
    static constexpr const char* BootCounterFile = "OvSNMP_PP_BootCounter";

    // Creates the session once: library set-up, engine boots read, incremented and
    // saved in directory (empty: the current directory), defaults, event timer on.
    // Raises -506, -507 or -508 (the last two saying why after their message). A program
    // that sends no SNMPv3 message passes countBoots false: the file is not touched (its
    // forced write is much of a short run's start-up) and the library keeps boots 0.
    static void Create(const QString& directory, bool countBoots = true);

    static bool IsCreated();
    // The target every request starts from before the launch options change it.
    static OvSNMPTarget Defaults();
    static OvSNMPTarget& DefaultTarget();
    static QTimer* EventTimer();
    static OvSNMPEngine* Engine();
    static quint32 EngineBoots();
    static QString BootCounterPath(const QString& directory);

    // Back to the state before Create, for tests that create the session again.
    static void ResetForTesting();
};
