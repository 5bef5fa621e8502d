#pragma once

#include "mib/OvMibViews.h"
#include "snmp/OvSNMPTarget.h"

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

class OvAgentRead;
struct OvTableRow;

// One row of a view as shown and exported.
// A cell that is a null QString is one the agent has no value for (see OvMibText.h).
struct OvMibRow {
    QString Key; // the same row in the next read has the same key
    QStringList Cells;
    std::vector<int> CounterBits; // per cell: 32 or 64 for a counter, else 0 (or absent)

    int BitsOf(int cell) const {
        return cell >= 0 && static_cast<size_t>(cell) < CounterBits.size()
                   ? CounterBits[static_cast<size_t>(cell)]
                   : 0;
    }
};

// Reads one view once without waiting: its objects in one GET, or its table with the
// bulk walk (trying the view's tables in order until one has rows). Rows are handed on
// as they arrive, after the titles of the table they come from. A table the agent has no
// row of reads as empty (over SNMP an empty table and a missing one answer alike): the
// first table's titles, no row, code 0. Scalar views fail when the agent has none of
// their objects.
class OvMibReader : public QObject {
    Q_OBJECT
public:
    OvMibReader(const OvMibView& view, const OvSNMPTarget& target, QObject* parent = nullptr);
    ~OvMibReader() override;

    // Starts a read; one still running is dropped.
    void Read();
    bool IsReading() const;
    // Cells of the last read whose answer was of another type than the column's: shown
    // and exported as missing.
    int WrongTypeCells() const;
    const OvMibView& View() const { return ViewInfo; }
    const QStringList& Titles() const { return CurrentTitles; }
    // The column that holds counter values, -1 for views without counters.
    int ValueColumn() const;
    // The columns the interface counters view reads: the keys, the speeds, then each
    // counter's 64-bit twin where it has one and the version is not SNMPv1, else its
    // 32-bit column.
    static std::vector<const TSNMPVarInfo*> InterfaceColumns(bool wide);

Q_SIGNALS:
    void TitlesChanged(const QStringList& titles);
    void RowsArrived(const std::vector<OvMibRow>& rows);
    void Finished(int code, const QString& message);

private:
    void ReadScalars();
    void ReadTable(size_t source);
    // Reads sysUpTime first where the table shows a TimeStamp as the time since.
    void ReadTableAt(size_t source);
    void ReadInterfaceCounters();
    void SetTitles(const QStringList& titles);
    std::vector<OvMibRow> TableRows(const OvMibTableSource& source,
                                    const std::vector<OvTableRow>& rows) const;
    std::vector<OvMibRow> InterfaceRows(const std::vector<OvTableRow>& rows) const;
    using RowMaker = std::function<std::vector<OvMibRow>(const std::vector<OvTableRow>&)>;
    // Walks columns, handing on their rows as makeRows shows them after the titles;
    // whenEmpty runs instead of Finished when the agent has no row.
    void Walk(const std::vector<const TSNMPVarInfo*>& columns, const QStringList& titles, RowMaker makeRows,
              std::function<void()> whenEmpty);
    // Replaces the running read; the old one's answers are dropped with it.
    template <class Kind> Kind* Begin(std::unique_ptr<Kind> read);

    const OvMibView& ViewInfo;
    const OvSNMPTarget Target;
    QStringList CurrentTitles;
    std::unique_ptr<OvAgentRead> Current;
    std::optional<quint32> UpTime; // the agent's sysUpTime before the walk
};
