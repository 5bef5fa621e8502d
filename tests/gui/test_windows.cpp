// The configuration windows against the simulated access point.
#include "SimulatorSuite.h"
#include "TestAgent.h"
#include "TestRelay.h"
#include "TestSupport.h"

#include "binding/OvFeedback.h"
#include "catalogue/OvCatalogue.h"
#include "device/TConfigForms.h"
#include "snmp/TSNMPSession.h"

#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>
#include <QElapsedTimer>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <gtest/gtest.h>

namespace {

class Windows : public SimulatorSuite {
protected:
    void SetUp() override {
        SimulatorSuite::SetUp();
        OvFeedback::TakeShown();
    }
    static QStringList memoLines(TConfigForm& f) {
        return f.EditorPanel()->MessagePanel->Memo->toPlainText().split(QLatin1Char('\n'),
                                                                        Qt::SkipEmptyParts);
    }
    static bool waitForLines(TConfigForm& f, int n) {
        return WaitFor([&f, n] { return memoLines(f).size() >= n; }, 6000);
    }
    static QString shown(TConfigForm& f, int row) {
        QWidget* c = f.LayoutRows()[static_cast<size_t>(row)].Control;
        if (auto* e = qobject_cast<QLineEdit*>(c))
            return e->text();
        if (auto* b = qobject_cast<QComboBox*>(c))
            return b->currentText();
        if (auto* l = qobject_cast<QLabel*>(c))
            return l->text();
        return QString();
    }
    static QCheckBox* tick(TConfigForm& f, int row) {
        return f.LayoutRows()[static_cast<size_t>(row)].CheckBox;
    }
};

template <class Form> std::unique_ptr<Form> open(const char* title) {
    return std::make_unique<Form>(nullptr, QString::fromLatin1(title), QStringLiteral("127.0.0.1"));
}

// The AP mode window once its first read has answered.
std::unique_ptr<TAPModeConfigForm> openAPMode() {
    auto ap = open<TAPModeConfigForm>("AP Mode Configuration");
    WaitFor([&ap] { return !ap->EditorPanel()->MessagePanel->Memo->toPlainText().isEmpty(); }, 6000);
    return ap;
}

} // namespace

TEST_F(Windows, EveryWindowOpensWithItsCaptionAndReadsTheDevice) {
    auto station = open<TStationConfigForm>("Station Configuration");
    auto privacy = open<TPrivacyConfigurationForm>("Privacy Configuration");
    auto mac = open<TOperationForm>("MAC Operation");
    auto maker = open<TManufactureForm>("Manufacture Information1");
    auto phy = open<TPhyOperationForm>("PHY Operation");
    auto antenna = open<TAntennaForm>("Antenna");
    auto power = open<TTxPowerForm>("Tx Power");
    auto dss = open<TDSSForm>("DSS");
    EXPECT_EQ(station->windowTitle(), QStringLiteral("Station Configuration : 127.0.0.1"));
    EXPECT_EQ(maker->windowTitle(), QStringLiteral("Manufacture Information1 : 127.0.0.1"));
    for (TConfigForm* f :
         std::initializer_list<TConfigForm*>{station.get(), privacy.get(), mac.get(), maker.get(), phy.get(),
                                             antenna.get(), power.get(), dss.get()}) {
        ASSERT_TRUE(waitForLines(*f, 1)) << f->windowTitle();
        EXPECT_TRUE(memoLines(*f).first().startsWith(QStringLiteral("Get: Ok!."))) << memoLines(*f).first();
        EXPECT_GE(f->width(), 400);
    }
    EXPECT_EQ(shown(*station, 0), QStringLiteral("00 90 2B 1A 2C 3D"));
    EXPECT_EQ(shown(*station, 2), QStringLiteral("active"));
    EXPECT_EQ(shown(*station, 6), QStringLiteral("100"));
    EXPECT_EQ(shown(*privacy, 0), QStringLiteral("both"));
    EXPECT_EQ(shown(*privacy, 3), QStringLiteral("w-128Bit"));
    EXPECT_EQ(shown(*mac, 10), QStringLiteral("Velmarn+ AP-11b"));
    EXPECT_EQ(shown(*maker, 1), QStringLiteral("Orvanta Networks"));
    EXPECT_EQ(shown(*phy, 3), QStringLiteral("etsi"));
    EXPECT_EQ(shown(*antenna, 1), QStringLiteral("dynamic"));
    EXPECT_EQ(shown(*power, 9), QStringLiteral("4"));
    EXPECT_EQ(shown(*dss, 4), QStringLiteral("-70"));
    EXPECT_EQ(shown(*dss, 3), QStringLiteral("csonly"));
}

