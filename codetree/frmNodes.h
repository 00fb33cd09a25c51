#pragma once

#include "ModelessDialog.h"

class QPushButton;
class frmCodetree;

namespace platform {
class DefaultButtons;
class TextBox;
} // namespace platform

// The tool window for entering weights: a weight typed as a number or as a
// fraction "a/b" is added as a new leaf; the weights can be normalised and the
// selected leaf removed. Enter presses Add, or the button that has the focus, so
// that a user types weight, Enter, weight, Enter.
class frmNodes : public platform::ModelessDialog {
public:
    explicit frmNodes(frmCodetree& owner);

    // Reads addVal from the text. Add is offered exactly when its click adds a
    // positive finite weight: the value of the text as the click rewrites it.
    void txtAdd_Change();
    // Writes the text back in its plain form, selects it and adds addVal.
    void cmdAdd_Click();
    void cmdNormalize_Click();
    void cmdRemove_Click();

    // The value typed in txtAdd.
    double addVal = 0;

    platform::TextBox* txtAdd = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdNormalize = nullptr;
    QPushButton* cmdRemove = nullptr;

    // Shows the window without taking the focus from the window the user works in;
    // the text box gets the focus within this window.
    void ShowBeside();

private:
    frmCodetree& owner_;
    platform::DefaultButtons* buttons_ = nullptr;
};
