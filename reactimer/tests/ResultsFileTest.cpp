#include "ResultsFile.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

using namespace reactimer;

namespace {

std::string Slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class ResultsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("reactimer_file_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::filesystem::path folder_;
};

} // namespace

TEST_F(ResultsFileTest, SavedMeansReadBackToFifteenDigitsInTheirExactFormat) {
    StageMeans means{};
    means[0] = 1253.7;
    means[1] = 1000.0 / 3.0;
    means[2] = 412;
    means[3] = 987.6543210123456;
    const std::filesystem::path path = folder_ / "results.txt";
    ASSERT_TRUE(SaveResultsFile(path, means, 4));
    EXPECT_EQ(Slurp(path), "1,1253.7\r\n2,333.333333333333\r\n3,412\r\n4,987.654321012346\r\n");
    StageResults read;
    ASSERT_TRUE(LoadResultsFile(path, read));
    EXPECT_EQ(read.nums, 4);
    for (int k = 0; k < 4; ++k)
        EXPECT_NEAR(read.means[k], means[k], std::abs(means[k]) * 1e-14) << k;
    // Saved again over itself, the file stays byte for byte the same.
    ASSERT_TRUE(SaveResultsFile(path, read.means, read.nums));
    EXPECT_EQ(Slurp(path), WriteResults(means, 4));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 1);
}

TEST_F(ResultsFileTest, StagesFollowTheLinesWhateverTheirNumbers) {
    StageResults read;
    ASSERT_TRUE(ReadResults("5,310.5\r\n9,420\r\n2,515\r\n", read));
    EXPECT_EQ(read.nums, 3);
    EXPECT_EQ(read.means[0], 310.5);
    EXPECT_EQ(read.means[1], 420);
    EXPECT_EQ(read.means[2], 515);
    // Lines ended by LF alone, blanks around fields and a blank last line read too.
    ASSERT_TRUE(ReadResults("-32768 , 1e2\n32767.4,2\n\r\n", read));
    EXPECT_EQ(read.nums, 2);
    EXPECT_EQ(read.means[0], 100);
    ASSERT_TRUE(ReadResults("", read));
    EXPECT_EQ(read.nums, 0);
}

TEST_F(ResultsFileTest, TwentySixRecordsLoadAndATwentySeventhIsRefused) {
    std::string text;
    for (int k = 1; k <= 26; ++k)
        text += std::to_string(k) + "," + std::to_string(200 + k) + "\r\n";
    StageResults read;
    ASSERT_TRUE(ReadResults(text, read));
    EXPECT_EQ(read.nums, 26);
    EXPECT_EQ(read.means[25], 226);
    StageResults kept = read;
    EXPECT_FALSE(ReadResults(text + "27,300\r\n", read));
    EXPECT_EQ(read.nums, kept.nums);
    EXPECT_EQ(read.means, kept.means);
}

TEST_F(ResultsFileTest, DamagedFilesAreRefusedWhole) {
    const char* damaged[] = {
        "40000,250\r\n",       // the stage number beyond 16 bits
        "x,250\r\n",           // no number
        "1,250\r\n2,abc\r\n",  // a mean that does not parse
        "1,250 ms\r\n",        // a mean with more after it
        "1,1,250\r\n",         // three fields
        "1\r\n",               // one field
        "1,\"250\r\n",         // a quote not closed
        "\"1\",250\r\n",       // a stage as text
        "1,1e10\r\n",          // a mean beyond 32 bits
        "1,inf\r\n",
        "1,nan\r\n",
        "1,1e999\r\n",         // reads as an infinity
    };
    for (const char* text : damaged) {
        StageResults read;
        read.nums = 7;
        read.means[0] = 123;
        EXPECT_FALSE(ReadResults(text, read)) << text;
        EXPECT_EQ(read.nums, 7) << text;
        EXPECT_EQ(read.means[0], 123) << text;
    }
    StageResults read;
    EXPECT_FALSE(LoadResultsFile(folder_ / "missing.txt", read));
}

TEST_F(ResultsFileTest, AFailedSaveLeavesWhatWasThereAndNothingAside) {
    StageMeans means{};
    means[0] = 300;
    // A folder where the file should go cannot be replaced by it.
    const std::filesystem::path taken = folder_ / "taken.txt";
    std::filesystem::create_directory(taken);
    std::ofstream(taken / "inside") << "kept";
    EXPECT_FALSE(SaveResultsFile(taken, means, 1));
    EXPECT_EQ(Slurp(taken / "inside"), "kept");
    EXPECT_FALSE(SaveResultsFile(folder_ / "no folder" / "results.txt", means, 1));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 1);
}
