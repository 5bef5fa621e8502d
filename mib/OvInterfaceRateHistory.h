#pragma once

#include "mib/OvMibReader.h"
#include "values/OvCounterHistory.h"

#include <QHash>
#include <QStringList>
#include <vector>

// The bit rates in and out of each interface over the reads of the interface counters
// view, as the counters graph draws them: two counters of a history per interface, named
// after its ifDescr ("eth0 in", "eth0 out"). The rates are the ones the rows show.
class OvInterfaceRateHistory {
public:
    explicit OvInterfaceRateHistory(int capacity) : Rates(0, capacity) {}

    // Takes the rates of a row as OvInterfaceRates shows it, read at nowMs. A row without
    // rates (an interface's first read) adds nothing.
    void Record(const OvMibRow& shown, qint64 nowMs);
    // Reads were missed or failed: the next rate of every interface spans more than one
    // refresh, and its line starts anew after it.
    void MarkGap();
    void Clear();

    // The counters of these rows (by key), in then out for each; rows without rates yet have none.
    std::vector<int> CountersOf(const QStringList& keys) const;
    const QStringList& Names() const { return CounterNames; }
    const OvCounterHistory& History() const { return Rates; }

private:
    struct Interface {
        int In = 0; // the out counter follows it
        bool AfterGap = false;
    };
    OvCounterHistory Rates;
    QStringList CounterNames;
    QHash<QString, Interface> Interfaces; // by row key
};
