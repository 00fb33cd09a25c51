// frmPegfall: the board's control arrays placed from the board's layout, the
// histogram and the normal curve.

#include "Conversions.h"
#include "Surface.h"
#include "SurfaceImage.h"
#include "SurfaceLabel.h"
#include "SurfaceLine.h"
#include "SurfaceShape.h"
#include "frmPegfall.h"

#include <QCheckBox>

namespace {

using pegfall::Area;
using pegfall::PegBoard;

// The pixels an area covers: each edge to the nearest pixel, so that
// neighbouring areas and the bars on the bin area's bottom meet exactly.
QRect PixelRect(const Area& area) {
    const int left = platform::NearestInt(area.left);
    const int top = platform::NearestInt(area.top);
    return {left, top, platform::NearestInt(area.Right()) - left,
            platform::NearestInt(area.Bottom()) - top};
}

} // namespace

platform::SurfaceImage& frmPegfall::NewPeg() {
    platform::SurfaceImage& peg = surface->AddImage();
    peg.SetPicture(imTwig[0]->Picture());
    return peg;
}

platform::SurfaceShape& frmPegfall::NewBar() {
    platform::SurfaceShape& bar = surface->AddShape();
    bar.SetFillColor(shpBar[0]->FillColor());
    bar.SetBorderColor(shpBar[0]->BorderColor());
    return bar;
}

platform::SurfaceLabel& frmPegfall::NewCountLabel() {
    const platform::SurfaceLabel& first = *lblBar[0];
    platform::SurfaceLabel& label = surface->AddLabel();
    label.SetText(first.Text());
    label.SetAlignment(first.GetAlignment());
    label.SetBackColor(first.BackColor());
    label.SetForeColor(first.ForeColor());
    label.SetFont(first.Font());
    label.SetGeometry(first.Geometry());
    return label;
}

platform::SurfaceLine& frmPegfall::NewSegment() {
    platform::SurfaceLine& segment = surface->AddLine();
    segment.SetColor(linGauss[0]->Color());
    return segment;
}

void frmPegfall::PlaceAreas() {
    shpCanvas->SetGeometry(PixelRect(board_.Canvas()));
    shpResults->SetGeometry(PixelRect(board_.Results()));
}

void frmPegfall::PlaceBall() {
    imBall->Move(platform::NearestInt(ball_.left), platform::NearestInt(ball_.top));
}

void frmPegfall::LayoutBoard() {
    board_.LayoutBoard();
    const int levels = board_.Levels();
    const bool animate = chkAnimate->isChecked();

    int n = 0;
    for (int i = 0; i < levels; ++i) {
        const int top = platform::NearestInt(board_.PegTop(i));
        for (int j = 0; j <= i; ++j, ++n) {
            if (n > pegMark_) {
                imTwig.push_back(&NewPeg());
                pegMark_ = n;
            }
            imTwig[n]->Move(platform::NearestInt(board_.PegLeft(i, j)), top);
            imTwig[n]->SetVisible(animate);
        }
    }
    while (pegMark_ >= board_.PegCount()) {
        surface->RemoveItem(*imTwig.back());
        imTwig.pop_back();
        --pegMark_;
    }

    for (int k = barMark_ + 1; k <= levels; ++k) {
        shpBar.push_back(&NewBar());
        lblBar.push_back(&NewCountLabel());
    }
    while (barMark_ > levels) {
        surface->RemoveItem(*shpBar.back());
        shpBar.pop_back();
        surface->RemoveItem(*lblBar.back());
        lblBar.pop_back();
        --barMark_;
    }
    barMark_ = levels;

    for (int k = 0; k <= levels; ++k) {
        shpBar[k]->SetGeometry(PixelRect(board_.Bar(k)));
        lblBar[k]->SetGeometry(PixelRect(board_.Label(k)));
    }
    DrawNormalCurve();
    // The ball passes over the pegs, bars and curve made after it; close rows
    // of pegs would otherwise hide it.
    imBall->BringToFront();
}

void frmPegfall::DrawHistogram() {
    board_.DrawHistogram();
    for (int k = 0; k <= board_.Levels(); ++k) {
        shpBar[k]->SetGeometry(PixelRect(board_.Bar(k)));
        lblBar[k]->SetText(QString::fromStdString(board_.CountText(k)));
        lblBar[k]->SetGeometry(PixelRect(board_.Label(k)));
    }
}

void frmPegfall::DrawNormalCurve() {
    const std::vector<pegfall::Segment> curve = board_.Curve();
    const int n = static_cast<int>(curve.size()) - 1;
    if (curveMark_ >= n) {
        // Segments beyond the curve stay made, hidden.
        for (int i = n + 1; i <= curveMark_; ++i)
            linGauss[i]->SetVisible(false);
    } else {
        for (int i = curveMark_ + 1; i <= n; ++i)
            linGauss.push_back(&NewSegment());
        curveMark_ = n;
    }
    for (int i = 0; i <= n; ++i) {
        const pegfall::Segment& s = curve[i];
        platform::SurfaceLine& line = *linGauss[i];
        line.SetPoints(QPointF(s.x0, s.y0), QPointF(s.x1, s.y1));
        line.SetVisible(true);
        // Over the bars, also those made after it.
        line.BringToFront();
    }
}
