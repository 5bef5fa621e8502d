#include "errors/OvErrors.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

struct CodeText {
    int code;
    const char* text;
};

class ErrorTable : public ::testing::TestWithParam<CodeText> {};

TEST_P(ErrorTable, MessageIsExact) {
    EXPECT_EQ(OvErrorMessage(GetParam().code), QString::fromUtf8(GetParam().text));
    EXPECT_TRUE(OvIsKnownCode(GetParam().code));
}

// One row per group boundary and every code other parts show by text.
INSTANTIATE_TEST_SUITE_P(
    Codes, ErrorTable,
    ::testing::Values(CodeText{0, "Ok!"}, CodeText{-1, "Bad logic operand!"},
                      CodeText{-2, "Bad format specifier of edit's constraint!"},
                      CodeText{-101, "Response PDU Too Big!"}, CodeText{-102, "Variable does not exist!"},
                      CodeText{-118, "Cannot create variable, Inconsistent Name!"},
                      CodeText{-201, "Unsupported Security Model!"}, CodeText{-217, "Report sent!"},
                      CodeText{-301, "error!"}, CodeText{-304, "Unknown SecurityName!"},
                      CodeText{-308, "Authentication failure!"}, CodeText{-314, "Address error!"},
                      CodeText{-401, "Operation failed!"}, CodeText{-405, "SNMP request timed out!"},
                      CodeText{-423, "Blocked Mode Shutdown!"},
                      CodeText{-506, "Cannot create the global OvSNMP++ session!"},
                      CodeText{-507, "Error when loading SNMP engine boots counter!"},
                      CodeText{-508, "Error when saving SNMP engine boots counter!"},
                      CodeText{-509, "Invalid IP Address or DNS name!"},
                      CodeText{-510,
                               "Can't send get-next command for a SNMP variable list with single value!"},
                      CodeText{-517, "Bad value of the associated SNMP variable's (partial) data!"},
                      CodeText{-527, "Unknown error code!"}),
    [](const ::testing::TestParamInfo<CodeText>& p) { return "code" + std::to_string(-p.param.code); });

TEST(ErrorTable, EveryGroupIsComplete) {
    const std::pair<int, int> ranges[] = {
        {-118, -101}, {-217, -201}, {-314, -301}, {-423, -401}, {-527, -501}};
    for (auto [lo, hi] : ranges)
        for (int c = lo; c <= hi; ++c)
            EXPECT_TRUE(OvIsKnownCode(c)) << c;
}

TEST(ErrorTable, UnknownCodeReadsUnknown) {
    EXPECT_EQ(OvErrorMessage(-999), QStringLiteral("Unknown error code!"));
    EXPECT_FALSE(OvIsKnownCode(-999));
}

TEST(ErrorTable, ExceptionCarriesCodeAndMessage) {
    try {
        throw OvException(-509);
    } catch (const OvException& e) {
        EXPECT_EQ(e.code(), -509);
        EXPECT_EQ(e.message(), QStringLiteral("Invalid IP Address or DNS name!"));
        EXPECT_STREQ(e.what(), "Invalid IP Address or DNS name!");
    }
}

struct IntText {
    const char* name;
    const char* text;
    bool valid;
    int value;
};

class StrToInt : public ::testing::TestWithParam<IntText> {};

TEST_P(StrToInt, ReadsOrRaisesConversionMessage) {
    const IntText& row = GetParam();
    const QString text = QString::fromUtf8(row.text);
    if (row.valid) {
        EXPECT_EQ(OvStrToInt(text), row.value);
    } else {
        try {
            OvStrToInt(text);
            FAIL() << "no error for " << row.text;
        } catch (const OvConvertError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("'%1' is not a valid integer value").arg(text));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StrToInt,
    ::testing::Values(IntText{"plain", "161", true, 161}, IntText{"negative", "-5", true, -5},
                      IntText{"plus", "+7", true, 7}, IntText{"max", "2147483647", true, INT32_MAX},
                      IntText{"min", "-2147483648", true, INT32_MIN}, IntText{"empty", "", false, 0},
                      IntText{"letters", "abc", false, 0}, IntText{"trailing", "12a", false, 0},
                      IntText{"tooBig", "2147483648", false, 0},
                      IntText{"huge", "99999999999999999999999", false, 0}, IntText{"sign", "-", false, 0}),
    RowName());
