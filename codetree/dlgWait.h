#pragma once

#include "ModelessDialog.h"

class QLabel;
class QPushButton;
class frmCodetree;

namespace platform {
class ProgressBar;
}

// The progress dialog of a long operation: what runs, how far it is, and Cancel.
// Escape and the close box cancel as well; the operation closes the dialog when
// it ends.
class dlgWait : public platform::ModelessDialog {
public:
    explicit dlgWait(frmCodetree& owner);

    void cmdCancel_Click();

    QLabel* lblWait = nullptr;
    platform::ProgressBar* prgProgress = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    void reject() override;

private:
    frmCodetree& owner_;
};
