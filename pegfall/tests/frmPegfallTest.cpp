#include "Conversions.h"
#include "HelpKeyPress.h"
#include "PegPictures.h"
#include "PrngLibrary.h"
#include "Pump.h"
#include "ScriptedDialogs.h"
#include "Slider.h"
#include "Surface.h"
#include "SurfaceImage.h"
#include "SurfaceLabel.h"
#include "SurfaceLine.h"
#include "SurfaceShape.h"
#include "TextBox.h"
#include "Timer.h"
#include "WindowSizeChecks.h"
#include "frmPegfall.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace {

// A shown window of the design size, the library's sequence fixed, timers
// ticking only when a test fires them, and no message box expected.
class Pegfall : public ::testing::Test {
protected:
    void SetUp() override {
        platform::PRNGSetSeed(1815);
        platform::SetTimersHeld(true);
        dialogs_.SetFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
        form_ = std::make_unique<frmPegfall>();
        form_->show();
    }
    void TearDown() override {
        platform::SetDoEventsHook(nullptr);
        form_.reset();
        platform::SetTimersHeld(false);
    }

    frmPegfall& Form() { return *form_; }
    void Uncheck() { Form().chkAnimate->setChecked(false); }
    // The sum of the count labels: the balls the chart shows.
    long Shown() {
        long sum = 0;
        for (int k = 0; k <= Form().Board().Levels(); ++k)
            sum += Form().lblBar[k]->Text().toLong();
        return sum;
    }
    // Go at full speed; actions[n] runs at the pump after ball n. Returns when the loop has ended.
    void RunFullSpeed(std::map<uint64_t, std::function<void()>> actions) {
        platform::SetDoEventsHook([this, actions] {
            if (const auto a = actions.find(Form().Board().Total()); a != actions.end())
                a->second();
        });
        Form().sldSpeed->SetValue(4);
        Form().cmdGo->click();
        platform::SetDoEventsHook(nullptr);
    }
    int VisibleSegments() {
        int n = 0;
        for (const platform::SurfaceLine* line : Form().linGauss)
            n += line->IsVisible();
        return n;
    }

    platform::ScriptedDialogs dialogs_;
    std::unique_ptr<frmPegfall> form_;
};

TEST_F(Pegfall, LevelsTextSettlesAndTheArraysFollowIt) {
    EXPECT_EQ(Form().windowTitle(), "Veritope - Pegfall");
    EXPECT_EQ(Form().imTwig.size(), 36u);
    const struct {
        const char* typed;
        const char* settled;
        int levels;
    } rows[] = {{"31", "30", 30}, {"0", "1", 1},     {"-3", "1", 1},  {"", "1", 1},
                {"2.5", "2", 2},  {"8abc", "8", 8},  {"45", "30", 30}, {"5", "5", 5}};
    int longest = Form().CurveMark();
    for (const auto& r : rows) {
        Form().txtPegs->setText(r.typed);
        longest = std::max(longest, Form().Board().CurveLast());
        EXPECT_EQ(Form().txtPegs->text(), r.settled) << r.typed;
        const int levels = Form().Board().Levels();
        ASSERT_EQ(levels, r.levels) << r.typed;
        const int pegs = levels * (levels + 1) / 2;
        EXPECT_EQ(static_cast<int>(Form().imTwig.size()), pegs);
        EXPECT_EQ(Form().PegMark(), pegs - 1);
        EXPECT_EQ(static_cast<int>(Form().shpBar.size()), levels + 1);
        EXPECT_EQ(static_cast<int>(Form().lblBar.size()), levels + 1);
        EXPECT_EQ(Form().BarMark(), levels);
        // Segments beyond the curve stay made but hidden.
        EXPECT_EQ(VisibleSegments(), Form().Board().CurveLast() + 1);
        EXPECT_GE(Form().CurveMark(), Form().Board().CurveLast());
        EXPECT_EQ(static_cast<int>(Form().linGauss.size()), Form().CurveMark() + 1);
        // Pegs and bars where the board has them; bins emptied.
        const platform::SurfaceImage& last = *Form().imTwig.back();
        EXPECT_EQ(last.Left(), platform::NearestInt(Form().Board().PegLeft(levels - 1, levels - 1)));
        EXPECT_EQ(last.Width(), 8);
        EXPECT_EQ(Form().Board().Total(), 0u);
        EXPECT_EQ(Shown(), 0);
    }
    EXPECT_EQ(Form().CurveMark(), longest);
}

