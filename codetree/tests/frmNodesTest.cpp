#include "frmNodes.h"

#include "CodetreeFixture.h"
#include "TextBox.h"

#include <QPushButton>
#include <QWindow>

namespace {

class Nodes : public codetree_test::CodetreeFixture {
protected:
    frmNodes& Window() { return Form().Nodes(); }
    void Type(const QString& text) {
        Window().txtAdd->clear();
        QTest::keyClicks(Window().txtAdd, text);
    }
    void Click(QPoint windowPoint) {
        QTest::mouseClick(Form().surface, Qt::LeftButton, {}, OnSurface(windowPoint));
    }
};

TEST_F(Nodes, TypedWeightsAreReadRewrittenAndAdded) {
    EXPECT_TRUE(Window().isVisible());
    EXPECT_EQ(Window().windowTitle(), "Edit probabilities");
    EXPECT_TRUE(Window().windowFlags().testFlag(Qt::Tool));
    const struct {
        const char* typed;
        const char* shown; // after Add
        double added;      // 0: Add is not offered
    } cases[] = {
        {"1/4", "1/4", 0.25}, {"3/0", "3", 3},       {"1.5/2", "1.5", 1.5},       {"2/0.5", "2", 2},
        {"6/4", "6/4", 1.5},  {" 7abc", "7", 7},     {"abc", "abc", 0},           {"0", "0", 0},
        {"-2/1", "-2/1", 0},  {"1e999", "1e999", 0}, {"1/1e-320", "1", 1},
        // Add is offered exactly when its click adds: "-1.5/-2" reads 0.75 but the
        // click would rewrite it to -1.5.
        {"-1.5/-2", "-1.5/-2", 0}, {"-3/-4", "-3/-4", 0.75},
    };
    int leaves = 0;
    for (const auto& c : cases) {
        Type(c.typed);
        EXPECT_EQ(Window().cmdAdd->isEnabled(), c.added > 0) << c.typed;
        Window().cmdAdd->click();
        EXPECT_EQ(Window().txtAdd->text(), c.shown) << c.typed;
        if (c.added == 0)
            continue;
        ++leaves;
        ASSERT_EQ(Form().Forest().Size(), leaves) << c.typed;
        EXPECT_EQ(Form().Forest().Tree(leaves).weight, c.added) << c.typed;
        EXPECT_EQ(Form().Forest().Tree(leaves).chars, std::to_string(leaves));
        EXPECT_EQ(Window().txtAdd->selectedText(), c.shown) << c.typed;
    }
    EXPECT_EQ(Form().Forest().Size(), leaves);
}

TEST_F(Nodes, NormalizeAndRemoveFollowTheSumAndTheSelection) {
    Form().Add(0.25);
    Form().Add(0.75);
    EXPECT_FALSE(Window().cmdNormalize->isEnabled()); // the weights sum to 1 already
    Form().Add(2);
    ASSERT_TRUE(Window().cmdNormalize->isEnabled());
    Window().cmdNormalize->click();
    EXPECT_FALSE(Window().cmdNormalize->isEnabled());
    EXPECT_EQ(Form().Forest().Tree(3).weight, 2.0 / 3);
    EXPECT_EQ(Form().sbStatusBar->PanelText("Sum"), "Sum: 1");

    EXPECT_FALSE(Window().cmdRemove->isEnabled());
    Click(LeafCentre(2));
    EXPECT_EQ(Form().Forest().Selection(), &Form().Forest().Tree(2));
    EXPECT_TRUE(Window().cmdRemove->isEnabled());
    Click(LeafCentre(2) + QPoint(Form().View().unitX, 0)); // between two leaves
    EXPECT_EQ(Form().Forest().Selection(), nullptr);
    EXPECT_FALSE(Window().cmdRemove->isEnabled());

    Click(LeafCentre(2));
    Window().cmdRemove->click();
    ASSERT_EQ(Form().Forest().Size(), 2);
    EXPECT_EQ(Form().Forest().Tree(2).chars, "2");
    EXPECT_EQ(Form().Forest().Tree(2).weight, 2.0 / 3);
    EXPECT_FALSE(Window().cmdRemove->isEnabled());

    // Once a merge step is made the mouse selects nothing and the window hides.
    Form().tlbToolBar->Click("Step");
    EXPECT_FALSE(Window().isVisible());
    Form().tlbToolBar->Click("StepBack");
    EXPECT_TRUE(Window().isVisible());
    Form().tlbToolBar->Click("Step");
    const codetree::TreeView& v = Form().View();
    Click({v.originX + v.unitX + v.canvasLeft - v.scrollX, // the left leaf
           v.originY + 3 * v.unitY + v.canvasTop - v.scrollY});
    EXPECT_EQ(Form().Forest().Selection(), nullptr);
}

// Weight, Enter, weight, Enter; a focused button takes Enter itself. A weight the
// statistics cannot hold is refused with a message.
TEST_F(Nodes, EnterAddsAndAWeightBeyondTheNumbersIsRefused) {
    QApplication::setActiveWindow(&Window());
    Window().txtAdd->setFocus();
    for (const char* typed : {"2", "1e308", "1e308"}) {
        if (std::string(typed) == "1e308" && Form().Forest().Size() == 2)
            dialogs_.AnswerMessage(platform::MessageResult::Ok);
        QTest::keyClicks(Window().txtAdd, typed); // replaces the selected text
        QTest::keyClick(Window().txtAdd, Qt::Key_Return);
    }
    ASSERT_EQ(Form().Forest().Size(), 2);
    EXPECT_EQ(Form().Forest().Tree(2).weight, 1e308);
    ASSERT_EQ(dialogs_.Requests().size(), 1u);
    EXPECT_EQ(dialogs_.Requests()[0].title, "Codetree");
    EXPECT_EQ(dialogs_.Requests()[0].icon, platform::MessageIcon::Critical);
    EXPECT_TRUE(dialogs_.Requests()[0].text.startsWith("The weight is too large"));
    EXPECT_EQ(Form().sbStatusBar->PanelText("Sum"),
              "Sum: " + frmCodetree::FormatValue(2 + 1e308));
    EXPECT_FALSE(Form().sbStatusBar->PanelText("Entropy").contains("nan"));

    Window().cmdNormalize->setFocus();
    QTest::keyClick(Window().cmdNormalize, Qt::Key_Return);
    EXPECT_EQ(Form().Forest().SumWeight(), 1);
    EXPECT_EQ(Form().Forest().Size(), 2);
}

// The tool window stays above its owner and never takes the focus from it: the
// toolbar keeps it while its commands refresh the tool window. (Whether a window
// shown again takes the focus is the window system's: offscreen, every window
// shown is activated.)
TEST_F(Nodes, StaysAboveItsOwnerWithoutTakingItsFocus) {
    ASSERT_NE(Window().windowHandle(), nullptr);
    EXPECT_EQ(Window().windowHandle()->transientParent(), Form().windowHandle());
    Form().Add(1);
    Form().Add(2);
    QApplication::setActiveWindow(&Form());
    ASSERT_EQ(QApplication::activeWindow(), &Form());
    for (const char* key : {"ZoomIn", "ZoomOut"}) {
        Form().tlbToolBar->Click(key);
        QApplication::processEvents(); // a request to activate a window is queued
        EXPECT_TRUE(Window().isVisible());
        EXPECT_EQ(QApplication::activeWindow(), &Form()) << key;
    }
    // Once the user turns to it, the weight box has the focus.
    QApplication::setActiveWindow(&Window());
    EXPECT_EQ(QApplication::focusWidget(), Window().txtAdd);
}

} // namespace
