#pragma once

#include "values/OvCounterHistory.h"

#include <QDateTime>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class TCounterChart;
class TCounterLegend;
class QSplitter;
class QLabel;
class QPushButton;
class QStatusBar;
class QTreeWidget;
class OvSNMPRequest2Edits;
class TStaticText;
class TStatusPanel;

// The counters monitor: polls the fourteen 802.11 MAC counters and shows value, change
// per poll (Delta), change per second (Rate), the largest change (Peak) and when it was
// seen. Pause, Start, Reset and the poll interval are the user's.
class TSNMP_Counters : public QWidget {
    Q_OBJECT
public:
    static constexpr int CounterCount = 14;
    static const char* const RowCaptions[CounterCount];
    // The captions as texts: the table's rows, the curves' and the CSV's names.
    static const QStringList& CounterNames();

    TSNMP_Counters(QWidget* owner, const QString& addressText);
    ~TSNMP_Counters() override;

    // Reads the hidden list view's row into the figures and the display rows.
    void UpdateCounters();
    void PrepareRows();

    std::array<quint32, CounterCount> CurrentValue{};
    std::array<quint32, CounterCount> PreviousValue{};
    std::array<quint32, CounterCount> PeakDelta{};
    std::array<quint32, CounterCount> LastDelta{};
    bool Running = true;
    // Shared by every counters window of the program.
    static bool ShowDeltas;

    OvSNMPRequest2Edits* CounterBinding = nullptr;
    QLabel* Label2;
    TStaticText* ST_Time;
    QComboBox* CB_Interval;
    QLabel* Label1;
    QPushButton* BT_Reset;
    QPushButton* BT_Start;
    QPushButton* BT_Stop;
    QStatusBar* StatusBar1;
    TStatusPanel* StatusPanel;
    QTreeWidget* LV_SNMPCounterData;
    QTreeWidget* LV_SNMPCounters;
    QTimer Timer1;

    // The rate graph: what each poll showed, and the curves of the selected counters.
    static constexpr int GraphHeight = 280;
    static constexpr int GraphWidth = 720;        // the chart's, beside the legend
    OvCounterHistory History{CounterCount, 3600}; // an hour of one-second polls
    QCheckBox* CB_Graph;
    QComboBox* CB_Span;
    QPushButton* BT_Export;
    QSplitter* Splitter; // the table above, the graph below
    QWidget* GraphPanel; // the legend and the chart
    TCounterChart* Chart;
    TCounterLegend* Legend;
    // When a poll's samples are taken; tests set their own.
    std::function<qint64()> Clock = &QDateTime::currentMSecsSinceEpoch;
    // Shows or hides the graph, growing or shrinking the window by its height as far as
    // the screen lets it; the splitter shares what there is.
    void ShowGraph(bool shown);
    // Writes the samples of the drawn counters as CSV; false (and a message box) when the
    // file cannot be written.
    bool ExportCsv(const QString& fileName);

public Q_SLOTS:
    void Timer1Timer();
    void BT_ResetClick();
    void BT_StartClick();
    void BT_StopClick();
    void CB_IntervalChange();

private:
    void BuildGraph(QStatusBar* bar);
    int HeightWithoutGraph = 0;
    int WidthWithoutGraph = 0;
    void SelectionChanged();
    void RecordPoll();
    void ExportClick();
    void FormCreate(const QString& addressText);
    void StartRead();
    void ReadFinished(int code, const QString& message);
    bool ReadOutstanding = false;
    bool FirstRead = true;
    // A poll was missed since the last read figures: the next delta spans a gap.
    bool PollMissed = false;
    qint64 LastPollMs = 0; // when the graph's last sample was taken
    void BuildWindow();
    quint32 IntervalSeconds() const;
    void FitColumns();
    std::array<int, 6> FittedLength{}; // longest text per column the widths were fitted to
    static QString Now();
};
