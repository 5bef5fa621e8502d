// The viewer program: a view window, its CSV export, /O without a display, and its
// start from the module's menu.
#include "InterfaceTable.h"
#include "SimulatorSuite.h"
#include "SnmpdSuite.h"
#include "TestSupport.h"
#include "app/TMainForm.h"
#include "binding/OvFeedback.h"
#include "charts/TCounterChart.h"
#include "errors/OvErrors.h"
#include "mib/OvMibViews.h"
#include "snmp/OvSNMPRequest.h"
#include "viewer/TMibViewForm.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTreeView>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QTest>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class Viewer : public SnmpdSuite {
protected:
    void SetUp() override {
        SnmpdSuite::SetUp();
        OvFeedback::TakeShown();
    }
};

QString mibProgram() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../../app/MIB");
}

// The views' remembered settings go to a test folder and start empty.
void forgetViewSettings() {
    QStandardPaths::setTestModeEnabled(true);
    QSettings(QStringLiteral("velmarn"), QStringLiteral("MIB")).clear();
}

bool readDone(TMibViewForm& form, int reads = 1) {
    QSignalSpy done(&form, &TMibViewForm::ReadDone);
    return WaitFor([&] { return done.size() >= reads; }, 15000) && done.first().first().toInt() == 0;
}

QString status(const QWidget& form) {
    return form.findChild<QLabel*>(QStringLiteral("StatusText"))->text();
}

// The cells of column title of the rows as the view shows them, top to bottom.
QStringList shownColumn(const TMibViewForm& form, const QString& title) {
    const auto* view = form.findChild<QTreeView*>(QStringLiteral("Rows"));
    const int column = static_cast<int>(form.Titles().indexOf(title));
    QStringList cells;
    for (int r = 0; r < view->model()->rowCount(); ++r)
        cells << view->model()->index(r, column).data(Qt::EditRole).toString();
    return cells;
}

class ViewerTables : public InterfaceTableSuite {
protected:
    void SetUp() override {
        OvFeedback::TakeShown();
        forgetViewSettings();
    }
    QStringList ExportArguments(const QString& view, const QString& file) const {
        return {QStringLiteral("/I127.0.0.1"), QStringLiteral("/t") + QString::number(Agent->Port()),
                QStringLiteral("/v1"),         QStringLiteral("/R") + QLatin1String(TestAgent::ReadCommunity),
                QStringLiteral("/T") + view,   QStringLiteral("/O") + file};
    }
};

// The simulated access point: its interface counters grow at a steady rate.
class ViewerOfTheAccessPoint : public SimulatorSuite {
protected:
    void SetUp() override {
        SimulatorSuite::SetUp();
        OvFeedback::TakeShown();
        forgetViewSettings();
    }
};

} // namespace
TEST_F(Viewer, CounterViewShowsChangesAndSavesWhatItShows) {
    TMibViewForm form(*OvFindMibView(QStringLiteral("MIB_SNMPCounters")), Agent->Address(), V2c());
    form.findChild<QComboBox*>(QStringLiteral("IntervalBox"))->setCurrentIndex(0); // every second
    ASSERT_NE(form.findChild<QTreeView*>(QStringLiteral("Rows")), nullptr);
    // snmpInPkts grows with every read: its Delta shows from the second read on.
    auto inPackets = [&form] {
        const QStringList delta = shownColumn(form, QStringLiteral("Delta"));
        return delta.value(
            static_cast<int>(shownColumn(form, QStringLiteral("Object")).indexOf("snmpInPkts")));
    };
    ASSERT_TRUE(WaitFor([&] { return inPackets().toInt() > 0; }, 8000));
    EXPECT_TRUE(shownColumn(form, QStringLiteral("Rate")).value(0).contains(QLatin1Char('.')));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("snmp.csv"));
    ASSERT_TRUE(form.SaveCsv(file));
    const QStringList lines = CsvLines(file);
    EXPECT_EQ(lines.value(0), QStringLiteral("Object,Value,Delta,Rate"));
    EXPECT_EQ(lines.size(), form.Model().Count() + 1);
    EXPECT_FALSE(form.SaveCsv(dir.filePath(QStringLiteral("no/such/folder.csv"))));
    EXPECT_EQ(OvFeedback::TakeShown().size(), 1);
}

