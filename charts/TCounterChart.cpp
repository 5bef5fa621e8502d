#include "charts/TCounterChart.h"

#include "values/OvRateCurve.h"

#include <QCategoryAxis>
#include <QChart>
#include <QDateTime>
#include <QFontMetrics>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace {

// Below zero by this part of the top: a curve of zero or one per second lies above the axis line.
constexpr double Floor = 0.04;
constexpr int RateTicks = 5;

} // namespace

// The axes belong to the chart from the start: they join it only with the first curve.
TCounterChart::TCounterChart(QWidget* parent)
    // The view is built with its chart and owns it (the chart its axes and curves): a view
    // built without one makes a default chart that a later setChart() would leave undeleted.
    : QChartView(new QChart, parent), Chart(chart()), TimeAxis(new QCategoryAxis(Chart)),
      RateAxis(new QValueAxis(Chart)) {
    setObjectName(QStringLiteral("counterChart"));
    Chart->setMargins(QMargins(4, 4, 4, 4));
    Chart->legend()->hide(); // TCounterLegend shows every name
    Chart->setTitle(QStringLiteral("Rate (per second) of the counters selected in the table"));
    TimeAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    TimeAxis->setTruncateLabels(false); // a clock time is read whole or not at all
    RateAxis->setLabelFormat(QStringLiteral("%.0f"));
    RateAxis->setTickType(QValueAxis::TicksDynamic);
    RateAxis->setTickAnchor(0);
    // The axis is not measured again when the range grows: wider labels stay whole.
    RateAxis->setTruncateLabels(false);
    ShowRateTicks(0);
    setRenderHint(QPainter::Antialiasing, false); // curves of hundreds of points redraw every poll
}

QColor TCounterChart::CurveColour(int counter) {
    static const QColor palette[] = {QColor(0xD1BBD7), QColor(0xAA6F9E), QColor(0x882E72), QColor(0x1965B0),
                                     QColor(0x5289C7), QColor(0x7BAFDE), QColor(0x4EB265), QColor(0x90C987),
                                     QColor(0xCAE0AB), QColor(0xF7F056), QColor(0xF6C141), QColor(0xF1932D),
                                     QColor(0xE8601C), QColor(0xDC050C)};
    constexpr int count = static_cast<int>(std::size(palette));
    return palette[((counter % count) + count) % count];
}

