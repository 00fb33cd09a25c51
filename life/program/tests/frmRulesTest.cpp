#include "frmRules.h"

#include "Help.h"
#include "LifeboardFixture.h"
#include "WindowSizeChecks.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <numeric>
#include <vector>

using lifeboard::MakeRule;
using lifeboard::RuleTables;
using platform::DialogKind;
using Ints = std::vector<int>;

namespace {

class FrmRulesTest : public lifeboard_test::LifeboardFixture {
protected:
    frmRules& Open() {
        Form().ShowRules();
        frmRules* dialog = Form().rulesDialog();
        EXPECT_NE(dialog, nullptr);
        return *dialog;
    }

    void SetEngineRule(const RuleTables& rule) {
        for (int16_t k = 0; k <= Form().NeiCount(); ++k) {
            Form().SetRuleS(k, rule.survival[k]);
            Form().SetRuleB(k, rule.birth[k]);
        }
    }

    int16_t EngineNeiCount() {
        int16_t n = 0;
        Form().Engine().get_NeiCount(&n);
        return n;
    }

    void Choose(frmRules& dialog, const QString& caption) {
        dialogs_.AnswerMenu(caption);
        dialog.cmdPredefined->click();
    }

    void EnterCode(frmRules& dialog, const QString& answer) {
        dialogs_.AnswerInput(answer);
        dialog.cmdWolf->click();
    }
};

Ints Ticked(const platform::CheckBoxes& boxes, int upTo = lifeboard::kMaxNeiCount) {
    Ints ticked;
    for (int b = 0; b <= upTo; ++b)
        if (boxes.Checked(b))
            ticked.push_back(b);
    return ticked;
}

// The columns a user can use: label and both boxes enabled.
Ints EnabledColumns(const frmRules& dialog) {
    Ints enabled;
    for (int b = 0; b <= lifeboard::kMaxNeiCount; ++b) {
        const bool label = dialog.lblLabel[b]->isEnabled();
        EXPECT_EQ(dialog.chkSurv[b].isEnabled(), label) << "column " << b;
        EXPECT_EQ(dialog.chkBirth[b].isEnabled(), label) << "column " << b;
        if (label)
            enabled.push_back(b);
    }
    return enabled;
}

Ints UpTo(int n) {
    Ints counts(n + 1);
    std::iota(counts.begin(), counts.end(), 0);
    return counts;
}

// The lattice n is selected, pictured, and only its columns can be used.
void ExpectLattice(const frmRules& dialog, int n) {
    Ints selected;
    for (const int k : dialog.optLattice.Indices())
        if (dialog.optLattice.Checked(k))
            selected.push_back(k);
    EXPECT_EQ(selected, Ints{n});
    const QPixmap shown = dialog.imPreview->pixmap();
    const auto expected = dialog.ilPreview.find(QString::number(n) + "l");
    EXPECT_TRUE(expected != dialog.ilPreview.end() && !shown.isNull() &&
                shown.toImage() == expected->second.toImage())
        << "the picture of " << n;
    EXPECT_EQ(EnabledColumns(dialog), UpTo(n));
}

void ExpectTicks(const frmRules& dialog, const Ints& survival, const Ints& birth,
                 int upTo = lifeboard::kMaxNeiCount) {
    EXPECT_EQ(Ticked(dialog.chkSurv, upTo), survival);
    EXPECT_EQ(Ticked(dialog.chkBirth, upTo), birth);
}

TEST_F(FrmRulesTest, OpensWithoutBlockingShowingTheEngineRule) {
    frmRules& dialog = Open();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.isModal());
    EXPECT_TRUE(platform_test::KeepsItsSize(dialog));
    EXPECT_EQ((QStringList{dialog.windowTitle(), dialog.frmTopology->title(),
                           dialog.cmdPredefined->text(), dialog.cmdWolf->text(),
                           dialog.lblNeighbors->text(), dialog.lblLabel[12]->text()}),
              (QStringList{"Rules", "Topology", "Predefined sets   >", "Wolfram code", "Neighbors",
                           "12"}));
    const std::pair<int, const char*> lattices[] = {{8, "Square (8"},
                                                    {4, "Square (4"},
                                                    {3, "Triangular (3"},
                                                    {12, "Triangular (12"},
                                                    {6, "Hexagonal (6"}};
    for (const auto& [n, caption] : lattices) {
        EXPECT_EQ(dialog.optLattice[n].text(), QString(caption) + " neighbors)");
        const QString key = QString::number(n) + "l";
        ASSERT_TRUE(dialog.ilPreview.contains(key)) << n;
        EXPECT_FALSE(dialog.ilPreview.at(key).isNull()) << n << " has its picture";
    }

