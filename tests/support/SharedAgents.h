#pragma once

#include "TestAgent.h"

#include <QString>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

// The agents the suites of one test program share: each starts on first use and stops
// after the last test. Every start-up is slow on a busy machine, so a program pays for
// each kind once, and a start that failed is not tried again by every later test.
// Tests that write to a shared agent put back what they changed.
class SharedAgents : public ::testing::Environment {
public:
    // The simulated access point; null and the reason in error when it did not start.
    static TestAgent* Simulator(QString* error);
    // net-snmp's snmpd with the standard MIB-II tables.
    static TestAgent* Snmpd(QString* error);

    void TearDown() override;

private:
    struct Slot {
        std::unique_ptr<TestAgent> Agent;
        bool Tried = false;
        QString Error;
    };
    static Slot& simulator();
    static Slot& snmpd();
    static TestAgent* started(Slot& slot, const std::function<std::unique_ptr<TestAgent>(QString*)>& start,
                              QString* error);
};
