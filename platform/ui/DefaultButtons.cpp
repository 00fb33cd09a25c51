#include "DefaultButtons.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

namespace platform {

DefaultButtons::DefaultButtons(QWidget* window)
    : QObject(window->window()), window_(window->window()) {
    // Keys the focused control leaves unused travel up to the window.
    window_->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, [this] { ShowEnterButton(); });
}

void DefaultButtons::SetDefault(QPushButton* button) {
    default_ = button;
    ShowEnterButton();
}

void DefaultButtons::SetCancel(QPushButton* button) {
    cancel_ = button;
}

QPushButton* DefaultButtons::EnterButton() const {
    auto* focused = qobject_cast<QPushButton*>(window_->focusWidget());
    if (focused != nullptr && focused->window() == window_) {
        return focused;
    }
    return default_;
}

bool DefaultButtons::Press(QPushButton* button) const {
    if (button == nullptr || !button->isEnabled() || !button->isVisibleTo(window_)) {
        return false;
    }
    button->click();
    return true;
}

void DefaultButtons::ShowEnterButton() {
    QPushButton* const button = EnterButton();
    if (button == shown_) {
        return;
    }
    if (shown_) {
        shown_->setDefault(false);
    }
    shown_ = button;
    if (button != nullptr) {
        button->setDefault(true);
    }
}

bool DefaultButtons::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window_ || event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        return false;
    }
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Press(EnterButton());
    case Qt::Key_Escape:
        return Press(cancel_);
    default:
        return false;
    }
}

} // namespace platform
