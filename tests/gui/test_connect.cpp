// The connect dialog of the menu start: the launch options it makes, which fields it
// offers, what it remembers, its test against the simulated access point, and the start
// it leads to.
#include "SimulatorSuite.h"
#include "TestAgent.h"
#include "TestSupport.h"
#include "app/OvStartup.h"
#include "connect/OvConnectHints.h"
#include "connect/TConnectDialog.h"
#include "app/TMainForm.h"
#include "connect/TRecentDevices.h"
#include "binding/OvFeedback.h"
#include "snmp/OvBootCounter.h"
#include "snmp/TSNMPSession.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// Each test starts without remembered connections.
class ConnectDialog : public SimulatorSuite {
protected:
    void SetUp() override {
        SimulatorSuite::SetUp();
        QSettings().clear();
        OvFeedback::TakeShown();
    }
};

template <class W> W* field(const TConnectDialog& ask, const char* name) {
    W* w = ask.findChild<W*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}
QLineEdit* line(const TConnectDialog& ask, const char* name) {
    return field<QLineEdit>(ask, name);
}
void choose(const TConnectDialog& ask, const char* box, int number) {
    auto* b = field<QComboBox>(ask, box);
    b->setCurrentIndex(b->findData(number));
}

// Fills the dialog for the simulated access point over SNMPv3, in its context.
void enterV3(TConnectDialog& ask, quint16 port, const QString& context = QStringLiteral("qubsen")) {
    line(ask, "Address")->setText("127.0.0.1");
    field<QSpinBox>(ask, "Port")->setValue(port);
    choose(ask, "Version", 3);
    line(ask, "User")->setText(TestAgent::V3User);
    choose(ask, "AuthProtocol", 3);
    line(ask, "AuthPassphrase")->setText(TestAgent::V3AuthPass);
    choose(ask, "PrivProtocol", 4);
    line(ask, "PrivPassphrase")->setText(TestAgent::V3PrivPass);
    line(ask, "ContextName")->setText(context);
}

QString testOnce(TConnectDialog& ask) {
    field<QPushButton>(ask, "TestButton")->click();
    EXPECT_TRUE(WaitFor([&ask] { return !ask.Testing(); }, 15000));
    return ask.TestResult();
}

// Runs the next step each time the dialog is shown (its exec() is running then).
class DialogSteps : public QObject {
public:
    DialogSteps(TConnectDialog& ask, std::vector<std::function<void()>> steps)
        : Ask(ask), Steps(std::move(steps)) {
        Ask.installEventFilter(this);
    }
    size_t Done = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &Ask && event->type() == QEvent::Show && Done < Steps.size())
            QMetaObject::invokeMethod(this, Steps[Done++], Qt::QueuedConnection);
        return false;
    }

private:
    TConnectDialog& Ask;
    std::vector<std::function<void()>> Steps;
};

} // namespace

TEST_F(ConnectDialog, GivesTheLaunchOptionsAHostWould) {
    TConnectDialog ask;
    ask.findChild<QLineEdit*>("Address")->setText(" 127.0.0.1 ");
    ask.findChild<QSpinBox*>("Port")->setValue(1161);
    ask.findChild<QSpinBox*>("NotificationPort")->setValue(10162);
    auto* version = ask.findChild<QComboBox*>("Version");
    version->setCurrentIndex(version->findData(1));
    ask.findChild<QLineEdit*>("ReadCommunity")->setText("pub lic");
    EXPECT_EQ(ask.LaunchOptions(),
              (QStringList{"/I127.0.0.1", "/t1161", "/v1", "/Rpub lic", "/Wvortani", "/N10162"}));
    // SNMPv3: the level follows from the protocols chosen.
    version->setCurrentIndex(version->findData(3));
    ask.findChild<QLineEdit*>("User")->setText("admin");
    auto* auth = ask.findChild<QComboBox*>("AuthProtocol");
    auto* priv = ask.findChild<QComboBox*>("PrivProtocol");
    ask.findChild<QLineEdit*>("AuthPassphrase")->setText("auth-secret");
    ask.findChild<QLineEdit*>("PrivPassphrase")->setText("priv-secret");
    auth->setCurrentIndex(auth->findData(3));
    priv->setCurrentIndex(priv->findData(4));
    EXPECT_EQ(ask.LaunchOptions().mid(3), (QStringList{"/m3", "/l3", "/nadmin", "/a3", "/p4", "/Aauth-secret",
                                                       "/Ppriv-secret", "/N10162"}));
    priv->setCurrentIndex(priv->findData(1));
    EXPECT_EQ(ask.LaunchOptions().mid(3),
              (QStringList{"/m3", "/l2", "/nadmin", "/a3", "/p1", "/Aauth-secret", "/N10162"}));
    auth->setCurrentIndex(auth->findData(1));
    line(ask, "TrapCommunity")->setText("traps");
    EXPECT_EQ(ask.LaunchOptions().mid(3),
              (QStringList{"/m3", "/l1", "/nadmin", "/a1", "/p1", "/N10162", "/Ctraps"}));
}

