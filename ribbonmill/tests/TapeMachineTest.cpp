#include "RecordingView.h"
#include "TapeMachine.h"

#include <gtest/gtest.h>

using namespace ribbonmill;

namespace {

// The rows of the table as the window shows them, "A|(blank)|0|Right|A".
std::vector<std::string> Table(const TapeMachine& m) {
    std::vector<std::string> rows;
    for (int row = 0; row < static_cast<int>(m.Rules().size()); ++row) {
        const auto t = m.RuleTexts(row);
        rows.push_back(t[0] + "|" + t[1] + "|" + t[2] + "|" + t[3] + "|" + t[4]);
    }
    return rows;
}

} // namespace

TEST(TapeMachine, StatesAreCheckedWhenAdded) {
    TapeMachine m;
    EXPECT_EQ(m.AddState(""), AddStateResult::Empty);
    EXPECT_EQ(m.AddState("STOP"), AddStateResult::NamedStop);
    EXPECT_EQ(m.AddState("stop"), AddStateResult::Added);
    EXPECT_EQ(m.AddState("stop"), AddStateResult::Exists);
    EXPECT_EQ(m.AddState("say \"hi\""), AddStateResult::Unstorable);
    EXPECT_EQ(m.AddState("two\nlines"), AddStateResult::Unstorable);
    EXPECT_EQ(m.AddState("a,b"), AddStateResult::Added);
    EXPECT_EQ(m.States(), (std::vector<std::string>{"stop", "a,b"}));
    EXPECT_EQ(m.StateIndex("a,b"), 1);
    EXPECT_EQ(m.StateIndex("Stop"), -1);
}

TEST(TapeMachine, AddingAndDeletingStatesKeepsTheTableComplete) {
    TapeMachine m;
    m.AddState("A");
    m.SetContinue(m.RuleIndex(0, 1), Direction::Left, 0);
    m.AddState("B");
    EXPECT_EQ(Table(m), (std::vector<std::string>{
                            "A|(blank)|(blank)|Right|A", "A|0|0|Right|A", "A|1|1|Left|A",
                            "B|(blank)|(blank)|Right|B", "B|0|0|Right|B", "B|1|1|Right|B"}));
    m.SetContinue(0, Direction::Right, 1);
    m.SetCurrentState(1);
    m.SelectRule(4);
    m.DeleteState(1);
    EXPECT_EQ(m.CurrentState(), kStop);
    EXPECT_EQ(m.SelectedRule(), 0) << "a selected row of the deleted state passes to the first";
    EXPECT_EQ(Table(m), (std::vector<std::string>{"A|(blank)|(blank)|STOP|STOP", "A|0|0|Right|A",
                                                  "A|1|1|Left|A"}));
    // The current state moves with the list.
    m.AddState("B");
    m.AddState("C");
    m.SetCurrentState(2);
    m.SelectRule(7);
    m.DeleteState(1);
    EXPECT_EQ(m.CurrentState(), 1);
    EXPECT_EQ(m.RuleTexts(m.SelectedRule())[0], "C");
    EXPECT_EQ(m.StateIndex("C"), 1);
    EXPECT_EQ(m.StateIndex("B"), -1);
    m.LoadStates({"X", "A"});
    EXPECT_EQ(m.StateIndex("A"), 1);
    EXPECT_EQ(m.StateIndex("C"), -1);
}

TEST(TapeMachine, ChangingTheSymbolCount) {
    TapeMachine m;
    m.AddState("A");
    m.SetSymbolCount(3);
    m.SetNewSymbol(m.RuleIndex(0, 0), 2);
    m.SetNewSymbol(m.RuleIndex(0, -1), 1);
    m.SelectRule(m.RuleIndex(0, 2));
    m.SetSymbolCount(2);
    EXPECT_EQ(Table(m), (std::vector<std::string>{"A|(blank)|1|Right|A", "A|0|0|Right|A",
                                                  "A|1|1|Right|A"}));
    EXPECT_EQ(m.SelectedRule(), -1);
    // With N = 0 only the blank has a rule, and its edits survive other states.
    m.SetSymbolCount(0);
    m.SetHalting(0);
    m.AddState("B");
    m.DeleteState(1);
    EXPECT_EQ(Table(m), std::vector<std::string>{"A|(blank)|(blank)|STOP|STOP"});
    EXPECT_THROW(m.SetSymbolCount(11), std::out_of_range);
    EXPECT_THROW(m.SetNewSymbol(0, 0), std::out_of_range);
}