TEST_F(Viewer, ModuleMenuStartsAViewerThatReachesTheSameAgent) {
    // The module on a port of its own: only the environment tells the viewer the port,
    // the version and the SNMPv3 user.
    const QString port = QStringLiteral("/t") + QString::number(Agent->Port());
    const QStringList v2c{QStringLiteral("/I127.0.0.1"), port, QStringLiteral("/v1"),
                          QStringLiteral("/R") + QLatin1String(TestAgent::ReadCommunity)};
    const QStringList v3{
        QStringLiteral("/I127.0.0.1"), port,
        QStringLiteral("/v3"),         QStringLiteral("/m3"),
        QStringLiteral("/l3"),         QStringLiteral("/n") + QLatin1String(TestAgent::V3User),
        QStringLiteral("/a5"),         QStringLiteral("/A") + QLatin1String(TestAgent::V3AuthPass),
        QStringLiteral("/p21"),        QStringLiteral("/P") + QLatin1String(TestAgent::V3PrivPass)};
    for (const QStringList& options : {v2c, v3}) {
        TMainForm module(options);
        QStringList arguments;
        QProcessEnvironment environment;
        const auto previous = TMainForm::ProcessStarter;
        TMainForm::ProcessStarter = [&](const QString&, const QStringList& a, const QProcessEnvironment& e,
                                        const QString&) {
            arguments = a;
            environment = e;
            return true;
        };
        auto* action = module.findChild<QAction*>(QStringLiteral("IPAddressTable1"));
        ASSERT_NE(action, nullptr);
        action->trigger();
        TMainForm::ProcessStarter = previous;
        EXPECT_TRUE(arguments.filter(QStringLiteral("/A")).isEmpty()); // no pass phrase on a command line
        if (options == v3) { // else the viewer could read the same agent with its default community
            EXPECT_EQ(environment.value(QStringLiteral("VELMARN_VERSION")), QStringLiteral("3"));
            EXPECT_EQ(environment.value(QStringLiteral("VELMARN_PRIV_PASSPHRASE")),
                      QLatin1String(TestAgent::V3PrivPass));
        }

        QProcess viewer;
        viewer.setProcessEnvironment(environment);
        viewer.setWorkingDirectory(QDir::currentPath()); // the test's own folder: the boots file goes there
        viewer.start(mibProgram(), arguments << QStringLiteral("/O-"));
        ASSERT_TRUE(viewer.waitForFinished(20000));
        EXPECT_EQ(viewer.exitCode(), 0) << viewer.readAllStandardError().toStdString();
        const QStringList lines = QString::fromUtf8(viewer.readAllStandardOutput())
                                      .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        ASSERT_FALSE(lines.isEmpty()) << options.join(QLatin1Char(' '));
        EXPECT_EQ(lines.first(),
                  QStringLiteral("ipAdEntAddr,ipAdEntIfIndex,ipAdEntNetMask,ipAdEntBcastAddr"));
        QStringList addresses;
        for (const QString& line : lines.mid(1))
            addresses << line.section(QLatin1Char(','), 0, 0);
        EXPECT_EQ(addresses, WalkedValues(QStringLiteral("1.3.6.1.2.1.4.20.1.1")));
    }
}

