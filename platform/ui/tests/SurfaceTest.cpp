#include "Surface.h"

#include <QApplication>
#include <QTest>
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <tuple>

using namespace platform;

namespace {

const QColor kWhite(255, 255, 255);
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kBlack(0, 0, 0);

class SurfaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        surface_.resize(40, 40);
        surface_.Refresh();
    }

    // Compares every pixel with `expected`, reporting only the first mismatch.
    void ExpectImage(const std::function<QColor(int, int)>& expected) const {
        for (int y = 0; y < surface_.height(); ++y) {
            for (int x = 0; x < surface_.width(); ++x) {
                if (surface_.Pixel(x, y) != expected(x, y)) {
                    ADD_FAILURE() << "pixel " << x << "," << y << " is "
                                  << surface_.Pixel(x, y).name().toStdString() << ", expected "
                                  << expected(x, y).name().toStdString();
                    return;
                }
            }
        }
    }

    Surface surface_;
};

} // namespace

TEST_F(SurfaceTest, FilledPolygonHasExactFillAndOutline) {
    surface_.SetPen(kRed);
    surface_.SetBrush(kBlue);
    surface_.Polygon(std::array{QPoint(10, 10), QPoint(10, 20), QPoint(20, 20), QPoint(20, 10)});
    // The outline runs through the vertices and includes both ends of each edge.
    ExpectImage([](int x, int y) {
        const bool in = x >= 10 && x <= 20 && y >= 10 && y <= 20;
        const bool edge = x == 10 || x == 20 || y == 10 || y == 20;
        return !in ? kWhite : edge ? kRed : kBlue;
    });
}

TEST_F(SurfaceTest, TriangleKeepsItsVerticesAndInterior) {
    surface_.SetPen(kRed);
    surface_.SetBrush(kBlue);
    surface_.Polygon(std::array{QPoint(20, 5), QPoint(35, 30), QPoint(5, 30)});
    const std::tuple<int, int, QColor> expected[] = {
        {20, 5, kRed},   {35, 30, kRed}, {5, 30, kRed},   {20, 20, kBlue},
        {20, 4, kWhite}, {8, 8, kWhite}, {20, 31, kWhite}};
    for (const auto& [x, y, colour] : expected) {
        EXPECT_EQ(surface_.Pixel(x, y), colour) << x << "," << y;
    }
}

TEST_F(SurfaceTest, CellsShrunkByOnePixelTileWithoutOverlap) {
    // Squares of half-width z drawn from (X-z, Y-z) to (X+z-1, Y+z-1) with pen and
    // brush of one colour cover exactly their 2z x 2z pitch.
    constexpr int kZ = 3;
    const QColor colours[2][2] = {{kRed, kBlue}, {QColor(0, 255, 0), kBlack}};
    for (int cy = 0; cy < 2; ++cy) {
        for (int cx = 0; cx < 2; ++cx) {
            const int x = 2 * kZ * cx + 10, y = 2 * kZ * cy + 10;
            surface_.SetPen(colours[cy][cx]);
            surface_.SetBrush(colours[cy][cx]);
            surface_.Polygon(std::array{QPoint(x - kZ, y - kZ), QPoint(x - kZ, y + kZ - 1),
                                        QPoint(x + kZ - 1, y + kZ - 1),
                                        QPoint(x + kZ - 1, y - kZ)});
        }
    }
    ExpectImage([&](int px, int py) {
        const int cx = (px - 10 + kZ) / (2 * kZ), cy = (py - 10 + kZ) / (2 * kZ);
        const bool inside = px >= 10 - kZ && py >= 10 - kZ && cx < 2 && cy < 2;
        return inside ? colours[cy][cx] : kWhite;
    });
}

TEST_F(SurfaceTest, RectanglesLinesAndPixelsAreExact) {
    surface_.FillRect(2, 3, 4, 5, kBlue);
    surface_.SetPen(kRed);
    surface_.Line(QPoint(10, 30), QPoint(19, 30));
    surface_.SetPixel(39, 39, QColor(1, 2, 3));
    ExpectImage([](int x, int y) {
        if (x >= 2 && x < 6 && y >= 3 && y < 8) {
            return kBlue;
        }
        if (y == 30 && x >= 10 && x <= 19) {
            return kRed;
        }
        return x == 39 && y == 39 ? QColor(1, 2, 3) : kWhite;
    });
    EXPECT_FALSE(surface_.Pixel(40, 0).isValid());
    EXPECT_FALSE(surface_.Pixel(0, -1).isValid());
}