TEST_F(Windows, ReadOnlyWindowsShowOnlyRefreshAndClose) {
    std::vector<std::unique_ptr<TConfigForm>> forms;
    forms.push_back(open<TManufactureForm>("Manufacture Information1"));
    forms.push_back(open<TAntennaForm>("Antenna"));
    forms.push_back(open<TTxPowerForm>("Tx Power"));
    for (auto& f : forms) {
        TCtrlBtnPanel* b = f->EditorPanel()->ButtonPanel;
        EXPECT_FALSE(b->RefreshButton->isHidden());
        EXPECT_FALSE(b->CloseButton->isHidden());
        for (QWidget* w :
             {static_cast<QWidget*>(b->SetCheckedButton), static_cast<QWidget*>(b->SelectAllButton),
              static_cast<QWidget*>(b->SelectNoneButton), static_cast<QWidget*>(b->SetButton)})
            EXPECT_TRUE(w->isHidden());
        for (const TUIItemInfo& row : f->LayoutRows())
            if (row.CheckBox) {
                EXPECT_FALSE(row.CheckBox->isChecked());
                EXPECT_FALSE(row.CheckBox->isEnabled());
            }
        waitForLines(*f, 1);
    }
}

TEST_F(Windows, SetWritesExactlyTheTickedRows) {
    auto mac = open<TOperationForm>("MAC Operation");
    ASSERT_TRUE(waitForLines(*mac, 1));
    ToolSet(QStringLiteral("1.3.6.1.4.1.32473.1.3.2.1.3.0"), QStringLiteral("i"), QStringLiteral("7"));
    mac->EditorPanel()->ButtonPanel->SelectNoneButton->click();
    tick(*mac, 1)->setChecked(true);
    qobject_cast<QLineEdit*>(mac->LayoutRows()[1].Control)->setText(QStringLiteral("1500"));
    qobject_cast<QLineEdit*>(mac->LayoutRows()[2].Control)->setText(QStringLiteral("3")); // not ticked
    mac->EditorPanel()->ButtonPanel->SetCheckedButton->click();
    ASSERT_TRUE(waitForLines(*mac, 3));
    EXPECT_TRUE(memoLines(*mac)[1].startsWith(QStringLiteral("Set: Ok!."))) << memoLines(*mac)[1];
    EXPECT_TRUE(memoLines(*mac)[2].startsWith(QStringLiteral("Get: Ok!.")));
    EXPECT_TRUE(
        ToolGet(QStringLiteral("1.3.6.1.4.1.32473.1.3.2.1.2.0")).endsWith(QStringLiteral("INTEGER: 1500")));
    EXPECT_TRUE(
        ToolGet(QStringLiteral("1.3.6.1.4.1.32473.1.3.2.1.3.0")).endsWith(QStringLiteral("INTEGER: 7")));
    EXPECT_EQ(shown(*mac, 2), QStringLiteral("7")); // the window shows what the device holds
    for (int i = 0; i < mac->Request()->VarList().Count(); ++i)
        EXPECT_FALSE(mac->Request()->VarList().Item(i)->Access & OvAccess::invalid);
}

TEST_F(Windows, SetWithNothingTickedSendsNothing) {
    auto dss = open<TDSSForm>("DSS");
    ASSERT_TRUE(waitForLines(*dss, 1));
    const QString before = ToolGet(QStringLiteral("1.3.6.1.4.1.32473.1.3.4.4.1.0"));
    qobject_cast<QLineEdit*>(dss->LayoutRows()[0].Control)->setText(QStringLiteral("11"));
    dss->EditorPanel()->ButtonPanel->SelectNoneButton->click();
    dss->EditorPanel()->ButtonPanel->SetCheckedButton->click();
    ASSERT_TRUE(waitForLines(*dss, 2));
    EXPECT_TRUE(memoLines(*dss)[1].startsWith(QStringLiteral("Set: Nothing was ticked!.")))
        << memoLines(*dss)[1];
    QTest::qWait(300);
    EXPECT_EQ(memoLines(*dss).size(), 2); // and no read follows
    EXPECT_EQ(ToolGet(QStringLiteral("1.3.6.1.4.1.32473.1.3.4.4.1.0")), before);
}