    ExpectLattice(dialog, 8);
    ExpectTicks(dialog, {2, 3}, {3});

    // Opening again brings the same window forward with the engine's rule.
    dialog.chkBirth.Click(5);
    Form().ShowRules();
    EXPECT_EQ(Form().rulesDialog(), &dialog);
    EXPECT_EQ(Ticked(dialog.chkBirth), Ints{3});

    // Closing the main window closes the dialog.
    Form().close();
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(FrmRulesTest, PredefinedSetsReachTheEngineOnlyOnOk) {
    frmRules& dialog = Open();
    dialog.chkBirth.Click(0);
    dialog.chkSurv.Click(7);
    Choose(dialog, "Seeds");

    ASSERT_EQ(dialogs_.Requests().size(), 1u);
    const platform::MenuRequest& menu = dialogs_.Requests()[0].menu;
    EXPECT_EQ(menu.items, (QStringList{"Lifeboard's Life", "High Life", "Seeds", "Diamoeba",
                                       "Day and Night", "-", "Triangular 23/3", "Triangular 34/45",
                                       "Triangular 45/456", "-", "Hexagonal Life", "Snowflake"}));
    // At the button's right edge, level with its top.
    ASSERT_NE(menu.owner, nullptr);
    EXPECT_EQ(menu.owner->mapToGlobal(menu.at),
              dialog.cmdPredefined->mapToGlobal(QPoint(dialog.cmdPredefined->width(), 0)));

    ExpectTicks(dialog, {}, {2});
    EXPECT_EQ(Form().EngineRule(), MakeRule({2, 3}, {3}));

    dialog.cmdOK->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(EngineNeiCount(), 8);
    EXPECT_EQ(Form().EngineRule(), MakeRule({}, {2}));

    // A set of another lattice selects it.
    Open();
    Choose(dialog, "Hexagonal Life");
    ExpectLattice(dialog, 6);
    EXPECT_EQ(EngineNeiCount(), 8);
    dialog.cmdOK->click();
    EXPECT_TRUE(Form().NeiCount() == 6 && EngineNeiCount() == 6);
    EXPECT_EQ(Form().EngineRule(), MakeRule({3, 4}, {2}));

    // Dismissing the menu changes nothing.
    Open();
    dialogs_.DismissMenu();
    dialog.cmdPredefined->click();
    ExpectTicks(dialog, {3, 4}, {2});
}

TEST_F(FrmRulesTest, RuleCodeTicksTheBoxesOfItsBits) {
    frmRules& dialog = Open();
    Choose(dialog, "Snowflake");
    EnterCode(dialog, "224");

    const platform::DialogRequest& input = dialogs_.Requests().back();
    EXPECT_TRUE(input.kind == DialogKind::Input && input.title == "Edit rules" &&
                input.defaultText == "0");
    EXPECT_EQ(input.text, "Enter Wolfram's cellular automata classification code:");
    // Bits 5, 6 and 7; the Snowflake ticks above them are cleared; the lattice stays.
    ExpectTicks(dialog, {2, 3}, {3});
    ExpectLattice(dialog, 6);
    EXPECT_EQ(Form().EngineRule(), MakeRule({2, 3}, {3}));
    EXPECT_EQ(EngineNeiCount(), 8);

    // No answer, and a code beyond 16 bits, change nothing.
    dialogs_.CancelInput();
    dialog.cmdWolf->click();
    EnterCode(dialog, "");
    dialogs_.AnswerInput("40000");
    dialogs_.AnswerMessage(platform::MessageResult::Ok);
    dialog.cmdWolf->click();
    const platform::DialogRequest& message = dialogs_.Requests().back();
    EXPECT_TRUE(message.kind == DialogKind::Message && message.title == "Edit rules" &&
                message.icon == platform::MessageIcon::Critical);
    EXPECT_EQ(message.text.toStdString(), lifeboard::kRuleCodeRangeMessage);
    ExpectTicks(dialog, {2, 3}, {3});

    // Bits past the lattice tick disabled boxes, but OK writes 0..6 only.
    EnterCode(dialog, "32767");
    ExpectTicks(dialog, UpTo(6), UpTo(7));
    dialog.cmdOK->click();
    EXPECT_EQ(EngineNeiCount(), 6);
    EXPECT_EQ(Form().EngineRule(), MakeRule({0, 1, 2, 3, 4, 5, 6}, {0, 1, 2, 3, 4, 5, 6}));
}

TEST_F(FrmRulesTest, FourNeighbourLatticeDisablesTheColumnsAboveFour) {
    frmRules& dialog = Open();
    dialog.chkSurv.Click(7);
    dialog.chkBirth.Click(6);
    dialog.optLattice.Click(4);

    ExpectLattice(dialog, 4);
    // Their ticks stay.
    ExpectTicks(dialog, {2, 3, 7}, {3, 6});

    dialog.cmdOK->click();
    EXPECT_TRUE(Form().NeiCount() == 4 && EngineNeiCount() == 4);
    EXPECT_EQ(Form().EngineRule(), MakeRule({2, 3}, {3}));

    // Back to 12: every column again.
    Open();
    ExpectLattice(dialog, 4);
    dialog.optLattice.Click(12);
    ExpectLattice(dialog, 12);
}

TEST_F(FrmRulesTest, CancelChangesNothing) {
    SetEngineRule(MakeRule({1, 5}, {3, 7}));
    frmRules& dialog = Open();
    Choose(dialog, "Triangular 34/45");
    dialog.chkSurv.Click(11);
    dialog.cmdCancel->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(Form().NeiCount() == 8 && EngineNeiCount() == 8);
    EXPECT_EQ(Form().EngineRule(), MakeRule({1, 5}, {3, 7}));

    // Reopened, it shows the engine again, and nothing of the cancelled
    // ticks is left above the engine's columns to reach it later.
    Open();
    ExpectLattice(dialog, 8);
    ExpectTicks(dialog, {1, 5}, {3, 7});
    dialog.optLattice.Click(12);
    dialog.cmdOK->click();
    EXPECT_EQ(EngineNeiCount(), 12);
    EXPECT_EQ(Form().EngineRule(), MakeRule({1, 5}, {3, 7}));
}

TEST_F(FrmRulesTest, NegativeModeShowsAndStoresTheRuleBeforeTheComplement) {
    // The engine holds the complement transform of S 23 / B 03 on 8 neighbours.
    const RuleTables held = MakeRule({0, 1, 2, 3, 4, 6, 7}, {0, 1, 2, 3, 4, 7, 8});
    SetEngineRule(held);
    Form().negative = true;

    frmRules& dialog = Open();
    ExpectTicks(dialog, {2, 3}, {0, 3});
    dialog.cmdOK->click();
    EXPECT_EQ(Form().EngineRule(), held);
    EXPECT_TRUE(Form().negative);

    // A new rule is stored as its complement, mirrored on its own lattice.
    Open();
    Choose(dialog, "Seeds");
    dialog.cmdOK->click();
    EXPECT_EQ(Form().EngineRule(), MakeRule({0, 1, 2, 3, 4, 5, 7, 8}, {0, 1, 2, 3, 4, 5, 6, 7, 8}));

    Open();
    Choose(dialog, "Hexagonal Life");
    dialog.cmdOK->click();
    EXPECT_EQ(EngineNeiCount(), 6);
    EXPECT_EQ(Form().EngineRule(), MakeRule({0, 1, 2, 3, 5, 6}, {0, 1, 4, 5, 6}));
    Open();
    ExpectTicks(dialog, {3, 4}, {2});
    dialog.cmdCancel->click();
}

TEST_F(FrmRulesTest, F1OpensTheProgramsHelpPage) {
    std::vector<QString> pages;
    platform::SetHelpHandler([&](const QString& page) { pages.push_back(page); });
    frmRules& dialog = Open();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(dialog.cmdOK, Qt::Key_F1);
    platform::SetHelpHandler(nullptr);
    EXPECT_EQ(pages, std::vector<QString>{frmLifeboard::kHelpTopic});
}

} // namespace