TEST_F(SurfaceTest, NamedColoursAreTheirColours) {
    surface_.SetPen(Qt::black);
    surface_.SetBrush(Qt::green);
    surface_.Box(QPoint(5, 5), QPoint(9, 9));
    EXPECT_EQ(surface_.Pixel(5, 7), QColor(Qt::black));
    EXPECT_EQ(surface_.Pixel(7, 7), QColor(Qt::green));
}

namespace {

// The reference of a box: Qt's painter drawing the polygon of its four corners
// with a one-pixel pen, its vertices lit, on an image of the same size.
void PaintBox(QImage& image, QPoint origin, QRgb pen, QRgb brush, const std::array<QPoint, 4>& corners) {
    QPainter painter(&image);
    painter.translate(-origin);
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen outline(QColor::fromRgb(pen), 1);
    outline.setCosmetic(true);
    painter.setPen(outline);
    painter.setBrush(QColor::fromRgb(brush));
    painter.drawPolygon(corners.data(), 4);
    painter.drawPoints(corners.data(), 4);
}

// The first pixel whose stored value differs, alpha included, or none.
std::optional<QPoint> FirstDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.format() != b.format())
        return QPoint(-1, -1);
    for (int y = 0; y < a.height(); ++y) {
        const auto* rowA = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* rowB = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            if (rowA[x] != rowB[x])
                return QPoint(x, y);
    }
    return std::nullopt;
}

} // namespace

TEST_F(SurfaceTest, BoxesWrittenDirectlyAreThePaintersPixels) {
    // Random boxes from one pixel to larger than the surface, across every edge
    // and wholly outside, with pen and brush of one colour or two (given with
    // and without an alpha byte), drawn as Box and as a four-cornered Polygon
    // in any vertex order, with a line drawn by the painter now and then between
    // them: each leaves the image exactly as the painter would.
    surface_.resize(37, 29);
    surface_.Refresh();
    const QPoint origin(5, -3);
    surface_.SetOrigin(origin);
    QImage expected = surface_.Image().copy();
    std::mt19937 random(2024);
    std::uniform_int_distribution<int> coordinate(-12, 48);
    std::uniform_int_distribution<int> extent(0, 12);
    std::uniform_int_distribution<int> choice(0, 5);
    std::uniform_int_distribution<uint32_t> colour(0, 0xFFFFFF);
    for (int i = 0; i < 2000; ++i) {
        const int left = coordinate(random);
        const int top = coordinate(random);
        const int right = left + (choice(random) == 0 ? 3 * extent(random) : extent(random));
        const int bottom = top + (choice(random) == 0 ? 3 * extent(random) : extent(random));
        const QRgb pen = colour(random) | (choice(random) < 3 ? 0xFF000000u : 0u);
        const QRgb brush = choice(random) < 2 ? pen : colour(random) | 0xFF000000u;
        surface_.SetPen(pen);
        surface_.SetBrush(brush);
        std::array<QPoint, 4> corners{QPoint(left, top), QPoint(left, bottom), QPoint(right, bottom),
                                      QPoint(right, top)};
        if (left != right && top != bottom && choice(random) < 3) {
            std::rotate(corners.begin(), corners.begin() + choice(random) % 4, corners.end());
            if (choice(random) < 3)
                std::reverse(corners.begin(), corners.end());
            surface_.Polygon(corners);
        } else if (choice(random) < 3) {
            surface_.Box(QPoint(right, bottom), QPoint(left, top));
        } else {
            surface_.Box(QPoint(left, top), QPoint(right, bottom));
        }
        PaintBox(expected, origin, pen, brush, corners);
        if (choice(random) == 0) {
            const QPoint from(coordinate(random), coordinate(random));
            const QPoint to(coordinate(random), coordinate(random));
            surface_.Line(from, to);
            QPainter painter(&expected);
            painter.translate(-origin);
            painter.setPen(QColor::fromRgb(pen));
            painter.drawLine(from, to);
        }
        if (const auto at = FirstDifference(surface_.Image(), expected)) {
            ADD_FAILURE() << "box " << i << " from " << left << "," << top << " to " << right << ","
                          << bottom << ": pixel " << at->x() << "," << at->y() << " differs";
            return;
        }
    }
}

TEST_F(SurfaceTest, BoxesLeaveCopiesOfTheImageAndTakeTheSizeOfAHiddenSurface) {
    surface_.SetPen(kRed);
    surface_.SetBrush(kBlue);
    const QImage held = surface_.Image();
    surface_.Box(QPoint(2, 2), QPoint(6, 6));
    EXPECT_EQ(held.pixelColor(4, 4), kWhite);
    EXPECT_EQ(surface_.Pixel(4, 4), kBlue);
    EXPECT_EQ(surface_.Pixel(2, 4), kRed);

    QWidget window;
    Surface hidden(&window);
    hidden.setGeometry(0, 0, 300, 200);
    hidden.SetBrush(kBlue);
    hidden.Box(QPoint(250, 150), QPoint(270, 170));
    EXPECT_EQ(hidden.Image().size(), QSize(300, 200));
    EXPECT_EQ(hidden.Pixel(260, 160), kBlue);
}

