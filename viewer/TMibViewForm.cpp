#include "viewer/TMibViewForm.h"

#include "binding/OvFeedback.h"
#include "binding/OvFileFolders.h"
#include "binding/OvMenuKeys.h"
#include "binding/OvSNMPRequest2Edits.h"
#include "viewer/TSystemGroupEditor.h"
#include "snmp/OvAgentRead.h"
#include "formgen/TSNMPPanel.h"
#include "formgen/TUIGenerator.h"
#include "mib/OvMibExport.h"
#include "viewer/TInterfaceGraph.h"
#include "mib/OvMibText.h"
#include "values/OvSyntaxText.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDateTime>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

namespace {
// The settings each view remembers, under its name.
QSettings settings() {
    return QSettings(QStringLiteral("velmarn"), QStringLiteral("MIB"));
}
} // namespace

TMibViewForm::TMibViewForm(const OvMibView& view, const QString& addressText, const OvSNMPTarget& target,
                           QWidget* parent)
    : QMainWindow(parent), Reader(view, target), Shaper(OvRowShaper::For(view)), AddressText(addressText),
      Target(target) {
    setObjectName(QLatin1String(view.Name));
    setWindowTitle(QLatin1String(view.Title) + QStringLiteral(" : ") + addressText);
    StatusText = new QLabel(this);
    StatusText->setObjectName(QStringLiteral("StatusText"));
    statusBar()->addWidget(StatusText, 1);
    BuildMenus();
    BuildTable();
    BuildToolBar();
    if (view.Kind == OvMibViewKind::Scalars)
        BuildEditor();
    if (view.Kind == OvMibViewKind::InterfaceCounters)
        BuildGraph();
    Refresh();
}

TMibViewForm::~TMibViewForm() = default;

bool TMibViewForm::Refreshes() const {
    return Shaper != nullptr;
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
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    QAction* copy = edit->addAction(QStringLiteral("&Copy rows"), this, &TMibViewForm::CopySelection);
    copy->setObjectName(QStringLiteral("actionCopy"));
    copy->setShortcut(QKeySequence::Copy);
    QAction* find = edit->addAction(QStringLiteral("&Filter"), this, [this] {
        FilterEdit->setFocus();
        FilterEdit->selectAll();
    });
    find->setObjectName(QStringLiteral("actionFilter"));
    find->setShortcut(QKeySequence::Find);
    QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("&View"));
    QAction* refresh = viewMenu->addAction(QStringLiteral("&Refresh"), this, &TMibViewForm::Refresh);
    refresh->setObjectName(QStringLiteral("actionRefresh"));
    refresh->setShortcut(QKeySequence::Refresh);
    ColumnMenu = viewMenu->addMenu(QStringLiteral("&Columns"));
    ColumnMenu->setObjectName(QStringLiteral("menuColumns"));
    // Every view of the same agent, each in a window of its own.
    QMenu* open = viewMenu->addMenu(QStringLiteral("&Open"));
    for (int i = 0; i < MibViewCount; ++i) {
        const OvMibView& other = OvMibViewAt(i);
        QAction* action = open->addAction(QLatin1String(other.Title), this, [this, &other] {
            auto* form = new TMibViewForm(other, AddressText, Target);
            form->setAttribute(Qt::WA_DeleteOnClose);
            form->show();
        });
        action->setObjectName(QStringLiteral("actionOpen_") + QLatin1String(other.Name));
    }
    OvReachMenusFromKeyboard(this); // as in the module's main window
}