TEST_F(Viewer, ExportEndsWithStatusOneAndTheMessage) {
    struct Case {
        const char* Name;
        QStringList Arguments;
        bool Silent;
        const char* Message;
    };
    const QString port = QStringLiteral("/t") + QString::number(Agent->Port());
    const QString community = QStringLiteral("/R") + QLatin1String(TestAgent::ReadCommunity);
    for (const Case& c :
         {Case{"unknown view",
               {QStringLiteral("/I127.0.0.1"), port, QStringLiteral("/TMIB_None")},
               false,
               "Unknown view \"MIB_None\""},
          Case{"agent silent",
               {QStringLiteral("/I127.0.0.1"), port, QStringLiteral("/v1"), community,
                QStringLiteral("/TMIB_IFTable")},
               true,
               "SNMP request timed out!"},
          Case{"no file name",
               {QStringLiteral("/I127.0.0.1"), QStringLiteral("/TMIB_Info")},
               false,
               "/O needs a file name"},
          // Errors found before anything is sent end the program as well.
          Case{"no IPv4 address",
               {QStringLiteral("/I127.0.0.999"), port, QStringLiteral("/TMIB_Info")},
               false,
               "Invalid IP Address or DNS name!"},
          Case{"security model",
               {QStringLiteral("/I127.0.0.1"), port, QStringLiteral("/v3"), QStringLiteral("/m2"),
                QStringLiteral("/TMIB_Info")},
               false,
               "Unsupported Security Model!"},
          Case{"no SNMPv3 user",
               {QStringLiteral("/I127.0.0.1"), port, QStringLiteral("/v3"), QStringLiteral("/m3"),
                QStringLiteral("/TMIB_Info")},
               false,
               "The SNMPv3 user name is empty!"},
          Case{"send refused",
               {QStringLiteral("/I127.255.255.255"), port, community, QStringLiteral("/TMIB_IFTable")},
               false,
               "Transport operation failed!"}}) {
        QProcess viewer;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY")); // no windowing at all
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        viewer.setProcessEnvironment(environment);
        viewer.setWorkingDirectory(QDir::currentPath()); // the test's own folder: the boots file goes there
        Agent->SetSilent(c.Silent);
        const QString output =
            QStringLiteral("/O") + (QLatin1String(c.Name) == QLatin1String("no file name")
                                        ? QString()
                                        : QDir::currentPath() + QStringLiteral("/velmarn-never.csv"));
        viewer.start(mibProgram(), c.Arguments + QStringList{output});
        const bool finished = viewer.waitForFinished(20000);
        Agent->SetSilent(false);
        ASSERT_TRUE(finished) << c.Name;
        EXPECT_EQ(viewer.exitCode(), 1) << c.Name;
        EXPECT_TRUE(QString::fromLocal8Bit(viewer.readAllStandardError()).contains(QLatin1String(c.Message)))
            << c.Name;
        EXPECT_FALSE(QFile::exists(QDir::currentPath() + QStringLiteral("/velmarn-never.csv"))) << c.Name;
    }
}

