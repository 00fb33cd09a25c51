#pragma once

#include "MultiLineTextBox.h"

// The rich text box of the forms: a multi-line text box for long texts, wrapped
// at its width, with a vertical scroll bar. The programs use only its text, so it
// holds plain text: pasted formatting is dropped, while every character and line
// end of the text is kept as in MultiLineTextBox.

namespace platform {

class RichTextBox : public MultiLineTextBox {
public:
    explicit RichTextBox(QWidget* parent = nullptr) : MultiLineTextBox(parent, kVertical) {}
};

} // namespace platform
