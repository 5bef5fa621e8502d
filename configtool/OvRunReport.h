#pragma once

#include "configtool/OvOutcome.h"

#include <QString>
#include <cstdio>
#include <map>
#include <set>

class OvDeviceJob;
class OvJournal;

// What the operator sees: each device's lines as soon as it finishes, then one summary
// line of the run (done, differ, failed, unknown, not started); the journal gets the same.
class OvRunReport {
public:
    // several: lines are prefixed with the device's address. jsonOnStdout: a backup to
    // standard output, whose JSON is all that goes there.
    OvRunReport(bool several, bool jsonOnStdout, OvJournal* journal);

    // A line of what the device's command found, at once.
    void Line(const OvDeviceJob& job, const QString& line);
    // A warning about what the device's command did, on standard error.
    void Warning(const OvDeviceJob& job, const QString& line);
    void DeviceFinished(const OvDeviceJob& job);
    void NotStarted(const QString& address);
    // The summary line; the run's exit status (the highest of its devices').
    int Finish(bool stopped);
    // A journal was asked for and a line of it could not be written.
    bool JournalFailed() const;
    // Whether the device ended with another status than 0, or was not started.
    bool Failed(const QString& address) const;

private:
    void Count(const QString& address, OvOutcome outcome);
    bool Print(FILE* to, const QString& line); // false, with OutputError set, when it failed
    FILE* Info() const { return JsonOnStdout ? stderr : stdout; }

    bool Several;
    bool JsonOnStdout;
    OvJournal* Journal;
    std::map<QString, int> Counts; // by outcome word
    int Devices = 0;
    int Worst = 0;
    QString OutputError;            // the first write that failed
    std::set<QString> LostBackups;  // devices whose backup could not go to standard output
    std::set<QString> Unsuccessful; // devices that did not end 0, by address
};

// "1 object", "2 objects".
QString OvCounted(qsizetype n, const char* noun);

// Writes one line of text; false when the stream refused it.
bool OvPrintLine(FILE* to, const QString& text);