TEST(TapeMachine, StepsHaltsAndFindsNoRule) {
    RecordingView view;
    TapeMachine m(&view);
    EXPECT_EQ(m.ExecuteStep(), StepResult::Halted);
    m.AddState("A");
    m.SetCurrentState(0);
    // A on blank writes 1 and moves left; A on 1 halts writing 0.
    m.SetNewSymbol(0, 1);
    m.SetContinue(0, Direction::Left, 0);
    m.SetHalting(2);
    m.SetNewSymbol(2, 0);
    m.Tape().Change(9, "1");
    EXPECT_EQ(m.ExecuteStep(), StepResult::Stepped);
    EXPECT_EQ(m.SelectedRule(), 0);
    EXPECT_EQ(m.Tape().BoxSymbol(10), 1);
    EXPECT_EQ(m.Tape().curoffset, 9);
    EXPECT_EQ(view.boxes, std::vector<int>{10});
    EXPECT_EQ(m.ExecuteStep(), StepResult::Stepped);
    EXPECT_EQ(m.Tape().BoxSymbol(9), 0);
    EXPECT_EQ(m.Tape().curoffset, 9) << "a halting rule leaves the head";
    EXPECT_EQ(m.CurrentState(), kStop);
    EXPECT_EQ(m.ExecuteStep(), StepResult::Halted);
    // A digit >= N matches no row, and lowering N leaves the tape alone.
    m.SetCurrentState(0);
    m.Tape().Change(9, "5");
    EXPECT_EQ(m.ExecuteStep(), StepResult::NoRule);
    EXPECT_EQ(m.Tape().BoxSymbol(9), 5);
    // The digit just above the highest one, with a next state whose rows would
    // follow in the table.
    m.AddState("B");
    m.SetSymbolCount(3);
    m.Tape().Change(9, "2");
    m.SetSymbolCount(2);
    EXPECT_EQ(m.ExecuteStep(), StepResult::NoRule);
    EXPECT_EQ(m.Tape().BoxSymbol(9), 2);
    EXPECT_EQ(m.CurrentState(), 0);
}

TEST(TapeMachine, LoadedHaltingRulesGoToStop) {
    TapeMachine m;
    m.AddState("A");
    // A halting rule read with a state of its own still halts.
    m.LoadRules({{0, -1, 1, Direction::Stop, 0}});
    EXPECT_EQ(m.Rules()[0].newState, kStop);
    EXPECT_EQ(Table(m)[0], "A|(blank)|1|STOP|STOP");
    m.SetCurrentState(0);
    EXPECT_EQ(m.ExecuteStep(), StepResult::Stepped);
    EXPECT_EQ(m.CurrentState(), kStop);
    EXPECT_EQ(m.Tape().BoxSymbol(10), 1);
    EXPECT_EQ(m.Tape().curoffset, 10);
    EXPECT_EQ(m.ExecuteStep(), StepResult::Halted);
}

TEST(TapeMachine, AHeadAtTheWindowsEdgeKeepsItsBox) {
    TapeMachine m;
    m.AddState("R");
    m.SetCurrentState(0);
    m.SetNewSymbol(0, 1);
    for (int i = 0; i < 9; ++i)
        m.ExecuteStep();
    EXPECT_EQ(m.Tape().curoffset, 19);
    m.ExecuteStep();
    EXPECT_EQ(m.Tape().curoffset, 19);
    EXPECT_EQ(m.Tape().BoxSymbol(19), -1);
    EXPECT_EQ(m.Tape().BoxSymbol(18), 1);
    EXPECT_EQ(m.Tape().CellCount(), 21u);
    // Leftwards the same at box 0.
    m.SetContinue(2, Direction::Left, 0);
    m.SetContinue(0, Direction::Left, 0);
    for (int i = 0; i < 21; ++i)
        m.ExecuteStep();
    EXPECT_EQ(m.Tape().curoffset, 0);
    EXPECT_EQ(m.Tape().CellCount(), 22u);
    // A head outside the window walks without scrolling.
    m.Tape().MoveCur(-1);
    m.ExecuteStep();
    EXPECT_EQ(m.Tape().curoffset, -2);
}

TEST(TapeMachine, ARunawayMachineStopsAtTheTapesLimit) {
    TapeMachine m;
    m.AddState("A");
    m.SetSymbolCount(1);
    m.SetNewSymbol(m.RuleIndex(0, -1), 0);
    m.SetCurrentState(0);
    // Nine steps from box 10 to box 19 of the twenty cells, then a new cell a step.
    int64_t steps = 0;
    StepResult result;
    while ((result = m.ExecuteStep()) == StepResult::Stepped)
        ++steps;
    EXPECT_EQ(result, StepResult::TapeFull);
    EXPECT_EQ(steps, 9 + clsTape::kMaxCells - 20);
    const clsTape& tape = m.Tape();
    EXPECT_EQ(tape.CellCount(), static_cast<std::size_t>(clsTape::kMaxCells));
    EXPECT_LE(tape.MemoryBytes(), clsTape::kMaxCells + (1u << 20));
    // The refused step changed nothing.
    EXPECT_EQ(m.CurrentState(), 0);
    EXPECT_EQ(tape.curoffset, 19);
    EXPECT_EQ(tape.cur, tape.RightEnd());
    EXPECT_EQ(tape.BoxSymbol(19), -1);
    EXPECT_EQ(tape.BoxSymbol(18), 0);
    EXPECT_EQ(m.ExecuteStep(), StepResult::TapeFull);
    // A halting rule needs no cell.
    m.SetHalting(m.RuleIndex(0, -1));
    EXPECT_EQ(m.ExecuteStep(), StepResult::Stepped);
    EXPECT_EQ(tape.BoxSymbol(19), 0);
    m.ClearTape();
    EXPECT_EQ(m.Tape().CellCount(), 20u);
    EXPECT_LE(m.Tape().MemoryBytes(), 128u * 1024) << "the cells went with the old tape";
}
