// frmLifeboard: opening the rule and history dialogs.

#include "TextBox.h"
#include "dlgHistory.h"
#include "frmLifeboard.h"
#include "frmRules.h"

void frmLifeboard::ShowRules() {
    if (!rules_)
        rules_ = new frmRules(*this);
    const int16_t n = neiCount_;
    rules_->SelectOption(n);
    // Ticks left from an earlier showing (cancelled, or above the lattice
    // chosen then) must not come back.
    rules_->ClearChecks();
    for (int16_t b = 0; b <= n && b <= lifeboard::kMaxNeiCount; ++b) {
        int16_t survival = 0;
        int16_t birth = 0;
        engine_->get_RuleS(b, &survival);
        engine_->get_RuleB(b, &birth);
        if (negative) {
            // Show the rule before the complement transform.
            const auto mirrored = static_cast<int16_t>(n - b);
            rules_->chkBirth.SetChecked(mirrored, survival == 0);
            rules_->chkSurv.SetChecked(mirrored, birth == 0);
        } else {
            rules_->chkSurv.SetChecked(b, survival == 1);
            rules_->chkBirth.SetChecked(b, birth == 1);
        }
    }
    rules_->ShowModeless();
}

void frmLifeboard::ShowHistory() {
    if (!history_)
        history_ = new dlgHistory(*this);
    int32_t limit = 0;
    engine_->get_HistoryLimit(&limit);
    history_->txtHistLimit->setText(QString::number(limit));
    history_->ShowModeless();
}
