#include "ByteFile.h"
#include "OddFiles.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace platform;

namespace {

std::filesystem::path WriteScratch(std::string_view name, const std::string& bytes) {
    const std::filesystem::path path = oddfiles::Scratch(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

// Everything a reader hands out, and whether it failed.
std::string ReadAll(ByteReader& file, bool& failed) {
    std::string bytes;
    for (auto chunk = file.NextChunk(); !chunk.empty(); chunk = file.NextChunk())
        bytes.append(reinterpret_cast<const char*>(chunk.data()), chunk.size());
    failed = file.Failed();
    return bytes;
}

} // namespace

TEST(ByteReaderTest, OnlyRegularFilesOpenAndNoneWaits) {
    const std::filesystem::path fifo = oddfiles::MakeFifo("reader.fifo");
    const std::filesystem::path folder = std::filesystem::path(testing::TempDir());
    ByteReader file;
    for (const std::filesystem::path& path :
         {fifo, folder, std::filesystem::path("/dev/zero"), std::filesystem::path("/dev/urandom"),
          std::filesystem::path("/dev/null"), folder / "missing.bin"}) {
        EXPECT_FALSE(file.Open(path)) << path;
        EXPECT_FALSE(file.IsOpen()) << path;
        uint64_t size = 7;
        EXPECT_LT(OpenRegularFile(path, size), 0) << path;
        EXPECT_EQ(size, 7u) << path;
    }
    // A link to a regular file is the file.
    const std::filesystem::path target = WriteScratch("reader-target.bin", "abc");
    const std::filesystem::path link = oddfiles::Scratch("reader-link.bin");
    std::filesystem::create_symlink(target, link);
    ASSERT_TRUE(file.Open(link));
    bool failed = true;
    EXPECT_EQ(ReadAll(file, failed), "abc");
    EXPECT_FALSE(failed);
    std::filesystem::remove(link);
    std::filesystem::remove(target);
    std::filesystem::remove(fifo);
}

TEST(ByteReaderTest, ALimitRefusesLargerFilesAndStopsAGrowingOne) {
    // A huge file is refused by its size before anything is read.
    const std::filesystem::path huge = oddfiles::MakeSparseFile("reader-huge.bin", oddfiles::kHugeSize);
    ByteReader file;
    EXPECT_FALSE(file.Open(huge, uint64_t{1} << 30));
    ASSERT_TRUE(file.Open(huge));
    EXPECT_EQ(file.Size(), oddfiles::kHugeSize);
    file.Close();
    std::filesystem::remove(huge);

    const std::string bytes(ByteReader::kBufferSize + 5, 'x');
    const std::filesystem::path path = WriteScratch("reader-limit.bin", bytes);
    EXPECT_FALSE(file.Open(path, bytes.size() - 1));
    ASSERT_TRUE(file.Open(path, bytes.size()));
    bool failed = true;
    EXPECT_EQ(ReadAll(file, failed), bytes);
    EXPECT_FALSE(failed);

    // Bytes added after the open, past the limit: the read fails there.
    ASSERT_TRUE(file.Open(path, bytes.size()));
    std::ofstream(path, std::ios::binary | std::ios::app) << "more";
    EXPECT_LE(ReadAll(file, failed).size(), bytes.size());
    EXPECT_TRUE(failed);
    WriteScratch("reader-limit.bin", bytes);
    ASSERT_TRUE(file.Open(path, bytes.size()));
    std::ofstream(path, std::ios::binary | std::ios::app) << "more";
    std::vector<uint8_t> all(bytes.size() + 4);
    EXPECT_LE(file.Read(all.data(), all.size()), bytes.size());
    EXPECT_TRUE(file.Failed());
    std::filesystem::remove(path);
}

TEST(ByteReaderTest, TheReadFaultHookFailsAfterItsBytes) {
    const std::string bytes(3 * ByteReader::kBufferSize, 'y');
    const std::filesystem::path path = WriteScratch("reader-fault.bin", bytes);
    ByteReader file;
    bool failed = false;
    {
        const ByteReaderReadLimit fault(ByteReader::kBufferSize + 10);
        ASSERT_TRUE(file.Open(path));
        EXPECT_EQ(ReadAll(file, failed).size(), ByteReader::kBufferSize + 10);
        EXPECT_TRUE(failed);
        EXPECT_EQ(file.ReadByte(), -1);
    }
    ASSERT_TRUE(file.Open(path));
    EXPECT_EQ(ReadAll(file, failed), bytes);
    EXPECT_FALSE(failed);
    std::filesystem::remove(path);
}

TEST(ReadWholeFileTest, ReadsARegularFileWithinItsLimitOrNothing) {
    const std::string bytes = "0123456789" + std::string(ByteReader::kBufferSize, 'z');
    const std::filesystem::path path = WriteScratch("whole.bin", bytes);
    std::string read = "old";
    ASSERT_TRUE(ReadWholeFile(path, bytes.size(), read));
    EXPECT_EQ(read, bytes);
    EXPECT_FALSE(ReadWholeFile(path, bytes.size() - 1, read));
    EXPECT_EQ(read, "");
    {
        const ByteReaderReadLimit fault(10);
        read = "old";
        EXPECT_FALSE(ReadWholeFile(path, ByteReader::kNoLimit, read));
        EXPECT_EQ(read, "");
    }
    const std::filesystem::path fifo = oddfiles::MakeFifo("whole.fifo");
    EXPECT_FALSE(ReadWholeFile(fifo, ByteReader::kNoLimit, read));
    EXPECT_FALSE(ReadWholeFile("/dev/zero", ByteReader::kNoLimit, read));
    std::filesystem::remove(fifo);
    std::filesystem::remove(path);
}
