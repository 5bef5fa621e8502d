// The main window and the counters monitor against the simulated access point.
#include "SimulatorSuite.h"
#include "TestAgent.h"
#include "TestSupport.h"
#include "app/TMainForm.h"
#include "app/TSNMP_Counters.h"

#include "binding/OvFeedback.h"
#include "binding/OvFileFolders.h"
#include "binding/TStaticText.h"
#include "binding/TStatusPanel.h"
#include "charts/TCounterChart.h"
#include "device/TConfigForms.h"
#include "errors/OvErrors.h"
#include "launch/OvLaunchOptions.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QElapsedTimer>
#include <QTimer>
#include <QAbstractAxis>
#include <QChart>
#include <QFileDialog>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTreeWidget>
#include <QTemporaryDir>
#include <QFile>
#include <QScreen>
#include <QSet>
#include "app/TBanner.h"
#include "charts/TCounterLegend.h"
#include "device/OvArtwork.h"
#include "snmp/OvBootCounter.h"
#include "snmp/TSNMPSession.h"
#include <gtest/gtest.h>

namespace {

class MainWindow : public SimulatorSuite {
protected:
    void SetUp() override {
        SimulatorSuite::SetUp();
        OvFeedback::TakeShown();
    }

    std::unique_ptr<TMainForm> start(quint16 port, const QStringList& more = {}) {
        QStringList args{QStringLiteral("/I127.0.0.1"), QStringLiteral("/t") + QString::number(port),
                         QStringLiteral("/v1")};
        args << more;
        return std::make_unique<TMainForm>(args);
    }
};

// Triggers the menu entry of that object name, as a click on it would.
void Trigger(TMainForm& form, const char* name) {
    auto* action = form.findChild<QAction*>(QLatin1String(name));
    ASSERT_NE(action, nullptr) << name;
    action->trigger();
}

QLabel* status(const TMainForm& form) {
    return form.findChild<QLabel*>(QStringLiteral("StatusPanel"));
}

QLabel* label1(const TMainForm& form) {
    return form.findChild<QLabel*>(QStringLiteral("Label1"));
}

QStringList captions(const QMenu* menu) {
    QStringList out;
    for (QAction* a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

// Clicks button, answers the file dialog it opens with fileName; where the dialog started.
QString SaveWithDialog(QPushButton* button, const QString& fileName) {
    QString started;
    QTimer::singleShot(0, [&] { // in the dialog's own event loop
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        started = dialog->directory().absolutePath();
        dialog->selectFile(fileName);
        static_cast<QDialog*>(dialog)->accept(); // as its Save button does
    });
    button->click();
    return started;
}

QMenu* submenu(QMenu* menu, const QString& text) {
    for (QAction* a : menu->actions())
        if (a->text() == text)
            return a->menu();
    return nullptr;
}

} // namespace

TEST_F(MainWindow, MenuTreeAndWindow) {
    auto form = start(Sim()->Port());
    const QList<QAction*> top = form->menuBar()->actions();
    ASSERT_EQ(top.size(), 3);
    EXPECT_EQ(top[0]->text(), QStringLiteral("MIB II"));
    EXPECT_EQ(top[1]->text(), QStringLiteral("Wireless LAN"));
    EXPECT_EQ(top[2]->text(), QStringLiteral("Help"));
    EXPECT_EQ(captions(top[0]->menu()),
              (QStringList{"Information", "-", "IF Table", "IF Counters", "-", "IP Counters", "IP Routing",
                           "IP Address Table", "-", "ICMP Counters", "UDP Counters", "SNMP Counters"}));
    QMenu* wlan = top[1]->menu();
    EXPECT_EQ(captions(wlan), (QStringList{"Station Management", "MAC Management", "Manufacture Information",
                                           "PHY Management", "-", "Save Changes", "Reboot", "Save && Reboot",
                                           "-", "Notifications"}));
    EXPECT_EQ(captions(submenu(wlan, QStringLiteral("Station Management"))),
              (QStringList{"Station Configuration", "AP Mode Configuration", "Privacy Configuration"}));
    EXPECT_EQ(captions(submenu(wlan, QStringLiteral("MAC Management"))),
              (QStringList{"Operation", "Counters Table"}));
    EXPECT_EQ(captions(submenu(wlan, QStringLiteral("PHY Management"))),
              (QStringList{"Operation", "Antenna", "Tx Power ", "DSS"}));
    EXPECT_EQ(captions(top[2]->menu()), QStringList{"About"});
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Velmarn + : 127.0.0.1"));
    EXPECT_FALSE(label1(*form)->isVisible());
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form->Timer1.interval(), 3000);
}

// F10 opens the first menu and a lone Alt highlights it; the arrow keys go on from there.
TEST_F(MainWindow, MenusAreReachedFromTheKeyboard) {
    auto form = start(Sim()->Port());
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    const auto opened = [] {
        const auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        return menu ? menu->title() : QString();
    };
    QTest::keyClick(form.get(), Qt::Key_F10);
    EXPECT_EQ(opened(), QStringLiteral("MIB II"));
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    QTest::keyClick(form->menuBar(), Qt::Key_Escape);
    QTest::keyClick(form.get(), Qt::Key_Alt, Qt::AltModifier); // highlights "MIB II"
    QTest::keyClick(form->menuBar(), Qt::Key_Right);
    QTest::keyClick(form->menuBar(), Qt::Key_Down);
    EXPECT_EQ(opened(), QStringLiteral("Wireless LAN"));
}

TEST_F(MainWindow, StatusLineAfterAPoll) {
    auto form = start(Sim()->Port());
    ASSERT_TRUE(WaitFor([&form] { return !status(*form)->text().isEmpty(); }));
    const QRegularExpression ok(QStringLiteral("^Get: Ok!\\. Receive at \\d\\d:\\d\\d:\\d\\d (AM|PM)\\.$"));
    EXPECT_TRUE(ok.match(status(*form)->text()).hasMatch()) << status(*form)->text();
    EXPECT_EQ(label1(*form)->text(), QStringLiteral("1.3.6.1.4.1.32473.2.1"));
}

TEST_F(MainWindow, DeadDeviceGivesAFailedLineEveryPoll) {
    auto form = start(TestAgent::FreeUdpPort());
    form->Timer1.setInterval(300); // the poll's own rhythm, faster for the test
    ASSERT_TRUE(
        WaitFor([&form] { return status(*form)->text().startsWith(QStringLiteral("Get: SNMP")); }, 5000));
    EXPECT_TRUE(
        status(*form)->text().startsWith(QStringLiteral("Get: SNMP request timed out!. Receive at ")));
    status(*form)->clear();
    ASSERT_TRUE(WaitFor([&form] { return !status(*form)->text().isEmpty(); }, 5000)); // the next poll
    // The menus stay usable meanwhile.
    Trigger(*form, "StationConfiguration1");
    EXPECT_NE(form->StationConfigForm, nullptr);
}

TEST_F(MainWindow, EveryEntryOpensANewWindowWithItsCaption) {
    auto form = start(Sim()->Port());
    struct Case {
        const char* action;
        const char* caption;
    };
    const Case cases[] = {{"StationConfiguration1", "Station Configuration : 127.0.0.1"},
                          {"APModeConfiguration1", "AP Mode Configuration : 127.0.0.1"},
                          {"PrivacyConfiguration1", "Privacy Configuration : 127.0.0.1"},
                          {"OperationConfiguration1", "MAC Operation : 127.0.0.1"},
                          {"ManufactureInformation1", "Manufacture Information1 : 127.0.0.1"},
                          {"Operation1", "PHY Operation : 127.0.0.1"},
                          {"Antenna1", "Antenna : 127.0.0.1"},
                          {"TxPower1", "Tx Power : 127.0.0.1"},
                          {"DSS1", "DSS : 127.0.0.1"},
                          {"CounterTable1", "Counters : 127.0.0.1"},
                          {"About1", "About"}};
    for (const Case& c : cases) {
        const auto before = form->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        Trigger(*form, c.action);
        Trigger(*form, c.action);
        QList<QWidget*> opened;
        for (QWidget* w : form->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            if (w->isWindow() && !before.contains(w))
                opened << w;
        ASSERT_EQ(opened.size(), 2) << c.caption;
        for (QWidget* w : opened) {
            EXPECT_EQ(w->windowTitle(), QString::fromLatin1(c.caption));
            EXPECT_TRUE(w->isVisible());
            w->close(); // closing hides
            EXPECT_FALSE(w->isVisible());
        }
    }
    EXPECT_EQ(form->WindowTitle, QStringLiteral("Counters Table")); // About sets no title
}

TEST_F(MainWindow, DeviceCommandsAskFirstAndWriteTheirObject) {
    auto form = start(Sim()->Port());
    const QString save = QStringLiteral("1.3.6.1.4.1.32473.1.1.1.0");
    const QString reboot = QStringLiteral("1.3.6.1.4.1.32473.1.1.2.0");
    const QString apply = QStringLiteral("1.3.6.1.4.1.32473.1.1.3.0");
    for (const QString& oid : {save, reboot, apply})
        ToolSet(oid, QStringLiteral("i"), QStringLiteral("0"));

    OvFeedback::SetNextAnswer(QMessageBox::Cancel);
    Trigger(*form, "SaveReboot1");
    auto shown = OvFeedback::TakeShown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].Text, QStringLiteral("Are you sure?"));
    EXPECT_EQ(shown[0].Caption, QStringLiteral("Save Changes"));
    EXPECT_TRUE(ToolGet(apply).endsWith(QStringLiteral("INTEGER: 0")));

