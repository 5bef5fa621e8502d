#include "values/OvExpression.h"

#include "errors/OvErrors.h"
#include "values/OvNumbers.h"

#include <limits>

namespace {

// Nesting deeper than this is not an expression anyone wrote; it ends the evaluation
// instead of exhausting the stack.
constexpr int kMaxDepth = 400;

const QChar kQuote(QLatin1Char('"'));

// Position of the ")" matching the "(" at open, or -1.
int matchingParen(const QString& t, int open) {
    int depth = 0;
    for (int i = open; i < t.size(); ++i) {
        if (t[i] == QLatin1Char('('))
            ++depth;
        else if (t[i] == QLatin1Char(')') && --depth == 0)
            return i;
    }
    return -1;
}

struct Region {
    int first = -1;
    int last = -1;
    bool contains(int pos) const { return first >= 0 && pos >= first && pos <= last; }
};

// The first quoted region: the first double quote and the next one after it.
Region quotedRegion(const QString& t) {
    Region r;
    const int a = t.indexOf(kQuote);
    if (a < 0)
        return r;
    const int b = t.indexOf(kQuote, a + 1);
    if (b < 0)
        return r;
    r.first = a;
    r.last = b;
    return r;
}

int findOutside(const QString& t, QChar c, const Region& r) {
    for (int i = t.indexOf(c); i >= 0; i = t.indexOf(c, i + 1))
        if (!r.contains(i))
            return i;
    return -1;
}

[[noreturn]] void badOperand() {
    throw OvException(OvCode::BadLogicOperand);
}

bool isNow(const QString& operand) {
    return operand.compare(QLatin1String("NOW"), Qt::CaseInsensitive) == 0;
}

bool logic(QString t, int depth) {
    bool negate = false;
    for (;;) {
        if (depth > kMaxDepth)
            badOperand();
        const Region region = quotedRegion(t);
        const int open = t.indexOf(QLatin1Char('('));
        const int close = open >= 0 ? matchingParen(t, open) : -1;
        if (open >= 0 && close >= 0 && !region.contains(open) && !region.contains(close)) {
            const bool inner = logic(t.mid(open + 1, close - open - 1), depth + 1);
            t = t.left(open) + (inner ? QStringLiteral("true") : QStringLiteral("false")) + t.mid(close + 1);
            continue;
        }
        const int orPos = findOutside(t, QLatin1Char('|'), region);
        if (orPos >= 0) {
            if (logic(t.left(orPos), depth + 1))
                return !negate;
            t = t.mid(orPos + 1);
            continue;
        }
        const int andPos = findOutside(t, QLatin1Char('&'), region);
        if (andPos >= 0) {
            if (!logic(t.left(andPos), depth + 1))
                return negate;
            t = t.mid(andPos + 1);
            continue;
        }
        const int notPos = findOutside(t, QLatin1Char('!'), region);
        if (notPos >= 0) {
            // The "!" is taken to be the first character.
            negate = !negate;
            t = t.mid(1);
            continue;
        }
        return OvEvaluateComparison(t) != negate;
    }
}

QString nowOr(const QString& operand) {
    return isNow(operand) ? OvFloatToStr(OvNowAsDays()) : operand;
}

double operand(const QString& t) {
    return isNow(t.trimmed()) ? OvNowAsDays() : OvAtof(t);
}

double arithmetic(QString t, int depth) {
    if (depth > kMaxDepth)
        return std::numeric_limits<double>::quiet_NaN();
    // Parentheses first, innermost by recursion.
    for (int open = t.indexOf(QLatin1Char('(')); open >= 0; open = t.indexOf(QLatin1Char('('))) {
        const int close = matchingParen(t, open);
        if (close < 0)
            break;
        const double inner = arithmetic(t.mid(open + 1, close - open - 1), depth + 1);
        t = t.left(open) + OvFloatToStr(inner) + t.mid(close + 1);
    }
    // a+b: a plus the value of b; a-b: a minus the value of b; a*b: the number a times the
    // value of b. These right-leaning chains are summed in a loop rather than recursed.
    double sum = 0.0;
    double sign = 1.0;
    double factor = 1.0;
    for (;;) {
        const int plus = t.indexOf(QLatin1Char('+'));
        if (plus >= 0) {
            sum += sign * factor * arithmetic(t.left(plus), depth + 1);
            t = t.mid(plus + 1);
            continue;
        }
        const int minus = t.indexOf(QLatin1Char('-'));
        if (minus >= 0) {
            sum += sign * factor * arithmetic(t.left(minus), depth + 1);
            sign = -sign;
            t = t.mid(minus + 1);
            continue;
        }
        const int times = t.indexOf(QLatin1Char('*'));
        if (times >= 0) {
            factor *= operand(t.left(times));
            t = t.mid(times + 1);
            continue;
        }
        const int divide = t.indexOf(QLatin1Char('/'));
        if (divide >= 0)
            return sum + sign * factor * (operand(t.left(divide)) / arithmetic(t.mid(divide + 1), depth + 1));
        return sum + sign * factor * operand(t);
    }
}

} // namespace

bool OvEvaluateLogic(const QString& text) {
    return logic(text, 0);
}

bool OvEvaluateComparison(const QString& text) {
    static const char* const kOperators[] = {"<>", ">=", "<=", ">", "<", "="};
    for (const char* op : kOperators) {
        const QLatin1String o(op);
        const int pos = text.indexOf(o);
        if (pos < 0)
            continue;
        const QString left = nowOr(OvStripQuotes(text.left(pos).trimmed()));
        const QString right = nowOr(OvStripQuotes(text.mid(pos + o.size()).trimmed()));
        const int c = QString::compare(left, right, Qt::CaseSensitive);
        const QString which(o);
        if (which == QLatin1String("<>"))
            return c != 0;
        if (which == QLatin1String(">="))
            return c >= 0;
        if (which == QLatin1String("<="))
            return c <= 0;
        if (which == QLatin1String(">"))
            return c > 0;
        if (which == QLatin1String("<"))
            return c < 0;
        return c == 0;
    }
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    badOperand();
}

double OvEvaluateArithmetic(const QString& text) {
    return arithmetic(text, 0);
}

QString OvStripQuotes(const QString& text) {
    if (text.size() >= 2 && text.front() == kQuote && text.back() == kQuote)
        return text.mid(1, text.size() - 2);
    return text;
}

QString OvSubstitute(const QString& text, const QString& pattern, const QString& replacement) {
    if (pattern.isEmpty())
        return text;
    QString out = text;
    return out.replace(pattern, replacement, Qt::CaseSensitive);
}
