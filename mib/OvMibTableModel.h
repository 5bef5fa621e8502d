#pragma once

#include "mib/OvMibReader.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QSortFilterProxyModel>
#include <QStringList>
#include <vector>

// The rows a view shows, behind its tree view. A read merges into the rows in place:
// changed cells change, new rows appear where the read brings them, and at the end of a
// complete read the rows it did not bring go; so the view keeps its scroll position and
// selection. Rows arrive in batches, each inserted in one step.
class OvMibTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit OvMibTableModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    // A missing cell shows a grey dash; the edit role holds the cell's own text.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // New titles empty the model; the same ones keep its rows.
    void SetTitles(const QStringList& titles);
    const QStringList& Titles() const { return ColumnTitles; }

    // A read begins: the rows merged until EndRead are this read's.
    void BeginRead();
    void Merge(const std::vector<OvMibRow>& rows);
    // A read that ended completely: the rows it did not bring go.
    void EndRead();
    void Clear();

    const OvMibRow& Row(int row) const { return Rows[static_cast<size_t>(row)]; }
    int Count() const { return static_cast<int>(Rows.size()); }

private:
    void Reindex(size_t from);

    QStringList ColumnTitles;
    std::vector<OvMibRow> Rows;
    std::vector<bool> Seen; // per row: brought by the read running
    QHash<QString, int> RowOfKey;
    int LastSeen = -1; // the row the read running brought last
};

// A view's order and filter over its rows: sorted as OvMibLess orders cells, filtered by
// a text any column of the row holds (any case).
class OvMibSortFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit OvMibSortFilter(QObject* parent = nullptr);

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
};