    OvFeedback::SetNextAnswer(QMessageBox::Ok);
    Trigger(*form, "SaveReboot1");
    EXPECT_TRUE(ToolGet(apply).endsWith(QStringLiteral("INTEGER: 1")));
    EXPECT_TRUE(ToolGet(save).endsWith(QStringLiteral("INTEGER: 0")));
    EXPECT_TRUE(ToolGet(reboot).endsWith(QStringLiteral("INTEGER: 0")));

    OvFeedback::TakeShown();
    OvFeedback::SetNextAnswer(QMessageBox::Ok);
    Trigger(*form, "Reboot1");
    EXPECT_EQ(OvFeedback::TakeShown().first().Caption, QStringLiteral("Device Reboot"));
    EXPECT_TRUE(ToolGet(reboot).endsWith(QStringLiteral("INTEGER: 1")));
    OvFeedback::SetNextAnswer(QMessageBox::Ok);
    Trigger(*form, "Save1");
    EXPECT_TRUE(ToolGet(save).endsWith(QStringLiteral("INTEGER: 1")));
}

TEST_F(MainWindow, FailedDeviceCommandShowsTheError) {
    auto form = start(TestAgent::FreeUdpPort());
    OvFeedback::SetNextAnswer(QMessageBox::Ok);
    Trigger(*form, "Save1");
    const auto shown = OvFeedback::TakeShown();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[1].Text, QStringLiteral("SNMP request timed out! The command may have been carried out."));
}

