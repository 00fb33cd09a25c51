#include "LayoutMinimum.h"

#include <QWidget>
#include <algorithm>

namespace platform {

QSize KeepControlsWhole(QWidget& window, std::initializer_list<QRect> controls, QSize margin,
                        QSize least) {
    int right = 0;
    int bottom = 0;
    for (const QRect& control : controls) {
        if (control.isEmpty())
            continue;
        right = std::max(right, control.x() + control.width());
        bottom = std::max(bottom, control.y() + control.height());
    }
    const QSize minimum = QSize(right + margin.width(), bottom + margin.height()).expandedTo(least);
    window.setMinimumSize(minimum);
    return minimum;
}

} // namespace platform
