#include "app/TSNMP_Counters.h"

#include "binding/OvShowGridLines.h"
#include "binding/TStaticText.h"
#include "binding/TStatusPanel.h"
#include "charts/TCounterChart.h"
#include "charts/TCounterLegend.h"
#include "binding/OvFeedback.h"
#include "binding/OvFileFolders.h"
#include "binding/OvSNMPRequest2Edits.h"
#include "catalogue/OvCatalogue.h"
#include "charts/TCounterChart.h"
#include "charts/TCounterLegend.h"
#include "errors/OvErrors.h"
#include "values/OvNumbers.h"
#include "values/OvSaveFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <algorithm>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTime>
#include <QTreeWidget>
#include <QVBoxLayout>

bool TSNMP_Counters::ShowDeltas = false;

const char* const TSNMP_Counters::RowCaptions[CounterCount] = {"TransmittedFragmentCount",
                                                               "MulticastTransmittedFrameCount",
                                                               "FailedCount",
                                                               "RetryCount",
                                                               "MultipleRetryCount",
                                                               "FrameDuplicateCount",
                                                               "RTSSuccessCount",
                                                               "RTSFailureCount",
                                                               "ACKFailureCount",
                                                               "ReceivedFragmentCount",
                                                               "MulticastReceivedFrameCount",
                                                               "FCSErrorCount",
                                                               "TransmittedFrameCount",
                                                               "WEPUndecryptableCount"};

namespace {
enum Cell { ValueCell = 1, DeltaCell = 2, RateCell = 3, PeakCell = 4, PeakTimeCell = 5 };
} // namespace

TSNMP_Counters::TSNMP_Counters(QWidget* owner, const QString& addressText) : QWidget(owner, Qt::Window) {
    BuildWindow();
    FormCreate(addressText);
}

TSNMP_Counters::~TSNMP_Counters() = default;

QString TSNMP_Counters::Now() {
    return QLocale::system().toString(QTime::currentTime(), QLocale::LongFormat);
}