TEST_F(MainWindow, ViewerCommandLineAndArguments) {
    auto form = start(Sim()->Port(), {QStringLiteral("/R pub\"lic"), QStringLiteral("/Ww")});
    const QString dir = QCoreApplication::applicationDirPath();
    EXPECT_EQ(form->BuildViewerCommandLine(QStringLiteral("/TMIB_Info")),
              dir + QStringLiteral("/MIB /I127.0.0.1 /R pub\"lic /Ww /TMIB_Info"));
    QString program;
    QStringList arguments;
    QProcessEnvironment environment;
    auto previous = TMainForm::ProcessStarter;
    TMainForm::ProcessStarter = [&](const QString& p, const QStringList& a, const QProcessEnvironment& e, const QString&) {
        program = p;
        arguments = a;
        environment = e;
        return false; // a missing viewer is silent
    };
    Trigger(*form, "IPRouting1");
    TMainForm::ProcessStarter = previous;
    EXPECT_EQ(program, dir + QStringLiteral("/MIB"));
    EXPECT_EQ(arguments, (QStringList{"/I127.0.0.1", "/R pub\"lic", "/Ww", "/TMIB_IPRouting"}));
    // What the command line leaves out reaches the viewer through its environment.
    EXPECT_EQ(environment.value("VELMARN_PORT"), QString::number(Sim()->Port()));
    EXPECT_EQ(environment.value("VELMARN_READ_COMMUNITY"), " pub\"lic");
    EXPECT_TRUE(OvFeedback::TakeShown().isEmpty());

    auto plain = start(Sim()->Port());
    EXPECT_EQ(plain->ViewerArguments(QStringLiteral("/TMIB_SNMPCounters")),
              (QStringList{"/I127.0.0.1", "/R", "/W", "/TMIB_SNMPCounters"}));
}

