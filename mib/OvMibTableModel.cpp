#include "mib/OvMibTableModel.h"

#include <QBrush>
#include <QColor>

#include "mib/OvMibText.h"

namespace {
const QString kMissing = QStringLiteral("\u2013");
} // namespace

OvMibTableModel::OvMibTableModel(QObject* parent) : QAbstractTableModel(parent) {}

int OvMibTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Count();
}

int OvMibTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(ColumnTitles.size());
}

QVariant OvMibTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= Count())
        return QVariant();
    const QString& cell = Rows[static_cast<size_t>(index.row())].Cells.value(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return cell.isNull() ? kMissing : cell;
    case Qt::EditRole:
        return cell;
    case Qt::ForegroundRole:
        return cell.isNull() ? QVariant(QBrush(QColor(Qt::gray))) : QVariant();
    case Qt::TextAlignmentRole:
        return cell.isNull() ? QVariant(Qt::AlignCenter) : QVariant();
    default:
        return QVariant();
    }
}

QVariant OvMibTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return ColumnTitles.value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void OvMibTableModel::SetTitles(const QStringList& titles) {
    if (titles == ColumnTitles)
        return;
    beginResetModel();
    ColumnTitles = titles;
    Rows.clear();
    Seen.clear();
    RowOfKey.clear();
    LastSeen = -1;
    endResetModel();
}

void OvMibTableModel::Clear() {
    beginResetModel();
    Rows.clear();
    Seen.clear();
    RowOfKey.clear();
    LastSeen = -1;
    endResetModel();
}

void OvMibTableModel::BeginRead() {
    std::fill(Seen.begin(), Seen.end(), false);
    LastSeen = -1;
}

void OvMibTableModel::Reindex(size_t from) {
    for (size_t r = from; r < Rows.size(); ++r)
        RowOfKey.insert(Rows[r].Key, static_cast<int>(r));
}

void OvMibTableModel::Merge(const std::vector<OvMibRow>& rows) {
    // New rows go after the row the read brought last; runs of them go in one step.
    std::vector<OvMibRow> run;
    auto insertRun = [this, &run] {
        if (run.empty())
            return;
        const int at = LastSeen + 1;
        beginInsertRows(QModelIndex(), at, at + static_cast<int>(run.size()) - 1);
        Rows.insert(Rows.begin() + at, std::make_move_iterator(run.begin()),
                    std::make_move_iterator(run.end()));
        Seen.insert(Seen.begin() + at, run.size(), true);
        Reindex(static_cast<size_t>(at));
        LastSeen = at + static_cast<int>(run.size()) - 1;
        endInsertRows();
        run.clear();
    };
    int changedFirst = -1, changedLast = -1;
    auto flushChanged = [this, &changedFirst, &changedLast] {
        if (changedFirst >= 0)
            Q_EMIT dataChanged(index(changedFirst, 0), index(changedLast, columnCount() - 1));
        changedFirst = changedLast = -1;
    };
    for (const OvMibRow& row : rows) {
        if (!RowOfKey.contains(row.Key)) {
            run.push_back(row);
            continue;
        }
        if (!run.empty()) {
            flushChanged(); // the rows below move
            insertRun();
        }
        const int at = RowOfKey.value(row.Key);
        OvMibRow& mine = Rows[static_cast<size_t>(at)];
        Seen[static_cast<size_t>(at)] = true;
        LastSeen = at;
        if (mine.Cells == row.Cells && mine.CounterBits == row.CounterBits)
            continue;
        mine = row;
        if (changedFirst >= 0 && at != changedLast + 1)
            flushChanged();
        if (changedFirst < 0)
            changedFirst = at;
        changedLast = at;
    }
    flushChanged();
    insertRun();
}

void OvMibTableModel::EndRead() {
    // From the end, runs of rows not seen go one run at a time.
    bool removed = false;
    for (int last = Count() - 1; last >= 0;) {
        if (Seen[static_cast<size_t>(last)]) {
            --last;
            continue;
        }
        int first = last;
        while (first > 0 && !Seen[static_cast<size_t>(first - 1)])
            --first;
        beginRemoveRows(QModelIndex(), first, last);
        for (int r = first; r <= last; ++r)
            RowOfKey.remove(Rows[static_cast<size_t>(r)].Key);
        Rows.erase(Rows.begin() + first, Rows.begin() + last + 1);
        Seen.erase(Seen.begin() + first, Seen.begin() + last + 1);
        endRemoveRows();
        removed = true;
        last = first - 1;
    }
    if (removed)
        Reindex(0);
}

OvMibSortFilter::OvMibSortFilter(QObject* parent) : QSortFilterProxyModel(parent) {
    setFilterKeyColumn(-1);
    setFilterCaseSensitivity(Qt::CaseInsensitive);
    setSortRole(Qt::EditRole);
}

bool OvMibSortFilter::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    return OvMibLess(left.data(Qt::EditRole).toString(), right.data(Qt::EditRole).toString());
}
