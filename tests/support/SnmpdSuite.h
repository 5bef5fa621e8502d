#pragma once

#include "snmp/TSNMPSession.h"

#include "SessionFixture.h"
#include "SharedAgents.h"

#include <QStringList>
#include <gtest/gtest.h>

// A test suite on the snmpd (real MIB-II of this machine) the whole program shares
// (SharedAgents), on a loopback port; the default target points at it over SNMPv2c.
class SnmpdSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        QString error;
        Agent = SharedAgents::Snmpd(&error);
        ASSERT_NE(Agent, nullptr) << error.toStdString();
    }
    void SetUp() override {
        ASSERT_NE(Agent, nullptr);
        UseAgent(Agent->Address(), Agent->Port(), 1);
        TSNMPSession::DefaultTarget().Security.ReadCommunity = QLatin1String(TestAgent::ReadCommunity);
        TSNMPSession::DefaultTarget().Security.WriteCommunity = QLatin1String(TestAgent::WriteCommunity);
    }
    static OvSNMPTarget V2c() { return TSNMPSession::DefaultTarget(); }

    // The values net-snmp's snmpwalk shows for a subtree, in order.
    static QStringList WalkedValues(const QString& oid) {
        QStringList values;
        const QString text = Agent->Tool(
            QStringLiteral("snmpwalk"),
            {QStringLiteral("-c"), QLatin1String(TestAgent::ReadCommunity), QStringLiteral("-Oqv")}, {oid});
        for (QString line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            if (line.startsWith(QLatin1Char('"')) && line.endsWith(QLatin1Char('"')))
                line = line.mid(1, line.size() - 2);
            values << line;
        }
        return values;
    }

    static inline TestAgent* Agent = nullptr;
};
