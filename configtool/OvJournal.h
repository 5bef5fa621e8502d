#pragma once

#include "values/OvLineAppender.h"

#include <QJsonArray>
#include <QString>
#include <QStringList>
#include <map>

// --journal FILE: one JSON line per device and per group written, appended and flushed as
// it happens, so that a run that was killed can still be accounted for.
class OvJournal {
public:
    // Raises OvUsageError when the file cannot be opened for appending. names: the devices'
    // names by address; a named device's lines give its name as "device" and its address.
    OvJournal(const QString& fileName, std::map<QString, QString> names);

    // A group's SET: outcome "written", "not written" or "unknown"; values: per object
    // written or unknown, {"object", "old", "new"}, so that the change can be undone.
    void Group(const QString& device, const QString& group, const QStringList& objects,
               const QString& outcome, const QJsonArray& values = {});
    // The device's end: its outcome word, exit status and message.
    void Device(const QString& device, const QString& outcome, int exitCode, const QString& message);
    // Why a line could not be written (a full disk): empty while every line went.
    const QString& Error() const { return WriteError; }
    QString FileName() const { return File.FileName(); }

private:
    void Append(const class QJsonObject& line);
    OvLineAppender File;
    std::map<QString, QString> Names;
    QString WriteError;
};
