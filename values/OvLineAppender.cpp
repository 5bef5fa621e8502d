#include "values/OvLineAppender.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

OvLineAppender::OvLineAppender(QString fileName) : Name(std::move(fileName)) {}

OvLineAppender::~OvLineAppender() {
    if (Fd >= 0)
        ::close(Fd);
}

bool OvLineAppender::Failed(int error) {
    Reason = QString::fromLocal8Bit(std::strerror(error));
    return false;
}

bool OvLineAppender::Open() {
    Fd = ::open(QFile::encodeName(Name).constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (Fd < 0)
        return Failed(errno);
    struct stat st {};
    Regular = ::fstat(Fd, &st) == 0 && S_ISREG(st.st_mode);
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
