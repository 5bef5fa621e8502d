// The samples behind the counters graph: bounded per counter, cleared, exported as CSV.
#include "values/OvCounterHistory.h"
#include "values/OvCsv.h"

#include "values/OvRateCurve.h"

#include <QDateTime>
#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

// The local time zone for one test.
class ZoneForTest {
public:
    explicit ZoneForTest(const char* zone) : Saved(qgetenv("TZ")) { qputenv("TZ", zone); }
    ~ZoneForTest() { qputenv("TZ", Saved); }

private:
    QByteArray Saved;
};

OvCounterHistory::Sample at(qint64 ms, quint32 rate, bool afterGap = false) {
    OvCounterHistory::Sample s;
    s.TimeMs = ms;
    s.Rate = rate;
    s.Delta = rate;
    s.AfterGap = afterGap;
    return s;
}

std::vector<double> rates(const OvCurveSegment& line) {
    std::vector<double> out;
    for (const OvCurvePoint& p : line)
        out.push_back(p.Rate);
    return out;
}

} // namespace

TEST(CounterHistory, KeepsTheNewestSamplesOfEachCounter) {
    OvCounterHistory h(2, 3);
    for (quint32 i = 1; i <= 5; ++i)
        h.Append(0, {i * 1000, i, 1, 1});
    h.Append(1, {1000, 9, 9, 9});
    h.Append(7, {1000, 9, 9, 9}); // no such counter: ignored
    EXPECT_EQ(h.AddCounter(), 2); // one added later takes samples like the others
    h.Append(2, {1000, 9, 9, 9});
    EXPECT_EQ(h.Samples(2).size(), 1u);
    ASSERT_EQ(h.Samples(0).size(), 3u);
    EXPECT_EQ(h.Samples(0).front().Value, 3u);
    EXPECT_EQ(h.Samples(0).back().Value, 5u);
    EXPECT_EQ(h.Samples(1).size(), 1u);
    h.Clear();
    EXPECT_TRUE(h.Samples(0).empty());
    EXPECT_TRUE(h.Samples(1).empty());
}

// Times carry their offset from UTC; only the counters asked for are written.
TEST(CounterHistory, CsvOfTheCountersAskedForInTimeOrder) {
    const ZoneForTest zone("Asia/Kathmandu"); // +05:45: no whole hour
    OvCounterHistory h(3, 10);
    const qint64 t0 = QDateTime(QDate(2026, 12, 7), QTime(10, 0, 0)).toMSecsSinceEpoch();
    h.Append(1, {t0, 5, 2, 1});
    h.Append(0, {t0, 4294967295u, 10, 10});
    h.Append(2, {t0, 1, 1, 1}); // not asked for
    h.Append(0, {t0 + 1000, 9, 10, 10});
    h.Append(0, {t0 + 2000, 9, 0, 5000000000.25});     // bits per second: past 32 bits, with a fraction
    h.Append(0, {t0 + 24000, 2143, 2134, 2134, true}); // after a 22 s pause: no rate
    EXPECT_EQ(
        h.ToCsv({QStringLiteral("plain"), QStringLiteral("with, comma \"quoted\""), QStringLiteral("other")},
                {1, 0}),
        QStringLiteral("time,counter,value,delta,rate\r\n"
                       "2026-12-07T10:00:00+05:45,plain,4294967295,10,10\r\n"
                       "2026-12-07T10:00:00+05:45,\"with, comma \"\"quoted\"\"\",5,2,1\r\n"
                       "2026-12-07T10:00:01+05:45,plain,9,10,10\r\n"
                       "2026-12-07T10:00:02+05:45,plain,9,0,5000000000.25\r\n"
                       "2026-12-07T10:00:24+05:45,plain,2143,2134,\r\n"));
    EXPECT_EQ(h.ToCsv({}, {}), QStringLiteral("time,counter,value,delta,rate\r\n"));
}

