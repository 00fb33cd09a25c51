#include "CloseGuard.h"

#include <QCloseEvent>
#include <QWidget>

namespace platform {

CloseGuard::CloseGuard(QWidget& window, std::function<void()> endLoop)
    : window_(window), endLoop_(std::move(endLoop)) {
    window_.installEventFilter(this);
}

CloseGuard::~CloseGuard() {
    window_.removeEventFilter(this);
}

CloseGuard::Busy::Busy(CloseGuard& guard) : guard_(guard) {
    ++guard_.depth_;
}

CloseGuard::Busy::~Busy() {
    if (--guard_.depth_ > 0 || !guard_.closePending_)
        return;
    guard_.closePending_ = false;
    guard_.window_.close();
}

bool CloseGuard::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &window_ || event->type() != QEvent::Close || depth_ == 0)
        return false;
    event->ignore();
    closePending_ = true;
    if (endLoop_)
        endLoop_();
    return true;
}

} // namespace platform
