#include "catalogue/OvCatalogue.h"

namespace {
using namespace OvSyntax;
using OvAccess::readonly;
using OvAccess::readwrite;

// Option list sources: (value, label) pairs ended by a null label.

constexpr OvIntOption dot11PrivacyOptionImplementedSource[] = {{1, "true"}, {2, "false"}, {0, nullptr}};
constexpr OvIntOption dot11PowerManagementModeSource[] = {{1, "active"}, {2, "powersave"}, {0, nullptr}};
constexpr OvIntOption dot11DesiredBSSTypeSource[] = {
    {1, "infrastructure"}, {2, "independent"}, {3, "any"}, {0, nullptr}};
constexpr OvIntOption dot11AccessPointModeSource[] = {
    {1, "accessPoint"},       {2, "wirelessBridge"}, {3, "wirelessAPClient"}, {4, "wirelessMultiBridge"},
    {5, "backupAccessPoint"}, {6, "repeater"},       {7, "groupAccessPoint"}, {0, nullptr}};
constexpr OvIntOption dot11AuthenticationAlgorithmSource[] = {
    {1, "openSystem"}, {2, "sharedKey"}, {3, "both"}, {0, nullptr}};
constexpr OvIntOption dot11PrivacyInvokedSource[] = {{1, "true"}, {2, "false"}, {0, nullptr}};
constexpr OvIntOption dot11WEPKeyLengthSource[] = {
    {1, "w-64Bit"}, {2, "w-128Bit"}, {3, "w-256Bit"}, {0, nullptr}};
constexpr OvIntOption dot11ExcludeUnencryptedSource[] = {{1, "true"}, {2, "false"}, {0, nullptr}};
constexpr OvIntOption dot11SSIDBroadcastSource[] = {{1, "true"}, {2, "false"}, {0, nullptr}};
constexpr OvIntOption dot11PreambleTypeSource[] = {{1, "longPreamble"}, {2, "shortPreamble"}, {0, nullptr}};
constexpr OvIntOption dot11PHYTypeSource[] = {{1, "fhss"}, {2, "dsss"}, {3, "irbaseband"}, {0, nullptr}};
constexpr OvIntOption dot11TempTypeSource[] = {{1, "tempType1"}, {2, "tempType2"}, {0, nullptr}};
constexpr OvIntOption dot11RegDomainsSupportValueSource[] = {
    {16, "fcc"}, {32, "doc"}, {48, "etsi"}, {49, "spain"}, {50, "france"}, {64, "mkk"}, {0, nullptr}};
constexpr OvIntOption dot11ChannelAgilityPresentSource[] = {{1, "true"}, {2, "false"}, {0, nullptr}};
constexpr OvIntOption dot11ChannelAgilityEnabledSource[] = {{1, "true"}, {2, "false"}, {0, nullptr}};
constexpr OvIntOption dot11DiversitySupportSource[] = {
    {1, "fixedlist"}, {2, "notsupported"}, {3, "dynamic"}, {0, nullptr}};
constexpr OvIntOption dot11DynamicChannelEnabledSource[] = {{1, "true"}, {2, "false"}, {0, nullptr}};
constexpr OvIntOption dot11CurrentCCAModeSource[] = {
    {1, "edonly"}, {2, "csonly"}, {4, "edandcs"}, {0, nullptr}};
constexpr OvIntOption dot11ShortPreambleOptionImplementedSource[] = {{1, "true"}, {2, "false"}, {0, nullptr}};
constexpr OvIntOption dot11PBCCOptionImplementedSource[] = {{1, "true"}, {2, "false"}, {0, nullptr}};
} // namespace

// Defined in order of first appearance: static initialisation builds them in this order
// before main runs, static destruction releases them in reverse.
const OvOptionList dot11PrivacyOptionImplementedOptions(dot11PrivacyOptionImplementedSource,
                                                        OvOptionList::IntegerValues, false);
