#include "Surface.h"

#include <QApplication>
#include <QTest>
#include <array>
#include <gtest/gtest.h>

using namespace platform;

namespace {

const QColor kWhite(255, 255, 255);
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);

class SurfaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        surface_.resize(40, 40);
        surface_.Refresh();
    }

    int CountPixels(const QColor& color) const {
        int count = 0;
        for (int y = 0; y < surface_.height(); ++y) {
            for (int x = 0; x < surface_.width(); ++x) {
                count += surface_.Pixel(x, y) == color ? 1 : 0;
            }
        }
        return count;
    }

    Surface surface_;
};

} // namespace

TEST_F(SurfaceTest, FilledPolygonHasExactFillAndOutline) {
    surface_.SetPen(kRed);
    surface_.SetBrush(kBlue);
    const std::array<QPoint, 4> square{QPoint(10, 10), QPoint(10, 20), QPoint(20, 20),
                                       QPoint(20, 10)};
    surface_.Polygon(square);

    // The outline runs through the vertices and includes both ends of each edge.
    for (int i = 10; i <= 20; ++i) {
        EXPECT_EQ(surface_.Pixel(i, 10), kRed) << i;
        EXPECT_EQ(surface_.Pixel(i, 20), kRed) << i;
        EXPECT_EQ(surface_.Pixel(10, i), kRed) << i;
        EXPECT_EQ(surface_.Pixel(20, i), kRed) << i;
    }
    EXPECT_EQ(surface_.Pixel(11, 11), kBlue);
    EXPECT_EQ(surface_.Pixel(15, 15), kBlue);
    EXPECT_EQ(surface_.Pixel(19, 19), kBlue);
    EXPECT_EQ(surface_.Pixel(9, 15), kWhite);
    EXPECT_EQ(surface_.Pixel(21, 15), kWhite);
    EXPECT_EQ(surface_.Pixel(15, 21), kWhite);
    EXPECT_EQ(CountPixels(kRed), 40);
    EXPECT_EQ(CountPixels(kBlue), 81);
    EXPECT_EQ(CountPixels(kWhite), 40 * 40 - 121);
}

TEST_F(SurfaceTest, TriangleKeepsItsVerticesAndInterior) {
    surface_.SetPen(kRed);
    surface_.SetBrush(kBlue);
    const std::array<QPoint, 3> triangle{QPoint(20, 5), QPoint(35, 30), QPoint(5, 30)};
    surface_.Polygon(triangle);
    EXPECT_EQ(surface_.Pixel(20, 5), kRed);
    EXPECT_EQ(surface_.Pixel(35, 30), kRed);
    EXPECT_EQ(surface_.Pixel(5, 30), kRed);
    EXPECT_EQ(surface_.Pixel(20, 20), kBlue);
    EXPECT_EQ(surface_.Pixel(20, 4), kWhite);
    EXPECT_EQ(surface_.Pixel(8, 8), kWhite);
    EXPECT_EQ(surface_.Pixel(20, 31), kWhite);
}

TEST_F(SurfaceTest, CellsShrunkByOnePixelTileWithoutOverlap) {
    // Squares of half-width z drawn from (X-z, Y-z) to (X+z-1, Y+z-1) with pen and
    // brush of one colour cover exactly their 2z x 2z pitch.
    constexpr int kZ = 3;
    const QColor colours[2][2] = {{kRed, kBlue}, {QColor(0, 255, 0), QColor(0, 0, 0)}};
    for (int cy = 0; cy < 2; ++cy) {
        for (int cx = 0; cx < 2; ++cx) {
            const int x = 2 * kZ * cx + 10, y = 2 * kZ * cy + 10;
            surface_.SetPen(colours[cy][cx]);
            surface_.SetBrush(colours[cy][cx]);
            const std::array<QPoint, 4> cell{QPoint(x - kZ, y - kZ), QPoint(x - kZ, y + kZ - 1),
                                             QPoint(x + kZ - 1, y + kZ - 1),
                                             QPoint(x + kZ - 1, y - kZ)};
            surface_.Polygon(cell);
        }
    }
    for (int py = 0; py < 40; ++py) {
        for (int px = 0; px < 40; ++px) {
            const int cx = (px - 10 + kZ) / (2 * kZ), cy = (py - 10 + kZ) / (2 * kZ);
            const bool inside = px >= 10 - kZ && py >= 10 - kZ && cx < 2 && cy < 2;
            EXPECT_EQ(surface_.Pixel(px, py), inside ? colours[cy][cx] : kWhite) << px << "," << py;
        }
    }
}