TEST_F(ConnectDialog, ContextNameAndEngineIdBecomeTheirOptions) {
    TConnectDialog ask;
    enterV3(ask, 1161);
    line(ask, "ContextEngineId")->setText(" 80001F8880 ");
    field<QSpinBox>(ask, "NotificationPort")->setValue(162);
    EXPECT_EQ(ask.LaunchOptions(),
              (QStringList{"/I127.0.0.1", "/t1161", "/v3", "/m3", "/l3", "/nvelmarn", "/a3", "/p4",
                           "/Avelmarn-auth", "/Pvelmarn-priv", "/cqubsen", "/d80001F8880", "/N162"}));
    choose(ask, "Version", 1); // not for SNMPv1/v2c
    EXPECT_FALSE(ask.LaunchOptions().join(' ').contains("/c"));
}

// Every field follows the whole state; each row starts from the one before.
TEST_F(ConnectDialog, FieldsAreEnabledByVersionAuthenticationAndPrivacy) {
    TConnectDialog ask; // a new user's: SNMPv2c, with SHA and AES offered for SNMPv3
    EXPECT_EQ(field<QComboBox>(ask, "Version")->currentData(), 1);
    EXPECT_EQ(field<QComboBox>(ask, "AuthProtocol")->currentData(), 3);
    EXPECT_EQ(field<QComboBox>(ask, "PrivProtocol")->currentData(), 4);
    const char* fields[] = {"ReadCommunity",  "WriteCommunity", "User",
                            "AuthProtocol",   "AuthPassphrase", "PrivProtocol",
                            "PrivPassphrase", "ContextName",    "ContextEngineId"};
    const struct {
        const char* name;
        int version, auth, priv;
        std::vector<bool> enabled; // in the order of fields
    } rows[] = {
        {"v2c", 1, 3, 1, {true, true, false, false, false, false, false, false, false}},
        {"v3PrivacyNone", 3, 3, 1, {false, false, true, true, true, true, false, true, true}},
        {"privacyOnAgain", 3, 3, 4, {false, false, true, true, true, true, true, true, true}},
        {"noAuthentication", 3, 1, 4, {false, false, true, true, false, false, false, true, true}},
        {"authenticationBack", 3, 2, 4, {false, false, true, true, true, true, true, true, true}},
        {"v1", 0, 2, 4, {true, true, false, false, false, false, false, false, false}},
    };
    for (const auto& r : rows) {
        choose(ask, "Version", r.version);
        choose(ask, "AuthProtocol", r.auth);
        choose(ask, "PrivProtocol", r.priv);
        for (size_t i = 0; i < std::size(fields); ++i)
            EXPECT_EQ(ask.findChild<QWidget*>(fields[i])->isEnabled(), r.enabled[i])
                << r.name << " " << fields[i];
    }
}

