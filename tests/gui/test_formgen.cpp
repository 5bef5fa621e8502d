// Generator, flow layout and panels on synthetic tables.
#include "SessionFixture.h"
#include "TestSupport.h"
#include "binding/TStaticText.h"
#include "binding/OvSNMPRequest2Edits.h"
#include "formgen/TSNMPPanel.h"
#include "snmp/TSNMPSession.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {
using namespace OvSyntax;

constexpr OvIntOption kYesNo[] = {{1, "yes"}, {2, "no"}, {0, nullptr}};
const OvOptionList kYesNoList(kYesNo);

const TSNMPVarInfo kRows[] = {{"1.3.6.1.4.1.32473.9.1", "short", integer, OvAccess::readwrite, nullptr,
                               nullptr, nullptr, nullptr, nullptr, nullptr},
                              {"1.3.6.1.4.1.32473.9.2", "aMuchLongerVariableName", integer,
                               OvAccess::readonly, &kYesNoList, nullptr, nullptr, nullptr, nullptr, nullptr},
                              {"1.3.6.1.4.1.32473.9.3", "mid", integer, OvAccess::readonly, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr},
                              {"1.3.6.1.4.1.32473.9.4", "writable", integer, OvAccess::readwrite, &kYesNoList,
                               nullptr, nullptr, nullptr, nullptr, nullptr},
                              OvEndRow};

const TUIItemInfo kThreeLines[] = {{ukEdit, "%i", &kRows[0], 0, nullptr, nullptr},
                                   {ukComboBox, "", &kRows[1], 0, nullptr, nullptr},
                                   {ukStaticText, "", &kRows[2], 0, nullptr, nullptr},
                                   {ukNone, nullptr, nullptr, 0, nullptr, nullptr}};
const TUIItemInfo kWritableStatic[] = {{ukStaticText, "", &kRows[3], 0, nullptr, nullptr},
                                       {ukNone, nullptr, nullptr, 0, nullptr, nullptr}};
const TUIItemInfo kMemoOnly[] = {{ukMemo, "", &kRows[0], 0, nullptr, nullptr},
                                 {ukNone, nullptr, nullptr, 0, nullptr, nullptr}};
const TUIItemInfo kListOnly[] = {{ukListView, "", &kRows[0], 0, nullptr, nullptr},
                                 {ukNone, nullptr, nullptr, 0, nullptr, nullptr}};
const TUIItemInfo kEmpty[] = {{ukNone, nullptr, nullptr, 0, nullptr, nullptr}};
} // namespace

TEST(Generator, TerminatorFirstMakesNothing) {
    QWidget owner;
    auto table = OvCopyLayout(kEmpty);
    TUIGenerator g(table.data(), &owner);
    EXPECT_TRUE(g.Controls.isEmpty());
}

TEST(Generator, TriplesAndAccessRules) {
    QWidget owner;
    auto table = OvCopyLayout(kThreeLines);
    TUIGenerator g(table.data(), &owner);
    ASSERT_EQ(g.Controls.size(), 9);
    EXPECT_TRUE(qobject_cast<QCheckBox*>(g.Controls[0]));
    EXPECT_EQ(qobject_cast<QLabel*>(g.Controls[1])->text(), QStringLiteral("short"));
    EXPECT_TRUE(qobject_cast<QLineEdit*>(g.Controls[2]));
    // Editable row: checked and enabled.
    EXPECT_TRUE(table[0].CheckBox->isChecked());
    EXPECT_TRUE(table[0].CheckBox->isEnabled());
    // Read-only combo row: checked but disabled, control disabled.
    EXPECT_TRUE(table[1].CheckBox->isChecked());
    EXPECT_FALSE(table[1].CheckBox->isEnabled());
    EXPECT_FALSE(table[1].Control->isEnabled());
    // Read-only static text: unchecked, disabled; ten blanks to start with.
    EXPECT_FALSE(table[2].CheckBox->isChecked());
    EXPECT_FALSE(table[2].CheckBox->isEnabled());
    EXPECT_EQ(qobject_cast<TStaticText*>(table[2].Control)->text(), QString(10, QLatin1Char(' ')));
    // The constant table is untouched: each window fills its own copy.
    EXPECT_EQ(kThreeLines[0].Control, nullptr);

    auto writable = OvCopyLayout(kWritableStatic);
    TUIGenerator w(writable.data(), &owner);
    EXPECT_FALSE(writable[0].CheckBox->isChecked());
    EXPECT_TRUE(writable[0].CheckBox->isEnabled());

    auto memo = OvCopyLayout(kMemoOnly);
    TUIGenerator m(memo.data(), &owner);
    ASSERT_EQ(m.Controls.size(), 1);
    EXPECT_TRUE(qobject_cast<QPlainTextEdit*>(m.Controls[0]));
    EXPECT_EQ(memo[0].CheckBox, nullptr);
}

