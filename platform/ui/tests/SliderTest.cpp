#include "Slider.h"

#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

using namespace platform;

namespace {

// Where the track lies, which depends on the style and the tick marks.
struct ProbedSlider : Slider {
    QRect Track() const {
        QStyleOptionSlider option;
        initStyleOption(&option);
        return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    }
};

// A slider as the forms set one up: 0 to 100, value 25, steps 1 and 5.
struct Fixture {
    Fixture() {
        slider.SetMax(100);
        slider.SetValue(25);
        slider.SetTickFrequency(10);
        slider.onChange = [this](int value) { changes.push_back(value); };
        slider.show();
    }
    ProbedSlider slider;
    std::vector<int> changes;
};

} // namespace

TEST(Slider, CodeSetsRaiseChangeOnlyWhenTheValueMoves) {
    Fixture f;
    f.slider.SetValue(40);
    f.slider.SetValue(40);
    f.slider.SetValue(500); // clamped to the maximum
    f.slider.SetMax(60);    // the range pulls the value in
    f.slider.SetMin(10);    // the value stays inside: nothing
    f.slider.SetValue(-3);
    EXPECT_EQ(f.changes, (std::vector<int>{40, 100, 60, 10}));
    EXPECT_EQ(f.slider.TickFrequency(), 10);
}

TEST(Slider, KeysStepBySmallAndLargeChange) {
    Fixture f;
    const struct {
        Qt::Key key;
        int value;
    } steps[] = {
        {Qt::Key_Right, 26},  {Qt::Key_Right, 27},    {Qt::Key_Left, 26},
        {Qt::Key_PageUp, 31}, {Qt::Key_PageDown, 26}, {Qt::Key_End, 100},
        {Qt::Key_Right, 100}, {Qt::Key_Home, 0},      {Qt::Key_PageDown, 0},
    };
    for (const auto& step : steps) {
        QTest::keyClick(&f.slider, step.key);
        EXPECT_EQ(f.slider.Value(), step.value) << QTest::toString(step.key);
    }
    // A key that cannot move the value raises nothing.
    EXPECT_EQ(f.changes, (std::vector<int>{26, 27, 26, 31, 26, 100, 0}));

    f.slider.SetSmallChange(3);
    f.slider.SetLargeChange(20);
    QTest::keyClick(&f.slider, Qt::Key_Right);
    QTest::keyClick(&f.slider, Qt::Key_PageUp);
    EXPECT_EQ(f.slider.Value(), 23);
}

TEST(Slider, DraggingRaisesOneChangeOnRelease) {
    Fixture f;
    f.slider.setSliderDown(true);
    for (int position : {30, 45, 60, 55}) {
        f.slider.setSliderPosition(position);
    }
    EXPECT_TRUE(f.changes.empty());
    EXPECT_EQ(f.slider.Value(), 25);
    f.slider.setSliderDown(false);
    EXPECT_EQ(f.changes, std::vector<int>{55});
}

TEST(Slider, ClickOnTheTrackMovesTowardsItByLargeChange) {
    Fixture f;
    f.slider.resize(200, 30);
    const QRect track = f.slider.Track();
    QTest::mouseClick(&f.slider, Qt::LeftButton, {}, QPoint(track.right() - 2, track.center().y()));
    QTest::mouseClick(&f.slider, Qt::LeftButton, {}, QPoint(track.left() + 2, track.center().y()));
    EXPECT_EQ(f.changes, (std::vector<int>{30, 25}));
}