TEST_F(ConnectDialog, WhatIsMissingIsAskedForBeforeAnythingIsSent) {
    const struct {
        const char* name;
        std::function<void(TConnectDialog&)> change;
        QString message;
        const char* focus;
    } cases[] = {
        {"address", [](TConnectDialog& a) { line(a, "Address")->setText("  "); },
         "Enter the device's address.", "Address"},
        {"user", [](TConnectDialog& a) { line(a, "User")->clear(); }, "Enter the SNMPv3 user.", "User"},
        {"shortAuthentication", [](TConnectDialog& a) { line(a, "AuthPassphrase")->setText("1234567"); },
         "Enter the authentication pass phrase: SNMPv3 takes 8 characters or more.", "AuthPassphrase"},
        {"emptyPrivacy", [](TConnectDialog& a) { line(a, "PrivPassphrase")->clear(); },
         "Enter the privacy pass phrase: SNMPv3 takes 8 characters or more.", "PrivPassphrase"},
        {"emptyWriteCommunity",
         [](TConnectDialog& a) {
             choose(a, "Version", 1);
             line(a, "WriteCommunity")->clear();
         },
         "Enter the write community.", "WriteCommunity"},
    };
    for (const auto& c : cases) {
        for (bool test : {false, true}) {
            TConnectDialog ask;
            enterV3(ask, Sim()->Port());
            c.change(ask);
            ask.show();
            if (test)
                field<QPushButton>(ask, "TestButton")->click();
            else
                ask.accept();
            const auto shown = OvFeedback::TakeShown();
            ASSERT_EQ(shown.size(), 1) << c.name;
            EXPECT_EQ(shown[0].Text, c.message) << c.name;
            EXPECT_EQ(ask.focusWidget(), ask.findChild<QWidget*>(c.focus)) << c.name;
            EXPECT_FALSE(ask.Testing()) << c.name;
            EXPECT_NE(ask.result(), QDialog::Accepted) << c.name;
        }
    }
    EXPECT_TRUE(TRecentDevices::Load(*std::make_unique<QSettings>()).empty());
}

TEST_F(ConnectDialog, RemembersTheLastTenConnectionsWithoutSecrets) {
    QSettings settings;
    for (int i = 1; i <= 12; ++i) {
        TRecentDevice d;
        d.Address = QStringLiteral("127.0.0.%1").arg(i);
        TRecentDevices::Remember(settings, d);
    }
    TRecentDevice v3;
    v3.Address = "127.0.0.5";
    v3.Port = 1161;
    v3.Version = 3;
    v3.User = "velmarn";
    v3.AuthProtocol = 3;
    v3.PrivProtocol = 4;
    v3.ContextName = "qubsen";
    TRecentDevices::Remember(settings, v3);
    auto recent = TRecentDevices::Load(settings);
    ASSERT_EQ(recent.size(), 10u);
    EXPECT_EQ(recent[0], v3);
    EXPECT_EQ(recent[0].Caption(), "127.0.0.5:1161 SNMPv3 velmarn SHA/AES context qubsen");
    EXPECT_EQ(recent[1].Address, "127.0.0.12");
    EXPECT_EQ(recent[9].Address, "127.0.0.4");     // 1 to 3 went
    TRecentDevices::Remember(settings, recent[4]); // made again: to the front, once
    recent = TRecentDevices::Load(settings);
    ASSERT_EQ(recent.size(), 10u);
    EXPECT_EQ(recent[0].Address, "127.0.0.9");
    EXPECT_EQ(recent[1], v3);

    // A connection made in the dialog: remembered with everything but its secrets.
    {
        TConnectDialog ask;
        enterV3(ask, Sim()->Port(), "other-context");
        line(ask, "ReadCommunity")->setText("read-secret");
        ask.accept();
        ASSERT_EQ(ask.result(), QDialog::Accepted);
    }
    settings.sync();
    QFile file(settings.fileName());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray stored = file.readAll();
    for (const char* secret : {"read-secret", "vortani", TestAgent::V3AuthPass, TestAgent::V3PrivPass})
        EXPECT_FALSE(stored.contains(secret)) << secret;

    // The next dialog starts with it and offers the others.
    TConnectDialog next;
    auto* box = field<QComboBox>(next, "Recent");
    ASSERT_EQ(box->count(), 10);
    EXPECT_EQ(box->itemText(0),
              QStringLiteral("127.0.0.1:%1 SNMPv3 velmarn SHA/AES context other-context").arg(Sim()->Port()));
    EXPECT_EQ(line(next, "ContextName")->text(), "other-context");
    EXPECT_EQ(next.focusWidget(), line(next, "AuthPassphrase")); // what is still to type
    EXPECT_TRUE(line(next, "PrivPassphrase")->text().isEmpty());
    EXPECT_TRUE(line(next, "PrivPassphrase")->isEnabled());
    const int v3At = box->findText("127.0.0.5:1161 SNMPv3 velmarn SHA/AES context qubsen");
    ASSERT_GT(v3At, 0);
    box->setCurrentIndex(v3At);
    Q_EMIT box->activated(v3At);
    EXPECT_EQ(line(next, "Address")->text(), "127.0.0.5");
    EXPECT_EQ(field<QSpinBox>(next, "Port")->value(), 1161);
    EXPECT_EQ(line(next, "ContextName")->text(), "qubsen");
}

