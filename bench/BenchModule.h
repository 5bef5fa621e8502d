#pragma once

#include "TestAgent.h"
#include "app/TMainForm.h"

#include <cstdio>
#include <memory>

// The simulated access point for a benchmark; null, and the reason on stderr, when it
// does not start.
inline std::unique_ptr<TestAgent> StartSimulatedDevice() {
    QString error;
    auto sim = TestAgent::StartSimulator(&error);
    if (!sim)
        std::fprintf(stderr, "snmpsimd: %s\n", qPrintable(error));
    return sim;
}

// The module's main window polling that device over SNMPv2c, shown.
inline std::unique_ptr<TMainForm> ShowModule(const TestAgent& device) {
    auto form = std::make_unique<TMainForm>(QStringList{QStringLiteral("/I127.0.0.1"),
                                                        QStringLiteral("/t") + QString::number(device.Port()),
                                                        QStringLiteral("/v1")});
    form->show();
    return form;
}
