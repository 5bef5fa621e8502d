#include "mib/OvRowShapers.h"

namespace {
// The counters of an interface row as read, after ifIndex, ifDescr and ifSpeed.
enum Counter {
    InOctets,
    InUcast,
    InNUcast,
    InDiscards,
    InErrors,
    OutOctets,
    OutUcast,
    OutNUcast,
    OutDiscards,
    OutErrors,
    CounterCount
};
constexpr int kFirstCounter = 3;

QString rateText(double perSecond) {
    return perSecond < 0 ? QString() : OvCounterDeltas::RateText(perSecond);
}

// The sum of rates where at least the first is known.
double sum(double a, double b) {
    return a < 0 ? -1 : a + std::max(b, 0.0);
}
} // namespace

std::unique_ptr<OvRowShaper> OvRowShaper::For(const OvMibView& view) {
    switch (view.Kind) {
    case OvMibViewKind::Counters:
        return std::make_unique<OvCounterChanges>(1);
    case OvMibViewKind::InterfaceCounters:
        return std::make_unique<OvInterfaceRates>();
    default:
        return nullptr;
    }
}

QStringList OvCounterChanges::Titles(const QStringList& read) const {
    return read + QStringList{QStringLiteral("Delta"), QStringLiteral("Rate")};
}

OvMibRow OvCounterChanges::Shape(const OvMibRow& read, qint64 nowMs) {
    OvMibRow shown = read;
    const OvCounterDeltas::Change change =
        Deltas.Update(read.Key, read.Cells.value(ValueColumn), read.BitsOf(ValueColumn), nowMs);
    shown.Cells << change.Delta << change.Rate;
    return shown;
}

QStringList OvInterfaceRates::Titles(const QStringList& read) const {
    QStringList titles = read.mid(0, kFirstCounter);
    titles << QStringLiteral("In bit/s") << QStringLiteral("Out bit/s") << QStringLiteral("In %")
           << QStringLiteral("Out %") << QStringLiteral("In packets/s") << QStringLiteral("Out packets/s")
           << QStringLiteral("In errors/s") << QStringLiteral("Out errors/s")
           << QStringLiteral("In discards/s") << QStringLiteral("Out discards/s");
    return titles + read.mid(kFirstCounter);
}

OvMibRow OvInterfaceRates::Shape(const OvMibRow& read, qint64 nowMs) {
    double rate[CounterCount];
    for (int c = 0; c < CounterCount; ++c) {
        const int cell = kFirstCounter + c;
        rate[c] = Deltas
                      .Update(read.Key + QLatin1Char('/') + QString::number(c), read.Cells.value(cell),
                              read.BitsOf(cell), nowMs)
                      .PerSecond;
    }
    bool known = false;
    const double speed = read.Cells.value(2).toDouble(&known);
    auto utilisation = [&](double octets) {
        return known && speed > 0 && octets >= 0 ? QString::number(octets * 8 * 100 / speed, 'f', 2)
                                                 : QString();
    };
    OvMibRow shown{read.Key, read.Cells.mid(0, kFirstCounter), {}};
    shown.Cells << rateText(rate[InOctets] < 0 ? -1 : rate[InOctets] * 8)
                << rateText(rate[OutOctets] < 0 ? -1 : rate[OutOctets] * 8) << utilisation(rate[InOctets])
                << utilisation(rate[OutOctets]) << rateText(sum(rate[InUcast], rate[InNUcast]))
                << rateText(sum(rate[OutUcast], rate[OutNUcast])) << rateText(rate[InErrors])
                << rateText(rate[OutErrors]) << rateText(rate[InDiscards]) << rateText(rate[OutDiscards]);
    shown.Cells << read.Cells.mid(kFirstCounter);
    return shown;
}