TEST_F(Windows, AReadThatFailedLeavesNothingToWrite) {
    const QString ssid = QStringLiteral("1.3.6.1.4.1.32473.1.3.1.1.4.0");
    const QString beacon = QStringLiteral("1.3.6.1.4.1.32473.1.3.1.1.7.0");
    const QString ssidBefore = ToolGet(ssid);
    Sim()->SetSilent(true); // what it receives meanwhile, it answers when it goes on
    auto station = open<TStationConfigForm>("Station Configuration");
    ASSERT_TRUE(waitForLines(*station, 1));
    EXPECT_TRUE(memoLines(*station)[0].startsWith(QStringLiteral("Get: SNMP request timed out!")));
    station->EditorPanel()->ButtonPanel->SetCheckedButton->click(); // every writable row ticked
    ASSERT_TRUE(waitForLines(*station, 2));
    EXPECT_TRUE(memoLines(*station)[1].startsWith(QStringLiteral(
        "Set: Bad value of the associated SNMP variable's (partial) data! (dot11DesiredSSID).")))
        << memoLines(*station)[1];
    // A value the user types can still be written.
    station->EditorPanel()->ButtonPanel->SelectNoneButton->click();
    tick(*station, 6)->setChecked(true);
    QTest::keyClicks(qobject_cast<QLineEdit*>(station->LayoutRows()[6].Control), QStringLiteral("120"));
    Sim()->SetSilent(false);
    station->EditorPanel()->ButtonPanel->SetCheckedButton->click();
    ASSERT_TRUE(waitForLines(*station, 4));
    EXPECT_TRUE(memoLines(*station)[2].startsWith(QStringLiteral("Set: Ok!."))) << memoLines(*station)[2];
    EXPECT_TRUE(ToolGet(beacon).endsWith(QStringLiteral("INTEGER: 120")));
    EXPECT_EQ(ToolGet(ssid), ssidBefore); // the empty edits were never sent
    ToolSet(beacon, QStringLiteral("i"), QStringLiteral("100"));
}

TEST_F(Windows, InvalidValueAnywhereBlocksTheSet) {
    auto mac = open<TOperationForm>("MAC Operation");
    ASSERT_TRUE(waitForLines(*mac, 1));
    const QString before = ToolGet(QStringLiteral("1.3.6.1.4.1.32473.1.3.2.1.4.0"));
    mac->EditorPanel()->ButtonPanel->SelectNoneButton->click();
    tick(*mac, 3)->setChecked(true);
    qobject_cast<QLineEdit*>(mac->LayoutRows()[3].Control)->setText(QStringLiteral("9"));
    qobject_cast<QLineEdit*>(mac->LayoutRows()[4].Control)
        ->setText(QStringLiteral("99999999999")); // unticked
    OvFeedback::TakeShown();
    mac->EditorPanel()->ButtonPanel->SetCheckedButton->click();
    const auto boxes = OvFeedback::TakeShown();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0].Text, QStringLiteral("Please enter a number between -2147483648 and 2147483647!"));
    WaitFor([] { return false; }, 300);
    EXPECT_EQ(ToolGet(QStringLiteral("1.3.6.1.4.1.32473.1.3.2.1.4.0")), before);
    EXPECT_EQ(memoLines(*mac).size(), 1);
}

TEST_F(Windows, AnEmptySsidIsWrittenAsAnEmptyString) {
    const QString ssid = QStringLiteral("1.3.6.1.4.1.32473.1.3.1.1.4.0");
    auto station = open<TStationConfigForm>("Station Configuration");
    ASSERT_TRUE(waitForLines(*station, 1));
    auto* edit = qobject_cast<QLineEdit*>(station->LayoutRows()[3].Control);
    EXPECT_EQ(edit->cursorPosition(), 0); // a long value shows from its start
    edit->clear();
    station->EditorPanel()->ButtonPanel->SetCheckedButton->click();
    ASSERT_TRUE(waitForLines(*station, 3));
    EXPECT_TRUE(memoLines(*station)[1].startsWith(QStringLiteral("Set: Ok!."))) << memoLines(*station)[1];
    EXPECT_TRUE(ToolGet(ssid).endsWith(QStringLiteral("\"\""))) << ToolGet(ssid);
    EXPECT_EQ(edit->text(), QString()); // read back empty, not "(NULL)"
    ToolSet(ssid, QStringLiteral("s"), QStringLiteral("Velmarn-Lab"));
}

