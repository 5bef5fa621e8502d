#pragma once

#include "values/OvCounterHistory.h"

#include <QtGlobal>
#include <deque>
#include <vector>

// What a counters graph draws of one counter's samples, and the round steps of its axes.

struct OvCurvePoint {
    qint64 TimeMs = 0;
    double Rate = 0;
};
using OvCurveSegment = std::vector<OvCurvePoint>;

// The rates of the samples from fromMs on, as lines. A sample after a gap (its delta spans
// polls that were missed) is not drawn, as its rate is not one of a single interval, and
// the line breaks there. Samples sharing a bucket of bucketMs (counted from the epoch) are
// drawn as the bucket's smallest and largest rate, in time order, so that no burst is
// thinned away; bucketMs of 0 or less keeps every sample.
std::vector<OvCurveSegment> OvRateCurve(const std::deque<OvCounterHistory::Sample>& samples, qint64 fromMs,
                                        qint64 bucketMs);

// The distance of round ticks, 1, 2 or 5 times a power of ten and at least 1, that divides
// 0 to top into at most maxTicks steps.
double OvRoundStep(double top, int maxTicks);

// The ticks of a time axis from fromMs to toMs showing spanMinutes: on whole minutes of
// local time (every 2 minutes for 10, every 10 for 60) or, for a minute or less, every
// 20 seconds.
qint64 OvTimeTickStepMs(int spanMinutes);
std::vector<qint64> OvTimeTicks(qint64 fromMs, qint64 toMs, int spanMinutes);
