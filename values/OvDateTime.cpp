#include "values/OvDateTime.h"

#include <QDateTime>
#include <vector>

namespace {

// A small scanf for patterns of "%d" and literal characters: "%d" skips blanks, reads an
// optional sign and digits (wrapping, never overflowing); literals must match exactly.
// Returns how many numbers were read before the first mismatch.
int scanNumbers(const QByteArray& text, const char* pattern, std::vector<long long>& out) {
    out.clear();
    int pos = 0;
    const int n = text.size();
    for (const char* p = pattern; *p; ++p) {
        if (p[0] == '%' && p[1] == 'd') {
            ++p;
            while (pos < n &&
                   (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '\n' || text[pos] == '\r'))
                ++pos;
            bool negative = false;
            if (pos < n && (text[pos] == '+' || text[pos] == '-')) {
                negative = text[pos] == '-';
                ++pos;
            }
            if (pos >= n || text[pos] < '0' || text[pos] > '9')
                break;
            unsigned long long v = 0;
            while (pos < n && text[pos] >= '0' && text[pos] <= '9') {
                v = v * 10 + static_cast<unsigned long long>(text[pos] - '0');
                ++pos;
            }
            out.push_back(negative ? static_cast<long long>(0 - v) : static_cast<long long>(v));
        } else {
            if (pos >= n || text[pos] != *p)
                break;
            ++pos;
        }
    }
    return static_cast<int>(out.size());
}

} // namespace

OvDateTime::OvDateTime() {
    const QDateTime now = QDateTime::currentDateTime();
    Year = static_cast<std::uint16_t>(now.date().year());
    Month = static_cast<std::uint8_t>(now.date().month());
    Day = static_cast<std::uint8_t>(now.date().day());
    Hour = static_cast<std::uint8_t>(now.time().hour());
    Minutes = static_cast<std::uint8_t>(now.time().minute());
    Seconds = static_cast<std::uint8_t>(now.time().second());
}

OvDateTime::OvDateTime(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    std::vector<long long> v;
    Direction = '+';
    if (scanNumbers(bytes, "%d-%d-%d,%d:%d:%d.%d,+%d:%d", v) == 9) {
        Direction = '+';
    } else if (scanNumbers(bytes, "%d-%d-%d,%d:%d:%d.%d,-%d:%d", v) == 9) {
        Direction = '-';
    } else {
        scanNumbers(bytes, "%d-%d-%d,%d:%d:%d.%d", v);
    }
    v.resize(9, 0);
    Year = static_cast<std::uint16_t>(v[0]);
    Month = static_cast<std::uint8_t>(v[1]);
    Day = static_cast<std::uint8_t>(v[2]);
    Hour = static_cast<std::uint8_t>(v[3]);
    Minutes = static_cast<std::uint8_t>(v[4]);
    Seconds = static_cast<std::uint8_t>(v[5]);
    DeciSeconds = static_cast<std::uint8_t>(v[6]);
    HoursFromUTC = static_cast<std::uint8_t>(v[7]);
    MinutesFromUTC = static_cast<std::uint8_t>(v[8]);
}

QString OvDateTime::toText() const {
    QString s = QStringLiteral("%1-%2-%3,%4:%5:%6.%7")
                    .arg(Year)
                    .arg(Month)
                    .arg(Day)
                    .arg(Hour)
                    .arg(Minutes)
                    .arg(Seconds)
                    .arg(DeciSeconds);
    if ((HoursFromUTC != 0 || MinutesFromUTC != 0) && (Direction == '+' || Direction == '-'))
        s += QStringLiteral(",%1%2:%3").arg(QLatin1Char(Direction)).arg(HoursFromUTC).arg(MinutesFromUTC);
    return s;
}

QByteArray OvDateTime::toOctets() const {
    QByteArray o(11, '\0');
    o[0] = static_cast<char>(Year >> 8);
    o[1] = static_cast<char>(Year & 0xFF);
    o[2] = static_cast<char>(Month);
    o[3] = static_cast<char>(Day);
    o[4] = static_cast<char>(Hour);
    o[5] = static_cast<char>(Minutes);
    o[6] = static_cast<char>(Seconds);
    o[7] = static_cast<char>(DeciSeconds);
    o[8] = Direction;
    o[9] = static_cast<char>(HoursFromUTC);
    o[10] = static_cast<char>(MinutesFromUTC);
    return o;
}

OvDateTime OvDateTime::fromOctets(const QByteArray& octets) {
    OvDateTime d{Zero{}};
    auto at = [&octets](int i) {
        return i < octets.size() ? static_cast<std::uint8_t>(octets[i]) : 0;
    };
    d.Year = static_cast<std::uint16_t>((at(0) << 8) | at(1));
    d.Month = at(2);
    d.Day = at(3);
    d.Hour = at(4);
    d.Minutes = at(5);
    d.Seconds = at(6);
    d.DeciSeconds = at(7);
    d.Direction = static_cast<char>(at(8));
    d.HoursFromUTC = at(9);
    d.MinutesFromUTC = at(10);
    return d;
}
