#include "configtool/OvJournal.h"

#include "configtool/OvConfigOptions.h"

#include <QDateTime>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

OvJournal::OvJournal(const QString& fileName) : File(fileName) {
    // A pipe or device (a terminal, /dev/stderr) is written to; only a file is appended to.
    const QFileInfo info(fileName);
    const QIODevice::OpenMode append =
        !info.exists() || info.isFile() ? QIODevice::Append : QIODevice::NotOpen;
    if (!File.open(QIODevice::WriteOnly | append | QIODevice::Unbuffered))
        throw OvUsageError(QStringLiteral("cannot write %1: %2").arg(fileName, File.errorString()));
}

void OvJournal::Group(const QString& device, const QString& group, const QStringList& objects,
                      const QString& outcome) {
    Append(QJsonObject{{QStringLiteral("device"), device},
                       {QStringLiteral("group"), group},
                       {QStringLiteral("objects"), QJsonArray::fromStringList(objects)},
                       {QStringLiteral("outcome"), outcome}});
}

void OvJournal::Device(const QString& device, const QString& outcome, int exitCode, const QString& message) {
    Append(QJsonObject{{QStringLiteral("device"), device},
                       {QStringLiteral("outcome"), outcome},
                       {QStringLiteral("exit"), exitCode},
                       {QStringLiteral("message"), message}});
}

void OvJournal::Append(const QJsonObject& fields) {
    QJsonObject line = fields;
    line.insert(QStringLiteral("time"), QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
    // One write per line: lines of a killed run are whole.
    const QByteArray text = QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n';
    if (File.write(text) != text.size() && WriteError.isEmpty())
        WriteError = File.errorString();
}