// The longest SSID, 32 octets, is read whole in its edit where the screen has the room;
// in a narrower window the edit narrows with it, its text scrolling, and stays inside.
TEST_F(Windows, ALongestSsidIsShownWhole) {
    const QString ssid = QStringLiteral("1.3.6.1.4.1.32473.1.3.1.1.4.0");
    ToolSet(ssid, QStringLiteral("s"), QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW"));
    auto station = open<TStationConfigForm>("Station Configuration");
    station->show();
    ASSERT_TRUE(waitForLines(*station, 1));
    auto* edit = qobject_cast<QLineEdit*>(station->LayoutRows()[3].Control);
    EXPECT_EQ(edit->text(), QString(QStringLiteral("57 ")).repeated(32).trimmed());
    EXPECT_LE(station->width(), station->screen()->availableGeometry().width());
    station->resize(station->EditorPanel()->RequiredSize());
    EXPECT_LE(edit->fontMetrics().horizontalAdvance(edit->text()), edit->width() - 8);
    EXPECT_LE(edit->mapTo(station.get(), QPoint(edit->width(), 0)).x(), station->width());
    const int whole = edit->width();
    station->resize(1, station->height()); // as narrow as it goes
    EXPECT_LT(edit->width(), whole);
    EXPECT_LE(edit->mapTo(station.get(), QPoint(edit->width(), 0)).x(), station->width());
    ToolSet(ssid, QStringLiteral("s"), QStringLiteral("Velmarn-Lab"));
}

TEST_F(Windows, EditsSayWhatTheyTake) {
    auto station = open<TStationConfigForm>("Station Configuration");
    auto ap = openAPMode();
    EXPECT_EQ(station->LayoutRows()[3].Control->toolTip(),
              QStringLiteral("hex octets, e.g. 4C 61 62; 0..32 octets (IEEE 802.11 MIB)")); // SSID
    EXPECT_EQ(station->LayoutRows()[6].Control->toolTip(),
              QStringLiteral("integer; 1..65535 (IEEE 802.11 MIB)")); // beacon period
    EXPECT_TRUE(ap->ParameterEdits[1]->toolTip().startsWith(QStringLiteral("IPv4 address")));
}

namespace {
// The room the style gives a combo box's label at the box's width, less the pixel it
// keeps free on either side when it draws it.
int labelRoom(const QComboBox& box) {
    QStyleOptionComboBox option;
    option.initFrom(&box);
    option.editable = box.isEditable();
    option.frame = box.hasFrame();
    return box.style()
               ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &box)
               .width() -
           2;
}
} // namespace

TEST_F(Windows, SelectionListsShowTheirLongestLabelWhole) {
    std::vector<std::unique_ptr<TConfigForm>> forms;
    forms.push_back(openAPMode()); // "backupAccessPoint" is the longest of all
    forms.push_back(open<TStationConfigForm>("Station Configuration"));
    forms.push_back(open<TPrivacyConfigurationForm>("Privacy Configuration"));
    forms.push_back(open<TOperationForm>("MAC Operation"));
    forms.push_back(open<TPhyOperationForm>("PHY Operation"));
    forms.push_back(open<TDSSForm>("DSS"));
    int boxes = 0;
    for (auto& f : forms) {
        waitForLines(*f, 1);
        for (const TUIItemInfo& row : f->LayoutRows()) {
            const auto* box = qobject_cast<const QComboBox*>(row.Control);
            if (!box)
                continue;
            ++boxes;
            for (int i = 0; i < box->count(); ++i)
                EXPECT_LE(box->fontMetrics().horizontalAdvance(box->itemText(i)), labelRoom(*box))
                    << f->windowTitle() << ": " << box->itemText(i) << " in " << box->width() << " pixels";
        }
    }
    EXPECT_GE(boxes, 5);
}

