#include "dlgWait.h"

#include "frmCodetree.h"

dlgWait::dlgWait(frmCodetree& owner)
    : ProgressWindow(&owner, {.title = "Codetree",
                              .text = "Opening file. Please wait...",
                              .textWidth = 360,
                              .helpTopic = frmCodetree::kHelpTopic,
                              .onCancel = [&owner] { owner.CancelCallback(); }}),
      lblWait(Label()), prgProgress(Progress()) {}
