#include "TestSupport.h"
#include "errors/OvErrors.h"
#include "values/OvByteForm.h"
#include "values/OvSyntax.h"

#include <gtest/gtest.h>

namespace {
using namespace OvSyntax;

} // namespace

struct ByteRow {
    const char* name;
    int syntax;
    const char* text;
    const char* hex;  // the byte form
    const char* back; // its text again
};
class ByteForms : public ::testing::TestWithParam<ByteRow> {};
TEST_P(ByteForms, TextToBytesAndBack) {
    const ByteRow& r = GetParam();
    const QByteArray bytes = OvByteForm::FromText(r.syntax, QString::fromUtf8(r.text));
    EXPECT_EQ(bytes.toHex(), QByteArray(r.hex));
    EXPECT_EQ(OvByteForm::ToText(r.syntax, bytes), QString::fromUtf8(r.back));
}
INSTANTIATE_TEST_SUITE_P(
    Rows, ByteForms,
    ::testing::Values(
        ByteRow{"booleanTrue", boolean, "true", "01000000", "true"},
        ByteRow{"booleanOther", boolean, "TRUE", "00000000", "false"},
        ByteRow{"integer", integer, "-2", "feffffff", "-2"},
        ByteRow{"counter", counter, "4294967295", "ffffffff", "4294967295"},
        ByteRow{"octets", octetstr, "00 1A 2B", "001a2b", "00 1A 2B"},
        ByteRow{"objectid", objectid, "1.3.6", "010000000300000006000000", "1.3.6"},
        ByteRow{"ip", ipaddress, "192.168.0.1", "c0a80001", "192.168.0.1"},
        ByteRow{"ticks", timeticks, "1 day, 0:00:00.00", "00d68300", "1 day, 0:00:00.00"},
        ByteRow{"counter64", OvSyntax::counter64, "4294967298", "0200000001000000", "4294967298"},
        ByteRow{"double", double_, "1.5", "000000000000f83f", "1.5"},
        ByteRow{"mac", macaddress, "00:90:2b:1a:2c:3d", "00902b1a2c3d", "00 90 2B 1A 2C 3D"},
        ByteRow{"datetime", datetime, "2003-5-26,13:30:15.3,-5:0", "07d3051a0d1e0f032d0500",
                "2003-5-26,13:30:15.3,-5:0"},
        ByteRow{"display", displaystr, "ab", "6162", "ab"}, ByteRow{"bool8", bool8, "true", "01", "true"},
        ByteRow{"int8", int8, "-1", "ff", "-1"}, ByteRow{"uint8", uint8, "255", "ff", "255"},
        ByteRow{"int16MinusOne", int16, "-1", "ffff", "65535"},
        ByteRow{"uint16", uint16, "258", "0102", "258"}, ByteRow{"bool16", bool16, "true", "0001", "true"},
        ByteRow{"nullText", integer, "(NULL)", "", "(NULL)"}),
    RowName());

TEST(ByteForms, EmptyDisplayStringAndShortValues) {
    EXPECT_EQ(OvByteForm::ToText(displaystr, QByteArray()), QString());
    EXPECT_EQ(OvByteForm::ToText(null, QByteArray("x")), QStringLiteral("(NULL)"));
    EXPECT_EQ(CodeOf([] { OvByteForm::ToText(integer, QByteArray("ab")); }), -517);
    EXPECT_EQ(CodeOf([] { OvByteForm::ToText(macaddress, QByteArray("abcde")); }), -517);
    EXPECT_EQ(CodeOf([] { OvByteForm::ToText(0x99, QByteArray("ab")); }), -511);
    EXPECT_EQ(CodeOf([] { OvByteForm::FromText(octetstr, QStringLiteral("zz")); }), -517);
    EXPECT_EQ(OvByteForm::ToText(octetstr, QByteArray()), QString()); // an empty SSID, not "(NULL)"
    for (auto [syntax, text] : {std::pair{integer, "2147483648"},
                                {counter, "-1"},
                                {uint8, "256"},
                                {ipaddress, "300.1.2.3"},
                                {ipaddress, "1.2.3.4.5"}})
        EXPECT_EQ(CodeOf([s = syntax, t = text] { OvByteForm::FromText(s, QString::fromLatin1(t)); }), -517)
            << text;
    // An identifier whose length is no whole number of groups: the partial group is left out.
    EXPECT_EQ(OvByteForm::ToText(objectid, QByteArray::fromHex("0100000002")), QStringLiteral("1"));
}

TEST(ByteForms, CutAndSplice) {
    const QByteArray v = QByteArray::fromHex("0102030405060708");
    EXPECT_EQ(OvByteForm::Cut(v, 2, uint16).toHex(), QByteArray("0304"));
    EXPECT_EQ(OvByteForm::Cut(v, 6, octetstr).toHex(), QByteArray("0708"));
    EXPECT_EQ(OvByteForm::Cut(v, 20, octetstr), QByteArray());
    EXPECT_EQ(CodeOf([&v] { OvByteForm::Cut(v, 6, integer); }), -518);
    QByteArray grown = QByteArray::fromHex("01");
    OvByteForm::Splice(grown, 4, QByteArray::fromHex("aabb"));
    EXPECT_EQ(grown.toHex(), QByteArray("010000"
                                        "00aabb"));
}

TEST(ByteForms, BitsInSnmpOrder) {
    QByteArray b;
    OvByteForm::SetBit(b, 0, true);
    OvByteForm::SetBit(b, 9, true);
    EXPECT_EQ(b.toHex(), QByteArray("8040"));
    EXPECT_TRUE(OvByteForm::BitSet(b, 0));
    EXPECT_FALSE(OvByteForm::BitSet(b, 1));
    EXPECT_TRUE(OvByteForm::BitSet(b, 9));
    EXPECT_EQ(CodeOf([&b] { OvByteForm::BitSet(b, 16); }), -518);
}
