#include "TestSupport.h"
#include "errors/OvErrors.h"
#include "values/OvExpression.h"
#include "values/OvNumbers.h"

#include <cmath>
#include <gtest/gtest.h>

struct LogicRow {
    const char* name;
    const char* text;
    int expected; // 1 true, 0 false, -1 raises "Bad logic operand!"
};

class Logic : public ::testing::TestWithParam<LogicRow> {};

TEST_P(Logic, Evaluates) {
    const LogicRow& r = GetParam();
    const QString text = QString::fromUtf8(r.text);
    if (r.expected < 0) {
        const Raised raised = RaisedBy([&] { OvEvaluateLogic(text); });
        EXPECT_EQ(raised.Code, -1);
        EXPECT_EQ(raised.Message, QStringLiteral("Bad logic operand!"));
    } else {
        EXPECT_EQ(OvEvaluateLogic(text), r.expected == 1) << r.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Logic,
    ::testing::Values(LogicRow{"andBeforeOr", "a=b&b=b|c=c", 1}, LogicRow{"andFails", "a=b&b=b|c=d", 0},
                      LogicRow{"orRight", "a=2|c=c", 1}, LogicRow{"quotedOrIgnored", "\"x|y\"=x|y=y", 1},
                      LogicRow{"quotedRegionIsOneOperand", "\"x|y\"=z", 0}, LogicRow{"textOrder", "10>9", 0},
                      LogicRow{"textOrderLeadingZero", "10>09", 1}, LogicRow{"notEqual", "a<>b", 1},
                      LogicRow{"greaterEqual", "b>=b", 1}, LogicRow{"lessEqual", "a<=b", 1},
                      LogicRow{"less", "b<a", 0}, LogicRow{"trimmedOperands", "  a = a ", 1},
                      LogicRow{"quotesStripped", "\"a\"=a", 1}, LogicRow{"TRUE", "TRUE", 1},
                      LogicRow{"falseWord", "False", 0}, LogicRow{"yesRaises", "yes", -1},
                      LogicRow{"emptyRaises", "", -1}, LogicRow{"parentheses", "(a=b|a=a)&c=c", 1},
                      LogicRow{"nestedParentheses", "((a=a))&(b=c)", 0}, LogicRow{"negation", "!a=b", 1},
                      LogicRow{"doubleNegation", "!!a=a", 1}, LogicRow{"negatedParenthesis", "!(a=a|b=b)", 0},
                      LogicRow{"nowIsAfter2000", "NOW>36526", 1}, LogicRow{"unbalancedOpenIsText", "(a=a", 0},
                      LogicRow{"loneOperator", "|", -1}, LogicRow{"loneQuote", "\"", -1},
                      LogicRow{"prefixIsSmaller", "ab>a", 1}),
    RowName());

struct ArithRow {
    const char* name;
    const char* text;
    double expected;
};

class Arithmetic : public ::testing::TestWithParam<ArithRow> {};

TEST_P(Arithmetic, Evaluates) {
    const double v = OvEvaluateArithmetic(QString::fromUtf8(GetParam().text));
    if (std::isinf(GetParam().expected))
        EXPECT_EQ(v, GetParam().expected);
    else
        EXPECT_DOUBLE_EQ(v, GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Arithmetic,
    ::testing::Values(ArithRow{"parenthesesFirst", "(1+2)*3", 9}, ArithRow{"timesThenPlus", "2*3+4", 10},
                      ArithRow{"minusRightLeaning", "10-2-3", 11}, ArithRow{"divideRightLeaning", "8/4/2", 4},
                      ArithRow{"leadingMinus", "-5", -5}, ArithRow{"plusChain", "1+2+3+4", 10},
                      ArithRow{"minusAfterPlus", "10-2+3", 11}, ArithRow{"operandNotExpression", "6/3*2", 12},
                      ArithRow{"atofOperand", "2.5abc*2", 5}, ArithRow{"emptyIsZero", "", 0},
                      ArithRow{"unreadableIsZero", "x+y", 0}, ArithRow{"divideByZero", "1/0", HUGE_VAL},
                      ArithRow{"negativeInParentheses", "(1-3)*2", -4}, ArithRow{"exponent", "1e3+1", 1001},
                      ArithRow{"unbalancedParenthesis", "(2+3", 3}),
    RowName());

TEST(Arithmetic, NowIsTodaysDayCount) {
    const double now = OvEvaluateArithmetic(QStringLiteral("NOW"));
    EXPECT_NEAR(now, OvNowAsDays(), 0.01);
    EXPECT_GT(now, 46000); // after 2025
}

TEST(Expression, QuotesAndSubstitution) {
    EXPECT_EQ(OvStripQuotes(QStringLiteral("\"abc\"")), QStringLiteral("abc"));
    EXPECT_EQ(OvStripQuotes(QStringLiteral("\"abc")), QStringLiteral("\"abc"));
    EXPECT_EQ(OvStripQuotes(QStringLiteral("\"\"")), QString());
    EXPECT_EQ(
        OvSubstitute(QStringLiteral("[MIN]..[MAX]..[MIN]"), QStringLiteral("[MIN]"), QStringLiteral("0")),
        QStringLiteral("0..[MAX]..0"));
    EXPECT_EQ(OvSubstitute(QStringLiteral("aaa"), QStringLiteral("a"), QStringLiteral("aa")),
              QStringLiteral("aaaaaa"));
}

struct FloatRow {
    const char* name;
    double value;
    const char* text;
};
class FloatText : public ::testing::TestWithParam<FloatRow> {};
TEST_P(FloatText, GeneralFormat) {
    EXPECT_EQ(OvFloatToStr(GetParam().value), QString::fromUtf8(GetParam().text));
}
INSTANTIATE_TEST_SUITE_P(
    Rows, FloatText,
    ::testing::Values(FloatRow{"integer", 3, "3"}, FloatRow{"negative", -2147483648.0, "-2147483648"},
                      FloatRow{"fraction", 0.5, "0.5"}, FloatRow{"large", 1e20, "1E20"},
                      FloatRow{"smallestNormal", 2.2250738585072014E-308, "2.2250738585072E-308"},
                      FloatRow{"largest", 1.7976931348623157E308, "1.79769313486232E308"},
                      FloatRow{"unsignedMax", 4294967295.0, "4294967295"}),
    RowName());
