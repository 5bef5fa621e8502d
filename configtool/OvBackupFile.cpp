#include "configtool/OvBackupFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// Unbuffered, so that a write the system refuses (a full disk, a file size limit) is seen
// here and not lost in a flush when the file is closed.
bool writeAll(QFileDevice& file, const QByteArray& text, QString& error) {
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        error = file.errorString();
        return false;
    }
    const qint64 written = file.write(text);
    if (written == text.size())
        return true;
    // A short write (a file size limit) leaves no system error behind to quote.
    error = written >= 0
                ? QStringLiteral("only %1 of %2 bytes could be written").arg(written).arg(text.size())
                : file.errorString();
    return false;
}

} // namespace

bool OvWriteBackupFile(const QString& fileName, const QByteArray& text, QString& error) {
    const QFileInfo info(fileName); // a link stands for what it points to
    if (info.isDir()) {
        error = QStringLiteral("it is a folder");
        return false;
    }
    if (info.exists() && !info.isFile()) {
        QFile special(fileName);
        if (!writeAll(special, text, error))
            return false;
        special.close();
        if (special.error() != QFileDevice::NoError) {
            error = special.errorString();
            return false;
        }
        return true;
    }
    QSaveFile file(fileName);
    if (!writeAll(file, text, error)) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}
