#include "app/TConnectDialog.h"

#include "binding/OvFeedback.h"
#include "snmp/OvSNMPSession.h"

#include <QComboBox>
#include <QPushButton>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QSettings>
#include <QSpinBox>

namespace {

// Item data: the launch option's number.
QComboBox* choices(QWidget* parent, const std::vector<OvProtocolName>& list, const QString& name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    for (const OvProtocolName& c : list)
        box->addItem(QLatin1String(c.Name), c.Number);
    return box;
}

std::vector<OvProtocolName> withNone(std::vector<OvProtocolName> list) {
    list.insert(list.begin(), {"none", 1});
    return list;
}

QLineEdit* edit(QWidget* parent, const QString& name, const QString& text = QString()) {
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(name);
    return e;
}

} // namespace

TConnectDialog::TConnectDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Velmarn+ : Connect"));
    const QSettings last;
    auto* form = new QFormLayout(this);
    Address = edit(this, QStringLiteral("Address"), last.value(QStringLiteral("connect/address")).toString());
    Address->setPlaceholderText(QStringLiteral("192.0.2.10 or ap.example.net"));
    Port = new QSpinBox(this);
    Port->setObjectName(QStringLiteral("Port"));
    Port->setRange(1, 65535);
    Port->setValue(last.value(QStringLiteral("connect/port"), 161).toInt());
    Version = choices(this, {{"SNMPv1", 0}, {"SNMPv2c", 1}, {"SNMPv3", 3}}, QStringLiteral("Version"));
    Version->setCurrentIndex(Version->findData(last.value(QStringLiteral("connect/version"), 1)));
    // Communities are credentials: the device's defaults are offered, what was typed is not kept.
    ReadCommunity =
        edit(this, QStringLiteral("ReadCommunity"), TSNMPSession::Defaults().Security.ReadCommunity);
    WriteCommunity =
        edit(this, QStringLiteral("WriteCommunity"), TSNMPSession::Defaults().Security.WriteCommunity);
    User = edit(this, QStringLiteral("User"), last.value(QStringLiteral("connect/user")).toString());
    AuthProtocol = choices(this, withNone(OvAuthProtocolNames()), QStringLiteral("AuthProtocol"));
    AuthProtocol->setCurrentIndex(AuthProtocol->findData(last.value(QStringLiteral("connect/auth"), 3)));
    AuthPassphrase = edit(this, QStringLiteral("AuthPassphrase"));
    AuthPassphrase->setEchoMode(QLineEdit::Password);
    PrivProtocol = choices(this, withNone(OvPrivProtocolNames()), QStringLiteral("PrivProtocol"));
    PrivProtocol->setCurrentIndex(PrivProtocol->findData(last.value(QStringLiteral("connect/priv"), 4)));
    PrivPassphrase = edit(this, QStringLiteral("PrivPassphrase"));
    PrivPassphrase->setEchoMode(QLineEdit::Password);
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
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Connect"));
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TConnectDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TConnectDialog::reject);
    connect(Version, &QComboBox::currentIndexChanged, this, &TConnectDialog::VersionChanged);
    connect(AuthProtocol, &QComboBox::currentIndexChanged, this, &TConnectDialog::VersionChanged);
    VersionChanged();
}

void TConnectDialog::VersionChanged() {
    const bool v3 = Version->currentData().toInt() == 3;
    const bool auth = v3 && AuthProtocol->currentData().toInt() != 1;
    ReadCommunity->setEnabled(!v3);
    WriteCommunity->setEnabled(!v3);
    User->setEnabled(v3);
    AuthProtocol->setEnabled(v3);
    AuthPassphrase->setEnabled(auth);
    PrivProtocol->setEnabled(auth);
    PrivPassphrase->setEnabled(auth && PrivProtocol->currentData().toInt() != 1);
}

QStringList TConnectDialog::LaunchOptions() const {
    const int version = Version->currentData().toInt();
    QStringList options{QStringLiteral("/I") + Address->text().trimmed(),
                        QStringLiteral("/t") + QString::number(Port->value()),
                        QStringLiteral("/v") + QString::number(version)};
    if (version != 3) {
        options << QStringLiteral("/R") + ReadCommunity->text()
                << QStringLiteral("/W") + WriteCommunity->text();
        return options;
    }
    const int auth = AuthProtocol->currentData().toInt();
    const int priv = auth == 1 ? 1 : PrivProtocol->currentData().toInt();
    const int level = auth == 1 ? 1 : priv == 1 ? 2 : 3;
    options << QStringLiteral("/m3") << QStringLiteral("/l") + QString::number(level)
            << QStringLiteral("/n") + User->text() << QStringLiteral("/a") + QString::number(auth)
            << QStringLiteral("/p") + QString::number(priv);
    if (auth != 1)
        options << QStringLiteral("/A") + AuthPassphrase->text();
    if (priv != 1)
        options << QStringLiteral("/P") + PrivPassphrase->text();
    return options;
}

void TConnectDialog::accept() {
    if (Address->text().trimmed().isEmpty()) {
        OvFeedback::MessageBox(this, windowTitle(), QStringLiteral("Enter the device's address."));
        Address->setFocus();
        return;
    }
    Remember();
    QDialog::accept();
}

void TConnectDialog::Remember() const {
    QSettings last;
    last.setValue(QStringLiteral("connect/address"), Address->text().trimmed());
    last.setValue(QStringLiteral("connect/port"), Port->value());
    last.setValue(QStringLiteral("connect/version"), Version->currentData());
    last.setValue(QStringLiteral("connect/user"), User->text());
    last.setValue(QStringLiteral("connect/auth"), AuthProtocol->currentData());
    last.setValue(QStringLiteral("connect/priv"), PrivProtocol->currentData());
}
