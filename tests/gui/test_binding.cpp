// The binding object: values shown in and read back from Qt controls, the log line, and
// Get and Set through real agents.
#include "SimulatorSuite.h"
#include "TestAgent.h"
#include "TestSupport.h"
#include "binding/TRadioGroup.h"
#include "binding/TStatusPanel.h"
#include "binding/OvFeedback.h"
#include "binding/OvSNMPRequest2Edits.h"
#include "catalogue/OvCatalogue.h"
#include "errors/OvErrors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {
using namespace OvSyntax;

TSNMPVarInfo row(const char* oid, int syntax, int access = OvAccess::readwrite,
                 const OvOptionList* options = nullptr) {
    return {oid, oid, syntax, access, options, nullptr, nullptr, nullptr, nullptr, nullptr};
}
constexpr TSNMPVarInfo kEnd = OvEndRow;

std::vector<QLineEdit*> edits(QWidget* parent, int n) {
    std::vector<QLineEdit*> out;
    for (int i = 0; i < n; ++i)
        out.push_back(new QLineEdit(parent));
    return out;
}

QStringList texts(const std::vector<QLineEdit*>& e) {
    QStringList out;
    for (auto* x : e)
        out << x->text();
    return out;
}

// A binding over a one-item list of the given syntax.
struct One {
    QWidget window;
    OvSNMPRequest2Edits binding{&window};
    explicit One(int syntax, int access = OvAccess::readwrite, const OvOptionList* options = nullptr) {
        const TSNMPVarInfo rows[] = {row("1.3.6.1.4.1.32473.9.1", syntax, access, options), kEnd};
        binding.VarList() = OvSNMPVarList(rows, SVT_SV, 0);
    }
    QString& value() { return binding.VarList().Item(0)->Value; }
};

constexpr OvIntOption kOnOff[] = {{1, "off"}, {2, "on"}, {0, nullptr}};
const OvOptionList kOnOffList(kOnOff);
constexpr OvTextOption kPrefix[] = {{"1.3.6", "Standard"}, {nullptr, nullptr}};
const OvOptionList kPrefixList(kPrefix, OvOptionList::PrefixList);

} // namespace

TEST(ShowAndCollect, IpAddressOverFourEdits) {
    One o(ipaddress);
    auto e = edits(&o.window, 4);
    o.binding.BindEdit(0, QStringLiteral("%u{e.}%u{e.}%u{e.}%u"), e);
    o.value() = QStringLiteral("192.168.0.1");
    o.binding.ShowValues();
    EXPECT_EQ(texts(e), (QStringList{"192", "168", "0", "1"}));
    o.binding.CollectValues();
    EXPECT_EQ(o.value(), QStringLiteral("192.168.0.1"));
}

TEST(ShowAndCollect, ThreeOctetsOverFourEdits) {
    One o(octetstr);
    auto e = edits(&o.window, 4);
    e[3]->setText(QStringLiteral("keep"));
    o.binding.BindEdit(0, QStringLiteral("%h%h%h%h"), e);
    o.value() = QStringLiteral("0A 1B 2C");
    o.binding.ShowValues();
    EXPECT_EQ(texts(e), (QStringList{"0A", "1B", "2C", "keep"}));
    e[3]->clear();
    o.binding.CollectValues();
    EXPECT_EQ(o.value(), QStringLiteral("0A 1B 2C 00"));
}

TEST(ShowAndCollect, NullInALabelAndInSplitEdits) {
    One o(ipaddress);
    auto* label = new QLabel(&o.window);
    auto e = edits(&o.window, 4);
    for (auto* x : e)
        x->setText(QStringLiteral("7"));
    o.binding.BindControl(0, label);
    o.binding.BindEdit(0, QStringLiteral("%u%u%u%u"), e);
    o.value() = QStringLiteral("(NULL)");
    o.binding.ShowValues();
    EXPECT_EQ(label->text(), QStringLiteral("(NULL)"));
    EXPECT_EQ(texts(e), (QStringList{"7", "7", "7", "7"}));
}

TEST(ShowAndCollect, PartsOfALongerValue) {
    One o(octetstr);
    auto* low = new QLabel(&o.window);
    auto* high = new QLineEdit(&o.window);
    o.binding.Bind(0, 0, int16, nullptr, low);
    o.binding.Bind(0, 2, uint8, nullptr, high);
    o.value() = QStringLiteral("FF FF 07");
    o.binding.ShowValues();
    EXPECT_EQ(low->text(), QStringLiteral("65535")); // an int16 of minus one
    EXPECT_EQ(high->text(), QStringLiteral("7"));
    o.value() = QStringLiteral("FF");
    EXPECT_EQ(CodeOf([&o] { o.binding.ShowValues(); }), -518);
}

