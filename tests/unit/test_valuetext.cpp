// Value texts: what a received binding shows, what a text sends, and row indexes.
#include "TestSupport.h"
#include "errors/OvErrors.h"
#include "snmp/OvSNMPRequest.h"
#include "snmp/OvSNMPEngine.h"
#include "snmp/OvValueText.h"
#include "values/OvOptionList.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <gtest/gtest.h>

namespace {
using namespace OvSyntax;

const oid kName[] = {1, 3, 6, 1, 4, 1, 32473, 1};

// A binding of the given wire type and raw value, owned by a PDU.
struct Binding {
    OvPduPtr pdu{snmp_pdu_create(SNMP_MSG_RESPONSE)};
    const variable_list* vb() const { return reinterpret_cast<const variable_list*>(pdu->variables); }
};

Binding binding(u_char type, const void* value, size_t length) {
    Binding b;
    snmp_pdu_add_variable(b.pdu.get(), kName, OID_LENGTH(kName), type, value, length);
    return b;
}
Binding integerBinding(long v) {
    return binding(ASN_INTEGER, &v, sizeof v);
}
Binding octetBinding(const QByteArray& o) {
    return binding(ASN_OCTET_STR, o.constData(), static_cast<size_t>(o.size()));
}

// The value a text sends, as the binding's type and printable value.
const netsnmp_variable_list* sent(OvPduPtr& pdu, int syntax, const QString& text) {
    pdu.reset(snmp_pdu_create(SNMP_MSG_SET));
    OvAppendBinding(pdu.get(), QStringLiteral("1.3.6.1.4.1.32473.1.0"), syntax, text);
    return pdu->variables;
}

QByteArray octetsSent(OvPduPtr& pdu, int syntax, const QString& text) {
    const netsnmp_variable_list* vb = sent(pdu, syntax, text);
    return QByteArray(reinterpret_cast<const char*>(vb->val.string), static_cast<int>(vb->val_len));
}

int code517(int syntax, const QString& text) {
    OvPduPtr pdu;
    try {
        sent(pdu, syntax, text);
    } catch (const OvException& e) {
        return e.code();
    }
    return 0;
}

} // namespace

TEST(ValueText, ReceivedTextsBySyntax) {
    EXPECT_EQ(OvReceivedText(integer, integerBinding(-5).vb()), QStringLiteral("-5"));
    EXPECT_EQ(OvReceivedText(boolean, integerBinding(7).vb()), QStringLiteral("true"));
    EXPECT_EQ(OvReceivedText(boolean, integerBinding(0).vb()), QStringLiteral("false"));
    EXPECT_EQ(OvReceivedText(octetstr, octetBinding(QByteArray::fromHex("001a2b")).vb()),
              QStringLiteral("00 1A 2B"));
    EXPECT_EQ(OvReceivedText(macaddress, octetBinding(QByteArray::fromHex("00902b1a2c3d")).vb()),
              QStringLiteral("00 90 2B 1A 2C 3D"));
    EXPECT_EQ(OvReceivedText(displaystr, octetBinding("Velmarn").vb()), QStringLiteral("Velmarn"));
    EXPECT_EQ(OvReceivedText(displaystr, octetBinding("caf\xc3\xa9").vb()), QStringLiteral("café"));
    EXPECT_EQ(OvReceivedText(displaystr, octetBinding("caf\xe9").vb()), QStringLiteral("café")); // Latin-1
    EXPECT_EQ(OvReceivedText(datetime, octetBinding(QByteArray::fromHex("07D3051A0D1E0F032D0500")).vb()),
              QStringLiteral("2003-5-26,13:30:15.3,-5:0"));
    u_long c = 4294967295ul;
    EXPECT_EQ(OvReceivedText(counter, binding(ASN_COUNTER, &c, sizeof c).vb()), QStringLiteral("4294967295"));
    u_long ticks = 9378405;
    EXPECT_EQ(OvReceivedText(timeticks, binding(ASN_TIMETICKS, &ticks, sizeof ticks).vb()),
              QStringLiteral("1 day, 2:03:04.05"));
    const u_char ip[] = {192, 168, 0, 1};
    EXPECT_EQ(OvReceivedText(ipaddress, binding(ASN_IPADDRESS, ip, 4).vb()), QStringLiteral("192.168.0.1"));
    const oid id[] = {1, 3, 6, 1, 4, 1, 32473, 2, 1};
    EXPECT_EQ(OvReceivedText(objectid, binding(ASN_OBJECT_ID, id, sizeof id).vb()),
              QStringLiteral("1.3.6.1.4.1.32473.2.1"));
    struct counter64 big {
        0xFFFFFFFFul, 0xFFFFFFFFul
    };
    EXPECT_EQ(OvReceivedText(OvSyntax::counter64, binding(ASN_COUNTER64, &big, sizeof big).vb()),
              QStringLiteral("18446744073709551615"));
    struct counter64 words {
        1ul, 2ul // high word first
    };
    EXPECT_EQ(OvReceivedText(OvSyntax::counter64, binding(ASN_COUNTER64, &words, sizeof words).vb()),
              QStringLiteral("4294967298"));
    const QByteArray oneAndHalf = QByteArray::fromHex("000000000000F83F");
    EXPECT_EQ(OvReceivedText(double_, octetBinding(oneAndHalf).vb()), QStringLiteral("1.5"));
}

