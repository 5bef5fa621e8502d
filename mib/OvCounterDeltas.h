#pragma once

#include <QHash>
#include <QString>

// The change of each counter since the read before and its change per second, counted
// modulo 2^32 or 2^64 so that a counter that wrapped still shows what was added.
class OvCounterDeltas {
public:
    struct Change {
        QString Delta;         // empty on a counter's first read
        QString Rate;          // per second, two decimals
        double PerSecond = -1; // the rate as a number; negative when unknown
    };

    // bits 32 or 64; anything else is no counter and shows no change.
    Change Update(const QString& key, const QString& valueText, int bits, qint64 nowMs);
    void Clear() { Previous.clear(); }

    // A rate as the views show it: two decimals.
    static QString RateText(double perSecond) { return QString::number(perSecond, 'f', 2); }

private:
    struct Sample {
        quint64 Value = 0;
        qint64 TimeMs = 0;
    };
    QHash<QString, Sample> Previous;
};