TEST(ShowAndCollect, DisplayStringRebuiltFromItsEdits) {
    One o(displaystr);
    auto* a = new QLineEdit(&o.window);
    auto* b = new QLineEdit(&o.window);
    o.binding.Bind(0, 0, displaystr, nullptr, a);
    o.binding.Bind(0, 4, displaystr, nullptr, b);
    QTest::keyClicks(a, QStringLiteral("ab"));
    QTest::keyClicks(b, QStringLiteral("cd"));
    o.binding.CollectValues();
    EXPECT_EQ(o.value(), QStringLiteral("ab\u0000\u0000cd").replace(QChar(0), QChar(0)));
    EXPECT_EQ(o.value().size(), 6);
    EXPECT_EQ(o.value().at(2), QChar(0));
}

TEST(ShowAndCollect, OnlyValuesReadOrGivenAreCollected) {
    One o(octetstr);
    auto* edit = new QLineEdit(&o.window);
    o.binding.BindEdit(0, QStringLiteral("%s"), {edit});
    edit->setText(QStringLiteral("4C 61")); // put there by the program, not by a read or the user
    const Raised never = RaisedBy([&o] { o.binding.CollectValues(); });
    EXPECT_EQ(never.Code, -517);
    EXPECT_TRUE(never.Message.endsWith(QStringLiteral("(1.3.6.1.4.1.32473.9.1)"))) << never.Message;
    o.value() = QStringLiteral("(NULL)"); // a read that brought no value
    o.binding.ShowValues();
    EXPECT_EQ(CodeOf([&o] { o.binding.CollectValues(); }), -517);
    o.value() = QStringLiteral("4C 61");
    o.binding.ShowValues();
    o.binding.CollectValues();
    EXPECT_EQ(o.value(), QStringLiteral("4C 61"));
    // Cleared on purpose: an empty string the user asked for.
    One typed(octetstr);
    auto* cleared = new QLineEdit(&typed.window);
    typed.binding.BindEdit(0, QStringLiteral("%s"), {cleared});
    cleared->setText(QStringLiteral("4C"));
    cleared->selectAll();
    QTest::keyClick(cleared, Qt::Key_Backspace);
    typed.binding.CollectValues();
    EXPECT_EQ(typed.value(), QString());
    // Unticked (left out): refused silently, never stopping the write of the others.
    One unticked(octetstr);
    unticked.binding.BindEdit(0, QStringLiteral("%s"), {new QLineEdit(&unticked.window)});
    unticked.binding.VarList().Item(0)->Access |= OvAccess::invalid;
    EXPECT_EQ(CodeOf([&unticked] { unticked.binding.CollectValues(); }), 0);
}

TEST(ShowAndCollect, TimeTicksOverFiveEdits) {
    One o(timeticks);
    auto e = edits(&o.window, 5);
    o.binding.BindEdit(0, QStringLiteral("%u%u%u%u%u"), e);
    o.value() = QStringLiteral("8640000");
    o.binding.ShowValues();
    EXPECT_EQ(texts(e), (QStringList{"1", "0", "0", "0", "0"}));
    e[1]->setText(QStringLiteral("2"));
    e[4]->setText(QStringLiteral("5"));
    o.binding.CollectValues();
    EXPECT_EQ(o.value(), QStringLiteral("1 day, 2:00:00.05"));
}

TEST(ShowAndCollect, MacAndDateTimeOverEdits) {
    One mac(macaddress);
    auto m = edits(&mac.window, 6);
    mac.binding.BindEdit(0, QStringLiteral("%h%h%h%h%h%h"), m);
    mac.value() = QStringLiteral("00 90 2B 1A 2C 3D");
    mac.binding.ShowValues();
    EXPECT_EQ(texts(m), (QStringList{"00", "90", "2B", "1A", "2C", "3D"}));
    m[5]->setText(QStringLiteral("F"));
    mac.binding.CollectValues();
    EXPECT_EQ(mac.value(), QStringLiteral("00 90 2B 1A 2C 0F"));

    One when(datetime);
    auto d = edits(&when.window, 10);
    when.binding.BindEdit(0, QStringLiteral("%u%u%u%u%u%u%u%s%u%u"), d);
    when.value() = QStringLiteral("2003-5-26,13:30:15.3,-5:0");
    when.binding.ShowValues();
    EXPECT_EQ(texts(d), (QStringList{"2003", "5", "26", "13", "30", "15", "3", "-", "5", "0"}));
    when.binding.CollectValues();
    EXPECT_EQ(when.value(), QStringLiteral("2003-5-26,13:30:15.3,-5:0"));
    auto few = edits(&when.window, 3);
    One short3(datetime);
    short3.binding.BindEdit(0, QStringLiteral("%u%u%u"), few);
    short3.value() = QStringLiteral("2003-5-26,13:30:15.3,-5:0");
    EXPECT_EQ(CodeOf([&short3] { short3.binding.ShowValues(); }), -521);
}