void TMibViewForm::BuildTable() {
    Order.setSourceModel(&RowModel);
    Tree = new QTreeView(this);
    Tree->setObjectName(QStringLiteral("Rows"));
    Tree->setRootIsDecorated(false);
    Tree->setItemsExpandable(false);
    Tree->setUniformRowHeights(true);
    Tree->setAlternatingRowColors(true);
    Tree->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    Tree->setModel(&Order);
    Tree->header()->setSortIndicator(-1, Qt::AscendingOrder); // the agent's order until a title is clicked
    Tree->header()->setSortIndicatorClearable(true);
    Tree->setSortingEnabled(true);
    Tree->header()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Tree->header(), &QHeaderView::customContextMenuRequested, this,
            [this](const QPoint& at) { ColumnMenu->popup(Tree->header()->mapToGlobal(at)); });
    connect(Tree->header(), &QHeaderView::sortIndicatorChanged, this, [this] { SaveSettings(); });
    setCentralWidget(Tree);
    ShowTimer.setSingleShot(true);
    connect(&ShowTimer, &QTimer::timeout, this, &TMibViewForm::ShowPending);
    connect(&Reader, &OvMibReader::TitlesChanged, this, &TMibViewForm::ShowTitles);
    connect(&Reader, &OvMibReader::RowsArrived, this, &TMibViewForm::AddRows);
    connect(&Reader, &OvMibReader::Finished, this, &TMibViewForm::ReadFinished);
    connect(&Order, &QAbstractItemModel::rowsInserted, this, [this] {
        if (Reading)
            ShowStatus(QStringLiteral("Reading... ") + CountText());
    });
    resize(760, 420);
}

void TMibViewForm::BuildToolBar() {
    auto* bar = addToolBar(QStringLiteral("View"));
    bar->setObjectName(QStringLiteral("ViewBar"));
    bar->setMovable(false);
    bar->addWidget(new QLabel(QStringLiteral("Filter "), bar));
    FilterEdit = new QLineEdit(bar);
    FilterEdit->setObjectName(QStringLiteral("Filter"));
    FilterEdit->setClearButtonEnabled(true);
    FilterEdit->setPlaceholderText(QStringLiteral("text in any column"));
    FilterEdit->setMaximumWidth(260);
    bar->addWidget(FilterEdit);
    connect(FilterEdit, &QLineEdit::textChanged, this, [this](const QString& text) {
        Order.setFilterFixedString(text);
        SaveSettings();
        if (!Reading)
            ShowStatus(CountText());
    });
    if (!Refreshes())
        return;
    bar->addSeparator();
    bar->addWidget(new QLabel(QStringLiteral(" Refresh every "), bar));
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
    auto* editor = new TSystemGroupEditor(this);
    Binding = editor;
    Layout = OvCopyLayout(MibSystemLayout);
    auto* page = new QWidget(this);
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    Panel = new TSNMPEditorPanel(page);
    Panel->BuildEditor(Layout.data(), Binding);
    Panel->InitEditor();
    Panel->SetHostForm(this);
    WidenEdits();
    editor->AddSwitches();
    const QSize needed = Panel->RequiredSize();
    Panel->setMinimumSize(needed);
    Tree->setParent(page);
    column->addWidget(Tree, 1);
    column->addWidget(Panel, 0);
    setCentralWidget(page);
    resize(std::max(640, needed.width()), 260 + needed.height());
}

void TMibViewForm::BuildGraph() {
    auto* split = new QSplitter(Qt::Vertical, this);
    split->setObjectName(QStringLiteral("GraphSplitter"));
    Tree->setParent(split);
    split->addWidget(Tree);
    Graph = new TInterfaceGraph(split);
    split->addWidget(Graph);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    setCentralWidget(split);
    connect(Tree->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TMibViewForm::ShowSelectedInterfaces);
    resize(width(), 680);
}

void TMibViewForm::ShowSelectedInterfaces() {
    QStringList keys;
    for (const QModelIndex& at : Tree->selectionModel()->selectedRows())
        keys << RowModel.Row(Order.mapToSource(at).row()).Key;
    Graph->ShowInterfaces(keys);
}

void TMibViewForm::WidenEdits() {
    // The group's texts (a contact, a location) are longer than the edits of the
    // configuration windows: each edit grows, and what stands right of it on its line moves.
    const QList<QLineEdit*> edits = Panel->findChildren<QLineEdit*>();
    if (edits.isEmpty())
        return;
    QWidget* container = edits.front()->parentWidget();
    const int grow = std::max(0, EditWidth - edits.front()->width());
    std::vector<std::pair<QWidget*, int>> moves;
    for (QWidget* w : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        int before = 0; // edits on its line left of it
        for (const QLineEdit* e : edits)
            if (e != w && e->x() < w->x() && e->y() < w->y() + w->height() && w->y() < e->y() + e->height())
                ++before;
        moves.emplace_back(w, before * grow);
    }
    for (auto& [w, by] : moves)
        w->move(w->x() + by, w->y());
    int right = 0;
    for (QLineEdit* e : edits) {
        e->resize(e->width() + grow, e->height());
        right = std::max(right, e->x() + e->width());
    }
    container->setMinimumWidth(std::max(container->minimumWidth(), right + 8));
}

