#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

// An SNMP DateAndTime value (RFC 2579): eleven octets from year to UTC offset.
class OvDateTime {
public:
    // The current local date and time, deci-seconds 0, offset +0:0.
    OvDateTime();
    // Reads "y-m-d,h:n:s.d,+h:m", "...,-h:m" or "y-m-d,h:n:s.d"; fields the text does
    // not give are zero.
    explicit OvDateTime(const QString& text);

    // "y-m-d,h:n:s.d" with ",+h:m" / ",-h:m" appended when the offset is not zero.
    QString toText() const;

    // The eleven octets as sent, year in network order; missing octets read as zero.
    QByteArray toOctets() const;
    static OvDateTime fromOctets(const QByteArray& octets);

    std::uint16_t Year = 0;
    std::uint8_t Month = 0;
    std::uint8_t Day = 0;
    std::uint8_t Hour = 0;
    std::uint8_t Minutes = 0;
    std::uint8_t Seconds = 0;
    std::uint8_t DeciSeconds = 0;
    char Direction = '+';
    std::uint8_t HoursFromUTC = 0;
    std::uint8_t MinutesFromUTC = 0;

private:
    struct Zero {};
    explicit OvDateTime(Zero) {}
};
