#include "catalogue/OvStandardRanges.h"

namespace {

constexpr const char* kIeee80211 = "IEEE 802.11 MIB";
constexpr qint64 kUnsigned32Max = 4294967295LL;

constexpr OvStandardRange kRanges[] = {
    {"dot11DesiredSSID", 0, 32, true, kIeee80211},
    {"dot11OperationalRateSet", 1, 126, true, kIeee80211},
    {"dot11BeaconPeriod", 1, 65535, false, kIeee80211},
    {"dot11DTIMPeriod", 1, 255, false, kIeee80211},
    {"dot11WEPDefaultKeyID", 0, 3, false, kIeee80211},
    {"dot11RTSThreshold", 0, 2347, false, kIeee80211},
    {"dot11ShortRetryLimit", 1, 255, false, kIeee80211},
    {"dot11LongRetryLimit", 1, 255, false, kIeee80211},
    {"dot11FragmentationThreshold", 256, 2346, false, kIeee80211},
    {"dot11MaxTransmitMSDULifetime", 1, kUnsigned32Max, false, kIeee80211},
    {"dot11MaxReceiveLifetime", 1, kUnsigned32Max, false, kIeee80211},
    {"dot11CurrentChannel", 1, 14, false, kIeee80211},
};

} // namespace

QString OvStandardRange::Text() const {
    return QStringLiteral("%1..%2%3 (%4)")
        .arg(Min)
        .arg(Max)
        .arg(Octets ? QStringLiteral(" octets") : QString(), QLatin1String(Source));
}

const OvStandardRange* OvStandardRangeOf(const QString& name) {
    for (const OvStandardRange& r : kRanges)
        if (name == QLatin1String(r.Name))
            return &r;
    return nullptr;
}
