#include "values/OvEditRule.h"

#include "errors/OvErrors.h"
#include "values/OvExpression.h"
#include "values/OvNumbers.h"

#include <cfloat>
#include <cmath>

namespace {

[[noreturn]] void badSpecifier() {
    throw OvException(OvCode::BadFormatSpecifier);
}

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

QString unsignedBound(double v) {
    if (!(v > 0))
        return QStringLiteral("0");
    if (v >= 4294967295.0)
        return QStringLiteral("4294967295");
    return QString::number(static_cast<quint32>(std::trunc(v)));
}

} // namespace

OvNumList OvNumList::Parse(const QString& text, QChar delimiter) {
    OvNumList list;
    list.Delimiter = delimiter;
    if (text.isEmpty())
        return list;
    list.Count = 1 + static_cast<int>(text.count(delimiter));
    list.Numbers.assign(static_cast<size_t>(list.Count), 0);
    size_t n = 0;
    bool fraction = false;
    for (QChar c : text) {
        if (c == delimiter) {
            ++n;
            fraction = false;
        } else if (c == QLatin1Char('.')) {
            fraction = true; // numbers are whole: the fraction's digits are dropped
        } else if (isDigit(c) && !fraction) {
            list.Numbers[n] = list.Numbers[n] * 10 + static_cast<quint32>(c.unicode() - '0');
        }
    }
    return list;
}

OvEditRule OvEditRule::Parse(const QString& spec) {
    if (spec.size() < 2 || spec[0] != QLatin1Char('%'))
        badSpecifier();
    OvEditRule rule;
    const QChar letter = spec[1];
    if (!QStringLiteral("shiufn").contains(letter))
        badSpecifier();
    rule.Letter = letter.toLatin1();
    switch (rule.Letter) {
    case 'i':
        rule.Minimum = -2147483648.0;
        rule.Maximum = 2147483647.0;
        break;
    case 'u':
        rule.Minimum = 0;
        rule.Maximum = 4294967295.0;
        break;
    default:
        rule.Minimum = DBL_MIN;
        rule.Maximum = DBL_MAX;
        break;
    }
    int pos = 2;
    if (rule.Letter == 'n') {
        if (spec.size() < 3)
            badSpecifier();
        rule.Delimiter = spec[2];
        pos = 3;
    }
    if (spec.size() <= pos)
        return rule;
    if (spec[pos] != QLatin1Char('{') || spec.back() != QLatin1Char('}'))
        badSpecifier();
    const int end = spec.size() - 1; // the closing brace
    int i = pos + 1;
    auto readRun = [&spec, &i, end](bool points) {
        const int start = i;
        while (i < end && (isDigit(spec[i]) || (points && spec[i] == QLatin1Char('.'))))
            ++i;
        if (i == start)
            badSpecifier();
        return spec.mid(start, i - start);
    };
    while (i < end) {
        const QChar option = spec[i++];
        if (option == QLatin1Char('e')) {
            if (i >= end)
                badSpecifier();
            rule.Jump = spec[i++];
        } else if (option == QLatin1Char('l')) {
            rule.MaxLength = readRun(false).toInt();
            for (int flags = 0; flags < 2 && i < end; ++flags) {
                if (spec[i] == QLatin1Char('a'))
                    rule.LengthFlags += AutoAdvance;
                else if (spec[i] == QLatin1Char('f'))
                    rule.LengthFlags += FixedLength;
                else
                    break;
                ++i;
            }
        } else if (option == QLatin1Char('n')) {
            rule.Minimum = OvAtof(readRun(true));
        } else if (option == QLatin1Char('x')) {
            rule.Maximum = OvAtof(readRun(true));
        } else if (option == QLatin1Char('w')) {
            rule.Width = readRun(false).toInt();
        } else {
            badSpecifier();
        }
    }
    return rule;
}

bool OvEditRule::Fits(const QString& text, int pos) const {
    const QChar c = text[pos];
    switch (Letter) {
    case 's':
        return true;
    case 'h':
        return isDigit(c) || (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
               (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
    case 'i':
        return isDigit(c) || (c == QLatin1Char('-') && pos == 0);
    case 'u':
        return isDigit(c);
    case 'f':
        if (isDigit(c) || (c == QLatin1Char('-') && pos == 0))
            return true;
        return c == QLatin1Char('.') && text.left(pos).count(QLatin1Char('.')) == 0;
    case 'n':
        return isDigit(c) || (c == Delimiter && pos >= 1 && text[pos - 1] != Delimiter);
    default:
        return false;
    }
}

bool OvEditRule::Check(const QString& text, QString& message) const {
    auto fail = [&message](int code, const QString& placeholder1 = QString(),
                           const QString& value1 = QString(), const QString& placeholder2 = QString(),
                           const QString& value2 = QString()) {
        message = OvErrorMessage(code);
        if (!placeholder1.isEmpty())
            message = OvSubstitute(message, placeholder1, value1);
        if (!placeholder2.isEmpty())
            message = OvSubstitute(message, placeholder2, value2);
        return false;
    };
    switch (Letter) {
    case 'i':
    case 'u':
    case 'f': {
        const double v = OvAtof(text);
        if (v < Minimum || v > Maximum || (text.isEmpty() && MaxLength > 0))
            return fail(OvCode::NumberRange, QStringLiteral("[MIN]"), OvFloatToStr(Minimum),
                        QStringLiteral("[MAX]"), OvFloatToStr(Maximum));
        return true;
    }
    case 's':
    case 'h': {
        if (MaxLength <= 0)
            return true;
        const bool hex = Letter == 'h';
        if (LengthFlags & FixedLength) {
            if (text.size() != MaxLength)
                return fail(hex ? OvCode::HexLength : OvCode::StringLength, QStringLiteral("[LEN]"),
                            QString::number(MaxLength));
        } else if (text.size() > MaxLength) {
            return fail(hex ? OvCode::HexTooLong : OvCode::StringTooLong, QStringLiteral("[MAXLEN]"),
                        QString::number(MaxLength));
        }
        return true;
    }
    case 'n': {
        const OvNumList list = OvNumList::Parse(text, Delimiter);
        const QString delimiter(Delimiter);
        if (MaxLength > 0) {
            if ((LengthFlags & FixedLength) && list.Count != MaxLength)
                return fail(OvCode::NumListCount, QStringLiteral("[DELIMITER]"), delimiter,
                            QStringLiteral("[COUNT]"), QString::number(MaxLength));
            if (!(LengthFlags & FixedLength) && list.Count > MaxLength)
                return fail(OvCode::NumListMaxCount, QStringLiteral("[DELIMITER]"), delimiter,
                            QStringLiteral("[MAXCOUNT]"), QString::number(MaxLength));
        }
        const QString lo = unsignedBound(Minimum);
        const QString hi = unsignedBound(Maximum);
        const quint32 low = lo.toUInt();
        const quint32 high = hi.toUInt();
        for (quint32 n : list.Numbers) {
            if (n < low || n > high) {
                message = OvErrorMessage(OvCode::NumListRange);
                message = OvSubstitute(message, QStringLiteral("[DELIMITER]"), delimiter);
                message = OvSubstitute(message, QStringLiteral("[MIN]"), lo);
                message = OvSubstitute(message, QStringLiteral("[MAX]"), hi);
                return false;
            }
        }
        return true;
    }
    default:
        return true;
    }
}
