// Randomized texts and bytes through every value conversion: only framework errors may
// come out, never a crash, and every value that converts reads back to itself.
#include "TestSupport.h"
#include "errors/OvErrors.h"
#include "values/OvByteForm.h"
#include "values/OvSyntax.h"
#include "values/OvSyntaxText.h"
#include "values/OvTableIndex.h"

#include <gtest/gtest.h>
#include <random>

namespace {
const int kSyntaxes[] = {OvSyntax::boolean,    OvSyntax::integer,
                         OvSyntax::bitstr,     OvSyntax::octetstr,
                         OvSyntax::null,       OvSyntax::objectid,
                         OvSyntax::ipaddress,  OvSyntax::counter,
                         OvSyntax::guage,      OvSyntax::timeticks,
                         OvSyntax::opaque,     OvSyntax::nsapaddr,
                         OvSyntax::counter64,  OvSyntax::uinteger,
                         OvSyntax::double_,    OvSyntax::macaddress,
                         OvSyntax::datetime,   OvSyntax::bcdatetime,
                         OvSyntax::displaystr, OvSyntax::bool8,
                         OvSyntax::int8,       OvSyntax::uint8,
                         OvSyntax::bool16,     OvSyntax::int16,
                         OvSyntax::uint16,     0x99};

QString randomText(std::mt19937& rng) {
    static const char alphabet[] = "0123456789abcdefABCDEF .:-,+/ampdayNUL()\xe9";
    std::uniform_int_distribution<int> length(0, 40);
    std::uniform_int_distribution<int> pick(0, sizeof alphabet - 2);
    QString s;
    for (int i = length(rng); i > 0; --i)
        s += QChar::fromLatin1(alphabet[pick(rng)]);
    return s;
}

QByteArray randomBytes(std::mt19937& rng) {
    std::uniform_int_distribution<int> length(0, 16);
    std::uniform_int_distribution<int> byte(0, 255);
    QByteArray b;
    for (int i = length(rng); i > 0; --i)
        b.append(static_cast<char>(byte(rng)));
    return b;
}
} // namespace

TEST(ValueTextFuzz, ConversionsOnlyRaiseFrameworkErrors) {
    std::mt19937 rng(7);
    // A fixed number of rounds, not a time budget: as many on a busy or instrumented
    // machine as on an idle one.
    for (int run = 0; run < 4000; ++run) {
        const QString text = randomText(rng);
        const QByteArray bytes = randomBytes(rng);
        for (int syntax : kSyntaxes) {
            try {
                const QByteArray b = OvByteForm::FromText(syntax, text);
                OvByteForm::ToText(syntax, b);
            } catch (const OvException& e) {
                EXPECT_TRUE(e.code() == -511 || e.code() == -517) << e.code();
            }
            try {
                const QString t = OvByteForm::ToText(syntax, bytes);
                // What shows as text converts back to the same bytes where the form is exact.
                if (syntax == OvSyntax::octetstr || syntax == OvSyntax::macaddress ||
                    syntax == OvSyntax::uint16) {
                    EXPECT_EQ(OvByteForm::FromText(syntax, t),
                              bytes.left(syntax == OvSyntax::uint16 ? 2 : bytes.size()));
                }
                OvByteForm::Cut(bytes, static_cast<int>(rng() % 20), syntax);
            } catch (const OvException& e) {
                EXPECT_TRUE(e.code() == -511 || e.code() == -517 || e.code() == -518) << e.code();
            }
            QString value;
            try {
                OvValueFromIndex(syntax, text, (rng() & 1) != 0, value);
                OvIndexOf(syntax, text, (rng() & 1) != 0);
            } catch (const OvException& e) {
                EXPECT_TRUE(e.code() == -511 || e.code() == -517) << e.code();
            }
        }
        QByteArray hex;
        quint32 ticks = 0;
        double days = 0;
        std::vector<quint32> ids;
        OvParseHex(text, hex);
        OvParseTicks(text, ticks);
        OvParseDaysText(text, days);
        OvParseOid(text, ids);
    }
}