void TSNMP_Counters::BuildWindow() {
    setWindowTitle(QStringLiteral("SNMP  Counters"));
    resize(667, 524);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    Splitter = new QSplitter(Qt::Vertical, this);
    Splitter->setObjectName(QStringLiteral("graphSplitter"));
    Splitter->setChildrenCollapsible(false);
    outer->addWidget(Splitter, 1);
    auto* tablePart = new QWidget(Splitter);
    auto* row = new QHBoxLayout(tablePart);
    row->setContentsMargins(0, 0, 0, 0);
    Splitter->addWidget(tablePart);

    LV_SNMPCounterData = new QTreeWidget(this);
    LV_SNMPCounterData->setRootIsDecorated(false);
    LV_SNMPCounterData->setSelectionMode(QAbstractItemView::ExtendedSelection); // the graph's curves
    LV_SNMPCounterData->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Value"),
                                         QStringLiteral("Delta"), QStringLiteral("Rate"),
                                         QStringLiteral("Peak"), QStringLiteral("Peak Occured at")});
    // Auto-sized columns, fitted when a text outgrows them (not re-measured on every poll).
    LV_SNMPCounterData->header()->setSectionResizeMode(QHeaderView::Interactive);
    OvShowGridLines(LV_SNMPCounterData);
    for (const QString& name : CounterNames())
        new QTreeWidgetItem(LV_SNMPCounterData, {name});
    row->addWidget(LV_SNMPCounterData, 1);

    LV_SNMPCounters = new QTreeWidget(this);
    LV_SNMPCounters->hide();

    auto* panel1 = new QWidget(this);
    panel1->setMinimumWidth(98);
    panel1->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    auto* side = new QVBoxLayout(panel1);
    QPalette blue;
    blue.setColor(QPalette::WindowText, Qt::blue);
    blue.setColor(QPalette::Text, Qt::blue);
    Label2 = new QLabel(QStringLiteral("System Time"), panel1);
    ST_Time = new TStaticText(panel1);
    ST_Time->setPalette(blue);
    // Room for the longest time this locale writes, with its zone.
    ST_Time->setMinimumWidth(ST_Time->fontMetrics().horizontalAdvance(
                                 QLocale::system().toString(QTime(22, 59, 59), QLocale::LongFormat)) +
                             2 * ST_Time->frameWidth() + 6);
    CB_Interval = new QComboBox(panel1);
    CB_Interval->setEditable(true);
    CB_Interval->addItems({QStringLiteral("1"), QStringLiteral("5"), QStringLiteral("10")});
    CB_Interval->setPalette(blue);
    Label1 = new QLabel(QStringLiteral("Poll  Interval"), panel1);
    BT_Reset = new QPushButton(QStringLiteral("Reset"), panel1);
    BT_Start = new QPushButton(QStringLiteral("Start"), panel1);
    BT_Stop = new QPushButton(QStringLiteral("Pause"), panel1);
    for (QWidget* w :
         {static_cast<QWidget*>(Label2), static_cast<QWidget*>(ST_Time), static_cast<QWidget*>(CB_Interval),
          static_cast<QWidget*>(Label1), static_cast<QWidget*>(BT_Reset), static_cast<QWidget*>(BT_Start),
          static_cast<QWidget*>(BT_Stop)})
        side->addWidget(w);
    side->addStretch(1);
    row->addWidget(panel1);

    GraphPanel = new QWidget(Splitter);
    auto* graphRow = new QHBoxLayout(GraphPanel);
    graphRow->setContentsMargins(0, 0, 0, 0);
    Chart = new TCounterChart(GraphPanel);
    Chart->setMinimumHeight(GraphHeight / 2);
    Legend = new TCounterLegend(GraphPanel);
    graphRow->addWidget(Chart, 1);
    graphRow->addWidget(Legend);
    Splitter->addWidget(GraphPanel);
    GraphPanel->hide();

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(true);
    StatusPanel = new TStatusPanel(StatusBar1);
    BuildGraph(StatusBar1);
    outer->addWidget(StatusBar1);

    Timer1.setInterval(1000);
    connect(&Timer1, &QTimer::timeout, this, &TSNMP_Counters::Timer1Timer);
    connect(BT_Reset, &QPushButton::clicked, this, &TSNMP_Counters::BT_ResetClick);
    connect(BT_Start, &QPushButton::clicked, this, &TSNMP_Counters::BT_StartClick);
    connect(BT_Stop, &QPushButton::clicked, this, &TSNMP_Counters::BT_StopClick);
    connect(CB_Graph, &QCheckBox::toggled, this, &TSNMP_Counters::ShowGraph);
    connect(CB_Span, &QComboBox::currentIndexChanged, this,
            [this](int i) { Chart->SetSpanMinutes(CB_Span->itemData(i).toInt(), History); });
    connect(BT_Export, &QPushButton::clicked, this, &TSNMP_Counters::ExportClick);
    connect(LV_SNMPCounterData, &QTreeWidget::itemSelectionChanged, this, &TSNMP_Counters::SelectionChanged);
    Timer1.start();
}

// The graph's controls sit at the right of the status bar: the window keeps its design
// size while the graph is hidden.
void TSNMP_Counters::BuildGraph(QStatusBar* bar) {
    CB_Graph = new QCheckBox(QStringLiteral("Graph"), bar);
    CB_Graph->setObjectName(QStringLiteral("graphCheck"));
    CB_Graph->setToolTip(QStringLiteral("Rates of the counters selected in the table, as curves"));
    CB_Span = new QComboBox(bar);
    CB_Span->setObjectName(QStringLiteral("graphSpan"));
    for (int minutes : {1, 10, 60})
        CB_Span->addItem(QStringLiteral("%1 min").arg(minutes), minutes);
    CB_Span->setCurrentIndex(1);
    BT_Export = new QPushButton(QStringLiteral("Export..."), bar);
    BT_Export->setObjectName(QStringLiteral("exportButton"));
    BT_Export->setToolTip(QStringLiteral("Save the samples of the drawn counters as CSV"));
    BT_Export->setEnabled(false); // until counters are drawn
    for (QWidget* w :
         {static_cast<QWidget*>(CB_Graph), static_cast<QWidget*>(CB_Span), static_cast<QWidget*>(BT_Export)})
        bar->addPermanentWidget(w);
}

