// Table walks against a small table of the test data file, SNMPv1 and SNMPv2c.
#include "SessionFixture.h"
#include "TestAgent.h"
#include "TestSupport.h"
#include "errors/OvErrors.h"
#include "snmp/OvSNMPRequest.h"

#include <gtest/gtest.h>

namespace {
using namespace OvSyntax;

std::unique_ptr<TestAgent> gTables;

constexpr TSNMPVarInfo kTwoRows[] = {OvVarRow("1.3.6.1.4.1.32473.9.1.1.1", "index", integer),
                                     OvVarRow("1.3.6.1.4.1.32473.9.1.1.2", "name", displaystr),
                                     OvVarRow("1.3.6.1.4.1.32473.9.1.1.3", "count", counter), OvEndRow};

constexpr TSNMPVarInfo kKeyed[] = {
    OvVarRow("1.3.6.1.4.1.32473.9.2.1.1", "number", integer, OvAccess::notaccess),
    OvVarRow("1.3.6.1.4.1.32473.9.2.1.2", "word", displaystr, OvAccess::notaccess),
    OvVarRow("1.3.6.1.4.1.32473.9.2.1.3", "value", displaystr), OvEndRow};

constexpr TSNMPVarInfo kImplied[] = {
    OvVarRow("1.3.6.1.4.1.32473.9.3.1.1", "number", integer, OvAccess::notaccess),
    {"1.3.6.1.4.1.32473.9.3.1.2", "word", displaystr, OvAccess::notaccess | OvAccess::implied, nullptr,
     nullptr, nullptr, nullptr, nullptr, nullptr},
    OvVarRow("1.3.6.1.4.1.32473.9.3.1.3", "value", displaystr),
    OvEndRow};

class Walks : public ::testing::TestWithParam<quint8> {
protected:
    static void SetUpTestSuite() {
        QString error;
        gTables = TestAgent::StartSimulator(&error, QStringLiteral(VELMARN_TEST_DATA "/tables.snmprec"));
        ASSERT_NE(gTables, nullptr) << error;
    }
    static void TearDownTestSuite() { gTables.reset(); }
    void SetUp() override { UseAgent(gTables->Address(), gTables->Port(), GetParam()); }
    // A misbehaving agent for this test, the default target pointing at it.
    std::unique_ptr<TestAgent> useHostile(const char* mode) const {
        QString error;
        auto agent = TestAgent::StartHostile(&error, QString::fromLatin1(mode));
        EXPECT_NE(agent, nullptr) << error;
        if (agent)
            UseAgent(agent->Address(), agent->Port(), GetParam());
        return agent;
    }
};

} // namespace

TEST_P(Walks, TwoRowsThenEnd) {
    OvSNMPRequest r;
    r.VarList = OvSNMPVarList(kTwoRows, MVT_FMV, 1);
    ASSERT_TRUE(r.Get(true));
    EXPECT_EQ(r.VarList.Item(0)->Value, QStringLiteral("1"));
    EXPECT_EQ(r.VarList.Item(1)->Value, QStringLiteral("alpha"));
    EXPECT_EQ(r.VarList.Item(2)->Value, QStringLiteral("100"));
    ASSERT_TRUE(r.Get(false));
    EXPECT_EQ(r.VarList.Item(1)->Value, QStringLiteral("beta"));
    EXPECT_EQ(r.VarList.Item(2)->InstanceOid, QStringLiteral("1.3.6.1.4.1.32473.9.1.1.3.2"));
    EXPECT_FALSE(r.Get(false));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(r.VarList.Item(i)->Value, QStringLiteral("(NOTDONE)"));
}

