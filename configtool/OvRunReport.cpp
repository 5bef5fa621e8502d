#include "configtool/OvRunReport.h"

#include "configtool/OvDeviceJob.h"
#include "configtool/OvJournal.h"

#include <QStringList>
#include <algorithm>

void OvPrintLine(FILE* to, const QString& text) {
    std::fputs(text.toUtf8().constData(), to);
    std::fputc('\n', to);
    std::fflush(to); // a run that is killed has shown what it did
}

OvRunReport::OvRunReport(bool several, bool jsonOnStdout, OvJournal* journal)
    : Several(several), JsonOnStdout(jsonOnStdout), Journal(journal) {}

void OvRunReport::Line(const OvDeviceJob& job, const QString& line) {
    OvPrintLine(stdout, Several && !JsonOnStdout ? job.Address + QStringLiteral(": ") + line : line);
}

void OvRunReport::DeviceFinished(const OvDeviceJob& job) {
    const int code = OvExitCodeOf(job.Outcome);
    OvPrintLine(code == 0 ? Info() : stderr, job.Address + QStringLiteral(": ") + job.Summary);
    if (Journal)
        Journal->Device(job.Address, OvOutcomeWord(job.Outcome), code, job.Summary);
    Count(job.Outcome);
}

void OvRunReport::NotStarted(const QString& address) {
    if (Journal)
        Journal->Device(address, OvOutcomeWord(OvOutcome::NotStarted), OvExitCodeOf(OvOutcome::NotStarted),
                        QStringLiteral("not started: the run was stopped"));
    Count(OvOutcome::NotStarted);
}

void OvRunReport::Count(OvOutcome outcome) {
    ++Devices;
    ++Counts[OvOutcomeWord(outcome)];
    Worst = std::max(Worst, OvExitCodeOf(outcome));
}

int OvRunReport::Finish(bool stopped) {
    QStringList parts;
    for (const char* word : {"done", "differ", "failed", "unknown", "not started"}) {
        const int n = Counts[QLatin1String(word)];
        if (n > 0 || QLatin1String(word) != QLatin1String("not started"))
            parts << QStringLiteral("%1 %2").arg(n).arg(QLatin1String(word));
    }
    OvPrintLine(Worst == 0 ? Info() : stderr, QStringLiteral("%1%2 device%3: %4")
                                                  .arg(stopped ? QStringLiteral("stopped: ") : QString())
                                                  .arg(Devices)
                                                  .arg(Devices == 1 ? QString() : QStringLiteral("s"))
                                                  .arg(parts.join(QStringLiteral(", "))));
    return Worst;
}