TEST(Csv, FieldsQuotedOnlyWhereTheyMustBe) {
    EXPECT_EQ(OvCsvLine({"ifDescr", "", "eth0, uplink", "say \"hi\"", "two\nlines", "cr\rhere"}),
              "ifDescr,,\"eth0, uplink\",\"say \"\"hi\"\"\",\"two\nlines\",\"cr\rhere\"\r\n");
}

// ---- the graph's curves ------------------------------------------------------------------------

// A gap breaks the line, and its catch-up sample (a 20 s pause read as one poll) is not drawn.
TEST(RateCurve, BreaksAtAGapAndLeavesOutItsCatchUp) {
    const std::deque<OvCounterHistory::Sample> samples{at(1000, 131),         at(2000, 130),  at(3000, 132),
                                                       at(23000, 2751, true), at(24000, 131), at(25000, 129)};
    const auto lines = OvRateCurve(samples, 0, 0);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(rates(lines[0]), (std::vector<double>{131, 130, 132}));
    EXPECT_EQ(rates(lines[1]), (std::vector<double>{131, 129}));
    EXPECT_EQ(lines[1].front().TimeMs, 24000);
    // Only what lies in the span.
    EXPECT_EQ(OvRateCurve(samples, 24000, 0).size(), 1u);
    EXPECT_TRUE(OvRateCurve(samples, 26000, 0).empty());
}

// An hour of one-second polls thinned to the 60-minute graph: each bucket's lowest and
// highest rate stay, so the one burst is drawn.
TEST(RateCurve, ThinningKeepsEveryBucketsLowestAndHighest) {
    std::deque<OvCounterHistory::Sample> samples;
    const qint64 start = 1'800'000'000'000;
    for (int i = 0; i < 3600; ++i)
        samples.push_back(at(start + i * 1000, i == 1800 ? 524 : 131 + (i % 3)));
    const qint64 bucket = 60 * 60000 / 200;
    const auto lines = OvRateCurve(samples, start, bucket);
    ASSERT_EQ(lines.size(), 1u);
    const OvCurveSegment& line = lines[0];
    EXPECT_LE(line.size(), 2u * 201);
    double top = 0;
    double bottom = 1e9;
    for (size_t i = 0; i < line.size(); ++i) {
        top = std::max(top, line[i].Rate);
        bottom = std::min(bottom, line[i].Rate);
        if (i > 0) {
            EXPECT_LT(line[i - 1].TimeMs, line[i].TimeMs);
        }
    }
    EXPECT_EQ(top, 524);
    EXPECT_EQ(bottom, 131);
    // The burst at its own time, with the bucket's lowest before it.
    const auto burst =
        std::find_if(line.begin(), line.end(), [](const OvCurvePoint& p) { return p.Rate == 524; });
    EXPECT_EQ(burst->TimeMs, start + 1800 * 1000);
}

TEST(RateCurve, RoundStepsAndWholeMinuteTicks) {
    const struct {
        double top;
        double step;
    } steps[] = {{0, 1},    {1, 1},     {4, 1},       {7, 2},        {10, 2},
                 {131, 50}, {524, 200}, {2751, 1000}, {99999, 20000}};
    for (const auto& s : steps)
        EXPECT_EQ(OvRoundStep(s.top, 5), s.step) << s.top;

    const ZoneForTest zone("Asia/Kathmandu");
    const qint64 end = QDateTime(QDate(2026, 3, 1), QTime(10, 17, 43)).toMSecsSinceEpoch();
    const struct {
        int span;
        QTime first;
        size_t count;
    } ticks[] = {{1, QTime(10, 17), 3}, {10, QTime(10, 8), 5}, {60, QTime(9, 20), 6}};
    for (const auto& t : ticks) {
        const auto found = OvTimeTicks(end - t.span * 60000, end, t.span);
        ASSERT_EQ(found.size(), t.count) << t.span;
        EXPECT_EQ(QDateTime::fromMSecsSinceEpoch(found.front()).time(), t.first) << t.span;
        for (size_t i = 1; i < found.size(); ++i)
            EXPECT_EQ(found[i] - found[i - 1], OvTimeTickStepMs(t.span));
    }
}
