#pragma once

#include "values/OvCounterHistory.h"

#include <QChartView>
#include <QStringList>
#include <vector>

class QChart;
class QDateTimeAxis;
class QLineSeries;
class QValueAxis;

// The rate curves of the counters the user picked, over the last minutes, in local time.
// Fed from a counter history: a curve is rebuilt when its counter is picked, and a point
// is added per poll while the curve has fewer than MaxPoints over its span (at longer
// spans one poll in a few); points older than the span are dropped. The chart redraws
// only when a point is added.
class TCounterChart : public QChartView {
    Q_OBJECT
public:
    explicit TCounterChart(QWidget* parent = nullptr);

    // Draws these counters (indexes into the history) under these names.
    void ShowCounters(const std::vector<int>& counters, const QStringList& names,
                      const OvCounterHistory& history);
    // Adds each drawn counter's newest sample.
    void AddLatest(const OvCounterHistory& history);
    void SetSpanMinutes(int minutes, const OvCounterHistory& history);
    void Clear();

    int SpanMinutes() const { return Span; }
    QStringList CurveNames() const;
    // Points of the curve of the i-th drawn counter.
    int PointCount(int curve) const;

    static constexpr int MaxPoints = 200; // per curve: about two pixels each

private:
    qint64 SpacingMs() const;
    bool Due(const QLineSeries* curve, qint64 timeMs) const;
    void Refill(const OvCounterHistory& history);
    void DropOld(qint64 newestMs);
    void Rescale(qint64 newestMs);

    QChart* Chart;
    QDateTimeAxis* TimeAxis;
    QValueAxis* RateAxis;
    std::vector<std::pair<int, QLineSeries*>> Curves; // counter index, its curve
    int Span = 10;
};
