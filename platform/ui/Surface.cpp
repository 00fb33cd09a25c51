#include "Surface.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <limits>

namespace platform {

namespace {

// Four corners in order along upright edges.
bool IsUprightRectangle(std::span<const QPoint> p) {
    for (std::size_t i = 0; i < 4; ++i) {
        const QPoint& a = p[i];
        const QPoint& b = p[(i + 1) % 4];
        if (a.x() != b.x() && a.y() != b.y())
            return false;
    }
    return p[0] != p[2] && p[1] != p[3];
}

QFont Unsmoothed(QFont font) {
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// Calls f with every line of text; lines end at LF, a CR before it dropped.
template <class F> void ForEachLine(const QString& text, F&& f) {
    if (!text.contains(u'\n')) {
        f(text);
        return;
    }
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = text.indexOf(u'\n', start);
        if (end < 0) {
            f(text.mid(start));
            return;
        }
        const qsizetype length = end - start - (end > start && text[end - 1] == u'\r' ? 1 : 0);
        f(text.mid(start, length));
        start = end + 1;
    }
}

int LineHeight(const QFontMetrics& metrics) {
    return std::max(metrics.height(), metrics.lineSpacing());
}

// The nearest whole number of a coordinate, kept inside the range that pixel
// arithmetic can take.
int NearestCoordinate(double v) {
    constexpr double kLimit = 1 << 28;
    if (!(v > -kLimit))
        return -static_cast<int>(kLimit);
    if (!(v < kLimit))
        return static_cast<int>(kLimit);
    return static_cast<int>(std::lround(v));
}

} // namespace

Surface::Surface(QWidget* parent)
    : QWidget(parent), pen_(Qt::black, 1), brush_(Qt::black), backColor_(Qt::white),
      textFont_(Unsmoothed(font())) {
    pen_.setCosmetic(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    image_ = QImage(std::max(width(), 1), std::max(height(), 1), QImage::Format_RGB32);
    image_.fill(backColor_);
}

Surface::~Surface() {
    EndPainting();
}

QPainter& Surface::Painter() {
    if (!painter_.isActive()) {
        // A widget resized while hidden gets its resize event only when shown:
        // the image takes the size now, so that nothing drawn before is cut.
        FitImage();
        painter_.begin(&image_);
        painter_.translate(-origin_);
        painter_.setRenderHint(QPainter::Antialiasing, false);
        painter_.setPen(pen_);
        painter_.setBrush(brush_);
        painter_.setFont(textFont_);
    }
    return painter_;
}

void Surface::EndPainting() const {
    if (painter_.isActive()) {
        painter_.end();
    }
}

int Surface::ToPixels(double v) const {
    return NearestCoordinate(twips_ ? v / kTwipsPerPixel : v);
}

void Surface::SetScaleMode(ScaleMode mode) {
    const bool twips = mode == ScaleMode::Twips;
    if (twips == twips_) {
        return;
    }
    twips_ = twips;
    SetOrigin(scaleOrigin_);
    for (const auto& item : items_) {
        item->Replace();
    }
}

void Surface::SetOrigin(QPoint origin) {
    EndPainting();
    scaleOrigin_ = origin;
    const QPoint pixels = ToPixels(origin);
    if (pixels != origin_ && !items_.empty()) {
        update();
    }
    origin_ = pixels;
}

void Surface::SetBackColor(const QColor& color) {
    backColor_ = color;
    Clear();
}

void Surface::Clear() {
    EndPainting();
    FitImage();
    image_.fill(backColor_);
    MarkDirty(image_.rect());
}

void Surface::SetPen(const QColor& color) {
    SetPen(color.rgb());
}

void Surface::ChangePen(QRgb color) {
    penRgb_ = color;
    pen_.setColor(QColor::fromRgb(color));
    if (painter_.isActive()) {
        painter_.setPen(pen_);
    }
}

void Surface::SetBrush(const QColor& color) {
    SetBrush(color.rgb());
}

void Surface::ChangeBrush(QRgb color) {
    brushRgb_ = color;
    brush_.setColor(QColor::fromRgb(color));
    if (painter_.isActive()) {
        painter_.setBrush(brush_);
    }
}

void Surface::Polygon(std::span<const QPoint> points) {
    if (points.empty()) {
        return;
    }
    std::vector<QPoint> pixels;
    if (twips_) {
        pixels.reserve(points.size());
        for (const QPoint& p : points) {
            pixels.push_back(ToPixels(p));
        }
        points = pixels;
    }
    int left = points[0].x(), right = left, top = points[0].y(), bottom = top;
    for (const QPoint& p : points) {
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    if (points.size() == 4 && IsUprightRectangle(points)) {
        BoxPixels(QPoint(left, top), QPoint(right, bottom));
        return;
    }
    QPainter& painter = Painter();
    painter.drawPolygon(points.data(), static_cast<int>(points.size()));
    // Qt's outline may leave out a vertex where an edge ends; every vertex is lit,
    // so that cells sharing a corner leave no gap.
    painter.drawPoints(points.data(), static_cast<int>(points.size()));
    MarkDirty(QRect(QPoint(left, top), QPoint(right, bottom)).translated(-origin_));
}

void Surface::Line(QPoint from, QPoint to) {
    LinePixels(ToPixels(from), ToPixels(to));
}

void Surface::Line(QPointF from, QPointF to) {
    LinePixels(ToPixels(from), ToPixels(to));
}

void Surface::LinePixels(QPoint from, QPoint to) {
    Painter().drawLine(from, to);
    MarkDirty(QRect(from, to).normalized().translated(-origin_));
}

void Surface::FillRect(int x, int y, int width, int height, const QColor& color) {
    const QPoint topLeft = ToPixels(QPoint(x, y));
    const QRect rect(topLeft, ToPixels(QPoint(x + width, y + height)) - QPoint(1, 1));
    Painter().fillRect(rect, color);
    MarkDirty(rect.translated(-origin_));
}

void Surface::SetPixel(int x, int y, const QColor& color) {
    const QPoint at = ToPixels(QPoint(x, y));
    Painter().fillRect(QRect(at, QSize(1, 1)), color);
    MarkDirty(QRect(at, QSize(1, 1)).translated(-origin_));
}

void Surface::Circle(QPointF centre, double radius) {
    if (!(radius >= 0)) {
        return;
    }
    if (twips_) {
        centre /= kTwipsPerPixel;
        radius /= kTwipsPerPixel;
    }
    Painter().drawEllipse(centre, radius, radius);
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    MarkDirty(box.toAlignedRect().translated(-origin_));
}

void Surface::CircleOutline(QPointF centre, double radius) {
    QPainter& painter = Painter();
    painter.setBrush(Qt::NoBrush);
    Circle(centre, radius);
    painter.setBrush(brush_);
}

QSize Surface::MeasureText(const QFont& font, const QString& text) const {
    const QFontMetrics metrics(font, &image_);
    int width = 0;
    int lines = 0;
    ForEachLine(text, [&](const QString& line) {
        width = std::max(width, metrics.horizontalAdvance(line));
        ++lines;
    });
    return {width, lines * LineHeight(metrics)};
}

void Surface::DrawText(QPainter& painter, QPoint topLeft, const QFont& font, const QString& text,
                       int width, SurfaceLabel::Alignment alignment) const {
    const QFontMetrics metrics(font, &image_);
    const int lineHeight = LineHeight(metrics);
    painter.setFont(font);
    int y = topLeft.y() + metrics.ascent();
    ForEachLine(text, [&](const QString& line) {
        int x = topLeft.x();
        if (alignment != SurfaceLabel::Alignment::Left) {
            const int free = width - metrics.horizontalAdvance(line);
            x += alignment == SurfaceLabel::Alignment::Right ? free : free / 2;
        }
        painter.drawText(QPoint(x, y), line);
        y += lineHeight;
    });
}

int Surface::TextWidth(const QString& text) const {
    return FromPixels(MeasureText(textFont_, text).width());
}

int Surface::TextHeight(const QString& text) const {
    return FromPixels(MeasureText(textFont_, text).height());
}

void Surface::Print(QPoint topLeft, const QString& text) {
    topLeft = ToPixels(topLeft);
    QPainter& painter = Painter();
    DrawText(painter, topLeft, textFont_, text);
    // Glyphs may overhang their advance a little on either side.
    const QSize size = MeasureText(textFont_, text);
    const int overhang = size.height();
    MarkDirty(QRect(topLeft, size).adjusted(-overhang, 0, overhang, 0).translated(-origin_));
}

SurfaceShape& Surface::AddShape() {
    auto* shape = new SurfaceShape(*this);
    items_.emplace_back(shape);
    return *shape;
}

SurfaceLabel& Surface::AddLabel() {
    auto* label = new SurfaceLabel(*this);
    items_.emplace_back(label);
    return *label;
}

SurfaceLine& Surface::AddLine() {
    auto* line = new SurfaceLine(*this);
    items_.emplace_back(line);
    return *line;
}

SurfacePolyline& Surface::AddPolyline() {
    auto* polyline = new SurfacePolyline(*this);
    items_.emplace_back(polyline);
    return *polyline;
}

SurfaceImage& Surface::AddImage() {
    auto* image = new SurfaceImage(*this);
    items_.emplace_back(image);
    return *image;
}

void Surface::RemoveItem(SurfaceItem& item) {
    const auto it = std::find_if(items_.begin(), items_.end(),
                                 [&](const auto& owned) { return owned.get() == &item; });
    if (it == items_.end()) {
        return;
    }
    if (item.IsVisible()) {
        RepaintItemArea(item.Area());
    }
    items_.erase(it);
}

void Surface::BringToFront(const SurfaceItem& item) {
    const auto it = std::find_if(items_.begin(), items_.end(),
                                 [&](const auto& owned) { return owned.get() == &item; });
    if (it == items_.end() || it + 1 == items_.end()) {
        return;
    }
    std::rotate(it, it + 1, items_.end());
    if (item.IsVisible()) {
        RepaintItemArea(item.Area());
    }
}

void Surface::PaintItems(QPainter& painter, const QRect& area) const {
    for (const auto& item : items_) {
        if (!item->IsVisible()) {
            continue;
        }
        const QRect onImage = item->Area().translated(-origin_) & area;
        if (onImage.isEmpty()) {
            continue;
        }
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setClipRect(onImage);
        painter.translate(-origin_);
        item->Paint(painter);
        painter.restore();
    }
}

void Surface::RepaintItemArea(const QRect& area) {
    const QRect onScreen = area.translated(-origin_) & rect();
    if (!onScreen.isEmpty()) {
        update(onScreen);
    }
}

QImage Surface::Composite() const {
    EndPainting();
    QImage composite = image_.copy();
    QPainter painter(&composite);
    PaintItems(painter, composite.rect());
    return composite;
}

QColor Surface::Pixel(int x, int y) const {
    x = ToPixels(x) - origin_.x();
    y = ToPixels(y) - origin_.y();
    if (!image_.rect().contains(x, y)) {
        return {};
    }
    EndPainting();
    return QColor(image_.pixel(x, y));
}

const QImage& Surface::Image() const {
    EndPainting();
    UnmapPixels();
    return image_;
}

void Surface::MapPixels() {
    FitImage();
    pixels_ = reinterpret_cast<QRgb*>(image_.bits());
    pixelsStride_ = image_.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    pixelsWidth_ = image_.width();
    pixelsHeight_ = image_.height();
}

void Surface::Refresh() {
    FitImage();
    RunPaintHandler();
}

void Surface::FitImage() {
    const QSize size(std::max(width(), 1), std::max(height(), 1));
    if (image_.size() == size) {
        return;
    }
    EndPainting();
    QImage image(size, QImage::Format_RGB32);
    image.fill(backColor_);
    QPainter copy(&image);
    copy.drawImage(0, 0, image_);
    copy.end();
    UnmapPixels();
    image_ = std::move(image);
}

void Surface::RunPaintHandler() {
    painted_ = true;
    if (onPaint) {
        onPaint();
    }
    MarkDirty(image_.rect());
}

void Surface::PostFlush() {
    // At most one screen update per frame: a loop that draws on every step
    // runs at the speed of its model, and what it drew shows within a frame.
    flushPosted_ = true;
    const auto sinceLast = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - lastFlush_);
    const int wait = static_cast<int>(std::max<int64_t>(0, (kFrame - sinceLast).count()));
    QTimer::singleShot(wait, Qt::PreciseTimer, this, [this] { FlushDirty(); });
}

void Surface::FlushDirty() {
    flushPosted_ = false;
    lastFlush_ = std::chrono::steady_clock::now();
    update(QRect(QPoint(dirtyLeft_, dirtyTop_), QPoint(dirtyRight_, dirtyBottom_)) & rect());
    dirtyLeft_ = dirtyTop_ = std::numeric_limits<int>::max();
    dirtyRight_ = dirtyBottom_ = std::numeric_limits<int>::min();
}

void Surface::paintEvent(QPaintEvent* event) {
    EndPainting();
    QPainter screen(this);
    const QRect area = event->rect();
    const bool itemsMeet = std::any_of(items_.begin(), items_.end(), [&](const auto& item) {
        return item->IsVisible() && item->Area().translated(-origin_).intersects(area);
    });
    if (!itemsMeet) {
        screen.drawImage(area, image_, area);
        return;
    }
    // Items are painted on a copy of the exposed part, so that they look on the
    // screen exactly as in Composite().
    QImage part = image_.copy(area);
    QPainter painter(&part);
    painter.translate(-area.topLeft());
    PaintItems(painter, area);
    painter.end();
    screen.drawImage(area.topLeft(), part);
}

void Surface::resizeEvent(QResizeEvent*) {
    FitImage();
    if (onResize) {
        onResize();
    }
    RunPaintHandler();
}

void Surface::showEvent(QShowEvent*) {
    if (!painted_) {
        Refresh();
    }
}

MouseEvent Surface::ToMouseEvent(const QMouseEvent& event, Qt::MouseButtons buttons) const {
    const QPoint pixel = event.position().toPoint();
    return {ButtonCode(buttons), ShiftCode(event.modifiers()), FromPixels(pixel.x()) + scaleOrigin_.x(),
            FromPixels(pixel.y()) + scaleOrigin_.y()};
}

void Surface::mousePressEvent(QMouseEvent* event) {
    if (onMouseDown) {
        onMouseDown(ToMouseEvent(*event, event->button()));
    }
}

void Surface::mouseMoveEvent(QMouseEvent* event) {
    if (onMouseMove) {
        onMouseMove(ToMouseEvent(*event, event->buttons()));
    }
}

void Surface::mouseReleaseEvent(QMouseEvent* event) {
    if (onMouseUp) {
        onMouseUp(ToMouseEvent(*event, event->button()));
    }
}

void Surface::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        EndPainting();
        textFont_ = Unsmoothed(font());
    }
    QWidget::changeEvent(event);
}

void Surface::keyPressEvent(QKeyEvent* event) {
    if (!onKeyDown) {
        QWidget::keyPressEvent(event);
        return;
    }
    onKeyDown({event->key(), ShiftCode(event->modifiers())});
}

} // namespace platform
