// The one spelling of each kind of value.
#include "TestSupport.h"
#include "values/OvCanonical.h"
#include "values/OvOptionList.h"

#include <gtest/gtest.h>

namespace {

const OvIntOption kModes[] = {{1, "accessPoint"}, {6, "repeater"}, {0, nullptr}};

struct Spelling {
    const char* name;
    const char* kind; // number, option, octets, mac, ipv4
    const char* text;
    const char* canonical; // null: not a whole value
};

class Canonical : public ::testing::TestWithParam<Spelling> {};

} // namespace

TEST_P(Canonical, OneSpellingOrNone) {
    const Spelling& s = GetParam();
    const OvOptionList modes(kModes);
    const QString text = QString::fromUtf8(s.text);
    const QString kind = QLatin1String(s.kind);
    QString out = QStringLiteral("untouched");
    bool ok = false;
    if (kind == QLatin1String("number"))
        ok = OvCanonical::Number(text, -2147483648LL, 2147483647LL, out);
    else if (kind == QLatin1String("option"))
        ok = OvCanonical::Option(modes, text, -2147483648LL, 2147483647LL, out);
    else if (kind == QLatin1String("octets"))
        ok = OvCanonical::Octets(text, -1, out);
    else if (kind == QLatin1String("mac"))
        ok = OvCanonical::Octets(text, 6, out);
    else
        ok = OvCanonical::IPv4(text, out);
    EXPECT_EQ(ok, s.canonical != nullptr);
    EXPECT_EQ(out, s.canonical ? QString::fromUtf8(s.canonical) : QStringLiteral("untouched"));
}

INSTANTIATE_TEST_SUITE_P(
    Values, Canonical,
    ::testing::Values(
        Spelling{"plus", "number", "+2347", "2347"}, Spelling{"blanks", "number", " 2347 ", "2347"},
        Spelling{"leadingZero", "number", "02347", "2347"}, Spelling{"negative", "number", "-070", "-70"},
        Spelling{"garbage", "number", "12abc", nullptr}, Spelling{"empty", "number", "", nullptr},
        Spelling{"tooLarge", "number", "2147483648", nullptr},
        Spelling{"tabsAndNewline", "number", "\t12\r\n", "12"}, Spelling{"minusZero", "number", "-0", "0"},
        Spelling{"blankAfterSign", "number", "+ 5", nullptr}, Spelling{"twoSigns", "number", "+-5", nullptr},
        Spelling{"signOnly", "number", "-", nullptr},
        Spelling{"manyLeadingZeros", "number", "0000000000000000000000012", "12"},
        Spelling{"twentyDigits", "number", "10000000000000000000", nullptr},
        Spelling{"innerBlank", "number", "1 2", nullptr},
        Spelling{"labelCase", "option", "Repeater", "repeater"},
        Spelling{"labelNumber", "option", "06", "repeater"}, Spelling{"unlabelledNumber", "option", "3", "3"},
        Spelling{"unknownLabel", "option", "bridge", nullptr},
        Spelling{"lowerHex", "octets", "4c 61 62", "4C 61 62"},
        Spelling{"runOfPairs", "octets", "4c6162", "4C 61 62"}, Spelling{"noOctets", "octets", "", ""},
        Spelling{"loneDigit", "octets", "4C 6", nullptr}, Spelling{"oddRun", "octets", "4C6", nullptr},
        Spelling{"mixedSeparators", "octets", "4c:61-62 63", "4C 61 62 63"},
        Spelling{"doubleSeparator", "octets", "4C  61", nullptr},
        Spelling{"trailingSeparator", "octets", "4C 61 ", "4C 61"},
        Spelling{"separatorRun", "octets", "4C:61626", nullptr}, Spelling{"notHex", "octets", "4G", nullptr},
        Spelling{"colonMac", "mac", "00:90:2b:1a:2c:3d", "00 90 2B 1A 2C 3D"},
        Spelling{"dashMac", "mac", "00-90-2B-1A-2C-3D", "00 90 2B 1A 2C 3D"},
        Spelling{"shortMac", "mac", "00:90:2b", nullptr},
        Spelling{"halfPairMac", "mac", "0:90:2b:1a:2c:3d", nullptr},
        Spelling{"runMac", "mac", "00902b1a2c3d", "00 90 2B 1A 2C 3D"},
        Spelling{"ipv4Zeros", "ipv4", "010.1.0.07", "10.1.0.7"},
        Spelling{"ipv4Range", "ipv4", "10.1.0.256", nullptr},
        Spelling{"ipv4Short", "ipv4", "10.1.0", nullptr}),
    RowName());
