#pragma once

#include <QString>

// How one device's command ended, and the exit status it stands for. A run exits with the
// highest status of its devices; 2 (usage, unusable file) is decided before any device
// is contacted.
enum class OvOutcome {
    Done,      // 0: done, or the same as the backup
    Differ,    // 1: differences (diff), or a restore read back with other values
    Failed,    // 3: a device error before anything was written
    Partial,   // 4: a restore that wrote some groups and not others
    Unknown,   // 4: a SET that timed out, or everything written and the read-back failed
    NotStarted // a stopped run never started it: 3, nothing was done
};

namespace OvExit {
constexpr int Done = 0;
constexpr int Differ = 1;
constexpr int Usage = 2;
constexpr int DeviceError = 3;
constexpr int Incomplete = 4;
} // namespace OvExit

int OvExitCodeOf(OvOutcome outcome);
// The word of the run's summary: done, differ, failed, unknown or "not started".
QString OvOutcomeWord(OvOutcome outcome);
