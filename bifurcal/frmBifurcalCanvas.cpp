// frmBifurcal: the diagram on the canvas, the zoom rectangle and the canvas's
// mouse handlers.

#include "Color.h"
#include "Conversions.h"
#include "DiagramColumn.h"
#include "NumberFormat.h"
#include "Pump.h"
#include "StatusBar.h"
#include "Surface.h"
#include "TextBox.h"
#include "frmBifurcal.h"

#include <QRadioButton>

namespace {

constexpr QRgb kUndefinedGrey = 0xC0C0C0;

QRgb ToRgb(uint32_t bgr) {
    return qRgb(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

} // namespace

void frmBifurcal::picCanvas_Paint() {
    // The image keeps the last drawing: only a new size draws again.
    if (drawnSize_.isEmpty() || picCanvas->size() != drawnSize_)
        DrawDiagram();
}

void frmBifurcal::DrawDiagram() {
    // Asked for while messages run inside a drawing: the drawing starts over.
    if (drawing_) {
        redrawAsked_ = true;
        return;
    }
    drawing_ = true;
    closeAsked_ = false;
    bool complete = false;
    do {
        redrawAsked_ = false;
        complete = DrawOnce();
    } while (!complete && redrawAsked_ && !closeAsked_);
    drawnSize_ = complete ? picCanvas->size() : QSize();
    drawing_ = false;
}

bool frmBifurcal::DrawOnce() {
    platform::Surface& canvas = *picCanvas;
    canvas.Clear();
    const int width = canvas.width();
    const int height = canvas.height();
    const QRgb fore = platform::ToQColor(platform::kWindowTextColor).rgb();
    canvas.SetPen(kUndefinedGrey);
    canvas.SetBrush(kUndefinedGrey);
    const bifurcal::DiagramRanges ranges = ranges_;
    const int discarded = discardedIterations_;
    const int shown = shownIterations_;
    const bool logistic = optLogistic->isChecked();
    // Until a formula parses, the custom map draws nothing.
    const int lastColumn = logistic || !formulaRejected_ ? width : -1;
    const double x0 = logistic ? 0.5 : platform::Val(txtX0->text().toStdString());
    double a = ranges.minA;
    // The last column lies just beyond the canvas.
    for (int c = 0; c <= lastColumn; ++c) {
        const auto plot = [&](double x) {
            int row;
            if (bifurcal::RowOf(x, ranges, height, row))
                canvas.SetPixelRgb(c, row, fore);
        };
        const auto grey = [&] { canvas.Box(QPoint(c, 0), QPoint(c, height - 1)); };
        if (logistic)
            bifurcal::LogisticColumn(a, discarded, shown, plot, grey);
        else
            bifurcal::FormulaColumn(formula_, a, x0, discarded, shown, plot, grey);
        a += ranges.aPerPixel;
        platform::DoEvents();
        if (redrawAsked_ || closeAsked_)
            return false;
    }
    // A rectangle still being dragged stays on screen over the new drawing, so
    // that the next toggle erases it instead of leaving its trace.
    if (bandX1 != -1)
        ToggleCurrentBand();
    ShowRanges();
    return true;
}

void frmBifurcal::TogglePixel(int x, int y) {
    const QColor colour = picCanvas->Pixel(x, y);
    if (!colour.isValid())
        return;
    const uint32_t bgr = platform::Rgb(colour.red(), colour.green(), colour.blue());
    const uint32_t partner = bifurcal::BandPartner(bgr);
    if (partner != bgr)
        picCanvas->SetPixelRgb(x, y, ToRgb(partner));
}

void frmBifurcal::ToggleBand(int x1, int y1, int x2, int y2) {
    for (int i = x1; i <= x2; ++i) {
        TogglePixel(i, y1);
        TogglePixel(i, y2);
    }
    for (int i = y1 + 1; i <= y2 - 1; ++i) {
        TogglePixel(x1, i);
        TogglePixel(x2, i);
    }
}

void frmBifurcal::picCanvas_MouseDown(const platform::MouseEvent& e) {
    // A rectangle starts on a finished drawing only.
    if (e.button != platform::kLeftButton || bandX1 != -1 || drawing_)
        return;
    bandX1 = bandX2 = static_cast<int16_t>(e.x);
    bandY1 = bandY2 = static_cast<int16_t>(e.y);
    ToggleCurrentBand();
}

void frmBifurcal::picCanvas_MouseMove(const platform::MouseEvent& e) {
    theBar->SetPanelText("a",
                         "a: " + platform::FormatFixed(e.x * ranges_.aPerPixel + ranges_.minA, 10));
    theBar->SetPanelText("x",
                         "x: " + platform::FormatFixed(ranges_.maxX - e.y * ranges_.yPerPixel, 10));
    if (bandX1 == -1 || drawing_)
        return;
    ToggleCurrentBand();
    const auto x = static_cast<int16_t>(e.x);
    const auto y = static_cast<int16_t>(e.y);
    if (x >= bandX1) {
        bandX2 = x;
    } else {
        bandX2 = bandX1;
        bandX1 = x;
    }
    if (y >= bandY1) {
        bandY2 = y;
    } else {
        bandY2 = bandY1;
        bandY1 = y;
    }
    ToggleCurrentBand();
}

void frmBifurcal::picCanvas_MouseUp(const platform::MouseEvent& e) {
    if (e.button == platform::kRightButton) {
        ranges_.ZoomOut();
        UpdateScales();
        DrawDiagram();
        return;
    }
    if (e.button != platform::kLeftButton || bandX1 == -1)
        return;
    // The drawing in progress cleared the canvas under the rectangle.
    if (drawing_) {
        bandX1 = -1;
        return;
    }
    ToggleCurrentBand();
    const int x1 = bandX1;
    bandX1 = -1;
    // A click without a drag, or a rectangle too thin to zoom to, ends the rectangle.
    if (bandY2 - bandY1 <= 1 || bandX2 - x1 <= 1)
        return;
    ranges_.ZoomToBand(x1, bandY1, bandX2, bandY2);
    UpdateScales();
    DrawDiagram();
}
