#include "snmp/OvScalarRead.h"

#include "errors/OvErrors.h"
#include "snmp/OvValueText.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <algorithm>

OvScalarRead::OvScalarRead(const OvSNMPTarget& target, std::vector<OvReadObject> objects, QObject* parent)
    : OvAgentRead(target, parent), Objects(std::move(objects)) {
    for (const OvReadObject& o : Objects) {
        OvOidPath path;
        ParseOid(o.Oid, path); // left empty when invalid: such an object is absent
        Paths.push_back(std::move(path));
    }
}

void OvScalarRead::Start() {
    Begin();
    Cells.assign(Objects.size(), std::nullopt);
    Absent.clear();
    for (const OvOidPath& path : Paths)
        Absent.push_back(path.empty());
    RequestMissing();
}

void OvScalarRead::RequestMissing() {
    std::vector<size_t> asked;
    for (size_t i = 0; i < Objects.size(); ++i)
        if (!Absent[i])
            asked.push_back(i);
    if (asked.empty()) {
        Finish(OvCode::NoSuchName);
        return;
    }
    OvPduPtr pdu = OvSNMPEngine::NewPdu(SNMP_MSG_GET);
    for (size_t i : asked)
        AddNull(pdu.get(), Paths[i]);
    Send(std::move(pdu), [this, asked](OvSNMPResult& result) { Answered(result, asked); });
}

void OvScalarRead::Answered(OvSNMPResult& result, const std::vector<size_t>& asked) {
    const int refused = RefusedItem(result, asked);
    if (refused >= 0) { // SNMPv1: asked again without it
        Absent[static_cast<size_t>(refused)] = true;
        RequestMissing();
        return;
    }
    if (result.Code != 0) {
        Finish(result.Code, result.Message());
        return;
    }
    size_t position = 0;
    for (const variable_list* vb = result.Response ? result.Response->variables : nullptr;
         vb && position < asked.size(); vb = vb->next_variable, ++position) {
        const size_t i = asked[position];
        if (OvIsException(vb))
            continue; // the agent has no such object: its cell stays absent
        if (NameOf(vb) != Paths[i] || !OvWireTypeFits(Objects[i].Syntax, vb)) {
            // A value of another object or of another type: the answer is wrong, say where.
            Finish(OvCode::NoSuchName, OvException(OvCode::NoSuchName).ForItem(Objects[i].Oid).message());
            return;
        }
        Cells[i] = TextOf(Objects[i].Syntax, vb);
    }
    if (position < asked.size()) {
        Finish(OvCode::InvalidPdu);
        return;
    }
    const bool none = std::none_of(Cells.begin(), Cells.end(), [](const auto& c) { return c.has_value(); });
    Finish(none ? OvCode::NoSuchName : 0);
}