TEST(FlowLayout, GeometryOfThreeLines) {
    QWidget owner;
    QWidget container;
    auto table = OvCopyLayout(kThreeLines);
    TUIGenerator g(table.data(), &owner);
    // Known sizes: check boxes 20 x 17, labels 13 high, value controls 21 high but the
    // static text of the third line only 17.
    const int labelWidths[] = {40, 150, 30};
    for (int l = 0; l < 3; ++l) {
        g.Controls[3 * l]->resize(20, 18);
        g.Controls[3 * l + 1]->resize(labelWidths[l], 13);
        g.Controls[3 * l + 2]->resize(100, l == 2 ? 17 : 21);
    }
    TFlowLayoutManger layout(&owner, &container, &g.Controls);
    layout.Layout();
    for (int l = 0; l < 3; ++l) {
        QWidget* c = g.Controls[3 * l];
        QWidget* lab = g.Controls[3 * l + 1];
        QWidget* v = g.Controls[3 * l + 2];
        EXPECT_EQ(c->parentWidget(), &container);
        EXPECT_EQ(v->width(), 121);
        EXPECT_EQ(v->height(), 21); // the short third control was raised to 21
        EXPECT_EQ(v->y(), 20 + 26 * l) << "line " << l;
        EXPECT_EQ(c->x(), 20);
        EXPECT_EQ(c->y(), v->y() + 1); // (21 - 18) / 2, truncated
        EXPECT_EQ(lab->x(), 20 + 20 + 5);
        EXPECT_EQ(lab->y(), v->y() + 4);          // (21 - 13) / 2
        EXPECT_EQ(v->x(), 20 + 20 + 5 + 150 + 5); // after the widest label of the table
    }
    EXPECT_EQ(layout.Extent(), QSize(20 + 20 + 5 + 150 + 5 + 121 + 20, 20 + 26 * 2 + 21 + 20));
}

TEST(FlowLayout, FirstLineKeepsAShortControl) {
    QWidget owner;
    QWidget container;
    const TUIItemInfo one[] = {{ukStaticText, "", &kRows[2], 0, nullptr, nullptr},
                               {ukNone, nullptr, nullptr, 0, nullptr, nullptr}};
    auto table = OvCopyLayout(one);
    TUIGenerator g(table.data(), &owner);
    g.Controls[2]->resize(60, 15);
    TFlowLayoutManger layout(&owner, &container, &g.Controls);
    layout.Layout();
    EXPECT_EQ(g.Controls[2]->height(), 15);
    EXPECT_EQ(g.Controls[2]->y(), 20);
}

TEST(FlowLayout, SingleMemoOrListViewFillsTheContainer) {
    for (const TUIItemInfo* source : {kMemoOnly, kListOnly}) {
        QWidget owner;
        QWidget container;
        container.resize(300, 200);
        auto table = OvCopyLayout(source);
        TUIGenerator g(table.data(), &owner);
        TFlowLayoutManger layout(&owner, &container, &g.Controls);
        layout.Layout();
        container.show();
        QCoreApplication::processEvents();
        EXPECT_EQ(g.Controls[0]->geometry(), container.rect());
    }
}

