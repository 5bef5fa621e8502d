// Edit rules: the specifier grammar, the keystroke filter on real QLineEdits, and the
// exit check with its messages.
#include "TestSupport.h"
#include "binding/OvEditConstraint.h"
#include "binding/OvFeedback.h"
#include "errors/OvErrors.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <cfloat>
#include <gtest/gtest.h>

struct GrammarRow {
    const char* name;
    const char* spec;
    char letter;
    double minimum;
    double maximum;
    int maxLength;
    int flags;
    char jump;
};

class Grammar : public ::testing::TestWithParam<GrammarRow> {};

TEST_P(Grammar, ParsesFields) {
    const GrammarRow& r = GetParam();
    const EditRule rule = EditRule::Parse(QString::fromLatin1(r.spec));
    EXPECT_EQ(rule.Letter, r.letter);
    EXPECT_DOUBLE_EQ(rule.Minimum, r.minimum);
    EXPECT_DOUBLE_EQ(rule.Maximum, r.maximum);
    EXPECT_EQ(rule.MaxLength, r.maxLength);
    EXPECT_EQ(rule.LengthFlags, r.flags);
    EXPECT_EQ(rule.Jump.toLatin1(), r.jump);
}

INSTANTIATE_TEST_SUITE_P(
    Specifiers, Grammar,
    ::testing::Values(GrammarRow{"signed", "%i", 'i', -2147483648.0, 2147483647.0, 0, 0, 0},
                      GrammarRow{"unsigned", "%u", 'u', 0, 4294967295.0, 0, 0, 0},
                      GrammarRow{"string", "%s", 's', DBL_MIN, DBL_MAX, 0, 0, 0},
                      GrammarRow{"stringLength", "%s{l32}", 's', DBL_MIN, DBL_MAX, 32, 0, 0},
                      GrammarRow{"hexFixed", "%h{l10f}", 'h', DBL_MIN, DBL_MAX, 10, 2, 0},
                      GrammarRow{"rangeAdvance", "%u{n1x255l3a}", 'u', 1, 255, 3, 1, 0},
                      GrammarRow{"twoAdvanceFlags", "%u{l3aa}", 'u', 0, 4294967295.0, 3, 2, 0},
                      GrammarRow{"numberList", "%n.{x255l4f}", 'n', DBL_MIN, 255, 4, 2, 0},
                      GrammarRow{"jump", "%u{e.}", 'u', 0, 4294967295.0, 0, 0, '.'},
                      GrammarRow{"floatRange", "%f{n0.5x2.5}", 'f', 0.5, 2.5, 0, 0, 0},
                      GrammarRow{"width", "%i{w80}", 'i', -2147483648.0, 2147483647.0, 0, 0, 0},
                      GrammarRow{"jumpIsW", "%u{ewl2}", 'u', 0, 4294967295.0, 2, 0, 'w'}),
    RowName());

class BadGrammar : public ::testing::TestWithParam<const char*> {};
TEST_P(BadGrammar, RaisesMinusTwo) {
    const Raised raised = RaisedBy([&] { EditRule::Parse(QString::fromLatin1(GetParam())); });
    EXPECT_EQ(raised.Code, -2);
    EXPECT_EQ(raised.Message, QStringLiteral("Bad format specifier of edit's constraint!"));
}
INSTANTIATE_TEST_SUITE_P(Specifiers, BadGrammar,
                         ::testing::Values("", "%", "i", "%q", "%n", "%i{", "%i{l}", "%i{z1}", "%i{e}",
                                           "%i{w}", "%i{x}", "%i{n-1}", "%ix", "%s{l4", "%s{l4}x"));

TEST(Grammar, SplitsFormatTexts) {
    EXPECT_EQ(OvEditConstraint::Split(QStringLiteral("%u{e.}%u{e.}%u{e.}%u")),
              (QStringList{"%u{e.}", "%u{e.}", "%u{e.}", "%u"}));
    EXPECT_EQ(OvEditConstraint::Split(QStringLiteral("%i")), QStringList{"%i"});
}

namespace {
// A window with two edits, rules from the given specifiers.
struct Form {
    QWidget window;
    QLineEdit* first = new QLineEdit(&window);
    QLineEdit* second = new QLineEdit(&window);
    OvEditConstraint rules{&window, true};

