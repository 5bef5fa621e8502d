#include "viewer/TMibViewForm.h"

#include "binding/OvFeedback.h"
#include "binding/OvSNMPRequest2Edits.h"
#include "formgen/TSNMPPanel.h"
#include "formgen/TUIGenerator.h"
#include "mib/OvMibExport.h"

#include <QComboBox>
#include <algorithm>
#include <QDateTime>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const QString kDelta = QStringLiteral("Delta");
const QString kRate = QStringLiteral("Rate");
} // namespace

TMibViewForm::TMibViewForm(const OvMibView& view, const QString& addressText, const OvSNMPTarget& target,
                           QWidget* parent)
    : QMainWindow(parent), Reader(view, target) {
    setObjectName(QLatin1String(view.Name));
    setWindowTitle(QLatin1String(view.Title) + QStringLiteral(" : ") + addressText);
    StatusText = new QLabel(this);
    StatusText->setObjectName(QStringLiteral("StatusText"));
    statusBar()->addWidget(StatusText, 1);
    Progress = new QProgressBar(this);
    Progress->setObjectName(QStringLiteral("Progress"));
    Progress->setRange(0, 0); // the length of a table is known only at its end
    Progress->setMaximumWidth(120);
    Progress->hide();
    statusBar()->addPermanentWidget(Progress);
    BuildMenus();
    BuildTable();
    if (view.Kind == OvMibViewKind::Scalars)
        BuildEditor();
    Refresh();
}

TMibViewForm::~TMibViewForm() = default;

bool TMibViewForm::IsCounterView() const {
    return Reader.ValueColumn() >= 0;
}

void TMibViewForm::BuildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    QAction* save = file->addAction(QStringLiteral("&Save as CSV..."), this, &TMibViewForm::ChooseCsvFile);
    save->setObjectName(QStringLiteral("actionSaveCsv"));
    save->setShortcut(QKeySequence::Save);
    file->addSeparator();
    QAction* close = file->addAction(QStringLiteral("&Close"), this, &QWidget::close);
    close->setObjectName(QStringLiteral("actionClose"));
    close->setShortcut(QKeySequence::Close);
    QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("&View"));
    QAction* refresh = viewMenu->addAction(QStringLiteral("&Refresh"), this, &TMibViewForm::Refresh);
    refresh->setObjectName(QStringLiteral("actionRefresh"));
    refresh->setShortcut(QKeySequence::Refresh);
}

void TMibViewForm::BuildTable() {
    Table = new QTreeWidget(this);
    Table->setObjectName(QStringLiteral("Rows"));
    Table->setRootIsDecorated(false);
    Table->setUniformRowHeights(true);
    Table->setAlternatingRowColors(true);
    Table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    setCentralWidget(Table);
    connect(&Reader, &OvMibReader::TitlesChanged, this, &TMibViewForm::ShowTitles);
    connect(&Reader, &OvMibReader::RowsArrived, this, &TMibViewForm::AddRows);
    connect(&Reader, &OvMibReader::Finished, this, &TMibViewForm::ReadFinished);
    resize(IsCounterView() ? 620 : 760, 420);
    if (!IsCounterView())
        return;
    auto* bar = addToolBar(QStringLiteral("Refresh"));
    bar->setMovable(false);
    bar->addWidget(new QLabel(QStringLiteral("Refresh every "), bar));
    IntervalBox = new QComboBox(bar);
    IntervalBox->setObjectName(QStringLiteral("IntervalBox"));
    for (int seconds : Intervals)
        IntervalBox->addItem(QStringLiteral("%1 s").arg(seconds));
    IntervalBox->setCurrentIndex(1);
    bar->addWidget(IntervalBox);
    connect(IntervalBox, &QComboBox::currentIndexChanged, this, &TMibViewForm::SetInterval);
    connect(&RefreshTimer, &QTimer::timeout, this, [this] {
        if (!Reader.IsReading()) // a slow agent is not asked again before it has answered
            Refresh();
    });
    SetInterval(IntervalBox->currentIndex());
}

void TMibViewForm::BuildEditor() {
    // The objects that can be written move from the list into an editor below it.
    Binding = new OvSNMPRequest2Edits(this);
    Binding->VarList() = OvSNMPVarList(MibSystemWritable, SVT_SV, 0);
    Layout = OvCopyLayout(MibSystemLayout);
    auto* page = new QWidget(this);
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    Panel = new TSNMPEditorPanel(page);
    Panel->BuildEditor(Layout.data(), Binding);
    Panel->InitEditor();
    Panel->SetHostForm(this);
    const QSize needed = Panel->RequiredSize();
    Panel->setMinimumSize(needed);
    Table->setParent(page);
    column->addWidget(Table, 1);
    column->addWidget(Panel, 0);
    setCentralWidget(page);
    resize(std::max(640, needed.width()), 260 + needed.height());
}

void TMibViewForm::SetInterval(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(Intervals)))
        return;
    RefreshTimer.start(Intervals[index] * 1000);
}

void TMibViewForm::Refresh() {
    // A counter view refreshing every second keeps its status line still once it has rows.
    const bool quiet = IsCounterView() && Table->topLevelItemCount() > 0;
    if (!quiet) {
        Progress->show();
        ShowStatus(QStringLiteral("Reading..."));
    }
    if (Binding)
        Binding->GetOrLog();
    if (!IsCounterView()) {
        Table->clear();
        ItemsByKey.clear();
    }
    SeenThisRead.clear();
    Reader.Read();
}

void TMibViewForm::ShowTitles(const QStringList& titles) {
    QStringList shown = titles;
    if (IsCounterView())
        shown << kDelta << kRate;
    Table->clear();
    ItemsByKey.clear();
    Deltas.Clear();
    Table->setHeaderLabels(shown);
}

