#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLineEdit;
class QSpinBox;

// What the module asks when it is started from the desktop menu rather than by a host
// program: the device and its credentials, turned into the launch options a host would
// give. The address, port, version, user and protocols are remembered for next time;
// communities and pass phrases never.
class TConnectDialog : public QDialog {
    Q_OBJECT
public:
    explicit TConnectDialog(QWidget* parent = nullptr);

    // The launch options of what was entered.
    QStringList LaunchOptions() const;

    void accept() override;

private:
    void VersionChanged();
    void Remember() const;

    QLineEdit* Address;
    QSpinBox* Port;
    QComboBox* Version;
    QLineEdit* ReadCommunity;
    QLineEdit* WriteCommunity;
    QLineEdit* User;
    QComboBox* AuthProtocol;
    QLineEdit* AuthPassphrase;
    QComboBox* PrivProtocol;
    QLineEdit* PrivPassphrase;
};