TEST_F(SurfaceTest, FastPixelsFollowTheOriginAndStayInsideTheImage) {
    surface_.SetOrigin(QPoint(100, 50));
    surface_.SetPixelRgb(100, 50, qRgb(1, 2, 3));
    surface_.SetPixelRgb(139, 89, qRgb(4, 5, 6));
    // Just outside every edge: nothing is written, nothing wraps to another row.
    for (const QPoint p : {QPoint(99, 60), QPoint(140, 60), QPoint(120, 49), QPoint(120, 90)})
        surface_.SetPixelRgb(p.x(), p.y(), qRgb(255, 0, 0));
    surface_.SetOrigin(QPoint(0, 0));
    ExpectImage([](int x, int y) {
        if (x == 0 && y == 0)
            return QColor(1, 2, 3);
        return x == 39 && y == 39 ? QColor(4, 5, 6) : kWhite;
    });
    // A copy of the image taken before keeps its pixels.
    const QImage held = surface_.Image();
    surface_.SetPixelRgb(5, 5, qRgb(7, 8, 9));
    EXPECT_EQ(held.pixelColor(5, 5), kWhite);
    EXPECT_EQ(surface_.Pixel(5, 5), QColor(7, 8, 9));
    // So does a resized surface.
    surface_.resize(60, 10);
    surface_.Refresh();
    surface_.SetPixelRgb(55, 9, qRgb(1, 1, 1));
    EXPECT_EQ(surface_.Pixel(55, 9), QColor(1, 1, 1));
}

TEST_F(SurfaceTest, BackColourClearsTheDrawing) {
    surface_.FillRect(0, 0, 10, 10, kBlue);
    surface_.SetBackColor(kBlack);
    ExpectImage([](int, int) { return kBlack; });
    surface_.FillRect(0, 0, 10, 10, kBlue);
    surface_.Clear();
    ExpectImage([](int, int) { return kBlack; });
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

    // The image persists: exposing the widget only copies it to the screen.
    surface_.FillRect(5, 5, 3, 3, kBlue);
    const std::size_t before = calls.size();
    surface_.update();
    QApplication::processEvents();
    surface_.repaint();
    EXPECT_EQ(calls.size(), before);
    const QImage screen = surface_.grab().toImage();
    EXPECT_EQ(QColor(screen.pixel(6, 6)), kBlue);
    EXPECT_EQ(QColor(screen.pixel(59, 0)), kRed);
    EXPECT_EQ(QColor(screen.pixel(30, 30)), kWhite);
}

TEST(SurfaceBeforeShowTest, DrawingBeforeTheFirstShowIsKeptWholeAndThePaintHandlerStillRuns) {
    // A picture in a window not yet shown, sized but not refreshed: what is
    // drawn on it now shows with the window, also where it lies outside the
    // widget's size at construction.
    QWidget window;
    Surface surface(&window);
    surface.setGeometry(10, 10, 300, 200);
    surface.SetBackColor(kWhite);
    surface.FillRect(250, 150, 20, 20, kBlue);
    surface.SetPen(kRed);
    surface.Line(QPointF(0, 199), QPointF(299, 199));
    EXPECT_EQ(surface.Image().size(), QSize(300, 200));
    EXPECT_EQ(surface.Pixel(260, 160), kBlue);

    int paints = 0;
    surface.onPaint = [&] { ++paints; };
    window.resize(400, 300);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_GE(paints, 1);
    EXPECT_EQ(surface.Image().size(), QSize(300, 200));
    EXPECT_EQ(surface.Pixel(260, 160), kBlue);
    EXPECT_EQ(surface.Pixel(280, 199), kRed);
    EXPECT_EQ(QColor(surface.grab().toImage().pixel(260, 160)), kBlue);
}