TEST(ViewerOfAHostileAgent, CellsOfTheWrongTypeAreLeftEmptyCountedAndExportedWithStatusOne) {
    QTemporaryDir dir;
    QFile data(dir.filePath(QStringLiteral("wrong.snmprec")));
    ASSERT_TRUE(data.open(QIODevice::WriteOnly));
    data.write("1.3.6.1.2.1.1.3.0|67|100\n"
               "1.3.6.1.2.1.2.2.1.1.1|2|1\n1.3.6.1.2.1.2.2.1.1.2|2|2\n1.3.6.1.2.1.2.2.1.1.3|2|3\n"
               "1.3.6.1.2.1.2.2.1.2.1|4|eth0\n1.3.6.1.2.1.2.2.1.2.2|2|42\n1.3.6.1.2.1.2.2.1.2.3|4|eth2\n"
               "1.3.6.1.2.1.2.2.1.3.1|2|6\n1.3.6.1.2.1.2.2.1.3.2|2|6\n1.3.6.1.2.1.2.2.1.3.3|4|ethernet\n");
    data.close();
    QString error;
    const auto agent = TestAgent::StartSimulator(&error, data.fileName());
    ASSERT_NE(agent, nullptr) << error.toStdString();
    QProcess viewer;
    viewer.setWorkingDirectory(dir.path());
    viewer.start(mibProgram(),
                 {QStringLiteral("/I127.0.0.1"), QStringLiteral("/t") + QString::number(agent->Port()),
                  QStringLiteral("/v1"), QStringLiteral("/TMIB_IFTable"), QStringLiteral("/O-")});
    ASSERT_TRUE(viewer.waitForFinished(20000));
    EXPECT_EQ(viewer.exitCode(), 1);
    EXPECT_EQ(viewer.readAllStandardError().trimmed(), QByteArray("2 cells of the wrong type left empty"));
    const QStringList lines =
        QString::fromUtf8(viewer.readAllStandardOutput()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    QStringList described, types;
    for (const QString& line : lines.mid(1)) {
        described << line.section(QLatin1Char(','), 1, 1);
        types << line.section(QLatin1Char(','), 2, 2);
    }
    EXPECT_EQ(described, (QStringList{QStringLiteral("eth0"), QString(), QStringLiteral("eth2")}));
    EXPECT_EQ(types,
              (QStringList{QStringLiteral("ethernetCsmacd"), QStringLiteral("ethernetCsmacd"), QString()}));

    // The windows' own table walk: the row is there, the cell is absent.
    UseAgent(agent->Address(), agent->Port());
    OvSNMPRequest walk;
    const TSNMPVarInfo columns[] = {OvVarRow("1.3.6.1.2.1.2.2.1.1", "ifIndex", OvSyntax::integer),
                                    OvVarRow("1.3.6.1.2.1.2.2.1.2", "ifDescr", OvSyntax::displaystr),
                                    OvEndRow};
    walk.VarList = OvSNMPVarList(columns, MVT_FMV, 0);
    QStringList walked;
    for (bool first = true; walk.Get(first); first = false)
        walked << walk.VarList.Item(1)->Value;
    EXPECT_EQ(walked,
              (QStringList{QStringLiteral("eth0"), QStringLiteral("(NULL)"), QStringLiteral("eth2")}));
    EXPECT_EQ(walk.WrongTypeCells(), 1);
}

TEST_F(Viewer, InformationViewEditsOctetsAsTextOrHexAndWritesThemBackExactly) {
    const QString name = QStringLiteral("1.3.6.1.2.1.1.5.0");
    auto setName = [&](const QString& hex) {
        Agent->Tool(QStringLiteral("snmpset"),
                    {QStringLiteral("-c"), QLatin1String(TestAgent::WriteCommunity)},
                    {name, QStringLiteral("x"), hex});
    };
    const QString before = WalkedValues(QStringLiteral("1.3.6.1.2.1.1.5")).value(0);
    struct Case {
        const char* device;   // the octets the device holds, in hex
        const char* shown;    // in the edit
        const char* form;     // the switch
        const char* switched; // after switching to the other form ("" where it stays)
        const char* typed;    // appended in the form shown
        const char* written;  // the octets the device then holds, or the log line's start
    };
    for (const Case& c : {
             Case{"FFFE8061", "FF FE 80 61", "Hex", "", " 62", "FF FE 80 61 62"},
             Case{"C3BC72", "\u00FCr", "Text", "C3 BC 72", "i", "C3 BC 72 69"},
             Case{"EFBBBF41", "EF BB BF 41", "Hex", "", " 42", "EF BB BF 41 42"},
             Case{"6109", "61 09", "Hex", "", "", "61 09"},
             Case{"7A", "z", "Text", "7A", "Z", "7A 5A"},
             Case{"61", "a", "Text", "", "\u00E9", "61 C3 A9"},
             Case{"FF", "FF", "Hex", "", " 6",
                  "Set: Bad value of the associated SNMP variable's (partial) data! (sysName)"},
             Case{"61", "a", "Text", "", nullptr, "Set: sysName: 300 octets, at most 255"},
         }) {
        setName(QLatin1String(c.device));
        TMibViewForm form(*OvFindMibView(QStringLiteral("MIB_Info")), Agent->Address(), V2c());
        auto* edit = form.findChild<QLineEdit*>(QStringLiteral("sysName"));
        auto* formBox = form.findChild<QComboBox*>(QStringLiteral("sysNameForm"));
        ASSERT_TRUE(edit && formBox);
        const auto ticks = form.findChildren<QCheckBox*>(); // sysContact, sysName, sysLocation
        ASSERT_EQ(ticks.size(), 3);
        ticks[0]->setChecked(false);
        ticks[2]->setChecked(false);
        ASSERT_TRUE(WaitFor([&] { return !edit->text().isEmpty(); }, 5000)) << c.device;
        EXPECT_EQ(edit->text(), QString::fromUtf8(c.shown)) << c.device;
        const bool startsAsText = formBox->currentIndex() == 0;
        EXPECT_EQ(formBox->currentText(), QLatin1String(c.form)) << c.device;
        if (*c.switched) { // to the other form and back: the same octets either way
            QTest::keyClick(formBox, startsAsText ? Qt::Key_Down : Qt::Key_Up);
            EXPECT_EQ(edit->text(), QString::fromUtf8(c.switched)) << c.device;
            QTest::keyClick(formBox, startsAsText ? Qt::Key_Up : Qt::Key_Down);
            EXPECT_EQ(edit->text(), QString::fromUtf8(c.shown)) << c.device;
        } else if (!startsAsText) { // octets that are no plain text stay hex
            QTest::keyClick(formBox, Qt::Key_Up);
            EXPECT_EQ(formBox->currentText(), QStringLiteral("Hex")) << c.device;
            EXPECT_EQ(edit->text(), QString::fromUtf8(c.shown)) << c.device;
        }
        if (QLatin1String(c.written).startsWith(QLatin1String("Set:")) && startsAsText && !c.typed)
            edit->setText(QString(300, QLatin1Char('n')));
        else if (c.typed) {
            edit->end(false);
            edit->insert(QString::fromUtf8(c.typed));
        }
        for (auto* b : form.findChildren<QPushButton*>())
            if (b->isVisibleTo(&form) && b->text() == QStringLiteral("Set"))
                b->click();
        auto* memo = form.findChild<QPlainTextEdit*>();
        ASSERT_TRUE(WaitFor([&] { return memo->toPlainText().count(QLatin1Char('\n')) >= 1; }, 5000))
            << c.device;
        const QString log = memo->toPlainText().section(QLatin1Char('\n'), 1, 1);
        const QString held = Agent
                                 ->Tool(QStringLiteral("snmpget"),
                                        {QStringLiteral("-c"), QLatin1String(TestAgent::ReadCommunity),
                                         QStringLiteral("-Oqvx")},
                                        {name})
                                 .remove(QLatin1Char('"'))
                                 .remove(QLatin1Char(' '))
                                 .trimmed();
        const bool refused = QLatin1String(c.written).startsWith(QLatin1String("Set:"));
        EXPECT_TRUE(log.startsWith(refused ? QLatin1String(c.written) : QLatin1String("Set: Ok!")))
            << log.toStdString();
        // Nothing written, or exactly the octets shown.
        EXPECT_EQ(held, refused ? QString::fromLatin1(c.device)
                                : QString::fromLatin1(c.written).remove(QLatin1Char(' ')))
            << c.device;
    }
    Agent->Tool(QStringLiteral("snmpset"), {QStringLiteral("-c"), QLatin1String(TestAgent::WriteCommunity)},
                {name, QStringLiteral("s"), before});
}

// The graph under the interface counters follows the selection: a curve in and out per
// interface, named after its ifDescr as snmpwalk reads it, ending at the rate its row shows.
TEST_F(ViewerOfTheAccessPoint, InterfaceGraphDrawsTheRatesTheSelectedRowsShow) {
    TMibViewForm form(*OvFindMibView(QStringLiteral("MIB_IFCounters")), Sim()->Address(),
                      TSNMPSession::DefaultTarget());
    form.findChild<QComboBox*>(QStringLiteral("IntervalBox"))->setCurrentIndex(0); // every second
    form.show();
    ASSERT_TRUE(readDone(form));
    auto* graph = form.findChild<QStackedWidget*>(QStringLiteral("InterfaceGraph"));
    ASSERT_NE(graph, nullptr);
    const auto* chart = graph->findChild<TCounterChart*>();
    const auto* legend = graph->findChild<QListWidget*>(QStringLiteral("graphLegend"));
    ASSERT_TRUE(chart && legend);
    EXPECT_EQ(graph->currentWidget()->objectName(), QStringLiteral("GraphHint"));

    auto* view = form.findChild<QTreeView*>(QStringLiteral("Rows"));
    view->selectAll();
    ASSERT_TRUE(readDone(form, 2));
    const QStringList descriptions = shownColumn(form, QStringLiteral("ifDescr"));
    const QStringList inBits = shownColumn(form, QStringLiteral("In bit/s"));
    const QStringList outBits = shownColumn(form, QStringLiteral("Out bit/s"));
    QStringList walked; // snmpwalk quotes each string
    for (const QString& line :
         Sim()
             ->Tool(QStringLiteral("snmpwalk"),
                    {QStringLiteral("-c"), QStringLiteral("qubsen"), QStringLiteral("-Oqv")},
                    {QStringLiteral("1.3.6.1.2.1.2.2.1.2")})
             .split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        walked << line.mid(1, line.size() - 2);
    EXPECT_EQ(descriptions, walked);

    const QStringList names = chart->CurveNames();
    ASSERT_EQ(names.size(), 2 * descriptions.size());
    QStringList legendNames;
    for (int i = 0; i < legend->count(); ++i)
        legendNames << legend->item(i)->text();
    EXPECT_EQ(legendNames, names);
    for (int curve = 0; curve < names.size(); ++curve) {
        const bool in = names[curve].endsWith(QStringLiteral(" in"));
        const int row = static_cast<int>(descriptions.indexOf(names[curve].section(QLatin1Char(' '), 0, -2)));
        ASSERT_GE(row, 0) << names[curve].toStdString();
        const auto lines = chart->Lines(curve);
        ASSERT_FALSE(lines.empty()) << names[curve].toStdString();
        const double last = lines.back().back().y();
        EXPECT_GT(last, 0) << names[curve].toStdString(); // every counter grows
        EXPECT_EQ(QString::number(last, 'f', 2), (in ? inBits : outBits).value(row))
            << names[curve].toStdString();
    }

    view->clearSelection();
    EXPECT_EQ(graph->currentWidget()->objectName(), QStringLiteral("GraphHint"));
    EXPECT_TRUE(chart->CurveNames().isEmpty());
}

TEST_F(Viewer, InformationViewWritesTheTickedObjectsOnly) {
    TMibViewForm form(*OvFindMibView(QStringLiteral("MIB_Info")), Agent->Address(), V2c());
    auto edits = form.findChildren<QLineEdit*>();
    edits.removeIf([](const QLineEdit* e) { return e->objectName() == QStringLiteral("Filter"); });
    const auto ticks = form.findChildren<QCheckBox*>();
    ASSERT_EQ(edits.size(), 3); // sysContact, sysName, sysLocation
    ASSERT_EQ(ticks.size(), 3);
    for (const QLineEdit* e : edits) { // wide enough for a location, and side by side without overlap
        EXPECT_GE(e->width(), TMibViewForm::EditWidth);
        for (const QLineEdit* other : edits)
            EXPECT_TRUE(e == other || !e->geometry().intersects(other->geometry()));
    }
    ASSERT_TRUE(WaitFor([&] { return !edits[1]->text().isEmpty(); }, 5000)); // sysName read
    QStringList group; // the system group's seven: those the agent has are in the list or the editor
    for (int i = 1; i <= 7; ++i)
        group << QStringLiteral("1.3.6.1.2.1.1.%1.0").arg(i);
    const QString values = Agent->Tool(
        QStringLiteral("snmpget"),
        {QStringLiteral("-c"), QLatin1String(TestAgent::ReadCommunity), QStringLiteral("-Oqv")}, group);
    const auto objects =
        values.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size() - values.count(QStringLiteral("No Such"));
    ASSERT_TRUE(
        WaitFor([&] { return status(form).startsWith(QStringLiteral("%1 rows").arg(objects)); }, 5000))
        << status(form).toStdString();
    const QString contact = edits[0]->text();
    edits[0]->setText(QStringLiteral("not ticked"));
    ticks[0]->setChecked(false);
    ticks[1]->setChecked(false);
    edits[2]->setText(QStringLiteral("Rack 7, row 3"));
    QPushButton* set = nullptr;
    for (auto* b : form.findChildren<QPushButton*>())
        if (b->isVisibleTo(&form) && b->text() == QStringLiteral("Set"))
            set = b;
    ASSERT_NE(set, nullptr);
    set->click();
    ASSERT_TRUE(WaitFor(
        [&] {
            return WalkedValues(QStringLiteral("1.3.6.1.2.1.1.6")) ==
                   QStringList{QStringLiteral("Rack 7, row 3")};
        },
        5000));
    EXPECT_EQ(WalkedValues(QStringLiteral("1.3.6.1.2.1.1.4")), QStringList{contact});
}

TEST_F(ViewerTables, ARefreshUpdatesInPlaceKeepingSelectionAndScrollAndSaveWritesWhatExportWrites) {
    TMibViewForm form(*OvFindMibView(QStringLiteral("MIB_IFTable")), Agent->Address(), Target());
    form.resize(600, 200);
    form.show();
    ASSERT_TRUE(readDone(form));
    EXPECT_TRUE(status(form).startsWith(QStringLiteral("40 rows"))) << status(form);
    auto* view = form.findChild<QTreeView*>(QStringLiteral("Rows"));
    const QModelIndex twenty = view->model()->index(19, 0);
    view->selectionModel()->select(twenty, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view->scrollTo(twenty, QAbstractItemView::PositionAtTop);
    const int scrolled = view->verticalScrollBar()->value();
    ASSERT_GT(scrolled, 0);
    QSignalSpy reset(&form.Model(), &QAbstractItemModel::modelReset);
    QSignalSpy removed(&form.Model(), &QAbstractItemModel::rowsRemoved);
    form.Refresh();
    ASSERT_TRUE(readDone(form));
    EXPECT_EQ(reset.size(), 0);
    EXPECT_EQ(removed.size(), 0);
    EXPECT_EQ(view->verticalScrollBar()->value(), scrolled);
    const QModelIndexList selected = view->selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.first().data().toString(), QStringLiteral("20"));

    // The window saves the same bytes as /O: hex octets, "" for an empty string, an empty
    // field for a missing one.
    QTemporaryDir dir;
    ASSERT_TRUE(form.SaveCsv(dir.filePath(QStringLiteral("window.csv"))));
    QProcess exporter;
    exporter.start(mibProgram(),
                   ExportArguments(QStringLiteral("MIB_IFTable"), dir.filePath(QStringLiteral("o.csv"))));
    ASSERT_TRUE(exporter.waitForFinished(20000));
    EXPECT_EQ(exporter.exitCode(), 0) << exporter.readAllStandardError().toStdString();
    QFile saved(dir.filePath(QStringLiteral("window.csv"))), exported(dir.filePath(QStringLiteral("o.csv")));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly) && exported.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    EXPECT_EQ(bytes, exported.readAll());
    const QStringList lines = QString::fromUtf8(bytes).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 41);
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(",name-1,FF FE 80 61 6C 69 61 73"))) << lines[1];
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral(",name-2,61 00 62"))) << lines[2];
    EXPECT_TRUE(lines[3].endsWith(QStringLiteral(",name-3,\"\""))) << lines[3];
    EXPECT_TRUE(lines[4].endsWith(QStringLiteral(",name-4,"))) << lines[4];
}

