#include "connect/TConnectDialog.h"

#include "connect/OvConnectHints.h"
#include "binding/OvFeedback.h"
#include "errors/OvErrors.h"
#include "launch/OvLaunchOptions.h"
#include "snmp/TSNMPSession.h"
#include "snmp/OvSNMPVar.h"
#include "snmp/OvScalarRead.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>

namespace {

constexpr int NoProtocol = 1; // "none", as /a1 and /p1 say
// SNMPv3 derives its keys from pass phrases of at least this length (RFC 3414).
constexpr int ShortestPassphrase = 8;

// Item data: the launch option's number.
QComboBox* choices(QWidget* parent, const std::vector<OvProtocolName>& list, const QString& name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    for (const OvProtocolName& c : list)
        box->addItem(QLatin1String(c.Name), c.Number);
    return box;
}

std::vector<OvProtocolName> withNone(std::vector<OvProtocolName> list) {
    list.insert(list.begin(), {"none", NoProtocol});
    return list;
}

QLineEdit* edit(QWidget* parent, const QString& name, const QString& placeholder = QString()) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setPlaceholderText(placeholder);
    // The placeholder says what to enter: it is shown whole.
    const int room = e->fontMetrics().horizontalAdvance(placeholder) + 24;
    e->setMinimumWidth(std::max(e->sizeHint().width(), room));
    return e;
}

void choose(QComboBox* box, int number) {
    const int at = box->findData(number);
    if (at >= 0)
        box->setCurrentIndex(at);
}

} // namespace

TConnectDialog::TConnectDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Velmarn+ : Connect"));
    auto* form = new QFormLayout(this);
    RecentBox = new QComboBox(this);
    RecentBox->setObjectName(QStringLiteral("Recent"));
    RecentBox->setToolTip(QStringLiteral("The last connections: pick one to fill in its device and user"));
    Address = edit(this, QStringLiteral("Address"), QStringLiteral("192.0.2.10 or ap.example.net"));
    Port = new QSpinBox(this);
    Port->setObjectName(QStringLiteral("Port"));
    Port->setRange(1, 65535);
    Version = choices(this, {{"SNMPv1", 0}, {"SNMPv2c", 1}, {"SNMPv3", 3}}, QStringLiteral("Version"));
    // Communities are credentials: the built-in ones are offered, what was typed is not kept.
    ReadCommunity = edit(this, QStringLiteral("ReadCommunity"));
    WriteCommunity = edit(this, QStringLiteral("WriteCommunity"));
    User = edit(this, QStringLiteral("User"));
    AuthProtocol = choices(this, withNone(OvAuthProtocolNames()), QStringLiteral("AuthProtocol"));
    AuthPassphrase = edit(this, QStringLiteral("AuthPassphrase"));
    AuthPassphrase->setEchoMode(QLineEdit::Password);
    PrivProtocol = choices(this, withNone(OvPrivProtocolNames()), QStringLiteral("PrivProtocol"));
    PrivPassphrase = edit(this, QStringLiteral("PrivPassphrase"));
    PrivPassphrase->setEchoMode(QLineEdit::Password);
    ContextName = edit(this, QStringLiteral("ContextName"), QStringLiteral("empty for the default context"));
    ContextEngineId =
        edit(this, QStringLiteral("ContextEngineId"), QStringLiteral("hex; empty for the device's"));
    NotificationPort = new QSpinBox(this);
    NotificationPort->setObjectName(QStringLiteral("NotificationPort"));
    NotificationPort->setRange(1, 65535);
    NotificationPort->setToolTip(
        QStringLiteral("The UDP port this machine receives the device's traps and informs on: point the "
                       "device's trap destination at it. Ports below 1024 need root, so a user without "
                       "privileges starts with 10162."));
    TrapCommunity =
        edit(this, QStringLiteral("TrapCommunity"), QStringLiteral("empty for the read community"));
    TrapCommunity->setToolTip(
        QStringLiteral("The community the device's SNMPv1/v2c traps and informs carry"));

    {
        QSettings settings;
        Recent = TRecentDevices::Load(settings);
    }
    for (const TRecentDevice& d : Recent)
        RecentBox->addItem(d.Caption());
    RecentBox->setEnabled(!Recent.empty());
    RecentBox->setPlaceholderText(QStringLiteral("none yet"));
    // A new user's start: SNMPv2c, with SHA and AES offered for SNMPv3.
    choose(AuthProtocol, 3);
    choose(PrivProtocol, 4);
    Fill(Recent.empty() ? TRecentDevice() : Recent.front());

    form->addRow(QStringLiteral("Recent devices:"), RecentBox);
    form->addRow(QStringLiteral("Device address:"), Address);
    form->addRow(QStringLiteral("UDP port:"), Port);
    form->addRow(QStringLiteral("SNMP version:"), Version);
    form->addRow(QStringLiteral("Read community:"), ReadCommunity);
    form->addRow(QStringLiteral("Write community:"), WriteCommunity);
    form->addRow(QStringLiteral("SNMPv3 user:"), User);
    form->addRow(QStringLiteral("Authentication:"), AuthProtocol);
    form->addRow(QStringLiteral("Authentication pass phrase:"), AuthPassphrase);
    form->addRow(QStringLiteral("Privacy:"), PrivProtocol);
    form->addRow(QStringLiteral("Privacy pass phrase:"), PrivPassphrase);
    form->addRow(QStringLiteral("Context name:"), ContextName);
    form->addRow(QStringLiteral("Context engine ID:"), ContextEngineId);
    form->addRow(QStringLiteral("Notifications port:"), NotificationPort);
    form->addRow(QStringLiteral("Trap community:"), TrapCommunity);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Connect"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ConnectButton"));
    TestButton = buttons->addButton(QStringLiteral("&Test"), QDialogButtonBox::ActionRole);
    TestButton->setObjectName(QStringLiteral("TestButton"));
    TestButton->setToolTip(QStringLiteral("Read the device's sysObjectID and sysName with what is entered"));
    form->addRow(buttons);
    Result = new QLabel(this);
    Result->setObjectName(QStringLiteral("TestResult"));
    Result->setWordWrap(true);
    Result->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Result->hide();
    form->addRow(Result);

    connect(buttons, &QDialogButtonBox::accepted, this, &TConnectDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TConnectDialog::reject);
    connect(TestButton, &QPushButton::clicked, this, &TConnectDialog::Test);
    connect(RecentBox, &QComboBox::activated, this, [this](int i) {
        Fill(Recent[static_cast<size_t>(i)]);
        FocusFirstEmpty();
    });
    for (QComboBox* box : {Version, AuthProtocol, PrivProtocol})
        connect(box, &QComboBox::currentIndexChanged, this, &TConnectDialog::EnableFields);
    EnableFields();
    FocusFirstEmpty();
}

