#include "SharedAgents.h"

SharedAgents::Slot& SharedAgents::simulator() {
    static Slot slot;
    return slot;
}

SharedAgents::Slot& SharedAgents::snmpd() {
    static Slot slot;
    return slot;
}

TestAgent* SharedAgents::started(Slot& slot, const std::function<std::unique_ptr<TestAgent>(QString*)>& start,
                                 QString* error) {
    if (!slot.Tried) {
        slot.Tried = true;
        slot.Agent = start(&slot.Error);
    }
    if (error)
        *error = slot.Error;
    return slot.Agent.get();
}

TestAgent* SharedAgents::Simulator(QString* error) {
    return started(
        simulator(), [](QString* e) { return TestAgent::StartSimulator(e); }, error);
}

TestAgent* SharedAgents::Snmpd(QString* error) {
    return started(
        snmpd(), [](QString* e) { return TestAgent::StartSnmpd(e); }, error);
}

void SharedAgents::TearDown() {
    // Stopped while the application object still exists, not at static destruction.
    simulator().Agent.reset();
    snmpd().Agent.reset();
}
