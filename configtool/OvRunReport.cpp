#include "configtool/OvRunReport.h"

#include "configtool/OvDeviceJob.h"
#include "configtool/OvJournal.h"

#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <cstring>

bool OvPrintLine(FILE* to, const QString& text) {
    const QByteArray bytes = text.toUtf8() + '\n'; // whole, also past a NUL a value may hold
    const bool put = std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), to) ==
                     static_cast<size_t>(bytes.size());
    return std::fflush(to) == 0 && put; // a run that is killed has shown what it did
}

QString OvCounted(qsizetype n, const char* noun) {
    return QStringLiteral("%1 %2%3").arg(n).arg(QLatin1String(noun),
                                                n == 1 ? QString() : QStringLiteral("s"));
}

OvRunReport::OvRunReport(bool several, bool jsonOnStdout, OvJournal* journal)
    : Several(several), JsonOnStdout(jsonOnStdout), Journal(journal) {}

void OvRunReport::Line(const OvDeviceJob& job, const QString& line) {
    if (Print(stdout, Several && !JsonOnStdout ? job.Label + QStringLiteral(": ") + line : line))
        return;
    if (JsonOnStdout)
        LostBackups.insert(job.Address); // the backup itself is gone
}

void OvRunReport::Warning(const OvDeviceJob& job, const QString& line) {
    Print(stderr, Several ? job.Label + QStringLiteral(": ") + line : line);
}

void OvRunReport::DeviceFinished(const OvDeviceJob& job) {
    OvOutcome outcome = job.Outcome;
    QString summary = job.Summary;
    if (LostBackups.count(job.Address) && outcome == OvOutcome::Done) {
        outcome = OvOutcome::Failed;
        summary = QStringLiteral("not backed up: cannot write standard output: ") + OutputError;
    }
    const int code = OvExitCodeOf(outcome);
    Print(code == 0 ? Info() : stderr, job.Label + QStringLiteral(": ") + summary);
    if (Journal)
        Journal->Device(job.Address, OvOutcomeWord(outcome), code, summary);
    Count(job.Address, outcome);
}

bool OvRunReport::Print(FILE* to, const QString& line) {
    errno = 0;
    if (OvPrintLine(to, line))
        return true;
    if (to == stdout && OutputError.isEmpty())
        OutputError = errno ? QString::fromLocal8Bit(std::strerror(errno)) : QStringLiteral("write error");
    return false;
}

void OvRunReport::NotStarted(const QString& address) {
    if (Journal)
        Journal->Device(address, OvOutcomeWord(OvOutcome::NotStarted), OvExitCodeOf(OvOutcome::NotStarted),
                        QStringLiteral("not started: the run was stopped"));
    Count(address, OvOutcome::NotStarted);
}

void OvRunReport::Count(const QString& address, OvOutcome outcome) {
    if (OvExitCodeOf(outcome) != OvExit::Done)
        Unsuccessful.insert(address);
    ++Devices;
    ++Counts[OvOutcomeWord(outcome)];
    Worst = std::max(Worst, OvExitCodeOf(outcome));
}

int OvRunReport::Finish(bool stopped) {
    if (JournalFailed())
        Worst = std::max(Worst, OvExit::DeviceError); // what the run did is not all on record
    QStringList parts;
    for (const char* word : {"done", "differ", "failed", "unknown", "not started"}) {
        const int n = Counts[QLatin1String(word)];
        if (n > 0 || QLatin1String(word) != QLatin1String("not started"))
            parts << QStringLiteral("%1 %2").arg(n).arg(QLatin1String(word));
    }
    // Always on standard error: standard output may carry a backup.
    Print(stderr, QStringLiteral("%1%2: %3")
                      .arg(stopped ? QStringLiteral("stopped: ") : QString(), OvCounted(Devices, "device"),
                           parts.join(QStringLiteral(", "))));
    if (JournalFailed())
        OvPrintLine(stderr,
                    QStringLiteral("velmarn-config: cannot write the journal %1: %2; no device was started "
                                   "after that")
                        .arg(Journal->FileName(), Journal->Error()));
    if (!OutputError.isEmpty()) // what could not be shown is at least named
        OvPrintLine(stderr, QStringLiteral("velmarn-config: cannot write standard output: ") + OutputError);
    return Worst;
}

bool OvRunReport::JournalFailed() const {
    return Journal && !Journal->Error().isEmpty();
}

bool OvRunReport::Failed(const QString& address) const {
    return Unsuccessful.count(address) > 0;
}