void TSNMP_Counters::ShowGraph(bool shown) {
    if (shown == GraphPanel->isVisible())
        return;
    if (!shown) {
        GraphPanel->hide();
        SelectionChanged();
        resize(WidthWithoutGraph, HeightWithoutGraph);
        return;
    }
    HeightWithoutGraph = height();
    WidthWithoutGraph = width();
    GraphPanel->show();
    SelectionChanged();
    // As tall as table and graph want, but never taller than the screen (a laptop's 768
    // pixels): then the splitter shares the height, the graph keeping most of its own.
    // As wide as a chart of GraphWidth beside the legend, where the screen has the room:
    // at the table's width the legend would take half the graph.
    const QRect screenArea = screen()->availableGeometry();
    const QSize frame = frameGeometry().size() - size();
    const int fitted = std::min(HeightWithoutGraph + GraphHeight, screenArea.height() - frame.height());
    const int wide = std::max(
        width(), std::min(GraphWidth + Legend->sizeHint().width(), screenArea.width() - frame.width()));
    resize(wide, fitted);
    const int handle = Splitter->handleWidth();
    const int graph = std::min(GraphHeight, (Splitter->height() - handle) * 3 / 5);
    Splitter->setSizes({fitted - graph, graph});
    if (isVisible() && !screenArea.contains(frameGeometry()))
        move(std::max(screenArea.left(), std::min(x(), screenArea.right() - frameGeometry().width() + 1)),
             std::max(screenArea.top(), std::min(y(), screenArea.bottom() - frameGeometry().height() + 1)));
}

void TSNMP_Counters::SelectionChanged() {
    std::vector<int> picked;
    if (GraphPanel->isVisible())
        for (int i = 0; i < CounterCount; ++i)
            if (LV_SNMPCounterData->topLevelItem(i)->isSelected())
                picked.push_back(i);
    Chart->ShowCounters(picked, CounterNames(), History);
    Legend->ShowCounters(picked, CounterNames());
    BT_Export->setEnabled(!picked.empty());
}

const QStringList& TSNMP_Counters::CounterNames() {
    static const QStringList names = [] {
        QStringList list;
        for (const char* caption : RowCaptions)
            list << QString::fromLatin1(caption);
        return list;
    }();
    return names;
}

void TSNMP_Counters::RecordPoll() {
    const qint64 now = Clock();
    // A poll that comes late (the program or the device was held up) spans more than one
    // interval, as one after missed polls does: the graph does not draw its rate.
    const bool late = LastPollMs != 0 && now - LastPollMs > static_cast<qint64>(IntervalSeconds()) * 1500;
    LastPollMs = now;
    for (int i = 0; i < CounterCount; ++i) {
        const size_t k = static_cast<size_t>(i);
        const double rate = LastDelta[k] / IntervalSeconds(); // whole counts per second, as the table shows
        History.Append(i, {now, CurrentValue[k], LastDelta[k], rate, PollMissed || late});
    }
    if (GraphPanel->isVisible()) // a hidden graph is drawn from the history when shown
        Chart->Follow(History);
}

bool TSNMP_Counters::ExportCsv(const QString& fileName) {
    QString message;
    if (OvSaveWhole(fileName, History.ToCsv(CounterNames(), Chart->Counters()).toUtf8(), message))
        return true;
    OvFeedback::MessageBox(this, OvFeedback::ProgramFileName(), message, QMessageBox::Ok,
                           QMessageBox::Critical);
    return false;
}