TEST(ValueText, AbsentAndMismatchedValues) {
    for (u_char exception : {u_char(SNMP_NOSUCHOBJECT), u_char(SNMP_NOSUCHINSTANCE),
                             u_char(SNMP_ENDOFMIBVIEW), u_char(ASN_NULL)})
        EXPECT_EQ(OvReceivedText(integer, binding(exception, nullptr, 0).vb()), QStringLiteral("(NULL)"));
    EXPECT_EQ(OvReceivedText(displaystr, octetBinding(QByteArray()).vb()), QString());
    EXPECT_EQ(OvReceivedText(macaddress, octetBinding(QByteArray()).vb()), QStringLiteral("(NULL)"));
    EXPECT_EQ(OvReceivedText(octetstr, octetBinding(QByteArray()).vb()), QString());
    // The wrong wire type shows in its own form.
    EXPECT_EQ(OvReceivedText(integer, octetBinding("ab").vb()), QStringLiteral("61 62"));
    EXPECT_EQ(OvReceivedText(ipaddress, integerBinding(3).vb()), QStringLiteral("3"));
    EXPECT_EQ(OvReceivedText(double_, octetBinding("abc").vb()), QStringLiteral("61 62 63"));
    EXPECT_EQ(OvReceivedText(datetime, octetBinding("ab").vb()), QStringLiteral("61 62"));
    for (int partial : {bool8, int8, uint16, 0x99}) {
        const Raised raised = RaisedBy([&] { OvReceivedText(partial, integerBinding(1).vb()); });
        EXPECT_EQ(raised.Code, -511);
    }
}

