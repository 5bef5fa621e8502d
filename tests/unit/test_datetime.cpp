#include "TestSupport.h"
#include "values/OvDateTime.h"

#include <QDateTime>
#include <gtest/gtest.h>

TEST(DateTime, OctetsAndTextOfTheRfcExample) {
    const QByteArray octets = QByteArray::fromHex("07D3051A0D1E0F032D0500");
    const OvDateTime d = OvDateTime::fromOctets(octets);
    EXPECT_EQ(d.Year, 2003);
    EXPECT_EQ(d.Direction, '-');
    EXPECT_EQ(d.toText(), QStringLiteral("2003-5-26,13:30:15.3,-5:0"));
    EXPECT_EQ(OvDateTime(QStringLiteral("2003-5-26,13:30:15.3,-5:0")).toOctets(), octets);
}

struct TextRow {
    const char* name;
    const char* in;
    const char* out;
};

class DateTimeText : public ::testing::TestWithParam<TextRow> {};

TEST_P(DateTimeText, ReadsAndWrites) {
    EXPECT_EQ(OvDateTime(QString::fromUtf8(GetParam().in)).toText(), QString::fromUtf8(GetParam().out));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DateTimeText,
    ::testing::Values(TextRow{"sevenNumbers", "2003-1-1,0:0:0.0", "2003-1-1,0:0:0.0"},
                      TextRow{"zeroOffsetNotWritten", "2003-1-1,0:0:0.0,+0:0", "2003-1-1,0:0:0.0"},
                      TextRow{"plusOffset", "2024-12-31,23:59:60.9,+5:30", "2024-12-31,23:59:60.9,+5:30"},
                      TextRow{"yearLow16Bits", "65537-1-1,0:0:0.0", "1-1-1,0:0:0.0"},
                      TextRow{"negativeTruncated", "2003--1-1,0:0:0.0", "2003-255-1,0:0:0.0"},
                      TextRow{"garbage", "hello", "0-0-0,0:0:0.0"},
                      TextRow{"partial", "2003-5-26", "2003-5-26,0:0:0.0"},
                      TextRow{"empty", "", "0-0-0,0:0:0.0"},
                      TextRow{"hugeNumberWraps", "99999999999999999999999-1-1,0:0:0.0", "65535-1-1,0:0:0.0"},
                      TextRow{"spacesBeforeNumbers", " 2003- 5- 26, 1: 2: 3. 4", "2003-5-26,1:2:3.4"}),
    RowName());

TEST(DateTime, DefaultIsNowWithZeroOffset) {
    const QDateTime before = QDateTime::currentDateTime();
    const OvDateTime d;
    EXPECT_EQ(d.Year, before.date().year());
    EXPECT_EQ(d.DeciSeconds, 0);
    EXPECT_EQ(d.Direction, '+');
    EXPECT_EQ(d.HoursFromUTC, 0);
    EXPECT_EQ(d.MinutesFromUTC, 0);
}

TEST(DateTime, ShortOctetsReadAsZero) {
    const OvDateTime d = OvDateTime::fromOctets(QByteArray::fromHex("07D3"));
    EXPECT_EQ(d.Year, 2003);
    EXPECT_EQ(d.Month, 0);
    EXPECT_EQ(d.toOctets().size(), 11);
}
