#pragma once

#include "InputEvents.h"
#include "TextBoxEvents.h"

#include <QLineEdit>
#include <functional>

// A single-line text box. Every key pressed goes first to onKeyDown, which returns
// true when it has handled the key, so the box does not act on it. A key that types
// a character then goes to the key filter, as its character code (Backspace 8, Tab 9,
// Enter 13, Escape 27, otherwise the Unicode value); returning false drops it. Keys
// that type nothing (arrows, Delete, function keys) bypass the filter. Text comes
// and goes through QLineEdit's text() and setText(); pasting is not filtered.
// The box raises the events of TextBoxEvents; onChange runs for every change of
// the text, typed or set, and not for a setText that leaves it as it was, so a
// handler that rewrites the text runs once more and then settles. selectAll()
// selects the whole text.

namespace platform {

class TextBox : public TextBoxEvents<QLineEdit> {
public:
    explicit TextBox(QWidget* parent = nullptr);

    std::function<bool(int character)> keyFilter;
    std::function<bool(const KeyEvent&)> onKeyDown;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace platform
