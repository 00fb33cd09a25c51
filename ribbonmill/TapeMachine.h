#pragma once

#include "TapeView.h"
#include "clsTape.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The tape machine: named states, N digit symbols 0 to N - 1 besides the blank,
// the tape, the current state, and a rule table that always holds exactly one
// rule for every pair (state, symbol), ordered by state in the order of the
// state list and within a state by symbol, blank first. The state "STOP" is
// reserved: it means halted and is never a user state.
//
// States are held by their place in the state list; kStop stands for "STOP".
// The rule of (state s, symbol j) is therefore row s * (N + 1) + j + 1.

namespace ribbonmill {

constexpr int32_t kStop = -1;
constexpr int kMaxSymbols = 10;
inline constexpr std::string_view kStopName = "STOP";

enum class Direction : uint8_t { Left, Right, Stop };

struct Rule {
    int32_t oldState = 0;
    int16_t oldSymbol = -1;
    int16_t newSymbol = -1;
    Direction direction = Direction::Right;
    int32_t newState = 0; // kStop on a halting rule

    bool Halts() const { return direction == Direction::Stop; }
    bool operator==(const Rule&) const = default;
};

enum class StepResult { Halted, NoRule, TapeFull, Stepped };
enum class AddStateResult { Added, Empty, NamedStop, Exists, Unstorable };

class TapeMachine {
public:
    explicit TapeMachine(TapeView* view = nullptr);

    // The state list, each name in the machine file's single-byte text.
    const std::vector<std::string>& States() const { return states_; }
    // The place of `name` in the state list (exact comparison), -1 when absent.
    int StateIndex(std::string_view name) const;
    // "STOP" for kStop.
    std::string_view StateName(int32_t state) const;
    // Appends a state and gives it the default rules; refuses an empty name,
    // "STOP", a name already there, and a name holding a double quote or a
    // line break (a machine file cannot hold it).
    AddStateResult AddState(std::string name);
    // Removes a state: a current state that is it becomes "STOP", its rules go,
    // rules that moved to it halt; a selected rule of it passes to the first row.
    void DeleteState(int index);

    int32_t CurrentState() const { return current_; }
    // A place in the state list or kStop.
    void SetCurrentState(int32_t state);

    int SymbolCount() const { return symbolCount_; }
    // N from 0 to kMaxSymbols, then SyncRules.
    void SetSymbolCount(int n);

    const std::vector<Rule>& Rules() const { return rules_; }
    // The row of (state, symbol); -1 when the table has none (a symbol >= N).
    int RuleIndex(int32_t state, int16_t symbol) const;
    // The five texts of a row as the table shows them: old state, old symbol,
    // new symbol, direction, new state.
    std::array<std::string, 5> RuleTexts(int row) const;
    static std::string_view DirectionText(Direction direction);
    // -1 for none.
    int SelectedRule() const { return selected_; }
    void SelectRule(int row);
    // Edits of a row: its written symbol (-1 to N - 1), its move and new state
    // (a state of the list), or halting.
    void SetNewSymbol(int row, int16_t symbol);
    void SetContinue(int row, Direction direction, int32_t newState);
    void SetHalting(int row);

    // Makes the table complete again for the states and N: rows of states no
    // longer listed and of symbols >= N go, new symbols >= N become the row's
    // read symbol, rows moving to an unlisted state halt, and every missing
    // (state, symbol) gets the default rule (write what was read, move right,
    // stay). A selected row stays selected when its (state, symbol) remains.
    void SyncRules();

    // One step of the machine. Halted when the current state is "STOP"; NoRule
    // when the symbol under the head has no row (a digit >= N); TapeFull when
    // the rule would move the head past an end of a tape that holds its most
    // cells. Those three change nothing. Otherwise the
    // rule's row becomes the selected one, the head's cell takes the written
    // symbol, the head moves (a head in the window's edge box scrolls the
    // window first, so that it keeps that box) and the state changes.
    StepResult ExecuteStep();

    clsTape& Tape() const { return *tape_; }
    // A new tape: twenty blank cells, the head at box 10.
    void ClearTape();

    // What a machine file brings, stage by stage: the states (distinct names;
    // current "STOP", no rules), then the tape, then a complete rule table in
    // table order.
    void LoadStates(std::vector<std::string> states);
    void LoadTape(std::unique_ptr<clsTape> tape);
    void LoadRules(std::vector<Rule> rules);
    TapeView* View() const { return view_; }

private:
    static constexpr int32_t kGone = -2; // a state deleted before SyncRules

    // Names looked up as views, without a string made for each.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const {
            return std::hash<std::string_view>{}(name);
        }
    };
    void IndexStates();

    TapeView* view_;
    std::unique_ptr<clsTape> tape_;
    std::vector<std::string> states_;
    // Each state's place in states_, so that a machine of many states is
    // looked up as fast as one of few.
    std::unordered_map<std::string, int, NameHash, std::equal_to<>> stateIndex_;
    int32_t current_ = kStop;
    int symbolCount_ = 2;
    std::vector<Rule> rules_;
    int selected_ = -1;
};

} // namespace ribbonmill
