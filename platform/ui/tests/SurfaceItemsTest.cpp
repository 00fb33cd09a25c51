#include "Surface.h"

#include <QApplication>
#include <QPaintEvent>
#include <QTest>
#include <array>
#include <gtest/gtest.h>
#include <initializer_list>
#include <tuple>
#include <vector>

using namespace platform;

namespace {

const QColor kWhite(255, 255, 255);
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kGreen(0, 255, 0);
const QColor kBlack(0, 0, 0);

// The bounding box of the pixels of `image` other than `background`.
QRect Drawn(const QImage& image, const QColor& background) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (QColor(image.pixel(x, y)) != background)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

// Records the region painted on the screen.
struct PaintSpy : QObject {
    QRegion painted;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

class SurfaceItemsTest : public ::testing::Test {
protected:
    void SetUp() override {
        surface_.resize(100, 60);
        surface_.Refresh();
    }

    QColor At(int x, int y) const { return QColor(surface_.Composite().pixel(x, y)); }

    Surface surface_;
};

} // namespace

TEST_F(SurfaceItemsTest, TwipsDrawingLandsOnTheNearestPixels) {
    surface_.SetScaleMode(Surface::ScaleMode::Twips);
    EXPECT_EQ(surface_.ScaleWidth(), 1500);
    EXPECT_EQ(surface_.ScaleHeight(), 900);
    surface_.SetPen(kRed);
    surface_.SetBrush(kBlue);
    surface_.Line(QPoint(150, 150), QPoint(450, 150));           // pixels 10..30 of row 10
    surface_.Line(QPointF(157.4, 307.6), QPointF(457.5, 307.6)); // 10.49 -> 10, 30.5 -> 31
    surface_.Box(QPointF(600.5, 450), QPointF(750, 599));        // 40.03..50 by 30..39.9
    surface_.SetPixel(1335, 885, kGreen);                        // 89, 59
    surface_.Circle(QPointF(1200, 750), 75);                     // centre 80, 50, radius 5
    const QImage image = surface_.Image();
    EXPECT_EQ(Drawn(image.copy(0, 10, 100, 1), kWhite), QRect(10, 0, 21, 1));
    EXPECT_EQ(Drawn(image.copy(0, 21, 100, 1), kWhite), QRect(10, 0, 22, 1));
    EXPECT_EQ(Drawn(image.copy(35, 25, 20, 20), kWhite), QRect(5, 5, 11, 11));
    EXPECT_EQ(QColor(image.pixel(45, 35)), kBlue);
    EXPECT_EQ(QColor(image.pixel(89, 59)), kGreen);
    EXPECT_EQ(Drawn(image.copy(70, 40, 19, 19), kWhite), QRect(5, 5, 11, 11));
    // Reading back and text extents in the scale.
    EXPECT_EQ(surface_.Pixel(1335, 885), kGreen);
    EXPECT_EQ(surface_.Pixel(1320, 885), kWhite);
    EXPECT_EQ(surface_.TextWidth("Wide"), 15 * Surface().TextWidth("Wide"));
}

TEST_F(SurfaceItemsTest, RealPixelCoordinatesRoundToTheNearestPixel) {
    surface_.SetPen(kRed);
    surface_.Line(QPointF(4.4, 2.5), QPointF(8.6, 2.5)); // row 3 (2.5 rounds away from zero)
    EXPECT_EQ(Drawn(surface_.Image(), kWhite), QRect(4, 3, 6, 1));
}

TEST_F(SurfaceItemsTest, MouseEventsComeInTheScaleFromTheOrigin) {
    std::vector<std::pair<int, int>> downs;
    surface_.onMouseDown = [&](const MouseEvent& e) { downs.emplace_back(e.x, e.y); };
    surface_.SetScaleMode(Surface::ScaleMode::Twips);
    surface_.SetOrigin(QPoint(3000, 150));
    QTest::mousePress(&surface_, Qt::LeftButton, {}, QPoint(7, 9));
    EXPECT_EQ(downs, (std::vector<std::pair<int, int>>{{3105, 285}}));
}

TEST_F(SurfaceItemsTest, ItemsKeepTheirTwipsAndMoveWithTheScale) {
    SurfaceShape& shape = surface_.AddShape();
    shape.SetGeometry(150, 300, 600, 150); // pixels 10, 20, 40 x 10 once in twips
    shape.SetFillColor(kBlue);
    EXPECT_EQ(shape.Area(), QRect(150, 300, 600, 150)) << "pixels at first";
    surface_.SetScaleMode(Surface::ScaleMode::Twips);
    EXPECT_EQ(shape.Geometry(), QRect(150, 300, 600, 150));
    EXPECT_EQ(shape.Area(), QRect(10, 20, 40, 10));
    EXPECT_EQ(At(30, 25), kBlue);
    EXPECT_EQ(At(30, 35), kWhite);
    // An auto-sized label measures its text in the scale.
    SurfaceLabel& label = surface_.AddLabel();
    label.SetAutoSize(true);
    label.SetText("Tape");
    EXPECT_EQ(label.Width(), surface_.TextWidth("Tape") + 15 * 2 * SurfaceLabel::kMarginX);
    EXPECT_EQ(label.Area().width(), label.Width() / 15);
}

TEST_F(SurfaceItemsTest, LineItemsMoveByRepaintingOnlyWhereTheyWereAndAre) {
    surface_.SetScaleMode(Surface::ScaleMode::Twips);
    SurfaceLine& line = surface_.AddLine();
    line.SetColor(kRed);
    line.SetPoints(QPointF(150, 150), QPointF(150, 450)); // column 10, rows 10..30
    surface_.show();
    QApplication::processEvents();
    EXPECT_EQ(Drawn(surface_.Composite(), kWhite), QRect(10, 10, 1, 21));
    EXPECT_EQ(Drawn(surface_.Image(), kWhite), QRect()) << "items are not part of the drawing";

    PaintSpy spy;
    surface_.installEventFilter(&spy);
    const QRect before = line.Area();
    line.SetPoints(QPointF(900, 150), QPointF(900, 450)); // column 60
    QApplication::processEvents();
    EXPECT_EQ(spy.painted, QRegion(before) + QRegion(line.Area()));
    EXPECT_EQ(Drawn(surface_.grab().toImage(), kWhite), QRect(60, 10, 1, 21));
    surface_.removeEventFilter(&spy);

    line.SetWidth(3);
    const QRect wide = Drawn(surface_.Composite(), kWhite);
    EXPECT_EQ(std::pair(wide.left(), wide.width()), std::pair(59, 3));
    EXPECT_TRUE(wide.contains(QRect(59, 10, 3, 21))) << wide.top() << " " << wide.bottom();
    EXPECT_TRUE(line.Area().contains(wide));
}

TEST_F(SurfaceItemsTest, PolylineDrawsItsSegmentsAndIsReplacedWhole) {
    SurfacePolyline& chart = surface_.AddPolyline();
    chart.SetColor(kRed);
    const std::array<QPointF, 3> points{QPointF(10, 50), QPointF(30, 50), QPointF(30.4, 10)};
    chart.SetPoints(points);
    EXPECT_EQ(At(10, 50), kRed);
    EXPECT_EQ(At(20, 50), kRed);
    EXPECT_EQ(At(30, 30), kRed);
    EXPECT_EQ(At(30, 10), kRed);
    EXPECT_EQ(Drawn(surface_.Composite(), kWhite), QRect(10, 10, 21, 41));
    const std::array<QPointF, 2> segment{QPointF(70, 5), QPointF(90, 5)};
    chart.SetPoints(segment);
    EXPECT_EQ(Drawn(surface_.Composite(), kWhite), QRect(70, 5, 21, 1));
    chart.SetPoints(std::span<const QPointF>(segment).first(1));
    EXPECT_EQ(Drawn(surface_.Composite(), kWhite), QRect());
}

TEST_F(SurfaceItemsTest, PicturesShowAtTheirSizeOverTheDrawingWithTransparency) {
    surface_.FillRect(0, 0, 100, 60, kBlack);
    QImage ball(4, 3, QImage::Format_ARGB32);
    ball.fill(Qt::transparent);
    ball.setPixelColor(1, 1, kGreen);
    ball.setPixelColor(3, 2, kRed);
    SurfaceImage& image = surface_.AddImage();
    image.SetPicture(ball);
    image.Move(20, 30);
    EXPECT_EQ(image.Geometry(), QRect(20, 30, 4, 3));
    EXPECT_EQ(At(21, 31), kGreen);
    EXPECT_EQ(At(23, 32), kRed);
    EXPECT_EQ(At(20, 30), kBlack) << "transparent pixels show the drawing";
    image.Move(50, 10);
    EXPECT_EQ(At(21, 31), kBlack);
    EXPECT_EQ(At(51, 11), kGreen);
}

TEST_F(SurfaceItemsTest, CircleShapeHasItsBorderWidthInsideItsOutline) {
    SurfaceShape& circle = surface_.AddShape();
    circle.SetKind(SurfaceShape::Kind::Circle);
    circle.SetGeometry(20, 5, 60, 40); // a circle of diameter 40 centred: 30..69 x 5..44
    circle.SetBorderColor(kRed);
    circle.SetBorderWidth(2);
    const QImage composite = surface_.Composite();
    EXPECT_EQ(Drawn(composite, kWhite), QRect(30, 5, 40, 40));
    EXPECT_EQ(QColor(composite.pixel(50, 25)), kWhite) << "transparent inside";
    // The ring is two pixels deep along each axis.
    EXPECT_EQ(QColor(composite.pixel(30, 25)), kRed);
    EXPECT_EQ(QColor(composite.pixel(31, 25)), kRed);
    EXPECT_EQ(QColor(composite.pixel(32, 25)), kWhite);
    EXPECT_EQ(QColor(composite.pixel(50, 44)), kRed);
    EXPECT_EQ(QColor(composite.pixel(50, 43)), kRed);
    EXPECT_EQ(QColor(composite.pixel(50, 42)), kWhite);
    EXPECT_EQ(QColor(composite.pixel(31, 6)), kWhite) << "corners of the box are outside";
    circle.SetFillColor(kBlue);
    EXPECT_EQ(At(50, 25), kBlue);
    EXPECT_EQ(At(30, 25), kRed);
}

TEST_F(SurfaceItemsTest, RectangleBorderWidthRunsInside) {
    SurfaceShape& bar = surface_.AddShape();
    bar.SetGeometry(10, 10, 20, 10);
    bar.SetBorderColor(kRed);
    bar.SetBorderWidth(3);
    bar.SetFillColor(kBlue);
    const std::tuple<int, int, QColor> expected[] = {
        {10, 10, kRed}, {12, 12, kRed}, {13, 13, kBlue}, {26, 16, kBlue}, {27, 17, kRed},
        {29, 19, kRed}, {30, 19, kWhite}, {9, 10, kWhite}};
    for (const auto& [x, y, colour] : expected)
        EXPECT_EQ(At(x, y), colour) << x << "," << y;
}

TEST_F(SurfaceItemsTest, LabelLinesAlignLeftRightOrCentre) {
    QFont font("DejaVu Sans");
    font.setPixelSize(12);
    surface_.setFont(font);
    const QString text = "WW\r\nW";
    const int narrow = surface_.TextWidth("W"), wide = surface_.TextWidth("WW");
    const int line = surface_.TextHeight("W");
    const struct {
        SurfaceLabel::Alignment alignment;
        int firstLeft, secondLeft; // where each line's advance starts
    } cases[] = {
        {SurfaceLabel::Alignment::Left, 2, 2},
        {SurfaceLabel::Alignment::Right, 98 - wide, 98 - narrow},
        {SurfaceLabel::Alignment::Center, 2 + (96 - wide) / 2, 2 + (96 - narrow) / 2},
    };
    for (const auto& c : cases) {
        Surface surface;
        surface.setFont(font);
        surface.resize(100, 60);
        surface.Refresh();
        SurfaceLabel& label = surface.AddLabel();
        label.SetGeometry(0, 0, 100, 60);
        label.SetBackColor(std::nullopt);
        label.SetForeColor(kBlack);
        label.SetText(text);
        label.SetAlignment(c.alignment);
        const QImage composite = surface.Composite();
        // Each line's ink lies within its advance, give or take a pixel of overhang.
        const QRect first = Drawn(composite.copy(0, 1, 100, line), kWhite);
        const QRect second = Drawn(composite.copy(0, 1 + line, 100, line), kWhite);
        EXPECT_NEAR(first.left(), c.firstLeft, 2) << int(c.alignment);
        EXPECT_NEAR(first.right(), c.firstLeft + wide - 1, 2) << int(c.alignment);
        EXPECT_NEAR(second.left(), c.secondLeft, 2) << int(c.alignment);
        EXPECT_NEAR(second.right(), c.secondLeft + narrow - 1, 2) << int(c.alignment);
    }
}

TEST_F(SurfaceItemsTest, RemovedItemsVanishAndOthersStay) {
    SurfaceShape& first = surface_.AddShape();
    first.SetGeometry(0, 0, 10, 10);
    first.SetFillColor(kBlue);
    SurfaceShape& second = surface_.AddShape();
    second.SetGeometry(20, 0, 10, 10);
    second.SetFillColor(kGreen);
    surface_.show();
    QApplication::processEvents();
    PaintSpy spy;
    surface_.installEventFilter(&spy);
    surface_.RemoveItem(first);
    QApplication::processEvents();
    EXPECT_EQ(spy.painted, QRegion(0, 0, 10, 10));
    surface_.removeEventFilter(&spy);
    EXPECT_EQ(At(5, 5), kWhite);
    EXPECT_EQ(At(25, 5), kGreen);
    second.Move(40, 0);
    EXPECT_EQ(At(45, 5), kGreen);
}

TEST_F(SurfaceItemsTest, BroughtToTheFrontAnEarlierItemPaintsOverLaterOnes) {
    // A curve made before the bars, as a chart builds them, then brought to the front.
    SurfaceLine& curve = surface_.AddLine();
    curve.SetColor(kBlue);
    curve.SetPoints(QPointF(0, 20), QPointF(99, 20));
    SurfaceShape& bar = surface_.AddShape();
    bar.SetGeometry(40, 10, 20, 40);
    bar.SetBorderColor(kRed);
    bar.SetFillColor(kGreen);
    EXPECT_EQ(At(50, 20), kGreen);
    curve.BringToFront();
    EXPECT_EQ(At(50, 20), kBlue);
    EXPECT_EQ(At(40, 20), kBlue);
    EXPECT_EQ(At(50, 30), kGreen);
    bar.BringToFront();
    EXPECT_EQ(At(50, 20), kGreen);
}
