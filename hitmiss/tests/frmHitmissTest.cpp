#include "HelpKeyPress.h"
#include "HitmissFixture.h"
#include "NumberFormat.h"
#include "SurfaceShape.h"
#include "WindowSizeChecks.h"

#include <QGroupBox>
#include <QLabel>
#include <clocale>
#include <cmath>
#include <string>

namespace {

using hitmiss_test::HitmissFixture;

class Hitmiss : public HitmissFixture {};

TEST_F(Hitmiss, GoReportsWhatIsMissingAndDoesNotRun) {
    const struct {
        const char *formula, *minX, *maxX;
        const char *message, *title;
        int cursor; // where the formula box's cursor stands, -1 when not checked
    } rows[] = {
        {"", "", "", "Missing expression", "Parser error", 0},
        {"x + 2x", "0", "1", "Invalid symbol", "Parser error", 5},
        {"(3+4", "0", "1", "Parse error", "Parser error", 0},
        {"2(3)", "0", "1", "Parse error", "Parser error", 1},
        {"x", "1", "1", "Please input (different) bounds for x", "Go", -1},
        {"x", "", "abc", "Please input (different) bounds for x", "Go", -1},
        {"SQRT(x)", "-1", "1", "The function is undefined at -1", "Error", -1},
        {"LOG(x)", "0.5", "0", "The function is undefined at 0", "Error", -1},
    };
    for (const auto& r : rows) {
        Enter(r.formula, r.minX, r.maxX);
        dialogs_.AnswerMessage(platform::MessageResult::Ok);
        const size_t asked = dialogs_.Requests().size();
        Form().cmdGo->click();
        ASSERT_EQ(dialogs_.Requests().size(), asked + 1) << r.formula;
        const platform::DialogRequest& shown = dialogs_.Requests().back();
        EXPECT_EQ(shown.text, r.message) << r.formula;
        EXPECT_EQ(shown.title, r.title) << r.formula;
        EXPECT_EQ(shown.icon, platform::MessageIcon::Critical);
        EXPECT_FALSE(Form().isRunning);
        EXPECT_EQ(Form().cmdGo->text(), "Go");
        EXPECT_TRUE(Form().framRes->isHidden());
        if (r.cursor >= 0) {
            EXPECT_EQ(Form().focusWidget(), Form().txtFunction);
            EXPECT_EQ(Form().txtFunction->cursorPosition() -
                          Form().txtFunction->selectedText().size(),
                      r.cursor);
        }
    }
    // The swapped bounds were written back before the plot failed.
    EXPECT_EQ(Form().txtMin->text(), "0");
    EXPECT_EQ(Form().txtMax->text(), "0.5");
}

TEST_F(Hitmiss, BoundsInReverseAreSwappedAndTheBoxHoldsTheFunction) {
    Form().resize(800, 600);
    Enter("x", "1", "0");
    Run(10);
    EXPECT_EQ(Form().txtMin->text(), "0");
    EXPECT_EQ(Form().txtMax->text(), "1");
    EXPECT_NEAR(Form().lowerY, -0.1, 1e-12);
    EXPECT_NEAR(Form().upperY, 1.11, 1e-12);
    // x = 0 runs along the left panel's edge, y = 0 a tenth of the box up from the bottom.
    EXPECT_DOUBLE_EQ(Form().xOffset, 155);
    EXPECT_DOUBLE_EQ(0 * Form().yScale + Form().yOffset, 600 - 570 * 0.1 / 1.21);

    Enter("x", "3", "1.25");
    Run(10);
    EXPECT_EQ(Form().txtMin->text(), "1.25");
    EXPECT_EQ(Form().txtMax->text(), "3");
}

TEST_F(Hitmiss, EstimateTendsToTheIntegral) {
    Form().resize(800, 600);
    Enter("x", "0", "1");
    constexpr int kPoints = 200000;
    Run(kPoints);
    EXPECT_EQ(Form().trialCount, kPoints);
    EXPECT_EQ(Form().cmdGo->text(), "Go");
    const double area = 1 * (Form().upperY - Form().lowerY);
    const double share = Form().hitCount / kPoints;
    const double estimate = area * share;
    const double standardError = area * std::sqrt(share * (1 - share) / kPoints);
    EXPECT_NEAR(estimate, 0.5, 4 * standardError);
    // The results show the final values, not those of the last frame.
    EXPECT_FALSE(Form().framRes->isHidden());
    EXPECT_EQ(Form().lblPointsVal->text(), "200000");
    EXPECT_EQ(Form().lblIntVal->text(), platform::FormatFixed(estimate, 16));
}

TEST_F(Hitmiss, PointsShowHowTheyCounted) {
    Enter("x", "-1", "1");
    Run(20000);
    const int axisRow = static_cast<int>(std::lrint(Form().yOffset));
    const QImage& image = Form().surface->Image();
    int blue = 0, cyan = 0, red = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y) & 0xFFFFFF;
            if (c == 0x0000FF) {
                ++blue;
                ASSERT_LE(y, axisRow) << x;
                ASSERT_GE(x, Form().xOffset - 1);
            } else if (c == 0x00FFFF) {
                ++cyan;
                ASSERT_GE(y, axisRow) << x;
                ASSERT_LE(x, Form().xOffset + 1);
            } else if (c == 0xFF0000) {
                ++red;
            }
        }
    }
    EXPECT_GT(blue, 1000);
    EXPECT_GT(cyan, 1000);
    EXPECT_GT(red, 1000);
    EXPECT_NEAR(Form().hitCount / Form().trialCount, 0, 0.02);

    Enter("0", "0", "1");
    Run(5000);
    EXPECT_NEAR(Form().lowerY, -1.2, 1e-12);
    EXPECT_NEAR(Form().upperY, 1.22, 1e-12);
    EXPECT_EQ(Form().hitCount, 0);
    EXPECT_EQ(CountColour(frmHitmiss::kPositiveHit) + CountColour(frmHitmiss::kNegativeHit), 0);
    EXPECT_GT(CountColour(frmHitmiss::kMiss), 1000);
}