TEST_F(SurfaceTest, RectanglesLinesAndPixelsAreExact) {
    surface_.FillRect(2, 3, 4, 5, kBlue);
    EXPECT_EQ(CountPixels(kBlue), 20);
    EXPECT_EQ(surface_.Pixel(2, 3), kBlue);
    EXPECT_EQ(surface_.Pixel(5, 7), kBlue);
    EXPECT_EQ(surface_.Pixel(6, 7), kWhite);
    EXPECT_EQ(surface_.Pixel(5, 8), kWhite);

    surface_.SetPen(kRed);
    surface_.Line(QPoint(10, 30), QPoint(19, 30));
    EXPECT_EQ(CountPixels(kRed), 10);
    EXPECT_EQ(surface_.Pixel(19, 30), kRed);

    surface_.SetPixel(39, 39, QColor(1, 2, 3));
    EXPECT_EQ(surface_.Pixel(39, 39), QColor(1, 2, 3));
    EXPECT_FALSE(surface_.Pixel(40, 0).isValid());
    EXPECT_FALSE(surface_.Pixel(0, -1).isValid());
}

TEST_F(SurfaceTest, BackColourClearsTheDrawing) {
    surface_.FillRect(0, 0, 10, 10, kBlue);
    surface_.SetBackColor(QColor(0, 0, 0));
    EXPECT_EQ(CountPixels(QColor(0, 0, 0)), 40 * 40);
    surface_.FillRect(0, 0, 10, 10, kBlue);
    surface_.Clear();
    EXPECT_EQ(CountPixels(QColor(0, 0, 0)), 40 * 40);
}

TEST_F(SurfaceTest, PaintHandlerRunsOnRefreshAndResizeButNotOnExpose) {
    std::vector<std::string> calls;
    surface_.onResize = [&] { calls.push_back("resize"); };
    surface_.onPaint = [&] {
        calls.push_back("paint");
        surface_.FillRect(0, 0, surface_.width(), 1, kRed);
    };
    surface_.Refresh();
    EXPECT_EQ(calls, std::vector<std::string>{"paint"});

    surface_.show();
    surface_.resize(60, 50);
    QApplication::processEvents();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[calls.size() - 2], "resize");
    EXPECT_EQ(calls.back(), "paint");
    EXPECT_EQ(surface_.Image().size(), QSize(60, 50));
    EXPECT_EQ(surface_.Pixel(59, 0), kRed);

    // The image persists: exposing the widget only copies it to the screen.
    surface_.FillRect(5, 5, 3, 3, kBlue);
    const std::size_t before = calls.size();
    surface_.update();
    QApplication::processEvents();
    surface_.repaint();
    EXPECT_EQ(calls.size(), before);
    EXPECT_EQ(surface_.Pixel(6, 6), kBlue);

    const QImage screen = surface_.grab().toImage();
    EXPECT_EQ(QColor(screen.pixel(6, 6)), kBlue);
    EXPECT_EQ(QColor(screen.pixel(59, 0)), kRed);
    EXPECT_EQ(QColor(screen.pixel(30, 30)), kWhite);
}

TEST_F(SurfaceTest, MouseAndKeyEventsCarryPixelsButtonsAndShift) {
    std::vector<MouseEvent> downs, moves, ups;
    std::vector<KeyEvent> keys;
    surface_.onMouseDown = [&](const MouseEvent& e) { downs.push_back(e); };
    surface_.onMouseMove = [&](const MouseEvent& e) { moves.push_back(e); };
    surface_.onMouseUp = [&](const MouseEvent& e) { ups.push_back(e); };
    surface_.onKeyDown = [&](const KeyEvent& e) { keys.push_back(e); };
    surface_.setFocusPolicy(Qt::StrongFocus);

    QTest::mousePress(&surface_, Qt::RightButton, Qt::ShiftModifier, QPoint(7, 9));
    QTest::mouseRelease(&surface_, Qt::RightButton, Qt::ControlModifier, QPoint(8, 9));
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].button, kRightButton);
    EXPECT_EQ(downs[0].shift, kShiftKey);
    EXPECT_EQ(downs[0].x, 7);
    EXPECT_EQ(downs[0].y, 9);
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_EQ(ups[0].button, kRightButton);
    EXPECT_EQ(ups[0].shift, kCtrlKey);

    QMouseEvent move(QEvent::MouseMove, QPointF(12, 13), QPointF(12, 13), Qt::NoButton,
                     Qt::LeftButton | Qt::MiddleButton, Qt::AltModifier);
    QApplication::sendEvent(&surface_, &move);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].button, kLeftButton | kMiddleButton);
    EXPECT_EQ(moves[0].shift, kAltKey);
    EXPECT_EQ(moves[0].x, 12);

    QTest::keyClick(&surface_, Qt::Key_Left);
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].key, Qt::Key_Left);
}