TEST_F(Windows, APModeRulePerMode) {
    ToolSet(QStringLiteral("1.3.6.1.4.1.32473.1.3.1.2.1.0"), QStringLiteral("i"),
            QStringLiteral("6")); // repeater
    auto ap = openAPMode();
    EXPECT_EQ(ap->ModeBox->currentText(), QStringLiteral("repeater"));
    auto state = [&ap] {
        QString s;
        for (size_t i = 0; i < 3; ++i)
            s += (ap->ParameterChecks[i]->isChecked() && ap->ParameterChecks[i]->isEnabled() &&
                  ap->ParameterEdits[i]->isEnabled())
                     ? QLatin1Char('1')
                 : (!ap->ParameterChecks[i]->isChecked() && !ap->ParameterChecks[i]->isEnabled() &&
                    !ap->ParameterEdits[i]->isEnabled())
                     ? QLatin1Char('0')
                     : QLatin1Char('?');
        return s;
    };
    EXPECT_EQ(state(), QStringLiteral("100"));
    const char* expected[] = {"000", "100", "100", "000", "110", "100", "001"};
    for (int mode = 0; mode < 7; ++mode) {
        ap->ModeBox->setCurrentIndex(mode);
        EXPECT_EQ(state(), QString::fromLatin1(expected[mode])) << "mode " << mode;
    }
    ap->ModeBox->setCurrentIndex(4);
    EXPECT_EQ(state(), QStringLiteral("110"));
    ap->ModeBox->setCurrentIndex(0);
    EXPECT_EQ(state(), QStringLiteral("000"));
    ap->ModeBox->setCurrentIndex(-1);
    EXPECT_EQ(state(), QStringLiteral("000"));
}

TEST_F(Windows, APModeSetWritesTheModeAndItsParameters) {
    auto ap = openAPMode();
    ap->ModeBox->setCurrentIndex(4); // backupAccessPoint
    ap->ParameterEdits[0]->setText(QStringLiteral("00:0A:0B:0C:0D:0E"));
    ap->ParameterEdits[1]->setText(QStringLiteral("10.1.2.3"));
    // The group ID row is not ticked: it is collected (it shows what the device holds) but
    // not sent, so a change the agent made meanwhile survives.
    ToolSet(QStringLiteral("1.3.6.1.4.1.32473.1.3.1.2.4.0"), QStringLiteral("s"), QStringLiteral("group-9"));
    ap->EditorPanel()->ButtonPanel->SetCheckedButton->click();
    ASSERT_TRUE(waitForLines(*ap, 3)); // the first read, the Set and the read after it
    EXPECT_TRUE(
        ToolGet(QStringLiteral("1.3.6.1.4.1.32473.1.3.1.2.1.0")).endsWith(QStringLiteral("INTEGER: 5")));
    EXPECT_TRUE(ToolGet(QStringLiteral("1.3.6.1.4.1.32473.1.3.1.2.2.0"))
                    .endsWith(QStringLiteral("00 0A 0B 0C 0D 0E")));
    EXPECT_TRUE(
        ToolGet(QStringLiteral("1.3.6.1.4.1.32473.1.3.1.2.3.0")).endsWith(QStringLiteral("10.1.2.3")));
    EXPECT_TRUE(
        ToolGet(QStringLiteral("1.3.6.1.4.1.32473.1.3.1.2.4.0")).endsWith(QStringLiteral("\"group-9\"")));
    EXPECT_TRUE(memoLines(*ap).join(QLatin1Char('|')).contains(QStringLiteral("Set: Ok!.")))
        << memoLines(*ap).join(QLatin1Char('|'));
}

