#include "snmp/OvTableWalk.h"

#include "errors/OvErrors.h"
#include "snmp/OvSNMPRequest.h"
#include "snmp/OvValueText.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <algorithm>

namespace {
bool startsWith(const OvOidPath& path, const OvOidPath& prefix) {
    return path.size() > prefix.size() && std::equal(prefix.begin(), prefix.end(), path.begin());
}
} // namespace

OvTableWalk::OvTableWalk(const OvSNMPTarget& target, std::vector<OvReadObject> columns, QObject* parent)
    : OvAgentRead(target, parent) {
    for (const OvReadObject& c : columns) {
        ColumnState state;
        state.Syntax = c.Syntax;
        ParseOid(c.Oid, state.Prefix); // left empty when invalid: such a column has no rows
        Columns.push_back(std::move(state));
    }
}

void OvTableWalk::Start() {
    Begin();
    Pending.clear();
    Delivered = 0;
    for (ColumnState& c : Columns) {
        c.Last = c.Prefix;
        c.Done = c.Prefix.empty();
    }
    Repetitions = 0;
    RequestNext();
}

bool OvTableWalk::AllDone() const {
    return std::all_of(Columns.begin(), Columns.end(), [](const ColumnState& c) { return c.Done; });
}

void OvTableWalk::RequestNext() {
    if (AllDone()) {
        Deliver(true);
        Finish(0);
        return;
    }
    std::vector<size_t> asked;
    for (size_t i = 0; i < Columns.size(); ++i)
        if (!Columns[i].Done)
            asked.push_back(i);
    const bool bulk = Target.Security.Version != 0;
    const int fitting = std::max(1, BindingsPerRequest / static_cast<int>(asked.size()));
    const int repetitions = Repetitions > 0 ? std::min(Repetitions, fitting) : fitting;
    OvPduPtr pdu = OvSNMPEngine::NewPdu(bulk ? SNMP_MSG_GETBULK : SNMP_MSG_GETNEXT);
    if (bulk) {
        pdu->non_repeaters = 0;
        pdu->max_repetitions = repetitions;
    }
    for (size_t i : asked)
        AddNull(pdu.get(), Columns[i].Last);
    Send(std::move(pdu),
         [this, asked, repetitions](OvSNMPResult& result) { Answered(result, asked, repetitions); });
}

void OvTableWalk::Answered(OvSNMPResult& result, const std::vector<size_t>& asked, int repetitions) {
    const int refused = Target.Security.Version == 0 ? RefusedItem(result, asked) : -1;
    if (refused >= 0) {
        // SNMPv1 ends a column this way, and refuses the whole request with it.
        Columns[static_cast<size_t>(refused)].Done = true;
    } else if (result.Code == OvCode::TooBig && repetitions > 1) {
        Repetitions = repetitions / 2;
    } else if (result.Code != 0) {
        Stop(result.Code, result.Message());
        return;
    } else if (!Store(result.Response.get(), asked)) {
        return;
    } else if (Delivered + static_cast<int>(Pending.size()) > OvMaxTableRows) {
        Stop(OvCode::TooManyRows);
        return;
    }
    Deliver(false);
    RequestNext();
}

bool OvTableWalk::Store(const snmp_pdu* response, const std::vector<size_t>& asked) {
    bool progress = false;
    size_t position = 0;
    for (const variable_list* vb = response->variables; vb; vb = vb->next_variable, ++position) {
        const size_t index = asked[position % asked.size()];
        ColumnState& column = Columns[index];
        if (column.Done)
            continue;
        OvOidPath name = NameOf(vb);
        if (OvIsException(vb) || !startsWith(name, column.Prefix)) {
            column.Done = true;
            progress = true;
            continue;
        }
        if (!(column.Last < name)) {
            // The same or an earlier identifier again: this agent would be walked for ever.
            Stop(OvCode::WalkNotAdvancing);
            return false;
        }
        OvReadCells& cells =
            Pending[OvOidPath(name.begin() + static_cast<long>(column.Prefix.size()), name.end())];
        cells.resize(Columns.size());
        if (OvWireTypeFits(column.Syntax, vb))
            cells[index] = TextOf(column.Syntax, vb);
        else
            ++WrongType; // the row is there, this cell is not
        column.Last = std::move(name);
        progress = true;
    }
    if (!progress) {
        // No binding at all, or none for a column still going: asking again would bring the same.
        Stop(position == 0 ? OvCode::InvalidPdu : OvCode::WalkNotAdvancing);
        return false;
    }
    return true;
}

void OvTableWalk::Stop(int code) {
    Stop(code, OvErrorMessage(code));
}

void OvTableWalk::Stop(int code, const QString& message) {
    Deliver(false); // the rows read before keep their place
    Finish(code, message);
}

void OvTableWalk::Deliver(bool everything) {
    // A row is complete when every column still going has passed its index.
    OvOidPath frontier;
    bool bounded = false;
    if (!everything) {
        for (const ColumnState& c : Columns) {
            if (c.Done)
                continue;
            const OvOidPath index(c.Last.begin() + static_cast<long>(c.Prefix.size()), c.Last.end());
            if (!bounded || index < frontier)
                frontier = index;
            bounded = true;
        }
    }
    std::vector<OvTableRow> rows;
    auto it = Pending.begin();
    for (; it != Pending.end() && (!bounded || !(frontier < it->first)); ++it)
        rows.push_back(OvTableRow{it->first, std::move(it->second)});
    Pending.erase(Pending.begin(), it);
    if (rows.empty())
        return;
    Delivered += static_cast<int>(rows.size());
    Q_EMIT RowsArrived(rows);
}