TEST_P(Walks, KeyedRowDecodesItsIndexAndEndsAtTheEndOfTheMib) {
    OvSNMPRequest keyed;
    keyed.VarList = OvSNMPVarList(kKeyed, MVT_FMV, 2);
    ASSERT_TRUE(keyed.Get(true));
    EXPECT_EQ(keyed.VarList.Item(0)->Value, QStringLiteral("5"));
    EXPECT_EQ(keyed.VarList.Item(1)->Value, QStringLiteral("ab"));
    EXPECT_EQ(keyed.VarList.Item(2)->Value, QStringLiteral("x"));
    EXPECT_EQ(keyed.VarList.Item(0)->InstanceOid, QStringLiteral("1.3.6.1.4.1.32473.9.2.1.1.5.2.97.98"));
    EXPECT_FALSE(keyed.Get(false)); // the next object belongs to another table

    // The last table of the agent: an SNMPv1 agent ends it with noSuchName.
    OvSNMPRequest implied;
    implied.VarList = OvSNMPVarList(kImplied, MVT_FMV, 2);
    ASSERT_TRUE(implied.Get(true));
    EXPECT_EQ(implied.VarList.Item(1)->Value, QStringLiteral("ab"));
    EXPECT_EQ(implied.VarList.Item(2)->Value, QStringLiteral("y"));
    EXPECT_FALSE(implied.Get(false));
}

TEST_P(Walks, AsynchronousWalkDeliversRowsThenDone) {
    OvSNMPRequest r;
    r.VarList = OvSNMPVarList(kImplied, MVT_FMV, 2);
    QObject context;
    std::vector<OvSNMPError> results;
    OvSNMPRequest::Handler handler = [&](const OvSNMPError& e, OvSNMPVarList&) {
        results.push_back(e);
    };
    r.GetAsync(&context, handler, true);
    ASSERT_TRUE(WaitFor([&] { return results.size() == 1; }));
    EXPECT_EQ(results[0].Code, 0);
    EXPECT_FALSE(results[0].Done);
    r.GetAsync(&context, handler, false);
    ASSERT_TRUE(WaitFor([&] { return results.size() == 2; }));
    EXPECT_EQ(results[1].Code, 0) << results[1].Message;
    EXPECT_EQ(results[1].Message, QStringLiteral("Ok!"));
    EXPECT_TRUE(results[1].Done);
}

TEST_P(Walks, FirstReadPastTheEndOfTheMib) {
    static const TSNMPVarInfo beyond[] = {OvVarRow("1.3.6.1.4.1.32473.9.9.1", "none", integer), OvEndRow};
    OvSNMPRequest r;
    r.VarList = OvSNMPVarList(beyond, MVT_FMV, 1);
    if (GetParam() == 0) {
        // noSuchName for an object that is not where the walk stood: a real error.
        const Raised raised = RaisedBy([&] { r.Get(true); });
        EXPECT_EQ(raised.Code, -102);
        EXPECT_EQ(raised.Message, QStringLiteral("Variable does not exist!"));
    } else {
        EXPECT_FALSE(r.Get(true)); // endOfMibView: the column is done
        EXPECT_EQ(r.VarList.Item(0)->Value, QStringLiteral("(NOTDONE)"));
    }
}

TEST_P(Walks, ReadOfAMissingObjectSaysItDoesNotExist) {
    static const TSNMPVarInfo missing[] = {OvVarRow("1.3.6.1.4.1.32473.9.9.1", "none", integer), OvEndRow};
    OvSNMPRequest r;
    r.VarList = OvSNMPVarList(missing, SVT_SV, 0);
    EXPECT_EQ(CodeOf([&r] { r.Get(true); }), -102);
    const OvSNMPError async = GetAsyncAndWait(r);
    EXPECT_EQ(async.Code, -102);
    EXPECT_EQ(async.Message, QStringLiteral("Variable does not exist!"));
}

TEST_P(Walks, WalkOfAnAgentThatGoesBackwardsOrAnswersTheColumnItselfStops) {
    struct Case {
        const char* mode;
        int code;
        int rows;
    };
    // Row 2, then row 1: refused. The column's own identifier is no row of it: the end.
    for (const Case& c : {Case{"backwards", -528, 1}, Case{"itself", 0, 0}}) {
        auto hostile = useHostile(c.mode);
        ASSERT_NE(hostile, nullptr);
        OvSNMPRequest r;
        r.VarList = OvSNMPVarList(kTwoRows, MVT_FMV, 1);
        int rows = 0;
        const int code = CodeOf([&] {
            for (bool first = true; r.Get(first) && rows < 50; first = false)
                ++rows;
        });
        EXPECT_EQ(code, c.code) << c.mode;
        EXPECT_EQ(rows, c.rows) << c.mode;

        OvSNMPError result = GetAsyncAndWait(r, true);
        for (int i = 0; i < 50 && result.Code == 0 && !result.Done; ++i)
            result = GetAsyncAndWait(r, false);
        EXPECT_EQ(result.Code, c.code) << c.mode;
        EXPECT_TRUE(result.Done) << c.mode;
    }
}

