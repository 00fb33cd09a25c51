#include "frmStats.h"

#include "Color.h"
#include "Conversions.h"
#include "Help.h"
#include "Surface.h"
#include "frmCointoss.h"

#include <QScreen>
#include <QStyle>
#include <algorithm>

namespace {

constexpr uint32_t kBarColour = 0xC0E0FF;
constexpr uint32_t kOutlineColour = 0xFF;

int Round(double v) {
    return platform::NearestInt(v);
}

} // namespace

frmStats::frmStats(QWidget* owner) : platform::ModelessDialog(owner) {
    setWindowTitle("One-block statistics");
    platform::BindHelpKey(this, frmCointoss::kHelpTopic);
    SetDestroyedOnClose(true);
    surface = new platform::Surface(this);
    surface->SetBackColor(Qt::white);
    surface->onPaint = [this] { Form_Paint(); };
    resize(650, 399);
}

void frmStats::ReDimStats(int32_t upper) {
    stats_.assign(static_cast<size_t>(std::max(upper, 0)) + 1, 0);
}

void frmStats::SetStats(int32_t pos, int32_t val) {
    if (pos >= 0 && static_cast<size_t>(pos) < stats_.size())
        stats_[pos] = val;
}

void frmStats::SetOuterHeightTwips(int64_t twips) {
    int64_t outer = (twips + platform::kTwipsPerPixel / 2) / platform::kTwipsPerPixel;
    if (const QScreen* s = screen())
        outer = std::min<int64_t>(outer, s->availableGeometry().height());
    requestedOuterHeight_ = static_cast<int>(outer);
    // The frame's own height: known once the window is shown, else the style's title bar.
    int frame = frameGeometry().height() - geometry().height();
    if (frame <= 0 && !isVisible())
        frame = style()->pixelMetric(QStyle::PM_TitleBarHeight) + 2 * style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    resize(width(), std::max(1, requestedOuterHeight_ - frame));
}

void frmStats::resizeEvent(QResizeEvent* event) {
    platform::ModelessDialog::resizeEvent(event);
    // A new size repaints the surface by itself.
    surface->setGeometry(rect());
}

void frmStats::Form_Paint() {
    surface->Clear();
    surface->SetPen(Qt::black);
    const int32_t u = static_cast<int32_t>(stats_.size()) - 1;
    int32_t most = 0;
    for (int32_t i = 1; i <= u; ++i)
        most = std::max(most, stats_[i]);
    if (most == 0) {
        surface->Print(QPoint(10, 20), "There were no ones in the sequence");
        return;
    }
    const double sw = surface->width();
    const double sh = surface->height();
    const double lw = surface->TextWidth(QString::number(u) + " ");
    const int hh = Round(surface->TextHeight("0") / 2.0);
    const double cw = surface->TextWidth(" (" + QString::number(most) + ")");
    const double sx = (sw - 20 - cw - lw) / most;
    const double rh = (sh - 20) / u;

    const QColor bar = platform::ToQColor(kBarColour);
    const QColor outline = platform::ToQColor(kOutlineColour);
    const int left = Round(lw + 10);
    for (int32_t i = 1; i <= u; ++i) {
        const int ty = Round(i * rh + 10 - rh / 2 - hh);
        surface->SetPen(Qt::black);
        surface->Print(QPoint(10, ty), QString::number(i));
        const int right = Round(stats_[i] * sx + left);
        const int bottom = Round(i * rh + 10 - rh / 10);
        const int top = Round(bottom - rh * 8 / 10);
        if (right > left && bottom > top)
            surface->FillRect(left + 1, top + 1, right - left - 1, bottom - top - 1, bar);
        surface->SetPen(outline);
        surface->Line(QPoint(left, top), QPoint(right, top));
        surface->Line(QPoint(right, top), QPoint(right, bottom));
        surface->Line(QPoint(right, bottom), QPoint(left, bottom));
        surface->Line(QPoint(left, bottom), QPoint(left, top));
        surface->SetPen(Qt::black);
        surface->Print(QPoint(right, ty), " (" + QString::number(stats_[i]) + ")");
    }
}
