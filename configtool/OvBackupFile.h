#pragma once

#include <QByteArray>
#include <QString>

// Writes a backup to its file. A regular file (or a new one) is replaced whole, and only
// once the new text is on disk, so a failed write leaves the old backup as it was. A
// device, pipe or other special file is written into, never replaced. False, with the
// reason, when any of it fails.
bool OvWriteBackupFile(const QString& fileName, const QByteArray& text, QString& error);
