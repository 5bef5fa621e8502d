// Values as bindings carry them, without the SNMP library: text to wire value and back
// per syntax, and the check a file's value passes before a write.
#include "TestSupport.h"
#include "values/OvSyntax.h"
#include "values/OvSyntaxCheck.h"
#include "values/OvWireValue.h"

#include <gtest/gtest.h>

using namespace OvSyntax;

struct WireRow {
    const char* name;
    int syntax;
    const char* text;
    int tag;          // the wire type it travels as
    const char* back; // the text it is received as
};
class WireValues : public ::testing::TestWithParam<WireRow> {};
TEST_P(WireValues, TextToWireAndBack) {
    const WireRow& r = GetParam();
    const OvWireValue v = OvWireValueOf(r.syntax, QString::fromUtf8(r.text));
    EXPECT_EQ(v.Tag, r.tag);
    EXPECT_TRUE(OvTagCarries(r.syntax, v.Tag, static_cast<int>(v.Octets.size())));
    EXPECT_EQ(OvReceivedValueText(r.syntax, v), QString::fromUtf8(r.back));
}
INSTANTIATE_TEST_SUITE_P(
    Rows, WireValues,
    ::testing::Values(
        WireRow{"boolean", boolean, "true", integer, "true"},
        WireRow{"integer", integer, "-2147483648", integer, "-2147483648"},
        WireRow{"bits", bitstr, "80 40", octetstr, "80 40"},
        WireRow{"octets", octetstr, "4c:61", octetstr, "4C 61"},
        WireRow{"objectid", objectid, ".1.3.6.1", objectid, "1.3.6.1"},
        WireRow{"ip", ipaddress, "192.168.0.1", ipaddress, "192.168.0.1"},
        WireRow{"nsap", nsapaddr, "10.0.0.1", ipaddress, "10.0.0.1"},
        WireRow{"counter", counter, "4294967295", counter, "4294967295"},
        WireRow{"gauge", guage, "7", guage, "7"},
        WireRow{"ticks", timeticks, "9378405", timeticks, "1 day, 2:03:04.05"},
        WireRow{"opaque", opaque, "", octetstr, ""},
        WireRow{"counter64", OvSyntax::counter64, "18446744073709551615", OvSyntax::counter64,
                "18446744073709551615"},
        WireRow{"unsigned", uinteger, "12", uinteger, "12"},
        WireRow{"double", double_, "1.5", octetstr, "1.5"},
        WireRow{"mac", macaddress, "00-90-2b-1a-2c-3d", octetstr, "00 90 2B 1A 2C 3D"},
        WireRow{"datetime", datetime, "2003-5-26,13:30:15.3,-5:0", octetstr, "2003-5-26,13:30:15.3,-5:0"},
        WireRow{"bcdatetime", bcdatetime, "2003/05/26 01:30:15 pm", octetstr, "2003/05/26 01:30:15 pm"},
        WireRow{"display", displaystr, "caf\xc3\xa9", octetstr, "caf\xc3\xa9"}),
    RowName());

TEST(WireValues, AbsentAndReceivedInAnotherType) {
    EXPECT_EQ(OvWireValueOf(integer, QStringLiteral("(NULL)")).Tag, null);
    OvWireValue v;
    v.Tag = octetstr;
    v.Octets = QByteArray::fromHex("0a000001");
    EXPECT_FALSE(OvTagCarries(ipaddress, v.Tag, 4));
    EXPECT_EQ(OvReceivedValueText(ipaddress, v), QStringLiteral("0A 00 00 01"));
    v.Octets = QByteArray::fromHex("07d3051a0d1e0f03"); // a DateAndTime without its zone
    EXPECT_EQ(OvReceivedValueText(datetime, v), QStringLiteral("2003-5-26,13:30:15.3"));
}

TEST(WholeValueCheck, RefusesWhatAWriteCannotCarry) {
    for (auto [syntax, text, code] : {std::tuple{integer, "12abc", -517},
                                      {counter, " 12 ", 0},
                                      {integer, "(NULL)", -517},
                                      {macaddress, "00 11 22", -517},
                                      {objectid, "", -517},
                                      {displaystr, "", 0},
                                      {bool8, "true", -511}})
        EXPECT_EQ(CodeOf([s = syntax, t = text] { OvCheckWholeValue(s, QString::fromLatin1(t)); }), code)
            << text;
}
