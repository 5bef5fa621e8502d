#include "snmp/OvSNMPVar.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {
using namespace OvSyntax;

constexpr TSNMPVarInfo kThree[] = {
    OvVarRow("1.3.6.1.4.1.1.1", "first", integer),
    {"1.3.6.1.4.1.1.2", "second", octetstr, OvAccess::writeonly, nullptr, nullptr, nullptr, "x", "init",
     nullptr},
    OvVarRow("1.3.6.1.4.1.1.3", "third", integer, OvAccess::readwrite),
    OvEndRow,
};
constexpr TSNMPVarInfo kEmpty[] = {OvEndRow};

TSNMPVarInfo rowWithAccess(int access) {
    return OvVarRow("1.3.6.1.4.1.9", "x", integer, access);
}
} // namespace

TEST(VarList, BuildsFromTableInOrderWithCopies) {
    OvSNMPVarList list(kThree, MVT_SV, 0);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.ListKind, MVT_SV);
    EXPECT_EQ(list.Item(1)->Name, QStringLiteral("second"));
    EXPECT_EQ(list.Item(1)->Value, QStringLiteral("init"));
    EXPECT_EQ(list.Item(1)->Extra3, QStringLiteral("x"));
    EXPECT_TRUE(list.Item(0)->Value.isEmpty());
}

TEST(VarList, TerminatorFirstAppendsNothing) {
    OvSNMPVarList list(kThree, SVT_SV, 0);
    list.AppendTable(kEmpty);
    EXPECT_EQ(list.Count(), 3);
    OvSNMPVarList empty(kEmpty, SVT_SV, 0);
    EXPECT_EQ(empty.Count(), 0);
}

TEST(VarList, CopyIsDeepAndCarriesValues) {
    OvSNMPVarList source(kThree, MVT_FMV, 1);
    source.Caption = QStringLiteral("cap");
    source.RowSuffix = QStringLiteral("7");
    source.Item(0)->Value = QStringLiteral("42");
    source.Item(0)->InstanceOid = QStringLiteral("1.3.6.1.4.1.1.1.5");
    OvSNMPVarList copy;
    copy = source;
    EXPECT_EQ(copy.Count(), 3);
    EXPECT_EQ(copy.ListKind, MVT_FMV);
    EXPECT_EQ(copy.KeyCount, 1);
    EXPECT_EQ(copy.Caption, QStringLiteral("cap"));
    EXPECT_TRUE(copy.RowSuffix.isEmpty());
    EXPECT_EQ(copy.Item(0)->Value, QStringLiteral("42"));
    EXPECT_EQ(copy.Item(0)->InstanceOid, QStringLiteral("1.3.6.1.4.1.1.1.5"));
    copy.Item(0)->Value = QStringLiteral("changed");
    EXPECT_EQ(source.Item(0)->Value, QStringLiteral("42"));
    copy.Clear();
    EXPECT_EQ(copy.Count(), 0);
    EXPECT_EQ(source.Count(), 3);
}

struct AccessRow {
    const char* name;
    int access;
    OvListKind kind;
    int keyCount;
    bool readable, writable, displayable, undisplayable;
};

class AccessPredicates : public ::testing::TestWithParam<AccessRow> {};

TEST_P(AccessPredicates, Item0) {
    const AccessRow& r = GetParam();
    const TSNMPVarInfo rows[] = {rowWithAccess(r.access), kEmpty[0]};
    OvSNMPVarList list(rows, r.kind, r.keyCount);
    EXPECT_EQ(list.IsReadable(0), r.readable);
    EXPECT_EQ(list.IsWritable(0), r.writable);
    EXPECT_EQ(list.IsDisplayable(0), r.displayable);
    EXPECT_EQ(list.IsUndisplayable(0), r.undisplayable);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AccessPredicates,
    ::testing::Values(AccessRow{"readwrite", 0x06, SVT_SV, 0, true, true, true, false},
                      AccessRow{"readwriteInvalid", 0x26, SVT_SV, 0, false, false, false, true},
                      AccessRow{"writeonly", 0x04, SVT_SV, 0, false, true, false, true},
                      AccessRow{"writeonlyDerived", 0x0C, SVT_SV, 0, false, true, true, false},
                      AccessRow{"notaccessKeyUmv", 0x01, MVT_UMV, 2, false, true, true, false},
                      AccessRow{"notaccessKeyFmv", 0x01, MVT_FMV, 2, false, false, true, false},
                      AccessRow{"hiddenReadonly", 0x12, SVT_SV, 0, true, false, false, true},
                      AccessRow{"readonly", 0x02, SVT_SV, 0, true, false, true, false}),
    RowName());

TEST(VarList, UmvKeysBeyondKeyCountFollowAccess) {
    const TSNMPVarInfo rows[] = {rowWithAccess(0x01), rowWithAccess(0x01), rowWithAccess(0x01), kEmpty[0]};
    OvSNMPVarList list(rows, MVT_UMV, 2);
    EXPECT_TRUE(list.IsWritable(0));
    EXPECT_TRUE(list.IsWritable(1));
    EXPECT_FALSE(list.IsWritable(2));
    EXPECT_EQ(list.DisplayableCount(), 3);
    EXPECT_EQ(list.UndisplayableCount(), 0);
}

TEST(VarList, ImpliedFlagAndColumn) {
    const TSNMPVarInfo rows[] = {rowWithAccess(0x42), kEmpty[0]};
    OvSNMPVarList list(rows, MVT_FMV, 1);
    EXPECT_TRUE(list.IsImplied(0));
    EXPECT_TRUE(list.IsReadable(0));
    EXPECT_EQ(list.Column(0), QStringLiteral("1.3.6.1.4.1.9"));
    list.RowSuffix = QStringLiteral("3");
    EXPECT_EQ(list.Column(0), QStringLiteral("1.3.6.1.4.1.9.3"));
}
