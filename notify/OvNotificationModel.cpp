#include "notify/OvNotificationModel.h"

#include <QLocale>

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

OvNotification OvNotificationModel::Shown(const OvNotification& n) {
    if (n.Bindings.size() <= static_cast<size_t>(MaxBindingsShown))
        return n;
    OvNotification shown = n;
    const auto more = static_cast<qlonglong>(n.Bindings.size() - MaxBindingsShown);
    shown.Bindings.resize(MaxBindingsShown);
    shown.Bindings.push_back(
        {QString(), QStringLiteral("\u2026"), QString(),
         QStringLiteral("and %1 more bindings: see the log").arg(QLocale(QLocale::English).toString(more)),
         false});
    return shown;
}

qint64 OvNotificationModel::BytesOf(const OvNotification& n) {
    qint64 bytes = static_cast<qint64>(sizeof(OvNotification)) +
                   2 * (n.Source.size() + n.Name.size() + n.Oid.size() + n.Refusal.size() + n.User.size());
    for (const OvNotifiedBinding& b : n.Bindings)
        bytes += static_cast<qint64>(sizeof(OvNotifiedBinding)) +
                 2 * (b.Oid.size() + b.Name.size() + b.Type.size() + b.Value.size());
    return bytes;
}

void OvNotificationModel::Add(const OvNotification& notification) {
    Queued.push_back(Shown(notification));
    Bytes += BytesOf(Queued.back());
    while (!Queued.empty() && (Queued.size() > MaxRows || Bytes > MaxBytes)) {
        Bytes -= BytesOf(Queued.front());
        Queued.pop_front();
    }
    if (!Paused && !BatchTimer.isActive())
        BatchTimer.start();
}

void OvNotificationModel::Flush() {
    BatchTimer.stop();
    if (Paused || Queued.empty())
        return;
    const int count = static_cast<int>(Queued.size());
    // The oldest rows past the limits go first, then the batch goes on top in one insertion.
    size_t keep = Rows.size();
    while (keep > 0 && (static_cast<int>(keep) + count > MaxRows || Bytes > MaxBytes)) {
        Bytes -= BytesOf(Rows[keep - 1]);
        --keep;
    }
    if (keep < Rows.size()) {
        beginRemoveRows(QModelIndex(), static_cast<int>(keep), static_cast<int>(Rows.size()) - 1);
        Rows.resize(keep);
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
    Bytes = 0;
    // Newest first, until a limit is reached.
    for (auto n = oldestFirst.rbegin(); n != oldestFirst.rend() && static_cast<int>(Rows.size()) < MaxRows;
         ++n) {
        OvNotification shown = Shown(*n);
        const qint64 bytes = BytesOf(shown);
        if (Bytes + bytes > MaxBytes)
            break;
        Bytes += bytes;
        Rows.push_back(std::move(shown));
    }
    endResetModel();
}

void OvNotificationModel::Clear() {
    beginResetModel();
    Rows.clear();
    Queued.clear();
    Bytes = 0;
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
