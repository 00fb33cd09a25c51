// Tests of the analysis: the counts and totals, progress and cancel, and the
// language definitions written, read under other settings and compared.

#include "ByteFile.h"
#include "OddFiles.h"
#include "ScrivelTestSupport.h"

#include <fstream>
#include <numeric>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace scrivel {
namespace {

namespace fs = std::filesystem;

std::string Label(const CharacterSettings& s, int index) {
    return CharacterSettings::char2string(s.Ind2Char(index));
}

// Every count above 0 as labels and count: "A1 B1 | AB1 | ".
std::string Describe(const LetterStatistics& stats, const CharacterSettings& s) {
    const int n = stats.Size();
    std::string letters, pairs, triplets;
    for (int x = 0; x < n; ++x) {
        if (stats.LetterCount(x) > 0)
            letters += Label(s, x) + std::to_string(int(stats.LetterCount(x))) + " ";
        for (int y = 0; y < n; ++y) {
            if (stats.PairCount(x, y) > 0)
                pairs += Label(s, x) + Label(s, y) + std::to_string(int(stats.PairCount(x, y))) + " ";
            for (int z = 0; z < n; ++z)
                if (stats.TripletCount(x, y, z) > 0)
                    triplets += Label(s, x) + Label(s, y) + Label(s, z) +
                                std::to_string(int(stats.TripletCount(x, y, z))) + " ";
        }
    }
    return letters + "| " + pairs + "| " + triplets;
}

TEST(LetterStatistics, CountsOverTheAlphabet) {
    const CharacterSettings s = Defaults();
    const std::pair<std::string, std::string> cases[] = {
        {"Ab", "A1 B1 | AB1 | "},
        {"A1b", "A1 B1 | AB1 | "},
        {"A\r\nB", "[Spc]2 A1 B1 | [Spc][Spc]1 [Spc]B1 A[Spc]1 | [Spc][Spc]B1 A[Spc][Spc]1 "},
        {"abab", "A2 B2 | AB2 BA1 | ABA1 BAB1 "},
        {"", "| | "},
        {"12 \xE9", "[Spc]1 | | "},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(Describe(Counted(text, s), s), expected) << text;
}

TEST(LetterStatistics, TotalsAreTheSumsOfTheCounts) {
    const CharacterSettings s = Defaults();
    for (const std::string text : {"", "a", "A!b", "The quick brown fox, 1 2 3."}) {
        const LetterStatistics stats = Counted(text, s);
        const auto sum = [](std::span<const double> v) {
            return std::accumulate(v.begin(), v.end(), 0.0);
        };
        const double letters = sum(stats.LetterCounts());
        EXPECT_EQ(stats.TotalLetters(), letters) << text;
        EXPECT_EQ(stats.TotalPairs(), sum(stats.PairCounts())) << text;
        EXPECT_EQ(stats.TotalTriplets(), sum(stats.TripletCounts())) << text;
        EXPECT_EQ(stats.TotalPairs(), std::max(letters - 1, 0.0)) << text;
        EXPECT_EQ(stats.TotalTriplets(), std::max(letters - 2, 0.0)) << text;
    }
}

TEST(LetterStatistics, AllCodesAndNoCodeCounted) {
    CharacterSettings all;
    for (int c = 0; c < kCodes; ++c)
        all.SetCounts(c, true);
    all.UpdateLookupTable();
    std::string text;
    for (int c = 255; c >= 0; --c)
        text += static_cast<char>(c);
    const LetterStatistics stats = Counted(text, all);
    EXPECT_EQ(stats.TotalTriplets(), 254);
    EXPECT_EQ(stats.PairCount(255, 254), 1);
    EXPECT_EQ(stats.TripletCount(2, 1, 0), 1);
    EXPECT_EQ(stats.TripletCount(0, 1, 2), 0);

    CharacterSettings none;
    none.UpdateLookupTable();
    const LetterStatistics empty = Counted(text, none);
    EXPECT_EQ(empty.Size(), 0);
    EXPECT_EQ(empty.TotalLetters(), 0);
}

TEST(LetterStatistics, ReportsEveryHundredCharactersAndCancels) {
    const CharacterSettings s = Defaults();
    LetterStatistics stats = Counted("ABC", s);
    const std::string text(250, 'A');
    TestProgress progress;
    EXPECT_EQ(stats.CountText(Bytes(text), s, progress), AnalysisOutcome::Done);
    EXPECT_EQ(progress.starts, (std::vector<uint64_t>{250}));
    EXPECT_EQ(progress.values, (std::vector<uint64_t>{100, 200}));
    EXPECT_EQ(stats.TotalLetters(), 250);

    TestProgress cancel(2);
    stats = Counted("ABC", s);
    EXPECT_EQ(stats.CountText(Bytes(text), s, cancel), AnalysisOutcome::Cancelled);
    EXPECT_EQ(stats.LetterCount(1), 200); // counted up to the cancel
    EXPECT_EQ(stats.TotalLetters(), 3);   // the totals of the pass before
}

// A fresh folder for definition files, removed at the end of the test.
class LanguageFolder : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("scrivel-test-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    void Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        std::ofstream(folder_ / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    std::vector<uint8_t> Definition(std::string_view text, const CharacterSettings& s) {
        std::vector<uint8_t> bytes;
        EXPECT_TRUE(Counted(text, s).LanguageDefinitionBytes(s, bytes));
        return bytes;
    }
    LetterStatistics Analyzed(std::string_view text, const CharacterSettings& s,
                              int cancelAt = 0) {
        LetterStatistics stats;
        stats.ResizeCounts(s.All());
        TestProgress progress(cancelAt);
        outcome_ = stats.AnalyzeText(Bytes(text), s, folder_, progress);
        return stats;
    }

    fs::path folder_;
    AnalysisOutcome outcome_ = AnalysisOutcome::Done;
};

double DoubleAt(const std::vector<uint8_t>& bytes, size_t index) {
    uint64_t bits = 0;
    for (int k = 7; k >= 0; --k)
        bits = bits << 8 | bytes.at(index * 8 + k);
    return std::bit_cast<double>(bits);
}

TEST_F(LanguageFolder, DefinitionBytes) {
    // "Aab": A 2/3 and B 1/3 under A and B, pairs AA and AB 1/2 each.
    const std::vector<uint8_t> bytes = Definition("Aab", Defaults());
    ASSERT_EQ(bytes.size(), 2048u + 2 * 2048u);
    // Codes 0..64 are 0, then A (65) with its row, 66 (B) with its row, 67...
    EXPECT_EQ(DoubleAt(bytes, 64), 0.0);
    EXPECT_EQ(DoubleAt(bytes, 65), 2.0 / 3);
    EXPECT_EQ(DoubleAt(bytes, 66 + 'A'), 0.5);
    EXPECT_EQ(DoubleAt(bytes, 66 + 'B'), 0.5);
    EXPECT_EQ(DoubleAt(bytes, 66 + 'a'), 0.0); // members are written as 0
    EXPECT_EQ(DoubleAt(bytes, 66 + 256), 1.0 / 3);
    EXPECT_EQ(bytes[65 * 8 + 7], 0x3F); // little-endian: the sign and exponent last

    std::vector<uint8_t> none;
    for (const std::string text : {"", "A", "1 2"})
        EXPECT_FALSE(Counted(text, Defaults()).LanguageDefinitionBytes(Defaults(), none)) << text;
}

TEST_F(LanguageFolder, TextAgainstItsOwnDefinitionIsZero) {
    const CharacterSettings s = Defaults();
    const std::string text = "The cat sat on the mat.\r\nA dog, a frog; 3 logs!";
    Write("Self.scrivel", Definition(text, s));
    const LetterStatistics stats = Analyzed(text, s);
    EXPECT_EQ(outcome_, AnalysisOutcome::Done);
    EXPECT_EQ(stats.LangName(), std::vector<std::string>{"Self"});
    EXPECT_EQ(stats.LangDiff(), std::vector<double>{0.0});
    EXPECT_EQ(stats.PairDiff(), std::vector<double>{0.0});

    // Another text is some way off; one without pairs is 1.0 from everything.
    EXPECT_GT(Analyzed("zzz yyy", s).LangDiff().at(0), 0.1);
    for (const std::string none : {"", "A", "1, 2."}) {
        const LetterStatistics empty = Analyzed(none, s);
        EXPECT_EQ(empty.LangDiff(), std::vector<double>{1.0}) << none;
        EXPECT_EQ(empty.LetterDiff(), std::vector<double>{1.0}) << none;
        EXPECT_EQ(empty.PairDiff(), std::vector<double>{1.0}) << none;
    }
}

TEST_F(LanguageFolder, NoDefinitionsGiveMinusOne) {
    EXPECT_EQ(Analyzed("abc", Defaults()).LangDiff(), std::vector<double>{-1.0});
    fs::remove_all(folder_);
    EXPECT_EQ(Analyzed("abc", Defaults()).LangDiff(), std::vector<double>{-1.0});
    EXPECT_EQ(outcome_, AnalysisOutcome::Done);
}

TEST_F(LanguageFolder, ListedByNameAndUnreadableOnesSkipped) {
    const CharacterSettings s = Defaults();
    const std::vector<uint8_t> good = Definition("ab ba", s);
    Write("b.scrivel", good);
    Write("a.scrivel", Definition("xyz", s));
    Write("C.SCRIVEL", good);
    std::vector<uint8_t> cut = good;
    cut.resize(good.size() - 1); // the last value is one byte short
    Write("c.scrivel", cut);
    Write("B.scrivel", cut); // unreadable, and listed before every readable one
    Write("d.scrivel", {});
    Write("e.txt", good);
    Write("scrivel", good);
    fs::create_directories(folder_ / "f.scrivel");
    TestProgress progress;
    LetterStatistics stats;
    stats.ResizeCounts(s.All());
    ASSERT_EQ(stats.AnalyzeText(Bytes("ab ba"), s, folder_, progress), AnalysisOutcome::Done);
    EXPECT_EQ(stats.LangName(), (std::vector<std::string>{"C", "a", "b"}));
    EXPECT_EQ(stats.LangDiff()[2], 0.0);
    // The count, then one report per listed file.
    EXPECT_EQ(progress.starts, (std::vector<uint64_t>{5, 6}));
    EXPECT_EQ(progress.values, (std::vector<uint64_t>{0, 1, 2, 3, 4, 5}));
}

TEST_F(LanguageFolder, PipesAndDevicesInTheFolderAreSkippedWithoutWaiting) {
    const CharacterSettings s = Defaults();
    Write("b.scrivel", Definition("ab ba", s));
    ASSERT_EQ(::mkfifo((folder_ / "a.scrivel").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", folder_ / "c.scrivel");
    const LetterStatistics stats = Analyzed("ab ba", s);
    EXPECT_EQ(outcome_, AnalysisOutcome::Done);
    EXPECT_EQ(stats.LangName(), std::vector<std::string>{"b"});
    EXPECT_EQ(stats.LangDiff()[0], 0.0);
}

TEST(TextFile, PipesDevicesHugeAndUnreadableFilesGiveNoText) {
    namespace odd = platform::oddfiles;
    const fs::path fifo = odd::MakeFifo("text.fifo");
    const fs::path huge = odd::MakeSparseFile("text-huge.txt", odd::kHugeSize);
    const fs::path over = odd::MakeSparseFile("text-over.txt", kMaxTextFileBytes + 1);
    std::string bytes = "old";
    for (const fs::path& path : {fifo, fs::path("/dev/zero"), fs::path("/dev/urandom"), huge, over}) {
        EXPECT_FALSE(ReadTextFile(path, bytes)) << path;
        EXPECT_EQ(bytes, "") << path;
    }
    fs::resize_file(over, kMaxTextFileBytes);
    ASSERT_TRUE(ReadTextFile(over, bytes));
    EXPECT_EQ(bytes.size(), kMaxTextFileBytes);
    std::string().swap(bytes);
    std::ofstream(over, std::ios::binary | std::ios::trunc) << std::string(100000, 'a');
    {
        const platform::ByteReaderReadLimit fault(50000);
        EXPECT_FALSE(ReadTextFile(over, bytes));
    }
    for (const fs::path& path : {fifo, huge, over})
        fs::remove(path);
}

TEST_F(LanguageFolder, DefinitionReadUnderOtherSettings) {
    const CharacterSettings defaults = Defaults();
    const std::vector<uint8_t> bytes = Definition("AB CD", defaults); // A B C D 1/5, Space 1/5

    CharacterSettings other = Defaults();
    other.RemoveMember('a'); // a counted on its own: stored as 0
    other.RemoveGroup('B');
    other.AddMember('A', 'B'); // B folds into A
    other.SetCounts('C', false); // C dropped
    other.SetCounts(' ', false);
    other.CopyHeadStatesToMembers();
    other.UpdateLookupTable();
    LetterStatistics stats;
    stats.ResizeCounts(other.All());
    ASSERT_TRUE(stats.ReadLanguage(bytes, other));
    const int a = other.Char2Ind('a'), A = other.Char2Ind('A'), D = other.Char2Ind('D');
    ASSERT_GE(a, 0);
    EXPECT_EQ(stats.LangLetter()[A], 0.2 + 0.2);
    EXPECT_EQ(stats.LangLetter()[a], 0.0);
    EXPECT_EQ(stats.LangLetter()[D], 0.2); // not renormalised
    const int n = other.All();
    EXPECT_EQ(stats.LangPair()[A * n + A], 0.25); // the pair AB, now A A
    EXPECT_EQ(stats.LangPair()[A * n + D], 0.0);  // CD: C dropped
}

TEST_F(LanguageFolder, CancelDuringTheComparison) {
    const CharacterSettings s = Defaults();
    Write("a.scrivel", Definition("ab", s));
    Write("b.scrivel", Definition("ba", s));
    Analyzed("ab", s, 1);
    EXPECT_EQ(outcome_, AnalysisOutcome::Cancelled);
    const std::string hundred(100, 'a');
    Analyzed(hundred, s, 1);
    EXPECT_EQ(outcome_, AnalysisOutcome::Cancelled); // at the count's report
}

} // namespace
} // namespace scrivel
