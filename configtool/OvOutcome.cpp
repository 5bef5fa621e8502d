#include "configtool/OvOutcome.h"

int OvExitCodeOf(OvOutcome outcome) {
    switch (outcome) {
    case OvOutcome::Done:
        return OvExit::Done;
    case OvOutcome::Differ:
        return OvExit::Differ;
    case OvOutcome::Failed:
    case OvOutcome::NotStarted:
        return OvExit::DeviceError;
    case OvOutcome::Partial:
    case OvOutcome::Unknown:
        return OvExit::Incomplete;
    }
    return OvExit::DeviceError;
}

QString OvOutcomeWord(OvOutcome outcome) {
    switch (outcome) {
    case OvOutcome::Done:
        return QStringLiteral("done");
    case OvOutcome::Differ:
        return QStringLiteral("differ");
    case OvOutcome::Failed:
    case OvOutcome::Partial:
        return QStringLiteral("failed");
    case OvOutcome::Unknown:
        return QStringLiteral("unknown");
    case OvOutcome::NotStarted:
        return QStringLiteral("not started");
    }
    return QString();
}
