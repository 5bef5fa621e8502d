// Randomized inputs for the evaluators: texts made of the characters they react to,
// unbalanced and deeply nested parentheses, very long chains. Every call must end, with a
// result or error -1, within the run's time budget.
#include "TestSupport.h"
#include "errors/OvErrors.h"
#include "values/OvDateTime.h"
#include "values/OvExpression.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>
#include <random>

namespace {

QString randomText(std::mt19937& rng, int maxLength) {
    static const char alphabet[] = "()|&!\"<>=+-*/.,:eE0123456789 aNOWtruefals";
    std::uniform_int_distribution<int> length(0, maxLength);
    std::uniform_int_distribution<int> pick(0, sizeof alphabet - 2);
    QString s;
    const int n = length(rng);
    for (int i = 0; i < n; ++i)
        s += QLatin1Char(alphabet[pick(rng)]);
    return s;
}

void evaluateAll(const QString& text) {
    try {
        OvEvaluateLogic(text);
    } catch (const OvException& e) {
        ASSERT_EQ(e.code(), -1) << text;
    }
    OvEvaluateArithmetic(text);
    OvDateTime d(text);
    (void)d.toText();
}

} // namespace

TEST(ExpressionFuzz, RandomTextsEndWithResultOrBadOperand) {
    std::mt19937 rng(20261207);
    // A fixed number of texts, not a time budget: as many on a busy or instrumented
    // machine as on an idle one.
    for (int run = 0; run < 50000; ++run)
        evaluateAll(randomText(rng, 64));
}

TEST(ExpressionFuzz, PathologicalShapes) {
    const int n = 20000;
    const QString shapes[] = {
        QString(n, QLatin1Char('(')),
        QString(n, QLatin1Char(')')),
        QString(n, QLatin1Char('(')) + QStringLiteral("a=a") + QString(n, QLatin1Char(')')),
        QStringLiteral("1+").repeated(n) + QStringLiteral("1"),
        QStringLiteral("8/").repeated(n) + QStringLiteral("2"),
        QStringLiteral("a=a|").repeated(n) + QStringLiteral("b=a"),
        QStringLiteral("a=a&").repeated(n) + QStringLiteral("b=b"),
        QString(n, QLatin1Char('!')) + QStringLiteral("a=a"),
        QString(n, QLatin1Char('"')),
        QStringLiteral("(\"").repeated(n),
        QString(),
    };
    QElapsedTimer t;
    t.start();
    for (const QString& s : shapes)
        evaluateAll(s);
    EXPECT_EQ(OvEvaluateArithmetic(QStringLiteral("1+").repeated(n) + QStringLiteral("1")), n + 1.0);
    EXPECT_TRUE(OvEvaluateLogic(QStringLiteral("a=a&").repeated(n) + QStringLiteral("b=b")));
}
