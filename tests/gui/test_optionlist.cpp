#include "TestSupport.h"
#include "binding/TRadioGroup.h"
#include "binding/OvOptionListWidgets.h"
#include "values/OvOptionList.h"

#include <QComboBox>
#include <gtest/gtest.h>

namespace {
constexpr OvIntOption kAB[] = {{1, "a"}, {2, "b"}, {0, nullptr}};
constexpr OvIntOption kMore[] = {{7, "seven"}, {0, nullptr}};
constexpr OvIntOption kNone[] = {{0, nullptr}};
constexpr OvTextOption kPrefix[] = {
    {"1.3.6", "Standard"}, {"1.3.6.1.4.1.32473", "Velmarn"}, {nullptr, nullptr}};
constexpr OvTextOption kWords[] = {{"on", "Enabled"}, {"off", "Disabled"}, {nullptr, nullptr}};
} // namespace

struct MapRow {
    const char* name;
    int kind; // 1 integer (kAB), 2 text (kWords), 3 prefix (kPrefix)
    bool caseSensitive;
    const char* valueIn;
    const char* labelOut; // ValueToLabel(valueIn)
    const char* labelIn;
    const char* valueOut; // LabelToValue(labelIn)
};

class OptionMapping : public ::testing::TestWithParam<MapRow> {};

TEST_P(OptionMapping, BothDirections) {
    const MapRow& r = GetParam();
    std::unique_ptr<OvOptionList> list;
    if (r.kind == 1)
        list = std::make_unique<OvOptionList>(kAB, OvOptionList::IntegerValues, r.caseSensitive);
    else if (r.kind == 2)
        list = std::make_unique<OvOptionList>(kWords, OvOptionList::TextValues, r.caseSensitive);
    else
        list = std::make_unique<OvOptionList>(kPrefix, OvOptionList::PrefixList, r.caseSensitive);
    EXPECT_EQ(list->ValueToLabel(QString::fromUtf8(r.valueIn)), QString::fromUtf8(r.labelOut));
    EXPECT_EQ(list->LabelToValue(QString::fromUtf8(r.labelIn)), QString::fromUtf8(r.valueOut));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OptionMapping,
    ::testing::Values(MapRow{"intValueToLabel", 1, false, "2", "b", "a", "1"},
                      MapRow{"intIgnoresCase", 1, false, "1", "a", "B", "2"},
                      MapRow{"intRespectsCase", 1, true, "1", "a", "B", "B"},
                      MapRow{"intUnknownUnchanged", 1, false, "9", "9", "zz", "zz"},
                      MapRow{"intNullStays", 1, false, "(NULL)", "(NULL)", "(NULL)", "(NULL)"},
                      MapRow{"intNonIntegerNotFound", 1, false, "1x", "1x", "", ""},
                      MapRow{"intNegativeText", 1, false, "-1", "-1", "a", "1"},
                      MapRow{"textValues", 2, false, "off", "Disabled", "ENABLED", "on"},
                      MapRow{"textValuesCaseSensitive", 2, true, "OFF", "OFF", "enabled", "enabled"},
                      MapRow{"prefixReplacesLeadingPart", 3, false, "1.3.6.4.1", "Standard.4.1",
                             "Standard.4.1", "1.3.6.4.1"},
                      MapRow{"prefixFirstMatchWins", 3, false, "1.3.6.1.4.1.32473.1",
                             "Standard.1.4.1.32473.1", "Velmarn.1", "1.3.6.1.4.1.32473.1"},
                      MapRow{"prefixCaseFolded", 3, false, "2.1", "2.1", "STANDARD.9", "1.3.6.9"},
                      MapRow{"prefixShorterTextNotFound", 3, false, "1.3", "1.3", "Stan", "Stan"}),
    RowName());

TEST(OptionList, FindPositionsAndAppendOrder) {
    OvOptionList list(kAB);
    EXPECT_EQ(list.FindByLabel(QStringLiteral("b")), 1);
    EXPECT_EQ(list.FindByValue(QStringLiteral("1")), 0);
    EXPECT_EQ(list.FindByValue(QStringLiteral("(NULL)")), -1);
    list.Append(kMore);
    list.Append(kNone);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.At(0).Label, QStringLiteral("a"));
    EXPECT_EQ(list.At(2).Label, QStringLiteral("seven"));
    EXPECT_EQ(list.ValueText(2), QStringLiteral("7"));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(OptionList, ComboBoxFillAndSelectByLabelOrValue) {
    OvOptionList list(kAB);
    QComboBox combo;
    combo.addItem(QStringLiteral("stale"));
    OvFillComboBox(list, &combo);
    ASSERT_EQ(combo.count(), 2);
    EXPECT_EQ(combo.itemText(1), QStringLiteral("b"));
    OvSelectInComboBox(list, &combo, QStringLiteral("b"));
    EXPECT_EQ(combo.currentIndex(), 1);
    OvSelectInComboBox(list, &combo, QStringLiteral("1")); // a value, not a label
    EXPECT_EQ(combo.currentIndex(), 0);
    OvSelectInComboBox(list, &combo, QStringLiteral("(NULL)"));
    EXPECT_EQ(combo.currentIndex(), -1);
}

TEST(OptionList, RadioGroupFillAndSelect) {
    OvOptionList list(kAB);
    TRadioGroup group;
    OvFillRadioGroup(list, &group);
    EXPECT_EQ(group.Items(), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    OvSelectInRadioGroup(list, &group, QStringLiteral("2"));
    EXPECT_EQ(group.ItemIndex(), 1);
    EXPECT_EQ(group.SelectedText(), QStringLiteral("b"));
    OvSelectInRadioGroup(list, &group, QStringLiteral("nothing"));
    EXPECT_EQ(group.ItemIndex(), -1);
}
