// frmNeuromesh: the category rows with their thumbnails and bars, and the
// network diagram with its animation.

#include "frmNeuromesh.h"

#include "Color.h"
#include "Conversions.h"
#include "NeuralLibrary.h"
#include "ScrollBar.h"
#include "Surface.h"
#include "SurfaceShape.h"

#include <QGroupBox>
#include <QRadioButton>
#include <algorithm>
#include <cmath>

using platform::TwipsRect;

namespace {

// The design of a row, in twips of the rows' frame.
constexpr int kOptionLeft = 210;
constexpr int kOptionWidth = 1000;
constexpr int kOptionHeight = 300;
constexpr int kThumbSide = 300;
constexpr int kBarHeight = 300;
constexpr int kFirstRowTop = 1000;

} // namespace

void frmNeuromesh::BuildPatternRows() {
    const int pattypes = patset_.pattypes();
    const int scrollLeft = 5715;
    maxbarwidth = int16_t(scrollLeft - kOptionLeft - (kThumbSide + 50) * patset_.patternnumber() -
                          kOptionWidth - 300);
    barLeft_ = scrollLeft - maxbarwidth - 100;
    const QColor barColor = platform::ToQColor(0xC0C0FF);
    for (int c = OptionCount(); c < pattypes; ++c) {
        QRadioButton& option = optPattern.Add(c, QString(), framPatterns);
        option.resize(TwipsRect(0, 0, kOptionWidth, kOptionHeight).size());
        option.hide();
        platform::SurfaceShape& bar = patternsSurface->AddShape();
        bar.SetBorderColor(barColor);
        bar.SetFillColor(barColor);
        bar.SetGeometry(0, 0, 0, kBarHeight);
        bar.SetVisible(false);
        shpBar.push_back(&bar);
    }
    for (platform::SurfaceShape* bar : shpBar)
        bar->Move(barLeft_, bar->Top());
    // Thumbnails only for the rows in view: picture k shows slot k of the
    // first row in view and on, redrawn as the rows scroll.
    const int pictures = std::min(pattypes, int(kVisibleRows)) * patset_.patternnumber();
    for (int k = int(picPattern.size()); k < pictures; ++k) {
        auto* picture = new platform::Surface(framPatterns);
        picture->resize(TwipsRect(0, 0, kThumbSide, kThumbSide).size());
        picture->SetScaleMode(platform::Surface::ScaleMode::Twips);
        picture->SetBackColor(platform::ToQColor(platform::kWindowColor));
        picture->hide();
        picture->onMouseUp = [this, k](const platform::MouseEvent&) {
            picPattern_Click(thumbFirstSlot_ + k);
        };
        picPattern.push_back(picture);
    }
    // A new maximum may move the value, which lays the rows out.
    scrPats->SetMax(pattypes < 12 ? 0 : pattypes - kVisibleRows);
}

void frmNeuromesh::LayoutPatternRows() {
    const int pattypes = patset_.pattypes();
    const int samples = patset_.patternnumber();
    const int first = scrPats->Value();
    const int last = pattypes < 12 ? pattypes - 1 : first + 10;
    for (int row = 0; row < OptionCount(); ++row) {
        QRadioButton& option = optPattern[row];
        platform::SurfaceShape& bar = *shpBar[size_t(row)];
        if (row < first || row > last || row >= pattypes) {
            option.hide();
            bar.SetVisible(false);
            continue;
        }
        const int top = (kOptionHeight + 50) * (row - first) + kFirstRowTop;
        option.move(TwipsRect(kOptionLeft, top, kOptionWidth, kOptionHeight).topLeft());
        option.show();
        bar.Move(barLeft_, top);
        bar.SetVisible(barsshown);
        for (int i = 0; i < samples; ++i) {
            platform::Surface& picture = *picPattern[size_t((row - first) * samples + i)];
            const QPoint at = ThumbnailTwips(row * samples + i);
            picture.move(TwipsRect(at.x(), at.y(), 0, 0).topLeft());
            picture.show();
        }
    }
    // The pictures past the rows in view stay hidden; those in view show the
    // slots of their rows.
    const int shownRows = std::max(0, std::min(last, pattypes - 1) - first + 1);
    for (int k = shownRows * samples; k < int(picPattern.size()); ++k)
        picPattern[size_t(k)]->hide();
    thumbFirstSlot_ = first * samples;
    for (int s = thumbFirstSlot_; s < thumbFirstSlot_ + shownRows * samples; ++s)
        DrawThumbnail(s);
    if (mode == 2) {
        shpPatSelector->SetVisible(false);
        return;
    }
    const int category = patset_.CategoryOf(cursample);
    if (category < first)
        SelectSampleSlot(samples * first);
    else if (category > last)
        SelectSampleSlot(samples * last);
    else
        SelectSampleSlot(cursample);
}

