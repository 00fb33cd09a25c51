#include "PegPictures.h"

#include <QPainter>
#include <QRadialGradient>

namespace pegfall {

namespace {

// A disc filling the picture, lit from the upper left.
QImage Sphere(int size, QColor light, QColor dark, QColor rim) {
    QImage picture(size, size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient shade(QPointF(size * 0.35, size * 0.35), size * 0.7);
    shade.setColorAt(0, light);
    shade.setColorAt(1, dark);
    painter.setBrush(shade);
    painter.setPen(QPen(rim, 1));
    painter.drawEllipse(QRectF(0.5, 0.5, size - 1, size - 1));
    return picture;
}

} // namespace

QImage PegPicture() {
    return Sphere(8, QColor(0xB0, 0xB0, 0xB8), QColor(0x40, 0x40, 0x48), QColor(0x30, 0x30, 0x30));
}

QImage BallPicture() {
    return Sphere(16, QColor(0xFF, 0xE0, 0x80), QColor(0xC0, 0x60, 0x00), QColor(0x80, 0x40, 0x00));
}

} // namespace pegfall
