#pragma once

#include "values/OvCounterHistory.h"

#include <QChartView>
#include <QColor>
#include <QList>
#include <QPointF>
#include <QStringList>
#include <vector>

class QCategoryAxis;
class QChart;
class QLineSeries;
class QValueAxis;

// The rate curves of the counters the user picked, over the last minutes, in local time,
// drawn from a counter history (see OvRateCurve): a line breaks where polls were missed,
// at longer spans each bucket keeps its lowest and highest rate, and the time axis ends
// at the last poll. Every counter has its own colour; the names are in TCounterLegend.
class TCounterChart : public QChartView {
    Q_OBJECT
public:
    explicit TCounterChart(QWidget* parent = nullptr);

    // Draws these counters (indexes into the history) under these names.
    void ShowCounters(const std::vector<int>& counters, const QStringList& names,
                      const OvCounterHistory& history);
    // Draws the curves again with the history's newest samples.
    void Redraw(const OvCounterHistory& history);
    // After a poll: draws again once the last poll is a pixel of the plot further on (at
    // one minute every poll, at sixty every few), so that the graph never lags by more.
    void Follow(const OvCounterHistory& history);
    void SetSpanMinutes(int minutes, const OvCounterHistory& history);

    const std::vector<int>& Counters() const { return Drawn; }
    QStringList CurveNames() const;
    // The lines drawn for the i-th drawn counter, each as its points.
    std::vector<QList<QPointF>> Lines(int curve) const;
    int PointCount(int curve) const;
    // The time axis' range (milliseconds since the epoch) and tick labels; the rate axis'
    // top and tick step.
    std::pair<qint64, qint64> TimeRange() const;
    QStringList TimeLabels() const;
    double RateTop() const;
    double RateStep() const;

    // Fourteen colours told apart also with the common colour-vision deficiencies (Paul
    // Tol's discrete rainbow): counter i is always drawn in colour i.
    static QColor CurveColour(int counter);
    static constexpr int Buckets = 100; // per span; two points each at most, about two pixels a point

private:
    struct Curve {
        int Counter;
        QString Name;
        std::vector<QLineSeries*> Lines; // owned by the chart
    };
    QLineSeries* NewLine(int counter);
    void ShowTimeTicks(qint64 fromMs, qint64 toMs);
    void ShowRateTicks(double top);

    QChart* Chart;
    QCategoryAxis* TimeAxis;
    QValueAxis* RateAxis;
    std::vector<int> Drawn;
    std::vector<Curve> Curves;
    std::vector<qint64> Ticks; // of the time axis, as shown
    qint64 DrawnUpToMs = 0;    // the last poll the curves show
    int Span = 10;
};