TEST_F(ViewerTables, SortFilterCopyAndHiddenColumnsAreRememberedPerView) {
    const OvMibView& ifTable = *OvFindMibView(QStringLiteral("MIB_IFTable"));
    {
        TMibViewForm form(ifTable, Agent->Address(), Target());
        ASSERT_TRUE(readDone(form));
        auto* view = form.findChild<QTreeView*>(QStringLiteral("Rows"));
        view->sortByColumn(0, Qt::DescendingOrder); // ifIndex, as numbers
        EXPECT_EQ(shownColumn(form, QStringLiteral("ifIndex")).mid(0, 3), (QStringList{"40", "39", "38"}));
        form.findChild<QLineEdit*>(QStringLiteral("Filter"))->setText(QStringLiteral("UPLINK"));
        EXPECT_EQ(shownColumn(form, QStringLiteral("ifIndex")), (QStringList{"35", "28", "21", "14", "7"}));
        EXPECT_TRUE(status(form).contains(QStringLiteral("(5 shown)"))) << status(form);
        form.findChild<QAction*>(QStringLiteral("actionColumn_ifMtu"))->trigger(); // hidden
        view->selectAll();
        form.findChild<QAction*>(QStringLiteral("actionCopy"))->trigger();
        const QStringList copied =
            QGuiApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ASSERT_EQ(copied.size(), 6);
        EXPECT_TRUE(copied[0].startsWith(QStringLiteral("ifIndex\tifDescr\tifType\tifSpeed\t"))) << copied[0];
        EXPECT_TRUE(copied[1].startsWith(QStringLiteral("35\tport-35\t"))) << copied[1];
        EXPECT_TRUE(copied[1].endsWith(QStringLiteral("\tuplink-35"))) << copied[1];
    }
    TMibViewForm again(ifTable, Agent->Address(), Target());
    ASSERT_TRUE(readDone(again));
    auto* view = again.findChild<QTreeView*>(QStringLiteral("Rows"));
    EXPECT_EQ(again.findChild<QLineEdit*>(QStringLiteral("Filter"))->text(), QStringLiteral("UPLINK"));
    EXPECT_EQ(view->header()->sortIndicatorSection(), 0);
    EXPECT_EQ(view->header()->sortIndicatorOrder(), Qt::DescendingOrder);
    EXPECT_TRUE(view->header()->isSectionHidden(static_cast<int>(again.Titles().indexOf("ifMtu"))));
    EXPECT_EQ(shownColumn(again, QStringLiteral("ifIndex")).value(0), QStringLiteral("35"));
}

