#include "notify/OvRecentMessages.h"

bool OvRecentMessages::SeenBefore(const QByteArray& key) {
    const qint64 now = Clock.elapsed();
    while (!Order.empty() && (now - Order.front().At > WindowMs || Order.size() >= MaxEntries)) {
        Keys.remove(Order.front().Key);
        Order.pop_front();
    }
    if (Keys.contains(key))
        return true;
    Keys.insert(key);
    Order.push_back({now, key});
    return false;
}