QPoint frmNeuromesh::ThumbnailTwips(int slot) const {
    const int samples = patset_.patternnumber();
    const int top = (kOptionHeight + 50) * (slot / samples - scrPats->Value()) + kFirstRowTop;
    return QPoint(kOptionLeft + kOptionWidth + 100 + (kThumbSide + 50) * (slot % samples), top);
}

platform::Surface* frmNeuromesh::Thumbnail(int slot) const {
    const int k = slot - thumbFirstSlot_;
    if (k < 0 || k >= int(picPattern.size()) || !picPattern[size_t(k)]->isVisibleTo(framPatterns))
        return nullptr;
    return picPattern[size_t(k)];
}

double frmNeuromesh::ThumbCoord(double v) const {
    return (picPattern[0]->ScaleWidth() - 100) * v + 50;
}

void frmNeuromesh::DrawThumbnail(int slot) {
    platform::Surface* shown = Thumbnail(slot);
    if (!shown)
        return; // drawn when its row comes into view
    platform::Surface& picture = *shown;
    picture.Clear();
    if (patset_.SlotEmpty(slot))
        return;
    picture.SetPen(platform::ToQColor(255));
    const std::span<const double> v = patset_.Sample(slot);
    for (int i = 1; i < patset_.inputsize(); ++i) {
        const size_t a = 2 * size_t(i - 1), b = 2 * size_t(i);
        picture.Line(QPointF(ThumbCoord(v[a]), ThumbCoord(v[a + 1])),
                     QPointF(ThumbCoord(v[b]), ThumbCoord(v[b + 1])));
    }
}

void frmNeuromesh::DrawAllThumbnails() {
    for (int s = thumbFirstSlot_; s < thumbFirstSlot_ + int(picPattern.size()); ++s)
        DrawThumbnail(s);
}

void frmNeuromesh::DrawNetwork() {
    const std::vector<int32_t> sizes = neuromesh::NetworkModel::Shape();
    const int layers = int(sizes.size());
    if (layers == 0) {
        picNet->SetBackColor(platform::ToQColor(platform::kButtonFaceColor));
        return;
    }
    picNet->SetBackColor(Qt::white);
    const double w = picNet->ScaleWidth(), h = picNet->ScaleHeight();
    const int largest = *std::ranges::max_element(sizes);
    const double dx = w / (largest + 2), dy = h / (layers + 2);
    const double r = std::min(dx, dy) / 2;
    auto node = [&](int layer, int n) {
        return QPointF(w / 2 + (n - (sizes[size_t(layer)] - 1) / 2.0) * dx,
                       h / 2 + ((layers - 1) / 2.0 - layer) * dy);
    };

    const QColor yellow = platform::ToQColor(0xFFFF);
    for (int j = 1; j < layers; ++j) {
        picNet->SetPen(marked == 2 * j - 1 ? yellow : platform::ToQColor(0x808080));
        for (int a = 0; a < sizes[size_t(j)]; ++a)
            for (int b = 0; b < sizes[size_t(j - 1)]; ++b)
                picNet->Line(node(j, a), node(j - 1, b));
    }
    picNet->SetPen(Qt::black);
    for (int j = 0; j < layers; ++j) {
        uint32_t fill = j == 0 ? 0xFF : j == layers - 1 ? 0xFF00 : 0xFF0000;
        if (marked == 2 * j)
            fill = 0xFFFF;
        picNet->SetBrush(platform::ToQColor(fill));
        for (int n = 0; n < sizes[size_t(j)]; ++n)
            picNet->Circle(node(j, n), r);
    }

    auto arrow = [&](double y0, uint32_t color) {
        const double c = w / 2;
        const QPointF corners[] = {{c, y0 - 2 * r},     {c + 4 * r, y0},     {c + 2 * r, y0},
                                   {c + 2 * r, y0 + 2 * r}, {c - 2 * r, y0 + 2 * r}, {c - 2 * r, y0},
                                   {c - 4 * r, y0}};
        QPoint points[7];
        for (int k = 0; k < 7; ++k)
            points[k] = QPoint(int(platform::RoundHalfEven(corners[k].x())),
                               int(platform::RoundHalfEven(corners[k].y())));
        picNet->SetPen(platform::ToQColor(color));
        picNet->SetBrush(platform::ToQColor(color));
        picNet->Polygon(points);
    };
    arrow(h / 2 + (layers + 0.5) * dy / 2, 0xFF);
    arrow(h / 2 - (layers + 0.5) * dy / 2, 0xFF00);
}

void frmNeuromesh::timAnim_Timer() {
    DrawNetwork();
    --marked;
    if (marked < 0)
        marked = int16_t(3 * neuromesh::GetLayers_());
}
