#pragma once

#include "InputEvents.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <functional>

// The events of a text box as the forms handle them, over a Qt text editor:
// - onClick: the left button pressed and released over the box. A double click
//   raises onClick for its first click and onDblClick for its second, never a
//   second onClick.
// - onGotFocus, onLostFocus: the focus moves into or out of the box within its
//   window (by the mouse, the keyboard or setFocus); activating or leaving the
//   window and pop-up menus raise neither.
// - onChange: the text changed, by the user or from code; each box raises it.
// Each runs after the editor has handled the event itself, so that a handler may
// set the selection (for example select the whole text on a click).

namespace platform {

template <class Editor> class TextBoxEvents : public Editor {
public:
    using Editor::Editor;

    std::function<void()> onChange;
    std::function<void()> onClick;
    std::function<void()> onDblClick;
    std::function<void()> onGotFocus;
    std::function<void()> onLostFocus;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        Editor::mousePressEvent(event);
        pressed_ = event->button() == Qt::LeftButton;
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        Editor::mouseReleaseEvent(event);
        const bool click = pressed_ && event->button() == Qt::LeftButton;
        pressed_ = false;
        if (click && onClick) {
            onClick();
        }
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override {
        Editor::mouseDoubleClickEvent(event);
        pressed_ = false;
        if (event->button() == Qt::LeftButton && onDblClick) {
            onDblClick();
        }
    }

    void focusInEvent(QFocusEvent* event) override {
        Editor::focusInEvent(event);
        if (IsFocusMove(event->reason()) && onGotFocus) {
            onGotFocus();
        }
    }

    void focusOutEvent(QFocusEvent* event) override {
        Editor::focusOutEvent(event);
        if (IsFocusMove(event->reason()) && onLostFocus) {
            onLostFocus();
        }
    }

private:
    bool pressed_ = false;
};

} // namespace platform
