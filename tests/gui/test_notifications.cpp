// The Notifications window of the main window, fed by net-snmp's senders on loopback.
#include "NotificationSender.h"
#include "SimulatorSuite.h"
#include "TestAgent.h"
#include "TestSupport.h"
#include "app/TMainForm.h"
#include "app/TNotificationsForm.h"
#include "binding/OvFeedback.h"
#include "notify/OvNotificationCentre.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <sys/stat.h>

namespace {

class NotificationsWindow : public SimulatorSuite {
protected:
    void SetUp() override {
        SimulatorSuite::SetUp();
        Previous = qgetenv("XDG_STATE_HOME");
        qputenv("XDG_STATE_HOME", State.path().toUtf8());
        Port = TestAgent::FreeUdpPort();
    }
    void TearDown() override { qputenv("XDG_STATE_HOME", Previous); }

    std::unique_ptr<TMainForm> start(quint16 notificationPort) {
        return std::make_unique<TMainForm>(
            QStringList{QStringLiteral("/I127.0.0.1"), QStringLiteral("/t") + QString::number(Sim()->Port()),
                        QStringLiteral("/v1"), QStringLiteral("/N") + QString::number(notificationPort)});
    }
    TNotificationsForm* open(TMainForm& form) {
        auto* action = form.findChild<QAction*>(QStringLiteral("Notifications1"));
        EXPECT_NE(action, nullptr);
        if (action)
            action->trigger();
        return form.NotificationsForm;
    }
    template <class W> static W* child(QWidget* w, const char* name) {
        auto* found = w->findChild<W*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    static QString cell(QAbstractItemModel* m, int row, int column) {
        return m->index(row, column).data().toString();
    }
    int sendTrap(const QString& oid, const QStringList& bindings = {}) {
        return Sender.Send(QStringLiteral("snmptrap"),
                           {QStringLiteral("-v2c"), QStringLiteral("-c"), QStringLiteral("qubsen")}, Port,
                           QStringList{QStringLiteral("500"), oid} + bindings);
    }

    QTemporaryDir State;
    QByteArray Previous;
    quint16 Port = 0;
    NotificationSender Sender;
};

TEST_F(NotificationsWindow, ShowsWhatWasSentNewestOnTopAndTheLogReadsBackEqual) {
    auto form = start(Port);
    TNotificationsForm* window = open(*form);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(sendTrap(QStringLiteral("1.2.840.10036.1.6.0.3"),
                       {QStringLiteral("1.2.840.10036.1.5.1.6.1"), QStringLiteral("x"),
                        QStringLiteral("001A2B3C4D5E")}),
              0);
    ASSERT_EQ(Sender.Send(QStringLiteral("snmpinform"),
                          {QStringLiteral("-v2c"), QStringLiteral("-c"), QStringLiteral("qubsen")}, Port,
                          {QStringLiteral("500"), QStringLiteral("1.3.6.1.6.3.1.1.5.1")}),
              0)
        << "the inform is acknowledged";
    auto* table = child<QTableView>(window, "NotificationsTable");
    QAbstractItemModel* rows = table->model();
    ASSERT_TRUE(WaitFor([rows] { return rows->rowCount() == 2; }));
    EXPECT_EQ(cell(rows, 0, 4), QStringLiteral("coldStart"));
    EXPECT_EQ(cell(rows, 0, 3), QStringLiteral("inform"));
    EXPECT_EQ(cell(rows, 1, 4), QStringLiteral("dot11AuthenticateFail"));
    EXPECT_EQ(cell(rows, 1, 2), QStringLiteral("v2c"));
    EXPECT_TRUE(cell(rows, 1, 1).startsWith(QStringLiteral("127.0.0.1:")));
    EXPECT_EQ(cell(rows, 1, 5), QStringLiteral("dot11AuthenticateFailStation.1 = 00 1A 2B 3C 4D 5E"));

    table->selectRow(1);
    auto* detail = child<QTableWidget>(window, "DetailTable");
    ASSERT_EQ(detail->rowCount(), 3);
    EXPECT_EQ(detail->item(0, 0)->text(), QStringLiteral("sysUpTime.0"));
    EXPECT_EQ(detail->item(0, 3)->text(), QStringLiteral("0:00:05.00"));
    EXPECT_EQ(detail->item(1, 3)->text(), QStringLiteral("dot11AuthenticateFail"));
    EXPECT_EQ(detail->item(2, 1)->text(), QStringLiteral("1.2.840.10036.1.5.1.6.1"));

    // The log holds the same, oldest first, one JSON object per line.
    const auto logged = OvNotificationLog::Read(form->Notifications->Log()->Path(), 100);
    ASSERT_EQ(logged.size(), 2u);
    EXPECT_TRUE(logged[0] == form->Notifications->Model().At(1));
    EXPECT_TRUE(logged[1] == form->Notifications->Model().At(0));
    EXPECT_TRUE(form->Notifications->Log()->Path().startsWith(State.path() + QStringLiteral("/velmarn/")));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Velmarn + : 127.0.0.1")) << "the caption stays";

    // A pipe chosen as a log is refused at once (opening it would wait for a writer).
    QTemporaryDir dir;
    const QString pipe = dir.filePath(QStringLiteral("log.jsonl"));
    ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    OvFeedback::TakeShown();
    window->OpenLog(pipe);
    EXPECT_EQ(OvFeedback::TakeShown().size(), 1u);
    EXPECT_EQ(rows->rowCount(), 2) << "the list stays as it was";
}

TEST_F(NotificationsWindow, FilterPauseClearAndCsv) {
    auto form = start(Port);
    TNotificationsForm* window = open(*form);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(sendTrap(QStringLiteral("1.3.6.1.6.3.1.1.5.3")), 0);
    ASSERT_EQ(sendTrap(QStringLiteral("1.3.6.1.6.3.1.1.5.4")), 0);
    QAbstractItemModel* rows = child<QTableView>(window, "NotificationsTable")->model();
    ASSERT_TRUE(WaitFor([rows] { return rows->rowCount() == 2; }));

    child<QLineEdit>(window, "FilterEdit")->setText(QStringLiteral("linkdown"));
    ASSERT_EQ(rows->rowCount(), 1);
    EXPECT_EQ(cell(rows, 0, 4), QStringLiteral("linkDown"));
    QTemporaryDir dir;
    const QString csvFile = dir.filePath(QStringLiteral("n.csv"));
    ASSERT_TRUE(window->SaveCsv(csvFile));
    QFile csv(csvFile);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = csv.readAll().split('\n');
    ASSERT_EQ(lines.size(), 3); // header, one row, nothing after the last line break
    EXPECT_TRUE(lines[1].contains(",linkDown,1.3.6.1.6.3.1.1.5.3,")) << lines[1].constData();
    child<QLineEdit>(window, "FilterEdit")->clear();

    auto* pause = child<QPushButton>(window, "PauseButton");
    pause->click();
    ASSERT_EQ(sendTrap(QStringLiteral("1.3.6.1.6.3.1.1.5.5")), 0);
    ASSERT_TRUE(WaitFor([&form] { return form->Notifications->ReceivedCount() == 3; }));
    ASSERT_TRUE(WaitFor([window] {
        return window->findChild<QLabel*>(QStringLiteral("NotificationsStatus"))
            ->text()
            .contains(QStringLiteral("Paused: 1 waiting"));
    }));
    EXPECT_EQ(rows->rowCount(), 2) << "paused";
    pause->click();
    EXPECT_EQ(rows->rowCount(), 3);
    EXPECT_EQ(cell(rows, 0, 4), QStringLiteral("authenticationFailure"));

    child<QPushButton>(window, "ClearButton")->click();
    EXPECT_EQ(rows->rowCount(), 0);
    EXPECT_EQ(OvNotificationLog::Read(form->Notifications->Log()->Path(), 100).size(), 3u)
        << "the log keeps them";
}

TEST_F(NotificationsWindow, UnseenArrivalsAreCountedInItsTitleAndOtherAddressesInItsStatus) {
    auto form = start(Port);
    TNotificationsForm* window = open(*form);
    ASSERT_NE(window, nullptr);
    window->hide();
    ASSERT_EQ(sendTrap(QStringLiteral("1.3.6.1.6.3.1.1.5.3")), 0);
    ASSERT_TRUE(WaitFor([window] { return window->UnseenCount() == 1; }));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Notifications : 127.0.0.1 (1 unseen)"));
    window->show();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Notifications : 127.0.0.1"));

    QUdpSocket other;
    ASSERT_TRUE(other.bind(QHostAddress(QStringLiteral("127.0.0.9")), 0));
    other.writeDatagram(QByteArray("not from the device"), QHostAddress(QStringLiteral("127.0.0.1")), Port);
    auto* status = child<QLabel>(window, "NotificationsStatus");
    ASSERT_TRUE(WaitFor([status] { return status->text().contains(QStringLiteral("127.0.0.9:")); }));
    EXPECT_TRUE(status->text().contains(QStringLiteral("From other addresses (not shown): 1")))
        << status->text();
    EXPECT_EQ(form->Notifications->ReceivedCount(), 1);
}

TEST_F(NotificationsWindow, TheSimulatedAccessPointsNotificationsAreShown) {
    auto form = start(Port);
    TNotificationsForm* window = open(*form);
    ASSERT_NE(window, nullptr);
    QProcess sim;
    sim.setProcessChannelMode(QProcess::ForwardedChannels);
    sim.start(QStringLiteral(VELMARN_TEST_SUPPORT "/../../scripts/sim-agent"),
              {QStringLiteral("--notify"), QString::number(Port)});
    ASSERT_TRUE(WaitFor([&sim] { return sim.state() == QProcess::NotRunning; }, 20000));
    EXPECT_EQ(sim.exitCode(), 0) << "the inform is acknowledged";
    QAbstractItemModel* rows = child<QTableView>(window, "NotificationsTable")->model();
    ASSERT_TRUE(WaitFor([rows] { return rows->rowCount() == 4; }));
    const QStringList expected{"linkUp", "dot11AuthenticateFail", "linkDown", "coldStart"};
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(cell(rows, r, 4), expected[r]);
    EXPECT_EQ(cell(rows, 0, 5), QStringLiteral("ifIndex.2 = 2; ifOperStatus.2 = 1"));
    EXPECT_EQ(cell(rows, 2, 5), QStringLiteral("ifIndex.2 = 2; ifAdminStatus.2 = 1; ifOperStatus.2 = 2"));
}

TEST_F(NotificationsWindow, APortThatCannotBeOpenedIsToldAndTheRestWorks) {
    QUdpSocket taken;
    ASSERT_TRUE(taken.bind(QHostAddress(QStringLiteral("127.0.0.1")), Port));
    auto form = start(Port);
    TNotificationsForm* window = open(*form);
    ASSERT_NE(window, nullptr);
    auto* warning = child<QLabel>(window, "ListenWarning");
    EXPECT_FALSE(warning->isHidden());
    EXPECT_TRUE(warning->text().contains(QStringLiteral("UDP port %1 cannot be opened").arg(Port)))
        << warning->text();
    EXPECT_TRUE(warning->text().contains(QStringLiteral("/N"))) << warning->text();
    auto* status = form->findChild<QLabel*>(QStringLiteral("StatusPanel"));
    ASSERT_TRUE(WaitFor([status] { return status->text().startsWith(QStringLiteral("Get: Ok!")); }))
        << status->text();
}

} // namespace
