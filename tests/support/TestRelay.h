#pragma once

#include "TestAgent.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <vector>

// A relay in front of an agent that delays, loses or refuses what its mode says (see
// relay.py), and records every SET it saw by request ID: a resent SET counts once.
class TestRelay {
public:
    TestRelay(const TestAgent& agent, const QString& mode, double delaySeconds = 0)
        : RelayPort(TestAgent::FreeUdpPort()) {
        Process.start(QStringLiteral("/usr/bin/python3"),
                      {QStringLiteral(VELMARN_TEST_SUPPORT "/relay.py"), QString::number(RelayPort),
                       QString::number(agent.Port()), mode, Record(), QString::number(delaySeconds)});
        Process.waitForReadyRead(TestAgent::StartUpLimitMs); // "ready"
    }
    ~TestRelay() {
        Process.kill();
        Process.waitForFinished(2000);
    }
    quint16 Port() const { return RelayPort; }
    // Per SET that reached the relay, its bindings as "name=value" (octet strings in hex).
    std::vector<QStringList> Sets() const {
        std::vector<QStringList> sets;
        QFile f(Record());
        if (f.open(QIODevice::ReadOnly))
            for (const QJsonValue& set : QJsonDocument::fromJson(f.readAll()).array()) {
                QStringList bindings;
                for (const QJsonValue& b : set.toArray())
                    bindings << b[0].toString() + QLatin1Char('=') + b[1].toString();
                sets.push_back(bindings);
            }
        return sets;
    }

private:
    QString Record() const { return Dir.filePath(QStringLiteral("sets.json")); }
    QTemporaryDir Dir;
    quint16 RelayPort;
    QProcess Process;
};
