// The viewer program: a view window, its CSV export, /O without a display, and its
// start from the module's menu.
#include "SnmpdSuite.h"
#include "TestSupport.h"
#include "app/TMainForm.h"
#include "binding/OvFeedback.h"
#include "errors/OvErrors.h"
#include "mib/OvMibViews.h"
#include "viewer/TMibViewForm.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTreeWidget>
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

} // namespace
TEST_F(Viewer, CounterViewShowsChangesAndSavesWhatItShows) {
    TMibViewForm form(*OvFindMibView(QStringLiteral("MIB_SNMPCounters")), Agent->Address(), V2c());
    form.findChild<QComboBox*>(QStringLiteral("IntervalBox"))->setCurrentIndex(0); // every second
    auto* rows = form.findChild<QTreeWidget*>(QStringLiteral("Rows"));
    ASSERT_NE(rows, nullptr);
    // snmpInPkts grows with every read: its Delta shows from the second read on.
    auto inPackets = [rows]() -> QTreeWidgetItem* {
        const auto found = rows->findItems(QStringLiteral("snmpInPkts"), Qt::MatchExactly, 0);
        return found.isEmpty() ? nullptr : found.first();
    };
    ASSERT_TRUE(WaitFor([&] { return inPackets() && inPackets()->text(2).toInt() > 0; }, 8000));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("snmp.csv"));
    ASSERT_TRUE(form.SaveCsv(file));
    const QStringList lines = CsvLines(file);
    EXPECT_EQ(lines.value(0), QStringLiteral("Object,Value,Delta,Rate"));
    EXPECT_EQ(lines.size(), rows->topLevelItemCount() + 1);
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
        TMainForm::ProcessStarter = [&](const QString&, const QStringList& a, const QProcessEnvironment& e) {
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
        viewer.setWorkingDirectory(QDir::tempPath());
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
               {QStringLiteral("/I999.1.1.1"), port, QStringLiteral("/TMIB_Info")},
               false,
               "Invalid IP Address or DNS name!"},
          Case{"security model",
               {QStringLiteral("/I127.0.0.1"), port, QStringLiteral("/v3"), QStringLiteral("/m2"),
                QStringLiteral("/TMIB_Info")},
               false,
               "Unsupported Security Model!"},
          Case{"send refused",
               {QStringLiteral("/I127.255.255.255"), port, community, QStringLiteral("/TMIB_IFTable")},
               false,
               "Transport operation failed!"}}) {
        QProcess viewer;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY")); // no windowing at all
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        viewer.setProcessEnvironment(environment);
        viewer.setWorkingDirectory(QDir::tempPath());
        Agent->SetSilent(c.Silent);
        const QString output =
            QStringLiteral("/O") + (QLatin1String(c.Name) == QLatin1String("no file name")
                                        ? QString()
                                        : QDir::tempPath() + QStringLiteral("/velmarn-never.csv"));
        viewer.start(mibProgram(), c.Arguments + QStringList{output});
        const bool finished = viewer.waitForFinished(20000);
        Agent->SetSilent(false);
        ASSERT_TRUE(finished) << c.Name;
        EXPECT_EQ(viewer.exitCode(), 1) << c.Name;
        EXPECT_TRUE(QString::fromLocal8Bit(viewer.readAllStandardError()).contains(QLatin1String(c.Message)))
            << c.Name;
        EXPECT_FALSE(QFile::exists(QDir::tempPath() + QStringLiteral("/velmarn-never.csv"))) << c.Name;
    }
}

TEST_F(Viewer, InformationViewWritesTheTickedObjectsOnly) {
    TMibViewForm form(*OvFindMibView(QStringLiteral("MIB_Info")), Agent->Address(), V2c());
    const auto edits = form.findChildren<QLineEdit*>();
    const auto ticks = form.findChildren<QCheckBox*>();
    ASSERT_EQ(edits.size(), 3); // sysContact, sysName, sysLocation
    ASSERT_EQ(ticks.size(), 3);
    ASSERT_TRUE(WaitFor([&] { return !edits[1]->text().isEmpty(); }, 5000)); // sysName read
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