const OvOptionList dot11PowerManagementModeOptions(dot11PowerManagementModeSource,
                                                   OvOptionList::IntegerValues, false);
const OvOptionList dot11DesiredBSSTypeOptions(dot11DesiredBSSTypeSource, OvOptionList::IntegerValues, false);
const OvOptionList dot11AccessPointModeOptions(dot11AccessPointModeSource, OvOptionList::IntegerValues,
                                               false);
const OvOptionList dot11AuthenticationAlgorithmOptions(dot11AuthenticationAlgorithmSource,
                                                       OvOptionList::IntegerValues, false);
const OvOptionList dot11PrivacyInvokedOptions(dot11PrivacyInvokedSource, OvOptionList::IntegerValues, false);
const OvOptionList dot11WEPKeyLengthOptions(dot11WEPKeyLengthSource, OvOptionList::IntegerValues, false);
const OvOptionList dot11ExcludeUnencryptedOptions(dot11ExcludeUnencryptedSource, OvOptionList::IntegerValues,
                                                  false);
const OvOptionList dot11SSIDBroadcastOptions(dot11SSIDBroadcastSource, OvOptionList::IntegerValues, false);
const OvOptionList dot11PreambleTypeOptions(dot11PreambleTypeSource, OvOptionList::IntegerValues, false);
const OvOptionList dot11PHYTypeOptions(dot11PHYTypeSource, OvOptionList::IntegerValues, false);
const OvOptionList dot11TempTypeOptions(dot11TempTypeSource, OvOptionList::IntegerValues, false);
const OvOptionList dot11RegDomainsSupportValueOptions(dot11RegDomainsSupportValueSource,
                                                      OvOptionList::IntegerValues, false);
const OvOptionList dot11ChannelAgilityPresentOptions(dot11ChannelAgilityPresentSource,
                                                     OvOptionList::IntegerValues, false);
const OvOptionList dot11ChannelAgilityEnabledOptions(dot11ChannelAgilityEnabledSource,
                                                     OvOptionList::IntegerValues, false);
const OvOptionList dot11DiversitySupportOptions(dot11DiversitySupportSource, OvOptionList::IntegerValues,
                                                false);
const OvOptionList dot11DynamicChannelEnabledOptions(dot11DynamicChannelEnabledSource,
                                                     OvOptionList::IntegerValues, false);
const OvOptionList dot11CurrentCCAModeOptions(dot11CurrentCCAModeSource, OvOptionList::IntegerValues, false);
const OvOptionList dot11ShortPreambleOptionImplementedOptions(dot11ShortPreambleOptionImplementedSource,
                                                              OvOptionList::IntegerValues, false);
const OvOptionList dot11PBCCOptionImplementedOptions(dot11PBCCOptionImplementedSource,
                                                     OvOptionList::IntegerValues, false);