TEST(Buttons, StackingAndHiding) {
    QWidget owner;
    TCtrlBtnPanel panel(&owner);
    EXPECT_EQ(panel.width(), 116);
    EXPECT_EQ(panel.SampleCount->y(), 10);
    panel.HideSampleCount();
    panel.HideSamplesLabel();
    panel.HideSet();
    EXPECT_EQ(panel.RefreshButton->y(), 10);
    EXPECT_EQ(panel.SetCheckedButton->y(), panel.RefreshButton->y() + panel.RefreshButton->height() + 5);
    for (QWidget* w : panel.Stacking) {
        EXPECT_EQ(w->x(), 10);
        EXPECT_EQ(w->width(), 96);
    }
    EXPECT_EQ(panel.SetButton->text(), QStringLiteral("Set"));
    EXPECT_EQ(panel.SetCheckedButton->text(), QStringLiteral("Set"));
    EXPECT_EQ(panel.CloseButton->text(), QStringLiteral("Close"));
}

TEST(Buttons, BitmapsFromTheCurrentDirectory) {
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QImage glyph(16, 16, QImage::Format_RGB32);
    glyph.fill(Qt::red);
    for (const QString& f : TCtrlBtnPanel::BitmapFiles())
        glyph.save(f, "BMP");
    {
        QWidget owner;
        TCtrlBtnPanel panel(&owner);
        EXPECT_TRUE(panel.RefreshButton->text().isEmpty());
        EXPECT_FALSE(panel.RefreshButton->icon().isNull());
        EXPECT_TRUE(panel.CloseButton->text().isEmpty());
    }
    // One file that is no bitmap: its button shows nothing, those after it keep captions.
    QFile bad(QStringLiteral("SelectAll.bmp"));
    bad.open(QIODevice::WriteOnly);
    bad.write("not a bitmap");
    bad.close();
    {
        QWidget owner;
        TCtrlBtnPanel panel(&owner);
        EXPECT_TRUE(panel.SelectAllButton->text().isEmpty());
        EXPECT_TRUE(panel.SelectAllButton->icon().isNull());
        EXPECT_EQ(panel.SelectNoneButton->text(), QStringLiteral("Select None"));
        EXPECT_EQ(panel.CloseButton->text(), QStringLiteral("Close"));
    }
    QDir::setCurrent(previous);
    QWidget owner;
    TCtrlBtnPanel plain(&owner);
    EXPECT_EQ(plain.RefreshButton->text(), QStringLiteral("Refresh"));
}

TEST(Panel, SelectAllAndSelectNone) {
    if (!TSNMPSession::IsCreated())
        TSNMPSession::Create(QString());
    QWidget window;
    OvSNMPRequest2Edits binding(&window);
    binding.VarList() = OvSNMPVarList(kRows, SVT_SV, 0);
    TSNMPEditorPanel panel(&window);
    auto table = OvCopyLayout(kThreeLines);
    panel.BuildEditor(table.data(), &binding);
    panel.InitEditor();
    EXPECT_EQ(binding.LogTarget(), panel.MessagePanel->Memo);
    panel.ButtonPanel->SelectNoneButton->click();
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(table[static_cast<size_t>(i)].CheckBox->isChecked());
    panel.ButtonPanel->SelectAllButton->click();
    EXPECT_TRUE(table[0].CheckBox->isChecked());
    EXPECT_FALSE(table[1].CheckBox->isChecked()); // read-only rows are cleared
    EXPECT_FALSE(table[2].CheckBox->isChecked());
    EXPECT_TRUE(panel.ButtonPanel->SetButton->isHidden());
    EXPECT_FALSE(panel.ButtonPanel->SetCheckedButton->isHidden());
}
