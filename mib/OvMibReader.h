#pragma once

#include "mib/OvMibViews.h"
#include "snmp/OvSNMPSession.h"

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

class OvAgentRead;
struct OvTableRow;

// One row of a view as shown and exported.
struct OvMibRow {
    QString Key; // the same row in the next read has the same key
    QStringList Cells;
    int CounterBits = 0; // 32 or 64 when the row's Value is a counter
};

// Reads one view once without waiting: its objects in one GET, or its table with the
// bulk walk (trying the view's tables in order until one has rows). Rows are handed on
// as they arrive.
class OvMibReader : public QObject {
    Q_OBJECT
public:
    OvMibReader(const OvMibView& view, const OvSNMPTarget& target, QObject* parent = nullptr);
    ~OvMibReader() override;

    // Starts a read; one still running is dropped.
    void Read();
    bool IsReading() const;
    const OvMibView& View() const { return ViewInfo; }
    const QStringList& Titles() const { return CurrentTitles; }
    // The column that holds counter values, -1 for views without counters.
    int ValueColumn() const;

Q_SIGNALS:
    void TitlesChanged(const QStringList& titles);
    void RowsArrived(const std::vector<OvMibRow>& rows);
    void Finished(int code, const QString& message);

private:
    void ReadScalars();
    void ReadTable(size_t source);
    void ReadInterfaceCounters();
    void SetTitles(const QStringList& titles);
    std::vector<OvMibRow> TableRows(const OvMibTableSource& source,
                                    const std::vector<OvTableRow>& rows) const;
    static std::vector<const TSNMPVarInfo*> InterfaceColumns();
    std::vector<OvMibRow> InterfaceRows(const std::vector<OvTableRow>& rows) const;
    using RowMaker = std::function<std::vector<OvMibRow>(const std::vector<OvTableRow>&)>;
    // Walks columns, handing on their rows as makeRows shows them; whenEmpty runs instead
    // of Finished when the agent has no row.
    void Walk(const std::vector<const TSNMPVarInfo*>& columns, RowMaker makeRows,
              std::function<void()> whenEmpty);
    // Replaces the running read; the old one's answers are dropped with it.
    template <class Kind> Kind* Begin(std::unique_ptr<Kind> read);

    const OvMibView& ViewInfo;
    const OvSNMPTarget Target;
    QStringList CurrentTitles;
    std::unique_ptr<OvAgentRead> Current;
};
