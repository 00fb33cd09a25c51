#include "LayoutMinimum.h"
#include "WindowSizeChecks.h"

#include <QPushButton>
#include <QWidget>
#include <gtest/gtest.h>

using namespace platform;

TEST(LayoutMinimum, TheWindowKeepsRoomForItsControlsAndTheirMargin) {
    QWidget window;
    auto* run = new QPushButton("Run", &window);
    run->setGeometry(10, 10, 100, 25);
    auto* step = new QPushButton("Step", &window);
    step->setGeometry(40, 60, 30, 25);
    window.resize(50, 50);
    // An empty rectangle (a line of no width, a hidden item) takes no room.
    const QSize minimum = KeepControlsWhole(
        window, {run->geometry(), step->geometry(), QRect(500, 500, 0, 0)}, {10, 5});
    EXPECT_EQ(minimum, QSize(120, 90));
    EXPECT_EQ(window.size(), minimum) << "a smaller window grows to its controls";
    EXPECT_TRUE(platform_test::StopsShrinkingAt(window, minimum));
    window.resize(300, 200);
    EXPECT_EQ(window.size(), QSize(300, 200)) << "it may still grow";

    EXPECT_EQ(KeepControlsWhole(window, {run->geometry()}, {0, 0}, {200, 20}), QSize(200, 35));
    EXPECT_EQ(window.minimumSize(), QSize(200, 35));
}