TEST(ValueText, TextsSentBySyntax) {
    OvPduPtr pdu;
    const netsnmp_variable_list* vb = sent(pdu, integer, QStringLiteral("42abc"));
    EXPECT_EQ(vb->type, ASN_INTEGER);
    EXPECT_EQ(*vb->val.integer, 42);
    vb = sent(pdu, boolean, QStringLiteral("yes"));
    EXPECT_EQ(*vb->val.integer, 0);
    vb = sent(pdu, boolean, QStringLiteral("true"));
    EXPECT_EQ(*vb->val.integer, 1);
    vb = sent(pdu, guage, QStringLiteral("7"));
    EXPECT_EQ(vb->type, ASN_GAUGE);
    vb = sent(pdu, counter, QStringLiteral("4294967295"));
    EXPECT_EQ(vb->type, ASN_COUNTER);
    EXPECT_EQ(*vb->val.integer, 4294967295l);
    EXPECT_EQ(octetsSent(pdu, octetstr, QStringLiteral("00 1a:2B-3c")), QByteArray::fromHex("001a2b3c"));
    EXPECT_EQ(octetsSent(pdu, octetstr, QString()), QByteArray());
    EXPECT_EQ(octetsSent(pdu, displaystr, QStringLiteral("café")), QByteArray("caf\xc3\xa9"));
    EXPECT_EQ(octetsSent(pdu, double_, QStringLiteral("1.5")), QByteArray::fromHex("000000000000F83F"));
    EXPECT_EQ(octetsSent(pdu, datetime, QStringLiteral("2003-5-26,13:30:15.3,-5:0")),
              QByteArray::fromHex("07D3051A0D1E0F032D0500"));
    // Every field at its highest is still a date (the rows of MalformedText go one past).
    EXPECT_EQ(octetsSent(pdu, datetime, QStringLiteral("2024-12-31,23:59:60.9,+13:59")),
              QByteArray::fromHex("07E80C1F173B3C092B0D3B"));
    vb = sent(pdu, ipaddress, QStringLiteral("10.0.0.1"));
    EXPECT_EQ(vb->type, ASN_IPADDRESS);
    vb = sent(pdu, timeticks, QStringLiteral("1 day, 2:03:04.05"));
    EXPECT_EQ(*vb->val.integer, 9378405);
    vb = sent(pdu, timeticks, QStringLiteral("12345"));
    EXPECT_EQ(*vb->val.integer, 12345);
    // Whole counter64 texts keep every digit (a double would round this one).
    vb = sent(pdu, OvSyntax::counter64, QStringLiteral("18446744073709551557"));
    EXPECT_EQ(vb->val.counter64->high, 0xFFFFFFFFul);
    EXPECT_EQ(vb->val.counter64->low, 0xFFFFFFC5ul);
    vb = sent(pdu, OvSyntax::counter64, QStringLiteral("1.5e3"));
    EXPECT_EQ(vb->val.counter64->low, 1500ul);
}

struct BadText {
    const char* name;
    int syntax;
    const char* text;
};
class MalformedText : public ::testing::TestWithParam<BadText> {};
TEST_P(MalformedText, Raises517) {
    EXPECT_EQ(code517(GetParam().syntax, QString::fromUtf8(GetParam().text)), -517);
}
INSTANTIATE_TEST_SUITE_P(
    Rows, MalformedText,
    ::testing::Values(
        BadText{"hexLetters", octetstr, "0G"}, BadText{"hexOddDigit", octetstr, "00 1"},
        BadText{"hexWords", octetstr, "hello"}, BadText{"macShort", macaddress, "00:11:22:33:44"},
        BadText{"macLong", macaddress, "00:11:22:33:44:55:66"}, BadText{"ipTooBig", ipaddress, "10.0.0.256"},
        BadText{"ipThreeParts", ipaddress, "10.0.1"}, BadText{"ipName", ipaddress, "router"},
        BadText{"oidLetters", objectid, "1.3.x"}, BadText{"oidEmpty", objectid, ""},
        BadText{"oidDoubleDot", objectid, "1..3"}, BadText{"dateGarbage", datetime, "yesterday"},
        BadText{"datePartial", datetime, "2003-5-26"}, BadText{"ticksGarbage", timeticks, "soon"},
        BadText{"bcdateGarbage", bcdatetime, "13/13/13"},
        // Numbers never wrap into other values; a write never carries an absent value.
        BadText{"integerAboveRange", integer, "2147483648"},
        BadText{"integerBelowRange", integer, "-2147483649"},
        BadText{"counterAboveRange", counter, "4294967296"}, BadText{"gaugeNegative", guage, "-1"},
        BadText{"unsignedHuge", uinteger, "99999999999999999999999"},
        BadText{"counter64Negative", OvSyntax::counter64, "-1"},
        BadText{"counter64AboveRange", OvSyntax::counter64, "18446744073709551616"},
        BadText{"ipOctetTooBig", ipaddress, "300.1.2.3"}, BadText{"ipFiveParts", ipaddress, "1.2.3.4.5"},
        BadText{"dateOutOfRange", datetime, "2024-13-40,25:61:61.9"},
        BadText{"dateOffsetOutOfRange", datetime, "2024-1-1,0:0:0.0,+14:0"},
        // One field just past its range each, the others at their highest.
        BadText{"dateMonth13", datetime, "2024-13-31,23:59:60.9,+13:59"},
        BadText{"dateDay32", datetime, "2024-12-32,23:59:60.9,+13:59"},
        BadText{"dateHour24", datetime, "2024-12-31,24:59:60.9,+13:59"},
        BadText{"dateMinute60", datetime, "2024-12-31,23:60:60.9,+13:59"},
        BadText{"dateSecond61", datetime, "2024-12-31,23:59:61.9,+13:59"},
        BadText{"dateDeciSeconds10", datetime, "2024-12-31,23:59:60.10,+13:59"},
        BadText{"dateOffsetHour14", datetime, "2024-12-31,23:59:60.9,-14:59"},
        BadText{"dateOffsetMinute60", datetime, "2024-12-31,23:59:60.9,+13:60"},
        BadText{"nullInWrite", integer, "(NULL)"}),
    RowName());