TEST_F(SurfaceTest, MouseAndKeyEventsCarryPixelsButtonsAndShift) {
    std::vector<MouseEvent> downs, moves, ups;
    std::vector<int> keys;
    surface_.onMouseDown = [&](const MouseEvent& e) { downs.push_back(e); };
    surface_.onMouseMove = [&](const MouseEvent& e) { moves.push_back(e); };
    surface_.onMouseUp = [&](const MouseEvent& e) { ups.push_back(e); };
    surface_.onKeyDown = [&](const KeyEvent& e) { keys.push_back(e.key); };
    surface_.setFocusPolicy(Qt::StrongFocus);
    const auto fields = [](const MouseEvent& e) { return std::tuple(e.button, e.shift, e.x, e.y); };

    QTest::mousePress(&surface_, Qt::RightButton, Qt::ShiftModifier, QPoint(7, 9));
    QTest::mouseRelease(&surface_, Qt::RightButton, Qt::ControlModifier, QPoint(8, 9));
    QMouseEvent move(QEvent::MouseMove, QPointF(12, 13), QPointF(12, 13), Qt::NoButton,
                     Qt::LeftButton | Qt::MiddleButton, Qt::AltModifier);
    QApplication::sendEvent(&surface_, &move);
    QTest::keyClick(&surface_, Qt::Key_Left);

    ASSERT_EQ(downs.size() + ups.size() + moves.size(), 3u);
    ASSERT_TRUE(!downs.empty() && !ups.empty() && !moves.empty());
    EXPECT_EQ(fields(downs[0]), std::tuple(kRightButton, kShiftKey, 7, 9));
    EXPECT_EQ(fields(ups[0]), std::tuple(kRightButton, kCtrlKey, 8, 9));
    EXPECT_EQ(fields(moves[0]), std::tuple(kLeftButton | kMiddleButton, kAltKey, 12, 13));
    EXPECT_EQ(keys, std::vector<int>{Qt::Key_Left});
}

namespace {

// The bounding box of the pixels other than `background`, which must all be one
// of `colours`: exact pixels, no smoothing.
QRect Drawn(const QImage& image, const QColor& background, std::initializer_list<QColor> colours) {
    QRect box;
    bool reported = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c(image.pixel(x, y));
            if (c == background)
                continue;
            box |= QRect(x, y, 1, 1);
            if (std::find(colours.begin(), colours.end(), c) == colours.end() && !reported) {
                ADD_FAILURE() << "pixel " << x << "," << y << " is " << c.name().toStdString();
                reported = true;
            }
        }
    }
    return box;
}

} // namespace

TEST_F(SurfaceTest, CircleIsFilledWithTheBrushAndOutlinedWithThePen) {
    surface_.SetOrigin(QPoint(100, 50));
    surface_.SetPen(kRed);
    surface_.SetBrush(kBlue);
    surface_.Circle(QPointF(120, 70), 8);
    EXPECT_EQ(Drawn(surface_.Image(), kWhite, {kRed, kBlue}), QRect(12, 12, 17, 17));
    const std::tuple<int, int, QColor> expected[] = {
        {120, 70, kBlue}, {127, 70, kBlue}, {128, 70, kRed},   {112, 70, kRed},
        {120, 62, kRed},  {120, 78, kRed},  {114, 64, kWhite}, {115, 64, kRed}};
    for (const auto& [x, y, colour] : expected) {
        EXPECT_EQ(surface_.Pixel(x, y), colour) << x << "," << y;
    }
}

TEST_F(SurfaceTest, CircleOutlineLeavesItsInsideAndTheBrush) {
    surface_.SetPen(kBlue);
    surface_.Line(QPoint(2, 10), QPoint(18, 10));
    surface_.SetPen(kRed);
    surface_.SetBrush(kBlue);
    surface_.CircleOutline(QPointF(10, 10), 8);
    EXPECT_EQ(surface_.Pixel(18, 10), kRed);
    EXPECT_EQ(surface_.Pixel(10, 10), kBlue); // the line inside stays
    EXPECT_EQ(surface_.Pixel(10, 13), kWhite);
    // The brush is the same for the next filled circle.
    surface_.Circle(QPointF(10, 30), 8);
    EXPECT_EQ(surface_.Pixel(10, 33), kBlue);
}

TEST_F(SurfaceTest, PrintDrawsInsideTheMeasuredBox) {
    QFont font("DejaVu Sans");
    font.setPixelSize(13);
    surface_.setFont(font);
    surface_.resize(120, 80);
    surface_.Refresh();
    surface_.SetOrigin(QPoint(10, 20));
    const QString text = "Ag\r\nxyz\nWW";
    const int line = surface_.TextHeight("A");
    EXPECT_EQ(std::pair(surface_.TextHeight(text), surface_.TextHeight("A\r\n")),
              std::pair(3 * line, 2 * line));
    EXPECT_EQ(surface_.TextWidth(text),
              std::max(surface_.TextWidth("WW"), surface_.TextWidth("xyz")));

    surface_.SetPen(kBlue);
    surface_.Print(QPoint(30, 40), text);
    const QRect drawn = Drawn(surface_.Image(), kWhite, {kBlue});
    EXPECT_TRUE(QRect(20, 20, surface_.TextWidth(text), surface_.TextHeight(text)).contains(drawn));
    EXPECT_GT(drawn.height(), 2 * line);
}

