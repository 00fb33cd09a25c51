#include "frmFlipwell.h"

#include "Help.h"
#include "NumberFormat.h"
#include "PrngLibrary.h"
#include "ProgressBar.h"
#include "Pump.h"
#include "Surface.h"
#include "SurfaceLabel.h"
#include "TextBox.h"
#include "WindowSizeChecks.h"

#include <QFontMetrics>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

class FlipwellWindow : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        form_ = std::make_unique<frmFlipwell>();
        form_->show();
    }
    void TearDown() override {
        platform::SetDoEventsHook(nullptr);
        form_.reset();
    }
    frmFlipwell& Form() { return *form_; }
    void Toss(const char* text) {
        Form().txtTimes->setText(text);
        Form().cmdToss->click();
    }
    std::unique_ptr<frmFlipwell> form_;
};

TEST_F(FlipwellWindow, StartsEmptyAndRefusesCountsBelowOne) {
    EXPECT_EQ(Form().windowTitle(), "Veritope - Flipwell");
    EXPECT_EQ(Form().lblAllV->Text(), "0");
    EXPECT_EQ(Form().lblSumV->Text(), "0");
    EXPECT_FALSE(Form().lblErr->IsVisible());
    EXPECT_FALSE(Form().lblPerc->IsVisible());

    platform::ScriptedDraws draws({0.75});
    Toss("-5");
    EXPECT_EQ(Form().txtTimes->text(), "0");
    EXPECT_EQ(draws.DoublesTaken(), 0u);
    EXPECT_FALSE(Form().lblErr->IsVisible());
    EXPECT_EQ(Form().lblErrV->Text(), "");
}

TEST_F(FlipwellWindow, OneTossShowsValuesButNoGraph) {
    platform::ScriptedDraws draws({0.5});
    Toss("1");
    EXPECT_EQ(Form().lblAllV->Text(), "1");
    EXPECT_EQ(Form().lblSumV->Text(), "1");
    EXPECT_TRUE(Form().lblErr->IsVisible());
    EXPECT_EQ(Form().lblErrV->Text(), "0.5");
    EXPECT_FALSE(Form().lblPerc->IsVisible());
    EXPECT_TRUE(Form().graphPoints.empty());
}

TEST_F(FlipwellWindow, GraphHasOneSegmentPerSampleAfterTheFirst) {
    platform::ScriptedDraws draws({0.75, 0.25});
    Toss("2.9");
    EXPECT_EQ(Form().txtTimes->text(), "2");
    EXPECT_TRUE(Form().lblPerc->IsVisible());
    ASSERT_EQ(Form().graphPoints.size(), 2u);
    // 100% after one toss, 50% after two: the first point at the top, the second on the middle line.
    EXPECT_LT(Form().graphPoints[0].y(), Form().graphPoints[1].y());
    // The red line and the area under it are drawn.
    const QPoint a = Form().graphPoints[0], b = Form().graphPoints[1];
    const QPoint middle((a.x() + b.x()) / 2, (a.y() + b.y()) / 2);
    EXPECT_EQ(Form().surface->Pixel(middle.x(), middle.y()), QColor(0xFF, 0, 0));
    EXPECT_EQ(Form().surface->Pixel(middle.x(), middle.y() + 5), QColor(0xFF, 0xE0, 0xC0));

    Toss("1001");
    EXPECT_EQ(Form().graphPoints.size(), 1001u);
    Toss("1002");
    EXPECT_EQ(Form().graphPoints.size(), 1001u);
    EXPECT_EQ(Form().txtTimes->text(), "1002");
}

TEST_F(FlipwellWindow, ValuesOfSixteenDecimalsAreShownWhole) {
    platform::ScriptedDraws draws({0.75, 0.25, 0.25});
    Toss("3");
    const QString deviation = Form().lblErrV->Text();
    EXPECT_EQ(deviation.left(7), "-0.1666");
    EXPECT_EQ(deviation.size(), 19);
    const QFontMetrics metrics(Form().lblErrV->Font());
    EXPECT_GE(Form().lblErrV->Width(), metrics.horizontalAdvance(deviation) + 2 * platform::SurfaceLabel::kMarginX);
    EXPECT_GE(Form().lblAllV->Width(), metrics.horizontalAdvance(platform::FormatTrimmed(flipwell::kMaxTosses)));
}