// A VELMARN_* variable of the module's own environment never reaches the viewer: where the
// module's setting is empty (no SNMPv3 user, context or pass phrase here) it is left out.
TEST_F(MainWindow, ViewerEnvironmentCarriesExactlyTheModulesSettings) {
    QStringList stale{QStringLiteral("VELMARN_NOT_AN_OPTION")};
    for (int i = 0; i < OvLaunchOptionCount(); ++i)
        if (OvLaunchOptions()[i].Variable)
            stale << QLatin1String(OvLaunchOptions()[i].Variable);
    for (const QString& name : stale)
        qputenv(name.toLatin1().constData(), "stale");
    auto form = start(Sim()->Port());
    QProcessEnvironment environment;
    auto previous = TMainForm::ProcessStarter;
    TMainForm::ProcessStarter = [&](const QString&, const QStringList&, const QProcessEnvironment& e, const QString&) {
        environment = e;
        return true;
    };
    Trigger(*form, "Information1");
    TMainForm::ProcessStarter = previous;
    for (const QString& name : stale)
        qunsetenv(name.toLatin1().constData());

    for (int i = 0; i < OvLaunchOptionCount(); ++i) {
        const OvLaunchOption& option = OvLaunchOptions()[i];
        if (!option.Variable)
            continue;
        const QString setting = option.Get(TSNMPSession::DefaultTarget());
        EXPECT_EQ(environment.contains(QLatin1String(option.Variable)), !setting.isEmpty())
            << option.Variable;
        EXPECT_EQ(environment.value(QLatin1String(option.Variable)), setting) << option.Variable;
    }
    EXPECT_EQ(environment.value(QStringLiteral("VELMARN_VERSION")), QStringLiteral("1")); // /v1
    EXPECT_FALSE(environment.contains(QStringLiteral("VELMARN_SECURITY_NAME")));
    EXPECT_FALSE(environment.contains(QStringLiteral("VELMARN_NOT_AN_OPTION")));
    EXPECT_EQ(environment.value(QStringLiteral("PATH")), qEnvironmentVariable("PATH")); // the rest is kept
}

// ---- counters ----------------------------------------------------------------------------------

namespace {
void feed(TSNMP_Counters& c, const std::array<quint64, 14>& values) {
    c.LV_SNMPCounters->clear();
    auto* row = new QTreeWidgetItem(c.LV_SNMPCounters);
    for (int i = 0; i < 14; ++i)
        row->setText(i, QString::number(values[static_cast<size_t>(i)]));
}
std::array<quint64, 14> all(quint64 v) {
    std::array<quint64, 14> a;
    a.fill(v);
    return a;
}
QString cell(TSNMP_Counters& c, int counter, int column) {
    return c.LV_SNMPCounterData->topLevelItem(counter)->text(column);
}
} // namespace

