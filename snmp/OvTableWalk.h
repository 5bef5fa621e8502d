#pragma once

#include "snmp/OvAgentRead.h"

#include <map>

// One row of a walked table: its index (the sub-identifiers after the column's own) and
// one cell per column.
struct OvTableRow {
    OvOidPath Index;
    OvReadCells Cells;
};

// Reads columns that share an index (one table, or a table and its extension) without
// waiting: GETBULK for SNMPv2c and SNMPv3, GETNEXT for SNMPv1, every column still going
// in each request. Complete rows are handed on in index order as soon as every column
// has passed them. A column ends where the agent leaves it or says endOfMibView; an
// agent whose answers do not advance ends the read with -528.
class OvTableWalk : public OvAgentRead {
    Q_OBJECT
public:
    // Bindings asked for per GETBULK request, shared out among the columns still going.
    static constexpr int BindingsPerRequest = 60;

    OvTableWalk(const OvSNMPTarget& target, std::vector<OvReadObject> columns, QObject* parent = nullptr);

    void Start();
    int RowCount() const { return Delivered; }

Q_SIGNALS:
    void RowsArrived(const std::vector<OvTableRow>& rows);

private:
    struct ColumnState {
        OvOidPath Prefix;
        OvOidPath Last; // the column's last identifier seen; Prefix before the first
        int Syntax = 0;
        bool Done = false;
    };

    void RequestNext();
    void Answered(OvSNMPResult& result, const std::vector<size_t>& asked, int repetitions);
    // Stores the answer's bindings; false (and the read ended) for an answer that does
    // not advance.
    bool Store(const snmp_pdu* response, const std::vector<size_t>& asked);
    void Deliver(bool everything);
    // Ends the walk with code after handing on the rows that are complete.
    void Stop(int code);
    void Stop(int code, const QString& message);
    bool AllDone() const;

    std::vector<ColumnState> Columns;
    std::map<OvOidPath, OvReadCells> Pending; // rows some column may still add to
    int Repetitions = 0;                      // 0: as many as fit
    int Delivered = 0;
};
