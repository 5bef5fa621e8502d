// velmarn-config run as a user would run it, against the simulated access point.
#pragma once

#include "SimulatorSuite.h"
#include "TestAgent.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

struct ToolRun {
    int Exit = -1;
    QString Out;
    QString Err;
};

class ConfigTool : public SimulatorSuite {
protected:
    QTemporaryDir Dir;

    QString file(const char* name) const { return Dir.filePath(QString::fromLatin1(name)); }
    // A file holding text, for pass phrases and hand-made backups.
    QString secret(const char* name, const QByteArray& text) const {
        QFile f(file(name));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(text);
        return f.fileName();
    }

    // The simulated access point's SNMPv3 user, its pass phrases from files.
    QStringList snmpV3() const {
        return {QStringLiteral("--version"),
                QStringLiteral("3"),
                QStringLiteral("--user"),
                QLatin1String(TestAgent::V3User),
                QStringLiteral("--auth-protocol"),
                QStringLiteral("SHA"),
                QStringLiteral("--auth-passphrase-file"),
                secret("auth.txt", TestAgent::V3AuthPass),
                QStringLiteral("--priv-protocol"),
                QStringLiteral("AES"),
                QStringLiteral("--priv-passphrase-file"),
                secret("priv.txt", TestAgent::V3PrivPass),
                QStringLiteral("--context"),
                QStringLiteral("qubsen")};
    }

    static ToolRun run(const QStringList& args) {
        QProcess p;
        p.start(QStringLiteral(VELMARN_CONFIG_TOOL), args);
        p.waitForFinished(60000);
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
    static QString at(const TestAgent& agent) { return agent.Endpoint(); }

    // Sets the value of the objects named in a backup file, as a user would.
    static void edit(const QString& path, const std::map<QString, QString>& values) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QJsonObject root = QJsonDocument::fromJson(f.readAll()).object();
        f.close();
        QJsonArray objects = root.value(QStringLiteral("objects")).toArray();
        for (int i = 0; i < objects.size(); ++i) {
            QJsonObject o = objects[i].toObject();
            const auto it = values.find(o.value(QStringLiteral("name")).toString());
            if (it != values.end()) {
                o.insert(QStringLiteral("value"), it->second);
                o.remove(QStringLiteral("text")); // it would disagree with the new value
            }
            objects[i] = o;
        }
        root.insert(QStringLiteral("objects"), objects);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QJsonDocument(root).toJson());
    }
};
