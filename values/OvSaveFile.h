#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

class QFileDevice;

// A file written in pieces and replaced whole at the end, only once every piece is on
// disk: a write the system refuses (a full disk, a file size limit) leaves the old file as
// it was. A device, pipe or other special file (/dev/stdout, a named pipe) is written into,
// never replaced.
class OvReplacingFile {
public:
    explicit OvReplacingFile(QString fileName);
    ~OvReplacingFile();

    bool Open();
    bool Write(const QByteArray& bytes);
    // Puts the file in place; false when any step failed, and nothing was replaced.
    bool Commit();
    void Cancel();
    QString Error() const { return Reason; } // why the last step failed

private:
    bool Failed(const QString& reason);
    bool OpenSpecial(); // a device or pipe, written into

    QString FileName;
    std::unique_ptr<QFileDevice> Device;
    QString Reason;
};

// Why a user-given file is not written: a symbolic link in a world-writable sticky folder
// (/tmp) owned by neither the user nor the folder's owner, which the kernel's
// protected_symlinks would not follow either (a replacement or an append done in user
// space escapes it). Empty when the file may be written.
QString OvRefusedLink(const QString& file);

// Writes bytes to file, replacing it whole or not at all (no half-written file is left);
// false and the reason in message when it cannot.
bool OvSaveWhole(const QString& file, const QByteArray& bytes, QString& message);
