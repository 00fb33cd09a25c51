#pragma once

#include "ProgressWindow.h"

class frmCodetree;

// The progress dialog of a long operation: what runs, how far it is, and Cancel.
// Escape and the close box cancel as well; the operation closes the dialog when
// it ends.
class dlgWait : public platform::ProgressWindow {
public:
    explicit dlgWait(frmCodetree& owner);

    QLabel* const lblWait;
    platform::ProgressBar* const prgProgress;
};
