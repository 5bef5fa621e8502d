#pragma once

#include "snmp/TSNMPSession.h"

#include "SessionFixture.h"
#include "TestAgent.h"

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// An snmpsim data file of an agent with `rows` interfaces, written at run time: ifTable
// and ifXTable with a different value in every column (counter c of row i holds
// c * 100000 + i, its 64-bit twin c * 1000000000 + i), row 4 a 10 Gbit/s interface
// (ifSpeed at its top, ifHighSpeed 10000), row 5 of ifType 117, and an ifAlias column
// that is sparse and holds what a hostile device sends: row 1 the octets FF FE 80 "alias"
// (no UTF-8), row 2 "a" NUL "b", row 3 an empty string, every 7th row "uplink-N", the
// others none. No routing, address or connection table: those views are empty.
inline QString WriteInterfaceTable(const QTemporaryDir& dir, int rows) {
    const QString path = dir.filePath(QStringLiteral("interfaces.snmprec"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return QString();
    auto line = [&f](const QString& oid, const char* type, const QString& value) {
        f.write((oid + QLatin1Char('|') + QLatin1String(type) + QLatin1Char('|') + value + QLatin1Char('\n'))
                    .toUtf8());
    };
    line(QStringLiteral("1.3.6.1.2.1.1.2.0"), "6", QStringLiteral("1.3.6.1.4.1.32473.2.9"));
    line(QStringLiteral("1.3.6.1.2.1.1.3.0"), "67", QStringLiteral("500000"));
    const QString ifTable = QStringLiteral("1.3.6.1.2.1.2.2.1.%1.%2");
    for (int c = 1; c <= 20; ++c)
        for (int i = 1; i <= rows; ++i) {
            const QString oid = ifTable.arg(c).arg(i);
            const QString n = QString::number(i);
            switch (c) {
            case 1:
                line(oid, "2", n);
                break;
            case 2:
                line(oid, "4", QStringLiteral("port-") + n);
                break;
            case 3:
                line(oid, "2", i == 5 ? QStringLiteral("117") : QStringLiteral("6"));
                break;
            case 4:
                line(oid, "2", QStringLiteral("1500"));
                break;
            case 5:
                line(oid, "66", i == 4 ? QStringLiteral("4294967295") : QStringLiteral("1000000000"));
                break;
            case 6:
                line(oid, "4x", QStringLiteral("02fc0000%1").arg(i, 4, 16, QLatin1Char('0')));
                break;
            case 7:
            case 8:
                line(oid, "2", QStringLiteral("1"));
                break;
            case 9:
                line(oid, "67", QString::number(i * 100));
                break;
            default:
                line(oid, "65", QString::number(c * 100000 + i));
                break;
            }
        }
    const QString ifXTable = QStringLiteral("1.3.6.1.2.1.31.1.1.1.%1.%2");
    for (int c : {1, 6, 7, 10, 11, 15, 18})
        for (int i = 1; i <= rows; ++i) {
            const QString oid = ifXTable.arg(c).arg(i);
            if (c == 1)
                line(oid, "4", QStringLiteral("name-") + QString::number(i));
            else if (c == 15)
                line(oid, "66", i == 4 ? QStringLiteral("10000") : QStringLiteral("1000"));
            else if (c != 18)
                line(oid, "70", QString::number(c * 1000000000LL + i));
            else if (i == 1)
                line(oid, "4x", QStringLiteral("fffe80616c696173"));
            else if (i == 2)
                line(oid, "4x", QStringLiteral("610062"));
            else if (i == 3)
                line(oid, "4", QString());
            else if (i % 7 == 0)
                line(oid, "4", QStringLiteral("uplink-") + QString::number(i));
        }
    return path;
}

// A suite on an snmpsim agent serving WriteInterfaceTable(Interfaces rows), shared by its tests.
class InterfaceTableSuite : public ::testing::Test {
protected:
    static constexpr int Interfaces = 40;
    static void SetUpTestSuite() {
        Dir = new QTemporaryDir;
        QString error;
        Agent = TestAgent::StartSimulator(&error, WriteInterfaceTable(*Dir, Interfaces)).release();
        ASSERT_NE(Agent, nullptr) << error.toStdString();
    }
    static void TearDownTestSuite() {
        delete Agent;
        delete Dir;
        Agent = nullptr;
        Dir = nullptr;
    }
    // The default target pointed at the agent.
    static OvSNMPTarget Target(quint8 version = 1) {
        UseAgent(Agent->Address(), Agent->Port(), version);
        TSNMPSession::DefaultTarget().Security.ReadCommunity = QLatin1String(TestAgent::ReadCommunity);
        return TSNMPSession::DefaultTarget();
    }
    static inline TestAgent* Agent = nullptr;
    static inline QTemporaryDir* Dir = nullptr;
};
