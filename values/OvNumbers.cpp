#include "values/OvNumbers.h"

#include <QDateTime>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

// The longest prefix of s (after blanks) that looks like a floating number.
// Appends the run of decimal digits at p to out; whether there was one.
bool takeDigits(const char*& p, const char* end, std::string& out) {
    const char* start = p;
    while (p < end && *p >= '0' && *p <= '9')
        out += *p++;
    return p != start;
}

std::string numericPrefix(const QString& text, bool integerOnly) {
    const QByteArray bytes = text.toLatin1();
    const char* p = bytes.constData();
    const char* end = p + bytes.size();
    while (p < end && (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\f' || *p == '\v'))
        ++p;
    std::string out;
    if (p < end && (*p == '+' || *p == '-'))
        out += *p++;
    bool digits = takeDigits(p, end, out);
    if (integerOnly)
        return digits ? out : std::string();
    if (p < end && *p == '.') {
        std::string frac = ".";
        const char* q = p + 1;
        const bool fracDigits = takeDigits(q, end, frac);
        if (digits || fracDigits) {
            out += frac;
            p = q;
            digits = true;
        }
    }
    if (!digits)
        return std::string();
    if (p < end && (*p == 'e' || *p == 'E')) {
        std::string exp = "e";
        const char* q = p + 1;
        if (q < end && (*q == '+' || *q == '-'))
            exp += *q++;
        if (takeDigits(q, end, exp))
            out += exp;
    }
    return out;
}

// Where the digits of a numeric prefix start, past its sign; negative says which sign.
size_t digitsStart(const std::string& s, bool& negative) {
    negative = !s.empty() && s[0] == '-';
    return !s.empty() && (s[0] == '+' || s[0] == '-') ? 1 : 0;
}

} // namespace

double OvAtof(const QString& text) {
    const QString word = text.trimmed();
    const bool minus = word.startsWith(QLatin1Char('-'));
    const QString unsignedWord = (minus || word.startsWith(QLatin1Char('+'))) ? word.mid(1) : word;
    if (unsignedWord.startsWith(QLatin1String("INF"), Qt::CaseInsensitive))
        return minus ? -HUGE_VAL : HUGE_VAL;
    if (unsignedWord.startsWith(QLatin1String("NAN"), Qt::CaseInsensitive))
        return std::nan("");
    std::string s = numericPrefix(text, false);
    if (s.empty())
        return 0.0;
    bool negative = false;
    const size_t start = digitsStart(s, negative);
    double value = 0.0;
    const char* first = s.data() + start;
    const char* last = s.data() + s.size();
    auto res = std::from_chars(first, last, value, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone on overflow/underflow; atof gives inf or 0.
        const bool tiny = s.find("e-") != std::string::npos;
        value = tiny ? 0.0 : HUGE_VAL;
    } else if (res.ec != std::errc()) {
        return 0.0;
    }
    return negative ? -value : value;
}

qint64 OvAtol(const QString& text) {
    const std::string s = numericPrefix(text, true);
    if (s.empty())
        return 0;
    bool negative = false;
    size_t i = digitsStart(s, negative);
    quint64 v = 0;
    for (; i < s.size(); ++i)
        v = v * 10 + static_cast<quint64>(s[i] - '0');
    return negative ? static_cast<qint64>(0 - v) : static_cast<qint64>(v);
}

bool OvAtolInRange(const QString& text, qint64 min, qint64 max, qint64& out) {
    const std::string s = numericPrefix(text, true);
    out = 0;
    if (s.empty())
        return min <= 0 && 0 <= max;
    bool negative = false;
    size_t i = digitsStart(s, negative);
    quint64 v = 0;
    constexpr quint64 limit = quint64(1) << 63;
    for (; i < s.size(); ++i) {
        v = v * 10 + static_cast<quint64>(s[i] - '0');
        if (v > limit)
            return false;
    }
    if (!negative && v == limit)
        return false;
    out = negative ? static_cast<qint64>(0 - v) : static_cast<qint64>(v);
    return min <= out && out <= max;
}

bool OvParseCounter64(const QString& text, quint64& out) {
    out = 0;
    if (OvParseUInt64(text, out))
        return true;
    if (numericPrefix(text, false).empty())
        return false;
    const double d = OvAtof(text);
    // 2^64 is the first value that does not fit.
    if (!(d >= 0) || d >= 18446744073709551616.0)
        return false;
    out = static_cast<quint64>(d);
    return true;
}

bool OvParseUInt64(const QString& text, quint64& out) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    quint64 v = 0;
    for (QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        const quint64 d = static_cast<quint64>(c.unicode() - '0');
        if (v > (~quint64(0) - d) / 10)
            return false;
        v = v * 10 + d;
    }
    out = v;
    return true;
}

QString OvFloatToStr(double value) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (value == 0.0)
        return QStringLiteral("0");
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    std::string s(buf, res.ptr);
    const size_t e = s.find('e');
    if (e == std::string::npos)
        return QString::fromLatin1(s.c_str());
    // "1e+20" -> "1E20", "1e-05" -> "1E-5"
    std::string mantissa = s.substr(0, e);
    std::string exponent = s.substr(e + 1);
    bool negative = false;
    if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) {
        negative = exponent[0] == '-';
        exponent.erase(0, 1);
    }
    while (exponent.size() > 1 && exponent[0] == '0')
        exponent.erase(0, 1);
    return QString::fromLatin1((mantissa + "E" + (negative ? "-" : "") + exponent).c_str());
}

double OvNowAsDays() {
    const QDateTime now = QDateTime::currentDateTime();
    static const QDate epoch(1899, 12, 30);
    const qint64 days = epoch.daysTo(now.date());
    const double fraction = now.time().msecsSinceStartOfDay() / 86400000.0;
    return static_cast<double>(days) + fraction;
}