TEST_F(SurfaceTest, ItemsShowInTheCompositeAndOnScreenButNotInTheDrawing) {
    surface_.resize(60, 40);
    surface_.Refresh();
    surface_.SetOrigin(QPoint(5, 5));
    surface_.FillRect(5, 5, 60, 10, kBlack);
    SurfaceShape& frame = surface_.AddShape();
    frame.SetGeometry(10, 10, 20, 12);
    frame.SetBorderColor(kRed);
    frame.SetFillColor(kBlue);
    SurfaceShape& strip = surface_.AddShape();
    strip.SetGeometry(40, 30, 3, 1);
    strip.SetBorderColor(std::nullopt);
    strip.SetFillColor(kRed);
    SurfaceLabel& hint = surface_.AddLabel();
    hint.SetGeometry(35, 8, 20, 10);
    hint.SetBackColor(std::nullopt);
    hint.SetForeColor(kBlue);
    hint.SetText("W");
    SurfaceLabel& hidden = surface_.AddLabel();
    hidden.SetGeometry(0, 0, 60, 40);
    hidden.SetVisible(false);
    surface_.show();
    QApplication::processEvents();

    const QImage composite = surface_.Composite();
    EXPECT_EQ(Drawn(surface_.Image(), kWhite, {kBlack}), QRect(0, 0, 60, 10));
    const std::tuple<int, int, QColor> expected[] = {
        {5, 5, kRed},   {24, 16, kRed},   {6, 6, kBlue},    {25, 5, kBlack}, {5, 17, kWhite},
        {37, 25, kRed}, {38, 25, kWhite}, {35, 26, kWhite}, {30, 3, kBlack}, {30, 10, kWhite}};
    for (const auto& [x, y, colour] : expected) {
        EXPECT_EQ(QColor(composite.pixel(x, y)), colour) << x << "," << y;
    }
    // The transparent label's text over the drawing.
    EXPECT_FALSE(Drawn(composite.copy(30, 3, 20, 7), kBlack, {kBlue}).isEmpty());
    EXPECT_EQ(surface_.grab().toImage().convertToFormat(QImage::Format_RGB32), composite);
}

TEST_F(SurfaceTest, ItemChangeRepaintsItsOldAndNewAreasOnly) {
    surface_.resize(100, 60);
    SurfaceLabel& hint = surface_.AddLabel();
    hint.SetGeometry(5, 5, 20, 10);
    surface_.show();
    QApplication::processEvents();
    struct PaintSpy : QObject {
        QRegion painted;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint)
                painted += static_cast<QPaintEvent*>(event)->region();
            return false;
        }
    } spy;
    surface_.installEventFilter(&spy);

    hint.Move(60, 40);
    QApplication::processEvents();
    EXPECT_EQ(spy.painted, QRegion(5, 5, 20, 10) + QRegion(60, 40, 20, 10));
    spy.painted = {};
    hint.SetBackColor(kRed);
    hint.SetVisible(true); // no change
    QApplication::processEvents();
    EXPECT_EQ(spy.painted, QRegion(60, 40, 20, 10));
    EXPECT_EQ(QColor(surface_.grab().toImage().pixel(61, 41)), kRed);
    surface_.removeEventFilter(&spy);
}

TEST_F(SurfaceTest, AutoSizedLabelGrowsWithItsLines) {
    SurfaceLabel& hint = surface_.AddLabel();
    hint.SetGeometry(7, 9, 1, 1);
    hint.SetAutoSize(true);
    const auto fitted = [&](const QString& text) {
        return QRect(7, 9, surface_.TextWidth(text) + 2 * SurfaceLabel::kMarginX,
                     surface_.TextHeight(text) + 2 * SurfaceLabel::kMarginY);
    };
    EXPECT_EQ(hint.Geometry(), fitted(""));
    hint.SetText("Leaf");
    EXPECT_EQ(hint.Geometry(), fitted("Leaf"));
    const QString three = "Leaf\r\nCharacter:SP\r\nOccurences:12";
    hint.SetText(three);
    EXPECT_EQ(hint.Geometry(), fitted(three));
    EXPECT_EQ(hint.Height() - 2 * SurfaceLabel::kMarginY, 3 * surface_.TextHeight("Leaf"));
}
