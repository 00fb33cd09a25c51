#pragma once

#include <QRect>
#include <QSize>
#include <initializer_list>

class QWidget;

// A window whose controls keep their design places, or follow its size only
// down to some size, cannot be made smaller than the room they take.

namespace platform {

// Makes the extent of controls (their farthest right and bottom edges in the
// window's client area) plus margin, or at least least, window's minimum client
// size; a window smaller than that grows to it. Empty rectangles take no room.
// Returns the minimum.
QSize KeepControlsWhole(QWidget& window, std::initializer_list<QRect> controls,
                        QSize margin = QSize(0, 0), QSize least = QSize(0, 0));

} // namespace platform