TEST(ShowAndCollect, CheckBoxesComboBoxesAndRadioGroups) {
    One flag(integer, OvAccess::readwrite, &kOnOffList);
    auto* box = new QCheckBox(&flag.window);
    flag.binding.BindControl(0, box);
    flag.value() = QStringLiteral("off"); // the first option is "not ticked"
    flag.binding.ShowValues();
    EXPECT_FALSE(box->isChecked());
    flag.value() = QStringLiteral("on");
    flag.binding.ShowValues();
    EXPECT_TRUE(box->isChecked());
    box->setChecked(false);
    flag.binding.CollectValues();
    EXPECT_EQ(flag.value(), QStringLiteral("off"));

    One bits(octetstr);
    std::vector<QWidget*> boxes{new QCheckBox(&bits.window), new QCheckBox(&bits.window),
                                new QCheckBox(&bits.window)};
    bits.binding.BindBits(0, boxes, {0, 1, 9});
    bits.value() = QStringLiteral("80 40");
    bits.binding.ShowValues();
    EXPECT_TRUE(static_cast<QCheckBox*>(boxes[0])->isChecked());
    EXPECT_FALSE(static_cast<QCheckBox*>(boxes[1])->isChecked());
    EXPECT_TRUE(static_cast<QCheckBox*>(boxes[2])->isChecked());

    One combo(integer, OvAccess::readwrite, &kOnOffList);
    auto* c = new QComboBox(&combo.window);
    combo.binding.BindComboBox(0, c);
    EXPECT_EQ(c->count(), 2);
    EXPECT_EQ(c->currentIndex(), -1); // nothing chosen before a read
    EXPECT_EQ(CodeOf([&combo] { combo.binding.CollectValues(); }), -517);
    combo.value() = QStringLiteral("2"); // a value rather than a label still selects
    combo.binding.ShowValues();
    EXPECT_EQ(c->currentText(), QStringLiteral("on"));
    // A number without label is shown as itself and written back unchanged.
    combo.value() = QStringLiteral("9");
    combo.binding.ShowValues();
    EXPECT_EQ(c->currentText(), QStringLiteral("9"));
    combo.binding.CollectValues();
    EXPECT_EQ(combo.value(), QStringLiteral("9"));
    combo.value() = QStringLiteral("(NULL)");
    combo.binding.ShowValues();
    EXPECT_EQ(c->currentIndex(), -1);
    EXPECT_EQ(c->count(), 2);
    c->setCurrentIndex(0); // the user's choice
    Q_EMIT c->activated(0);
    combo.binding.CollectValues();
    EXPECT_EQ(combo.value(), QStringLiteral("off"));

    One prefix(objectid);
    auto* pc = new QComboBox(&prefix.window);
    auto* rest = new QLineEdit(&prefix.window);
    prefix.binding.Bind(0, 0, objectid, &kPrefixList, pc, rest);
    prefix.value() = QStringLiteral("1.3.6.4.1");
    prefix.binding.ShowValues();
    EXPECT_EQ(pc->currentText(), QStringLiteral("Standard"));
    EXPECT_EQ(rest->text(), QStringLiteral("4.1"));
    rest->setText(QStringLiteral("4.2"));
    prefix.binding.CollectValues();
    EXPECT_EQ(prefix.value(), QStringLiteral("1.3.6.4.2"));

    One radio(integer, OvAccess::readwrite, &kOnOffList);
    auto* group = new TRadioGroup(&radio.window);
    radio.binding.BindControl(0, group);
    radio.value() = QStringLiteral("on");
    radio.binding.ShowValues();
    EXPECT_EQ(group->ItemIndex(), 1);
    radio.value() = QStringLiteral("3");
    radio.binding.ShowValues();
    EXPECT_EQ(group->SelectedText(), QStringLiteral("3"));
    radio.binding.CollectValues();
    EXPECT_EQ(radio.value(), QStringLiteral("3"));
}

