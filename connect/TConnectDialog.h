#pragma once

#include <QDialog>
#include <QStringList>
#include <vector>

#include "connect/TRecentDevices.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class OvScalarRead;

// What the module asks when it is started from the desktop menu rather than by a host
// program: the device and its credentials, turned into the launch options a host would
// give. "Test" reads the device's sysObjectID and sysName with them before anything else
// opens. The last connections are remembered to pick from (TRecentDevices); communities
// and pass phrases never.
class TConnectDialog : public QDialog {
    Q_OBJECT
public:
    explicit TConnectDialog(QWidget* parent = nullptr);
    ~TConnectDialog() override;

    // The launch options of what was entered.
    QStringList LaunchOptions() const;
    // Starts from launch options ("velmarn --connect /N10162"): each given one fills its
    // field. One that cannot be read is shown as the result, the rest is taken.
    void Preset(const QStringList& options);
    // For a program that receives no notifications (the viewer): their fields are hidden.
    void HideNotificationFields();
    // The answer of the last test, or its message and what to check.
    QString TestResult() const;
    bool Testing() const;

    void accept() override;
    void Test();

private:
    void Fill(const TRecentDevice& device);
    void FillCommunities(bool builtIn);
    TRecentDevice Entered() const;
    // Each field enabled by the whole state: version, authentication and privacy.
    void EnableFields();
    // What an empty trap community means, or that it is to be entered again.
    void ShowTrapCommunityHint();
    // Where typing goes first: the first field still to fill, for a remembered SNMPv3
    // device its pass phrase.
    void FocusFirstEmpty();
    // What is still missing before anything can be sent, with the field to enter it in.
    bool Complete();
    void TestFinished(int code, const QString& message);
    void ShowResult(const QString& text);

    std::vector<TRecentDevice> Recent;
    QComboBox* RecentBox;
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
    QLineEdit* ContextName;
    QLineEdit* ContextEngineId;
    QSpinBox* NotificationPort;
    QLineEdit* TrapCommunity;
    // The remembered connection had a trap community of its own: it is asked for again.
    bool TrapCommunityAsked = false;
    QPushButton* TestButton;
    QLabel* Result;
    OvScalarRead* Read = nullptr; // the test on its way, a child of the dialog
};
