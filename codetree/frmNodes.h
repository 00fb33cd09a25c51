#pragma once

#include "ModelessDialog.h"

class QPushButton;
class frmCodetree;

namespace platform {
class TextBox;
}

// The tool window for entering weights: a weight typed as a number or as a
// fraction "a/b" is added as a new leaf; the weights can be normalised and the
// selected leaf removed.
class frmNodes : public platform::ModelessDialog {
public:
    explicit frmNodes(frmCodetree& owner);

    // Reads addVal from the text; Add is offered only for a positive finite value.
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

private:
    frmCodetree& owner_;
};
