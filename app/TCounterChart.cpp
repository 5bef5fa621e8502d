#include "TCounterChart.h"

#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>

TCounterChart::TCounterChart(QWidget* parent)
    : QChartView(parent), Chart(new QChart), TimeAxis(new QDateTimeAxis), RateAxis(new QValueAxis) {
    setObjectName(QStringLiteral("counterChart"));
    Chart->setMargins(QMargins(4, 4, 4, 4));
    Chart->legend()->setAlignment(Qt::AlignRight);
    Chart->setTitle(QStringLiteral("Rate (per second) of the counters selected in the table"));
    TimeAxis->setFormat(QStringLiteral("hh:mm:ss"));
    TimeAxis->setTickCount(6);
    RateAxis->setLabelFormat(QStringLiteral("%.0f"));
    RateAxis->setRange(0, 1);
    Chart->addAxis(TimeAxis, Qt::AlignBottom);
    Chart->addAxis(RateAxis, Qt::AlignLeft);
    setChart(Chart); // the view owns the chart, the chart its axes and curves
    setRenderHint(QPainter::Antialiasing);
    Rescale(QDateTime::currentMSecsSinceEpoch());
}

void TCounterChart::ShowCounters(const std::vector<int>& counters, const QStringList& names,
                                 const OvCounterHistory& history) {
    Chart->removeAllSeries();
    Curves.clear();
    for (int c : counters) {
        auto* curve = new QLineSeries;
        curve->setName(c < names.size() ? names[c] : QString::number(c));
        Chart->addSeries(curve);
        curve->attachAxis(TimeAxis);
        curve->attachAxis(RateAxis);
        Curves.emplace_back(c, curve);
    }
    Refill(history);
}

void TCounterChart::Refill(const OvCounterHistory& history) {
    qint64 newest = 0;
    for (auto& [counter, curve] : Curves) {
        QList<QPointF> points;
        for (const OvCounterHistory::Sample& s : history.Samples(counter)) {
            points.append(QPointF(static_cast<double>(s.TimeMs), s.Rate));
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
        if (samples.empty())
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