const TSNMPVarInfo StationConfigTable[] = {
    {"1.3.6.1.4.1.32473.1.3.1.1.1", "dot11StationID", macaddress, readonly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.1.1.2", "dot11PrivacyOptionImplemented", integer, readonly,
     &dot11PrivacyOptionImplementedOptions, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.1.1.3", "dot11PowerManagementMode", integer, readonly,
     &dot11PowerManagementModeOptions, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.1.1.4", "dot11DesiredSSID", octetstr, readwrite, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.1.1.5", "dot11DesiredBSSType", integer, readonly, &dot11DesiredBSSTypeOptions,
     nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.1.1.6", "dot11OperationalRateSet", octetstr, readwrite, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.1.1.7", "dot11BeaconPeriod", integer, readwrite, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.1.1.8", "dot11DTIMPeriod", integer, readwrite, nullptr, nullptr, nullptr, nullptr,
     nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.1.1.9", "dot11DisassociateReason", integer, readonly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.1.1.10", "dot11DisassociateStation", macaddress, readonly, nullptr, nullptr,
     nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.1.1.11", "dot11DeauthenticateReason", integer, readonly, nullptr, nullptr,
     nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.1.1.12", "dot11DeauthenticateStation", macaddress, readonly, nullptr, nullptr,
     nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.1.1.13", "dot11AuthenticateFailStatus", integer, readonly, nullptr, nullptr,
     nullptr, nullptr, nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
};

const TSNMPVarInfo APModeConfigTable[] = {
    {"1.3.6.1.4.1.32473.1.3.1.2.1", "dot11AccessPointMode", integer, readwrite, &dot11AccessPointModeOptions,
     nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.1.2.2", "dot11RemoteMACAddress", macaddress, readwrite, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.1.2.3", "dot11BackupAPRemoteServerIPAddress", ipaddress, readwrite, nullptr,
     nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.1.2.4", "dot11GroupAPID", octetstr, readwrite, nullptr, nullptr, nullptr, nullptr,
     nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
};

const TSNMPVarInfo PrivacyConfigTable[] = {
    {"1.3.6.1.4.1.32473.1.3.1.3.1", "dot11AuthenticationAlgorithm", integer, readonly,
     &dot11AuthenticationAlgorithmOptions, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.1.3.2", "dot11PrivacyInvoked", integer, readwrite, &dot11PrivacyInvokedOptions,
     nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.1.3.3", "dot11WEPDefaultKeyID", integer, readwrite, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.1.3.4", "dot11WEPKeyLength", integer, readwrite, &dot11WEPKeyLengthOptions,
     nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.1.3.5", "dot11WEPKeyMappingLength", integer, readonly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.1.3.6", "dot11ExcludeUnencrypted", integer, readonly,
     &dot11ExcludeUnencryptedOptions, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.1.3.7", "dot11WEPICVErrorCount", counter, readonly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.1.3.8", "dot11WEPExcludedCount", counter, readonly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
};

const TSNMPVarInfo MACOperationTable[] = {
    {"1.3.6.1.4.1.32473.1.3.2.1.1", "dot11MACAddress", macaddress, readonly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.2.1.2", "dot11RTSThreshold", integer, readwrite, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.2.1.3", "dot11ShortRetryLimit", integer, readwrite, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.2.1.4", "dot11LongRetryLimit", integer, readwrite, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.2.1.5", "dot11FragmentationThreshold", integer, readwrite, nullptr, nullptr,
     nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.2.1.6", "dot11SSIDBroadcast", integer, readwrite, &dot11SSIDBroadcastOptions,
     nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.2.1.7", "dot11PreambleType", integer, readwrite, &dot11PreambleTypeOptions,
     nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.2.1.8", "dot11MaxTransmitMSDULifetime", integer, readwrite, nullptr, nullptr,
     nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.2.1.9", "dot11MaxReceiveLifetime", integer, readwrite, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.2.1.10", "dot11ManufacturerID", displaystr, readonly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.2.1.11", "dot11ProductID", displaystr, readonly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
};

const TSNMPVarInfo ManufacturerTable[] = {
    {"1.3.6.1.4.1.32473.1.3.3.1.2.1", "dot11manufacturerOUI", octetstr, readonly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.3.1.2.2", "dot11manufacturerName", displaystr, readonly, nullptr, nullptr,
     nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.3.1.2.3", "dot11manufacturerProductName", displaystr, readonly, nullptr, nullptr,
     nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.3.1.2.4", "dot11manufacturerProductVersion", displaystr, readonly, nullptr,
     nullptr, nullptr, nullptr, nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
};

const TSNMPVarInfo PHYOperationTable[] = {
    {"1.3.6.1.4.1.32473.1.3.4.1.1", "dot11PHYType", integer, readonly, &dot11PHYTypeOptions, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.4.1.2", "dot11CurrentRegDomain", integer, readonly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.4.1.3", "dot11TempType", integer, readonly, &dot11TempTypeOptions, nullptr,
     nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.4.1.4", "dot11RegDomainsSupportValue", integer, readonly,
     &dot11RegDomainsSupportValueOptions, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.4.1.5", "dot11SupportedDataRatesTxValue", integer, readonly, nullptr, nullptr,
     nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.4.1.6", "dot11SupportedDataRatesRxValue", integer, readonly, nullptr, nullptr,
     nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.4.1.7", "dot11CurrentTxRate", integer, readwrite, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.4.1.8", "dot11ChannelAgilityPresent", integer, readonly,
     &dot11ChannelAgilityPresentOptions, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.4.1.9", "dot11ChannelAgilityEnabled", integer, readonly,
     &dot11ChannelAgilityEnabledOptions, nullptr, nullptr, nullptr, nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
};

const TSNMPVarInfo AntennaTable[] = {
    {"1.3.6.1.4.1.32473.1.3.4.2.1", "dot11CurrentTxAntenna", integer, readonly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.4.2.2", "dot11DiversitySupport", integer, readonly, &dot11DiversitySupportOptions,
     nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.4.2.3", "dot11CurrentRxAntenna", integer, readonly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
};

const TSNMPVarInfo TxPowerTable[] = {
    {"1.3.6.1.4.1.32473.1.3.4.3.1", "dot11NumberSupportedPowerLevels", integer, readonly, nullptr, nullptr,
     nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.4.3.2", "dot11TxPowerLevel1", integer, readonly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.4.3.3", "dot11TxPowerLevel2", integer, readonly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.4.3.4", "dot11TxPowerLevel3", integer, readonly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.4.3.5", "dot11TxPowerLevel4", integer, readonly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.4.3.6", "dot11TxPowerLevel5", integer, readonly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.4.3.7", "dot11TxPowerLevel6", integer, readonly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.4.3.8", "dot11TxPowerLevel7", integer, readonly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.4.3.9", "dot11TxPowerLevel8", integer, readonly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.4.3.10", "dot11CurrentTxPowerLevel", integer, readonly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
};

const TSNMPVarInfo DSSTable[] = {
    {"1.3.6.1.4.1.32473.1.3.4.4.1", "dot11CurrentChannel", integer, readwrite, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.4.4.2", "dot11DynamicChannelEnabled", integer, readwrite,
     &dot11DynamicChannelEnabledOptions, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.4.4.3", "dot11CCAModeSupported", integer, readonly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.4.4.4", "dot11CurrentCCAMode", integer, readonly, &dot11CurrentCCAModeOptions,
     nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.4.4.5", "dot11EDThreshold", integer, readwrite, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.4.4.6", "dot11ShortPreambleOptionImplemented", integer, readonly,
     &dot11ShortPreambleOptionImplementedOptions, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.4.4.7", "dot11PBCCOptionImplemented", integer, readonly,
     &dot11PBCCOptionImplementedOptions, nullptr, nullptr, nullptr, nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
};

const TSNMPVarInfo CountersTable[] = {
    {"1.3.6.1.4.1.32473.1.3.2.2.1.0", "dot11TransmittedFragmentCount", counter, readonly, nullptr, nullptr,
     nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.2.2.2.0", "dot11MulticastTransmittedFrameCount", counter, readonly, nullptr,
     nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.2.2.3.0", "dot11FailedCount", counter, readonly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.2.2.4.0", "dot11RetryCount", counter, readonly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.2.2.5.0", "dot11MultipleRetryCount", counter, readonly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.2.2.6.0", "dot11FrameDuplicateCount", counter, readonly, nullptr, nullptr,
     nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.2.2.7.0", "dot11RTSSuccessCount", counter, readonly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.2.2.8.0", "dot11RTSFailureCount", counter, readonly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.2.2.9.0", "dot11ACKFailureCount", counter, readonly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.2.2.10.0", "dot11ReceivedFragmentCount", counter, readonly, nullptr, nullptr,
     nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.2.2.11.0", "dot11MulticastReceivedFrameCount", counter, readonly, nullptr,
     nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.2.2.12.0", "dot11FCSErrorCount", counter, readonly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.2.2.13.0", "dot11TransmittedFrameCount", counter, readonly, nullptr, nullptr,
     nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.1.3.2.2.14.0", "dot11WEPUndecryptableCount", counter, readonly, nullptr, nullptr,
     nullptr, nullptr, nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
};

const TSNMPVarInfo SysObjectIDTable[] = {
    {"1.3.6.1.2.1.1.2", "sysObjectID", objectid, readonly, nullptr, nullptr, nullptr, nullptr, nullptr,
     nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
};

const TSNMPVarInfo ConfigSaveTable[] = {
    {"1.3.6.1.4.1.32473.1.1.1", "enterpriseAPSysConfigSave", integer, readwrite, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
};

const TSNMPVarInfo RebootTable[] = {
    {"1.3.6.1.4.1.32473.1.1.2", "enterpriseAPSysReboot", integer, readwrite, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
};

const TSNMPVarInfo ConfigApplyTable[] = {
    {"1.3.6.1.4.1.32473.1.1.3", "enterpriseAPSysConfigApply", integer, readwrite, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
};

// Layout tables: row i shows row i of the descriptor table of the same window.
const TUIItemInfo StationConfigLayout[] = {
    {ukStaticText, "", &StationConfigTable[0], 0, nullptr, nullptr},  // dot11StationID
    {ukStaticText, "", &StationConfigTable[1], 0, nullptr, nullptr},  // dot11PrivacyOptionImplemented
    {ukStaticText, "", &StationConfigTable[2], 0, nullptr, nullptr},  // dot11PowerManagementMode
    {ukEdit, "%s", &StationConfigTable[3], 95, nullptr, nullptr},     // dot11DesiredSSID: 32 octets in hex
    {ukStaticText, "", &StationConfigTable[4], 0, nullptr, nullptr},  // dot11DesiredBSSType
    {ukEdit, "%s", &StationConfigTable[5], 0, nullptr, nullptr},      // dot11OperationalRateSet
    {ukEdit, "%i", &StationConfigTable[6], 0, nullptr, nullptr},      // dot11BeaconPeriod
    {ukEdit, "%i", &StationConfigTable[7], 0, nullptr, nullptr},      // dot11DTIMPeriod
    {ukStaticText, "", &StationConfigTable[8], 0, nullptr, nullptr},  // dot11DisassociateReason
    {ukStaticText, "", &StationConfigTable[9], 0, nullptr, nullptr},  // dot11DisassociateStation
    {ukStaticText, "", &StationConfigTable[10], 0, nullptr, nullptr}, // dot11DeauthenticateReason
    {ukStaticText, "", &StationConfigTable[11], 0, nullptr, nullptr}, // dot11DeauthenticateStation
    {ukStaticText, "", &StationConfigTable[12], 0, nullptr, nullptr}, // dot11AuthenticateFailStatus
    {ukNone, nullptr, nullptr, 0, nullptr, nullptr},
};

const TUIItemInfo APModeConfigLayout[] = {
    {ukComboBox, "", &APModeConfigTable[0], 0, nullptr, nullptr}, // dot11AccessPointMode
    {ukEdit, "%s", &APModeConfigTable[1], 0, nullptr, nullptr},   // dot11RemoteMACAddress
    {ukEdit, "%s", &APModeConfigTable[2], 0, nullptr, nullptr},   // dot11BackupAPRemoteServerIPAddress
    {ukEdit, "%s", &APModeConfigTable[3], 0, nullptr, nullptr},   // dot11GroupAPID
    {ukNone, nullptr, nullptr, 0, nullptr, nullptr},
};

const TUIItemInfo PrivacyConfigLayout[] = {
    {ukStaticText, "", &PrivacyConfigTable[0], 0, nullptr, nullptr}, // dot11AuthenticationAlgorithm
    {ukComboBox, "", &PrivacyConfigTable[1], 0, nullptr, nullptr},   // dot11PrivacyInvoked
    {ukEdit, "%i", &PrivacyConfigTable[2], 0, nullptr, nullptr},     // dot11WEPDefaultKeyID
    {ukComboBox, "", &PrivacyConfigTable[3], 0, nullptr, nullptr},   // dot11WEPKeyLength
    {ukStaticText, "", &PrivacyConfigTable[4], 0, nullptr, nullptr}, // dot11WEPKeyMappingLength
    {ukStaticText, "", &PrivacyConfigTable[5], 0, nullptr, nullptr}, // dot11ExcludeUnencrypted
    {ukStaticText, "", &PrivacyConfigTable[6], 0, nullptr, nullptr}, // dot11WEPICVErrorCount
    {ukStaticText, "", &PrivacyConfigTable[7], 0, nullptr, nullptr}, // dot11WEPExcludedCount
    {ukNone, nullptr, nullptr, 0, nullptr, nullptr},
};

const TUIItemInfo MACOperationLayout[] = {
    {ukStaticText, "", &MACOperationTable[0], 0, nullptr, nullptr},  // dot11MACAddress
    {ukEdit, "%i", &MACOperationTable[1], 0, nullptr, nullptr},      // dot11RTSThreshold
    {ukEdit, "%i", &MACOperationTable[2], 0, nullptr, nullptr},      // dot11ShortRetryLimit
    {ukEdit, "%i", &MACOperationTable[3], 0, nullptr, nullptr},      // dot11LongRetryLimit
    {ukEdit, "%i", &MACOperationTable[4], 0, nullptr, nullptr},      // dot11FragmentationThreshold
    {ukComboBox, "", &MACOperationTable[5], 0, nullptr, nullptr},    // dot11SSIDBroadcast
    {ukComboBox, "", &MACOperationTable[6], 0, nullptr, nullptr},    // dot11PreambleType
    {ukEdit, "%i", &MACOperationTable[7], 0, nullptr, nullptr},      // dot11MaxTransmitMSDULifetime
    {ukEdit, "%i", &MACOperationTable[8], 0, nullptr, nullptr},      // dot11MaxReceiveLifetime
    {ukStaticText, "", &MACOperationTable[9], 0, nullptr, nullptr},  // dot11ManufacturerID
    {ukStaticText, "", &MACOperationTable[10], 0, nullptr, nullptr}, // dot11ProductID
    {ukNone, nullptr, nullptr, 0, nullptr, nullptr},
};

const TUIItemInfo ManufacturerLayout[] = {
    {ukStaticText, "", &ManufacturerTable[0], 0, nullptr, nullptr}, // dot11manufacturerOUI
    {ukStaticText, "", &ManufacturerTable[1], 0, nullptr, nullptr}, // dot11manufacturerName
    {ukStaticText, "", &ManufacturerTable[2], 0, nullptr, nullptr}, // dot11manufacturerProductName
    {ukStaticText, "", &ManufacturerTable[3], 0, nullptr, nullptr}, // dot11manufacturerProductVersion
    {ukNone, nullptr, nullptr, 0, nullptr, nullptr},
};

const TUIItemInfo PHYOperationLayout[] = {
    {ukStaticText, "", &PHYOperationTable[0], 0, nullptr, nullptr}, // dot11PHYType
    {ukStaticText, "", &PHYOperationTable[1], 0, nullptr, nullptr}, // dot11CurrentRegDomain
    {ukStaticText, "", &PHYOperationTable[2], 0, nullptr, nullptr}, // dot11TempType
    {ukStaticText, "", &PHYOperationTable[3], 0, nullptr, nullptr}, // dot11RegDomainsSupportValue
    {ukStaticText, "", &PHYOperationTable[4], 0, nullptr, nullptr}, // dot11SupportedDataRatesTxValue
    {ukStaticText, "", &PHYOperationTable[5], 0, nullptr, nullptr}, // dot11SupportedDataRatesRxValue
    {ukEdit, "%i", &PHYOperationTable[6], 0, nullptr, nullptr},     // dot11CurrentTxRate
    {ukStaticText, "", &PHYOperationTable[7], 0, nullptr, nullptr}, // dot11ChannelAgilityPresent
    {ukStaticText, "", &PHYOperationTable[8], 0, nullptr, nullptr}, // dot11ChannelAgilityEnabled
    {ukNone, nullptr, nullptr, 0, nullptr, nullptr},
};

const TUIItemInfo AntennaLayout[] = {
    {ukStaticText, "", &AntennaTable[0], 0, nullptr, nullptr}, // dot11CurrentTxAntenna
    {ukStaticText, "", &AntennaTable[1], 0, nullptr, nullptr}, // dot11DiversitySupport
    {ukStaticText, "", &AntennaTable[2], 0, nullptr, nullptr}, // dot11CurrentRxAntenna
    {ukNone, nullptr, nullptr, 0, nullptr, nullptr},
};

const TUIItemInfo TxPowerLayout[] = {
    {ukStaticText, "", &TxPowerTable[0], 0, nullptr, nullptr}, // dot11NumberSupportedPowerLevels
    {ukStaticText, "", &TxPowerTable[1], 0, nullptr, nullptr}, // dot11TxPowerLevel1
    {ukStaticText, "", &TxPowerTable[2], 0, nullptr, nullptr}, // dot11TxPowerLevel2
    {ukStaticText, "", &TxPowerTable[3], 0, nullptr, nullptr}, // dot11TxPowerLevel3
    {ukStaticText, "", &TxPowerTable[4], 0, nullptr, nullptr}, // dot11TxPowerLevel4
    {ukStaticText, "", &TxPowerTable[5], 0, nullptr, nullptr}, // dot11TxPowerLevel5
    {ukStaticText, "", &TxPowerTable[6], 0, nullptr, nullptr}, // dot11TxPowerLevel6
    {ukStaticText, "", &TxPowerTable[7], 0, nullptr, nullptr}, // dot11TxPowerLevel7
    {ukStaticText, "", &TxPowerTable[8], 0, nullptr, nullptr}, // dot11TxPowerLevel8
    {ukStaticText, "", &TxPowerTable[9], 0, nullptr, nullptr}, // dot11CurrentTxPowerLevel
    {ukNone, nullptr, nullptr, 0, nullptr, nullptr},
};

const TUIItemInfo DSSLayout[] = {
    {ukEdit, "%i", &DSSTable[0], 0, nullptr, nullptr},     // dot11CurrentChannel
    {ukComboBox, "", &DSSTable[1], 0, nullptr, nullptr},   // dot11DynamicChannelEnabled
    {ukStaticText, "", &DSSTable[2], 0, nullptr, nullptr}, // dot11CCAModeSupported
    {ukStaticText, "", &DSSTable[3], 0, nullptr, nullptr}, // dot11CurrentCCAMode
    {ukEdit, "%i", &DSSTable[4], 0, nullptr, nullptr},     // dot11EDThreshold
    {ukStaticText, "", &DSSTable[5], 0, nullptr, nullptr}, // dot11ShortPreambleOptionImplemented
    {ukStaticText, "", &DSSTable[6], 0, nullptr, nullptr}, // dot11PBCCOptionImplemented
    {ukNone, nullptr, nullptr, 0, nullptr, nullptr},
};

const OvConfigGroup ConfigGroups[ConfigGroupCount] = {
    {"Station Configuration", StationConfigTable, StationConfigLayout, false},
    {"AP Mode Configuration", APModeConfigTable, APModeConfigLayout, false},
    {"Privacy Configuration", PrivacyConfigTable, PrivacyConfigLayout, false},
    {"MAC Operation", MACOperationTable, MACOperationLayout, false},
    {"Manufacture Information1", ManufacturerTable, ManufacturerLayout, true},
    {"PHY Operation", PHYOperationTable, PHYOperationLayout, false},
    {"Antenna", AntennaTable, AntennaLayout, true},
    {"Tx Power", TxPowerTable, TxPowerLayout, true},
    {"DSS", DSSTable, DSSLayout, false},
};
