#pragma once

#include "mib/OvInterfaceRateHistory.h"

#include <QStackedWidget>

class QLabel;
class TCounterChart;
class TCounterLegend;

// Under the interface counters: the bit rates in and out of the rows selected over the
// last minutes, one line each, named in a legend; a hint instead while none is selected.
class TInterfaceGraph : public QStackedWidget {
    Q_OBJECT
public:
    // Ten minutes of reads every second.
    static constexpr int Capacity = 600;

    explicit TInterfaceGraph(QWidget* parent = nullptr);

    // A row as the view shows it, read at nowMs (see OvInterfaceRateHistory).
    void Record(const OvMibRow& shown, qint64 nowMs) { Rates.Record(shown, nowMs); }
    void MarkGap() { Rates.MarkGap(); }
    void Clear();
    // Draws the rows of these keys from now on.
    void ShowInterfaces(const QStringList& keys);
    // Draws again with the reads recorded since.
    void Redraw();

    const TCounterChart& Chart() const { return *Curves; }

private:
    OvInterfaceRateHistory Rates{Capacity};
    QStringList Keys; // of the rows selected
    QLabel* Hint;
    TCounterChart* Curves;
    TCounterLegend* Legend;
};