void TSNMP_Counters::ExportClick() {
    const QString fileName =
        OvAskSaveFileName(this, OvFileFolders::Kind::Csv, QStringLiteral("Export counters"),
                          QStringLiteral("counters.csv"), QStringLiteral("CSV files (*.csv)"));
    if (!fileName.isEmpty())
        ExportCsv(fileName);
}

void TSNMP_Counters::FormCreate(const QString& addressText) {
    setWindowTitle(QStringLiteral("Counters : ") + addressText);
    // A closed monitor can never be seen again: it goes, and its polls with it.
    setAttribute(Qt::WA_DeleteOnClose);
    CB_Interval->setCurrentIndex(0);
    connect(CB_Interval, &QComboBox::currentTextChanged, this, &TSNMP_Counters::CB_IntervalChange);
    Running = true;
    PrepareRows();
    CounterBinding = new OvSNMPRequest2Edits(this);
    CounterBinding->VarList() = OvSNMPVarList(CountersTable, MVT_SV, 0);
    CounterBinding->BindListView(LV_SNMPCounters, true);
    CounterBinding->SetLogTarget(StatusPanel);
    // Reads never block the window: an answer updates the figures when it comes.
    connect(CounterBinding, &OvSNMPRequest2Controls::GetFinished, this, &TSNMP_Counters::ReadFinished);
    FirstRead = true;
    StartRead();
}

void TSNMP_Counters::StartRead() {
    ReadOutstanding = true;
    if (!CounterBinding->GetOrLog())
        ReadOutstanding = false;
}

void TSNMP_Counters::ReadFinished(int code, const QString&) {
    ReadOutstanding = false;
    if (code != 0 || (!Running && !FirstRead)) {
        PollMissed = true;
        return; // the failure is in the status line; a paused monitor keeps its figures
    }
    try {
        UpdateCounters();
    } catch (const OvException& e) {
        PollMissed = true;
        CounterBinding->ShowResult(OvOperation::Get, e.message());
    }
    if (FirstRead)
        ShowDeltas = false;
    FirstRead = false;
}

void TSNMP_Counters::PrepareRows() {
    const QString now = Now();
    for (int i = 0; i < CounterCount; ++i) {
        QTreeWidgetItem* row = LV_SNMPCounterData->topLevelItem(i);
        for (int cell = ValueCell; cell <= PeakCell; ++cell)
            row->setText(cell, QStringLiteral("0"));
        row->setText(PeakTimeCell, now);
    }
    FitColumns();
    CurrentValue.fill(0);
    PreviousValue.fill(0);
    PeakDelta.fill(0);
    LastDelta.fill(0);
}

quint32 TSNMP_Counters::IntervalSeconds() const {
    return static_cast<quint32>(Timer1.interval()) / 1000;
}

