#include "app/TNotificationsForm.h"

#include "binding/OvFeedback.h"
#include "binding/OvFileFolders.h"
#include "notify/OvNotificationCentre.h"
#include "values/OvSaveFile.h"

#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

TNotificationsForm::TNotificationsForm(QWidget* owner, OvNotificationCentre& centre,
                                       const QString& addressText)
    : QWidget(owner, Qt::Window), Centre(centre), AddressText(addressText) {
    setAttribute(Qt::WA_DeleteOnClose);
    BuildWindow();
    StatusTimer.setSingleShot(true);
    StatusTimer.setInterval(200);
    connect(&StatusTimer, &QTimer::timeout, this, &TNotificationsForm::RefreshStatus);
    connect(&Centre, &OvNotificationCentre::Changed, this, [this] {
        if (!StatusTimer.isActive())
            StatusTimer.start();
    });
    connect(&Centre.Model(), &OvNotificationModel::Added, this, &TNotificationsForm::Arrived);
    RefreshStatus();
    RefreshTitle();
}

void TNotificationsForm::BuildWindow() {
    setObjectName(QStringLiteral("NotificationsForm"));
    resize(900, 560);
    auto* column = new QVBoxLayout(this);

    ListenWarning = new QLabel(this);
    ListenWarning->setObjectName(QStringLiteral("ListenWarning"));
    ListenWarning->setWordWrap(true);
    ListenWarning->setStyleSheet(QStringLiteral("color: darkred"));
    column->addWidget(ListenWarning);

    auto* bar = new QHBoxLayout;
    FilterEdit = new QLineEdit(this);
    FilterEdit->setObjectName(QStringLiteral("FilterEdit"));
    FilterEdit->setPlaceholderText(QStringLiteral("Filter"));
    FilterEdit->setClearButtonEnabled(true);
    PauseButton = new QPushButton(QStringLiteral("Pause"), this);
    PauseButton->setObjectName(QStringLiteral("PauseButton"));
    PauseButton->setCheckable(true);
    PauseButton->setToolTip(QStringLiteral("Hold new notifications back; they are still logged"));
    auto* clear = new QPushButton(QStringLiteral("Clear"), this);
    clear->setObjectName(QStringLiteral("ClearButton"));
    clear->setToolTip(QStringLiteral("Empty the list; the log keeps everything"));
    auto* save = new QPushButton(QStringLiteral("Save as CSV..."), this);
    save->setObjectName(QStringLiteral("SaveCsvButton"));
    auto* open = new QPushButton(QStringLiteral("Open Log..."), this);
    open->setObjectName(QStringLiteral("OpenLogButton"));
    open->setToolTip(QStringLiteral("Show an older log file"));
    bar->addWidget(FilterEdit, 1);
    for (QPushButton* b : {PauseButton, clear, save, open})
        bar->addWidget(b);
    column->addLayout(bar);

    Filtered = new QSortFilterProxyModel(this);
    Filtered->setSourceModel(&Centre.Model());
    Filtered->setFilterRole(OvNotificationModel::SearchRole);
    Filtered->setFilterCaseSensitivity(Qt::CaseInsensitive);
    Table = new QTableView(this);
    Table->setObjectName(QStringLiteral("NotificationsTable"));
    Table->setModel(Filtered);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setSelectionMode(QAbstractItemView::SingleSelection);
    Table->verticalHeader()->hide();
    Table->verticalHeader()->setDefaultSectionSize(20);
    Table->horizontalHeader()->setStretchLastSection(true);
    Table->setWordWrap(false);
    const int widths[] = {170, 130, 60, 55, 170};
    for (int c = 0; c < 5; ++c)
        Table->setColumnWidth(c, widths[c]);

    Detail = new QTableWidget(0, 4, this);
    Detail->setObjectName(QStringLiteral("DetailTable"));
    Detail->setHorizontalHeaderLabels(
        {QStringLiteral("Name"), QStringLiteral("OID"), QStringLiteral("Type"), QStringLiteral("Value")});
    Detail->verticalHeader()->hide();
    Detail->horizontalHeader()->setStretchLastSection(true);
    Detail->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Detail->setWordWrap(false);
    Detail->verticalHeader()->setDefaultSectionSize(20);
    const int detailWidths[] = {250, 230, 130};
    for (int c = 0; c < 3; ++c)
        Detail->setColumnWidth(c, detailWidths[c]);

    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(Table);
    split->addWidget(Detail);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    column->addWidget(split, 1);

    StatusLine = new QLabel(this);
    StatusLine->setObjectName(QStringLiteral("NotificationsStatus"));
    column->addWidget(StatusLine);

    connect(FilterEdit, &QLineEdit::textChanged, Filtered, &QSortFilterProxyModel::setFilterFixedString);
    connect(PauseButton, &QPushButton::toggled, this, [this](bool paused) {
        Centre.Model().SetPaused(paused);
        RefreshStatus();
    });
    connect(clear, &QPushButton::clicked, this, [this] {
        Centre.Model().Clear();
        Detail->setRowCount(0);
    });
    connect(save, &QPushButton::clicked, this, &TNotificationsForm::SaveCsvClick);
    connect(open, &QPushButton::clicked, this, &TNotificationsForm::OpenLogClick);
    connect(Table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TNotificationsForm::ShowDetail);
}

