#pragma once

#include "SessionFixture.h"
#include "SharedAgents.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <memory>

// A test suite on the simulated access point the whole program shares (SharedAgents),
// started before the first test that needs it; the default target points at it.
class SimulatorSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        QString error;
        ASSERT_NE(SharedAgents::Simulator(&error), nullptr) << error;
    }
    void SetUp() override {
        ASSERT_NE(Sim(), nullptr);
        UseAgent(Sim()->Address(), Sim()->Port());
    }

    static TestAgent* Sim() { return SharedAgents::Simulator(nullptr); }
    // net-snmp's snmpd for the standard MIB-II tables, started on first use.
    static TestAgent* Snmpd() { return SharedAgents::Snmpd(nullptr); }
    static TestAgent* StartSnmpd() {
        QString error;
        TestAgent* agent = SharedAgents::Snmpd(&error);
        EXPECT_NE(agent, nullptr) << error;
        return agent;
    }
    // snmpget of one object with the read community: the tool's line.
    static QString ToolGet(const QString& oid) {
        return Sim()
            ->Tool(QStringLiteral("snmpget"), {QStringLiteral("-c"), QStringLiteral("qubsen")}, {oid})
            .trimmed();
    }
    // snmpset of one object with the write community.
    static void ToolSet(const QString& oid, const QString& type, const QString& value) {
        Sim()->Tool(QStringLiteral("snmpset"), {QStringLiteral("-c"), QStringLiteral("vortani")},
                    {oid, type, value});
    }
};
