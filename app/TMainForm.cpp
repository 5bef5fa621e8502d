#include "app/TMainForm.h"

#include "app/TBanner.h"

#include "app/TNotificationsForm.h"
#include "app/TSNMP_Counters.h"
#include "binding/TStatusPanel.h"
#include "binding/OvFeedback.h"
#include "binding/OvFileFolders.h"
#include "formgen/TSNMPPanel.h"
#include "snmp/OvBootCounter.h"
#include "binding/OvMenuKeys.h"
#include "binding/OvSNMPRequest2Edits.h"
#include "catalogue/OvCatalogue.h"
#include "device/OvArtwork.h"
#include "device/TConfigForms.h"
#include "errors/OvErrors.h"
#include "launch/OvViewerEnvironment.h"
#include "notify/OvNotificationCentre.h"
#include "snmp/TSNMPSession.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QMetaObject>
#include <QProcess>
#include <QStatusBar>
#include <QVBoxLayout>

std::function<bool(const QString&, const QStringList&, const QProcessEnvironment&, const QString&)>
    TMainForm::ProcessStarter = [](const QString& program, const QStringList& arguments,
                                   const QProcessEnvironment& environment, const QString& folder) {
        QProcess process;
        process.setWorkingDirectory(folder);
        process.setProgram(program);
        process.setArguments(arguments);
        process.setProcessEnvironment(environment);
        return process.startDetached();
    };

TMainForm::TMainForm(const QStringList& arguments, StartedFrom start, QWidget* parent)
    : QMainWindow(parent),
      FilesFolder(start == StartedFrom::Menu ? OvBootCounter::StateFolder() : QString()) {
    TCtrlBtnPanel::PictureFolder = FilesFolder;
    BuildWindow();
    setWindowTitle(QString::fromLatin1(DesignCaption));

    TSNMPSession::Create(FilesFolder);

    if (arguments.isEmpty()) {
        NoParameters = true;
        OvFeedback::MessageBox(this, OvFeedback::ProgramFileName(), QStringLiteral("No parameter input"));
        // Ends the program as soon as the message loop runs.
        QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                  Qt::QueuedConnection);
    } else {
        TLaunchTexts texts;
        OvParseLaunchOptions(arguments, TSNMPSession::DefaultTarget(), texts);
        AddressText = texts.AddressText;
        ReadCommunityText = texts.ReadCommunityText;
        WriteCommunityText = texts.WriteCommunityText;
        LaunchTypeText = texts.LaunchTypeText;
        // The menu-started module keeps settings (its recent devices, the dialogs' folders);
        // one started with options keeps none.
        if (start == StartedFrom::Menu)
            OvFileFolders::Program().KeepAcrossRuns();
        setWindowTitle(QString::fromLatin1(DesignCaption) + QStringLiteral(" : ") + AddressText);
        Notifications = new OvNotificationCentre(this);
        Notifications->Start(TSNMPSession::DefaultTarget().Device.Address, texts.NotificationPort,
                             TSNMPSession::DefaultTarget().Security,
                             OvTrapCommunity(texts, TSNMPSession::DefaultTarget()));
    }
    FormCreate();
}

TMainForm::~TMainForm() {
    Timer1.stop();
    // The windows opened from the menus go first; each waits for its outstanding answers.
    const auto windows = findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget* w : windows)
        if (w->isWindow())
            delete w;
}

void TMainForm::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    QCoreApplication::quit();
}

void TMainForm::BuildWindow() {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    auto* panel1 = new QWidget(this);
    auto* column = new QVBoxLayout(panel1);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(new TBanner(panel1));
    Label1 = new QLabel(panel1); // receives the polled value; never shown
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->hide();
    setCentralWidget(panel1);
    statusBar()->setSizeGripEnabled(false);
    statusBar()->setFixedHeight(21);
    StatusPanel = new TStatusPanel(statusBar());
    StatusPanel->setObjectName(QStringLiteral("StatusPanel"));
    BuildMenus();
    setWindowIcon(QIcon(OvProgramIcon()));
    panel1->setFixedSize(640, 105); // with the status bar: a client area of 640 x 126
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    Timer1.setInterval(PollInterval);
    connect(&Timer1, &QTimer::timeout, this, &TMainForm::Timer1Timer);
    Timer1.start();
}