TEST_F(MainWindow, CountersArithmetic) {
    TSNMP_Counters c(nullptr, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(c.windowTitle(), QStringLiteral("Counters : 127.0.0.1"));
    c.Timer1.stop();
    c.BT_ResetClick();
    c.CB_Interval->setCurrentText(QStringLiteral("5"));
    EXPECT_EQ(c.Timer1.interval(), 5000);

    feed(c, all(100)); // previous values are 0: no peak
    c.UpdateCounters();
    EXPECT_EQ(cell(c, 0, 1), QStringLiteral("100"));
    EXPECT_EQ(cell(c, 0, 4), QStringLiteral("0"));
    EXPECT_EQ(cell(c, 0, 2), QStringLiteral("0")); // deltas shown from the second read on

    auto values = all(112);
    values[1] = 5;          // a drop of 95: 2^32 - 95
    values[2] = 2147483748; // 2^31 and more are ordinary values
    c.UpdateCounters();     // same row again: delta 0
    feed(c, values);
    c.UpdateCounters();
    EXPECT_EQ(cell(c, 0, 2), QStringLiteral("12"));
    EXPECT_EQ(cell(c, 0, 3), QStringLiteral("2")); // 12 in 5 s
    EXPECT_EQ(cell(c, 0, 4), QStringLiteral("12"));
    EXPECT_EQ(cell(c, 1, 2), QString::number(4294967296ull - 95));
    EXPECT_EQ(cell(c, 1, 4), QString::number(4294967296ull - 95));
    EXPECT_EQ(cell(c, 2, 1), QStringLiteral("2147483748"));

    // An equal delta keeps the time of the first.
    const QString firstTime = cell(c, 0, 5);
    c.LV_SNMPCounterData->topLevelItem(0)->setText(5, QStringLiteral("marker"));
    values = all(124);
    values[1] = 5;
    values[2] = 2147483748;
    feed(c, values);
    c.UpdateCounters();
    EXPECT_EQ(cell(c, 0, 2), QStringLiteral("12"));
    EXPECT_EQ(cell(c, 0, 5), QStringLiteral("marker"));

    // 4294967295 to 5 is 6.
    feed(c, all(4294967295ull));
    c.UpdateCounters();
    feed(c, all(5));
    c.UpdateCounters();
    EXPECT_EQ(cell(c, 13, 2), QStringLiteral("6"));
    // Values wider than 32 bits keep their low 32 bits.
    feed(c, all(4294967296ull + 7));
    c.UpdateCounters();
    EXPECT_EQ(cell(c, 13, 1), QStringLiteral("7"));
}

TEST_F(MainWindow, CountersResetPauseAndBadTexts) {
    TSNMP_Counters c(nullptr, QStringLiteral("127.0.0.1"));
    c.Timer1.stop();
    c.BT_StopClick();
    EXPECT_FALSE(c.Running);
    c.BT_ResetClick(); // resumes
    EXPECT_TRUE(c.Running);
    EXPECT_FALSE(TSNMP_Counters::ShowDeltas);
    for (int i = 0; i < 14; ++i)
        for (int col = 1; col <= 4; ++col)
            EXPECT_EQ(cell(c, i, col), QStringLiteral("0"));

    auto values = all(10);
    feed(c, values);
    c.LV_SNMPCounters->topLevelItem(0)->setText(3, QStringLiteral("x3"));
    try {
        c.UpdateCounters();
        FAIL() << "no conversion error";
    } catch (const OvConvertError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("'x3' is not a valid integer value"));
    }
    EXPECT_EQ(cell(c, 2, 1), QStringLiteral("10")); // counters before it are updated
    EXPECT_EQ(cell(c, 3, 1), QStringLiteral("0"));

    // Intervals: 0 and negatives keep the interval, words bring the conversion message.
    c.CB_Interval->setCurrentText(QStringLiteral("10"));
    EXPECT_EQ(c.Timer1.interval(), 10000);
    c.CB_Interval->setCurrentText(QStringLiteral("0"));
    EXPECT_EQ(c.Timer1.interval(), 10000);
    c.CB_Interval->setCurrentText(QStringLiteral("-5"));
    EXPECT_EQ(c.Timer1.interval(), 10000);
    OvFeedback::TakeShown();
    c.CB_Interval->setCurrentText(QStringLiteral("abc"));
    const auto shown = OvFeedback::TakeShown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].Text, QStringLiteral("'abc' is not a valid integer value"));
    EXPECT_EQ(c.Timer1.interval(), 10000);
    c.BT_ResetClick();
    EXPECT_EQ(cell(c, 0, 3), QStringLiteral("0"));
    EXPECT_FALSE(TSNMP_Counters::ShowDeltas);

    feed(c, all(18446744073709551615ull)); // the largest 64-bit counter keeps the updates going
    EXPECT_NO_THROW(c.UpdateCounters());
    EXPECT_EQ(cell(c, 0, 1), QStringLiteral("4294967295"));
}