TEST_F(ViewerTables, AnEmptyTableShowsNoRowAndExportsItsTitlesOnly) {
    TMibViewForm form(*OvFindMibView(QStringLiteral("MIB_IPAddress")), Agent->Address(), Target());
    ASSERT_TRUE(readDone(form));
    EXPECT_TRUE(status(form).startsWith(QStringLiteral("0 rows"))) << status(form);
    // The views beyond the module's nine: from the View menu and with /T.
    form.findChild<QAction*>(QStringLiteral("actionOpen_MIB_TCPConnections"))->trigger();
    QWidget* opened = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("MIB_TCPConnections"))
            opened = w;
    ASSERT_NE(opened, nullptr);
    delete opened;
    QProcess arp;
    arp.start(mibProgram(), ExportArguments(QStringLiteral("MIB_ARP"), QStringLiteral("-")));
    ASSERT_TRUE(arp.waitForFinished(20000));
    EXPECT_EQ(arp.exitCode(), 0) << arp.readAllStandardError().toStdString();
    EXPECT_TRUE(
        arp.readAllStandardOutput().startsWith("ipNetToPhysicalIfIndex,ipNetToPhysicalNetAddressType,"));
    QProcess exporter;
    exporter.start(mibProgram(), ExportArguments(QStringLiteral("MIB_IPRouting"), QStringLiteral("-")));
    ASSERT_TRUE(exporter.waitForFinished(20000));
    EXPECT_EQ(exporter.exitCode(), 0) << exporter.readAllStandardError().toStdString();
    EXPECT_EQ(
        QString::fromUtf8(exporter.readAllStandardOutput()),
        QStringLiteral("inetCidrRouteDestType,inetCidrRouteDest,inetCidrRoutePfxLen,inetCidrRoutePolicy,"
                       "inetCidrRouteNextHopType,inetCidrRouteNextHop,inetCidrRouteIfIndex,inetCidrRouteType,"
                       "inetCidrRouteProto,inetCidrRouteAge,inetCidrRouteMetric1\r\n"));
}

