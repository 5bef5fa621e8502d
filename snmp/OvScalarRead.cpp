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
        Absent.push_back(!ParseOid(o.Oid, path));
        Paths.push_back(std::move(path));
    }
}

void OvScalarRead::Start() {
    Begin();
    Cells.assign(Objects.size(), std::nullopt);
    for (size_t i = 0; i < Objects.size(); ++i)
        Absent[i] = Paths[i].empty();
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
    OvPduPtr pdu = OvSnmpEngine::NewPdu(SNMP_MSG_GET);
    for (size_t i : asked)
        AddNull(pdu.get(), Paths[i]);
    Send(std::move(pdu), [this, asked](OvSnmpResult& result) { Answered(result, asked); });
}

void OvScalarRead::Answered(OvSnmpResult& result, const std::vector<size_t>& asked) {
    const int badIndex = result.ErrorIndex;
    if (result.Code == OvCode::NoSuchName && badIndex >= 1 && static_cast<size_t>(badIndex) <= asked.size()) {
        Absent[asked[static_cast<size_t>(badIndex - 1)]] = true;
        RequestMissing();
        return;
    }
    if (result.Code != 0) {
        Finish(result.Code);
        return;
    }
    size_t position = 0;
    for (const variable_list* vb = Bindings(result.Response.get()); vb && position < asked.size();
         vb = Next(vb), ++position) {
        const size_t i = asked[position];
        if (OvIsException(vb) || NameOf(vb) != Paths[i])
            continue;
        try {
            Cells[i] = OvReceivedText(Objects[i].Syntax, vb);
        } catch (const OvException&) {
            Cells[i] = QString();
        }
    }
    if (position < asked.size()) {
        Finish(OvCode::InvalidPdu);
        return;
    }
    const bool none = std::none_of(Cells.begin(), Cells.end(), [](const auto& c) { return c.has_value(); });
    Finish(none ? OvCode::NoSuchName : 0);
}
