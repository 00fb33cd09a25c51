#pragma once

#include "ModelessDialog.h"

class QLabel;
class QPushButton;
class frmScrivel;

namespace platform {
class ProgressBar;
}

// The progress window of the analysis, shown without blocking the main window:
// how far the pass is, and Cancel. Escape and the close box cancel too; the pass
// closes the window when it ends.
class frmAnalyzing : public platform::ModelessDialog {
public:
    explicit frmAnalyzing(frmScrivel& owner);

    void cmdCancel_Click();

    QLabel* lblAnal = nullptr;
    platform::ProgressBar* progAnal = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    void reject() override;

private:
    frmScrivel& owner_;
};