void TMainForm::BuildMenus() {
    // Every entry has the object name of its handler, so that it can be found and triggered.
    auto item = [this](QMenu* menu, const QString& caption, const char* name, void (TMainForm::*slot)()) {
        menu->addAction(caption, this, slot)->setObjectName(QLatin1String(name));
    };
    QMenu* mib = menuBar()->addMenu(QStringLiteral("MIB II"));
    item(mib, QStringLiteral("Information"), "Information1", &TMainForm::Information1Click);
    mib->addSeparator();
    item(mib, QStringLiteral("IF Table"), "IFTable1", &TMainForm::IFTable1Click);
    item(mib, QStringLiteral("IF Counters"), "IFCounters1", &TMainForm::IFCounters1Click);
    mib->addSeparator();
    item(mib, QStringLiteral("IP Counters"), "IPCounters1", &TMainForm::IPCounters1Click);
    item(mib, QStringLiteral("IP Routing"), "IPRouting1", &TMainForm::IPRouting1Click);
    item(mib, QStringLiteral("IP Address Table"), "IPAddressTable1", &TMainForm::IPAddressTable1Click);
    mib->addSeparator();
    item(mib, QStringLiteral("ICMP Counters"), "ICMPCounters1", &TMainForm::ICMPCounters1Click);
    item(mib, QStringLiteral("UDP Counters"), "UDPCounters1", &TMainForm::UDPCounters1Click);
    item(mib, QStringLiteral("SNMP Counters"), "SNMPCounters1", &TMainForm::SNMPCounters1Click);

    QMenu* wlan = menuBar()->addMenu(QStringLiteral("Wireless LAN"));
    QMenu* station = wlan->addMenu(QStringLiteral("Station Management"));
    item(station, QStringLiteral("Station Configuration"), "StationConfiguration1",
         &TMainForm::StationConfiguration1Click);
    item(station, QStringLiteral("AP Mode Configuration"), "APModeConfiguration1",
         &TMainForm::APModeConfiguration1Click);
    item(station, QStringLiteral("Privacy Configuration"), "PrivacyConfiguration1",
         &TMainForm::PrivacyConfiguration1Click);
    QMenu* mac = wlan->addMenu(QStringLiteral("MAC Management"));
    item(mac, QStringLiteral("Operation"), "OperationConfiguration1",
         &TMainForm::OperationConfiguration1Click);
    item(mac, QStringLiteral("Counters Table"), "CounterTable1", &TMainForm::CounterTable1Click);
    item(wlan, QStringLiteral("Manufacture Information"), "ManufactureInformation1",
         &TMainForm::ManufactureInformation1Click);
    QMenu* phy = wlan->addMenu(QStringLiteral("PHY Management"));
    item(phy, QStringLiteral("Operation"), "Operation1", &TMainForm::Operation1Click);
    item(phy, QStringLiteral("Antenna"), "Antenna1", &TMainForm::Antenna1Click);
    item(phy, QStringLiteral("Tx Power "), "TxPower1", &TMainForm::TxPower1Click);
    item(phy, QStringLiteral("DSS"), "DSS1", &TMainForm::DSS1Click);
    wlan->addSeparator();
    item(wlan, QStringLiteral("Save Changes"), "Save1", &TMainForm::Save1Click);
    item(wlan, QStringLiteral("Reboot"), "Reboot1", &TMainForm::Reboot1Click);
    item(wlan, QStringLiteral("Save && Reboot"), "SaveReboot1", &TMainForm::SaveReboot1Click);
    wlan->addSeparator();
    item(wlan, QStringLiteral("Notifications"), "Notifications1", &TMainForm::Notifications1Click);

    QMenu* help = menuBar()->addMenu(QStringLiteral("Help"));
    item(help, QStringLiteral("About"), "About1", &TMainForm::About1Click);
    OvReachMenusFromKeyboard(this);
}

void TMainForm::FormCreate() {
    try {
        StatusBinding = new OvSNMPRequest2Edits(this);
        StatusBinding->VarList() = OvSNMPVarList(SysObjectIDTable, SVT_SV, 0);
        StatusBinding->BindControl(0, Label1);
        StatusBinding->SetLogTarget(StatusPanel);
        StatusBinding->Get();
    } catch (const OvException& e) {
        if (StatusBinding) {
            StatusBinding->ShowResult(OvOperation::Get, e.message());
        }
    }
}

void TMainForm::Timer1Timer() {
    if (StatusBinding)
        StatusBinding->GetOrLog();
}

// ---- windows ------------------------------------------------------------------------------------

template <class Form> Form* TMainForm::OpenWindow(const QString& title, QPointer<Form>& reference) {
    WindowTitle = title;
    auto* form = new Form(this, WindowTitle, AddressText);
    reference = form;
    form->show();
    return form;
}

void TMainForm::StationConfiguration1Click() {
    OpenWindow(QStringLiteral("Station Configuration"), StationConfigForm);
}
void TMainForm::APModeConfiguration1Click() {
    OpenWindow(QStringLiteral("AP Mode Configuration"), APModeConfigForm);
}
void TMainForm::PrivacyConfiguration1Click() {
    OpenWindow(QStringLiteral("Privacy Configuration"), PrivacyConfigurationForm);
}
void TMainForm::OperationConfiguration1Click() {
    OpenWindow(QStringLiteral("MAC Operation"), OperationForm);
}
void TMainForm::ManufactureInformation1Click() {
    OpenWindow(QStringLiteral("Manufacture Information1"), ManufactureForm);
}
void TMainForm::Operation1Click() {
    OpenWindow(QStringLiteral("PHY Operation"), PhyOperationForm);
}
void TMainForm::Antenna1Click() {
    OpenWindow(QStringLiteral("Antenna"), AntennaForm);
}
void TMainForm::TxPower1Click() {
    OpenWindow(QStringLiteral("Tx Power"), TxPowerForm);
}
void TMainForm::DSS1Click() {
    OpenWindow(QStringLiteral("DSS"), DSSForm);
}

