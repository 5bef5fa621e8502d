#include "snmp/OvBootCounter.h"

#include "values/OvPrivateFolder.h"

#include "values/OvSaveFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace OvBootCounter {

namespace {

// The entry for our engine: the encoded ID followed by a blank. A line for another ID
// that merely starts with ours is not ours.
bool isOurLine(const QByteArray& line, const QByteArray& encodedId) {
    return !line.startsWith('#') && line.startsWith(encodedId) &&
           (line.size() == encodedId.size() || QChar::isSpace(static_cast<uchar>(line[encodedId.size()])));
}

enum class Kind { Missing, Regular, Other };

// What stands at the path, without following a symbolic link.
Kind kindOf(const QString& fileName) {
    struct stat st {};
    if (::lstat(QFile::encodeName(fileName).constData(), &st) != 0)
        return Kind::Missing;
    return S_ISREG(st.st_mode) ? Kind::Regular : Kind::Other;
}

// The file's lines, each with its own bytes (a CR included), and whether the last one
// ended with a newline. Only regular files are opened: a FIFO would block, a link would
// lead elsewhere.
int readLines(const QString& fileName, QList<QByteArray>& lines, bool& finalNewline) {
    lines.clear();
    finalNewline = true;
    switch (kindOf(fileName)) {
    case Kind::Missing:
    case Kind::Other:
        return CannotOpen;
    case Kind::Regular:
        break;
    }
    // There, but not to be read (by its mode, also for a user whom the system would let
    // read it): it is somebody's, and never replaced blindly.
    QFile f(fileName);
    if (!(f.permissions() & QFileDevice::ReadOwner) || !f.open(QIODevice::ReadOnly))
        return Unreadable;
    const QByteArray all = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return Unreadable;
    if (all.isEmpty())
        return Found;
    lines = all.split('\n');
    finalNewline = all.endsWith('\n');
    if (finalNewline)
        lines.removeLast();
    return Found;
}

// Holds an exclusive lock on the file's folder while the count is read and written, so
// that programs starting at the same moment each get their own increment.
class FolderLock {
public:
    explicit FolderLock(const QString& fileName) {
        const QString dir = QFileInfo(fileName).absolutePath();
        Fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (Fd >= 0)
            ::flock(Fd, LOCK_EX);
    }
    ~FolderLock() {
        if (Fd >= 0)
            ::close(Fd); // releases the lock
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int Fd = -1;
};

} // namespace

QString EncodeEngineId(const QByteArray& engineId) {
    QString s;
    s.reserve(engineId.size() * 2);
    for (char c : engineId) {
        const auto b = static_cast<unsigned char>(c);
        s += QChar(64 + (b >> 4));
        s += QChar(64 + (b & 0x0F));
    }
    return s;
}

int Load(const QString& fileName, const QByteArray& engineId, quint32& boots) {
    boots = 0;
    QList<QByteArray> lines;
    bool finalNewline = true;
    const int read = readLines(fileName, lines, finalNewline);
    if (read != Found)
        return read;
    const QByteArray id = EncodeEngineId(engineId).toLatin1();
    for (const QByteArray& line : lines) {
        if (!isOurLine(line, id))
            continue;
        bool ok = false;
        const qulonglong v = line.mid(id.size()).trimmed().toULongLong(&ok, 10);
        if (!ok || v > 0xFFFFFFFFull)
            return Malformed;
        boots = static_cast<quint32>(v);
        return Found;
    }
    return NoEntry;
}

int Save(const QString& fileName, const QByteArray& engineId, quint32 boots) {
    const Kind kind = kindOf(fileName);
    if (kind == Kind::Other)
        return CannotSave; // a link, a FIFO, a folder: not ours to replace
    QList<QByteArray> lines;
    bool finalNewline = true;
    if (kind == Kind::Regular && readLines(fileName, lines, finalNewline) != Found)
        return CannotSave; // what cannot be read cannot be kept
    if (lines.isEmpty()) {
        lines = {"# SNMPv3 engine boots counters, one line per engine:",
                 "# the engine ID, two characters per byte, a blank and the count.",
                 "# Written by the Velmarn+ management module; other programs may add lines."};
        finalNewline = true;
    }
    const QByteArray id = EncodeEngineId(engineId).toLatin1();
    const QByteArray entry = id + ' ' + QByteArray::number(boots);
    QList<QByteArray> out;
    bool written = false;
    for (const QByteArray& line : lines) {
        if (!isOurLine(line, id)) {
            out << line; // other lines byte for byte
            continue;
        }
        if (!written)
            out << (line.endsWith('\r') ? entry + '\r' : entry);
        written = true;
    }
    if (!written) {
        out << entry;
        finalNewline = true;
    }

    // A file marked read-only stays untouched, also for a user whom the system would let
    // replace it (the rename below would otherwise succeed where a write would not).
    if (kind == Kind::Regular && !(QFile::permissions(fileName) & QFileDevice::WriteOwner))
        return CannotSave;
    QByteArray data = out.join('\n');
    if (finalNewline)
        data += '\n';
    OvReplacingFile f(fileName); // whole or not at all, also on a full disk
    return f.Open() && f.Write(data) && f.Commit() ? Found : CannotSave;
}

int Increment(const QString& fileName, const QByteArray& engineId, quint32& boots) {
    FolderLock lock(fileName);
    const int loaded = Load(fileName, engineId, boots);
    if (loaded < CannotOpen)
        return loaded;
    if (boots < MaximumBoots) // RFC 3414: the count stays at its maximum
        ++boots;
    return Save(fileName, engineId, boots);
}

QString Problem(const QString& fileName, int status) {
    const QFileInfo info(fileName);
    const QString path = info.absoluteFilePath();
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) == 0) {
        if (S_ISLNK(st.st_mode))
            return QStringLiteral("%1 is a symbolic link; it is not followed or replaced.").arg(path);
        if (S_ISDIR(st.st_mode))
            return QStringLiteral("%1 is a folder, not a file.").arg(path);
        if (!S_ISREG(st.st_mode))
            return QStringLiteral("%1 is not a regular file; it is not replaced.").arg(path);
        if (status == Malformed)
            return QStringLiteral("%1 holds a line for this program whose count is not a number.").arg(path);
        if (!(QFile::permissions(path) & QFileDevice::ReadOwner) || !QFile(path).open(QIODevice::ReadOnly))
            return QStringLiteral("%1 cannot be read; it is not replaced.").arg(path);
        if (!(QFile::permissions(path) & QFileDevice::WriteOwner))
            return QStringLiteral("%1 is read-only.").arg(path);
    }
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir())
        return QStringLiteral("The folder %1 does not exist.").arg(folder.absoluteFilePath());
    if (!folder.isWritable())
        return QStringLiteral("The folder %1 cannot be written to.").arg(folder.absoluteFilePath());
    return QStringLiteral("%1 could not be written.").arg(path);
}

QString StateFolder() {
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(base)) // XDG base directories ignore a relative path
        base = QDir::homePath() + QStringLiteral("/.local/state");
    const QString folder = QDir::cleanPath(base + QStringLiteral("/velmarn"));
    QString error; // told by whatever then fails to write there
    OvMakePrivateFolder(folder, error);
    return folder;
}

} // namespace OvBootCounter