TEST_F(Hitmiss, ResetDuringARunRestartsTheCountsWithoutStopping) {
    Enter("x", "0", "1");
    int drawnAtReset = -1;
    Run(1500, {{1000, [&] {
                    Form().cmdReset->click();
                    EXPECT_TRUE(Form().framRes->isHidden());
                    EXPECT_EQ(Form().cmdGo->text(), "Stop");
                    drawnAtReset =
                        CountColour(frmHitmiss::kPositiveHit) + CountColour(frmHitmiss::kMiss);
                }}});
    EXPECT_EQ(drawnAtReset, 0);
    EXPECT_EQ(Form().trialCount, 500);
    EXPECT_EQ(Form().lblPointsVal->text(), "500");
    EXPECT_FALSE(Form().isRunning);
    // Go again counts from nothing.
    Run(300);
    EXPECT_EQ(Form().trialCount, 300);
    // Closing the window ends a run at once.
    Run(0, {{50, [&] { Form().close(); }}});
    EXPECT_FALSE(Form().isRunning);
    EXPECT_EQ(Form().trialCount, 50);
}

TEST_F(Hitmiss, NarrowIntervalFarFromZeroStillRuns) {
    Enter("x", "1E16", "10000000000000002");
    Run(10);
    EXPECT_EQ(Form().trialCount, 10);
    EXPECT_EQ(Form().lblPointsVal->text(), "10");
}

TEST_F(Hitmiss, ResizeFollowsTheWindow) {
    Form().resize(800, 600);
    EXPECT_EQ(Form().txtFunction->width(), 800 - 60 - 15);
    EXPECT_EQ(Form().shpBackTop->Width(), 800);
    EXPECT_EQ(Form().shpBackLeft->Height(), 600);
    EXPECT_EQ(Form().framRes->y(), 600 - 118 - 5);
    EXPECT_EQ(Form().shpFrame->Geometry(), QRect(155, 30, 645, 570));
    // No smaller than 5000 twips either way, where every control is still whole.
    EXPECT_TRUE(platform_test::StopsShrinkingAt(Form(), QSize(333, 333)));
}

TEST_F(Hitmiss, AxesAndCurveAreBlack) {
    Form().resize(800, 600);
    Enter("x", "-1", "1");
    Run(1);
    const QImage& image = Form().surface->Image();
    const int axisRow = static_cast<int>(std::lrint(Form().yOffset));
    const int axisColumn = static_cast<int>(std::lrint(Form().xOffset));
    int black = 0;
    for (int x = 160; x < 800; ++x)
        black += image.pixel(x, axisRow) == qRgb(0, 0, 0);
    for (int y = 35; y < 600; ++y)
        black += image.pixel(axisColumn, y) == qRgb(0, 0, 0);
    EXPECT_GE(black, 640 + 565 - 2); // a point may lie on an axis
    // The curve y = x crosses every column of the plot area above the axis right of x = 0.
    for (int x = axisColumn + 5; x < 800; x += 40) {
        bool curve = false;
        for (int y = 30; y < axisRow - 1; ++y)
            curve = curve || image.pixel(x, y) == qRgb(0, 0, 0);
        EXPECT_TRUE(curve) << x;
    }
}

