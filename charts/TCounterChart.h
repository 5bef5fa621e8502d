#pragma once

#include "values/OvCounterHistory.h"

#include <QChartView>
#include <QColor>
#include <QList>
#include <QPen>
#include <QPointF>
#include <QStringList>
#include <vector>

class QCategoryAxis;
class QChart;
class QLineSeries;
class QValueAxis;

// The contrast ratio of two colours as WCAG 2 defines it: 1 (the same) to 21 (black on
// white); lines and symbols need 3 to be told from their background.
double OvContrastRatio(const QColor& a, const QColor& b);

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
    // How counter i's curve is stroked on that background, the lowest stroke first: its
    // colour, laid on a dark casing where the colour alone stands out less than 3:1 (the
    // pale lilac, the yellow), so that every curve is seen and keeps its colour.
    static std::vector<QPen> CurvePens(int counter, const QColor& background);
    static constexpr int Buckets = 100; // per span; two points each at most, about two pixels a point

private:
    struct Curve {
        int Counter;
        QString Name;
        std::vector<QLineSeries*> Lines;   // owned by the chart
        std::vector<QLineSeries*> Casings; // beneath the lines, where the colour is faint
    };
    void AddLine(Curve& curve);
    void RemoveLine(Curve& curve);
    QLineSeries* NewSeries(const QPen& pen);
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
