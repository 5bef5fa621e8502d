#include "notify/OvNotificationLog.h"

#include "snmp/OvBootCounter.h"

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
    if (File.isOpen())
        return true;
    QDir().mkpath(QFileInfo(FilePath).absolutePath());
    File.setFileName(FilePath);
    // Unbuffered: each line goes to the system in one write, never in parts.
    if (!File.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        error = File.errorString();
        return false;
    }
    Size = File.size();
    return true;
}

void OvNotificationLog::Rotate() {
    File.close();
    QFile::remove(FilePath + QLatin1Char('.') + QString::number(KeptFiles - 1));
    for (int i = KeptFiles - 2; i >= 1; --i)
        QFile::rename(FilePath + QLatin1Char('.') + QString::number(i),
                      FilePath + QLatin1Char('.') + QString::number(i + 1));
    if (KeptFiles > 1)
        QFile::rename(FilePath, FilePath + QStringLiteral(".1"));
    else
        QFile::remove(FilePath);
}

bool OvNotificationLog::Append(const OvNotification& notification, QString& error) {
    const QByteArray line = notification.ToJsonLine();
    if (!Open(error))
        return false;
    if (Size > 0 && Size + line.size() > MaxBytes) {
        Rotate();
        if (!Open(error))
            return false;
    }
    if (File.write(line) != line.size()) {
        error = File.errorString();
        Size = File.size();
        return false;
    }
    Size += line.size();
    return true;
}

std::vector<OvNotification> OvNotificationLog::Read(const QString& path, int max) {
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