// Rates per second at a 5 s interval; a pause leaves a gap, not a spike; the window fits
// the screen; the export holds the drawn counters only, at times with their UTC offset.
TEST_F(MainWindow, CountersGraphFollowsThePolls) {
    TSNMP_Counters c(nullptr, QStringLiteral("127.0.0.1"));
    c.Timer1.stop();
    // The opening read is in: the export's dialog, which runs the event loop, adds no poll.
    ASSERT_TRUE(WaitFor([&c] { return c.LV_SNMPCounters->topLevelItemCount() > 0; }, 6000));
    c.show();
    c.BT_ResetClick();
    c.CB_Interval->setCurrentText(QStringLiteral("5"));
    qint64 now = QDateTime(QDate(2026, 12, 7), QTime(10, 0, 3)).toMSecsSinceEpoch();
    c.Clock = [&now] {
        return now;
    };
    auto values = all(4294967290ull);
    auto poll = [&](quint64 more) {
        for (int i : {1, 3, 9})
            values[static_cast<size_t>(i)] += more;
        feed(c, values);
        c.UpdateCounters();
        now += 5000;
    };
    const int height = c.height();
    c.CB_Graph->setChecked(true);
    EXPECT_TRUE(c.Chart->isVisible());
    EXPECT_GT(c.height(), height);
    EXPECT_GE(c.Chart->width(), 2 * c.Legend->width()); // the window widened for the graph
    EXPECT_LE(c.frameGeometry().height(), c.screen()->availableGeometry().height());
    EXPECT_FALSE(c.BT_Export->isEnabled()); // nothing drawn yet
    for (int row : {1, 3, 9})
        c.LV_SNMPCounterData->topLevelItem(row)->setSelected(true);
    const QStringList drawn{"MulticastTransmittedFrameCount", "RetryCount", "ReceivedFragmentCount"};
    EXPECT_EQ(c.Chart->CurveNames(), drawn);
    ASSERT_EQ(c.Legend->count(), 3);
    EXPECT_EQ(c.Legend->item(2)->text(), drawn[2]);
    EXPECT_TRUE(c.BT_Export->isEnabled());

    poll(0); // no previous value: no rate, no point
    EXPECT_EQ(c.Chart->PointCount(0), 0);
    poll(50); // wraps past 2^32: 50 in 5 s
    ASSERT_EQ(c.History.Samples(1).size(), 1u);
    EXPECT_EQ(c.History.Samples(1).back().Delta, 50u);
    EXPECT_EQ(c.Chart->Lines(0), (std::vector<QList<QPointF>>{{QPointF(now - 5000.0, 10)}}));

    c.BT_StopClick();
    c.Timer1Timer(); // a tick while paused
    c.BT_StartClick();
    now += 20000;
    poll(5000); // the catch-up: the table's figures, no point of the graph
    EXPECT_EQ(cell(c, 1, 3), QStringLiteral("1000"));
    poll(60);
    const auto lines = c.Chart->Lines(0);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], (QList<QPointF>{QPointF(now - 5000.0, 12)}));
    EXPECT_EQ(c.Chart->RateTop(), 15); // a round top above the highest rate, not the catch-up's 1000
    EXPECT_EQ(c.Chart->RateStep(), 5);
    EXPECT_EQ(c.Chart->TimeRange(), std::make_pair(now - 5000 - 600000, now - 5000)); // ends at the last poll
    const QStringList labels = c.Chart->TimeLabels();
    EXPECT_EQ(labels.size(), 5);
    for (const QString& label : labels)
        EXPECT_TRUE(QRegularExpression("^\\d\\d:\\d[02468]$").match(label).hasMatch()) << label;

    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("counters.csv"));
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    EXPECT_EQ(SaveWithDialog(c.BT_Export, csv), QDir(documents).exists() ? documents : QDir::homePath());
    const QStringList csvLines = CsvLines(csv);
    ASSERT_EQ(csvLines.size(), 1 + 3 * 3);
    EXPECT_EQ(SaveWithDialog(c.BT_Export, dir.filePath("again.csv")), dir.path()); // where the last went
    const QDir config(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    EXPECT_TRUE(!config.exists("QtProject.conf") && config.exists("velmarn/QtProject.conf")); // ours
    const QStringList first = csvLines[1].split(',');
    ASSERT_EQ(first.size(), 5);
    EXPECT_EQ(first.mid(1), (QStringList{"MulticastTransmittedFrameCount", "44", "50", "10"}));
    EXPECT_TRUE(QRegularExpression("^2026-12-07T10:00:08(Z|[+-]\\d\\d:\\d\\d)$").match(first[0]).hasMatch())
        << first[0];
    EXPECT_EQ(QDateTime::fromString(first[0], Qt::ISODate).toMSecsSinceEpoch(),
              c.History.Samples(1)[0].TimeMs);
    EXPECT_FALSE(c.ExportCsv(dir.filePath(QStringLiteral("no/such/folder/x.csv"))));
    EXPECT_EQ(OvFeedback::TakeShown().size(), 1u);

    c.BT_ResetClick(); // clears the curves with the figures
    EXPECT_EQ(c.Chart->PointCount(0), 0);
    EXPECT_TRUE(c.History.Samples(1).empty());
    c.CB_Graph->setChecked(false);
    EXPECT_EQ(c.height(), height);
    EXPECT_FALSE(c.BT_Export->isEnabled());
}

// A poll that comes late (the program was held up) leaves a gap in the graph, not a spike.
TEST_F(MainWindow, ALatePollIsAGapInTheGraph) {
    TSNMP_Counters c(nullptr, QStringLiteral("127.0.0.1"));
    c.Timer1.stop();
    c.show();
    c.BT_ResetClick();
    qint64 now = QDateTime(QDate(2026, 12, 7), QTime(10, 0, 0)).toMSecsSinceEpoch();
    c.Clock = [&now] {
        return now;
    };
    auto values = all(1000);
    auto poll = [&](quint64 more, qint64 after) {
        now += after;
        values[1] += more;
        feed(c, values);
        c.UpdateCounters();
    };
    poll(0, 1000);
    poll(10, 1000);
    poll(80, 8000); // eight seconds' worth in one poll of a 1 s interval
    poll(10, 1000);
    std::vector<bool> gaps;
    for (const OvCounterHistory::Sample& sample : c.History.Samples(1))
        gaps.push_back(sample.AfterGap);
    EXPECT_EQ(gaps, (std::vector<bool>{false, true, false})); // the late one is not drawn
}