// Communities are kept as whether they were the built-in ones: others are asked for again,
// as pass phrases are, and so is a trap community of its own.
TEST_F(ConnectDialog, CommunitiesOtherThanTheBuiltInOnesAreAskedForAgain) {
    const struct {
        const char *name, *read, *write, *trap, *nextRead, *missing;
    } rows[] = {
        {"builtIn", "qubsen", "vortani", "", "qubsen", ""},
        {"trapIsTheRead", "qubsen", "vortani", "qubsen", "qubsen", ""},
        {"own", "public", "vortani", "", "", "Enter the read community."},
        {"ownTrap", "qubsen", "vortani", "traps", "qubsen",
         "Enter the trap community: the device's notifications carry a community of their own."},
    };
    for (const auto& r : rows) {
        QSettings().clear();
        TConnectDialog ask;
        line(ask, "Address")->setText("127.0.0.1");
        field<QSpinBox>(ask, "NotificationPort")->setValue(10170);
        line(ask, "ReadCommunity")->setText(r.read);
        line(ask, "WriteCommunity")->setText(r.write);
        line(ask, "TrapCommunity")->setText(r.trap);
        ask.accept();
        TConnectDialog next;
        EXPECT_EQ(line(next, "ReadCommunity")->text(), r.nextRead) << r.name;
        EXPECT_TRUE(line(next, "TrapCommunity")->text().isEmpty()) << r.name;
        EXPECT_EQ(field<QSpinBox>(next, "NotificationPort")->value(), 10170) << r.name;
        next.accept();
        const auto shown = OvFeedback::TakeShown();
        EXPECT_EQ(shown.empty() ? QString() : shown[0].Text, r.missing) << r.name;
    }
}

// "velmarn --connect /N10162 ...": the options given are where the dialog starts.
TEST_F(ConnectDialog, LaunchOptionsGivenWithItAreTheStartingValues) {
    TConnectDialog ask;
    EXPECT_EQ(field<QSpinBox>(ask, "NotificationPort")->value(), geteuid() == 0 ? 162 : 10162);
    ask.Preset({"/I127.0.0.3", "/t1161", "/v3", "/m3", "/l2", "/nadmin", "/a5", "/Aauth-secret", "/N10162",
                "/Ctraps"});
    EXPECT_EQ(ask.LaunchOptions(), (QStringList{"/I127.0.0.3", "/t1161", "/v3", "/m3", "/l2", "/nadmin",
                                                "/a5", "/p1", "/Aauth-secret", "/N10162", "/Ctraps"}));
    ask.Preset({"/Nabc"}); // said, and nothing else changes
    EXPECT_EQ(ask.TestResult(), "'abc' is not a valid integer value");
    EXPECT_EQ(field<QSpinBox>(ask, "NotificationPort")->value(), 10162);
}

TEST_F(ConnectDialog, TestOfADeviceWithoutSysNameSaysSo) {
    QString error;
    const auto agent = TestAgent::StartSimulator(&error, QStringLiteral(VELMARN_TEST_DATA "/tables.snmprec"));
    ASSERT_NE(agent, nullptr) << error;
    for (int version : {0, 1}) { // SNMPv1 refuses the whole request: asked again without it
        TConnectDialog ask;
        line(ask, "Address")->setText(agent->Address());
        field<QSpinBox>(ask, "Port")->setValue(agent->Port());
        choose(ask, "Version", version);
        EXPECT_EQ(testOnce(ask),
                  "The device answered: sysObjectID 1.3.6.1.4.1.32473.2.9, sysName: not on the device.")
            << version;
    }
}

TEST_F(ConnectDialog, TheLastConnectionOfEarlierVersionsIsKept) {
    QSettings settings;
    settings.setValue("connect/address", "127.0.0.9");
    settings.setValue("connect/port", 1161);
    settings.setValue("connect/version", 3);
    settings.setValue("connect/user", "admin");
    settings.setValue("connect/auth", 3);
    settings.setValue("connect/priv", 1);
    TConnectDialog ask;
    EXPECT_EQ(line(ask, "Address")->text(), "127.0.0.9");
    EXPECT_EQ(line(ask, "User")->text(), "admin");
    EXPECT_FALSE(line(ask, "PrivPassphrase")->isEnabled());
    choose(ask, "PrivProtocol", 4); // privacy switched on after a start without it
    EXPECT_TRUE(line(ask, "PrivPassphrase")->isEnabled());
}