// Every window, frame included, fits 1920 x 1080 at scale 2 less a panel, buttons inside.
TEST_F(ViewerOfTheAccessPoint, EveryWindowFitsAHalvedFullHdScreen) {
    TMainForm module({"/I127.0.0.1", "/t" + QString::number(Sim()->Port()), "/v1"});
    module.show();
    for (const char* entry : {"StationConfiguration1", "APModeConfiguration1", "PrivacyConfiguration1",
                              "OperationConfiguration1", "CounterTable1", "ManufactureInformation1",
                              "Operation1", "Antenna1", "TxPower1", "DSS1", "Notifications1", "About1"})
        module.findChild<QAction*>(entry)->trigger();
    std::vector<std::unique_ptr<TMibViewForm>> views;
    for (int i = 0; i < MibViewCount; ++i) {
        views.push_back(
            std::make_unique<TMibViewForm>(OvMibViewAt(i), Sim()->Address(), TSNMPSession::DefaultTarget()));
        views.back()->show();
    }
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible())
            continue;
        w->resize(1, 1); // as small as it lets itself be made; then borders and title bar
        EXPECT_TRUE(w->width() + 8 <= 960 && w->height() + 36 <= 520) << w->windowTitle().toStdString();
        for (const QPushButton* b : w->findChildren<QPushButton*>())
            EXPECT_TRUE(b->window() != w || w->rect().contains(QRect(b->mapTo(w, QPoint()), b->size())))
                << b->text().toStdString();
    }
}
