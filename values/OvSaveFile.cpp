#include "values/OvSaveFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

OvReplacingFile::OvReplacingFile(QString fileName) : FileName(std::move(fileName)) {}

OvReplacingFile::~OvReplacingFile() {
    Cancel();
}

bool OvReplacingFile::Failed(const QString& reason) {
    Reason = reason;
    Cancel();
    return false;
}

bool OvReplacingFile::Open() {
    const QFileInfo info(FileName); // a link stands for what it points to
    if (info.isDir())
        return Failed(QStringLiteral("it is a folder"));
    if (info.exists() && !info.isFile())
        Device = std::make_unique<QFile>(FileName);
    else
        Device = std::make_unique<QSaveFile>(FileName);
    // Unbuffered: a write the system refuses is seen here, not lost in the flush that
    // QSaveFile::commit() does without looking at its outcome.
    if (!Device->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Failed(Device->errorString());
    return true;
}

bool OvReplacingFile::Write(const QByteArray& bytes) {
    if (!Device)
        return false;
    const qint64 written = Device->write(bytes);
    if (written == bytes.size())
        return true;
    // A short write (a file size limit) leaves no system error behind to quote.
    return Failed(written >= 0
                      ? QStringLiteral("only %1 of %2 bytes could be written").arg(written).arg(bytes.size())
                      : Device->errorString());
}

bool OvReplacingFile::Commit() {
    if (!Device)
        return false;
    if (auto* replacing = dynamic_cast<QSaveFile*>(Device.get())) {
        if (!replacing->commit())
            return Failed(replacing->errorString());
    } else {
        Device->close();
        if (Device->error() != QFileDevice::NoError)
            return Failed(Device->errorString());
    }
    Device.reset();
    return true;
}

void OvReplacingFile::Cancel() {
    if (auto* replacing = dynamic_cast<QSaveFile*>(Device.get()))
        replacing->cancelWriting();
    Device.reset();
}

bool OvSaveWhole(const QString& file, const QByteArray& bytes, QString& message) {
    OvReplacingFile out(file);
    if (out.Open() && out.Write(bytes) && out.Commit())
        return true;
    message = QStringLiteral("Cannot write %1: %2").arg(file, out.Error());
    return false;
}
