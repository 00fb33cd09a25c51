#include "frmAnalyzing.h"

#include "frmScrivel.h"

frmAnalyzing::frmAnalyzing(frmScrivel& owner)
    : ProgressWindow(&owner, {.title = "Analyzing text",
                              .text = "Analyzing text. Please wait...",
                              .textWidth = 300,
                              .helpTopic = frmScrivel::kHelpTopic,
                              .onCancel = [&owner] { owner.CancelAnalysis(); }}),
      lblAnal(Label()), progAnal(Progress()) {}