// The counts belong to the box their points were drawn in: a new width samples
// the function elsewhere and may give another box, which starts them anew; a
// new height keeps the box and the counts.
TEST_F(Hitmiss, TheEstimateUsesTheBoxItsPointsWereCountedIn) {
    const struct {
        QSize first, second;
        bool newBox;
    } rows[] = {{{686, 500}, {333, 500}, true}, {{686, 500}, {686, 400}, false}};
    for (const auto& r : rows) {
        Form().resize(r.first);
        Enter("x*x", "0", "1");
        double before = 0;
        Run(3000, {{1000, [&] {
                        before = Form().upperY;
                        Form().resize(r.second);
                    }}});
        EXPECT_EQ(Form().upperY != before, r.newBox);
        EXPECT_EQ(Form().trialCount, r.newBox ? 2000 : 3000);
        EXPECT_EQ(Form().lblIntVal->text(),
                  platform::FormatFixed(hitmiss::Estimate(0, 1, Form().lowerY, Form().upperY,
                                                          Form().hitCount, Form().trialCount),
                                        16));
    }
}

TEST_F(Hitmiss, AnUndefinedFunctionIsReportedOnceAfterGoAndClearsThePicture) {
    Enter("x", "0", "1");
    Run(2000);
    Enter("LOG(x)", "0", "1");
    for (int go = 1; go <= 2; ++go) {
        dialogs_.AnswerMessage(platform::MessageResult::Ok);
        Form().cmdGo->click();
        // Neither the last function's points nor its curve and axes stay.
        EXPECT_EQ(CountColour(frmHitmiss::kPositiveHit) + CountColour(frmHitmiss::kMiss) +
                      CountColour(0x000000),
                  0);
        Form().resize(Form().width() + 1, Form().height());
        Form().resize(Form().width(), Form().height() - 1);
        Form().surface->Refresh();
        ASSERT_EQ(dialogs_.Requests().size(), std::size_t(go));
        EXPECT_EQ(dialogs_.Requests().back().text, "The function is undefined at 0");
        EXPECT_FALSE(Form().isRunning);
        EXPECT_TRUE(Form().framRes->isHidden());
    }
}

// Bounds written back after a swap read back as the same numbers, in a comma
// locale and a point locale alike.
TEST_F(Hitmiss, SwappedBoundsReadBackInEveryLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    const struct {
        const char* name;
        QLocale locale;
    } locales[] = {{"de_DE.UTF-8", QLocale(QLocale::German, QLocale::Germany)},
                   {"en_US.UTF-8", QLocale(QLocale::English, QLocale::UnitedStates)}};
    for (const auto& l : locales) {
        // scripts/common.sh generates both locales.
        ASSERT_NE(std::setlocale(LC_ALL, l.name), nullptr) << l.name << " missing";
        QLocale::setDefault(l.locale);
        const struct {
            const char *typedMin, *typedMax, *shownMin, *shownMax;
        } rows[] = {{"5000", "-1234.5", "-1234.5", "5000"},
                    {"0.25", "0.000000015", "1.5E-08", "0.25"}};
        for (const auto& r : rows) {
            Enter("x", r.typedMin, r.typedMax);
            Run(5);
            EXPECT_EQ(Form().txtMin->text(), r.shownMin) << l.name;
            EXPECT_EQ(Form().txtMax->text(), r.shownMax) << l.name;
            const double lower = Form().lowerX, upper = Form().upperX;
            Run(5);
            EXPECT_EQ(Form().lowerX, lower) << l.name;
            EXPECT_EQ(Form().upperX, upper) << l.name;
        }
    }
    std::setlocale(LC_ALL, saved.c_str());
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

TEST_F(Hitmiss, F1OpensTheProgramsHelpPage) {
    EXPECT_EQ(platform_test::HelpPagesOnF1(Form()), std::vector<QString>{frmHitmiss::kHelpTopic});
}

} // namespace