namespace {

double luminance(const QColor& colour) {
    const auto linear = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

} // namespace

double OvContrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::vector<QPen> TCounterChart::CurvePens(int counter, const QColor& background) {
    const QColor colour = CurveColour(counter);
    if (OvContrastRatio(colour, background) >= 3)
        return {QPen(colour, 2)};
    // One pixel of casing shows on either side of the line; dark on a light background.
    const QColor casing = luminance(background) > 0.5 ? QColor(0x40, 0x40, 0x40) : QColor(0xE0, 0xE0, 0xE0);
    return {QPen(casing, 4), QPen(colour, 2)};
}

void TCounterChart::AddLine(Curve& curve) {
    const std::vector<QPen> pens = CurvePens(curve.Counter, Chart->backgroundBrush().color());
    if (pens.size() > 1)
        curve.Casings.push_back(NewSeries(pens.front()));
    curve.Lines.push_back(NewSeries(pens.back()));
}

void TCounterChart::RemoveLine(Curve& curve) {
    for (auto* strokes : {&curve.Lines, &curve.Casings}) {
        if (strokes->empty())
            continue;
        Chart->removeSeries(strokes->back());
        delete strokes->back();
        strokes->pop_back();
    }
}

QLineSeries* TCounterChart::NewSeries(const QPen& pen) {
    auto* line = new QLineSeries;
    line->setPen(pen);
    Chart->addSeries(line);
    if (!Chart->axes().contains(TimeAxis)) {
        // Added with the first line: an axis added to an empty chart is not laid out.
        Chart->addAxis(TimeAxis, Qt::AlignBottom);
        Chart->addAxis(RateAxis, Qt::AlignLeft);
    }
    line->attachAxis(TimeAxis);
    line->attachAxis(RateAxis);
    return line;
}

void TCounterChart::ShowCounters(const std::vector<int>& counters, const QStringList& names,
                                 const OvCounterHistory& history) {
    Chart->removeAllSeries();
    Curves.clear();
    Drawn = counters;
    for (int c : counters)
        Curves.push_back({c, c < names.size() ? names[c] : QString::number(c), {}, {}});
    Redraw(history);
}

namespace {

// The last poll, whichever counters it is drawn for; 0 before the first.
qint64 lastPoll(const OvCounterHistory& history) {
    qint64 newest = 0;
    for (int c = 0; c < history.Counters(); ++c)
        if (!history.Samples(c).empty())
            newest = std::max(newest, history.Samples(c).back().TimeMs);
    return newest;
}

} // namespace

void TCounterChart::Follow(const OvCounterHistory& history) {
    const qint64 msPerPixel = qint64(Span) * 60000 / std::max(1, qRound(Chart->plotArea().width()));
    if (lastPoll(history) - DrawnUpToMs >= msPerPixel)
        Redraw(history);
}

void TCounterChart::Redraw(const OvCounterHistory& history) {
    qint64 newest = lastPoll(history);
    DrawnUpToMs = newest;
    if (newest == 0)
        newest = QDateTime::currentMSecsSinceEpoch();
    const qint64 oldest = newest - qint64(Span) * 60000;
    double top = 0;
    for (Curve& curve : Curves) {
        const auto lines =
            OvRateCurve(history.Samples(curve.Counter), oldest, qint64(Span) * 60000 / Buckets);
        while (curve.Lines.size() < lines.size())
            AddLine(curve);
        while (curve.Lines.size() > lines.size())
            RemoveLine(curve);
        for (size_t i = 0; i < lines.size(); ++i) {
            QList<QPointF> points;
            points.reserve(static_cast<qsizetype>(lines[i].size()));
            for (const OvCurvePoint& p : lines[i]) {
                points.append(QPointF(static_cast<double>(p.TimeMs), p.Rate));
                top = std::max(top, p.Rate);
            }
            curve.Lines[i]->replace(points); // one redraw for the whole line
            if (!curve.Casings.empty())
                curve.Casings[i]->replace(points);
        }
    }
    TimeAxis->setRange(static_cast<double>(oldest), static_cast<double>(newest));
    ShowTimeTicks(oldest, newest);
    ShowRateTicks(top);
}

void TCounterChart::ShowTimeTicks(qint64 fromMs, qint64 toMs) {
    const std::vector<qint64> ticks = OvTimeTicks(fromMs, toMs, Span);
    if (ticks == Ticks)
        return; // the labels move with the range
    Ticks = ticks;
    for (const QString& label : TimeAxis->categoriesLabels())
        TimeAxis->remove(label);
    TimeAxis->setStartValue(static_cast<double>(fromMs) - 1);
    const QString format = Span <= 1 ? QStringLiteral("hh:mm:ss") : QStringLiteral("hh:mm");
    // The last label is centred on the plot's right edge: room for its right half.
    const QString widest = Span <= 1 ? QStringLiteral("88:88:88") : QStringLiteral("88:88");
    const int halfLabel = QFontMetrics(TimeAxis->labelsFont()).horizontalAdvance(widest) / 2;
    Chart->setMargins(QMargins(4, 4, std::max(4, halfLabel + 2), 4));
    for (qint64 t : ticks)
        TimeAxis->append(QDateTime::fromMSecsSinceEpoch(t).toString(format), static_cast<double>(t));
}

void TCounterChart::ShowRateTicks(double top) {
    const double step = OvRoundStep(top, RateTicks);
    const double high = std::max(step, std::ceil(top / step) * step);
    if (RateAxis->tickInterval() != step)
        RateAxis->setTickInterval(step);
    if (RateAxis->max() != high)
        RateAxis->setRange(-high * Floor, high);
}

void TCounterChart::SetSpanMinutes(int minutes, const OvCounterHistory& history) {
    Span = std::max(1, minutes);
    Redraw(history);
}

QStringList TCounterChart::CurveNames() const {
    QStringList names;
    for (const Curve& c : Curves)
        names << c.Name;
    return names;
}

std::vector<QList<QPointF>> TCounterChart::Lines(int curve) const {
    std::vector<QList<QPointF>> out;
    if (curve >= 0 && curve < static_cast<int>(Curves.size()))
        for (const QLineSeries* line : Curves[static_cast<size_t>(curve)].Lines)
            out.push_back(line->points());
    return out;
}

int TCounterChart::PointCount(int curve) const {
    int count = 0;
    for (const auto& line : Lines(curve))
        count += static_cast<int>(line.size());
    return count;
}

std::pair<qint64, qint64> TCounterChart::TimeRange() const {
    return {static_cast<qint64>(TimeAxis->min()), static_cast<qint64>(TimeAxis->max())};
}

QStringList TCounterChart::TimeLabels() const {
    return TimeAxis->categoriesLabels();
}

double TCounterChart::RateTop() const {
    return RateAxis->max();
}

double TCounterChart::RateStep() const {
    return RateAxis->tickInterval();
}
