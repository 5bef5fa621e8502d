#include "values/OvSaveFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Unbuffered: a write the system refuses is seen here, not lost in the flush that
// QSaveFile::commit() does without looking at its outcome.
constexpr QIODevice::OpenMode kWriteMode = QIODevice::WriteOnly | QIODevice::Unbuffered;

} // namespace

QString OvRefusedLink(const QString& file) {
    struct stat link {};
    struct stat folder {};
    if (::lstat(QFile::encodeName(file).constData(), &link) != 0 || !S_ISLNK(link.st_mode) ||
        ::stat(QFile::encodeName(QFileInfo(file).absolutePath()).constData(), &folder) != 0)
        return {};
    const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    if (!shared || link.st_uid == ::geteuid() || link.st_uid == folder.st_uid)
        return {};
    return QStringLiteral("it is a link in a shared folder owned by another user; it is not followed");
}

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
    if (const QString refused = OvRefusedLink(FileName); !refused.isEmpty())
        return Failed(refused);
    const QFileInfo info(FileName); // a link stands for what it points to
    if (info.isDir())
        return Failed(QStringLiteral("it is a folder"));
    if (info.exists() && !info.isFile())
        return OpenSpecial();
    Device = std::make_unique<QSaveFile>(FileName);
    if (!Device->open(kWriteMode))
        return Failed(Device->errorString());
    return true;
}

bool OvReplacingFile::OpenSpecial() {
    // Opened without waiting: a pipe that no program reads would otherwise hold the
    // opening, and a window with it, until one does.
    const int fd = ::open(QFile::encodeName(FileName).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Failed(errno == ENXIO ? QStringLiteral("no program reads the pipe")
                                     : QString::fromLocal8Bit(std::strerror(errno)));
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK); // writes wait for the reader as usual
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, kWriteMode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Failed(file->errorString());
    }
    Device = std::move(file);
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
