#include "LifePatternFile.h"

#include "ByteFile.h"
#include "LifeEngine.h"
#include "OddFiles.h"
#include "SafeReplace.h"

#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace lifeboard;
using enum PatternStatus;
using namespace std::string_literals;
using Cell = std::pair<int32_t, int32_t>;
using CellSet = std::set<Cell>;

// The window's side of reading, reset the way opening a file resets it.
struct EngineTarget : PatternTarget {
    EngineTarget() {
        engine.PutNeiCount(8);
        ApplyRuleLine(*this, "#N", 8);
    }
    void SetNeiCount(int16_t n) override { engine.PutNeiCount(n); }
    void SetRuleS(int16_t k, int16_t value) override { engine.PutRuleS(k, value); }
    void SetRuleB(int16_t k, int16_t value) override { engine.PutRuleB(k, value); }
    void SetNegative() override { negative = true; }
    void SetCell(int32_t x, int32_t y) override { engine.PutCell(x, y, 1); }
    CellSet Cells() {
        CellSet cells;
        engine.StartIterating();
        for (int32_t x = 0, y = 0; engine.NextCell(x, y);)
            cells.emplace(x, y);
        return cells;
    }
    RuleTables Rule() const {
        RuleTables rule;
        for (int16_t k = 0; k <= engine.GetNeiCount(); ++k) {
            rule.survival[k] = static_cast<uint8_t>(engine.GetRuleS(k));
            rule.birth[k] = static_cast<uint8_t>(engine.GetRuleB(k));
        }
        return rule;
    }
    LifeEngine engine;
    bool negative = false;
};

PatternReadResult Read(const std::string& text, EngineTarget& target) {
    std::istringstream in(text);
    return ReadPattern(in, target, target.engine.GetNeiCount());
}

struct TempDir {
    std::string name = (fs::temp_directory_path() / "lifepattern-XXXXXX").string();
    fs::path path = mkdtemp(name.data());
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    fs::path operator/(const std::string& file) const { return path / file; }
};

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

CellSource SourceOf(const std::vector<Cell>& cells) {
    return [&cells, i = size_t{0}](int32_t& x, int32_t& y) mutable {
        if (i == cells.size())
            return false;
        std::tie(x, y) = cells[i++];
        return true;
    };
}

TEST(PatternReadTest, ReadsCellsRowsAndRules) {
    const int32_t longest = kMaxPatternLineLength;
    const struct {
        std::string text;
        CellSet cells;
        std::optional<PatternBounds> bounds;
        RuleTables rule = MakeRule({2, 3}, {3});
    } cases[] = {
        {"#Life 1.06\r\n1 2\r\n-3 4\r\n", {{1, 2}, {-3, 4}}, {{-3, 1, 2, 4}}},
        {"#Life 1.06\n#R 3/2\n5 6\r\n7 8", {{5, 6}, {7, 8}}, {{5, 7, 6, 8}}, MakeRule({3}, {2})},
        // Numbers are rounded halves to even.
        {"#Life 1.06\r\n2.5 -1.5\r\n2147483647.4 -2147483648.5\r\n1e3  7 trailing\r\n",
         {{2, -2}, {INT32_MAX, INT32_MIN}, {1000, 7}},
         {{2, INT32_MAX, INT32_MIN, 7}}},
        {"#Life 1.05\r\n#D a pattern\r\n#P -1 -1\r\n.*.\r\n", {{0, -1}}, {{-1, 1, -1, -1}}},
        // Rows grow downwards from row 0, and a row of dots still counts.
        {"#Life 1.05\r\n*o\r\n\r\n..*\r\n#P 10 -4\r\n....\r\n", {{0, 0}, {2, 1}}, {{0, 13, -4, 1}}},
        {"#Life 1.05\r\n#P -2147483648 2147483647\r\n*\r\n",
         {{INT32_MIN, INT32_MAX}},
         {{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}}},
        {"#Life 1.05\r\n" + std::string(longest, '.') + "\n", {}, {{0, longest - 1, 0, 0}}},
        {"#Life 1.05\r\n" + std::string(longest, '.') + "\r\n", {}, {{0, longest - 1, 0, 0}}},
        {"#Life 1.05\r\n" + std::string(longest, '.'), {}, {{0, longest - 1, 0, 0}}},
        {"#Life 1.05\r\n#R 23/36\r\n", {}, std::nullopt, MakeRule({2, 3}, {3, 6})},
        {"#Life 1.05\r\n#R 23/36\r\n#N\r\n", {}, std::nullopt},
    };
    for (const auto& c : cases) {
        EngineTarget t;
        const auto r = Read(c.text, t);
        const std::string name = c.text.substr(0, 60);
        EXPECT_EQ(r.status, kOk) << name;
        EXPECT_EQ(t.Cells(), c.cells) << name;
        EXPECT_EQ(r.bounds, c.bounds) << name;
        EXPECT_EQ(t.Rule(), c.rule) << name;
        EXPECT_TRUE(t.engine.GetNeiCount() == 8 && !t.negative) << name;
    }
}

