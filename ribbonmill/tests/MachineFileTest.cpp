#include "MachineFile.h"

#include "ByteFile.h"
#include "OddFiles.h"
#include "SafeReplace.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace ribbonmill;

namespace {

std::string Blanks(int count, int head, int left) {
    std::string cells;
    for (int i = 0; i < count; ++i) {
        const char flag[] = {i == head ? 'C' : 'X', i == left ? 'L' : (i == left + 19 ? 'R' : 'X'), 0};
        cells += "\"" + std::string(flag) + "\",\"(blank)\"\r\n";
    }
    return cells + "\"E\",\"E\"\r\n";
}

// A machine of states "A" and "E", N = 1, head at 10 of a blank new tape.
const std::string kHead = "\"A\"\r\n\"E\"\r\n\"STOP\"\r\n\"A\"\r\n\"1\"\r\n10\r\n";
const std::string kRules = "\"A\",\"(blank)\",\"0\",\"Right\",\"E\"\r\n"
                           "\"A\",\"0\",\"0\",\"STOP\",\"STOP\"\r\n"
                           "\"E\",\"(blank)\",\"(blank)\",\"Left\",\"A\"\r\n"
                           "\"E\",\"0\",\"(blank)\",\"Right\",\"E\"\r\n";
const std::string kEnd = "\"E\",\"E\",\"E\",\"E\",\"E\"\r\n";

std::filesystem::path TempFile(const char* name) {
    const auto dir = std::filesystem::temp_directory_path() / "ribbonmill_tests";
    std::filesystem::create_directories(dir);
    return dir / name;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

TEST(MachineFile, WritesTheRecordsByteForByte) {
    TapeMachine m;
    m.AddState("A");
    m.AddState("B");
    const std::string text = MachineText(m);
    EXPECT_TRUE(text.starts_with("\"A\"\r\n\"B\"\r\n\"STOP\"\r\n\"STOP\"\r\n\"2\"\r\n10\r\n\"XL\",\"(blank)\"\r\n"));
    EXPECT_NE(text.find("\"CX\",\"(blank)\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"XR\",\"(blank)\"\r\n\"E\",\"E\"\r\n\"A\",\"(blank)\",\"(blank)\",\"Right\",\"A\"\r\n"),
              std::string::npos);
    EXPECT_TRUE(text.ends_with("\"B\",\"1\",\"1\",\"Right\",\"B\"\r\n" + kEnd));
}

TEST(MachineFile, ReadsBackWhatItWroteWithAStateNamedE) {
    const std::string file = kHead + Blanks(20, 10, 0) + kRules + kEnd;
    TapeMachine m;
    ASSERT_TRUE(ReadMachine(file, m));
    EXPECT_EQ(m.States(), (std::vector<std::string>{"A", "E"}));
    EXPECT_EQ(m.CurrentState(), 0);
    EXPECT_EQ(m.SymbolCount(), 1);
    EXPECT_EQ(m.RuleTexts(3)[4], "E");
    EXPECT_EQ(MachineText(m), file);
}

TEST(MachineFile, TapeOutsideTheWindowAndGrownCellsComeBack) {
    TapeMachine m;
    m.AddState("A,1");
    m.SetCurrentState(0);
    for (int i = 0; i < 3; ++i)
        m.Tape().Move(-1);
    for (int i = 0; i < 2; ++i)
        m.Tape().Move(1);
    for (int i = 0; i < 13; ++i)
        m.Tape().MoveCur(-1);
    m.Tape().Change(19, "7");
    m.Tape().SetSymbol(m.Tape().cur, 3);
    EXPECT_EQ(m.Tape().curoffset, -2);
    const auto path = TempFile("outside.qmx");
    ASSERT_TRUE(SaveMachine(path, m));
    const std::string text = ReadFile(path);
    EXPECT_NE(text.find("\r\n-2\r\n"), std::string::npos);

    TapeMachine back;
    ASSERT_EQ(LoadMachine(path, back), LoadResult::Loaded);
    EXPECT_EQ(back.Tape().curoffset, -2);
    EXPECT_EQ(back.Tape().Symbol(back.Tape().cur), 3);
    EXPECT_EQ(back.Tape().Symbol(back.Tape().right), 7);
    EXPECT_EQ(back.Tape().CellCount(), m.Tape().CellCount());
    EXPECT_EQ(MachineText(back), text);

    // A 25-cell tape gives 25 cell records and comes back as 25 cells.
    const std::string grown = kHead + Blanks(25, 13, 3) + kRules + kEnd;
    ASSERT_TRUE(ReadMachine(grown, back));
    EXPECT_EQ(back.Tape().CellCount(), 25u);
    EXPECT_EQ(back.Tape().curoffset, 10);
    EXPECT_EQ(MachineText(back), grown);
    std::filesystem::remove(path);
}

TEST(MachineFile, DamagedFilesAreRefusedAndLeaveAConsistentMachine) {
    const std::string cells = Blanks(20, 10, 0);
    const std::string rule = "\"A\",\"(blank)\",\"0\",\"Right\",\"E\"\r\n";
    const std::string rest = kRules.substr(rule.size());
    // A whole file of the one state "A".
    const std::string onlyA = "\"A\"\r\n\"STOP\"\r\n\"A\"\r\n\"1\"\r\n10\r\n" + cells +
                              "\"A\",\"(blank)\",\"0\",\"Right\",\"A\"\r\n"
                              "\"A\",\"0\",\"0\",\"STOP\",\"STOP\"\r\n" + kEnd;
    const struct {
        const char* what;
        std::string text;
        std::size_t states;
    } files[] = {
        {"empty", "", 0},
        {"current state not listed", "\"A\"\r\n\"STOP\"\r\n\"B\"\r\n", 1},
        {"no symbol count", "\"A\"\r\n\"STOP\"\r\n\"A\"\r\n", 1},
        {"symbol count 11", "\"A\"\r\n\"STOP\"\r\n\"A\"\r\n\"11\"\r\n10\r\n", 1},
        {"doubled state", "\"A\"\r\n\"A\"\r\n\"STOP\"\r\n", 1},
        {"doubled state in a whole file", "\"A\"\r\n" + onlyA, 1},
        {"unclosed quote", "\"A\r\n", 0},
        {"head offset text", kHead.substr(0, kHead.size() - 4) + "ten\r\n" + cells, 2},
        {"no head", kHead + Blanks(20, 30, 0) + kRules + kEnd, 2},
        {"no head where the offset points left of the tape",
         kHead.substr(0, kHead.size() - 4) + "-1\r\n" + Blanks(20, 30, 0) + kRules + kEnd, 2},
        {"two heads", kHead + "\"CX\",\"1\"\r\n" + cells + kRules + kEnd, 2},
        {"head off its offset", kHead + Blanks(20, 9, 0) + kRules + kEnd, 2},
        {"window 18 wide", kHead + Blanks(19, 10, 0) + kRules + kEnd, 2},
        {"cells unended", kHead + cells.substr(0, cells.size() - 9), 2},
        {"missing row", kHead + cells + rest + kEnd, 2},
        {"last row missing", kHead + cells + kRules.substr(0, kRules.rfind("\"E\",\"0\"")) + kEnd, 2},
        {"doubled row", kHead + cells + rule + kRules + kEnd, 2},
        {"extra row", kHead + cells + kRules + rule + kEnd, 2},
        {"rules unended", kHead + cells + kRules, 2},
        {"symbol beyond N", kHead + cells + "\"A\",\"(blank)\",\"1\",\"Right\",\"E\"\r\n" + rest + kEnd, 2},
        {"moving to STOP", kHead + cells + "\"A\",\"(blank)\",\"0\",\"Left\",\"STOP\"\r\n" + rest + kEnd, 2},
        {"halting to a state", kHead + cells + "\"A\",\"(blank)\",\"0\",\"STOP\",\"A\"\r\n" + rest + kEnd, 2},
        {"unknown direction", kHead + cells + "\"A\",\"(blank)\",\"0\",\"Up\",\"A\"\r\n" + rest + kEnd, 2},
        {"unknown state", kHead + cells + "\"A\",\"(blank)\",\"0\",\"Left\",\"Q\"\r\n" + rest + kEnd, 2},
        {"four fields", kHead + cells + "\"A\",\"(blank)\",\"0\",\"Left\"\r\n" + rest + kEnd, 2},
    };
    for (const auto& f : files) {
        TapeMachine m;
        m.AddState("old");
        m.Tape().MoveCur(1);
        EXPECT_FALSE(ReadMachine(f.text, m)) << f.what;
        EXPECT_EQ(m.States().size(), f.states) << f.what;
        EXPECT_EQ(m.Rules().size(), m.States().size() * (m.SymbolCount() + 1u)) << f.what;
        for (int row = 0; row < static_cast<int>(m.Rules().size()); ++row) {
            const Rule& r = m.Rules()[row];
            EXPECT_EQ(m.RuleIndex(r.oldState, r.oldSymbol), row) << f.what;
            EXPECT_EQ(r.Halts(), r.newState == kStop) << f.what;
        }
        EXPECT_EQ(m.Tape().cur, m.Tape().left + m.Tape().curoffset) << f.what;
        EXPECT_LT(m.SelectedRule(), static_cast<int>(m.Rules().size())) << f.what;
    }
    // The damage above is the only one: without it the files load.
    TapeMachine m;
    EXPECT_TRUE(ReadMachine(onlyA, m));
    EXPECT_TRUE(ReadMachine(kHead + cells + kRules + kEnd, m));
}

TEST(MachineFile, FailedSaveAndMissingFileChangeNothing) {
    TapeMachine m;
    m.AddState("A");
    const auto path = TempFile("kept.qmx");
    ASSERT_TRUE(SaveMachine(path, m));
    const std::string before = ReadFile(path);
    EXPECT_FALSE(SaveMachine(path.parent_path() / "no folder" / "x.qmx", m));
    // A disk that fills up halfway leaves the file as it was.
    m.AddState("B");
    {
        platform::SafeReplaceWriteLimit full(40);
        EXPECT_FALSE(SaveMachine(path, m));
    }
    EXPECT_EQ(LoadMachine(path.parent_path() / "missing.qmx", m), LoadResult::Unopened);
    EXPECT_EQ(m.States(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(ReadFile(path), before);
    std::filesystem::remove(path);
}

TEST(MachineFile, PipesDevicesHugeAndUnreadableFilesAreNotOpenedAndChangeNothing) {
    namespace odd = platform::oddfiles;
    TapeMachine m;
    m.AddState("A");
    const auto saved = TempFile("whole.qmx");
    ASSERT_TRUE(SaveMachine(saved, m));
    m.AddState("B");
    const std::filesystem::path fifo = odd::MakeFifo("machine.fifo");
    const std::filesystem::path huge = odd::MakeSparseFile("machine.qmx", odd::kHugeSize);
    for (const std::filesystem::path& path : {fifo, std::filesystem::path("/dev/zero"), huge})
        EXPECT_EQ(LoadMachine(path, m), LoadResult::Unopened) << path;
    {
        const platform::ByteReaderReadLimit fault(10);
        EXPECT_EQ(LoadMachine(saved, m), LoadResult::Unopened);
    }
    EXPECT_EQ(m.States(), (std::vector<std::string>{"A", "B"}));
    for (const auto& path : {fifo, huge, saved})
        std::filesystem::remove(path);
}