TEST_F(FlipwellWindow, DeviationIsTheShareOfHeadsLessOneHalf) {
    std::vector<double> draws(100, 0.25);
    std::fill(draws.begin(), draws.begin() + 53, 0.5);
    platform::ScriptedDraws script(draws);
    Toss("100");
    EXPECT_EQ(Form().lblSumV->Text(), "53");
    EXPECT_EQ(Form().lblErrV->Text(), "0.03");
    std::fill(draws.begin() + 50, draws.end(), 0.25);
    platform::ScriptedDraws half(draws);
    Toss("100");
    EXPECT_EQ(Form().lblErrV->Text(), "0");
}

TEST_F(FlipwellWindow, ProgressBarCountsSamplesAndReturnsToZero) {
    platform::ScriptedDraws draws({0.3, 0.7, 0.9});
    int64_t highest = 0;
    double headsSeen = 0;
    platform::SetDoEventsHook([&] {
        highest = std::max(highest, Form().prgToss->Value());
        // A repaint during the run shows the heads counted so far.
        if (headsSeen == 0)
            headsSeen = Form().heads;
    });
    Toss("100000");
    EXPECT_EQ(Form().prgToss->Max(), 1001);
    EXPECT_EQ(highest, 1000) << "the last report is at sample 1000";
    EXPECT_EQ(Form().prgToss->Value(), 0);
    EXPECT_TRUE(Form().cmdToss->isEnabled());
    EXPECT_EQ(Form().lblAllV->Text(), "100,000");
    EXPECT_EQ(Form().lblSumV->Text(), "66,666");
    EXPECT_GT(headsSeen, 0);
    EXPECT_LT(headsSeen, 66666);
}

TEST_F(FlipwellWindow, EachTossReplacesTheFiguresAlsoWithNoTosses) {
    platform::ScriptedDraws draws({0.75});
    Toss("100");
    EXPECT_EQ(Form().lblSumV->Text(), "100");
    Toss("abc");
    EXPECT_EQ(Form().txtTimes->text(), "0");
    EXPECT_EQ(Form().lblAllV->Text(), "0");
    EXPECT_EQ(Form().lblSumV->Text(), "0");
    EXPECT_FALSE(Form().lblErr->IsVisible());
    EXPECT_EQ(Form().lblErrV->Text(), "");
    EXPECT_FALSE(Form().lblPerc->IsVisible());
    EXPECT_TRUE(Form().graphPoints.empty());
    // A single toss after a long run draws nothing of the long run either.
    Toss("1001");
    Toss("1");
    EXPECT_EQ(Form().lblAllV->Text(), "1");
    EXPECT_TRUE(Form().graphPoints.empty());
}

TEST_F(FlipwellWindow, APaintDuringARunShowsTheRunAsItStands) {
    // An earlier run of tails only leaves 1001 samples of 0%.
    {
        platform::ScriptedDraws tails({0.25});
        Toss("1001");
    }
    // Tails, heads, heads, again and again: after t tosses, t - ceil(t / 3) heads.
    platform::ScriptedDraws draws({0.3, 0.7, 0.9});
    QString tosses, headsText, deviation;
    std::vector<QPoint> points;
    platform::SetDoEventsHook([&] {
        if (!tosses.isEmpty() || Form().prgToss->Value() < 200)
            return;
        Form().resize(700, 500); // the user resizes the window mid-run
        tosses = Form().lblAllV->Text();
        headsText = Form().lblSumV->Text();
        deviation = Form().lblErrV->Text();
        points = Form().graphPoints;
    });
    Toss("100000");
    ASSERT_FALSE(tosses.isEmpty());
    const QLocale locale;
    const double t = locale.toDouble(tosses);
    const double h = locale.toDouble(headsText);
    ASSERT_GT(t, 0);
    EXPECT_LT(t, 100000);
    EXPECT_EQ(h, t - std::ceil(t / 3));
    EXPECT_EQ(deviation, platform::FormatTrimmed(h / t - 0.5));
    // Only the samples taken by then are drawn, all near two thirds, none of the earlier run.
    const double spacing = 100000.0 / 1001;
    size_t taken = 0;
    while (std::floor((taken + 1) * spacing) <= t)
        ++taken;
    ASSERT_EQ(points.size(), taken);
    const auto [low, high] =
        std::minmax_element(points.begin(), points.end(), [](QPoint a, QPoint b) { return a.y() < b.y(); });
    EXPECT_LT(high->y() - low->y(), 10);
    // At the end the whole run shows.
    EXPECT_EQ(Form().lblAllV->Text(), "100,000");
    EXPECT_EQ(Form().lblSumV->Text(), "66,666");
    EXPECT_EQ(Form().graphPoints.size(), 1001u);
}

