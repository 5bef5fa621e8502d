#pragma once

#include "mib/OvCounterDeltas.h"
#include "mib/OvMibReader.h"

#include <memory>

// What a refreshing view adds to the rows it reads: changes and rates since the read
// before. Widget-free; the window shows and saves what it makes.
class OvRowShaper {
public:
    virtual ~OvRowShaper() = default;
    // The titles shown for the titles read.
    virtual QStringList Titles(const QStringList& read) const = 0;
    // The row shown for a row read at nowMs.
    virtual OvMibRow Shape(const OvMibRow& read, qint64 nowMs) = 0;
    void Clear() { Deltas.Clear(); }

    // The shaper of a view, or null for views shown as read.
    static std::unique_ptr<OvRowShaper> For(const OvMibView& view);

protected:
    OvCounterDeltas Deltas;
};

// Counter groups: each object's Delta and Rate after its value.
class OvCounterChanges : public OvRowShaper {
public:
    explicit OvCounterChanges(int valueColumn) : ValueColumn(valueColumn) {}
    QStringList Titles(const QStringList& read) const override;
    OvMibRow Shape(const OvMibRow& read, qint64 nowMs) override;

private:
    int ValueColumn;
};

// The interface counters, one row per interface: after ifIndex, ifDescr and ifSpeed the
// bits per second in and out (octets × 8), the utilisation of the speed in %, packets,
// errors and discards per second, then the counters as read.
class OvInterfaceRates : public OvRowShaper {
public:
    QStringList Titles(const QStringList& read) const override;
    OvMibRow Shape(const OvMibRow& read, qint64 nowMs) override;
    // Where the rate columns start and how many there are.
    static constexpr int FirstRate = 3;
    static constexpr int RateCount = 10;
};
