#include "TapeMachine.h"

#include <stdexcept>
#include <utility>

namespace ribbonmill {

TapeMachine::TapeMachine(TapeView* view) : view_(view), tape_(std::make_unique<clsTape>(view)) {}

int TapeMachine::StateIndex(std::string_view name) const {
    const auto found = stateIndex_.find(name);
    return found == stateIndex_.end() ? -1 : found->second;
}

void TapeMachine::IndexStates() {
    stateIndex_.clear();
    stateIndex_.reserve(states_.size());
    for (std::size_t i = 0; i < states_.size(); ++i)
        stateIndex_.emplace(states_[i], static_cast<int>(i));
}

std::string_view TapeMachine::StateName(int32_t state) const {
    if (state == kStop)
        return kStopName;
    return states_.at(static_cast<std::size_t>(state));
}

AddStateResult TapeMachine::AddState(std::string name) {
    if (name.empty())
        return AddStateResult::Empty;
    if (name == kStopName)
        return AddStateResult::NamedStop;
    if (StateIndex(name) >= 0)
        return AddStateResult::Exists;
    if (name.find_first_of("\"\r\n") != std::string::npos)
        return AddStateResult::Unstorable;
    stateIndex_.emplace(name, static_cast<int>(states_.size()));
    states_.push_back(std::move(name));
    SyncRules();
    return AddStateResult::Added;
}

void TapeMachine::DeleteState(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= states_.size())
        throw std::out_of_range("no state " + std::to_string(index));
    const auto renumber = [index](int32_t& state) {
        if (state == index)
            state = kGone;
        else if (state > index)
            --state;
    };
    if (current_ == index)
        current_ = kStop;
    else if (current_ > index)
        --current_;
    const bool selectFirst = selected_ >= 0 && rules_[static_cast<std::size_t>(selected_)].oldState == index;
    states_.erase(states_.begin() + index);
    IndexStates();
    for (Rule& rule : rules_) {
        renumber(rule.oldState);
        renumber(rule.newState);
    }
    SyncRules();
    if (selectFirst)
        selected_ = rules_.empty() ? -1 : 0;
}

void TapeMachine::SetCurrentState(int32_t state) {
    if (state != kStop && (state < 0 || static_cast<std::size_t>(state) >= states_.size()))
        throw std::out_of_range("no state " + std::to_string(state));
    current_ = state;
}

void TapeMachine::SetSymbolCount(int n) {
    if (n < 0 || n > kMaxSymbols)
        throw std::out_of_range("no symbol count " + std::to_string(n));
    symbolCount_ = n;
    SyncRules();
}

int TapeMachine::RuleIndex(int32_t state, int16_t symbol) const {
    if (state < 0 || static_cast<std::size_t>(state) >= states_.size() || symbol < -1 ||
        symbol >= symbolCount_)
        return -1;
    return state * (symbolCount_ + 1) + symbol + 1;
}

std::string_view TapeMachine::DirectionText(Direction direction) {
    switch (direction) {
    case Direction::Left:
        return "Left";
    case Direction::Right:
        return "Right";
    case Direction::Stop:
        break;
    }
    return kStopName;
}

std::array<std::string, 5> TapeMachine::RuleTexts(int row) const {
    const Rule& rule = rules_.at(static_cast<std::size_t>(row));
    return {std::string(StateName(rule.oldState)), clsTape::Symb2String(rule.oldSymbol, false),
            clsTape::Symb2String(rule.newSymbol, false), std::string(DirectionText(rule.direction)),
            std::string(StateName(rule.newState))};
}

void TapeMachine::SelectRule(int row) {
    if (row < -1 || row >= static_cast<int>(rules_.size()))
        throw std::out_of_range("no rule row " + std::to_string(row));
    selected_ = row;
}

void TapeMachine::SetNewSymbol(int row, int16_t symbol) {
    if (symbol < -1 || symbol >= symbolCount_)
        throw std::out_of_range("no symbol " + std::to_string(symbol));
    rules_.at(static_cast<std::size_t>(row)).newSymbol = symbol;
}

void TapeMachine::SetContinue(int row, Direction direction, int32_t newState) {
    if (direction == Direction::Stop || newState < 0 ||
        static_cast<std::size_t>(newState) >= states_.size())
        throw std::invalid_argument("a continuing rule moves and names a state");
    Rule& rule = rules_.at(static_cast<std::size_t>(row));
    rule.direction = direction;
    rule.newState = newState;
}