TEST(ShowAndCollect, BindingErrors) {
    One noOptions(integer);
    EXPECT_EQ(CodeOf([&noOptions] { noOptions.binding.BindControl(0, new TRadioGroup(&noOptions.window)); }),
              -519);
    EXPECT_EQ(CodeOf([&noOptions] { noOptions.binding.BindComboBox(0, new QComboBox(&noOptions.window)); }),
              -519);
    One prefix(objectid);
    EXPECT_EQ(CodeOf([&prefix] {
                  prefix.binding.Bind(0, 0, objectid, &kPrefixList, new QComboBox(&prefix.window), nullptr);
              }),
              -521);
    One other(integer);
    other.binding.BindControl(0, new QPlainTextEdit(&other.window));
    EXPECT_EQ(CodeOf([&other] { other.binding.ShowValues(); }), -520);
    One notBool(integer);
    notBool.binding.BindControl(0, new QCheckBox(&notBool.window));
    EXPECT_EQ(CodeOf([&notBool] { notBool.binding.ShowValues(); }), -516);
    One badSpec(integer);
    EXPECT_EQ(
        CodeOf([&badSpec] { badSpec.binding.BindEdit(0, QStringLiteral("%q"), edits(&badSpec.window, 1)); }),
        -2);
    EXPECT_TRUE(badSpec.binding.Entries().empty());
}

struct EmptyEditRow {
    const char* name;
    int syntax;
    const char* text;
};
class EmptyNumberEdit : public ::testing::TestWithParam<EmptyEditRow> {};
TEST_P(EmptyNumberEdit, NeverBecomesZero) {
    One o(GetParam().syntax);
    auto e = edits(&o.window, 1);
    o.binding.BindEdit(0, QStringLiteral("%s"), e);
    e[0]->setText(QString::fromLatin1(GetParam().text));
    EXPECT_EQ(CodeOf([&o] { o.binding.CollectValues(); }), -517);
}
INSTANTIATE_TEST_SUITE_P(
    Rows, EmptyNumberEdit,
    ::testing::Values(EmptyEditRow{"integerEmpty", integer, ""}, EmptyEditRow{"integerWord", integer, "abc"},
                      EmptyEditRow{"counterEmpty", counter, ""}, EmptyEditRow{"gaugeBlank", guage, "  "},
                      EmptyEditRow{"uintegerEmpty", uinteger, ""}, EmptyEditRow{"ticksEmpty", timeticks, ""},
                      EmptyEditRow{"counter64Empty", OvSyntax::counter64, ""}),
    RowName());

TEST(ShowAndCollect, ShownTextIsTheLastGoodText) {
    One o(integer);
    auto e = edits(&o.window, 1);
    o.binding.BindEdit(0, QStringLiteral("%i{n1x100}"), e);
    o.value() = QStringLiteral("42");
    o.binding.ShowValues();
    OvFeedback::TakeShown();
    e[0]->setText(QStringLiteral("500"));
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(e[0], &out);
    EXPECT_EQ(OvFeedback::TakeShown().size(), 1);
    EXPECT_EQ(e[0]->text(), QStringLiteral("42")); // not blanked
}

// ---- the log line -------------------------------------------------------------------------

TEST(LogLine, TemplatesWithAndWithoutCaption) {
    One o(integer);
    QPlainTextEdit memo;
    o.binding.SetLogTarget(&memo);
    const QRegularExpression time(QStringLiteral("\\d\\d:\\d\\d:\\d\\d (AM|PM)\\.$"));
    o.binding.ShowResult(OvOperation::Get, QStringLiteral("Ok!"));
    o.binding.ShowResult(OvOperation::Set, QStringLiteral("SNMP request timed out!"));
    o.binding.VarList().Caption = QStringLiteral("Station");
    o.binding.ShowResult(OvOperation::Get, QStringLiteral("Ok!"));
    const QStringList lines = memo.toPlainText().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Get: Ok!. Receive at "))) << lines[0];
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Set: SNMP request timed out!. Receive at "))) << lines[1];
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Get: Ok! Request:Station. Receive at "))) << lines[2];
    for (const QString& l : lines)
        EXPECT_TRUE(time.match(l).hasMatch()) << l;

    QStatusBar bar;
    TStatusPanel panel(&bar);
    o.binding.SetLogTarget(&panel);
    o.binding.ShowResult(OvOperation::Get, QStringLiteral("Ok!"));
    EXPECT_TRUE(panel.text().startsWith(QStringLiteral("Get: Ok! Request:Station.")));
    QLabel elsewhere;
    o.binding.SetLogTarget(&elsewhere);
    o.binding.ShowResult(OvOperation::Get, QStringLiteral("Ok!"));
    EXPECT_TRUE(elsewhere.text().isEmpty());
}

