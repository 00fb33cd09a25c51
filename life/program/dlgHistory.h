#pragma once

#include "ModelessDialog.h"

class QLabel;
class QPushButton;
class frmLifeboard;

namespace platform {
class TextBox;
}

// The history dialog: how many cell changes the engine keeps for stepping
// back. The box takes digits only; OK writes through the main window.
class dlgHistory : public platform::ModelessDialog {
public:
    explicit dlgHistory(frmLifeboard& owner);

    // Reads the box as a leading decimal number rounded to an int32 and closes;
    // a number past the int32 range gets a message and changes nothing.
    void OKButton_Click();
    bool txtHistLimit_KeyPress(int character) const;

    QLabel* lblExplanation = nullptr;
    QLabel* lblHistLimit = nullptr;
    platform::TextBox* txtHistLimit = nullptr;
    QPushButton* OKButton = nullptr;

private:
    frmLifeboard& owner_;
};
