#include "values/OvLineAppender.h"

#include "values/OvSaveFile.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

OvLineAppender::OvLineAppender(QString fileName, Place place) : Name(std::move(fileName)), Where(place) {}

OvLineAppender::~OvLineAppender() {
    Close();
}

void OvLineAppender::Close() {
    if (Fd >= 0)
        ::close(Fd);
    Fd = -1;
}

bool OvLineAppender::Failed(int error) {
    Reason = QString::fromLocal8Bit(std::strerror(error));
    return false;
}

bool OvLineAppender::Open() {
    Close();
    const bool own = Where == Place::Private;
    if (const QString refused = own ? QString() : OvRefusedLink(Name); !refused.isEmpty()) {
        Reason = refused;
        return false;
    }
    // Non-blocking: opening a pipe nobody reads would wait; it is refused below instead.
    const int flags = O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | (own ? O_NOFOLLOW | O_NONBLOCK : 0);
    Fd = ::open(QFile::encodeName(Name).constData(), flags, own ? 0600 : 0666);
    if (Fd < 0 && own && errno == ENXIO) { // a pipe nobody reads
        Reason = QStringLiteral("it is not a regular file");
        return false;
    }
    if (Fd < 0 && own && errno == ELOOP) {
        Reason = QStringLiteral("it is a symbolic link, which is not followed");
        return false;
    }
    if (Fd < 0)
        return Failed(errno);
    struct stat st {};
    Regular = ::fstat(Fd, &st) == 0 && S_ISREG(st.st_mode);
    if (own && !Regular) {
        Close();
        Reason = QStringLiteral("it is not a regular file");
        return false;
    }
    if (own)
        ::fcntl(Fd, F_SETFL, O_WRONLY | O_APPEND);
    return true;
}

bool OvLineAppender::Append(const QByteArray& line) {
    if (Fd < 0)
        return Failed(EBADF);
    const QByteArray text = line + '\n';
    const off_t start = Regular ? ::lseek(Fd, 0, SEEK_END) : -1;
    for (qsizetype done = 0; done < text.size();) {
        const ssize_t n = ::write(Fd, text.constData() + done, static_cast<size_t>(text.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : EIO;
            const bool cut = start < 0 || ::ftruncate(Fd, start) == 0;
            Failed(error);
            if (!cut)
                Reason += QStringLiteral("; part of the line stays in the file");
            return false;
        }
        done += n;
    }
    return true;
}