TEST(PatternReadTest, TheLineAfterTheExtendedPropertiesNamesTheLattice) {
    const std::pair<const char*, int16_t> cases[] = {{"#D 3 neighbors", 3},
                                                     {"#D 12", 12},
                                                     {"#D 6 x", 6},
                                                     {"#D 5 neighbors", 8},
                                                     {"#D 3", 8},
                                                     {"1 1", 8},
                                                     {"#D 4 neighbors - square lattice", 4}};
    for (const auto& [line, n] : cases) {
        EngineTarget t;
        const auto r = Read(std::string("#Life 1.06\r\n#D Extended properties:\r\n") + line +
                                "\r\n#D Extended properties: Negative\r\n",
                            t);
        EXPECT_EQ(r.status, kOk);
        EXPECT_EQ(t.engine.GetNeiCount(), n) << line;
        EXPECT_EQ(t.Rule(), RuleTables{}) << "without a rule line the tables stay cleared";
        EXPECT_TRUE(t.negative);
        EXPECT_TRUE(t.Cells().empty()) << "the lattice line is never a cell";
    }
}

TEST(PatternReadTest, FirstLinesOtherThanTheExactHeadersFail) {
    for (const std::string& text :
         {"#Life 1.05 \r\n*\r\n"s, "#life 1.05\r\n"s, "#Life 1.07\r\n"s,
          "\xEF\xBB\xBF#Life 1.06\r\n"s, "x\r\n#Life 1.06\r\n"s, "\r\n"s, "#Life 1.06\r\r\n"s,
          std::string(kMaxPatternLineLength + 10, '#'), ""s}) {
        EngineTarget t;
        const auto r = Read(text, t);
        EXPECT_EQ(r.status, text.empty() ? kReadError : kFormatError) << text.substr(0, 20);
        EXPECT_TRUE(t.Cells().empty());
        EXPECT_EQ(r.bounds, std::nullopt);
    }
}

// Input that fails after the given bytes, the way a file stream reports a failing disk.
struct FailingBuffer : std::streambuf {
    explicit FailingBuffer(std::string bytes) : text(std::move(bytes)) {
        setg(text.data(), text.data(), text.data() + text.size());
    }
    int_type underflow() override { throw std::ios_base::failure("input error"); }
    std::string text;
};

