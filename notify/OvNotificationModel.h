#pragma once

#include "notify/OvNotification.h"

#include <QAbstractTableModel>
#include <QTimer>
#include <deque>

// The notifications as rows, newest on top, at most MaxRows and MaxBytes. Arrivals are
// added in batches (one insertion per batch, not per notification), so a flood costs the
// view a few updates per second; Pause holds them back until Resume. A row keeps at most
// MaxBindingsShown bindings and says how many more the log holds: the window shows what
// a person reads, the log keeps everything.
class OvNotificationModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        TimeColumn,
        SourceColumn,
        VersionColumn,
        TypeColumn,
        NameColumn,
        BindingsColumn,
        ColumnCount
    };
    static constexpr int MaxRows = 10000;
    static constexpr qint64 MaxBytes = 64 * 1024 * 1024;
    static constexpr int MaxBindingsShown = 100;
    static constexpr int BatchIntervalMs = 100;
    // The whole row as one text, for filtering.
    static constexpr int SearchRole = Qt::UserRole + 1;

    explicit OvNotificationModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Queues a notification; it shows with the next batch.
    void Add(const OvNotification& notification);
    // Shows what is queued now (unless paused).
    void Flush();
    // Replaces every row with these, given oldest first (a log read back).
    void Replace(const std::vector<OvNotification>& oldestFirst);
    void Clear();
    void SetPaused(bool paused);
    bool IsPaused() const { return Paused; }
    int QueuedCount() const { return static_cast<int>(Queued.size()); }

    const OvNotification& At(int row) const { return Rows[static_cast<size_t>(row)]; }
    // The shown rows as CSV (RFC 4180), newest first, with a header line.
    QByteArray ToCsv(const std::vector<int>& rows) const;

Q_SIGNALS:
    // Rows were added to the top.
    void Added(int count);

private:
    static QString ColumnText(const OvNotification& n, int column);
    // A notification as a row keeps it: its first bindings, and how many more there are.
    static OvNotification Shown(const OvNotification& n);
    static qint64 BytesOf(const OvNotification& n);

    std::deque<OvNotification> Rows;   // newest first
    std::deque<OvNotification> Queued; // oldest first
    QTimer BatchTimer;
    bool Paused = false;
    qint64 Bytes = 0; // of Rows and Queued together
};
