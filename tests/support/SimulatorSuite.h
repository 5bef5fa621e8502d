#pragma once

#include "SessionFixture.h"
#include "TestAgent.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <memory>

// A test suite whose tests share one simulated access point, started before the first
// test and stopped after the last; the default target points at it.
class SimulatorSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        QString error;
        Sim() = TestAgent::StartSimulator(&error);
        ASSERT_NE(Sim(), nullptr) << error;
    }
    static void TearDownTestSuite() {
        Sim().reset();
        Snmpd().reset();
    }
    void SetUp() override {
        ASSERT_NE(Sim(), nullptr);
        UseAgent(Sim()->Address(), Sim()->Port());
    }

    static std::unique_ptr<TestAgent>& Sim() {
        static std::unique_ptr<TestAgent> agent;
        return agent;
    }
    // net-snmp's snmpd for the standard MIB-II tables, started on first use.
    static std::unique_ptr<TestAgent>& Snmpd() {
        static std::unique_ptr<TestAgent> agent;
        return agent;
    }
    static TestAgent* StartSnmpd() {
        if (!Snmpd()) {
            QString error;
            Snmpd() = TestAgent::StartSnmpd(&error);
            EXPECT_NE(Snmpd(), nullptr) << error;
        }
        return Snmpd().get();
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
