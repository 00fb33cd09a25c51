// frmLifeboard: the board: painting, cells, mouse editing, zoom and scrolling.

#include "ScrollBar.h"
#include "Surface.h"
#include "ToolBar.h"
#include "frmLifeboard.h"

#include <QPoint>

namespace {

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;
// Outline of cells of size 4 and more: &HE0E0E0.
constexpr QRgb kGridColour = 0xFFE0E0E0;

} // namespace

void frmLifeboard::Repaint() {
    board->Refresh();
}

void frmLifeboard::Form_Paint() {
    if (!engine_)
        return;
    board->SetBackColor(QColor::fromRgb(negative ? kBlack : kWhite));
    if (view_.z >= 4) {
        const lifeboard::VisibleRange range =
            lifeboard::VisibleCells(Lattice(), view_, width(), height());
        for (int64_t x = range.x.first; x <= range.x.last; ++x)
            for (int64_t y = range.y.first; y <= range.y.last; ++y)
                DrawCell(static_cast<int32_t>(x), static_cast<int32_t>(y), negative);
    }
    engine_->StartIterating();
    int32_t x = 0;
    int32_t y = 0;
    int16_t ok = 0;
    while (engine_->NextCell(&x, &y, &ok), ok == 1)
        DrawCell(x, y, !negative);
}

void frmLifeboard::DrawCell(int32_t x, int32_t y, bool live) {
    const lifeboard::BoardRect& area = boardArea_;
    const bool small = view_.z < 4;
    const QRgb fill = live ? kBlack : kWhite;
    board->SetBrush(fill);
    board->SetPen(small ? fill : kGridColour);
    if (Lattice() == lifeboard::LatticeKind::kSquare) {
        lifeboard::Point32 a, b;
        if (!lifeboard::DrawableSquare(view_, x, y, small, area, a, b))
            return;
        board->Box(QPoint(a.x, a.y), QPoint(b.x, b.y));
        return;
    }
    DrawLatticeCell(x, y, area);
}

void frmLifeboard::DrawLatticeCell(int32_t x, int32_t y, const lifeboard::BoardRect& area) {
    if (!lifeboard::CellVisible(Lattice(), view_, x, y, area))
        return;
    const lifeboard::CellPolygon polygon = lifeboard::CellPolygonAt(Lattice(), view_, x, y);
    lifeboard::DrawnPoints drawn;
    const int count = lifeboard::DrawablePolygon(polygon, area, drawn);
    QPoint points[lifeboard::kMaxDrawnPoints];
    for (int i = 0; i < count; ++i)
        points[i] = QPoint(drawn[i].x, drawn[i].y);
    board->Polygon({points, static_cast<std::size_t>(count)});
}

void frmLifeboard::Form_MouseDown(int pixelX, int pixelY) {
    if (!engine_)
        return;
    const auto cell = lifeboard::CellAtPixel(Lattice(), view_, pixelX, pixelY);
    if (!cell)
        return;
    const bool held = EngineCell(cell->x, cell->y);
    SetEngineCell(cell->x, cell->y, !held);
    // The picture shows the true state: in the complement mode the engine
    // holds the dead cells.
    DrawCell(cell->x, cell->y, negative ? held : !held);
    // An edited board cannot be stepped back through.
    engine_->CleanHistory();
    flips_.Clear();
    UpdateBackButtons();
}

void frmLifeboard::ZoomBy(int d) {
    view_ = lifeboard::ZoomBy(view_, d, BoardWidth(), BoardHeight());
    Repaint();
}

void frmLifeboard::ScrollBy(bool horizontal, int32_t d) {
    int32_t& offset = horizontal ? view_.ox : view_.oy;
    if (const auto moved = lifeboard::ScrolledOffset(offset, d, view_.z))
        offset = *moved;
    Repaint();
}

namespace {

// Pulls the thumb back by one large change near either end, without a
// second change event, so that re-centring does not move the view again.
void Recentre(platform::ScrollBar& bar) {
    const int value = bar.Value();
    if (value < bar.Min() + bar.LargeChange())
        bar.SetValueQuiet(value + bar.LargeChange());
    else if (value > bar.Max() - bar.LargeChange())
        bar.SetValueQuiet(value - bar.LargeChange());
}

} // namespace

void frmLifeboard::scrH_Change(int value) {
    const int d = lastH_ - value;
    Recentre(*scrH);
    lastH_ = scrH->Value();
    ScrollBy(true, d);
}

void frmLifeboard::scrV_Change(int value) {
    const int d = lastV_ - value;
    Recentre(*scrV);
    lastV_ = scrV->Value();
    ScrollBy(false, d);
}

void frmLifeboard::cmdDummy_KeyDown(int key) {
    switch (key) {
    case Qt::Key_Left:
        scrH->SetValue(scrH->Value() - scrH->SmallChange());
        break;
    case Qt::Key_Right:
        scrH->SetValue(scrH->Value() + scrH->SmallChange());
        break;
    case Qt::Key_Up:
        scrV->SetValue(scrV->Value() - scrV->SmallChange());
        break;
    case Qt::Key_Down:
        scrV->SetValue(scrV->Value() + scrV->SmallChange());
        break;
    default:
        break;
    }
}