void TMibViewForm::AddRows(const std::vector<OvMibRow>& rows) {
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const int valueColumn = Reader.ValueColumn();
    for (const OvMibRow& row : rows) {
        if (Binding && IsEdited(row.Key))
            continue;
        QStringList cells = row.Cells;
        if (valueColumn >= 0) {
            const OvCounterDeltas::Change change =
                Deltas.Update(row.Key, cells.value(valueColumn), row.CounterBits, now);
            cells << change.Delta << change.Rate;
        }
        QTreeWidgetItem* item = ItemsByKey.value(row.Key);
        if (!item) {
            item = new QTreeWidgetItem(Table);
            ItemsByKey.insert(row.Key, item);
        }
        for (int c = 0; c < cells.size(); ++c)
            item->setText(c, cells[c]);
        SeenThisRead.insert(row.Key);
    }
    if (!Progress->isHidden())
        ShowStatus(QStringLiteral("Reading... %1 rows").arg(SeenThisRead.size()));
}

void TMibViewForm::ReadFinished(int code, const QString& message) {
    Progress->hide();
    if (code == 0 && IsCounterView()) {
        // Rows the agent no longer has (an interface removed) go.
        for (auto it = ItemsByKey.begin(); it != ItemsByKey.end();) {
            if (SeenThisRead.contains(it.key())) {
                ++it;
                continue;
            }
            delete it.value();
            it = ItemsByKey.erase(it);
        }
    }
    // The first reads fit the columns (a counter's change shows from the second on); later
    // ones keep the widths the user may have set.
    if (code == 0 && FittedReads < 2 && Table->topLevelItemCount() > 0) {
        ++FittedReads;
        for (int c = 0; c < Table->columnCount(); ++c)
            Table->resizeColumnToContents(c);
    }
    ShowStatus(code == 0 ? QStringLiteral("%1 rows, read at %2")
                               .arg(Table->topLevelItemCount())
                               .arg(QTime::currentTime().toString())
                         : message);
}

void TMibViewForm::ShowStatus(const QString& text) {
    StatusText->setText(text);
}

bool TMibViewForm::IsEdited(const QString& name) const {
    for (int i = 0; Binding && i < Binding->VarList().Count(); ++i)
        if (Binding->VarList().Item(i)->Name == name)
            return true;
    return false;
}

QStringList TMibViewForm::Titles() const {
    QStringList titles;
    for (int c = 0; c < Table->columnCount(); ++c)
        titles << Table->headerItem()->text(c);
    return titles;
}

std::vector<QStringList> TMibViewForm::Rows() const {
    std::vector<QStringList> rows;
    for (int r = 0; r < Table->topLevelItemCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < Table->columnCount(); ++c)
            cells << Table->topLevelItem(r)->text(c);
        rows.push_back(cells);
    }
    // The edited objects in their place in the group, with the values last read.
    for (int i = 0; Binding && i < Binding->VarList().Count(); ++i) {
        const OvSNMPVarItem* item = Binding->VarList().Item(i);
        const auto group = OvRowsOf(MibSystemTable);
        const auto at = std::find_if(group.begin(), group.end(), [&](const TSNMPVarInfo* r) {
            return item->Name == QLatin1String(r->Name);
        });
        const auto position = std::min(static_cast<size_t>(at - group.begin()), rows.size());
        rows.insert(rows.begin() + static_cast<long>(position), QStringList{item->Name, item->Value});
    }
    return rows;
}

bool TMibViewForm::SaveCsv(const QString& file) {
    QString message;
    if (OvMibExport::WriteFile(file, OvMibExport::CsvText(Titles(), Rows()), message)) {
        ShowStatus(QStringLiteral("Saved %1").arg(file));
        return true;
    }
    OvFeedback::MessageBox(this, OvFeedback::ProgramFileName(), message, QMessageBox::Ok,
                           QMessageBox::Critical);
    return false;
}

void TMibViewForm::ChooseCsvFile() {
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Save as CSV"),
                                                      QLatin1String(View().Name) + QStringLiteral(".csv"),
                                                      QStringLiteral("CSV files (*.csv);;All files (*)"));
    if (!file.isEmpty())
        SaveCsv(file);
}

// ---- chooser ------------------------------------------------------------------------------

TMibChooser::TMibChooser(const QString& addressText, const OvSNMPTarget& target, QWidget* parent)
    : QWidget(parent, Qt::Window), AddressText(addressText), Target(target) {
    setObjectName(QStringLiteral("MibChooser"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("MIB II : ") + addressText);
    auto* column = new QVBoxLayout(this);
    column->addWidget(new QLabel(QStringLiteral("Choose a view:"), this));
    auto* list = new QListWidget(this);
    list->setObjectName(QStringLiteral("Views"));
    for (int i = 0; i < MibViewCount; ++i)
        list->addItem(QLatin1String(OvMibViewAt(i).Title));
    list->setCurrentRow(0);
    column->addWidget(list);
    auto* open = new QPushButton(QStringLiteral("&Open"), this);
    open->setObjectName(QStringLiteral("OpenButton"));
    open->setDefault(true);
    column->addWidget(open, 0, Qt::AlignRight);
    connect(list, &QListWidget::itemActivated, this,
            [this, list](QListWidgetItem* item) { Open(list->row(item)); });
    connect(open, &QPushButton::clicked, this, [this, list] { Open(list->currentRow()); });
    resize(280, 300);
}

TMibViewForm* TMibChooser::Open(int i) {
    if (i < 0 || i >= MibViewCount)
        return nullptr;
    auto* form = new TMibViewForm(OvMibViewAt(i), AddressText, Target);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->show();
    close();
    return form;
}
