// The text forms of values, the row indexes built from them and their fields in split edits.
#include "TestSupport.h"
#include "errors/OvErrors.h"
#include "values/OvByteForm.h"
#include "values/OvSyntax.h"
#include "values/OvSyntaxFields.h"
#include "values/OvSyntaxText.h"
#include "values/OvTableIndex.h"

#include <gtest/gtest.h>

using namespace OvSyntax;

TEST(SyntaxText, TicksAndHexTextsReadBack) {
    for (quint32 t : {0u, 99u, 8640000u, 9378405u, 4294967295u}) {
        quint32 back = 1;
        ASSERT_TRUE(OvParseTicks(OvTicksText(t), back)) << OvTicksText(t);
        EXPECT_EQ(back, t);
    }
    EXPECT_EQ(OvTicksText(8640000), QStringLiteral("1 day, 0:00:00.00"));
    EXPECT_EQ(OvTicksText(17280000), QStringLiteral("2 days, 0:00:00.00"));
    quint32 tenths = 0;
    ASSERT_TRUE(OvParseTicks(QStringLiteral("0:00:01.5"), tenths)); // one digit: tenths
    EXPECT_EQ(tenths, 150u);
    QByteArray o;
    ASSERT_TRUE(OvParseHex(OvHexText(QByteArray::fromHex("00ff10")), o));
    EXPECT_EQ(o, QByteArray::fromHex("00ff10"));
    double days = 0;
    ASSERT_TRUE(OvParseDaysText(QStringLiteral("2003/05/26 01:30:15 pm"), days));
    EXPECT_EQ(OvDaysText(days), QStringLiteral("2003/05/26 01:30:15 pm"));
}

TEST(SyntaxText, IdentifiersParseOrAreRefused) {
    const struct {
        const char* text;
        std::vector<quint32> ids; // empty: refused
    } rows[] = {{"1.3.6.1", {1, 3, 6, 1}},
                {" .1.3.0 ", {1, 3, 0}},
                {"0", {0}},
                {"1.4294967295", {1, 4294967295u}},
                {"1.4294967296", {}},
                {"1.99999999999999999999", {}},
                {"1..3", {}},
                {"1.3.", {}},
                {"..1", {}},
                {".", {}},
                {"", {}},
                {"1. 3", {}},
                {"1.3a", {}},
                {"1.-3", {}}};
    for (const auto& row : rows) {
        std::vector<quint32> ids;
        EXPECT_EQ(OvParseOid(QString::fromLatin1(row.text), ids), !row.ids.empty()) << row.text;
        if (!row.ids.empty()) {
            EXPECT_EQ(ids, row.ids) << row.text;
        }
    }
    QStringList parts(OvMaxOidLength, QStringLiteral("1"));
    std::vector<quint32> ids;
    EXPECT_TRUE(OvParseOid(parts.join(QLatin1Char('.')), ids));
    EXPECT_EQ(ids.size(), static_cast<size_t>(OvMaxOidLength));
    parts << QStringLiteral("1");
    EXPECT_FALSE(OvParseOid(parts.join(QLatin1Char('.')), ids));
}

struct IndexRow {
    const char* name;
    int syntax;
    bool implied;
    const char* value;
    const char* index;
};
class RowIndexes : public ::testing::TestWithParam<IndexRow> {};
TEST_P(RowIndexes, EncodeAndDecode) {
    const IndexRow& r = GetParam();
    EXPECT_EQ(OvIndexOf(r.syntax, QString::fromUtf8(r.value), r.implied), QString::fromUtf8(r.index));
    QString value;
    const QString rest =
        OvValueFromIndex(r.syntax, QString::fromUtf8(r.index) + QStringLiteral(".77"), false, value);
    if (!r.implied) {
        EXPECT_EQ(value, QString::fromUtf8(r.value));
        EXPECT_EQ(rest, QStringLiteral("77"));
    }
}
INSTANTIATE_TEST_SUITE_P(
    Rows, RowIndexes,
    ::testing::Values(IndexRow{"integer", integer, false, "5", "5"},
                      IndexRow{"negative", integer, false, "-1", "4294967295"},
                      IndexRow{"display", displaystr, false, "ab", "2.97.98"},
                      IndexRow{"displayImplied", displaystr, true, "ab", "97.98"},
                      IndexRow{"octets", octetstr, false, "0A FF", "2.10.255"},
                      IndexRow{"ip", ipaddress, false, "10.0.0.1", "10.0.0.1"},
                      IndexRow{"oid", objectid, false, "1.3.6", "3.1.3.6"},
                      IndexRow{"mac", macaddress, false, "00 90 2B 1A 2C 3D", "0.144.43.26.44.61"},
                      IndexRow{"counter64", OvSyntax::counter64, false, "4294967298", "1.2"},
                      IndexRow{"double", double_, false, "1.5", "0.1073217536"},
                      IndexRow{"booleanTrue", boolean, false, "true", "1"},
                      IndexRow{"datetime", datetime, false, "2003-5-26,13:30:15.3,-5:0",
                               "7.211.5.26.13.30.15.3.45.5.0"}),
    RowName());

TEST(RowIndexes, NumbersOutOfRangeAreRefused) {
    for (auto [syntax, text] :
         {std::pair{integer, "2147483648"}, {counter, "4294967296"}, {uinteger, "-1"}}) {
        try {
            OvIndexOf(syntax, QString::fromLatin1(text), false);
            ADD_FAILURE() << text;
        } catch (const OvException& e) {
            EXPECT_EQ(e.code(), -517) << text;
        }
    }
}

struct FieldRow {
    const char* name;
    int syntax;
    const char* text;
    int fields;
};
class SplitFields : public ::testing::TestWithParam<FieldRow> {};
TEST_P(SplitFields, JoinGivesTheValueBack) {
    const FieldRow& r = GetParam();
    const QString text = QString::fromUtf8(r.text);
    const QStringList fields = OvSyntaxFields::Split(r.syntax, text, OvByteForm::FromText(r.syntax, text));
    EXPECT_EQ(fields.size(), r.fields);
    EXPECT_EQ(OvSyntaxFields::Join(r.syntax, fields), text);
    EXPECT_TRUE(OvSyntaxFields::Split(r.syntax, QStringLiteral("(NULL)"), QByteArray()).isEmpty());
}
INSTANTIATE_TEST_SUITE_P(Rows, SplitFields,
                         ::testing::Values(FieldRow{"octets", octetstr, "00 1A 2B", 3},
                                           FieldRow{"oid", objectid, "1.3.6", 3},
                                           FieldRow{"ip", ipaddress, "10.0.0.1", 4},
                                           FieldRow{"ticks", timeticks, "1 day, 2:03:04.05", 5},
                                           FieldRow{"mac", macaddress, "00 90 2B 1A 2C 3D", 6},
                                           FieldRow{"datetime", datetime, "2003-5-26,13:30:15.3,-5:0", 10},
                                           FieldRow{"bcdatetime", bcdatetime, "2003/05/26 01:30:15 pm", 7}),
                         RowName());

TEST(SplitFields, EmptyFieldsReadAsZeroAndBadDatesAreRefused) {
    EXPECT_EQ(OvSyntaxFields::Join(macaddress, {"", "1", "2b", "", "", ""}),
              QStringLiteral("00 01 2b 00 00 00"));
    EXPECT_EQ(CodeOf([] {
                  OvSyntaxFields::Join(bcdatetime, {"2003", "2", "30", "0", "0", "0", "0"});
              }),
              -517);
}
