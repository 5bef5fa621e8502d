#include "notify/OvNotificationModel.h"

#include "values/OvCsv.h"

#include <QBrush>

OvNotificationModel::OvNotificationModel(QObject* parent) : QAbstractTableModel(parent) {
    BatchTimer.setSingleShot(true);
    BatchTimer.setInterval(BatchIntervalMs);
    connect(&BatchTimer, &QTimer::timeout, this, &OvNotificationModel::Flush);
}

int OvNotificationModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(Rows.size());
}

int OvNotificationModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString OvNotificationModel::ColumnText(const OvNotification& n, int column) {
    switch (column) {
    case TimeColumn:
        return n.Time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    case SourceColumn:
        return n.Source + QLatin1Char(':') + QString::number(n.SourcePort);
    case VersionColumn:
        return n.Version;
    case TypeColumn:
        return n.Type;
    case NameColumn:
        return n.IsRefused() ? QStringLiteral("refused: ") + n.Refusal : n.Name;
    case BindingsColumn:
        return n.BindingsText();
    default:
        return QString();
    }
}

QVariant OvNotificationModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const OvNotification& n = Rows[static_cast<size_t>(index.row())];
    if (role == Qt::DisplayRole)
        return ColumnText(n, index.column());
    if (role == Qt::ToolTipRole && index.column() == BindingsColumn)
        return n.BindingsText();
    if (role == SearchRole)
        return n.SearchText();
    if (role == Qt::ForegroundRole && n.IsRefused())
        return QBrush(Qt::darkRed);
    return {};
}

QVariant OvNotificationModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const titles[] = {"Time", "Source", "Version", "Type", "Notification", "Bindings"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromLatin1(titles[section]);
}

void OvNotificationModel::Add(const OvNotification& notification) {
    Queued.push_back(notification);
    if (Queued.size() > MaxRows)
        Queued.pop_front();
    if (!Paused && !BatchTimer.isActive())
        BatchTimer.start();
}

void OvNotificationModel::Flush() {
    BatchTimer.stop();
    if (Paused || Queued.empty())
        return;
    const int count = static_cast<int>(Queued.size());
    // Rows past the limit go first, then the batch goes on top in one insertion.
    const int keep = std::max(0, MaxRows - count);
    if (static_cast<int>(Rows.size()) > keep) {
        beginRemoveRows(QModelIndex(), keep, static_cast<int>(Rows.size()) - 1);
        Rows.resize(static_cast<size_t>(keep));
        endRemoveRows();
    }
    beginInsertRows(QModelIndex(), 0, count - 1);
    for (OvNotification& n : Queued)
        Rows.push_front(std::move(n));
    Queued.clear();
    endInsertRows();
    Q_EMIT Added(count);
}

void OvNotificationModel::Replace(const std::vector<OvNotification>& oldestFirst) {
    beginResetModel();
    Rows.clear();
    Queued.clear();
    const size_t skip = oldestFirst.size() > MaxRows ? oldestFirst.size() - MaxRows : 0;
    for (size_t i = skip; i < oldestFirst.size(); ++i)
        Rows.push_front(oldestFirst[i]);
    endResetModel();
}

void OvNotificationModel::Clear() {
    beginResetModel();
    Rows.clear();
    Queued.clear();
    endResetModel();
}

void OvNotificationModel::SetPaused(bool paused) {
    Paused = paused;
    if (!Paused)
        Flush();
}

QByteArray OvNotificationModel::ToCsv(const std::vector<int>& rows) const {
    QByteArray csv = OvCsvLine({QStringLiteral("Time"), QStringLiteral("Source"), QStringLiteral("Version"),
                                QStringLiteral("Type"), QStringLiteral("Notification"), QStringLiteral("OID"),
                                QStringLiteral("Bindings"), QStringLiteral("Refused")})
                         .toUtf8();
    for (int row : rows) {
        const OvNotification& n = At(row);
        csv += OvCsvLine({n.Time.toString(Qt::ISODateWithMs), ColumnText(n, SourceColumn), n.Version, n.Type,
                          n.Name, n.Oid, n.BindingsText(), n.Refusal})
                   .toUtf8();
    }
    return csv;
}
