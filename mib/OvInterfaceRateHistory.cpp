#include "mib/OvInterfaceRateHistory.h"

#include "mib/OvRowShapers.h"

namespace {
constexpr int kDescrColumn = 1;
constexpr int kInBits = OvInterfaceRates::FirstRate;
constexpr int kOutBits = OvInterfaceRates::FirstRate + 1;
} // namespace

void OvInterfaceRateHistory::Record(const OvMibRow& shown, qint64 nowMs) {
    bool inKnown = false;
    bool outKnown = false;
    // The texts the row shows, so that the graph draws what the table says.
    const double in = shown.Cells.value(kInBits).toDouble(&inKnown);
    const double out = shown.Cells.value(kOutBits).toDouble(&outKnown);
    if (!inKnown || !outKnown)
        return;
    auto known = Interfaces.find(shown.Key);
    if (known == Interfaces.end()) {
        const int first = Rates.AddCounter();
        Rates.AddCounter();
        CounterNames << QString() << QString();
        known = Interfaces.insert(shown.Key, {first, false});
    }
    const QString name = shown.Cells.value(kDescrColumn);
    CounterNames[known->In] = name + QStringLiteral(" in");
    CounterNames[known->In + 1] = name + QStringLiteral(" out");
    Rates.Append(known->In, {nowMs, 0, 0, in, known->AfterGap});
    Rates.Append(known->In + 1, {nowMs, 0, 0, out, known->AfterGap});
    known->AfterGap = false;
}

void OvInterfaceRateHistory::MarkGap() {
    for (Interface& i : Interfaces)
        i.AfterGap = true;
}

void OvInterfaceRateHistory::Clear() {
    Rates = OvCounterHistory(0, Rates.Capacity());
    CounterNames.clear();
    Interfaces.clear();
}

std::vector<int> OvInterfaceRateHistory::CountersOf(const QStringList& keys) const {
    std::vector<int> counters;
    for (const QString& key : keys) {
        const auto known = Interfaces.constFind(key);
        if (known != Interfaces.constEnd()) {
            counters.push_back(known->In);
            counters.push_back(known->In + 1);
        }
    }
    return counters;
}