void TConnectDialog::FocusFirstEmpty() {
    for (QLineEdit* field : {Address, ReadCommunity, WriteCommunity, User, AuthPassphrase, PrivPassphrase})
        if (field->isEnabled() && field->text().isEmpty()) {
            field->setFocus();
            return;
        }
    Address->setFocus();
}

TConnectDialog::~TConnectDialog() = default;

void TConnectDialog::FillCommunities(bool builtIn) {
    const OvSNMPSecurity& defaults = TSNMPSession::Defaults().Security;
    ReadCommunity->setText(builtIn ? defaults.ReadCommunity : QString());
    WriteCommunity->setText(builtIn ? defaults.WriteCommunity : QString());
    const QString asked = QStringLiteral("not kept: enter it again");
    ReadCommunity->setPlaceholderText(builtIn ? QString() : asked);
    WriteCommunity->setPlaceholderText(builtIn ? QString() : asked);
}

void TConnectDialog::Fill(const TRecentDevice& d) {
    Address->setText(d.Address);
    Port->setValue(d.Port);
    choose(Version, d.Version);
    NotificationPort->setValue(d.NotificationPort);
    FillCommunities(d.BuiltInCommunities);
    TrapCommunityAsked = d.OwnTrapCommunity;
    TrapCommunity->clear();
    ShowTrapCommunityHint();
    if (d.Version != 3)
        return; // the SNMPv3 fields keep what they hold
    User->setText(d.User);
    choose(AuthProtocol, d.AuthProtocol);
    choose(PrivProtocol, d.PrivProtocol);
    ContextName->setText(d.ContextName);
    ContextEngineId->setText(d.ContextEngineId);
}

TRecentDevice TConnectDialog::Entered() const {
    TRecentDevice d;
    d.Address = Address->text().trimmed();
    d.Port = Port->value();
    d.Version = Version->currentData().toInt();
    d.NotificationPort = NotificationPort->value();
    const OvSNMPSecurity& defaults = TSNMPSession::Defaults().Security;
    d.BuiltInCommunities =
        ReadCommunity->text() == defaults.ReadCommunity && WriteCommunity->text() == defaults.WriteCommunity;
    d.OwnTrapCommunity = !TrapCommunity->text().isEmpty() &&
                         (d.Version == 3 || TrapCommunity->text() != ReadCommunity->text());
    if (d.Version != 3)
        return d;
    d.User = User->text();
    d.AuthProtocol = AuthProtocol->currentData().toInt();
    d.PrivProtocol = d.AuthProtocol == NoProtocol ? NoProtocol : PrivProtocol->currentData().toInt();
    d.ContextName = ContextName->text();
    d.ContextEngineId = ContextEngineId->text().trimmed();
    return d;
}

