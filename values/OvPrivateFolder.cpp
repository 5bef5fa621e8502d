#include "values/OvPrivateFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

bool makeFolder(const QString& path, mode_t mode, QString& error) {
    if (QFileInfo(path).isDir())
        return true;
    const QString parent = QFileInfo(path).path();
    // The folders above are the user's (~/.local/state): made as mkdir -p makes them.
    if (parent != path && !makeFolder(parent, 0777, error))
        return false;
    if (::mkdir(QFile::encodeName(path).constData(), mode) != 0 && errno != EEXIST) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    return true;
}

} // namespace

bool OvMakePrivateFolder(const QString& folder, QString& error) {
    return makeFolder(QDir::cleanPath(QFileInfo(folder).absoluteFilePath()), 0700, error);
}
