#include "values/OvRateCurve.h"

#include <QDateTime>
#include <cmath>
#include <limits>

namespace {

qint64 floorDiv(qint64 a, qint64 b) {
    return a / b - (a % b != 0 && (a < 0) != (b < 0) ? 1 : 0);
}

} // namespace

std::vector<OvCurveSegment> OvRateCurve(const std::deque<OvCounterHistory::Sample>& samples, qint64 fromMs,
                                        qint64 bucketMs) {
    std::vector<OvCurveSegment> segments;
    OvCurveSegment line;
    const OvCounterHistory::Sample* lowest = nullptr;
    const OvCounterHistory::Sample* highest = nullptr;
    qint64 bucket = std::numeric_limits<qint64>::min();
    auto closeBucket = [&] {
        if (!lowest)
            return;
        const bool lowFirst = lowest->TimeMs <= highest->TimeMs;
        for (const auto* s : {lowFirst ? lowest : highest, lowFirst ? highest : lowest}) {
            line.push_back({s->TimeMs, static_cast<double>(s->Rate)});
            if (lowest == highest)
                break;
        }
        lowest = highest = nullptr;
    };
    auto closeLine = [&] {
        closeBucket();
        if (!line.empty())
            segments.push_back(std::move(line));
        line.clear();
        bucket = std::numeric_limits<qint64>::min();
    };
    for (const OvCounterHistory::Sample& s : samples) {
        if (s.TimeMs < fromMs)
            continue;
        if (s.AfterGap) {
            closeLine();
            continue;
        }
        const qint64 b = bucketMs > 0 ? floorDiv(s.TimeMs, bucketMs) : s.TimeMs;
        if (b != bucket)
            closeBucket();
        bucket = b;
        if (!lowest || s.Rate < lowest->Rate)
            lowest = &s;
        if (!highest || s.Rate > highest->Rate)
            highest = &s;
    }
    closeLine();
    return segments;
}

double OvRoundStep(double top, int maxTicks) {
    const double wanted = std::max(top, 1.0) / std::max(1, maxTicks);
    double power = std::pow(10.0, std::floor(std::log10(wanted)));
    for (;; power *= 10)
        for (double factor : {1.0, 2.0, 5.0})
            if (factor * power >= wanted && factor * power >= 1)
                return factor * power;
}

qint64 OvTimeTickStepMs(int spanMinutes) {
    if (spanMinutes <= 1)
        return 20'000;
    if (spanMinutes <= 10)
        return 120'000;
    return 600'000;
}

std::vector<qint64> OvTimeTicks(qint64 fromMs, qint64 toMs, int spanMinutes) {
    const qint64 step = OvTimeTickStepMs(spanMinutes);
    // Whole minutes of the local clock, also where the zone is not a whole hour off UTC.
    const qint64 offset = QDateTime::fromMSecsSinceEpoch(fromMs).offsetFromUtc() * qint64(1000);
    std::vector<qint64> ticks;
    for (qint64 t = (floorDiv(fromMs + offset - 1, step) + 1) * step - offset; t <= toMs; t += step)
        ticks.push_back(t);
    return ticks;
}
