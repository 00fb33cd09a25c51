#pragma once

#include "InputEvents.h"

#include <QLineEdit>
#include <functional>

// A single-line text box. Every key pressed goes first to onKeyDown, which returns
// true when it has handled the key, so the box does not act on it. A key that types
// a character then goes to the key filter, as its character code (Backspace 8, Tab 9,
// Enter 13, Escape 27, otherwise the Unicode value); returning false drops it. Keys
// that type nothing (arrows, Delete, function keys) bypass the filter. Text comes
// and goes through QLineEdit's text() and setText(); pasting is not filtered.

namespace platform {

class TextBox : public QLineEdit {
public:
    explicit TextBox(QWidget* parent = nullptr);

    std::function<bool(int character)> keyFilter;
    std::function<bool(const KeyEvent&)> onKeyDown;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace platform
