#pragma once

#include "catalogue/TUIItemInfo.h"
#include "snmp/OvSNMPVar.h"
#include "values/OvOptionList.h"

// The device's management information: one descriptor table per window or device
// action, ended by an all-zero row, and the option lists of its enumerated objects.
// Row i of a descriptor table is item i of the variable list a window builds from it.

extern const TSNMPVarInfo StationConfigTable[];
extern const TSNMPVarInfo APModeConfigTable[];
extern const TSNMPVarInfo PrivacyConfigTable[];
extern const TSNMPVarInfo MACOperationTable[];
extern const TSNMPVarInfo ManufacturerTable[];
extern const TSNMPVarInfo PHYOperationTable[];
extern const TSNMPVarInfo AntennaTable[];
extern const TSNMPVarInfo TxPowerTable[];
extern const TSNMPVarInfo DSSTable[];
extern const TSNMPVarInfo CountersTable[];
extern const TSNMPVarInfo SysObjectIDTable[];
extern const TSNMPVarInfo ConfigSaveTable[];
extern const TSNMPVarInfo RebootTable[];
extern const TSNMPVarInfo ConfigApplyTable[];

// The option lists, built before the main window in this order and destroyed in reverse.
extern const OvOptionList dot11PrivacyOptionImplementedOptions;
extern const OvOptionList dot11PowerManagementModeOptions;
extern const OvOptionList dot11DesiredBSSTypeOptions;
extern const OvOptionList dot11AccessPointModeOptions;
extern const OvOptionList dot11AuthenticationAlgorithmOptions;
extern const OvOptionList dot11PrivacyInvokedOptions;
extern const OvOptionList dot11WEPKeyLengthOptions;
extern const OvOptionList dot11ExcludeUnencryptedOptions;
extern const OvOptionList dot11SSIDBroadcastOptions;
extern const OvOptionList dot11PreambleTypeOptions;
extern const OvOptionList dot11PHYTypeOptions;
extern const OvOptionList dot11TempTypeOptions;
extern const OvOptionList dot11RegDomainsSupportValueOptions;
extern const OvOptionList dot11ChannelAgilityPresentOptions;
extern const OvOptionList dot11ChannelAgilityEnabledOptions;
extern const OvOptionList dot11DiversitySupportOptions;
extern const OvOptionList dot11DynamicChannelEnabledOptions;
extern const OvOptionList dot11CurrentCCAModeOptions;
extern const OvOptionList dot11ShortPreambleOptionImplementedOptions;
extern const OvOptionList dot11PBCCOptionImplementedOptions;

// The layout tables of the nine configuration windows.
extern const TUIItemInfo StationConfigLayout[];
extern const TUIItemInfo APModeConfigLayout[];
extern const TUIItemInfo PrivacyConfigLayout[];
extern const TUIItemInfo MACOperationLayout[];
extern const TUIItemInfo ManufacturerLayout[];
extern const TUIItemInfo PHYOperationLayout[];
extern const TUIItemInfo AntennaLayout[];
extern const TUIItemInfo TxPowerLayout[];
extern const TUIItemInfo DSSLayout[];

// The configuration windows' groups in menu order: what each shows and whether it can be
// written.
struct OvConfigGroup {
    const char* Title;
    const TSNMPVarInfo* Table;
    const TUIItemInfo* Layout;
    bool ReadOnly;
};
extern const OvConfigGroup ConfigGroups[];
constexpr int ConfigGroupCount = 9;