    explicit Form(const QString& spec) {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(first);
        layout->addWidget(second);
        rules.Register(spec, {first, second});
        window.show();
        OvFeedback::TakeShown();
        OvFeedback::TakeBeeps();
    }
    void leave(QLineEdit* edit) {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(edit, &out);
    }
};
} // namespace

struct TypingRow {
    const char* name;
    const char* spec;
    const char* typed;
    const char* left;
    int beeps;
};
class Typing : public ::testing::TestWithParam<TypingRow> {};
TEST_P(Typing, FiltersKeystrokes) {
    Form f(QString::fromLatin1(GetParam().spec));
    QTest::keyClicks(f.first, QString::fromLatin1(GetParam().typed));
    EXPECT_EQ(f.first->text(), QString::fromLatin1(GetParam().left));
    EXPECT_EQ(OvFeedback::TakeBeeps(), GetParam().beeps);
}
INSTANTIATE_TEST_SUITE_P(Rows, Typing,
                         ::testing::Values(TypingRow{"letterInSigned", "%i", "12a3", "123", 1},
                                           TypingRow{"minusInUnsigned", "%u", "-5", "5", 1},
                                           TypingRow{"minusInSigned", "%i", "-5", "-5", 0},
                                           TypingRow{"minusInside", "%i", "5-5", "55", 1},
                                           TypingRow{"secondPoint", "%f", "1.2.3", "1.23", 1},
                                           TypingRow{"hexDigits", "%h", "0aFgz9", "0aF9", 2},
                                           TypingRow{"anyString", "%s", "a b!", "a b!", 0},
                                           TypingRow{"numberList", "%n.", "1..2.", "1.2.", 1},
                                           TypingRow{"listStartsWithDelimiter", "%n.", ".1", "1", 1},
                                           TypingRow{"control", "%i", "1\t2", "12", 0},
                                           TypingRow{"lengthLimit", "%s{l4}", "abcdef", "abcd", 0}),
                         RowName());

TEST(Typing, PastedGarbageIsCleanedWithOneBeep) {
    Form f(QStringLiteral("%u"));
    f.first->insert(QStringLiteral("x1y2z3"));
    EXPECT_EQ(f.first->text(), QStringLiteral("123"));
    EXPECT_EQ(OvFeedback::TakeBeeps(), 1);
    const QString huge(20000, QLatin1Char('q'));
    f.first->selectAll();
    f.first->insert(huge + QStringLiteral("7"));
    EXPECT_EQ(f.first->text(), QStringLiteral("7"));
}