// ---- against the simulated access point ----------------------------------------------------

namespace {
using LiveBinding = SimulatorSuite;

struct MacWindow {
    QWidget window;
    OvSNMPRequest2Edits binding{&window};
    QPlainTextEdit* memo = new QPlainTextEdit(&window);
    std::vector<QLineEdit*> e = edits(&window, 4);
    QComboBox* mode = new QComboBox(&window);
    MacWindow() {
        binding.VarList() = OvSNMPVarList(MACOperationTable, SVT_SV, 0);
        binding.BindEdit(1, QStringLiteral("%i"), {e[0]});
        binding.BindEdit(2, QStringLiteral("%i"), {e[1]});
        binding.BindComboBox(6, mode);
        binding.SetLogTarget(memo);
    }
};
} // namespace

TEST_F(LiveBinding, SynchronousGetAndSet) {
    MacWindow w;
    w.binding.Asynchronous = false;
    w.binding.Get();
    EXPECT_EQ(w.e[0]->text(), QStringLiteral("2347"));
    EXPECT_EQ(w.mode->currentText(), QStringLiteral("longPreamble"));
    EXPECT_TRUE(w.memo->toPlainText().startsWith(QStringLiteral("Get: Ok!. Receive at ")));
    w.e[0]->setText(QStringLiteral("1000"));
    w.mode->setCurrentIndex(1);
    // Only the bound rows are writable for the set; the others would be refused.
    for (int i = 0; i < w.binding.VarList().Count(); ++i)
        if (i != 1 && i != 2 && i != 6)
            w.binding.VarList().Item(i)->Access |= OvAccess::invalid;
    w.binding.Set(false, true);
    EXPECT_TRUE(
        ToolGet(QStringLiteral("1.3.6.1.4.1.32473.1.3.2.1.2.0")).endsWith(QStringLiteral("INTEGER: 1000")));
    EXPECT_TRUE(
        ToolGet(QStringLiteral("1.3.6.1.4.1.32473.1.3.2.1.7.0")).endsWith(QStringLiteral("INTEGER: 2")));
    EXPECT_TRUE(
        w.memo->toPlainText().split(QLatin1Char('\n')).last().startsWith(QStringLiteral("Set: Ok!.")));
}

TEST_F(LiveBinding, AsynchronousGetAndAFailedGet) {
    MacWindow w;
    w.binding.Get();
    ASSERT_TRUE(WaitFor([&w] { return !w.memo->toPlainText().isEmpty(); }));
    EXPECT_EQ(w.e[1]->text(), QStringLiteral("7"));
    EXPECT_TRUE(w.memo->toPlainText().startsWith(QStringLiteral("Get: Ok!.")));

    MacWindow dead;
    dead.binding.Request().Target.Device.Port = TestAgent::FreeUdpPort();
    dead.e[0]->setText(QStringLiteral("unchanged"));
    dead.binding.Get();
    ASSERT_TRUE(WaitFor([&dead] { return !dead.memo->toPlainText().isEmpty(); }, 5000));
    EXPECT_TRUE(
        dead.memo->toPlainText().startsWith(QStringLiteral("Get: SNMP request timed out!. Receive at ")))
        << dead.memo->toPlainText();
    EXPECT_EQ(dead.e[0]->text(), QStringLiteral("unchanged"));
}

TEST_F(LiveBinding, EmptyEditBlocksTheSetBeforeAnythingIsSent) {
    MacWindow w;
    w.binding.Asynchronous = false;
    w.binding.Request().Target.Device.Port = TestAgent::FreeUdpPort(); // the first read fails
    EXPECT_EQ(CodeOf([&w] { w.binding.Get(); }), -405);
    w.binding.Request().Target.Device.Port = Sim()->Port();
    const QString before = ToolGet(QStringLiteral("1.3.6.1.4.1.32473.1.3.2.1.3.0"));
    EXPECT_EQ(CodeOf([&w] { w.binding.Set(false, true); }), -517);
    EXPECT_EQ(ToolGet(QStringLiteral("1.3.6.1.4.1.32473.1.3.2.1.3.0")), before);
}

