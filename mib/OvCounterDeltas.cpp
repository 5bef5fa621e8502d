#include "mib/OvCounterDeltas.h"

OvCounterDeltas::Change OvCounterDeltas::Update(const QString& key, const QString& valueText, int bits,
                                                qint64 nowMs) {
    bool ok = false;
    const quint64 value = valueText.toULongLong(&ok);
    if ((bits != 32 && bits != 64) || !ok) {
        Previous.remove(key);
        return {};
    }
    const auto before = Previous.constFind(key);
    const Sample now{value, nowMs};
    if (before == Previous.constEnd()) {
        Previous.insert(key, now);
        return {};
    }
    quint64 delta = value - before->Value; // modulo 2^64
    if (bits == 32)
        delta &= 0xFFFFFFFFu;
    const qint64 elapsed = nowMs - before->TimeMs;
    Previous.insert(key, now);
    if (elapsed <= 0)
        return {QString::number(delta), QString(), -1};
    const double perSecond =
        static_cast<double>(static_cast<long double>(delta) * 1000 / static_cast<long double>(elapsed));
    return {QString::number(delta), RateText(perSecond), perSecond};
}