namespace {
constexpr TSNMPVarInfo kKeys[] = {OvVarRow("1.3.6.1.4.1.9.1", "k0", integer, OvAccess::notaccess),
                                  OvVarRow("1.3.6.1.4.1.9.2", "k1", displaystr, OvAccess::notaccess),
                                  OvEndRow};
constexpr TSNMPVarInfo kDateKey[] = {OvVarRow("1.3.6.1.4.1.9.1", "when", datetime, OvAccess::notaccess),
                                     OvVarRow("1.3.6.1.4.1.9.2", "n", integer, OvAccess::notaccess),
                                     OvEndRow};
} // namespace

TEST(RequestIndex, KeyItemsWithAndWithoutImplied) {
    OvSNMPRequest r;
    r.VarList = OvSNMPVarList(kKeys, MVT_FMV, 2);
    r.VarList.Item(0)->Value = QStringLiteral("5");
    r.VarList.Item(1)->Value = QStringLiteral("ab");
    EXPECT_EQ(r.EncodeIndex(0) + QLatin1Char('.') + r.EncodeIndex(1), QStringLiteral("5.2.97.98"));
    QString rest = r.DecodeIndex(0, QStringLiteral("5.2.97.98"));
    rest = r.DecodeIndex(1, rest);
    EXPECT_EQ(r.VarList.Item(0)->Value, QStringLiteral("5"));
    EXPECT_EQ(r.VarList.Item(1)->Value, QStringLiteral("ab"));
    EXPECT_TRUE(rest.isEmpty());

    r.VarList.Item(1)->Access |= OvAccess::implied;
    EXPECT_EQ(r.EncodeIndex(1), QStringLiteral("97.98"));
    r.DecodeIndex(1, QStringLiteral("97.98.99"));
    EXPECT_EQ(r.VarList.Item(1)->Value, QStringLiteral("abc"));
}

TEST(RequestIndex, DateAndTimeKeyConsumesEleven) {
    OvSNMPRequest r;
    r.VarList = OvSNMPVarList(kDateKey, MVT_FMV, 2);
    const QString rest = r.DecodeIndex(0, QStringLiteral("7.211.5.26.13.30.15.3.45.5.0.12"));
    EXPECT_EQ(r.VarList.Item(0)->Value, QStringLiteral("2003-5-26,13:30:15.3,-5:0"));
    EXPECT_EQ(rest, QStringLiteral("12"));
    r.DecodeIndex(1, rest);
    EXPECT_EQ(r.VarList.Item(1)->Value, QStringLiteral("12"));
}

TEST(RequestIndex, OptionListsTranslateLabels) {
    static const OvIntOption source[] = {{1, "enable"}, {2, "disable"}, {0, nullptr}};
    static const OvOptionList options(source);
    static const TSNMPVarInfo rows[] = {{"1.3.6.1.4.1.9.1", "mode", integer, OvAccess::readwrite, &options,
                                         nullptr, nullptr, nullptr, nullptr, nullptr},
                                        OvEndRow};
    OvSNMPRequest r;
    r.VarList = OvSNMPVarList(rows, SVT_SV, 0);
    r.StoreValue(0, integerBinding(1).vb());
    EXPECT_EQ(r.VarList.Item(0)->Value, QStringLiteral("enable"));
    OvPduPtr pdu(snmp_pdu_create(SNMP_MSG_SET));
    r.VarList.Item(0)->Value = QStringLiteral("disable");
    r.LoadValue(0, pdu.get(), QStringLiteral("1.3.6.1.4.1.9.1.0"));
    EXPECT_EQ(*pdu->variables->val.integer, 2);
}