void TSNMP_Counters::UpdateCounters() {
    QTreeWidgetItem* read = LV_SNMPCounters->topLevelItem(0);
    // A read that left no complete row changes nothing; the next tick tries again.
    if (!read || read->columnCount() < CounterCount)
        return;
    // One repaint for the whole update, not one per cell.
    LV_SNMPCounterData->setUpdatesEnabled(false);
    struct Repaint {
        QWidget* view;
        ~Repaint() { view->setUpdatesEnabled(true); }
    } repaintOnce{LV_SNMPCounterData};
    for (int i = 0; i < CounterCount; ++i) {
        const size_t k = static_cast<size_t>(i);
        PreviousValue[k] = CurrentValue[k];
        const QString text = read->text(i); // column 0 is the caption, then the sub-items
        quint64 value = 0;                  // a 64-bit counter counts in its low 32 bits here
        if (!OvParseUInt64(text, value))
            value = static_cast<quint64>(OvStrToInt64(text)); // raises for what is no number
        CurrentValue[k] = static_cast<quint32>(value & 0xFFFFFFFF);
        LastDelta[k] = CurrentValue[k] - PreviousValue[k];
        QTreeWidgetItem* row = LV_SNMPCounterData->topLevelItem(i);
        if (LastDelta[k] > PeakDelta[k] && PreviousValue[k] != 0) {
            PeakDelta[k] = LastDelta[k];
            row->setText(PeakCell, QString::number(PeakDelta[k]));
            row->setText(PeakTimeCell, Now());
        }
        row->setText(ValueCell, QString::number(CurrentValue[k]));
        if (ShowDeltas) {
            row->setText(DeltaCell, QString::number(LastDelta[k]));
            row->setText(RateCell, QString::number(LastDelta[k] / IntervalSeconds()));
        }
    }
    if (ShowDeltas)
        RecordPoll(); // the graph gets the rates the table shows
    ShowDeltas = true;
    PollMissed = false;
    FitColumns();
}

void TSNMP_Counters::FitColumns() {
    bool grow = false;
    for (int column = 0; column < LV_SNMPCounterData->columnCount(); ++column) {
        int longest = 0;
        for (int i = 0; i < CounterCount; ++i)
            longest =
                std::max(longest, static_cast<int>(LV_SNMPCounterData->topLevelItem(i)->text(column).size()));
        if (longest > FittedLength[static_cast<size_t>(column)]) {
            FittedLength[static_cast<size_t>(column)] = longest;
            LV_SNMPCounterData->resizeColumnToContents(column);
            grow = true;
        }
    }
    // Every column stays in view: the window grows with its figures.
    const int missing = LV_SNMPCounterData->header()->length() - LV_SNMPCounterData->viewport()->width();
    if (grow && missing > 0 && isVisible())
        resize(width() + missing, height());
}

void TSNMP_Counters::Timer1Timer() {
    ST_Time->setText(Now());
    if (!Running || !CounterBinding || ReadOutstanding) {
        PollMissed = true;
        return; // paused, or a read still on its way: this tick is skipped
    }
    StartRead();
}

void TSNMP_Counters::BT_ResetClick() {
    const QString now = Now();
    for (int i = 0; i < CounterCount; ++i) {
        const size_t k = static_cast<size_t>(i);
        CurrentValue[k] = PreviousValue[k] = PeakDelta[k] = LastDelta[k] = 0;
        QTreeWidgetItem* row = LV_SNMPCounterData->topLevelItem(i);
        row->setText(PeakCell, QStringLiteral("0"));
        row->setText(PeakTimeCell, now);
        row->setText(ValueCell, QStringLiteral("0"));
        row->setText(DeltaCell, QStringLiteral("0"));
        row->setText(RateCell, QString::number(0u / IntervalSeconds()));
    }
    Running = true;
    ShowDeltas = false;
    PollMissed = false;
    History.Clear();
    LastPollMs = 0;
    Chart->Redraw(History);
}

void TSNMP_Counters::BT_StartClick() {
    Running = true;
}

void TSNMP_Counters::BT_StopClick() {
    Running = false;
}

void TSNMP_Counters::CB_IntervalChange() {
    int seconds = 0;
    try {
        seconds = OvStrToInt(CB_Interval->currentText());
    } catch (const OvConvertError& e) {
        OvFeedback::MessageBox(this, OvFeedback::ProgramFileName(), e.message(), QMessageBox::Ok,
                               QMessageBox::Critical);
        return;
    }
    // Zero or less would stop the polls and leave Rate without a divisor: keep the interval.
    if (seconds <= 0 || seconds > 2147483)
        return;
    if (Timer1.interval() == seconds * 1000)
        return;
    Timer1.setInterval(seconds * 1000);
    PollMissed = true; // the next delta is of the old interval, its rate of the new
}