TEST_F(LiveBinding, ListViewOfTheInterfaceTable) {
    TestAgent* snmpd = StartSnmpd();
    ASSERT_NE(snmpd, nullptr);
    UseAgent(snmpd->Address(), snmpd->Port());
    static const TSNMPVarInfo ifTable[] = {{"1.3.6.1.2.1.2.2.1.1", "ifIndex", integer, OvAccess::readonly,
                                            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
                                           {"1.3.6.1.2.1.2.2.1.2", "ifDescr", displaystr, OvAccess::readonly,
                                            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
                                           {"1.3.6.1.2.1.2.2.1.7", "ifAdminStatus", integer,
                                            OvAccess::readwrite, nullptr, nullptr, nullptr, nullptr, nullptr,
                                            nullptr},
                                           kEnd};
    QWidget window;
    OvSNMPRequest2Edits binding(&window);
    binding.VarList() = OvSNMPVarList(ifTable, MVT_FMV, 1);
    auto* view = new QTreeWidget(&window);
    auto* admin = new QLineEdit(&window);
    binding.BindListView(view, true);
    binding.BindEdit(2, QStringLiteral("%i"), {admin});
    EXPECT_EQ(view->columnCount(), 3);
    EXPECT_EQ(view->headerItem()->text(1), QStringLiteral("ifDescr"));
    QPlainTextEdit memo;
    binding.SetLogTarget(&memo);
    binding.Get();
    ASSERT_TRUE(WaitFor([&memo] { return !memo.toPlainText().isEmpty(); }));
    ASSERT_GE(view->topLevelItemCount(), 1);
    EXPECT_FALSE(admin->isEnabled());
    const int loRow = [&] {
        for (int i = 0; i < view->topLevelItemCount(); ++i)
            if (view->topLevelItem(i)->text(1) == QLatin1String("lo"))
                return i;
        return -1;
    }();
    ASSERT_GE(loRow, 0);
    view->topLevelItem(loRow)->setSelected(true);
    EXPECT_TRUE(admin->isEnabled());
    EXPECT_EQ(admin->text(), view->topLevelItem(loRow)->text(2));
    view->clearSelection(); // deselecting changes nothing
    EXPECT_TRUE(admin->isEnabled());
}

TEST(ListView, ExistingColumnsAreKept) {
    const TSNMPVarInfo rows[] = {row("1.3.6.1.4.1.32473.9.1", integer, OvAccess::readonly),
                                 row("1.3.6.1.4.1.32473.9.2", integer, OvAccess::readonly), kEnd};
    QWidget window;
    OvSNMPRequest2Edits binding(&window);
    binding.VarList() = OvSNMPVarList(rows, MVT_FMV, 1);
    auto* view = new QTreeWidget(&window);
    view->setHeaderLabels({QStringLiteral("mine"), QStringLiteral("also mine")});
    view->setColumnWidth(0, 77);
    binding.BindListView(view, true);
    EXPECT_EQ(view->headerItem()->text(0), QStringLiteral("mine"));
    EXPECT_EQ(view->columnWidth(0), 77);

    // Too few columns: rebuilt, hidden (write-only) items first.
    const TSNMPVarInfo mixed[] = {row("1.3.6.1.4.1.32473.9.1", integer, OvAccess::readonly),
                                  row("1.3.6.1.4.1.32473.9.2", integer, OvAccess::writeonly), kEnd};
    OvSNMPRequest2Edits other(&window);
    other.VarList() = OvSNMPVarList(mixed, MVT_FMV, 1);
    auto* fresh = new QTreeWidget(&window);
    other.BindListView(fresh, true);
    ASSERT_EQ(fresh->columnCount(), 2);
    EXPECT_EQ(fresh->headerItem()->text(0), QStringLiteral("1.3.6.1.4.1.32473.9.2"));
    EXPECT_TRUE(fresh->isColumnHidden(0));
    EXPECT_FALSE(fresh->isColumnHidden(1));
}

TEST(ShowAndCollect, UserChoiceMarksTheBindingModified) {
    One combo(integer, OvAccess::readwrite, &kOnOffList);
    auto* c = new QComboBox(&combo.window);
    combo.binding.BindComboBox(0, c);
    EXPECT_FALSE(combo.binding.Modified);
    c->setCurrentIndex(1); // a program's change is no user's
    EXPECT_FALSE(combo.binding.Modified);
    Q_EMIT c->activated(0);
    EXPECT_TRUE(combo.binding.Modified);
}