void TMibViewForm::SetInterval(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(Intervals)))
        return;
    RefreshTimer.start(Intervals[index] * 1000);
}

void TMibViewForm::Refresh() {
    // A counter view refreshing every second keeps its status line still once it has rows.
    const bool quiet = Refreshes() && RowModel.Count() > 0;
    if (!quiet) {
        Reading = true; // the status line counts the rows as they come
        ShowStatus(QStringLiteral("Reading..."));
    }
    if (Binding)
        Binding->GetOrLog();
    Pending.clear();
    ShowTimer.stop();
    RowModel.BeginRead();
    Reader.Read();
}

void TMibViewForm::ShowTitles(const QStringList& titles) {
    const QStringList shown = Shaper ? Shaper->Titles(titles) : titles;
    if (shown == RowModel.Titles())
        return;
    Pending.clear();
    if (Shaper)
        Shaper->Clear();
    if (Graph)
        Graph->Clear();
    RowModel.SetTitles(shown);
    RowModel.BeginRead();
    BuildColumnMenu();
    RestoreSettings();
}

void TMibViewForm::AddRows(const std::vector<OvMibRow>& rows) {
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (const OvMibRow& row : rows) {
        if (Binding && IsEdited(row.Key))
            continue;
        Pending.push_back(Shaper ? Shaper->Shape(row, now) : row);
        if (Graph)
            Graph->Record(Pending.back(), now);
    }
    // Each step lays out the whole view again: the longer the table, the rarer the steps.
    if (!ShowTimer.isActive())
        ShowTimer.start(std::clamp(RowModel.Count() / RowsPerShowMs, ShowEveryMs, ShowAtLeastMs));
}

void TMibViewForm::ShowPending() {
    ShowTimer.stop();
    if (Pending.empty())
        return;
    RowModel.Merge(Pending);
    Pending.clear();
    // While the first reads go on, the columns fit the rows in sight a few times a second.
    if (FittedReads < 2 && (!SinceFit.isValid() || SinceFit.elapsed() >= 500))
        FitColumns(0);
}

void TMibViewForm::FitColumns(int rowsLookedAt) {
    SinceFit.start();
    Tree->header()->setResizeContentsPrecision(rowsLookedAt);
    for (int c = 0; c < RowModel.columnCount(); ++c)
        Tree->resizeColumnToContents(c);
}

void TMibViewForm::ReadFinished(int code, const QString& message) {
    ShowPending();
    Reading = false;
    if (code == 0)
        RowModel.EndRead(); // rows the agent no longer has go
    if (Graph && code == 0)
        Graph->Redraw();
    else if (Graph)
        Graph->MarkGap(); // the next rates span the failed read
    // The first reads fit the columns (a counter's change shows from the second on); later
    // ones keep the widths the user may have set.
    if (code == 0 && FittedReads < 2 && RowModel.Count() > 0) {
        ++FittedReads;
        FitColumns(1000);
    }
    QString status = code == 0
                         ? QStringLiteral("%1, read at %2").arg(CountText(), QTime::currentTime().toString())
                         : message;
    if (const int wrong = Reader.WrongTypeCells(); wrong > 0)
        status += QStringLiteral("; ") + OvWrongTypeCellsText(wrong);
    ShowStatus(status);
    Q_EMIT ReadDone(code);
}

QString TMibViewForm::CountText() const {
    // The Information view's editor shows objects of the group as well.
    const int objects = RowModel.Count() + (Binding ? Binding->VarList().Count() : 0);
    QString text = QStringLiteral("%1 rows").arg(objects);
    if (!Order.filterRegularExpression().pattern().isEmpty())
        text += QStringLiteral(" (%1 shown)").arg(Order.rowCount());
    return text;
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
    return RowModel.Titles();
}

