#pragma once

#include "snmp/OvAgentRead.h"

// Reads single objects (full instance identifiers) in one GET without waiting. Objects the
// agent does not have stay absent: SNMPv2c/v3 say so per binding, SNMPv1 refuses the
// request and is asked again without them. When none is there the read ends with -102.
class OvScalarRead : public OvAgentRead {
    Q_OBJECT
public:
    OvScalarRead(const OvSNMPTarget& target, std::vector<OvReadObject> objects, QObject* parent = nullptr);

    void Start();
    const OvReadCells& Values() const { return Cells; }

private:
    void RequestMissing();
    void Answered(OvSNMPResult& result, const std::vector<size_t>& asked);

    std::vector<OvReadObject> Objects;
    std::vector<OvOidPath> Paths;
    std::vector<bool> Absent;
    OvReadCells Cells;
};