TEST(RequestExpressions, MarkersAreReplacedOnceLeftToRight) {
    static const TSNMPVarInfo rows[] = {OvVarRow("1.3.6.1.4.1.9.1", "text", displaystr, OvAccess::readwrite),
                                        OvVarRow("1.3.6.1.4.1.9.2", "n", integer, OvAccess::readwrite),
                                        OvEndRow};
    OvSNMPRequest r;
    r.VarList = OvSNMPVarList(rows, SVT_SV, 0);
    r.VarList.Item(0)->Value = QStringLiteral("US$1 or $0");
    r.VarList.Item(1)->Value = QStringLiteral("7");
    EXPECT_EQ(r.Substitute(QStringLiteral("$0=$1"), true, QStringLiteral("$")),
              QStringLiteral("\"US$1 or $0\"=7"));
    EXPECT_FALSE(r.Evaluate(QStringLiteral("$0=x"))); // ends: the inserted "$0" is not read again
    EXPECT_EQ(CodeOf([&r] { r.Substitute(QStringLiteral("$4294967297"), true, QStringLiteral("$")); }), -513);
}

struct StatusRow {
    const char* name;
    int status;
    int code;
};
class LibraryStatus : public ::testing::TestWithParam<StatusRow> {};
TEST_P(LibraryStatus, MapsToFrameworkCode) {
    EXPECT_EQ(OvSNMPEngine::MapLibraryStatus(GetParam().status), GetParam().code);
}
INSTANTIATE_TEST_SUITE_P(
    Rows, LibraryStatus,
    ::testing::Values(StatusRow{"success", SNMPERR_SUCCESS, 0}, StatusRow{"timeout", SNMPERR_TIMEOUT, -405},
                      StatusRow{"badAddress", SNMPERR_BAD_ADDRESS, -509},
                      StatusRow{"unknownUser", SNMPERR_UNKNOWN_USER_NAME, -304},
                      StatusRow{"usmUnknownUser", SNMPERR_USM_UNKNOWNSECURITYNAME, -304},
                      StatusRow{"unsupportedLevel", SNMPERR_UNSUPPORTED_SEC_LEVEL, -303},
                      StatusRow{"authFailure", SNMPERR_AUTHENTICATION_FAILURE, -308},
                      StatusRow{"usmAuthFailure", SNMPERR_USM_AUTHENTICATIONFAILURE, -308},
                      StatusRow{"timeWindow", SNMPERR_NOT_IN_TIME_WINDOW, -311},
                      StatusRow{"unknownEngine", SNMPERR_UNKNOWN_ENG_ID, -310},
                      StatusRow{"decryption", SNMPERR_DECRYPTION_ERR, -306},
                      StatusRow{"encryption", SNMPERR_USM_ENCRYPTIONERROR, -305},
                      StatusRow{"usmParse", SNMPERR_USM_PARSEERROR, -309},
                      StatusRow{"parse", SNMPERR_BAD_PARSE, -207},
                      StatusRow{"secModel", SNMPERR_UNKNOWN_SEC_MODEL, -201},
                      StatusRow{"invalidMessage", SNMPERR_INVALID_MSG, -204},
                      StatusRow{"context", SNMPERR_BAD_CONTEXT, -216},
                      StatusRow{"sendto", SNMPERR_BAD_SENDTO, -422},
                      StatusRow{"generic", SNMPERR_GENERR, -401}, StatusRow{"unmapped", SNMPERR_NOMIB, -527}),
    RowName());

TEST(AgentStatus, EveryErrorStatusHasItsCode) {
    EXPECT_EQ(OvSNMPEngine::MapAgentStatus(0), 0);
    for (long s = 1; s <= 18; ++s)
        EXPECT_EQ(OvSNMPEngine::MapAgentStatus(s), -100 - s);
    EXPECT_EQ(OvSNMPEngine::MapAgentStatus(19), -527);
    EXPECT_EQ(OvErrorMessage(OvSNMPEngine::MapAgentStatus(17)),
              QStringLiteral("Cannot create/set variable, Not Writable!"));
}