void TConnectDialog::EnableFields() {
    const bool v3 = Version->currentData().toInt() == 3;
    const bool auth = v3 && AuthProtocol->currentData().toInt() != NoProtocol;
    const bool priv = auth && PrivProtocol->currentData().toInt() != NoProtocol;
    ReadCommunity->setEnabled(!v3);
    WriteCommunity->setEnabled(!v3);
    for (QWidget* w : {static_cast<QWidget*>(User), static_cast<QWidget*>(AuthProtocol),
                       static_cast<QWidget*>(ContextName), static_cast<QWidget*>(ContextEngineId)})
        w->setEnabled(v3);
    AuthPassphrase->setEnabled(auth);
    PrivProtocol->setEnabled(auth);
    PrivPassphrase->setEnabled(priv);
    ShowTrapCommunityHint();
}

void TConnectDialog::ShowTrapCommunityHint() {
    const bool v3 = Version->currentData().toInt() == 3;
    TrapCommunity->setPlaceholderText(TrapCommunityAsked ? QStringLiteral("not kept: enter it again")
                                      : v3 ? QStringLiteral("empty: SNMPv1/v2c ones are refused")
                                           : QStringLiteral("empty for the read community"));
}

QStringList TConnectDialog::LaunchOptions() const {
    const TRecentDevice d = Entered();
    QStringList options{QStringLiteral("/I") + d.Address, QStringLiteral("/t") + QString::number(d.Port),
                        QStringLiteral("/v") + QString::number(d.Version)};
    QStringList notifications{QStringLiteral("/N") + QString::number(d.NotificationPort)};
    if (!TrapCommunity->text().isEmpty())
        notifications << QStringLiteral("/C") + TrapCommunity->text();
    if (d.Version != 3) {
        options << QStringLiteral("/R") + ReadCommunity->text()
                << QStringLiteral("/W") + WriteCommunity->text() << notifications;
        return options;
    }
    const int level = d.AuthProtocol == NoProtocol ? 1 : d.PrivProtocol == NoProtocol ? 2 : 3;
    options << QStringLiteral("/m3") << QStringLiteral("/l") + QString::number(level)
            << QStringLiteral("/n") + d.User << QStringLiteral("/a") + QString::number(d.AuthProtocol)
            << QStringLiteral("/p") + QString::number(d.PrivProtocol);
    if (d.AuthProtocol != NoProtocol)
        options << QStringLiteral("/A") + AuthPassphrase->text();
    if (d.PrivProtocol != NoProtocol)
        options << QStringLiteral("/P") + PrivPassphrase->text();
    if (!d.ContextName.isEmpty())
        options << QStringLiteral("/c") + d.ContextName;
    if (!d.ContextEngineId.isEmpty())
        options << QStringLiteral("/d") + d.ContextEngineId;
    return options << notifications;
}

void TConnectDialog::HideNotificationFields() {
    auto* form = static_cast<QFormLayout*>(layout());
    form->setRowVisible(NotificationPort, false);
    form->setRowVisible(TrapCommunity, false);
}

void TConnectDialog::Preset(const QStringList& given) {
    OvSNMPTarget target = TSNMPSession::Defaults();
    TLaunchTexts texts;
    try {
        // Every field as it is, then what was given over it: given options win.
        const QStringList held{
            QStringLiteral("/R") + ReadCommunity->text(),
            QStringLiteral("/W") + WriteCommunity->text(),
            QStringLiteral("/n") + User->text(),
            QStringLiteral("/a") + AuthProtocol->currentData().toString(),
            QStringLiteral("/p") + PrivProtocol->currentData().toString(),
            QStringLiteral("/l3"),
            QStringLiteral("/c") + ContextName->text(),
            QStringLiteral("/d") + ContextEngineId->text(),
        };
        OvParseLaunchOptions(LaunchOptions() + held + given, target, texts);
    } catch (const OvException& e) {
        ShowResult(e.message());
        return;
    }
    const OvSNMPSecurity& s = target.Security;
    Address->setText(target.Device.Address);
    Port->setValue(target.Device.Port);
    choose(Version, s.Version);
    ReadCommunity->setText(s.ReadCommunity);
    WriteCommunity->setText(s.WriteCommunity);
    User->setText(s.SecurityName);
    // The level leaves out what the protocols would add: /l1 is without either.
    choose(AuthProtocol, s.SecurityLevel < 2 ? NoProtocol : s.AuthProtocol);
    choose(PrivProtocol, s.SecurityLevel < 3 ? NoProtocol : s.PrivProtocol);
    AuthPassphrase->setText(s.AuthPassword);
    PrivPassphrase->setText(s.PrivPassword);
    ContextName->setText(target.Scope.ContextName);
    ContextEngineId->setText(target.Scope.ContextEngineID);
    NotificationPort->setValue(texts.NotificationPort);
    if (!texts.TrapCommunity.isNull())
        TrapCommunity->setText(texts.TrapCommunity);
    FocusFirstEmpty();
}

