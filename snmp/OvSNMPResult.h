#pragma once

#include <QString>
#include <functional>
#include <memory>

struct snmp_pdu;

// Frees a net-snmp PDU.
struct OvPduDeleter {
    void operator()(snmp_pdu* pdu) const;
};
using OvPduPtr = std::unique_ptr<snmp_pdu, OvPduDeleter>;

// What one request came back with: a framework code (0 = success) and, when the agent
// answered, its response PDU (owned by the result).
struct OvSNMPResult {
    int Code = 0;
    int ErrorIndex = 0;
    OvPduPtr Response;
    // What the engine knows beyond the code, said after its message (empty: nothing).
    QString Hint;

    // The code's message, and the hint after it.
    QString Message() const;
};

// What runs once when a request has its result.
using OvCompletion = std::function<void(OvSNMPResult&)>;

// Whether a completion may run inside a wait that runs nothing else of the program: always
// (the engine's own steps, a synchronous request), or once its requester says so (one being
// destroyed, whose completions then only count what is still due).
struct OvSafeToRun {
    OvSafeToRun() = default;
    OvSafeToRun(bool always) : Always(always) {}
    OvSafeToRun(std::shared_ptr<const bool> when) : When(std::move(when)) {}
    explicit operator bool() const { return Always || (When && *When); }

    bool Always = false;
    std::shared_ptr<const bool> When;
};