TEST_F(Pegfall, UnanimatedBoardHasNoPegAreaAndTheBinsFillTheWindow) {
    Uncheck();
    EXPECT_FALSE(Form().imBall->IsVisible());
    EXPECT_EQ(Form().shpCanvas->Height(), 0);
    EXPECT_EQ(Form().shpResults->Geometry(), QRect(0, 87, 633, 429 - 86 - 51));
    for (const platform::SurfaceImage* peg : Form().imTwig)
        EXPECT_FALSE(peg->IsVisible());
    EXPECT_DOUBLE_EQ(Form().Board().Step(), 633.0 / 20);
    // Flat bars on the bottom of the bin area, every label 0.
    for (int k = 0; k <= 8; ++k) {
        EXPECT_EQ(Form().shpBar[k]->Height(), 0);
        EXPECT_EQ(Form().shpBar[k]->Top(), 379);
        EXPECT_EQ(Form().lblBar[k]->Text(), "0");
    }
    // Unanimated, a draw >= 0.5 is a turn to the right.
    Form().txtPegs->setText("1");
    platform::ScriptedDraws draws({0.5});
    Form().cmdGo->click();
    Form().timAnim->Tick();
    EXPECT_EQ(Form().Board().Bins()[1], 1u);
    Form().chkAnimate->setChecked(true);
    EXPECT_TRUE(Form().imBall->IsVisible());
    EXPECT_TRUE(Form().imTwig[0]->IsVisible());
    EXPECT_EQ(Form().shpCanvas->Height(), 156); // 86 to 242.5, to even
}

TEST_F(Pegfall, WideMiddleCountStaggersTheLabelsUntilClear) {
    Uncheck();
    // Four turns each way: every ball lands in the middle bin.
    platform::ScriptedDraws draws({0.7, 0.2});
    Form().sldSpeed->SetValue(0);
    Form().cmdGo->click();
    Form().timAnim->Tick(9999);
    EXPECT_EQ(Form().lblBar[0]->Top(), Form().lblBar[1]->Top());
    Form().timAnim->Tick();
    EXPECT_EQ(Form().lblBar[4]->Text(), "10000");
    EXPECT_EQ(Form().lblBar[0]->Top(), 388); // 396 - 8.5, to even
    EXPECT_EQ(Form().lblBar[1]->Top(), 404);
    EXPECT_EQ(Form().shpBar[4]->Height(), 429 - 86 - 51);
    // A new layout keeps the counts and staggers them again.
    Form().resize(700, 500);
    EXPECT_EQ(Form().Board().Bins()[4], 10000u);
    EXPECT_EQ(Form().shpBar[4]->Height(), 500 - 86 - 51);
    EXPECT_NE(Form().lblBar[0]->Top(), Form().lblBar[1]->Top());
    Form().cmdClean->click();
    EXPECT_EQ(Form().lblBar[0]->Top(), Form().lblBar[1]->Top());
    EXPECT_EQ(Form().lblBar[4]->Text(), "0");
    EXPECT_EQ(Form().shpBar[4]->Height(), 0);
}