// All fourteen curves: fourteen colours, fourteen names in the legend.
TEST_F(MainWindow, EveryCounterHasItsColourAndLegendLine) {
    QSet<QRgb> colours;
    for (int i = 0; i < TSNMP_Counters::CounterCount; ++i)
        colours.insert(TCounterChart::CurveColour(i).rgb());
    EXPECT_EQ(colours.size(), TSNMP_Counters::CounterCount);
    TSNMP_Counters c(nullptr, QStringLiteral("127.0.0.1"));
    c.Timer1.stop();
    c.show();
    c.CB_Graph->setChecked(true);
    c.LV_SNMPCounterData->selectAll();
    ASSERT_EQ(c.Legend->count(), TSNMP_Counters::CounterCount);
    for (int i = 0; i < c.Legend->count(); ++i)
        EXPECT_EQ(c.Legend->item(i)->text(), TSNMP_Counters::CounterNames()[i]);
    EXPECT_GE(c.Legend->width(), c.Legend->fontMetrics().horizontalAdvance("MulticastTransmittedFrameCount"));
}

// Every curve stands out 3:1 from a white plot; the one-minute view's last time is whole.
TEST(CounterChart, EveryCurveStandsOutAndTheLastTimeIsWhole) {
    for (int c = 0; c < TSNMP_Counters::CounterCount; ++c) // the lowest stroke outlines the curve
        EXPECT_GE(OvContrastRatio(TCounterChart::CurvePens(c, Qt::white).front().color(), Qt::white), 3) << c;
    OvCounterHistory history(1, 100);
    const qint64 t0 = QDateTime(QDate(2026, 12, 7), QTime(10, 0, 0)).toMSecsSinceEpoch();
    for (int s = 0; s <= 40; ++s)
        history.Append(0, {t0 + s * 1000, 0, 1, 1});
    TCounterChart view;
    view.show();
    view.SetSpanMinutes(1, history);
    view.ShowCounters({0}, TSNMP_Counters::CounterNames(), history);
    QCoreApplication::processEvents();                               // laid out again as shown
    ASSERT_EQ(view.TimeLabels().last(), QStringLiteral("10:00:40")); // at the right edge
    const QFontMetrics metrics(view.chart()->axes(Qt::Horizontal).constFirst()->labelsFont());
    EXPECT_LE(view.chart()->mapToPosition(QPointF(t0 + 40000.0, 0)).x() +
                  metrics.horizontalAdvance("10:00:40") / 2,
              view.chart()->size().width());
}

TEST(FileFolders, LastFolderOfItsKindElseDocumentsNeverTheStateFolderKeptOnlyWhereAsked) {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString fallback = QDir(documents).exists() ? documents : QDir::homePath();
    QTemporaryDir chosen;
    const QString used[] = {QString(), chosen.filePath("a.csv"), OvBootCounter::StateFolder() + "/a.csv"};
    const QString start[] = {fallback, chosen.path(), fallback};
    for (int i = 0; i < 3; ++i) {
        OvFileFolders folders;
        folders.Used(OvFileFolders::Kind::Csv, used[i]);
        EXPECT_EQ(folders.StartFolder(OvFileFolders::Kind::Csv), start[i]) << used[i].toStdString();
    }
    OvFileFolders kept, forTheRun, nextRun; // the next run starts where the kept one left
    kept.KeepAcrossRuns();
    kept.Used(OvFileFolders::Kind::NotificationLog, chosen.filePath("n.jsonl"));
    forTheRun.Used(OvFileFolders::Kind::Csv, chosen.filePath("a.csv"));
    nextRun.KeepAcrossRuns();
    EXPECT_EQ(nextRun.StartFolder(OvFileFolders::Kind::NotificationLog), chosen.path());
    EXPECT_EQ(nextRun.StartFolder(OvFileFolders::Kind::Csv), fallback);
    QSettings().clear();
}

