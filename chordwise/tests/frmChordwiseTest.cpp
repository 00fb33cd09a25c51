#include "frmChordwise.h"

#include "Help.h"
#include "PrngLibrary.h"
#include "Slider.h"
#include "Surface.h"
#include "SurfaceShape.h"
#include "Timer.h"
#include "WindowSizeChecks.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

class ChordwiseWindow : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        platform::SetTimersHeld(true);
        form_ = std::make_unique<frmChordwise>();
        form_->show();
    }
    void TearDown() override {
        form_.reset();
        platform::SetTimersHeld(false);
    }
    frmChordwise& Form() { return *form_; }
    int CountColour(QColor colour) {
        const QImage& image = Form().surface->Image();
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixelColor(x, y) == colour;
        return n;
    }
    std::unique_ptr<frmChordwise> form_;
};

TEST_F(ChordwiseWindow, CountsStartAtZeroAndFollowEachChord) {
    EXPECT_EQ(Form().windowTitle(), "Veritope - Chordwise");
    EXPECT_EQ(Form().lblInVal->text(), "0");
    EXPECT_EQ(Form().lblOutVal->text(), "0");
    EXPECT_EQ(Form().lblRatioVal->text(), "-");
    EXPECT_TRUE(Form().timAnim->Ticking());
    EXPECT_EQ(Form().timAnim->Interval(), 101);

    // d = 0: a diameter, longer, in red; then d = 0.9: shorter, in blue.
    platform::ScriptedDraws draws({0.5, 0.95, 0.6});
    Form().timAnim->Tick();
    EXPECT_EQ(Form().lblInVal->text(), "1");
    EXPECT_EQ(Form().lblRatioVal->text(), "1");
    EXPECT_GT(CountColour(QColor(0xFF, 0, 0)), 0);
    Form().timAnim->Tick(2);
    EXPECT_EQ(Form().lblOutVal->text(), "1");
    EXPECT_EQ(Form().lblInVal->text(), "2");
    EXPECT_EQ(Form().lblRatioVal->text(), "0.666666666666667");
    EXPECT_GT(CountColour(QColor(0, 0, 0xFF)), 0);

    Form().cmdReset->click();
    EXPECT_EQ(Form().lblInVal->text(), "0");
    EXPECT_EQ(Form().lblRatioVal->text(), "-");
    EXPECT_EQ(CountColour(QColor(0xFF, 0, 0)), 0) << "the chords drawn so far vanish";
    EXPECT_TRUE(Form().timAnim->Ticking()) << "the timer keeps running";
}

TEST_F(ChordwiseWindow, MethodsDrawDotsAndResetTheCounts) {
    platform::ScriptedDraws draws({0.5, 0.6});
    Form().timAnim->Tick();
    Form().optType.Click(2);
    EXPECT_EQ(Form().type, 2);
    EXPECT_EQ(Form().lblInVal->text(), "0");
    // The midpoint (0, 0.2) on the vertical axis: no division by zero, a longer chord and its dot.
    platform::ScriptedDraws onAxis({0.5, 0.6});
    Form().timAnim->Tick();
    EXPECT_EQ(Form().lblInVal->text(), "1");
    const QPointF dot(0 * Form().r + Form().cx, 0.2 * Form().r + Form().cy);
    // The chord is horizontal through the midpoint; the dot reaches a pixel above it.
    EXPECT_EQ(Form().surface->Pixel(dot.x(), dot.y() - 15), QColor(0xFF, 0, 0)) << "the dot is filled";
    EXPECT_EQ(Form().surface->Pixel(dot.x() + 300, dot.y() - 15), QColor(Qt::white));
}

TEST_F(ChordwiseWindow, SliderSetsTheInterval) {
    const int expected[] = {201, 151, 101, 51, 1};
    for (int v = 4; v >= 0; --v) {
        Form().sldAnim->SetValue(v);
        EXPECT_EQ(Form().timAnim->Interval(), expected[v]) << v;
    }
}

TEST_F(ChordwiseWindow, CircleFollowsTheWindow) {
    Form().resize(537, 389); // the design size, 8055 x 5835 twips
    const platform::SurfaceShape& circle = *Form().shpCircle;
    EXPECT_EQ(circle.Left(), 2895 + 200);
    EXPECT_EQ(circle.Top(), 200);
    EXPECT_EQ(circle.Width(), 8055 - 400 - 2895);
    EXPECT_EQ(circle.Height(), 5835 - 400);
    EXPECT_EQ(Form().r, (8055 - 400 - 2895) / 2.0 - 20) << "the smaller side";
    EXPECT_EQ(Form().cx, 3095 + (8055 - 400 - 2895) / 2.0 - 20);
    EXPECT_EQ(Form().shpBack->Height(), 5835);

    Form().resize(900, 350); // wide and low: the height decides the radius
    EXPECT_EQ(circle.Width(), 13500 - 400 - 2895);
    EXPECT_EQ(circle.Height(), 5250 - 400);
    EXPECT_EQ(Form().r, (5250 - 400) / 2.0 - 20);
    EXPECT_EQ(Form().cy, 200 + (5250 - 400) / 2.0 - 20);
    EXPECT_EQ(Form().shpBack->Height(), 5250);
}

TEST_F(ChordwiseWindow, CannotBeMadeSmallerThanItsPanel) {
    // The panel, or its values when the font makes them wider, and the margin of 120 twips.
    const int right = std::max(193, Form().lblRatioVal->x() + Form().lblRatioVal->width());
    EXPECT_TRUE(platform_test::StopsShrinkingAt(Form(), QSize(right + 8, 344)));
}

TEST_F(ChordwiseWindow, TextsFitBesideTheirValues) {
    const QLabel* captions[] = {Form().lblIn, Form().lblOut, Form().lblRatio};
    const QLabel* values[] = {Form().lblInVal, Form().lblOutVal, Form().lblRatioVal};
    for (int i = 0; i < 3; ++i) {
        EXPECT_GE(captions[i]->width(), captions[i]->sizeHint().width()) << i;
        EXPECT_GT(values[i]->x(), captions[i]->x() + captions[i]->width()) << i;
        EXPECT_GE(values[i]->width(), QFontMetrics(values[i]->font()).horizontalAdvance("0.666666666666667")) << i;
    }
    EXPECT_LE(Form().lblSlow->x() + Form().lblSlow->width(), Form().sldAnim->x());
}

TEST_F(ChordwiseWindow, F1OpensTheProgramsHelpPage) {
    std::vector<QString> pages;
    platform::SetHelpHandler([&](const QString& page) { pages.push_back(page); });
    Form().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Form()));
    QTest::keyClick(&Form(), Qt::Key_F1);
    platform::SetHelpHandler(nullptr);
    EXPECT_EQ(pages, std::vector<QString>{frmChordwise::kHelpTopic});
}

} // namespace
