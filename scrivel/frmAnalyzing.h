#pragma once

#include "ProgressWindow.h"

class frmScrivel;

// The progress window of the analysis, shown without blocking the main window:
// how far the pass is, and Cancel. Escape and the close box cancel too; the pass
// closes the window when it ends.
class frmAnalyzing : public platform::ProgressWindow {
public:
    explicit frmAnalyzing(frmScrivel& owner);

    QLabel* const lblAnal;
    platform::ProgressBar* const progAnal;
};
