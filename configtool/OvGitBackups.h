#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// --git: the backups of a run committed into the git work tree that holds them, once per run
// and only when one changed, with the repository's own identity. Only files that were
// written are staged: a device that failed keeps its last committed backup.
class OvGitBackups {
public:
    // The repository of the backups' folders; raises OvUsageError when git is not on PATH,
    // a folder is in no work tree (or they are in several) or the repository has no
    // user.name or user.email.
    explicit OvGitBackups(const QStringList& folders);

    // A device whose backup was written to file; label names it in the message.
    void Add(const QString& label, const QString& file);
    // Commits the backups that differ from the last commit. False, with the reason in said,
    // when git refused; otherwise said tells what was committed, or that nothing changed.
    bool Commit(QString& said);

private:
    // The commit message for the backups that changed: "2 devices changed: ap7
    // (dot11RTSThreshold), ap9 (dot11DesiredSSID)"; empty when none did.
    QString Message(QStringList& changedFiles) const;
    // Runs git in the work tree; false, with its message in Error, when it fails.
    bool Git(const QStringList& arguments, QByteArray* output = nullptr) const;

    QString Program;
    QString Top;
    struct Backup {
        QString Label;
        QString Path; // in the work tree
    };
    std::vector<Backup> Backups;
    mutable QString Error;
};
