#include "app/TCounterChart.h"

#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>

// The axes belong to the chart from the start: they join it only with the first curve.
TCounterChart::TCounterChart(QWidget* parent)
    : QChartView(parent), Chart(new QChart), TimeAxis(new QDateTimeAxis(Chart)),
      RateAxis(new QValueAxis(Chart)) {
    setObjectName(QStringLiteral("counterChart"));
    Chart->setMargins(QMargins(4, 4, 4, 4));
    Chart->legend()->setAlignment(Qt::AlignRight);
    Chart->setTitle(QStringLiteral("Rate (per second) of the counters selected in the table"));
    TimeAxis->setFormat(QStringLiteral("hh:mm:ss"));
    RateAxis->setLabelFormat(QStringLiteral("%.0f"));
    // The axis is not measured again when the range grows: wider labels stay whole.
    RateAxis->setTruncateLabels(false);
    RateAxis->setRange(0, 1);
    setChart(Chart);                              // the view owns the chart, the chart its axes and curves
    setRenderHint(QPainter::Antialiasing, false); // curves of thousands of points redraw every poll
}

void TCounterChart::ShowCounters(const std::vector<int>& counters, const QStringList& names,
                                 const OvCounterHistory& history) {
    Chart->removeAllSeries();
    Curves.clear();
    for (int c : counters) {
        auto* curve = new QLineSeries;
        curve->setName(c < names.size() ? names[c] : QString::number(c));
        Chart->addSeries(curve);
        if (Chart->axes().isEmpty()) {
            // Added with the first curve: a time axis added to an empty chart is not laid out.
            Chart->addAxis(TimeAxis, Qt::AlignBottom);
            Chart->addAxis(RateAxis, Qt::AlignLeft);
        }
        curve->attachAxis(TimeAxis);
        curve->attachAxis(RateAxis);
        Curves.emplace_back(c, curve);
    }
    Refill(history);
}

qint64 TCounterChart::SpacingMs() const {
    return qint64(Span) * 60000 / MaxPoints;
}

bool TCounterChart::Due(const QLineSeries* curve, qint64 timeMs) const {
    return curve->count() == 0 ||
           timeMs - static_cast<qint64>(curve->at(curve->count() - 1).x()) >= SpacingMs();
}

void TCounterChart::Refill(const OvCounterHistory& history) {
    qint64 newest = 0;
    for (auto& [counter, curve] : Curves) {
        QList<QPointF> points;
        qint64 last = 0;
        for (const OvCounterHistory::Sample& s : history.Samples(counter)) {
            if (!points.isEmpty() && s.TimeMs - last < SpacingMs())
                continue;
            points.append(QPointF(static_cast<double>(s.TimeMs), s.Rate));
            last = s.TimeMs;
            newest = std::max(newest, s.TimeMs);
        }
        curve->replace(points); // one redraw for the whole curve
    }
    if (newest == 0)
        newest = QDateTime::currentMSecsSinceEpoch();
    DropOld(newest);
    Rescale(newest);
}

void TCounterChart::AddLatest(const OvCounterHistory& history) {
    qint64 newest = 0;
    for (auto& [counter, curve] : Curves) {
        const auto& samples = history.Samples(counter);
        if (samples.empty() || !Due(curve, samples.back().TimeMs))
            continue;
        curve->append(static_cast<double>(samples.back().TimeMs), samples.back().Rate);
        newest = std::max(newest, samples.back().TimeMs);
    }
    if (newest == 0)
        return; // nothing added: nothing to redraw
    DropOld(newest);
    Rescale(newest);
}

void TCounterChart::SetSpanMinutes(int minutes, const OvCounterHistory& history) {
    Span = std::max(1, minutes);
    Refill(history);
}

void TCounterChart::Clear() {
    for (auto& [counter, curve] : Curves)
        curve->clear();
    Rescale(QDateTime::currentMSecsSinceEpoch());
}

void TCounterChart::DropOld(qint64 newestMs) {
    const double oldest = static_cast<double>(newestMs - qint64(Span) * 60000);
    for (auto& [counter, curve] : Curves) {
        int old = 0;
        while (old < curve->count() && curve->at(old).x() < oldest)
            ++old;
        if (old > 0)
            curve->removePoints(0, old);
    }
}

void TCounterChart::Rescale(qint64 newestMs) {
    TimeAxis->setRange(QDateTime::fromMSecsSinceEpoch(newestMs - qint64(Span) * 60000),
                       QDateTime::fromMSecsSinceEpoch(newestMs));
    double top = 0;
    for (auto& [counter, curve] : Curves)
        for (int i = 0; i < curve->count(); ++i)
            top = std::max(top, curve->at(i).y());
    const double wanted = top <= 0 ? 1 : top * 1.1;
    if (RateAxis->max() != wanted)
        RateAxis->setRange(0, wanted);
}

QStringList TCounterChart::CurveNames() const {
    QStringList names;
    for (const auto& [counter, curve] : Curves)
        names << curve->name();
    return names;
}

int TCounterChart::PointCount(int curve) const {
    return curve < static_cast<int>(Curves.size()) ? Curves[static_cast<size_t>(curve)].second->count() : 0;
}
