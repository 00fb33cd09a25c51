#include "TextBox.h"

#include <QKeyEvent>

namespace platform {

namespace {

// The character a key types, or 0 when it types none.
int TypedCharacter(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Delete:
        return 0;
    default:
        break;
    }
    const QString text = event.text();
    if (text.isEmpty() || text[0].unicode() == 127) {
        return 0;
    }
    return text[0].unicode();
}

} // namespace

TextBox::TextBox(QWidget* parent) : TextBoxEvents<QLineEdit>(parent) {
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (onChange) {
            onChange();
        }
    });
}

void TextBox::keyPressEvent(QKeyEvent* event) {
    if (onKeyDown && onKeyDown({event->key(), ShiftCode(event->modifiers())})) {
        event->accept();
        return;
    }
    const int character = TypedCharacter(*event);
    if (character != 0 && keyFilter && !keyFilter(character)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace platform
