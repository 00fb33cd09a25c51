#include "Wait.h"

#include "Clock.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <utility>
#include <vector>

namespace platform {

namespace {

bool IsUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

// Takes the user input addressed to any window or widget while it exists and
// posts it again, in order, when it is released.
class InputHold final : public QObject {
public:
    InputHold() { QCoreApplication::instance()->installEventFilter(this); }
    ~InputHold() override {
        QCoreApplication::instance()->removeEventFilter(this);
        for (auto& [receiver, event] : held_) {
            if (receiver)
                QCoreApplication::postEvent(receiver, event.release());
        }
    }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (!IsUserInput(event->type()) || !(receiver->isWidgetType() || receiver->isWindowType()))
            return false;
        held_.emplace_back(receiver, event->clone());
        return true;
    }

private:
    std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> held_;
};

// Notes a close request or hiding of a window.
class CloseWatch final : public QObject {
public:
    explicit CloseWatch(QWidget* window) : window_(window), wasVisible_(window->isVisible()) {
        window->installEventFilter(this);
    }
    ~CloseWatch() override {
        if (window_)
            window_->removeEventFilter(this);
    }

    bool Closed() const {
        return closed_ || window_.isNull() || (wasVisible_ && !window_->isVisible());
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Close)
            closed_ = true;
        return false;
    }

private:
    QPointer<QWidget> window_;
    bool wasVisible_;
    bool closed_ = false;
};

} // namespace

bool Wait(int milliseconds, const WaitOptions& options) {
    const int64_t end = MillisecondClock() + std::max(milliseconds, 0);
    std::unique_ptr<CloseWatch> watch;
    if (options.window != nullptr)
        watch = std::make_unique<CloseWatch>(options.window);
    std::unique_ptr<InputHold> hold;
    if (options.holdInput)
        hold = std::make_unique<InputHold>();
    // Wakes the thread when the time has come, if no message does earlier.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    for (;;) {
        if (watch && watch->Closed())
            return false;
        const int64_t now = MillisecondClock();
        if (now >= end)
            return true;
        if (HasTestClock()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            continue;
        }
        if (!wake.isActive())
            wake.start(static_cast<int>(std::min<int64_t>(end - now, INT32_MAX)));
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

} // namespace platform