void TNotificationsForm::ShowDetail() {
    const QModelIndex current = Filtered->mapToSource(Table->currentIndex());
    Detail->setRowCount(0);
    if (!current.isValid())
        return;
    const OvNotification& n = Centre.Model().At(current.row());
    std::vector<OvNotifiedBinding> rows;
    if (!n.Uptime.isEmpty())
        rows.push_back({QStringLiteral("1.3.6.1.2.1.1.3.0"), QStringLiteral("sysUpTime.0"),
                        QStringLiteral("TimeTicks"), n.Uptime});
    if (!n.Oid.isEmpty())
        rows.push_back({QStringLiteral("1.3.6.1.6.3.1.1.4.1.0"), QStringLiteral("snmpTrapOID.0"),
                        QStringLiteral("OBJECT IDENTIFIER"), n.Name});
    rows.insert(rows.end(), n.Bindings.begin(), n.Bindings.end());
    if (n.IsRefused())
        rows.push_back({QString(), QStringLiteral("refused"), QString(), n.Refusal});
    Detail->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < Detail->rowCount(); ++r) {
        const OvNotifiedBinding& b = rows[static_cast<size_t>(r)];
        const QString cells[] = {b.Name, b.Oid, b.Type, b.Value};
        for (int c = 0; c < 4; ++c)
            Detail->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
}

void TNotificationsForm::RefreshStatus() {
    ListenWarning->setText(Centre.ListenError());
    ListenWarning->setVisible(!Centre.ListenError().isEmpty());
    QString text = Centre.IsListening() ? QStringLiteral("Listening on %1.").arg(Centre.ListenText())
                                        : QStringLiteral("Not listening.");
    text +=
        QStringLiteral(" Received: %1, refused: %2.").arg(Centre.ReceivedCount()).arg(Centre.RefusedCount());
    if (Centre.ForeignCount() > 0)
        text += QStringLiteral(" From other addresses (not shown): %1, last %2.")
                    .arg(Centre.ForeignCount())
                    .arg(Centre.LastForeign());
    if (Centre.Model().IsPaused())
        text += QStringLiteral(" Paused: %1 waiting.").arg(Centre.Model().QueuedCount());
    if (const qint64 drops = Centre.KernelDrops(); drops > 0)
        text += QStringLiteral(" Lost before they could be read: %1.").arg(drops);
    if (!Centre.BufferNote().isEmpty())
        text += QLatin1Char(' ') + Centre.BufferNote();
    if (!Centre.LogError().isEmpty())
        text += QLatin1Char(' ') + Centre.LogError();
    StatusLine->setText(text);
}

void TNotificationsForm::RefreshTitle() {
    QString title = QStringLiteral("Notifications : ") + AddressText;
    if (Unseen > 0)
        title += QStringLiteral(" (%1 unseen)").arg(Unseen);
    setWindowTitle(title);
}

void TNotificationsForm::Arrived(int count) {
    if (!isVisible() || !isActiveWindow()) {
        Unseen += count;
        RefreshTitle();
    }
}

void TNotificationsForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && Unseen > 0) {
        Unseen = 0;
        RefreshTitle();
    }
}

void TNotificationsForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Unseen = 0;
    RefreshTitle();
}

bool TNotificationsForm::SaveCsv(const QString& fileName) {
    std::vector<int> rows;
    for (int r = 0; r < Filtered->rowCount(); ++r)
        rows.push_back(Filtered->mapToSource(Filtered->index(r, 0)).row());
    QString message;
    if (OvSaveWhole(fileName, Centre.Model().ToCsv(rows), message))
        return true;
    OvFeedback::MessageBox(this, OvFeedback::ProgramFileName(), message, QMessageBox::Ok,
                           QMessageBox::Critical);
    return false;
}

void TNotificationsForm::SaveCsvClick() {
    const QString fileName =
        OvAskSaveFileName(this, OvFileFolders::Kind::Csv, QStringLiteral("Save notifications"),
                          QStringLiteral("notifications.csv"), QStringLiteral("CSV files (*.csv)"));
    if (!fileName.isEmpty())
        SaveCsv(fileName);
}

void TNotificationsForm::OpenLog(const QString& fileName) {
    // Only a file: opening a pipe would wait for a writer with the window frozen.
    const QFileInfo info(fileName);
    QFile file(fileName);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        OvFeedback::MessageBox(
            this, OvFeedback::ProgramFileName(),
            QStringLiteral("Cannot read %1: %2")
                .arg(fileName, info.isFile() ? file.errorString() : QStringLiteral("not a file")),
            QMessageBox::Ok, QMessageBox::Critical);
        return;
    }
    file.close();
    Centre.Model().Replace(OvNotificationLog::Read(fileName, OvNotificationModel::MaxRows));
    Detail->setRowCount(0);
}

void TNotificationsForm::OpenLogClick() {
    const QString fileName = OvAskOpenFileName(this, OvFileFolders::Kind::NotificationLog,
                                               QStringLiteral("Open a notifications log"),
                                               QStringLiteral("Notification logs (*.jsonl *.jsonl.*)"));
    if (!fileName.isEmpty())
        OpenLog(fileName);
}