TEST_F(Windows, OnlyRowsToBeSentCanStopTheSetAndTheRowIsNamed) {
    auto ap = openAPMode();
    const QString mode = QStringLiteral("1.3.6.1.4.1.32473.1.3.1.2.1.0");
    const QString before = ToolGet(mode);
    ap->ModeBox->setCurrentIndex(4); // backupAccessPoint: MAC and server address rows ticked
    ap->ParameterEdits[1]->setText(QStringLiteral("300.1.2.3"));
    ap->EditorPanel()->ButtonPanel->SetCheckedButton->click();
    EXPECT_EQ(ToolGet(mode), before);
    EXPECT_TRUE(memoLines(*ap).last().startsWith(
        QStringLiteral("Set: Bad value of the associated SNMP variable's (partial) data! "
                       "(dot11BackupAPRemoteServerIPAddress). Receive at ")))
        << memoLines(*ap).last();

    ap->ParameterEdits[1]->setText(QStringLiteral("10.0.0.9"));
    ap->ModeBox->setCurrentIndex(1);                      // wirelessBridge: the address row is unticked
    ap->ParameterEdits[2]->setText(QStringLiteral("ZZ")); // not hex, in an unticked row
    const int lines = memoLines(*ap).size();
    ap->EditorPanel()->ButtonPanel->SetCheckedButton->click();
    ASSERT_TRUE(waitForLines(*ap, lines + 2));
    EXPECT_TRUE(ToolGet(mode).endsWith(QStringLiteral("INTEGER: 2"))) << ToolGet(mode);
    EXPECT_TRUE(memoLines(*ap)[lines].startsWith(QStringLiteral("Set: Ok!."))) << memoLines(*ap)[lines];
    ToolSet(mode, QStringLiteral("i"), before.section(QLatin1Char(' '), -1));
}

TEST_F(Windows, APModeAgainstADeadAgentSaysSoAndOpens) {
    TSNMPSession::DefaultTarget().Device.Port = TestAgent::FreeUdpPort();
    QElapsedTimer opening;
    opening.start();
    auto ap = open<TAPModeConfigForm>("AP Mode Configuration");
    EXPECT_LT(opening.elapsed(), 500); // the window does not wait for the agent
    QList<OvFeedback::Shown> boxes;
    WaitFor([&boxes] {
        boxes += OvFeedback::TakeShown();
        return !boxes.empty();
    });
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0].Text, QStringLiteral("SNMP request timed out!"));
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(ap->ParameterEdits[i]->isEnabled());
        EXPECT_TRUE(ap->ParameterChecks[i]->isChecked());
    }
}

TEST_F(Windows, TwoStationWindowsKeepTheirOwnCheckBoxes) {
    auto first = open<TStationConfigForm>("Station Configuration");
    auto second = open<TStationConfigForm>("Station Configuration");
    first->EditorPanel()->ButtonPanel->SelectNoneButton->click();
    EXPECT_FALSE(tick(*first, 3)->isChecked());
    EXPECT_TRUE(tick(*second, 3)->isChecked());
    EXPECT_NE(first->LayoutRows()[3].Control, second->LayoutRows()[3].Control);
    waitForLines(*first, 1);
    waitForLines(*second, 1);
}