TEST_P(Walks, AnAnswerWithFewerObjectsThanAskedIsAnError) {
    auto hostile = useHostile("short");
    ASSERT_NE(hostile, nullptr);
    OvSNMPRequest r;
    r.VarList = OvSNMPVarList(kTwoRows, SVT_SV, 0);
    EXPECT_EQ(CodeOf([&r] { r.Get(true); }), -411);
    EXPECT_EQ(GetAsyncAndWait(r).Code, -411);
}

namespace {
// Notes which items a write carries, and sends none of them.
struct WriteRecorder : OvSNMPRequest {
    QStringList Written;
    void LoadValue(int index, snmp_pdu*, const QString& instanceOid) override {
        Written << QString::number(index) + QLatin1Char('@') + instanceOid;
    }
};
} // namespace

TEST_P(Walks, KeyedRowWriteCarriesEveryValueColumnAndNoKey) {
    static const TSNMPVarInfo keyed[] = {
        OvVarRow("1.3.6.1.4.1.32473.9.5.1.1", "key", integer, OvAccess::readwrite),
        OvVarRow("1.3.6.1.4.1.32473.9.5.1.2", "first", integer, OvAccess::readwrite),
        OvVarRow("1.3.6.1.4.1.32473.9.5.1.3", "second", integer, OvAccess::readwrite), OvEndRow};
    WriteRecorder r;
    r.VarList = OvSNMPVarList(keyed, MVT_UMV, 1);
    r.VarList.Item(0)->Value = QStringLiteral("7");
    r.Set(false);
    EXPECT_EQ(r.Written, (QStringList{"1@1.3.6.1.4.1.32473.9.5.1.2.7", "2@1.3.6.1.4.1.32473.9.5.1.3.7"}));
}

TEST_P(Walks, UnchangedDisplayStringIsWrittenBackAsItWasRead) {
    static const TSNMPVarInfo name[] = {
        OvVarRow("1.3.6.1.4.1.32473.9.0.1", "name", displaystr, OvAccess::readwrite), OvEndRow};
    auto octets = [] {
        return gTables
            ->Tool(QStringLiteral("snmpget"),
                   {QStringLiteral("-c"), QStringLiteral("qubsen"), QStringLiteral("-Ox")},
                   {QStringLiteral("1.3.6.1.4.1.32473.9.0.1.0")})
            .section(QLatin1Char(':'), -1)
            .trimmed();
    };
    OvSNMPRequest r;
    r.VarList = OvSNMPVarList(name, SVT_SV, 0);
    r.Get(true);
    EXPECT_EQ(r.VarList.Item(0)->Value, QString::fromLatin1("caf\xe9")); // not UTF-8: shown as Latin-1
    r.Set(false);
    EXPECT_EQ(octets(), QStringLiteral("63 61 66 E9"));
    r.VarList.Item(0)->Value = QStringLiteral("cafe");
    r.Set(false);
    EXPECT_EQ(octets(), QStringLiteral("63 61 66 65"));
    r.VarList.Item(0)->Value = QString::fromLatin1("caf\xe9"); // the text read: its octets again
    r.Set(false);
    EXPECT_EQ(octets(), QStringLiteral("63 61 66 E9"));
}

INSTANTIATE_TEST_SUITE_P(Versions, Walks, ::testing::Values(quint8(0), quint8(1)),
                         [](const ::testing::TestParamInfo<quint8>& p) {
                             return p.param == 0 ? "v1" : "v2c";
                         });

