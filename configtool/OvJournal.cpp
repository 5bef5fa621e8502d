#include "configtool/OvJournal.h"

#include "configtool/OvConfigOptions.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

OvJournal::OvJournal(const QString& fileName, std::map<QString, QString> names)
    : File(fileName), Names(std::move(names)) {
    if (!File.Open())
        throw OvUsageError(QStringLiteral("cannot write %1: %2").arg(fileName, File.Error()));
}

void OvJournal::Group(const QString& device, const QString& group, const QStringList& objects,
                      const QString& outcome, const QJsonArray& values) {
    QJsonObject line{{QStringLiteral("device"), device},
                     {QStringLiteral("group"), group},
                     {QStringLiteral("objects"), QJsonArray::fromStringList(objects)},
                     {QStringLiteral("outcome"), outcome}};
    if (!values.isEmpty())
        line.insert(QStringLiteral("values"), values);
    Append(line);
}

void OvJournal::Device(const QString& device, const QString& outcome, int exitCode, const QString& message) {
    Append(QJsonObject{{QStringLiteral("device"), device},
                       {QStringLiteral("outcome"), outcome},
                       {QStringLiteral("exit"), exitCode},
                       {QStringLiteral("message"), message}});
}

void OvJournal::Append(const QJsonObject& fields) {
    QJsonObject line = fields;
    if (const auto name = Names.find(line.value(QStringLiteral("device")).toString()); name != Names.end()) {
        line.insert(QStringLiteral("address"), name->first);
        line.insert(QStringLiteral("device"), name->second);
    }
    line.insert(QStringLiteral("time"), QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
    // Whole lines only: those of a killed run, and those around one the disk refused.
    if (!File.Append(QJsonDocument(line).toJson(QJsonDocument::Compact)) && WriteError.isEmpty())
        WriteError = File.Error();
}