TEST_F(Pegfall, ResizeLaysOutAgainDownToTheLeastSizeThatHoldsItAll) {
    platform::ScriptedDraws draws({0.7, 0.2});
    Uncheck();
    Form().sldSpeed->SetValue(0);
    Form().cmdGo->click();
    Form().timAnim->Tick(7);
    Form().chkAnimate->setChecked(true);
    const int segments = VisibleSegments();
    Form().resize(900, 600);
    EXPECT_EQ(Form().Board().Total(), 7u);
    EXPECT_EQ(Form().shpBack->Width(), 900);
    EXPECT_EQ(Form().cmdGo->x(), 372); // 450 - 77.5, to even
    EXPECT_EQ(Form().sldSpeed->x(), 900 - 184 + 51);
    EXPECT_EQ(Form().shpBar[4]->Geometry().bottom() + 1, qRound(Form().Board().Results().Bottom()));
    EXPECT_EQ(Form().shpBar[4]->Height(), qRound(Form().Board().Results().height));
    EXPECT_GT(VisibleSegments(), segments);
    EXPECT_EQ(Shown(), 7);
    // No narrower than the speed controls at their design places, and no lower than a bin area
    // taller than a label below a peg area of its own.
    EXPECT_TRUE(platform_test::StopsShrinkingAt(Form(), QSize(633, 193)));
    Form().resize(1, 1);
    EXPECT_EQ(Form().Board().Canvas().height, 38.5);
    EXPECT_GT(Form().Board().Results().height, pegfall::PegBoard::kLabelHeight);
    EXPECT_EQ(Form().lblFast->Left() + Form().lblFast->Width(), 628);
}

TEST_F(Pegfall, UnanimatedChartIsRedrawnEveryBallBelowSpeedTwoThenEveryFiveAndTen) {
    Uncheck();
    Form().cmdGo->click();
    const struct {
        int speed, interval;
    } rows[] = {{0, 1}, {1, 1}, {2, 5}, {3, 10}};
    for (const auto& r : rows) {
        Form().cmdClean->click();
        Form().sldSpeed->SetValue(r.speed);
        EXPECT_EQ(Form().timAnim->Interval(), 61 - 20 * r.speed);
        for (int ball = 1; ball <= 30; ++ball) {
            Form().timAnim->Tick();
            EXPECT_EQ(Shown(), ball - ball % r.interval) << r.speed << " " << ball;
        }
    }
    Form().timAnim->Tick(3);
    EXPECT_EQ(Shown(), 30);
    Form().cmdGo->click(); // Stop redraws
    EXPECT_EQ(Shown(), 33);
    EXPECT_FALSE(Form().timAnim->Enabled());
}

TEST_F(Pegfall, FullSpeedLoopRedrawsEvery5000BallsAndLeavesOnSpeedAndStop) {
    Uncheck();
    std::vector<long> shown;
    RunFullSpeed({{4999, [&] { shown.push_back(Shown()); }},
                  {5000, [&] { shown.push_back(Shown()); }},
                  {5100,
                   [&] {
                       // Sliding to 3: the 1 ms timer takes over.
                       Form().sldSpeed->SetValue(3);
                   }}});
    EXPECT_EQ(shown, (std::vector<long>{0, 5000}));
    EXPECT_EQ(Form().Board().Total(), 5100u);
    EXPECT_EQ(Form().cmdGo->text(), "Stop");
    EXPECT_TRUE(Form().timAnim->Ticking());
    EXPECT_EQ(Form().timAnim->Interval(), 1);
    Form().timAnim->Tick(10);
    EXPECT_EQ(Form().Board().Total(), 5110u);
    // Back to 4: the loop runs again before the slider's handler returns.
    platform::SetDoEventsHook([this] {
        if (Form().Board().Total() == 6000)
            Form().cmdGo->click();
    });
    Form().sldSpeed->SetValue(4);
    platform::SetDoEventsHook(nullptr);
    EXPECT_EQ(Form().Board().Total(), 6000u);
    EXPECT_EQ(Shown(), 6000); // Stop redraws
    EXPECT_EQ(Form().cmdGo->text(), "Go");
    EXPECT_FALSE(Form().timAnim->Enabled());
    EXPECT_TRUE(Form().txtPegs->isEnabled());

    // Enter presses Go; closing the window ends the loop for good.
    Form().txtPegs->setFocus();
    platform::SetDoEventsHook([this] {
        if (Form().Board().Total() == 6100)
            Form().close();
    });
    QTest::keyClick(Form().txtPegs, Qt::Key_Return);
    EXPECT_EQ(Form().Board().Total(), 6100u);
    EXPECT_FALSE(Form().timAnim->Enabled());
}

