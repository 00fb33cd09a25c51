// Tests of the pattern files: both readers into a real engine, the writer's
// exact bytes, round trips on every lattice and in the complement mode, and
// every failure, each from a file or stream made to fail at that stage.

#include "LifePatternFile.h"

#include "LifeEngine.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <sstream>
#include <streambuf>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;
using lifeboard::PatternBounds;
using lifeboard::PatternStatus;
using lifeboard::RuleTables;

using Cell = std::pair<int32_t, int32_t>;
using CellSet = std::set<Cell>;

// The window's side of reading: the engine, the lattice and the mode, reset
// the way opening a file resets them.
class EngineTarget : public lifeboard::PatternTarget {
public:
    EngineTarget() {
        engine.PutNeiCount(8);
        lifeboard::ApplyRuleLine(*this, "#N", 8);
    }
    void SetNeiCount(int16_t n) override { engine.PutNeiCount(n); }
    void SetRuleS(int16_t k, int16_t value) override { engine.PutRuleS(k, value); }
    void SetRuleB(int16_t k, int16_t value) override { engine.PutRuleB(k, value); }
    void SetNegative() override { negative = true; }
    void SetCell(int32_t x, int32_t y) override { engine.PutCell(x, y, 1); }

    CellSet Cells() {
        CellSet cells;
        engine.StartIterating();
        int32_t x = 0, y = 0;
        while (engine.NextCell(x, y))
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

lifeboard::PatternReadResult Read(const std::string& text, EngineTarget& target) {
    std::istringstream in(text);
    return lifeboard::ReadPattern(in, target, target.engine.GetNeiCount());
}

class TempDir {
public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "lifepattern-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    fs::path operator/(const std::string& name) const { return path_ / name; }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

lifeboard::CellSource SourceOf(const std::vector<Cell>& cells) {
    return [&cells, i = size_t{0}](int32_t& x, int32_t& y) mutable {
        if (i == cells.size())
            return false;
        x = cells[i].first;
        y = cells[i++].second;
        return true;
    };
}

TEST(PatternReadTest, CellLinesAloneKeepTheDefaultRuleOnEightNeighbours) {
    EngineTarget t;
    const auto r = Read("#Life 1.06\r\n1 2\r\n-3 4\r\n", t);
    EXPECT_EQ(r.status, PatternStatus::kOk);
    EXPECT_EQ(t.Cells(), (CellSet{{1, 2}, {-3, 4}}));
    EXPECT_EQ(t.engine.GetNeiCount(), 8);
    EXPECT_EQ(t.Rule(), lifeboard::MakeRule({2, 3}, {3}));
    EXPECT_FALSE(t.negative);
    EXPECT_EQ(r.bounds, (PatternBounds{-3, 1, 2, 4}));
}

TEST(PatternReadTest, RowsStartAtTheirPositionAndBoundsCoverTheWholeRow) {
    EngineTarget t;
    const auto r = Read("#Life 1.05\r\n#D a pattern\r\n#P -1 -1\r\n.*.\r\n", t);
    EXPECT_EQ(r.status, PatternStatus::kOk);
    EXPECT_EQ(t.Cells(), (CellSet{{0, -1}}));
    EXPECT_EQ(r.bounds, (PatternBounds{-1, 1, -1, -1}));

    EngineTarget u;
    const auto s = Read("#Life 1.05\r\n*o\r\n\r\n..*\r\n#P 10 -4\r\n....\r\n", u);
    EXPECT_EQ(s.status, PatternStatus::kOk);
    EXPECT_EQ(u.Cells(), (CellSet{{0, 0}, {2, 1}})) << "rows grow downwards from row 0";
    EXPECT_EQ(s.bounds, (PatternBounds{0, 13, -4, 1})) << "a row of dots still counts";
}

TEST(PatternReadTest, RuleLinesOfBothFormats) {
    EngineTarget t;
    EXPECT_EQ(Read("#Life 1.05\r\n#R 23/36\r\n", t).status, PatternStatus::kOk);
    EXPECT_EQ(t.Rule(), lifeboard::MakeRule({2, 3}, {3, 6}));
    EXPECT_EQ(Read("#Life 1.05\r\n#N\r\n", t).status, PatternStatus::kOk);
    EXPECT_EQ(t.Rule(), lifeboard::MakeRule({2, 3}, {3}));

    EngineTarget u;
    const auto r = Read("#Life 1.06\r\n#D Extended properties:\r\n"
                        "#D 12 neighbors - triangular lattice (rules in hexadecimal format)\r\n"
                        "#R 2A/3\r\n0 0\r\n",
                        u);
    EXPECT_EQ(r.status, PatternStatus::kOk);
    EXPECT_EQ(u.engine.GetNeiCount(), 12);
    EXPECT_EQ(u.Rule(), lifeboard::MakeRule({2, 10}, {3}));
    EXPECT_EQ(r.bounds, (PatternBounds{0, 0, 0, 0}));
}

TEST(PatternReadTest, TheLineAfterTheExtendedPropertiesNamesTheLattice) {
    const std::pair<const char*, int16_t> cases[] = {{"#D 4 neighbors - square lattice", 4},
                                                     {"#D 3 neighbors", 3},
                                                     {"#D 12", 12},
                                                     {"#D 6 x", 6},
                                                     {"#D 5 neighbors", 8},
                                                     {"#D 3", 8},
                                                     {"1 1", 8}};
    for (const auto& [line, n] : cases) {
        EngineTarget t;
        const auto r = Read(std::string("#Life 1.06\r\n#D Extended properties:\r\n") + line +
                                "\r\n#D Extended properties: Negative\r\n",
                            t);
        EXPECT_EQ(r.status, PatternStatus::kOk);
        EXPECT_EQ(t.engine.GetNeiCount(), n) << line;
        EXPECT_EQ(t.Rule(), RuleTables{}) << "without a rule line the tables stay cleared";
        EXPECT_TRUE(t.negative);
        EXPECT_TRUE(t.Cells().empty()) << "the lattice line is never a cell";
    }
}

TEST(PatternReadTest, LinesEndingInLineFeedAloneAndALastLineWithoutEnd) {
    EngineTarget t;
    const auto r = Read("#Life 1.06\n#R 3/2\n5 6\r\n7 8", t);
    EXPECT_EQ(r.status, PatternStatus::kOk);
    EXPECT_EQ(t.Cells(), (CellSet{{5, 6}, {7, 8}}));
    EXPECT_EQ(t.Rule(), lifeboard::MakeRule({3}, {2}));
}

TEST(PatternReadTest, NumbersAreRoundedHalvesToEven) {
    EngineTarget t;
    const auto r = Read("#Life 1.06\r\n2.5 -1.5\r\n2147483647.4 -2147483648.5\r\n"
                        "1e3  7 trailing\r\n",
                        t);
    EXPECT_EQ(r.status, PatternStatus::kOk);
    EXPECT_EQ(t.Cells(), (CellSet{{2, -2}, {INT32_MAX, INT32_MIN}, {1000, 7}}));
}

TEST(PatternReadTest, OnlyTheExactHeadersAreSupported) {
    for (const char* text :
         {"#Life 1.05 \r\n*\r\n", "#life 1.05\r\n", "#Life 1.07\r\n", "\xEF\xBB\xBF#Life 1.06\r\n",
          "x\r\n#Life 1.06\r\n", "\r\n", "#Life 1.06\r\r\n"}) {
        EngineTarget t;
        const auto r = Read(text, t);
        EXPECT_EQ(r.status, PatternStatus::kFormatError) << text;
        EXPECT_TRUE(t.Cells().empty());
        EXPECT_EQ(r.bounds, std::nullopt);
    }
    EngineTarget t;
    EXPECT_EQ(Read("", t).status, PatternStatus::kReadError) << "an empty file has no first line";
    EXPECT_EQ(Read(std::string(lifeboard::kMaxPatternLineLength + 10, '#'), t).status,
              PatternStatus::kFormatError);
}

TEST(PatternReadTest, DamagedCellLinesStopTheReadingAndKeepWhatCameBefore) {
    for (const char* bad : {"", "3", "3 ", "3 x", "x 3", " 3 4", "2147483648 0", "0 -2147483649",
                            "1e400 0", "5\t6"}) {
        EngineTarget t;
        const auto r =
            Read(std::string("#Life 1.06\r\n#R 3/3\r\n1 2\r\n") + bad + "\r\n4 5\r\n", t);
        EXPECT_EQ(r.status, PatternStatus::kReadError) << '"' << bad << '"';
        EXPECT_EQ(t.Cells(), (CellSet{{1, 2}})) << bad;
        EXPECT_EQ(t.Rule(), lifeboard::MakeRule({3}, {3}));
        EXPECT_EQ(r.bounds, (PatternBounds{1, 1, 2, 2}));
    }
}

TEST(PatternReadTest, PositionsAndRowsBeyond32BitsAreReadErrors) {
    const std::pair<const char*, CellSet> cases[] = {
        {"#P 2147483648 0\r\n*\r\n", {}},
        {"#P 1e999999 5\r\n*\r\n", {}},
        {"#P 5\r\n*\r\n", {}},
        {"#P x 5\r\n*\r\n", {}},
        // The row's last character would sit at column 2^31, whatever it is.
        {"#P 2147483646 0\r\n*.\r\n*..\r\n", {{2147483646, 0}}},
        // The row number grows past the last row.
        {"#P -7 2147483647\r\n.*\r\n*\r\n", {{-6, INT32_MAX}}},
    };
    for (const auto& [lines, kept] : cases) {
        EngineTarget t;
        const auto r = Read(std::string("#Life 1.05\r\n*\r\n") + lines, t);
        EXPECT_EQ(r.status, PatternStatus::kReadError) << lines;
        CellSet expected = kept;
        expected.emplace(0, 0);
        EXPECT_EQ(t.Cells(), expected) << lines;
    }
    EngineTarget t;
    EXPECT_EQ(Read("#Life 1.05\r\n#P -2147483648 2147483647\r\n*\r\n", t).status,
              PatternStatus::kOk);
    EXPECT_EQ(t.Cells(), (CellSet{{INT32_MIN, INT32_MAX}}));
}

TEST(PatternReadTest, OverlongLinesAreReadErrors) {
    EngineTarget t;
    const std::string row(lifeboard::kMaxPatternLineLength + 1, '*');
    EXPECT_EQ(Read("#Life 1.05\r\n*\r\n" + row + "\r\n", t).status, PatternStatus::kReadError);
    EXPECT_EQ(t.Cells(), (CellSet{{0, 0}}));
    EngineTarget u;
    const std::string longest(lifeboard::kMaxPatternLineLength, '.');
    EXPECT_EQ(Read("#Life 1.05\r\n" + longest + "\n", u).status, PatternStatus::kOk);
}

// A stream whose input fails after a number of bytes, the way a file
// stream reports a failing disk.
class FailingBuffer : public std::streambuf {
public:
    FailingBuffer(std::string text, size_t failAt) : text_(std::move(text)), failAt_(failAt) {}

protected:
    int_type underflow() override {
        if (pos_ >= failAt_)
            throw std::ios_base::failure("input error");
        if (pos_ >= text_.size())
            return traits_type::eof();
        ch_ = text_[pos_];
        setg(&ch_, &ch_, &ch_ + 1);
        ++pos_;
        return traits_type::to_int_type(ch_);
    }

private:
    std::string text_;
    size_t failAt_;
    size_t pos_ = 0;
    char ch_ = 0;
};

TEST(PatternReadTest, InputErrorsAreReadErrorsAndKeepWhatCameBefore) {
    const std::string text = "#Life 1.06\r\n1 1\r\n2 2\r\n3 3\r\n";
    FailingBuffer buffer(text, text.find("3 3"));
    std::istream in(&buffer);
    EngineTarget t;
    const auto r = lifeboard::ReadPattern(in, t);
    EXPECT_EQ(r.status, PatternStatus::kReadError);
    EXPECT_EQ(t.Cells(), (CellSet{{1, 1}, {2, 2}}));

    FailingBuffer early(text, 3);
    std::istream in2(&early);
    EngineTarget u;
    EXPECT_EQ(lifeboard::ReadPattern(in2, u).status, PatternStatus::kReadError);
}

TEST(PatternFileTest, OpeningFailsForMissingFilesAndFolders) {
    TempDir dir;
    EngineTarget t;
    EXPECT_EQ(lifeboard::ReadPatternFile(dir / "missing.lif", t).status, PatternStatus::kOpenError);
    EXPECT_EQ(lifeboard::ReadPatternFile(dir.path(), t).status, PatternStatus::kOpenError);
    WriteFile(dir / "corrupt.lif", "#Life 1.06\r\n4 4\r\n\r\n");
    EXPECT_EQ(lifeboard::ReadPatternFile(dir / "corrupt.lif", t).status, PatternStatus::kReadError);
    EXPECT_EQ(t.Cells(), (CellSet{{4, 4}}));
    WriteFile(dir / "format.lif", "#Life 1.05 \r\n");
    EXPECT_EQ(lifeboard::ReadPatternFile(dir / "format.lif", t).status,
              PatternStatus::kFormatError);
}

TEST(PatternFileTest, ReadingADeviceThatFailsIsAReadError) {
    // Reading address 0 of the process's memory fails with an input error.
    std::ifstream probe("/proc/self/mem", std::ios::binary);
    if (!probe.is_open())
        GTEST_SKIP() << "no /proc/self/mem";
    EngineTarget t;
    EXPECT_EQ(lifeboard::ReadPatternFile("/proc/self/mem", t).status, PatternStatus::kReadError);
}

TEST(PatternWriteTest, WritesTheExactLines) {
    std::ostringstream out;
    const std::vector<Cell> cells = {{-1, 5}, {0, INT32_MIN}, {INT32_MAX, 0}};
    ASSERT_TRUE(
        lifeboard::WritePattern(out, 12, true, lifeboard::MakeRule({2, 10}, {3}), SourceOf(cells)));
    EXPECT_EQ(out.str(), "#Life 1.06\r\n"
                         "#D User Life file saved by 'Veritope - Lifeboard'\r\n"
                         "#D Extended properties:\r\n"
                         "#D 12 neighbors - triangular lattice (rules in hexadecimal format)\r\n"
                         "#D Extended properties: Negative\r\n"
                         "#R 2A/3\r\n"
                         "-1 5\r\n"
                         "0 -2147483648\r\n"
                         "2147483647 0\r\n");

    const std::pair<int16_t, const char*> lattices[] = {{3, "#D 3 neighbors - triangular lattice"},
                                                        {4, "#D 4 neighbors - square lattice"},
                                                        {6, "#D 6 neighbors - hexagonal lattice"},
                                                        {8, "#D 8 neighbors - standard lattice"},
                                                        {5, "#D 8 neighbors - standard lattice"}};
    for (const auto& [n, line] : lattices) {
        std::ostringstream o;
        ASSERT_TRUE(
            lifeboard::WritePattern(o, n, false, lifeboard::MakeRule({2, 3}, {3}), SourceOf({})));
        EXPECT_EQ(o.str(), std::string("#Life 1.06\r\n"
                                       "#D User Life file saved by 'Veritope - Lifeboard'\r\n"
                                       "#D Extended properties:\r\n") +
                               line + "\r\n#R 23/3\r\n");
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
            saved.negative = negative;
            for (int i = 0; i < 50; ++i)
                saved.engine.PutCell(coordinate(rng) / (i % 2 ? 1 : 65536),
                                     coordinate(rng) / (i % 3 ? 1 : 65536), 1);
            const CellSet cells = saved.Cells();
            const std::vector<Cell> order(cells.begin(), cells.end());
            const fs::path path = dir / ("round" + std::to_string(n) + ".lif");
            ASSERT_EQ(lifeboard::WritePatternFile(path, n, negative, saved.Rule(), SourceOf(order)),
                      lifeboard::PatternWriteStatus::kOk);

            EngineTarget loaded;
            const auto r = lifeboard::ReadPatternFile(path, loaded);
            ASSERT_EQ(r.status, PatternStatus::kOk);
            EXPECT_EQ(loaded.engine.GetNeiCount(), n);
            EXPECT_EQ(loaded.negative, negative);
            EXPECT_EQ(loaded.Rule(), saved.Rule()) << n;
            EXPECT_EQ(loaded.Cells(), cells);
            ASSERT_TRUE(r.bounds);
            EXPECT_EQ(r.bounds->minX, order.front().first);
            EXPECT_EQ(r.bounds->maxX, order.back().first);
        }
    }
}

TEST(PatternWriteTest, ReportsOpeningAndWritingFailuresApart) {
    TempDir dir;
    const auto rule = lifeboard::MakeRule({2, 3}, {3});
    EXPECT_EQ(lifeboard::WritePatternFile(dir / "no/such/folder.lif", 8, false, rule, SourceOf({})),
              lifeboard::PatternWriteStatus::kOpenError);
    EXPECT_EQ(lifeboard::WritePatternFile(dir.path(), 8, false, rule, SourceOf({})),
              lifeboard::PatternWriteStatus::kOpenError);
    // Replacing a longer file leaves nothing of it behind.
    const fs::path path = dir / "replace.lif";
    WriteFile(path, std::string(10000, 'x'));
    ASSERT_EQ(lifeboard::WritePatternFile(path, 4, false, rule, SourceOf({{1, 2}})),
              lifeboard::PatternWriteStatus::kOk);
    EXPECT_EQ(ReadFile(path).substr(ReadFile(path).size() - 5), "1 2\r\n");
    EXPECT_LT(fs::file_size(path), 200u);

    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    std::vector<Cell> many;
    for (int32_t i = 0; i < 100000; ++i)
        many.emplace_back(i, -i);
    EXPECT_EQ(lifeboard::WritePatternFile("/dev/full", 8, false, rule, SourceOf(many)),
              lifeboard::PatternWriteStatus::kWriteError);
    EXPECT_EQ(lifeboard::WritePatternFile("/dev/full", 8, false, rule, SourceOf({})),
              lifeboard::PatternWriteStatus::kWriteError)
        << "a failure that shows only when the buffer is flushed";
}

TEST(PatternFitTest, AFileOfOneCellFitsAtSizeTen) {
    EngineTarget t;
    const auto r = Read("#Life 1.06\r\n7 -3\r\n", t);
    ASSERT_TRUE(r.bounds);
    const auto view = lifeboard::FitView(120, 120, 0, *r.bounds, lifeboard::LatticeKind::kSquare);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->z, 10);
    // The cell's centre lands in the middle of the board, within one snap of z.
    EXPECT_NEAR(2.0 * view->z * 7 + view->ox, 60, 10);
    EXPECT_NEAR(2.0 * view->z * -3 + view->oy, 60, 10);
    EXPECT_LT(lifeboard::FitView(80, 120, 0, *r.bounds, lifeboard::LatticeKind::kSquare)->z, 10);
}

} // namespace
