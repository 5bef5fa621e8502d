#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

// The samples behind a counters graph: per counter, what each poll showed (value, change
// since the poll before, change per second), oldest first. Each counter keeps at most
// Capacity samples; older ones are dropped as new ones come.
class OvCounterHistory {
public:
    struct Sample {
        qint64 TimeMs = 0; // milliseconds since the epoch
        quint32 Value = 0;
        quint32 Delta = 0;
        double Rate = 0; // a rate of bits per second may pass 2^32, or have a fraction
        // Polls were missed before this one (paused, unanswered, skipped, or the interval
        // changed): its delta spans more than one interval.
        bool AfterGap = false;
    };

    OvCounterHistory(int counters, int capacity);

    // A new counter without samples; returns its index.
    int AddCounter();
    void Append(int counter, const Sample& sample);
    void Clear();

    int Counters() const { return static_cast<int>(Series.size()); }
    int Capacity() const { return Limit; }
    const std::deque<Sample>& Samples(int counter) const { return Series[static_cast<size_t>(counter)]; }

    // RFC 4180 text of these counters' samples: a header line, then one line per sample in
    // time order ("time", "counter", "value", "delta", "rate"; the time in ISO 8601 with
    // the local offset from UTC, 2026-12-07T10:00:00+01:00). A sample after a gap keeps
    // its value and delta but has an empty rate: its delta spans the gap.
    QString ToCsv(const QStringList& names, const std::vector<int>& counters) const;

private:
    int Limit;
    std::vector<std::deque<Sample>> Series;
};
