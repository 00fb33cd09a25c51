// frmRibbonmill: the states, the number of tape symbols, the rule table and
// the editor of its selected rule.

#include "Color.h"
#include "Dialogs.h"
#include "DropDownList.h"
#include "ListBox.h"
#include "ListView.h"
#include "Windows1252.h"
#include "frmRibbonmill.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

using ribbonmill::AddStateResult;
using ribbonmill::Direction;
using ribbonmill::kStop;
using ribbonmill::Rule;

namespace {

QString Text(std::string_view bytes) {
    return platform::FromWindows1252(bytes);
}

void SetComboEnabled(QLabel* label, platform::DropDownList* combo, bool enabled) {
    const uint32_t color = enabled ? platform::kWindowColor : platform::kButtonFaceColor;
    if (combo->isEnabled() == enabled && combo->BackColor() == color)
        return;
    label->setEnabled(enabled);
    combo->setEnabled(enabled);
    combo->SetBackColor(color);
}

} // namespace

int16_t frmRibbonmill::StateIndex(const QString& name) const {
    return static_cast<int16_t>(machine_->StateIndex(platform::ToWindows1252(name)));
}

void frmRibbonmill::ShowStates() {
    lstStates->Clear();
    cmbState->Clear();
    cmbMachine->Clear();
    for (const std::string& state : machine_->States()) {
        lstStates->AddItem(Text(state));
        cmbState->AddItem(Text(state));
        cmbMachine->AddItem(Text(state));
    }
    cmbMachine->AddItem(Text(ribbonmill::kStopName));
    lstStates_Click();
}

void frmRibbonmill::lstStates_Click() {
    cmdDelState->setEnabled(lstStates->ListIndex() >= 0);
}

void frmRibbonmill::ShowCurrentState() {
    showing_ = true;
    cmbMachine->SelectText(Text(machine_->StateName(machine_->CurrentState())));
    showing_ = false;
}

void frmRibbonmill::cmbMachine_Click() {
    if (showing_)
        return;
    const int state = StateIndex(cmbMachine->Text());
    machine_->SetCurrentState(state >= 0 ? state : kStop);
}

void frmRibbonmill::cmdAddState_Click() {
    const std::optional<QString> answer =
        platform::InputBox("Input a name for the new state", "Add state", QString());
    if (!answer || answer->isEmpty())
        return;
    const QString& name = *answer;
    const std::string bytes = platform::ToWindows1252(name);
    // A character the file's code page lacks would come back as another.
    const AddStateResult result = Text(bytes) == name ? machine_->AddState(bytes)
                                                      : AddStateResult::Unstorable;
    switch (result) {
    case AddStateResult::Empty:
        return;
    case AddStateResult::NamedStop:
        platform::MessageBox("You cannot name a state 'STOP'", "Cannot add state");
        return;
    case AddStateResult::Exists:
        platform::MessageBox("A state named " + name + " already exists", "Cannot add state");
        return;
    case AddStateResult::Unstorable:
        platform::MessageBox("A state name cannot contain double quotes, line breaks or characters "
                             "that a machine file cannot hold",
                             "Cannot add state");
        return;
    case AddStateResult::Added:
        break;
    }
    lstStates->AddItem(name);
    cmbState->AddItem(name);
    cmbMachine->AddItem(name);
    lstStates_Click();
    ShowRules();
    ShowSelectedRule();
}

void frmRibbonmill::cmdDelState_Click() {
    const int index = lstStates->ListIndex();
    if (index < 0)
        return;
    const QString name = lstStates->List(index);
    machine_->DeleteState(index);
    cmbState->RemoveItem(index);
    for (int i = 0; i < cmbMachine->ListCount(); ++i) {
        if (cmbMachine->List(i) == name) {
            cmbMachine->RemoveItem(i);
            break;
        }
    }
    lstStates->RemoveItem(index);
    lstStates->SetListIndex(-1);
    lstStates_Click();
    ShowCurrentState();
    ShowRules();
    ShowSelectedRule();
}

void frmRibbonmill::ShowSymbols() {
    cmbSymbol->Clear();
    cmbSymbol->AddItem("(blank)", -1);
    for (int symbol = 0; symbol < machine_->SymbolCount(); ++symbol)
        cmbSymbol->AddItem(QString::number(symbol), symbol);
}

void frmRibbonmill::cmbAvailable_Click() {
    if (showing_ || cmbAvailable->ListIndex() < 0)
        return;
    machine_->SetSymbolCount(cmbAvailable->ItemData(cmbAvailable->ListIndex()));
    ShowSymbols();
    ShowRules();
    ShowSelectedRule();
}

void frmRibbonmill::SyncRules() {
    machine_->SyncRules();
    ShowRules();
    ShowSelectedRule();
}