bool TConnectDialog::Complete() {
    const TRecentDevice d = Entered();
    const struct {
        bool missing;
        QLineEdit* field;
        const char* text;
    } checks[] = {
        {d.Address.isEmpty(), Address, "Enter the device's address."},
        {d.Version != 3 && ReadCommunity->text().isEmpty(), ReadCommunity, "Enter the read community."},
        {d.Version != 3 && WriteCommunity->text().isEmpty(), WriteCommunity, "Enter the write community."},
        {TrapCommunityAsked && TrapCommunity->text().isEmpty(), TrapCommunity,
         "Enter the trap community: the device's notifications carry a community of their own."},
        {d.Version == 3 && d.User.isEmpty(), User, "Enter the SNMPv3 user."},
        {d.Version == 3 && d.AuthProtocol != NoProtocol && AuthPassphrase->text().size() < ShortestPassphrase,
         AuthPassphrase, "Enter the authentication pass phrase: SNMPv3 takes 8 characters or more."},
        {d.Version == 3 && d.PrivProtocol != NoProtocol && PrivPassphrase->text().size() < ShortestPassphrase,
         PrivPassphrase, "Enter the privacy pass phrase: SNMPv3 takes 8 characters or more."},
    };
    for (const auto& c : checks) {
        if (!c.missing)
            continue;
        OvFeedback::MessageBox(this, windowTitle(), QLatin1String(c.text));
        c.field->setFocus();
        return false;
    }
    return true;
}

void TConnectDialog::accept() {
    if (!Complete())
        return;
    delete Read; // a test still on its way is not waited for
    Read = nullptr;
    TestButton->setEnabled(true);
    Result->clear(); // a start-up error brings the dialog back: no stale answer in it
    Result->hide();
    QSettings settings;
    TRecentDevices::Remember(settings, Entered());
    QDialog::accept();
}

void TConnectDialog::Test() {
    if (Read || !Complete())
        return;
    OvSNMPTarget target = TSNMPSession::Defaults();
    try {
        // A fresh session, as the main window starts with: nothing learnt from an earlier
        // try (a discovery made without the context) stays in the way.
        TSNMPSession::Create(QString());
        TLaunchTexts texts;
        OvParseLaunchOptions(LaunchOptions(), target, texts); // what the main window will use
    } catch (const OvException& e) {
        TestFinished(e.code(), e.message());
        return;
    }
    ShowResult(QStringLiteral("Asking %1:%2 ...").arg(target.Device.Address).arg(target.Device.Port));
    TestButton->setEnabled(false);
    Read = new OvScalarRead(target,
                            {{QStringLiteral("1.3.6.1.2.1.1.2.0"), OvSyntax::objectid},
                             {QStringLiteral("1.3.6.1.2.1.1.5.0"), OvSyntax::displaystr}},
                            this);
    connect(Read, &OvAgentRead::Finished, this, &TConnectDialog::TestFinished);
    Read->Start();
}

void TConnectDialog::TestFinished(int code, const QString& message) {
    QString text;
    if (code == 0 && Read) {
        const OvReadCells& cells = Read->Values();
        const QString sysName = cells[1] ? QStringLiteral("sysName \"%1\"").arg(*cells[1])
                                         : QStringLiteral("sysName: not on the device");
        text = QStringLiteral("The device answered: sysObjectID %1, %2.")
                   .arg(cells[0].value_or(QStringLiteral("(none)")), sysName);
    } else {
        const QString hint = OvConnectHintFor(message);
        text = hint.isEmpty() ? message : message + QStringLiteral("\nCheck: ") + hint;
    }
    ShowResult(text);
    if (Read)
        Read->deleteLater();
    Read = nullptr;
    TestButton->setEnabled(true);
}

void TConnectDialog::ShowResult(const QString& text) {
    Result->setText(text);
    Result->show();
    // A wrapped text is as tall as the dialog's width makes it: the dialog grows with it.
    Result->setMinimumHeight(Result->heightForWidth(layout()->contentsRect().width()));
    adjustSize();
}

QString TConnectDialog::TestResult() const {
    return Result->text();
}

bool TConnectDialog::Testing() const {
    return Read != nullptr;
}