TEST_F(Windows, WhatTheUserTypedIsWhatIsWrittenAndTheLogSaysWhatHappened) {
    const QString beacon = QStringLiteral("1.3.6.1.4.1.32473.1.3.1.1.7.0");
    struct Case {
        const char* relay;
        const char* typed;       // into the ticked beacon period, while a Refresh is answered late
        QStringList wire;        // the SETs that reached the relay, by request ID
        QStringList lines;       // the log after the window's first read, each line's start
        const char* deviceHolds; // the beacon period afterwards
    };
    const QString set300 = beacon + QStringLiteral("=300");
    for (const Case& c : {
             Case{"delay-gets",
                  "300",
                  {set300},
                  {"Get: Ok! (typed values kept: dot11BeaconPeriod).", "Set: Ok!.", "Get: Ok!."},
                  "300"},
             Case{
                 "lose-set-answers",
                 "300",
                 {set300},
                 {"Get: Ok! (typed values kept: dot11BeaconPeriod).",
                  "Set: SNMP request timed out! The device may have applied it: Refresh shows what it holds.",
                  "Get: Ok! (dot11BeaconPeriod kept as typed 300; the device holds 300)."},
                 "300"},
             Case{"refuse-sets",
                  "300",
                  {set300},
                  {"Get: Ok! (typed values kept: dot11BeaconPeriod).",
                   "Set: Cannot create/set variable, Not Writable!.",
                   "Get: Ok! (dot11BeaconPeriod kept as typed 300; the device holds 100)."},
                  "100"},
             Case{"delay-gets",
                  "abc",
                  {},
                  {"Get: Ok! (typed values kept: dot11BeaconPeriod).",
                   "Set: Bad value of the associated SNMP variable's (partial) data! (dot11BeaconPeriod)."},
                  "100"},
             Case{"delay-gets", nullptr, {}, {"Set: Nothing was ticked!."}, "100"},
         }) {
        const QString row =
            QLatin1String(c.relay) + QLatin1Char(' ') + QLatin1String(c.typed ? c.typed : "-");
        TestRelay relay(*Sim(), QLatin1String(c.relay), 0.6);
        UseAgent(Sim()->Address(), relay.Port());
        auto station = open<TStationConfigForm>("Station Configuration");
        ASSERT_TRUE(waitForLines(*station, 1)) << row.toStdString();
        TCtrlBtnPanel* buttons = station->EditorPanel()->ButtonPanel;
        buttons->SelectNoneButton->click();
        auto* edit = qobject_cast<QLineEdit*>(station->LayoutRows()[6].Control);
        if (c.typed) {
            tick(*station, 6)->setChecked(true);
            buttons->RefreshButton->click(); // the answer comes after the typing
            edit->selectAll();
            QTest::keyClicks(edit, QStringLiteral("1"));
            edit->setText(QLatin1String(c.typed)); // what the edit's rule would refuse as well
            ASSERT_TRUE(waitForLines(*station, 2)) << row.toStdString();
            EXPECT_EQ(edit->text(), QLatin1String(c.typed)) << row.toStdString();
        }
        OvFeedback::TakeShown();
        buttons->SetCheckedButton->click();
        waitForLines(*station, static_cast<int>(c.lines.size()) + 1);
        QTest::qWait(c.wire.isEmpty() ? 300 : 0);
        QStringList lines = memoLines(*station).mid(1);
        for (QString& l : lines)
            l = l.left(l.indexOf(QStringLiteral(" Receive at")));
        EXPECT_EQ(lines, c.lines) << row.toStdString();
        std::vector<QStringList> wire;
        for (const QString& set : c.wire)
            wire.push_back({set});
        EXPECT_EQ(relay.Sets(), wire) << row.toStdString();
        EXPECT_TRUE(ToolGet(beacon).endsWith(QStringLiteral("INTEGER: ") + QLatin1String(c.deviceHolds)));
        // Kept after the read, or since then the device's value as well.
        EXPECT_TRUE(!c.typed || edit->text() == QLatin1String(c.typed)) << row.toStdString();
        ToolSet(beacon, QStringLiteral("i"), QStringLiteral("100"));
    }
}

TEST_F(Windows, AFailedReadNamesTheObjectAndWhatCameInsteadOfIt) {
    QString error;
    const auto integers =
        TestAgent::StartHostile(&error, QStringLiteral("integers")); // every answer INTEGER 1
    ASSERT_NE(integers, nullptr) << error.toStdString();
    TestAgent* mib2 = StartSnmpd(); // no object of the access point
    ASSERT_NE(mib2, nullptr);
    struct Case {
        TestAgent* agent;
        quint8 version;
        const char* line;
    };
    for (const Case& c :
         {Case{integers.get(), 1,
               "Get: Variable does not exist! (dot11StationID answered INTEGER, expected OCTET STRING)."},
          Case{mib2, 1, "Get: Variable does not exist! (dot11StationID)."},
          // SNMPv1: the object the agent's error index points at, its last.
          Case{mib2, 0, "Get: Variable does not exist! (dot11AuthenticateFailStatus)."}}) {
        UseAgent(c.agent->Address(), c.agent->Port(), c.version);
        auto station = open<TStationConfigForm>("Station Configuration");
        ASSERT_TRUE(waitForLines(*station, 1));
        EXPECT_TRUE(memoLines(*station)[0].startsWith(QLatin1String(c.line)))
            << int(c.version) << memoLines(*station)[0].toStdString();
    }
}

TEST_F(Windows, AboutBox) {
    TAboutForm about(nullptr);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About"));
    EXPECT_GE(about.width(), 278);
    QStringList texts;
    for (QLabel* l : about.findChildren<QLabel*>())
        texts << l->text();
    EXPECT_TRUE(texts.contains(QStringLiteral("Orvanta Velmarn+ Management Module")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Release Version  1.0 2(Build 2003/2/14)")));
}
