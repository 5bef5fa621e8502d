#include "notify/OvNotificationLog.h"

#include "snmp/OvBootCounter.h"
#include "values/OvPrivateFolder.h"

#include <QFile>
#include <QFileInfo>
#include <sys/file.h>
#include <sys/stat.h>

#include <QDir>
#include <QJsonDocument>
#include <QRegularExpression>
#include <deque>

OvNotificationLog::OvNotificationLog(const QString& address, const QString& folder, qint64 maxBytes,
                                     int keptFiles)
    : MaxBytes(maxBytes), KeptFiles(keptFiles) {
    // An address or name becomes part of a file name: nothing that leaves the folder.
    QString safe = address;
    safe.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._:-]")), QStringLiteral("_"));
    if (safe.isEmpty() || safe.startsWith(QLatin1Char('.')))
        safe.prepend(QLatin1Char('_'));
    FilePath = (folder.isEmpty() ? DefaultFolder() : folder) + QStringLiteral("/notifications-") + safe +
               QStringLiteral(".jsonl");
}

QString OvNotificationLog::DefaultFolder() {
    return OvBootCounter::StateFolder(); // the program's one state folder
}

QStringList OvNotificationLog::OlderPaths() const {
    QStringList paths;
    for (int i = 1; i < KeptFiles; ++i) {
        const QString path = FilePath + QLatin1Char('.') + QString::number(i);
        if (QFile::exists(path))
            paths << path;
    }
    return paths;
}

bool OvNotificationLog::Open(QString& error) {
    if (File && File->Descriptor() >= 0)
        return true;
    if (!OvMakePrivateFolder(QFileInfo(FilePath).absolutePath(), error))
        return false;
    File = std::make_unique<OvLineAppender>(FilePath, OvLineAppender::Place::Private);
    if (!File->Open()) {
        error = File->Error();
        return false;
    }
    return true;
}

bool OvNotificationLog::IsCurrent(qint64& size) const {
    struct stat open {};
    struct stat named {};
    if (::fstat(File->Descriptor(), &open) != 0)
        return false;
    size = open.st_size;
    return ::lstat(QFile::encodeName(FilePath).constData(), &named) == 0 && named.st_ino == open.st_ino &&
           named.st_dev == open.st_dev;
}

bool OvNotificationLog::Rotate(QString& error) {
    // The lock is the open file's: whoever holds it rotates; the others find the file
    // gone from its name afterwards and open the new one.
    const int fd = File->Descriptor();
    ::flock(fd, LOCK_EX);
    qint64 size = 0;
    if (IsCurrent(size)) {
        QFile::remove(FilePath + QLatin1Char('.') + QString::number(KeptFiles - 1));
        for (int i = KeptFiles - 2; i >= 1; --i)
            QFile::rename(FilePath + QLatin1Char('.') + QString::number(i),
                          FilePath + QLatin1Char('.') + QString::number(i + 1));
        if (KeptFiles > 1)
            QFile::rename(FilePath, FilePath + QStringLiteral(".1"));
        else
            QFile::remove(FilePath);
    }
    ::flock(fd, LOCK_UN);
    File->Close();
    return Open(error);
}

bool OvNotificationLog::Append(const OvNotification& notification, QString& error) {
    QByteArray line = notification.ToJsonLine();
    line.chop(1); // the appender ends the line
    if (!Open(error))
        return false;
    qint64 size = 0;
    if (!IsCurrent(size)) { // rotated or removed by another module: the new file
        File->Close();
        if (!Open(error))
            return false;
        if (!IsCurrent(size)) {
            error = QStringLiteral("it was moved away while being opened");
            return false;
        }
    }
    if (size > 0 && size + line.size() + 1 > MaxBytes && !Rotate(error))
        return false;
    if (!File->Append(line)) {
        error = File->Error();
        return false;
    }
    return true;
}

std::vector<OvNotification> OvNotificationLog::Read(const QString& path, int max) {
    // A pipe would hold the module until somebody writes to it; a link may lead anywhere.
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isFile())
        return {};
    QFile file(path);
    std::deque<QByteArray> lines;
    if (file.open(QIODevice::ReadOnly)) {
        while (!file.atEnd()) {
            lines.push_back(file.readLine());
            if (static_cast<int>(lines.size()) > max)
                lines.pop_front();
        }
    }
    std::vector<OvNotification> read;
    for (const QByteArray& line : lines) {
        const QJsonDocument doc = QJsonDocument::fromJson(line);
        if (doc.isObject())
            read.push_back(OvNotification::FromJson(doc.object()));
    }
    return read;
}