TEST(PatternReadTest, DamagedLinesAndInputErrorsStopTheReadingAndKeepWhatCameBefore) {
    for (const char* bad : {"", "3", "3 ", "3 x", "x 3", " 3 4", "2147483648 0", "0 -2147483649",
                            "1e400 0", "5\t6"}) {
        EngineTarget t;
        const auto r =
            Read(std::string("#Life 1.06\r\n#R 3/3\r\n1 2\r\n") + bad + "\r\n4 5\r\n", t);
        EXPECT_EQ(r.status, kReadError) << '"' << bad << '"';
        EXPECT_EQ(t.Cells(), (CellSet{{1, 2}})) << bad;
        EXPECT_EQ(t.Rule(), MakeRule({3}, {3}));
        EXPECT_EQ(r.bounds, (PatternBounds{1, 1, 2, 2}));
    }
    // Positions, rows and lines beyond the limits, after a first cell at (0, 0).
    const std::pair<std::string, CellSet> cases[] = {
        {"#P 2147483648 0\r\n*\r\n", {}},
        {"#P 1e999999 5\r\n*\r\n", {}},
        {"#P 5\r\n*\r\n", {}},
        {"#P x 5\r\n*\r\n", {}},
        // The row's last character would sit at column 2^31, whatever it is.
        {"#P 2147483646 0\r\n*.\r\n*..\r\n", {{2147483646, 0}}},
        {"#P -7 2147483647\r\n.*\r\n*\r\n", {{-6, INT32_MAX}}},
        {std::string(kMaxPatternLineLength + 1, '*') + "\r\n", {}},
        {std::string(kMaxPatternLineLength + 1, '*') + "\n", {}},
        {std::string(kMaxPatternLineLength + 1, '*'), {}},
    };
    for (auto [lines, kept] : cases) {
        EngineTarget t;
        EXPECT_EQ(Read("#Life 1.05\r\n*\r\n" + lines, t).status, kReadError) << lines.substr(0, 30);
        kept.emplace(0, 0);
        EXPECT_EQ(t.Cells(), kept) << lines.substr(0, 30);
    }
    const std::string text = "#Life 1.06\r\n1 1\r\n2 2\r\n3 3\r\n";
    const std::pair<size_t, CellSet> failures[] = {{text.find("3 3"), {{1, 1}, {2, 2}}}, {3, {}}};
    for (const auto& [failAt, kept] : failures) {
        FailingBuffer buffer(text.substr(0, failAt));
        std::istream in(&buffer);
        EngineTarget t;
        EXPECT_EQ(ReadPattern(in, t).status, kReadError) << failAt;
        EXPECT_EQ(t.Cells(), kept);
    }
}

TEST(PatternWriteTest, WritesTheExactLines) {
    const std::string head = "#Life 1.06\r\n#D User Life file saved by 'Veritope - Lifeboard'\r\n"
                             "#D Extended properties:\r\n";
    std::ostringstream out;
    const std::vector<Cell> cells = {{-1, 5}, {0, INT32_MIN}, {INT32_MAX, 0}};
    ASSERT_TRUE(WritePattern(out, 12, true, MakeRule({2, 10}, {3}), SourceOf(cells)));
    EXPECT_EQ(out.str(),
              head + "#D 12 neighbors - triangular lattice (rules in hexadecimal format)\r\n"
                     "#D Extended properties: Negative\r\n"
                     "#R 2A/3\r\n-1 5\r\n0 -2147483648\r\n2147483647 0\r\n");

    const std::pair<int16_t, const char*> lattices[] = {{3, "3 neighbors - triangular lattice"},
                                                        {4, "4 neighbors - square lattice"},
                                                        {6, "6 neighbors - hexagonal lattice"},
                                                        {8, "8 neighbors - standard lattice"},
                                                        {5, "8 neighbors - standard lattice"}};
    for (const auto& [n, line] : lattices) {
        std::ostringstream o;
        ASSERT_TRUE(WritePattern(o, n, false, MakeRule({2, 3}, {3}), SourceOf({})));
        EXPECT_EQ(o.str(), head + "#D " + line + "\r\n#R 23/3\r\n");
    }
}

TEST(PatternWriteTest, RoundTripsOnEveryLatticeAndInTheComplementMode) {
    TempDir dir;
    std::mt19937 rng(5);
    std::uniform_int_distribution<int32_t> coordinate(INT32_MIN, INT32_MAX);
    for (const int16_t n : {3, 4, 6, 8, 12}) {
        for (const bool negative : {false, true}) {
            EngineTarget saved;
            saved.engine.PutNeiCount(n);
            for (int16_t k = 0; k <= n; ++k) {
                saved.engine.PutRuleS(k, rng() & 1);
                saved.engine.PutRuleB(k, rng() & 1);
            }
            for (int i = 0; i < 50; ++i)
                saved.engine.PutCell(coordinate(rng) / (i % 2 ? 1 : 65536),
                                     coordinate(rng) / (i % 3 ? 1 : 65536), 1);
            const CellSet cells = saved.Cells();
            const std::vector<Cell> order(cells.begin(), cells.end());
            const fs::path path = dir / "round.lif";
            ASSERT_EQ(WritePatternFile(path, n, negative, saved.Rule(), SourceOf(order)),
                      PatternWriteStatus::kOk);

            EngineTarget loaded;
            ASSERT_EQ(ReadPatternFile(path, loaded).status, kOk);
            EXPECT_EQ(loaded.engine.GetNeiCount(), n);
            EXPECT_EQ(loaded.negative, negative);
            EXPECT_EQ(loaded.Rule(), saved.Rule()) << n;
            EXPECT_EQ(loaded.Cells(), cells);
        }
    }
}