// The test reads what net-snmp's tools read, or says what failed and what to check.
TEST_F(ConnectDialog, TestAnswersOrSaysWhatToCheck) {
    const QString sysName = ToolGet("1.3.6.1.2.1.1.5.0").section("STRING: ", 1).remove('"');
    ASSERT_FALSE(sysName.isEmpty());
    const QString answered =
        QStringLiteral("The device answered: sysObjectID 1.3.6.1.4.1.32473.2.1, sysName \"%1\".")
            .arg(sysName);
    const struct {
        const char* name;
        std::function<void(TConnectDialog&)> enter;
        QString result;
    } cases[] = {
        {"v2c",
         [](TConnectDialog& a) {
             enterV3(a, Sim()->Port());
             choose(a, "Version", 1);
         },
         answered},
        {"v3InItsContext", [](TConnectDialog& a) { enterV3(a, Sim()->Port()); }, answered},
    };
    for (const auto& c : cases) {
        TConnectDialog ask;
        c.enter(ask);
        EXPECT_EQ(testOnce(ask), c.result) << c.name;
        EXPECT_TRUE(field<QPushButton>(ask, "TestButton")->isEnabled()) << c.name;
    }
    // Without the context the device stays silent: the message, then the row that names
    // the context (the row of the longest message the answer starts with).
    TConnectDialog ask;
    enterV3(ask, Sim()->Port(), QString());
    const QString result = testOnce(ask);
    const QString message = result.section('\n', 0, 0);
    EXPECT_TRUE(message.startsWith("SNMP request timed out!")) << result;
    EXPECT_EQ(result, message + "\nCheck: " + OvConnectHintFor(message));
    EXPECT_TRUE(result.contains("context name")) << result;
}

TEST(Troubleshooting, EveryMessageOfAWrongSettingHasItsHint) {
    for (int code : {OvCode::Timeout, OvCode::UnknownSecurityName, OvCode::AuthenticationFailure,
                     OvCode::AuthenticationError, OvCode::EncryptionError, OvCode::UnsupportedSecurityLevel,
                     OvCode::NoSuchName, OvCode::InvalidAddress})
        EXPECT_FALSE(OvConnectHintFor(OvErrorMessage(code)).isEmpty()) << code;
    // A message followed by more finds its row; others find none.
    EXPECT_EQ(OvConnectHintFor("Encryption error! more words"), OvConnectHintFor("Encryption error!"));
    EXPECT_TRUE(OvConnectHintFor("Get: Encryption error!").isEmpty());
    EXPECT_FALSE(OvConnectHintFor("Encryption error!").contains('`'));
}

// From the menu: its files in the state folder, the working folder left alone; a start-up
// error brings the dialog back as it was.
TEST_F(ConnectDialog, MenuStartComesBackAfterAStartUpErrorAndKeepsItsFilesInTheStateFolder) {
    const QString before = QDir::currentPath();
    const QString counter = OvBootCounter::StateFolder() + "/OvSNMP_PP_BootCounter";
    QFile::remove(counter);
    ASSERT_TRUE(QFile::link(QDir(before).filePath("elsewhere"), counter));
    TConnectDialog ask;
    QString secondAddress, secondResult;
    DialogSteps steps(ask, {[&] {
                                enterV3(ask, Sim()->Port());
                                testOnce(ask);
                                ask.accept();
                            },
                            [&] {
                                secondAddress = line(ask, "Address")->text();
                                secondResult = ask.TestResult(); // the earlier test's, stale
                                QFile::remove(counter);          // the user clears the way and tries again
                                ask.accept();
                            }});
    auto form = OvStartFromMenu(ask);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(steps.Done, 2u);
    const auto shown = OvFeedback::TakeShown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].Text, "Error when saving SNMP engine boots counter! " + counter +
                                 " is a symbolic link; it is not followed or replaced.");
    EXPECT_EQ(secondAddress, "127.0.0.1");
    EXPECT_TRUE(secondResult.isEmpty()) << secondResult;
    EXPECT_EQ(QDir::currentPath(), before);
    EXPECT_TRUE(QFileInfo(counter).isFile());
    EXPECT_EQ(form->AddressText, "127.0.0.1");
    EXPECT_EQ(TSNMPSession::DefaultTarget().Scope.ContextName, "qubsen");
    form.reset();

    TConnectDialog cancelled;
    DialogSteps cancel(cancelled, {[&] {
                           cancelled.reject();
                       }});
    EXPECT_EQ(OvStartFromMenu(cancelled), nullptr);
    QDir::setCurrent(before);
}