TEST_P(Walks, AnAnswerForAnotherObjectOrOfAnotherTypeIsNoValue) {
    struct Case {
        const char* mode;
        const char* named; // the row the refusal names
    };
    for (const Case& c :
         {Case{"renamed", "index"}, Case{"integers", "name answered INTEGER, expected OCTET STRING"}}) {
        auto hostile = useHostile(c.mode); // "integers": every object is INTEGER 1
        ASSERT_NE(hostile, nullptr);
        OvSNMPRequest r;
        r.VarList = OvSNMPVarList(kTwoRows, SVT_SV, 0);
        const QString expected = QStringLiteral("Variable does not exist! (%1)").arg(QLatin1String(c.named));
        const Raised sync = RaisedBy([&r] { r.Get(true); });
        EXPECT_EQ(sync.Code, -102) << c.mode;
        EXPECT_EQ(sync.Message, expected);
        const OvSNMPError async = GetAsyncAndWait(r);
        EXPECT_EQ(async.Code, -102) << c.mode;
        EXPECT_EQ(async.Message, expected);
    }
}

TEST_P(Walks, AWalkThatNeverEndsStopsAtTheRowLimit) {
    auto hostile = useHostile("endless");
    ASSERT_NE(hostile, nullptr);
    const int limit = OvMaxTableRows;
    OvMaxTableRows = 40;
    OvSNMPRequest r;
    r.VarList = OvSNMPVarList(kTwoRows, MVT_FMV, 1);
    int rows = 0;
    const int code = CodeOf([&] {
        for (bool first = true; r.Get(first) && rows < 1000; first = false)
            ++rows;
    });
    EXPECT_EQ(code, -529);
    EXPECT_EQ(rows, 40);
    OvSNMPError result = GetAsyncAndWait(r, true);
    for (int i = 0; i < 1000 && result.Code == 0 && !result.Done; ++i)
        result = GetAsyncAndWait(r, false);
    EXPECT_EQ(result.Code, -529);
    OvMaxTableRows = limit;
}

TEST_P(Walks, ASendTheKernelRefusesEndsTheRequest) {
    // The loopback broadcast address: the send fails before anything reaches the wire.
    UseAgent(QStringLiteral("127.255.255.255"), gTables->Port(), GetParam());
    OvSNMPRequest r;
    r.VarList = OvSNMPVarList(kTwoRows, SVT_SV, 0);
    EXPECT_EQ(CodeOf([&r] { r.Get(true); }), -422);
    EXPECT_EQ(GetAsyncAndWait(r).Code, -422);
    OvSNMPRequest again; // and the next request is served as usual
    again.VarList = OvSNMPVarList(kTwoRows, SVT_SV, 0);
    EXPECT_EQ(GetAsyncAndWait(again).Code, -422);
}

TEST(Formulas, AResultOutsideTheObjectsRangeIsRefused) {
    struct Case {
        int syntax;
        const char* formula;
        const char* value; // null: refused with -517
    };
    const Case cases[] = {
        {integer, "2147483647", "2147483647"},
        {integer, "2147483647+1", nullptr},
        {integer, "0-2147483648", "-2147483648"},
        {integer, "0-2147483649", nullptr},
        {counter, "4294967295", "4294967295"},
        {counter, "0-1", nullptr},
        {uinteger, "4294967296", nullptr},
        {timeticks, "0-1", nullptr},
        {OvSyntax::counter64, "0-1", nullptr},
        {OvSyntax::counter64, "4294967296*4294967296", nullptr},
        {OvSyntax::counter64, "4294967296*2", "8589934592"},
    };
    for (const Case& c : cases) {
        const TSNMPVarInfo rows[] = {{"1.3.6.1.4.1.32473.9.1", "x", c.syntax, OvAccess::readwrite, nullptr,
                                      c.formula, nullptr, nullptr, nullptr, nullptr},
                                     OvEndRow};
        OvSNMPRequest r;
        r.VarList = OvSNMPVarList(rows, SVT_SV, 0);
        const Raised raised = RaisedBy([&r] { r.ApplyFormula(0, true); });
        if (c.value) {
            EXPECT_EQ(raised.Code, 0) << c.formula << " " << raised.Message.toStdString();
            EXPECT_EQ(r.VarList.Item(0)->Value, QLatin1String(c.value)) << c.formula;
        } else {
            EXPECT_EQ(raised.Code, -517) << c.formula;
            EXPECT_EQ(raised.Message, QStringLiteral("Bad value of the associated SNMP variable's (partial) "
                                                     "data! (x)"));
        }
    }
}
