#pragma once

#include "values/OvLineAppender.h"

#include <QString>
#include <QStringList>

// --journal FILE: one JSON line per device and per group written, appended and flushed as
// it happens, so that a run that was killed can still be accounted for.
class OvJournal {
public:
    // Raises OvUsageError when the file cannot be opened for appending.
    explicit OvJournal(const QString& fileName);

    // A group's SET: outcome "written", "not written" or "unknown".
    void Group(const QString& device, const QString& group, const QStringList& objects,
               const QString& outcome);
    // The device's end: its outcome word, exit status and message.
    void Device(const QString& device, const QString& outcome, int exitCode, const QString& message);
    // Why a line could not be written (a full disk): empty while every line went.
    const QString& Error() const { return WriteError; }
    QString FileName() const { return File.FileName(); }

private:
    void Append(const class QJsonObject& line);
    OvLineAppender File;
    QString WriteError;
};