TEST(PatternFileTest, OpeningReadingAndWritingFailuresOfFiles) {
    TempDir dir;
    EngineTarget t;
    EXPECT_EQ(ReadPatternFile(dir / "missing.lif", t).status, kOpenError);
    EXPECT_EQ(ReadPatternFile(dir.path, t).status, kOpenError);
    WriteFile(dir / "corrupt.lif", "#Life 1.06\r\n4 4\r\n\r\n");
    EXPECT_EQ(ReadPatternFile(dir / "corrupt.lif", t).status, kReadError);
    EXPECT_EQ(t.Cells(), (CellSet{{4, 4}}));
    WriteFile(dir / "format.lif", "#Life 1.05 \r\n");
    EXPECT_EQ(ReadPatternFile(dir / "format.lif", t).status, kFormatError);
    // Reading address 0 of the process's memory fails with an input error.
    if (std::ifstream("/proc/self/mem", std::ios::binary).is_open()) {
        EXPECT_EQ(ReadPatternFile("/proc/self/mem", t).status, kReadError);
    }

    // Files a dialog can offer that are no pattern: none waits or is held whole.
    const fs::path fifo = platform::oddfiles::MakeFifo("pattern.fifo");
    EXPECT_EQ(ReadPatternFile(fifo, t).status, kOpenError);
    fs::remove(fifo);
    EXPECT_EQ(ReadPatternFile("/dev/zero", t).status, kOpenError);
    const fs::path huge = platform::oddfiles::MakeSparseFile("pattern.huge", platform::oddfiles::kHugeSize);
    EXPECT_EQ(ReadPatternFile(huge, t).status, kFormatError);
    fs::remove(huge);
    // A read that fails part way is a read error; the cells before it stay.
    std::string cells = "#Life 1.06\r\n";
    for (int k = 0; cells.size() < 2 * platform::ByteReader::kBufferSize; ++k)
        cells += std::to_string(k) + " 0\r\n";
    WriteFile(dir / "cells.lif", cells);
    {
        const platform::ByteReaderReadLimit fault(platform::ByteReader::kBufferSize);
        EngineTarget partial;
        EXPECT_EQ(ReadPatternFile(dir / "cells.lif", partial).status, kReadError);
        EXPECT_GT(partial.Cells().size(), 1000u);
        EXPECT_EQ(partial.Cells().count({0, 0}), 1u);
    }
    fs::remove(dir / "cells.lif");

    const auto write = [](const fs::path& path, const std::vector<Cell>& cells) {
        return WritePatternFile(path, 8, false, MakeRule({2, 3}, {3}), SourceOf(cells));
    };
    EXPECT_EQ(write(dir / "no/such/folder.lif", {}), PatternWriteStatus::kOpenError);
    EXPECT_EQ(write(dir.path, {}), PatternWriteStatus::kOpenError);
    // Replacing a longer file leaves nothing of it behind.
    const fs::path path = dir / "replace.lif";
    WriteFile(path, std::string(10000, 'x'));
    ASSERT_EQ(write(path, {{1, 2}}), PatternWriteStatus::kOk);
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    EXPECT_TRUE(bytes.size() < 200 && bytes.ends_with("1 2\r\n")) << bytes.size();

    // A full disk, seen while writing or only when the buffer is flushed,
    // leaves the old file as it was and nothing beside it.
    std::vector<Cell> many;
    for (int32_t i = 0; i < 100000; ++i)
        many.emplace_back(i, -i);
    std::vector<Cell> none;
    for (const auto& [room, cells] : {std::pair{65536, &many}, std::pair{20, &none}}) {
        platform::SafeReplaceWriteLimit full(room);
        EXPECT_EQ(write(path, *cells), PatternWriteStatus::kWriteError) << room;
        std::ifstream again(path, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(again), {}), bytes);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), {}), 3) << "nothing left aside";
    }
}

} // namespace