void TapeMachine::SetHalting(int row) {
    Rule& rule = rules_.at(static_cast<std::size_t>(row));
    rule.direction = Direction::Stop;
    rule.newState = kStop;
}

void TapeMachine::SyncRules() {
    const int width = symbolCount_ + 1;
    const auto listed = [this](int32_t state) {
        return state >= 0 && static_cast<std::size_t>(state) < states_.size();
    };
    int32_t selectedState = kGone;
    int16_t selectedSymbol = -1;
    if (selected_ >= 0 && static_cast<std::size_t>(selected_) < rules_.size()) {
        selectedState = rules_[static_cast<std::size_t>(selected_)].oldState;
        selectedSymbol = rules_[static_cast<std::size_t>(selected_)].oldSymbol;
    }
    std::vector<Rule> table;
    table.reserve(states_.size() * static_cast<std::size_t>(width));
    for (int32_t state = 0; static_cast<std::size_t>(state) < states_.size(); ++state) {
        for (int16_t symbol = -1; symbol < symbolCount_; ++symbol)
            table.push_back({state, symbol, symbol, Direction::Right, state});
    }
    // The rows that stay overwrite the defaults of their (state, symbol), the
    // later of two rows for the same pair winning.
    for (Rule rule : rules_) {
        if (!listed(rule.oldState) || rule.oldSymbol < -1 || rule.oldSymbol >= symbolCount_)
            continue;
        if (rule.newSymbol < -1 || rule.newSymbol >= symbolCount_)
            rule.newSymbol = rule.oldSymbol;
        if (!listed(rule.newState) || rule.direction == Direction::Stop) {
            rule.direction = Direction::Stop;
            rule.newState = kStop;
        }
        table[static_cast<std::size_t>(rule.oldState * width + rule.oldSymbol + 1)] = rule;
    }
    rules_ = std::move(table);
    selected_ = RuleIndex(selectedState, selectedSymbol);
}

StepResult TapeMachine::ExecuteStep() {
    if (current_ == kStop)
        return StepResult::Halted;
    clsTape& tape = *tape_;
    const int16_t symbol = tape.Symbol(tape.cur);
    // The table is complete and in order, so the first row of (state, symbol)
    // is the only one, at its place.
    if (symbol >= symbolCount_)
        return StepResult::NoRule;
    const int row = current_ * (symbolCount_ + 1) + symbol + 1;
    const Rule& rule = rules_[static_cast<std::size_t>(row)];
    // A head at its window's edge scrolls the window first, which adds the
    // same cell the head then moves onto.
    if (!rule.Halts() && !tape.CanMoveCur(rule.direction == Direction::Left ? -1 : 1))
        return StepResult::TapeFull;
    selected_ = row;
    tape.SetSymbol(tape.cur, rule.newSymbol);
    if (view_ != nullptr && tape.curoffset >= 0 && tape.curoffset < clsTape::kBoxes)
        view_->ShowBox(tape.curoffset);
    if (rule.direction == Direction::Left) {
        if (tape.curoffset == 0)
            tape.Move(-1);
        tape.MoveCur(-1);
    } else if (rule.direction == Direction::Right) {
        if (tape.curoffset == clsTape::kBoxes - 1)
            tape.Move(1);
        tape.MoveCur(1);
    }
    current_ = rule.newState;
    return StepResult::Stepped;
}

void TapeMachine::ClearTape() {
    tape_ = std::make_unique<clsTape>(view_);
    if (view_ != nullptr)
        view_->ShowBoxes();
}

void TapeMachine::LoadStates(std::vector<std::string> states) {
    states_ = std::move(states);
    IndexStates();
    current_ = kStop;
    rules_.clear();
    selected_ = -1;
}

void TapeMachine::LoadTape(std::unique_ptr<clsTape> tape) {
    if (tape == nullptr)
        throw std::invalid_argument("no tape");
    tape_ = std::move(tape);
}

void TapeMachine::LoadRules(std::vector<Rule> rules) {
    rules_ = std::move(rules);
    selected_ = -1;
    // Whatever came short of a complete table is completed.
    SyncRules();
}

} // namespace ribbonmill
