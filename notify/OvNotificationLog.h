#pragma once

#include "notify/OvNotification.h"

#include "values/OvLineAppender.h"

#include <QString>
#include <memory>
#include <vector>

// The device's notifications as JSON lines, one whole line per write, in
// $XDG_STATE_HOME/velmarn/notifications-<address>.jsonl (0600 in a 0700 folder); the file
// is rotated to .1 .. .4 when the next line would take it past MaxBytes on disk, so at
// most five files are kept. Several modules may log the same device: the rotation is
// done under a lock by one of them, and the others go on in the new file. A line that
// cannot be written whole is not written at all; a link or anything but a regular file
// at the log's path is never written to.
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
    // Opens the log for appending; false and the reason when it cannot be.
    bool Open(QString& error);

    // The last max notifications of a log file, oldest first; lines that do not read as
    // a notification are skipped.
    static std::vector<OvNotification> Read(const QString& path, int max);

private:
    // Whether the open file is still the one at the path (another module may have
    // rotated it), and its size on disk.
    bool IsCurrent(qint64& size) const;
    // Rotates under the lock, unless another module has done it meanwhile.
    bool Rotate(QString& error);

    QString FilePath;
    qint64 MaxBytes;
    int KeptFiles;
    std::unique_ptr<OvLineAppender> File;
};
