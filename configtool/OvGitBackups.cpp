#include "configtool/OvGitBackups.h"

#include "configtool/OvConfigDocument.h"
#include "configtool/OvConfigOptions.h"
#include "configtool/OvRunReport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <set>

namespace {

// What changed between two backups of a device: the objects, and "address" or "name" when
// the device was renumbered or renamed; "new" for its first backup, "rewritten" when the
// last one committed was no backup (edited by hand).
QStringList changesBetween(const QByteArray& before, const QByteArray& after) {
    if (before.isEmpty())
        return {QStringLiteral("new")};
    OvConfigDocument old, now;
    QString error;
    if (!OvConfigDocument::FromJson(before, old, error) || !OvConfigDocument::FromJson(after, now, error))
        return {QStringLiteral("rewritten")};
    QStringList changed = now.ChangedObjects(old);
    if (now.Address != old.Address)
        changed << QStringLiteral("address");
    if (now.Name != old.Name)
        changed << QStringLiteral("name");
    return changed.isEmpty() ? QStringList{QStringLiteral("rewritten")} : changed;
}

} // namespace

OvGitBackups::OvGitBackups(const QStringList& folders) {
    Program = QStandardPaths::findExecutable(QStringLiteral("git"));
    if (Program.isEmpty())
        throw OvUsageError(QStringLiteral("--git: no git command on PATH"));
    QString found;
    for (const QString& folder : std::set<QString>(folders.begin(), folders.end())) {
        Top = QFileInfo(folder).absoluteFilePath();
        QByteArray top;
        if (!Git({QStringLiteral("rev-parse"), QStringLiteral("--show-toplevel")}, &top))
            throw OvUsageError(QStringLiteral("--git: %1 is not in a git work tree").arg(folder));
        const QString here = QString::fromUtf8(top).trimmed();
        if (!found.isEmpty() && here != found)
            throw OvUsageError(
                QStringLiteral("--git: the backups are in two work trees, %1 and %2").arg(found, here));
        found = here;
    }
    Top = found;
    for (const char* key : {"user.name", "user.email"}) {
        QByteArray value;
        if (!Git({QStringLiteral("config"), QLatin1String(key)}, &value) || value.trimmed().isEmpty())
            throw OvUsageError(QStringLiteral("--git: the repository %1 has no %2 (git config %2 ...)")
                                   .arg(Top, QLatin1String(key)));
    }
}

bool OvGitBackups::Git(const QStringList& arguments, QByteArray* output) const {
    QProcess git;
    // File names are names, never patterns.
    git.start(Program,
              QStringList{QStringLiteral("--literal-pathspecs"), QStringLiteral("-C"), Top} + arguments);
    const bool ran = git.waitForFinished(-1) && git.exitStatus() == QProcess::NormalExit;
    if (output)
        *output = git.readAllStandardOutput();
    if (ran && git.exitCode() == 0)
        return true;
    Error = QString::fromLocal8Bit(git.readAllStandardError()).trimmed();
    if (Error.isEmpty())
        Error = git.errorString();
    return false;
}

void OvGitBackups::Add(const QString& label, const QString& file) {
    const QFileInfo info(file);
    const QString path = QDir(Top).relativeFilePath(QFileInfo(info.absolutePath()).canonicalFilePath() +
                                                    QLatin1Char('/') + info.fileName());
    Backups.push_back({label, path});
}

QString OvGitBackups::Message(QStringList& changedFiles) const {
    QStringList devices;
    for (const Backup& b : Backups) {
        QByteArray before;
        if (!Git({QStringLiteral("show"), QStringLiteral("HEAD:./") + b.Path}, &before))
            before.clear(); // a new backup, or a repository without commits
        QFile f(QDir(Top).filePath(b.Path));
        const QByteArray after = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        if (after == before)
            continue;
        changedFiles << b.Path;
        devices << QStringLiteral("%1 (%2)").arg(b.Label,
                                                 changesBetween(before, after).join(QStringLiteral(", ")));
    }
    if (devices.isEmpty())
        return {};
    return QStringLiteral("%1 changed: %2")
        .arg(OvCounted(devices.size(), "device"), devices.join(QStringLiteral(", ")));
}

bool OvGitBackups::Commit(QString& said) {
    QStringList files;
    const QString message = Message(files);
    if (message.isEmpty()) {
        said = QStringLiteral("git: no backup changed, nothing committed");
        return true;
    }
    const QStringList paths = QStringList{QStringLiteral("--")} + files;
    QByteArray commit;
    if (!Git(QStringList{QStringLiteral("add")} + paths) ||
        !Git(QStringList{QStringLiteral("commit"), QStringLiteral("-q"), QStringLiteral("-m"), message} +
             paths) ||
        !Git({QStringLiteral("rev-parse"), QStringLiteral("--short"), QStringLiteral("HEAD")}, &commit)) {
        said = QStringLiteral("git: cannot commit \"%1\": %2").arg(message, Error);
        return false;
    }
    said = QStringLiteral("git: committed %1: %2").arg(QString::fromUtf8(commit).trimmed(), message);
    return true;
}