void TMainForm::CounterTable1Click() {
    WindowTitle = QStringLiteral("Counters Table");
    auto* form = new TSNMP_Counters(this, AddressText);
    SNMP_Counters = form;
    form->show();
}

void TMainForm::Notifications1Click() {
    if (!Notifications)
        return;
    if (!NotificationsForm)
        NotificationsForm = new TNotificationsForm(this, *Notifications, AddressText);
    NotificationsForm->show();
    NotificationsForm->raise();
    NotificationsForm->activateWindow();
}

void TMainForm::About1Click() {
    auto* form = new TAboutForm(this);
    AboutForm = form;
    form->show();
}

// ---- device actions ---------------------------------------------------------------------------------

void TMainForm::DeviceAction(const QString& caption, const TSNMPVarInfo* table) {
    if (OvFeedback::MessageBox(this, caption, QStringLiteral("Are you sure?"),
                               QMessageBox::Ok | QMessageBox::Cancel,
                               QMessageBox::Information) != QMessageBox::Ok)
        return;
    try {
        OvSNMPRequest request;
        request.VarList = OvSNMPVarList(table, SVT_SV, 0);
        request.VarList.Item(0)->Value = QStringLiteral("1");
        request.Set(false);
    } catch (const OvException& e) {
        // No answer is not a refusal: the command may have reached the device.
        const QString text = e.code() == OvCode::Timeout
                                 ? e.message() + QStringLiteral(" The command may have been carried out.")
                                 : e.message();
        OvFeedback::MessageBox(this, OvFeedback::ProgramFileName(), text, QMessageBox::Ok,
                               QMessageBox::Critical);
    }
}

void TMainForm::Save1Click() {
    DeviceAction(QStringLiteral("Save Changes"), ConfigSaveTable);
}
void TMainForm::Reboot1Click() {
    DeviceAction(QStringLiteral("Device Reboot"), RebootTable);
}
void TMainForm::SaveReboot1Click() {
    DeviceAction(QStringLiteral("Save Changes"), ConfigApplyTable);
}

// ---- viewer ------------------------------------------------------------------------------------------

QString TMainForm::ViewerProgram(const QString& viewOption) const {
    const int underscore = viewOption.indexOf(QLatin1Char('_'));
    const QString name = viewOption.mid(2, underscore < 0 ? -1 : underscore - 2);
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + name;
}

QStringList TMainForm::ViewerArguments(const QString& viewOption) const {
    return {QStringLiteral("/I") + AddressText, QStringLiteral("/R") + ReadCommunityText,
            QStringLiteral("/W") + WriteCommunityText, viewOption};
}

QString TMainForm::BuildViewerCommandLine(const QString& viewOption) const {
    return ViewerProgram(viewOption) + QLatin1Char(' ') + ViewerArguments(viewOption).join(QLatin1Char(' '));
}

void TMainForm::LaunchViewer(const QString& viewOption) {
    // Separate arguments, no shell: an address or community with blanks or quotes stays one
    // argument. Port, version and SNMPv3 settings go through the environment, where other
    // users cannot read them. A missing viewer is not reported.
    ProcessStarter(
        ViewerProgram(viewOption), ViewerArguments(viewOption),
        OvViewerEnvironment(TSNMPSession::DefaultTarget(), QProcessEnvironment::systemEnvironment()),
        FilesFolder);
}

void TMainForm::Information1Click() {
    LaunchViewer(QStringLiteral("/TMIB_Info"));
}
void TMainForm::IFTable1Click() {
    LaunchViewer(QStringLiteral("/TMIB_IFTable"));
}
void TMainForm::IFCounters1Click() {
    LaunchViewer(QStringLiteral("/TMIB_IFCounters"));
}
void TMainForm::IPCounters1Click() {
    LaunchViewer(QStringLiteral("/TMIB_IPCounters"));
}
void TMainForm::IPRouting1Click() {
    LaunchViewer(QStringLiteral("/TMIB_IPRouting"));
}
void TMainForm::IPAddressTable1Click() {
    LaunchViewer(QStringLiteral("/TMIB_IPAddress"));
}
void TMainForm::ICMPCounters1Click() {
    LaunchViewer(QStringLiteral("/TMIB_ICMPCounters"));
}
void TMainForm::UDPCounters1Click() {
    LaunchViewer(QStringLiteral("/TMIB_UDPCounters"));
}
void TMainForm::SNMPCounters1Click() {
    LaunchViewer(QStringLiteral("/TMIB_SNMPCounters"));
}