void frmRibbonmill::ShowRules() {
    lstRules->Clear();
    for (int row = 0; row < static_cast<int>(machine_->Rules().size()); ++row) {
        const auto texts = machine_->RuleTexts(row);
        lstRules->AddRow({Text(texts[0]), Text(texts[1]), Text(texts[2]), Text(texts[3]),
                          Text(texts[4])});
    }
}

void frmRibbonmill::ShowRuleRow(int row) {
    const auto texts = machine_->RuleTexts(row);
    for (int column = 2; column < 5; ++column) {
        const QString text = Text(texts[static_cast<std::size_t>(column)]);
        if (lstRules->Text(row, column) != text)
            lstRules->SetText(row, column, text);
    }
}

void frmRibbonmill::lstRules_Click() {
    machine_->SelectRule(lstRules->SelectedRow());
    ShowSelectedRule();
}

void frmRibbonmill::EnableRuleControls(bool move, bool symbol) {
    SetComboEnabled(lblSymbol, cmbSymbol, symbol);
    optStop[0].setEnabled(symbol);
    optStop[1].setEnabled(symbol);
    SetComboEnabled(lblDirection, cmbDirection, move);
    SetComboEnabled(lblState, cmbState, move);
}

void frmRibbonmill::ShowSelectedRule() {
    const int row = machine_->SelectedRule();
    editorRow_ = row;
    lstRules->SetSelectedRow(row);
    if (row < 0) {
        // The editor shows no rule's values, and continuing then starts from
        // the defaults.
        lblWhen->setText("No rule selected.");
        showing_ = true;
        cmbSymbol->SetListIndex(-1);
        cmbDirection->SetListIndex(-1);
        cmbState->SetListIndex(-1);
        showing_ = false;
        for (const int option : {0, 1}) {
            // An exclusive option is unticked only while it is not exclusive.
            QRadioButton& button = optStop[option];
            button.setAutoExclusive(false);
            button.setChecked(false);
            button.setAutoExclusive(true);
        }
        EnableRuleControls(false, false);
        return;
    }
    lstRules->EnsureVisible(row);
    const auto texts = machine_->RuleTexts(row);
    lblWhen->setText("In the <" + Text(texts[0]) + "> state, on reading the <" + Text(texts[1]) +
                     "> symbol, perform this action:");
    const Rule& rule = machine_->Rules()[static_cast<std::size_t>(row)];
    showing_ = true;
    cmbSymbol->SetListIndex(rule.newSymbol + 1);
    if (!rule.Halts()) {
        cmbDirection->SetListIndex(rule.direction == Direction::Left ? 0 : 1);
        cmbState->SetListIndex(rule.newState);
    }
    showing_ = false;
    EnableRuleControls(false, true);
    const int option = rule.Halts() ? 1 : 0;
    optStop.SetChecked(option, true);
    optStop_Click(option);
}

void frmRibbonmill::optStop_Click(int index) {
    const int row = editorRow_;
    if (row < 0)
        return;
    const Rule& rule = machine_->Rules()[static_cast<std::size_t>(row)];
    if (index == 1) {
        SetComboEnabled(lblDirection, cmbDirection, false);
        SetComboEnabled(lblState, cmbState, false);
        machine_->SetHalting(row);
    } else {
        SetComboEnabled(lblDirection, cmbDirection, true);
        SetComboEnabled(lblState, cmbState, true);
        // The row continues as the two combos show; one that shows nothing
        // (after a load, before any rule was selected) gives the default:
        // right, in the row's own state.
        const Direction direction = cmbDirection->ListIndex() == 0 ? Direction::Left : Direction::Right;
        const int32_t state = cmbState->ListIndex() >= 0 ? cmbState->ListIndex() : rule.oldState;
        machine_->SetContinue(row, direction, state);
        showing_ = true;
        cmbDirection->SetListIndex(direction == Direction::Left ? 0 : 1);
        cmbState->SetListIndex(state);
        showing_ = false;
    }
    ShowRuleRow(row);
}

void frmRibbonmill::cmbSymbol_Click() {
    const int row = editorRow_;
    if (showing_ || row < 0 || cmbSymbol->ListIndex() < 0)
        return;
    machine_->SetNewSymbol(row, static_cast<int16_t>(cmbSymbol->ItemData(cmbSymbol->ListIndex())));
    ShowRuleRow(row);
}

void frmRibbonmill::cmbDirection_Click() {
    const int row = editorRow_;
    if (showing_ || row < 0 || !optStop.Checked(0))
        return;
    optStop_Click(0);
}

void frmRibbonmill::cmbState_Click() {
    cmbDirection_Click();
}