std::vector<QStringList> TMibViewForm::Rows() const {
    std::vector<QStringList> rows;
    rows.reserve(static_cast<size_t>(RowModel.Count()));
    for (int r = 0; r < RowModel.Count(); ++r)
        rows.push_back(RowModel.Row(r).Cells);
    // The edited objects in their place in the group, with the values last read.
    for (int i = 0; Binding && i < Binding->VarList().Count(); ++i) {
        const OvSNMPVarItem* item = Binding->VarList().Item(i);
        const auto group = OvRowsOf(MibSystemTable);
        const auto at = std::find_if(group.begin(), group.end(), [&](const TSNMPVarInfo* r) {
            return item->Name == QLatin1String(r->Name);
        });
        const auto position = std::min(static_cast<size_t>(at - group.begin()), rows.size());
        QByteArray octets;
        const QString shown =
            OvParseHex(item->Value, octets) ? OvMibOctetsText(octets) : OvMibPresent(item->Value);
        rows.insert(rows.begin() + static_cast<long>(position), QStringList{item->Name, shown});
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
    const QString file = OvAskSaveFileName(this, OvFileFolders::Kind::Csv, QStringLiteral("Save as CSV"),
                                           QLatin1String(View().Name) + QStringLiteral(".csv"),
                                           QStringLiteral("CSV files (*.csv);;All files (*)"));
    if (!file.isEmpty())
        SaveCsv(file);
}

void TMibViewForm::CopySelection() {
    QHeaderView* header = Tree->header();
    std::vector<int> columns; // the shown ones, in the order shown
    for (int v = 0; v < header->count(); ++v) {
        const int c = header->logicalIndex(v);
        if (!header->isSectionHidden(c))
            columns.push_back(c);
    }
    QModelIndexList selected = Tree->selectionModel()->selectedRows();
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QStringList lines;
    QStringList titles;
    for (int c : columns)
        titles << RowModel.Titles().value(c);
    lines << titles.join(QLatin1Char('\t'));
    for (const QModelIndex& at : selected) {
        const OvMibRow& row = RowModel.Row(Order.mapToSource(at).row());
        QStringList cells;
        for (int c : columns)
            cells << row.Cells.value(c);
        lines << cells.join(QLatin1Char('\t'));
    }
    QGuiApplication::clipboard()->setText(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    ShowStatus(QStringLiteral("%1 rows copied").arg(selected.size()));
}

// ---- columns and remembered settings -----------------------------------------------------

void TMibViewForm::BuildColumnMenu() {
    ColumnMenu->clear();
    const QStringList titles = RowModel.Titles();
    for (int c = 0; c < titles.size(); ++c) {
        QAction* shown = ColumnMenu->addAction(titles[c]);
        shown->setObjectName(QStringLiteral("actionColumn_") + titles[c]);
        shown->setCheckable(true);
        shown->setChecked(true);
        connect(shown, &QAction::toggled, this, [this, c](bool on) {
            Tree->header()->setSectionHidden(c, !on);
            SaveSettings();
        });
    }
}

void TMibViewForm::RestoreSettings() {
    Restoring = true;
    QSettings remembered = settings();
    remembered.beginGroup(QLatin1String(View().Name));
    const QStringList hidden = remembered.value(QStringLiteral("hidden")).toStringList();
    for (QAction* a : ColumnMenu->actions())
        a->setChecked(!hidden.contains(a->text()));
    const int sortColumn = static_cast<int>(
        RowModel.Titles().indexOf(remembered.value(QStringLiteral("sortColumn")).toString()));
    const auto order = static_cast<Qt::SortOrder>(remembered.value(QStringLiteral("sortOrder"), 0).toInt());
    Tree->sortByColumn(sortColumn, order);
    FilterEdit->setText(remembered.value(QStringLiteral("filter")).toString());
    Restoring = false;
}

void TMibViewForm::SaveSettings() const {
    if (Restoring || RowModel.Titles().isEmpty())
        return;
    QSettings remembered = settings();
    remembered.beginGroup(QLatin1String(View().Name));
    QStringList hidden;
    for (QAction* a : ColumnMenu->actions())
        if (!a->isChecked())
            hidden << a->text();
    remembered.setValue(QStringLiteral("hidden"), hidden);
    const int sortColumn = Tree->header()->sortIndicatorSection();
    remembered.setValue(QStringLiteral("sortColumn"), RowModel.Titles().value(sortColumn));
    remembered.setValue(QStringLiteral("sortOrder"), static_cast<int>(Tree->header()->sortIndicatorOrder()));
    remembered.setValue(QStringLiteral("filter"), FilterEdit->text());
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