TEST(Typing, JumpCharacterMovesToTheNextEdit) {
    Form f(QStringLiteral("%u{e.}%u"));
    QApplication::setActiveWindow(&f.window);
    f.first->setFocus();
    QTest::keyClicks(f.first, QStringLiteral("192."));
    EXPECT_EQ(f.first->text(), QStringLiteral("192"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(f.second->hasFocus());
}

TEST(Typing, AutoAdvanceAtMaximumLength) {
    Form f(QStringLiteral("%u{l3a}%u"));
    QApplication::setActiveWindow(&f.window);
    f.first->setFocus();
    QTest::keyClicks(f.first, QStringLiteral("25"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(f.first->hasFocus());
    QTest::keyClicks(f.first, QStringLiteral("5"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(f.second->hasFocus());
}

struct ExitRow {
    const char* name;
    const char* spec;
    const char* text;
    const char* message; // empty: passes
};
class Leaving : public ::testing::TestWithParam<ExitRow> {};
TEST_P(Leaving, ChecksTheText) {
    Form f(QString::fromLatin1(GetParam().spec));
    f.first->setText(QStringLiteral("good"));
    f.rules.SetLastGood(f.first, QStringLiteral("good"));
    f.first->setText(QString::fromUtf8(GetParam().text));
    f.leave(f.first);
    const auto shown = OvFeedback::TakeShown();
    const QString expected = QString::fromUtf8(GetParam().message);
    if (expected.isEmpty()) {
        EXPECT_TRUE(shown.isEmpty());
        EXPECT_EQ(f.first->text(), QString::fromUtf8(GetParam().text));
    } else {
        ASSERT_EQ(shown.size(), 1);
        EXPECT_EQ(shown[0].Text, expected);
        EXPECT_EQ(shown[0].Caption, OvFeedback::ProgramFileName());
        EXPECT_EQ(f.first->text(), QStringLiteral("good"));
    }
}
INSTANTIATE_TEST_SUITE_P(
    Rows, Leaving,
    ::testing::Values(
        ExitRow{"stringTooLong", "%s{l4}", "abcde", "Please enter a string whose length is less than 4!"},
        ExitRow{"stringAtLimit", "%s{l4}", "abcd", ""},
        ExitRow{"hexFixedShort", "%h{l4f}", "abc", "Please enter a hex string whose length is 4!"},
        ExitRow{"hexTooLong", "%h{l4}", "abcde", "Please enter a hex string whose length is less than 4!"},
        ExitRow{"stringFixed", "%s{l2f}", "a", "Please enter a string whose length is 2!"},
        ExitRow{"signedRange", "%i", "3000000000",
                "Please enter a number between -2147483648 and 2147483647!"},
        ExitRow{"unsignedRange", "%u{n1x255}", "0", "Please enter a number between 1 and 255!"},
        ExitRow{"unsignedInRange", "%u{n1x255}", "255", ""},
        ExitRow{"floatZero", "%f", "0",
                "Please enter a number between 2.2250738585072E-308 and 1.79769313486232E308!"},
        ExitRow{"floatNegative", "%f", "-1",
                "Please enter a number between 2.2250738585072E-308 and 1.79769313486232E308!"},
        ExitRow{"emptyWithLength", "%i{l3}", "", "Please enter a number between -2147483648 and 2147483647!"},
        ExitRow{"emptyWithoutLength", "%i", "", ""}, ExitRow{"nullLeftAlone", "%i", "(NULL)", ""},
        ExitRow{"listCount", "%n.{x255l4f}", "1.2.3",
                "Please enter a delimited number string with delimiter '.'.\nHere,the count of the number is "
                "equal to 4!"},
        ExitRow{"listTooMany", "%n.{x255l4}", "1.2.3.4.5",
                "Please enter a delimited number string with delimiter '.'.\nHere,the count of the number is "
                "less than 4!"},
        ExitRow{"listRange", "%n.{x255l4f}", "1.2.3.256",
                "Please enter a delimited number string with delimiter '.'.\nHere,each number is between 0 "
                "and 255!"},
        ExitRow{"listGood", "%n.{x255l4f}", "10.0.0.1", ""}),
    RowName());

TEST(Leaving, RejectedTextGoesBackToTheLastGoodOne) {
    Form f(QStringLiteral("%i{n1x10}"));
    f.first->setText(QStringLiteral("5"));
    f.leave(f.first); // passes: remembered
    f.first->setText(QStringLiteral("50"));
    f.leave(f.first);
    EXPECT_EQ(OvFeedback::TakeShown().size(), 1);
    EXPECT_EQ(f.first->text(), QStringLiteral("5"));
}

TEST(Leaving, OwnHandlerCanRefuse) {
    Form f(QStringLiteral("%i"));
    f.rules.SetLastGood(f.first, QStringLiteral("1"));
    f.rules.RuleFor(f.first)->OwnExit = [] {
        return false;
    };
    f.first->setText(QStringLiteral("2"));
    f.leave(f.first);
    EXPECT_EQ(f.first->text(), QStringLiteral("1"));
    EXPECT_TRUE(OvFeedback::TakeShown().isEmpty());
}

TEST(Leaving, ValidateAllStopsAtTheFirstBadEdit) {
    Form f(QStringLiteral("%i%s{l2}"));
    f.first->setText(QStringLiteral("12"));
    f.second->setText(QStringLiteral("toolong"));
    f.rules.SetLastGood(f.second, QStringLiteral("ok"));
    EXPECT_FALSE(f.rules.ValidateAll());
    EXPECT_EQ(f.second->text(), QStringLiteral("ok"));
    EXPECT_EQ(OvFeedback::TakeShown().size(), 1);
    EXPECT_TRUE(f.rules.ValidateAll());
}

TEST(Grammar, WidthOptionSetsTheEditWidth) {
    QWidget window;
    auto* edit = new QLineEdit(&window);
    OvEditConstraint rules(&window, true);
    rules.RegisterOne(QStringLiteral("%i{w80}"), edit);
    EXPECT_EQ(edit->width(), 80);
    EXPECT_EQ(rules.RuleFor(edit)->Width, 80);
}