TEST_F(FlipwellWindow, ClosingTheWindowEndsTheRun) {
    platform::ScriptedDraws draws({0.75});
    bool disabledDuringRun = false;
    platform::SetDoEventsHook([&] {
        disabledDuringRun = !Form().cmdToss->isEnabled();
        Form().close();
    });
    Toss("1e15");
    EXPECT_TRUE(disabledDuringRun);
    EXPECT_LE(draws.DoublesTaken(), static_cast<size_t>(flipwell::kPollEvery));
}

TEST_F(FlipwellWindow, EnterTossesAndTheRowsStayCentred) {
    platform::ScriptedDraws draws({0.75});
    Form().txtTimes->setText("3");
    Form().txtTimes->setFocus();
    QTest::keyClick(Form().txtTimes, Qt::Key_Return);
    EXPECT_EQ(Form().lblAllV->Text(), "3");

    Form().resize(800, 500);
    const int rowLeft = Form().lblToss->Left();
    const int rowRight = Form().cmdToss->x() + Form().cmdToss->width();
    EXPECT_LE(std::abs(rowLeft - (800 - rowRight)), 1);
    EXPECT_EQ(Form().prgToss->y(), 500 - Form().prgToss->height());
    EXPECT_EQ(Form().prgToss->width(), 800);
    EXPECT_EQ(Form().lblPerc->Left(), (800 - Form().lblPerc->Width()) / 2);
    // The title is widened to its text, never cut.
    EXPECT_GE(Form().lblPerc->Width(), 202);
    EXPECT_GE(Form().lblPerc->Width(), QFontMetrics(Form().lblPerc->Font()).horizontalAdvance(Form().lblPerc->Text()));
}

TEST_F(FlipwellWindow, CannotBeMadeSmallerThanItsDesign) {
    EXPECT_TRUE(platform_test::StopsShrinkingAt(Form(), QSize(594, 444)));
    Form().resize(1, 1);
    for (const platform::SurfaceLabel* label : {Form().lblToss, Form().lblErrV, Form().lblPerc}) {
        EXPECT_GE(label->Left(), 0) << label->Text().toStdString();
        EXPECT_LE(label->Left() + label->Width(), 594) << label->Text().toStdString();
    }
}

TEST(FlipwellFormat, WholeNumbersGroupedFractionsTrimmed) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(platform::FormatTrimmed(1000), "1,000");
    EXPECT_EQ(platform::FormatTrimmed(0.02), "0.02");
    EXPECT_EQ(platform::FormatTrimmed(-0.5), "-0.5");
}

TEST_F(FlipwellWindow, F1OpensTheProgramsHelpPage) {
    std::vector<QString> pages;
    platform::SetHelpHandler([&](const QString& page) { pages.push_back(page); });
    Form().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Form()));
    QTest::keyClick(&Form(), Qt::Key_F1);
    platform::SetHelpHandler(nullptr);
    EXPECT_EQ(pages, std::vector<QString>{frmFlipwell::kHelpTopic});
}

} // namespace
