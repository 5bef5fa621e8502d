#include "configtool/OvOpenFiles.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Files a finishing device may open beside its socket (a backup and its temporary file),
// and what the library opens on its own.
constexpr long kSpare = 8;
// Above this many files no run of at most 256 devices comes near the limit.
constexpr long kPlenty = 1024;

} // namespace

long OvOpenFiles::RaiseLimit() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return kPlenty;
    if (limit.rlim_cur < limit.rlim_max) {
        rlimit raised = limit;
        raised.rlim_cur = limit.rlim_max;
        if (::setrlimit(RLIMIT_NOFILE, &raised) == 0)
            limit = raised;
    }
    return limit.rlim_cur == RLIM_INFINITY ? LONG_MAX : static_cast<long>(limit.rlim_cur);
}

int OvOpenFiles::DevicesWithin(long limit) {
    if (limit >= kPlenty)
        return INT_MAX;
    long open = 0;
    for (int fd = 0; fd < limit; ++fd)
        open += ::fcntl(fd, F_GETFD) != -1 ? 1 : 0;
    return static_cast<int>(std::max(1L, limit - open - kSpare));
}

QString OvOpenFiles::SocketShortage() {
    const int probe = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (probe >= 0) {
        ::close(probe);
        return QString();
    }
    const int error = errno;
    return error == EMFILE || error == ENFILE || error == ENOBUFS || error == ENOMEM
               ? QString::fromLocal8Bit(std::strerror(error))
               : QString();
}
