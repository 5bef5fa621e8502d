#include "TestSupport.h"
#include "catalogue/OvCatalogue.h"

#include <gtest/gtest.h>

namespace {
int rows(const TSNMPVarInfo* t) {
    int n = 0;
    while (t[n].Oid)
        ++n;
    return n;
}
int rows(const TUIItemInfo* t) {
    int n = 0;
    while (t[n].Kind != ukNone)
        ++n;
    return n;
}
struct TableRow {
    const char* name;
    const TSNMPVarInfo* table;
    const TUIItemInfo* layout;
    int count;
};
} // namespace

class CatalogueTables : public ::testing::TestWithParam<TableRow> {};

TEST_P(CatalogueTables, RowCountsAndLayoutRules) {
    const TableRow& r = GetParam();
    EXPECT_EQ(rows(r.table), r.count);
    const TSNMPVarInfo& end = r.table[r.count];
    EXPECT_EQ(end.Name, nullptr);
    EXPECT_EQ(end.Syntax, 0);
    if (!r.layout)
        return;
    ASSERT_EQ(rows(r.layout), r.count);
    for (int i = 0; i < r.count; ++i) {
        const TUIItemInfo& l = r.layout[i];
        EXPECT_EQ(l.VarInfo, &r.table[i]) << i;
        const int expectedAccess = l.Kind == ukStaticText ? OvAccess::readonly : OvAccess::readwrite;
        EXPECT_EQ(l.VarInfo->Access, expectedAccess) << l.VarInfo->Name;
        EXPECT_EQ(l.Kind == ukComboBox, l.VarInfo->Options != nullptr && l.Kind != ukStaticText)
            << l.VarInfo->Name;
        const char* expectedFormat = l.Kind != ukEdit                         ? ""
                                     : l.VarInfo->Syntax == OvSyntax::integer ? "%i"
                                                                              : "%s";
        EXPECT_STREQ(l.Format, expectedFormat) << l.VarInfo->Name;
    }
}

INSTANTIATE_TEST_SUITE_P(Tables, CatalogueTables,
                         ::testing::Values(TableRow{"Station", StationConfigTable, StationConfigLayout, 13},
                                           TableRow{"APMode", APModeConfigTable, APModeConfigLayout, 4},
                                           TableRow{"Privacy", PrivacyConfigTable, PrivacyConfigLayout, 8},
                                           TableRow{"MACOperation", MACOperationTable, MACOperationLayout,
                                                    11},
                                           TableRow{"Manufacturer", ManufacturerTable, ManufacturerLayout, 4},
                                           TableRow{"PHYOperation", PHYOperationTable, PHYOperationLayout, 9},
                                           TableRow{"Antenna", AntennaTable, AntennaLayout, 3},
                                           TableRow{"TxPower", TxPowerTable, TxPowerLayout, 10},
                                           TableRow{"DSS", DSSTable, DSSLayout, 7},
                                           TableRow{"Counters", CountersTable, nullptr, 14},
                                           TableRow{"SysObjectID", SysObjectIDTable, nullptr, 1},
                                           TableRow{"ConfigSave", ConfigSaveTable, nullptr, 1},
                                           TableRow{"Reboot", RebootTable, nullptr, 1},
                                           TableRow{"ConfigApply", ConfigApplyTable, nullptr, 1}),
                         RowName());

TEST(Catalogue, SelectedRowsInFull) {
    const TSNMPVarInfo& ssid = StationConfigTable[3];
    EXPECT_STREQ(ssid.Oid, "1.3.6.1.4.1.32473.1.3.1.1.4");
    EXPECT_STREQ(ssid.Name, "dot11DesiredSSID");
    EXPECT_EQ(ssid.Syntax, OvSyntax::octetstr);
    EXPECT_EQ(ssid.Access, OvAccess::readwrite);
    EXPECT_EQ(ssid.Options, nullptr);
    EXPECT_STREQ(StationConfigLayout[3].Format, "%s");

    const TSNMPVarInfo& server = APModeConfigTable[2];
    EXPECT_STREQ(server.Oid, "1.3.6.1.4.1.32473.1.3.1.2.3");
    EXPECT_STREQ(server.Name, "dot11BackupAPRemoteServerIPAddress");
    EXPECT_EQ(server.Syntax, OvSyntax::ipaddress);

    EXPECT_STREQ(CountersTable[13].Oid, "1.3.6.1.4.1.32473.1.3.2.2.14.0");
    EXPECT_STREQ(CountersTable[13].Name, "dot11WEPUndecryptableCount");
    EXPECT_EQ(CountersTable[13].Syntax, OvSyntax::counter);
    EXPECT_STREQ(ManufacturerTable[0].Oid, "1.3.6.1.4.1.32473.1.3.3.1.2.1");
    EXPECT_EQ(MACOperationTable[10].Syntax, OvSyntax::displaystr);
    EXPECT_STREQ(TxPowerTable[9].Name, "dot11CurrentTxPowerLevel");
    EXPECT_STREQ(ConfigApplyTable[0].Oid, "1.3.6.1.4.1.32473.1.1.3");
    EXPECT_STREQ(SysObjectIDTable[0].Oid, "1.3.6.1.2.1.1.2");
}

TEST(Catalogue, OptionListsInOrder) {
    const OvOptionList& mode = *APModeConfigTable[0].Options;
    ASSERT_EQ(mode.Count(), 7);
    EXPECT_EQ(mode.At(0).Label, QStringLiteral("accessPoint"));
    EXPECT_EQ(mode.At(6).Label, QStringLiteral("groupAccessPoint"));
    EXPECT_EQ(mode.LabelToValue(QStringLiteral("repeater")), QStringLiteral("6"));
    const OvOptionList& domains = *PHYOperationTable[3].Options;
    EXPECT_EQ(domains.ValueToLabel(QStringLiteral("49")), QStringLiteral("spain"));
    EXPECT_EQ(domains.ValueToLabel(QStringLiteral("17")), QStringLiteral("17")); // not in the list
    const OvOptionList& cca = *DSSTable[3].Options;
    EXPECT_EQ(cca.ValueToLabel(QStringLiteral("4")), QStringLiteral("edandcs"));
    // Lists with the same labels are still lists of their own.
    EXPECT_NE(StationConfigTable[1].Options, PrivacyConfigTable[1].Options);
    EXPECT_EQ(&dot11PrivacyOptionImplementedOptions, StationConfigTable[1].Options);
    EXPECT_EQ(dot11PBCCOptionImplementedOptions.At(1).Label, QStringLiteral("false"));
}
