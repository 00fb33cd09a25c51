#include "ResultsFile.h"

#include "ByteFile.h"
#include "OddFiles.h"
#include "SafeReplace.h"

#include <cfloat>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <unistd.h>

using namespace reactimer;

TEST(ResultsFileTest, SavedMeansReadBackAndLinesCountWhateverTheirNumbers) {
    const auto folder = std::filesystem::temp_directory_path() / ("reactimer_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    StageMeans means{1253.7, 1000.0 / 3.0, 412, 987.6543210123456};
    ASSERT_TRUE(SaveResultsFile(folder / "r.txt", means, 4));
    std::ifstream in(folder / "r.txt", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
              "1,1253.7\r\n2,333.333333333333\r\n3,412\r\n4,987.654321012346\r\n");
    // A failed save (a full disk, no folder) leaves all as it was.
    {
        platform::SafeReplaceWriteLimit full(5);
        EXPECT_FALSE(SaveResultsFile(folder / "r.txt", StageMeans{1, 2}, 2));
    }
    EXPECT_FALSE(SaveResultsFile(folder / "none" / "r.txt", means, 1));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
    StageResults read;
    ASSERT_TRUE(LoadResultsFile(folder / "r.txt", read));
    EXPECT_EQ(read.nums, 4);
    for (int k = 0; k < 4; ++k)
        EXPECT_NEAR(read.means[k], means[k], means[k] * 1e-14);
    std::filesystem::remove_all(folder);

    ASSERT_TRUE(ReadResults("5,310.5\r\n9,420\n -32768 , 1e2\r\n\r\n", read));
    EXPECT_EQ(read.nums, 3);
    EXPECT_EQ(read.means[0], 310.5);
    EXPECT_EQ(read.means[2], 100);
}

TEST(ResultsFileTest, TooManyRecordsOrADamagedFieldRefuseTheWholeFile) {
    std::string full;
    for (int k = 1; k <= 26; ++k)
        full += std::to_string(k) + "," + std::to_string(200 + k) + "\r\n";
    StageResults read;
    ASSERT_TRUE(ReadResults(full, read));
    EXPECT_EQ(read.nums, 26);
    const std::string damaged[] = {full + "27,300\r\n", "40000,250", "x,250", "1,250\r\n2,abc", "1,250 ms",
                                   "1,1,250", "1", "1,\"250", "\"1\",250", "1,inf", "1,-inf", "1,nan",
                                   "1,1e400", "1,-1e400"};
    for (const std::string& text : damaged) {
        EXPECT_FALSE(ReadResults(text, read)) << text;
        EXPECT_EQ(read.nums, 26) << text;
    }
    EXPECT_FALSE(LoadResultsFile("/nonexistent/r.txt", read));
}

TEST(ResultsFileTest, EveryFiniteMeanItWritesReadsBack) {
    // Means far beyond any measured time come from files; whatever the
    // window holds it saves, and whatever it saves it opens again, on either
    // side of zero.
    const struct {
        double mean;
        const char* line;
    } cases[] = {{2.5e20, "1,2.5E+20\r\n"},
                 {3e9, "1,3000000000\r\n"},
                 {-1e15, "1,-1E+15\r\n"},
                 {1e300, "1,1E+300\r\n"},
                 {-2147483648.0, "1,-2147483648\r\n"}};
    const auto folder = std::filesystem::temp_directory_path() / ("reactimer_big_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    for (const auto& c : cases) {
        StageMeans means{412, c.mean};
        EXPECT_EQ(WriteResults(means, 2), std::string("1,412\r\n") + "2" + (c.line + 1)) << c.mean;
        ASSERT_TRUE(SaveResultsFile(folder / "r.txt", means, 2));
        StageResults read;
        EXPECT_TRUE(LoadResultsFile(folder / "r.txt", read)) << c.mean;
        EXPECT_EQ(read.nums, 2);
        EXPECT_EQ(read.means[0], 412);
        EXPECT_EQ(read.means[1], c.mean);
        EXPECT_TRUE(ReadResults(c.line, read)) << c.line;
        EXPECT_EQ(read.nums, 1);
        EXPECT_EQ(read.means[0], c.mean);
    }
    // The largest doubles, whose fifteen digits would round past them, are
    // written as the largest fifteen-digit number and read back as that.
    for (const double largest : {DBL_MAX, -DBL_MAX}) {
        StageMeans means{largest};
        StageResults read;
        ASSERT_TRUE(ReadResults(WriteResults(means, 1), read)) << WriteResults(means, 1);
        EXPECT_EQ(read.means[0], std::copysign(1.79769313486231e308, largest));
    }
    std::filesystem::remove_all(folder);
}

TEST(ResultsFileTest, PipesDevicesHugeAndUnreadableFilesAreRefusedUnchanged) {
    namespace odd = platform::oddfiles;
    StageResults read;
    read.nums = 2;
    const std::filesystem::path fifo = odd::MakeFifo("results.fifo");
    // Past the size limit, even of blank lines alone.
    const std::filesystem::path blank = odd::Scratch("results-blank.txt");
    std::ofstream(blank, std::ios::binary) << "1,300\r\n" << std::string(kMaxResultsFileBytes, ' ');
    const std::filesystem::path huge = odd::MakeSparseFile("results.txt", odd::kHugeSize);
    for (const std::filesystem::path& path : {fifo, std::filesystem::path("/dev/zero"), blank, huge})
        EXPECT_FALSE(LoadResultsFile(path, read)) << path;
    // A read that fails part way refuses the file, although its first records read well.
    std::ofstream(blank, std::ios::binary) << "1,300\r\n2,400\r\n";
    {
        const platform::ByteReaderReadLimit fault(8);
        EXPECT_FALSE(LoadResultsFile(blank, read));
    }
    EXPECT_EQ(read.nums, 2);
    EXPECT_EQ(read.means[0], 0);
    for (const auto& path : {fifo, blank, huge})
        std::filesystem::remove(path);
}
