#include "values/OvCounterHistory.h"

#include "values/OvCsv.h"
#include "values/OvNumbers.h"

#include <algorithm>
#include <tuple>

OvCounterHistory::OvCounterHistory(int counters, int capacity)
    : Limit(std::max(1, capacity)), Series(static_cast<size_t>(std::max(0, counters))) {}

void OvCounterHistory::Append(int counter, const Sample& sample) {
    if (counter < 0 || counter >= Counters())
        return;
    std::deque<Sample>& s = Series[static_cast<size_t>(counter)];
    s.push_back(sample);
    while (static_cast<int>(s.size()) > Limit)
        s.pop_front();
}

int OvCounterHistory::AddCounter() {
    Series.emplace_back();
    return Counters() - 1;
}

void OvCounterHistory::Clear() {
    for (auto& s : Series)
        s.clear();
}

QString OvCounterHistory::ToCsv(const QStringList& names, const std::vector<int>& counters) const {
    std::vector<std::tuple<qint64, int, const Sample*>> rows;
    for (int c : counters)
        if (c >= 0 && c < Counters())
            for (const Sample& s : Samples(c))
                rows.emplace_back(s.TimeMs, c, &s);
    std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
        return std::tie(std::get<0>(a), std::get<1>(a)) < std::tie(std::get<0>(b), std::get<1>(b));
    });
    QString out = QStringLiteral("time,counter,value,delta,rate\r\n");
    for (const auto& [time, counter, s] : rows) {
        const QString name = counter < names.size() ? names[counter] : QString::number(counter);
        const QDateTime local = QDateTime::fromMSecsSinceEpoch(time);
        const QString when = local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate);
        // The first poll after a gap has a delta that spans the gap: its rate would be false.
        const QString rate = s->AfterGap ? QString() : OvFloatToStr(s->Rate);
        out += OvCsvLine({when, name, QString::number(s->Value), QString::number(s->Delta), rate});
    }
    return out;
}