TEST_F(Pegfall, AnimatedBallSwingsFallsFasterAndLandsAtTheEndOfItsSwings) {
    Form().txtPegs->setText("1");
    Form().sldSpeed->SetValue(0);
    for (const double draw : {0.5, 0.4999}) {
        platform::ScriptedDraws draws({draw});
        Form().cmdGo->click();
        EXPECT_FALSE(Form().txtPegs->isEnabled());
        float top = Form().Ball().top;
        while (!Form().Ball().falling) {
            top = Form().Ball().top;
            ASSERT_EQ(Form().timAnim->Tick(), 1);
        }
        EXPECT_EQ(Form().Ball().row, 2);
        // The tick that leaves the row moves the ball by 10, each next one by 10, 12, 14 ...
        EXPECT_NEAR(Form().Ball().top - top, 10, 1e-3);
        top = Form().Ball().top;
        double expected = 10;
        const uint64_t before = Form().Board().Total();
        while (Form().Board().Total() == before) {
            EXPECT_EQ(Shown(), static_cast<long>(before)); // drawn at landings only
            Form().timAnim->Tick();
            if (Form().Board().Total() == before) {
                EXPECT_NEAR(Form().Ball().top - top, expected, 1e-3);
                EXPECT_EQ(Form().imBall->Top(), qRound(Form().Ball().top));
                top = Form().Ball().top;
                expected += 2;
            }
        }
        EXPECT_GT(expected, 12);
        EXPECT_EQ(Shown(), static_cast<long>(before) + 1);
        EXPECT_EQ(Form().Board().Bins()[draw >= 0.5 ? 0 : 1], 1u);
        // Back on the first peg.
        EXPECT_EQ(Form().Ball().angle, 0);
        EXPECT_EQ(Form().imBall->Left() + 8, Form().imTwig[0]->Left() + 4);
        EXPECT_EQ(Form().imBall->Top() + 16, Form().imTwig[0]->Top());
        // Stop drops a ball on the board uncounted.
        Form().timAnim->Tick(3);
        Form().cmdGo->click();
        EXPECT_EQ(Form().Ball().row, 0);
    }
    EXPECT_EQ(Form().Board().Total(), 2u);
}

TEST_F(Pegfall, BallStaysInFrontOfThePegsBarsAndCurveAllTheWayDown) {
    // With 30 rows the pegs stand closer than the ball is wide.
    Form().txtPegs->setText("30");
    Form().sldSpeed->SetValue(0);
    Form().cmdGo->click();
    const QColor middle = pegfall::BallPicture().pixelColor(8, 8);
    for (int ball = 0; ball < 2; ++ball) {
        const uint64_t before = Form().Board().Total();
        while (Form().Board().Total() == before) {
            ASSERT_EQ(Form().timAnim->Tick(), 1);
            const QImage shown = Form().surface->Composite();
            ASSERT_EQ(shown.pixelColor(Form().imBall->Left() + 8, Form().imBall->Top() + 8), middle)
                << "row " << Form().Ball().row;
        }
    }
}

TEST_F(Pegfall, F1OpensTheProgramsHelpPage) {
    EXPECT_EQ(platform_test::HelpPagesOnF1(Form()), std::vector<QString>{frmPegfall::kHelpTopic});
}

} // namespace
