#include "frmNeighbora.h"

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

class NeighboraWindow : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = std::make_unique<frmNeighbora>();
        form_->show();
    }
    void TearDown() override {
        platform::SetDoEventsHook(nullptr);
        form_.reset();
    }
    frmNeighbora& Form() { return *form_; }
    QColor CellPixel(int x, int y) {
        const platform::Surface& c = *Form().picCanvas;
        const double cw = static_cast<double>(c.ScaleWidth()) / Form().grid.gridW;
        return c.Pixel(static_cast<int>((x + 0.5) * cw), static_cast<int>((y + 0.5) * cw));
    }
    std::unique_ptr<frmNeighbora> form_;
};

TEST_F(NeighboraWindow, StartsOnFiftyByFiftyWithTheDesignSliders) {
    EXPECT_EQ(Form().windowTitle(), "Veritope - Neighbora");
    EXPECT_EQ(Form().cmbSize->ListIndex(), 4);
    EXPECT_EQ(Form().cmbSize->ListCount(), 7);
    EXPECT_EQ(Form().cmbSize->ItemData(6), 100);
    EXPECT_EQ(Form().grid.gridW, 50);
    EXPECT_EQ(Form().lblDensPerc->text(), "75%");
    EXPECT_EQ(Form().lblOneKindVal->text(), "50%");
    EXPECT_EQ(Form().lblPrejVal->text(), "30%");
    Form().sldPrej->SetValue(0);
    EXPECT_EQ(Form().lblPrejVal->text(), "0%");
}

TEST_F(NeighboraWindow, KindsPaintBlueRedAndWhite) {
    Form().sldDensity->SetValue(100);
    Form().sldOneKind->SetValue(100);
    Form().cmdReset->click();
    EXPECT_EQ(CellPixel(0, 0), QColor(0, 0, 255));
    EXPECT_EQ(CellPixel(49, 49), QColor(0, 0, 255));
    Form().sldOneKind->SetValue(0);
    Form().cmbSize->SetListIndex(6);
    Form().cmdReset->click();
    EXPECT_EQ(Form().grid.gridW, 100);
    EXPECT_EQ(CellPixel(50, 50), QColor(255, 0, 0));
    Form().grid.kind(50, 50) = -1;
    Form().picCanvas_Paint();
    EXPECT_EQ(CellPixel(50, 50), QColor(255, 255, 255));
}

TEST_F(NeighboraWindow, RunStepsUntilStop) {
    Form().sldPrej->SetValue(100);
    auto kinds = [this] {
        std::vector<int16_t> all;
        for (int x = 0; x < Form().grid.gridW; ++x)
            for (int y = 0; y < Form().grid.gridH; ++y)
                all.push_back(Form().grid.kind(x, y));
        return all;
    };
    const auto before = kinds();
    int rounds = 0;
    platform::SetDoEventsHook([&] {
        if (++rounds == 5)
            Form().cmdRun->click();
    });
    Form().cmdRun->click();
    EXPECT_EQ(rounds, 5);
    EXPECT_EQ(Form().cmdRun->text(), "Run");
    EXPECT_EQ(kinds(), before) << "nobody moves at 100%";
}

TEST_F(NeighboraWindow, CannotBeMadeSmallerThanItsControls) {
    // The canvas and the frame keep their places: the window keeps them whole, with their margin.
    EXPECT_TRUE(platform_test::StopsShrinkingAt(Form(), QSize(706, 360)));
}

TEST_F(NeighboraWindow, F1OpensTheProgramsHelpPage) {
    std::vector<QString> pages;
    platform::SetHelpHandler([&](const QString& page) { pages.push_back(page); });
    Form().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Form()));
    QTest::keyClick(&Form(), Qt::Key_F1);
    platform::SetHelpHandler(nullptr);
    EXPECT_EQ(pages, std::vector<QString>{frmNeighbora::kHelpTopic});
}

} // namespace
