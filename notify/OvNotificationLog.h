#pragma once

#include "notify/OvNotification.h"

#include <QFile>
#include <QString>
#include <vector>

// The device's notifications as JSON lines, one whole line per write, in
// $XDG_STATE_HOME/velmarn/notifications-<address>.jsonl; the file is rotated to .1 .. .4
// when the next line would take it past MaxBytes, so at most five files are kept.
class OvNotificationLog {
public:
    static constexpr qint64 DefaultMaxBytes = 10 * 1024 * 1024;
    static constexpr int DefaultKeptFiles = 5;

    // The log of the device at address, in the folder (default: the user's state folder).
    explicit OvNotificationLog(const QString& address, const QString& folder = QString(),
                               qint64 maxBytes = DefaultMaxBytes, int keptFiles = DefaultKeptFiles);

    static QString DefaultFolder();
    QString Path() const { return FilePath; }
    // The rotated files, newest first, that exist.
    QStringList OlderPaths() const;

    // Appends one line; false and the reason in error when it cannot be written.
    bool Append(const OvNotification& notification, QString& error);

    // The last max notifications of a log file, oldest first; lines that do not read as
    // a notification are skipped.
    static std::vector<OvNotification> Read(const QString& path, int max);

private:
    bool Open(QString& error);
    void Rotate();

    QString FilePath;
    qint64 MaxBytes;
    int KeptFiles;
    QFile File;
    qint64 Size = 0; // of the open file, counted rather than asked for at every line
};
