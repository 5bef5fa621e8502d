#pragma once

#include "launch/OvLaunchOptions.h"

#include <QMainWindow>
#include <QProcessEnvironment>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <functional>

class QLabel;
class QMenu;
class OvSNMPRequest2Edits;
class TStatusPanel;
class TSNMP_Counters;
class TAboutForm;
class TStationConfigForm;
class TAPModeConfigForm;
class TPrivacyConfigurationForm;
class TOperationForm;
class TManufactureForm;
class TPhyOperationForm;
class TAntennaForm;
class TTxPowerForm;
class TDSSForm;
class TNotificationsForm;
class OvNotificationCentre;
struct TSNMPVarInfo;

// The module's permanent window: banner, status line of the device poll, and the menus
// to the viewers, the configuration windows and the device commands. Its construction
// runs the start-up: the global SNMP session first, then the launch options.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char* DesignCaption = "Velmarn +";
    static constexpr int PollInterval = 3000;

    // How the module was started: with launch options (its files in the current folder, no
    // settings kept) or from the desktop menu ("velmarn --connect": its files in the state
    // folder, the dialogs' folders kept across runs; the working folder is left alone).
    enum class StartedFrom { Options, Menu };

    explicit TMainForm(const QStringList& arguments, StartedFrom start = StartedFrom::Options,
                       QWidget* parent = nullptr);
    ~TMainForm() override;

    // True when started without arguments: the program ends once the loop starts.
    bool EndsAtStart() const { return NoParameters; }

    // The viewer's command line for a view option ("/TMIB_Info"), as a text to show, and
    // the program and arguments it is started with (no shell, nothing split).
    QString BuildViewerCommandLine(const QString& viewOption) const;
    QString ViewerProgram(const QString& viewOption) const;
    QStringList ViewerArguments(const QString& viewOption) const;
    void LaunchViewer(const QString& viewOption);

    // How programs are started (in folder; empty: the current one); tests put their own here.
    static std::function<bool(const QString& program, const QStringList& arguments,
                              const QProcessEnvironment& environment, const QString& folder)>
        ProcessStarter;

    QString AddressText;
    QString ReadCommunityText;
    QString WriteCommunityText;
    QString LaunchTypeText;
    QString WindowTitle;

    // The most recently opened window of each kind.
    QPointer<TStationConfigForm> StationConfigForm;
    QPointer<TAPModeConfigForm> APModeConfigForm;
    QPointer<TPrivacyConfigurationForm> PrivacyConfigurationForm;
    QPointer<TOperationForm> OperationForm;
    QPointer<TManufactureForm> ManufactureForm;
    QPointer<TPhyOperationForm> PhyOperationForm;
    QPointer<TAntennaForm> AntennaForm;
    QPointer<TTxPowerForm> TxPowerForm;
    QPointer<TDSSForm> DSSForm;
    QPointer<TSNMP_Counters> SNMP_Counters;
    QPointer<TAboutForm> AboutForm;
    QPointer<TNotificationsForm> NotificationsForm;
    // The device's notifications, received from the start (null without arguments).
    OvNotificationCentre* Notifications = nullptr;

    OvSNMPRequest2Edits* StatusBinding = nullptr;
    QLabel* Label1 = nullptr;
    TStatusPanel* StatusPanel = nullptr;
    QTimer Timer1;

public Q_SLOTS:
    void Information1Click();
    void IFTable1Click();
    void IFCounters1Click();
    void IPCounters1Click();
    void IPRouting1Click();
    void IPAddressTable1Click();
    void ICMPCounters1Click();
    void UDPCounters1Click();
    void SNMPCounters1Click();
    void StationConfiguration1Click();
    void APModeConfiguration1Click();
    void PrivacyConfiguration1Click();
    void OperationConfiguration1Click();
    void CounterTable1Click();
    void ManufactureInformation1Click();
    void Operation1Click();
    void Antenna1Click();
    void TxPower1Click();
    void DSS1Click();
    void Save1Click();
    void Reboot1Click();
    void SaveReboot1Click();
    void Notifications1Click();
    void About1Click();
    void Timer1Timer();

protected:
    // Closing the main window ends the program, whatever other windows are open.
    void closeEvent(QCloseEvent* event) override;

private:
    QString FilesFolder; // the engine-boots file's and button pictures' (empty: current)

    void BuildWindow();
    void BuildMenus();
    void FormCreate();
    void DeviceAction(const QString& caption, const TSNMPVarInfo* table);
    template <class Form> Form* OpenWindow(const QString& title, QPointer<Form>& reference);

    bool NoParameters = false;
};
