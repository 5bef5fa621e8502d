#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QSet>
#include <deque>

// The authenticated SNMPv3 messages seen within the time window a replay could come in
// (RFC 3414 accepts a message for 150 s): at most MaxEntries, the oldest going first.
class OvRecentMessages {
public:
    static constexpr int MaxEntries = 10000;
    static constexpr qint64 WindowMs = 150000;

    OvRecentMessages() { Clock.start(); }

    // True when key was seen within the window; else it is kept from now on.
    bool SeenBefore(const QByteArray& key);

private:
    struct Entry {
        qint64 At;
        QByteArray Key;
    };
    QElapsedTimer Clock;
    std::deque<Entry> Order;
    QSet<QByteArray> Keys;
};