TEST_F(MainWindow, CountersGrowLive) {
    TSNMP_Counters c(nullptr, QStringLiteral("127.0.0.1"));
    ASSERT_TRUE(WaitFor([&c] { return c.StatusPanel->text().startsWith(QStringLiteral("Get: Ok!.")); }))
        << c.StatusPanel->text();
    const quint64 first = cell(c, 9, 1).toULongLong();
    EXPECT_GT(first, 0u);
    c.StatusPanel->clear();
    ASSERT_TRUE(WaitFor([&c] { return !c.StatusPanel->text().isEmpty(); }, 3000));     // first tick
    ASSERT_TRUE(WaitFor([&c] { return cell(c, 9, 2) != QStringLiteral("0"); }, 4000)); // second tick
    EXPECT_GT(cell(c, 9, 1).toULongLong(), first);
    EXPECT_GT(cell(c, 9, 3).toULongLong(), 0u);
    EXPECT_FALSE(c.ST_Time->text().isEmpty());
}

TEST_F(MainWindow, AHugeAnswerDoesNotWidenTheCountersWindow) {
    TSNMP_Counters c(nullptr, QStringLiteral("127.0.0.1"));
    c.show();
    ASSERT_TRUE(WaitFor([&c] { return !c.StatusPanel->text().isEmpty(); })); // the first read is in
    c.Timer1.stop();
    const int width = c.width();
    const QString huge = QStringLiteral("'") + QString(65000, QLatin1Char('7')) + QStringLiteral("x'");
    c.CounterBinding->ShowResult(OvOperation::Get, huge);
    EXPECT_LE(c.StatusPanel->text().size(), 302);
    EXPECT_TRUE(c.StatusPanel->toolTip().contains(huge));
    QCoreApplication::processEvents();
    EXPECT_EQ(c.width(), width);
    EXPECT_LT(c.minimumSizeHint().width(), 1000);
}

TEST_F(MainWindow, CountersOfASilentAgentNeverBlockAndGoWithTheirWindow) {
    TSNMPSession::DefaultTarget().Device.Port = TestAgent::FreeUdpPort(); // nobody answers
    QPointer<TSNMP_Counters> c = new TSNMP_Counters(nullptr, QStringLiteral("127.0.0.1"));
    QElapsedTimer t;
    t.start();
    c->Timer1Timer(); // the first read is still on its way: skipped
    c->Timer1Timer();
    EXPECT_LT(t.elapsed(), 500);
    EXPECT_EQ(c->CounterBinding->Request().Outstanding, 1);
    ASSERT_TRUE(WaitFor(
        [&c] { return c->StatusPanel->text().startsWith(QStringLiteral("Get: SNMP request timed out!")); }));
    c->show();
    c->close();
    EXPECT_TRUE(WaitFor([&c] { return c.isNull(); }, 2000));
}

TEST_F(MainWindow, ClosingTheMainWindowEndsTheProgram) {
    auto form = start(Sim()->Port());
    form->show();
    Trigger(*form, "StationConfiguration1"); // another window stays open
    bool closedByUs = false;
    QObject thisTest; // the fallback goes with the test, not to fire in a later one
    QTimer::singleShot(0, form.get(), [&form] { form->close(); });
    QTimer::singleShot(8000, &thisTest, [&closedByUs] {
        closedByUs = true;
        QCoreApplication::quit();
    });
    QElapsedTimer t;
    t.start();
    QCoreApplication::exec();
    EXPECT_FALSE(closedByUs);
    EXPECT_LT(t.elapsed(), 5000);
}

// Drawn for the screen's pixel ratio: at 2 every logical pixel has four of its own, not
// one blown up (a scaled copy would have uniform 2 x 2 blocks).
TEST_F(MainWindow, BannerIsDrawnForTheScreensPixelRatio) {
    const QPixmap sharp = OvBanner(2);
    EXPECT_EQ(sharp.size(), QSize(1280, 208));
    EXPECT_EQ(sharp.devicePixelRatio(), 2);
    const QImage image = sharp.toImage();
    int detailed = 0;
    for (int y = 0; y + 1 < image.height(); y += 2)
        for (int x = 0; x + 1 < image.width(); x += 2)
            if (image.pixel(x, y) != image.pixel(x + 1, y + 1) || image.pixel(x, y) != image.pixel(x + 1, y))
                ++detailed;
    EXPECT_GT(detailed, 1000);
    auto form = start(Sim()->Port());
    form->show();
    auto* banner = form->findChild<TBanner*>(QStringLiteral("Banner"));
    ASSERT_NE(banner, nullptr);
    banner->repaint();
    EXPECT_EQ(banner->Picture().devicePixelRatio(), banner->devicePixelRatioF());
    EXPECT_EQ(banner->size(), QSize(640, 104));
}
