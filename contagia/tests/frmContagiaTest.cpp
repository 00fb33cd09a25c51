#include "frmContagia.h"

#include "DropDownList.h"
#include "Help.h"
#include "Pump.h"
#include "Slider.h"
#include "Surface.h"
#include "WindowSizeChecks.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

class ContagiaWindow : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = std::make_unique<frmContagia>();
        form_->show();
    }
    void TearDown() override {
        platform::SetDoEventsHook(nullptr);
        form_.reset();
    }
    frmContagia& Form() { return *form_; }
    // The colour at the centre of cell (x, y) of the canvas.
    QColor CellPixel(int x, int y) {
        const platform::Surface& c = *Form().picCanvas;
        const double cw = static_cast<double>(c.ScaleWidth()) / Form().grid.gridW;
        const double ch = static_cast<double>(c.ScaleHeight()) / Form().grid.gridH;
        return c.Pixel(static_cast<int>((x + 0.5) * cw), static_cast<int>((y + 0.5) * ch));
    }
    std::unique_ptr<frmContagia> form_;
};

TEST_F(ContagiaWindow, StartsOnThirtyByThirtyWithTheDesignSliders) {
    EXPECT_EQ(Form().windowTitle(), "Veritope - Contagia");
    EXPECT_EQ(Form().cmbSize->ListIndex(), 2);
    EXPECT_EQ(Form().cmbSize->List(4), "50 x 50");
    EXPECT_EQ(Form().grid.gridW, 30);
    EXPECT_EQ(Form().grid.personCount, 765);
    EXPECT_EQ(Form().lblDensPerc->text(), "85%");
    EXPECT_EQ(Form().lblInitPerc->text(), "5%");
    EXPECT_EQ(Form().lblRatePerc->text(), "2%");
    EXPECT_EQ(Form().lblThreshPerc->text(), "1%");
    Form().sldRate->SetValue(40);
    EXPECT_EQ(Form().lblRatePerc->text(), "40%");
}

TEST_F(ContagiaWindow, CellsAreColouredBySickness) {
    Form().grid.ClearGrid();
    Form().grid.sickness(0, 0) = 1;
    Form().grid.sickness(1, 0) = 0;
    Form().grid.sickness(2, 0) = 0.5;
    Form().picCanvas_Paint();
    EXPECT_EQ(CellPixel(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(CellPixel(1, 0), QColor(0, 0, 255));
    EXPECT_EQ(CellPixel(2, 0), QColor(127, 0, 128));
    EXPECT_EQ(CellPixel(3, 0), QColor(255, 255, 255));
    EXPECT_EQ(Form().picCanvas->Pixel(0, 0), QColor(0, 0, 0)) << "outlined in black";
}

TEST_F(ContagiaWindow, ResetDuringARunContinuesOnTheNewGrid) {
    int rounds = 0;
    platform::SetDoEventsHook([&] {
        ++rounds;
        if (rounds == 3) {
            Form().cmbSize->SetListIndex(0);
            Form().cmdReset->click();
        }
        if (rounds == 6)
            Form().cmdRun->click();
    });
    Form().cmdRun->click();
    EXPECT_EQ(rounds, 6);
    EXPECT_EQ(Form().grid.gridW, 10);
    EXPECT_EQ(Form().grid.personCount, 85);
    EXPECT_EQ(Form().cmdRun->text(), "Run");
}

TEST_F(ContagiaWindow, StepPaintsAndClosingEndsTheRun) {
    Form().sldDensity->SetValue(100);
    Form().cmdReset->click();
    Form().cmdStep->click();
    for (int x = 0; x < 30; ++x)
        EXPECT_NE(CellPixel(x, 29), QColor(255, 255, 255)) << "a full grid has no empty cell";
    int rounds = 0;
    platform::SetDoEventsHook([&] {
        if (++rounds == 2)
            Form().close();
    });
    Form().cmdRun->click();
    EXPECT_EQ(rounds, 2);
}

TEST_F(ContagiaWindow, CannotBeMadeSmallerThanItsControls) {
    // The canvas and the frame keep their places: the window keeps them whole, with their margin.
    EXPECT_TRUE(platform_test::StopsShrinkingAt(Form(), QSize(706, 360)));
}

TEST_F(ContagiaWindow, F1OpensTheProgramsHelpPage) {
    std::vector<QString> pages;
    platform::SetHelpHandler([&](const QString& page) { pages.push_back(page); });
    Form().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Form()));
    QTest::keyClick(&Form(), Qt::Key_F1);
    platform::SetHelpHandler(nullptr);
    EXPECT_EQ(pages, std::vector<QString>{frmContagia::kHelpTopic});
}

} // namespace
