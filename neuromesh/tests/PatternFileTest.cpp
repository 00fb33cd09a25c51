// The pattern store and its file: the layout byte for byte, round trips,
// refused files, and saves that keep the old file when they fail.
#include "PatternFile.h"

#include "PatternSet.h"

#include <bit>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using neuromesh::PatternSet;
using Bytes = std::vector<uint8_t>;

Bytes DoubleBytes(double v) {
    Bytes b;
    for (int k = 0; k < 8; ++k)
        b.push_back(uint8_t(std::bit_cast<uint64_t>(v) >> 8 * k));
    return b;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

class PatternFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::path(::testing::TempDir()) /
                  ("patterns-" +
                   std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }
    static Bytes Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    void Write(const fs::path& path, const Bytes& bytes) const {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    fs::path folder_;
};

TEST_F(PatternFileTest, OneCategoryOfOneTwoPointSampleIs43Bytes) {
    PatternSet set;
    ASSERT_TRUE(set.Redefine({"a"}, 1, 2));
    const std::vector<double> sample{0.25, 0.5, 0.75, 1.0};
    set.SetSample(0, sample);
    const Bytes expected =
        Concat({{0x01, 0x00, 0x01, 0x00, 0x02, 0x00, 0x08, 0x00, 0x01, 0x00, 0x61},
                {0, 0, 0, 0, 0, 0, 0xD0, 0x3F},
                {0, 0, 0, 0, 0, 0, 0xE0, 0x3F},
                {0, 0, 0, 0, 0, 0, 0xE8, 0x3F},
                {0, 0, 0, 0, 0, 0, 0xF0, 0x3F}});
    EXPECT_EQ(neuromesh::PatternFileBytes(set), expected);
    ASSERT_TRUE(neuromesh::SavePatternFile(folder_ / "one.pat", set));
    EXPECT_EQ(Read(folder_ / "one.pat"), expected);
    const std::optional<PatternSet> back = neuromesh::LoadPatternFile(folder_ / "one.pat");
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, set);
    EXPECT_FALSE(back->AnyEmpty()) << "a set whose slots are all drawn opens to recognise";

    ASSERT_TRUE(set.Redefine({"\xE9t\xE9", ""}, 2, 3)); // Windows-1252 bytes, an empty name
    set.SetSample(1, std::vector<double>{-0.25, 1.5, 0, -0.0, 1e-300, 0.5});
    EXPECT_EQ(neuromesh::ParsePatternFile(neuromesh::PatternFileBytes(set)), set);
}

TEST_F(PatternFileTest, DamagedFilesGiveNothing) {
    const Bytes header{0x01, 0x00, 0x01, 0x00, 0x02, 0x00};
    const Bytes name{0x08, 0x00, 0x01, 0x00, 0x61};
    Bytes data;
    for (const double v : {0.1, 0.2, 0.3, 0.4})
        data = Concat({data, DoubleBytes(v)});
    const Bytes good = Concat({header, name, data});
    ASSERT_TRUE(neuromesh::ParsePatternFile(good));
    auto with = [&](size_t at, Bytes bytes) {
        Bytes file = good;
        std::copy(bytes.begin(), bytes.end(), file.begin() + long(at));
        return file;
    };
    const struct {
        const char* name;
        Bytes bytes;
    } files[] = {
        {"empty", {}},
        {"half a header", {0x01, 0x00, 0x01}},
        {"header only", header},
        {"no categories", with(0, {0x00, 0x00})},
        {"negative categories", with(0, {0xFF, 0xFF})},
        {"no samples", with(2, {0x00})},
        {"nine samples", with(2, {0x09})},
        {"one point", with(4, {0x01})},
        {"21 points", with(4, {0x15})},
        {"another type tag", with(6, {0x03})},
        {"negative name length", with(8, {0xFF, 0xFF})},
        {"name past the end", with(8, {0xFF, 0x7F})},
        {"one byte short", Bytes(good.begin(), good.end() - 1)},
        {"one byte more", Concat({good, {0}})},
        {"a sample more",
         Concat({good, DoubleBytes(0.5), DoubleBytes(0.5), DoubleBytes(0.5), DoubleBytes(0.5)})},
        {"not a number", with(11, DoubleBytes(std::numeric_limits<double>::quiet_NaN()))},
        {"infinite", with(35, DoubleBytes(std::numeric_limits<double>::infinity()))},
        {"more categories than names", with(0, {0x02})},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        EXPECT_FALSE(neuromesh::ParsePatternFile(file.bytes));
        Write(folder_ / "bad.pat", file.bytes);
        EXPECT_FALSE(neuromesh::LoadPatternFile(folder_ / "bad.pat"));
    }
    EXPECT_FALSE(neuromesh::LoadPatternFile(folder_ / "missing.pat"));
    EXPECT_FALSE(neuromesh::LoadPatternFile(folder_));
}

TEST_F(PatternFileTest, AFailedSaveKeepsTheOldFileAndLeavesNothingAside) {
    const PatternSet set;
    Write(folder_ / "old.pat", {1, 2, 3});
    ASSERT_TRUE(neuromesh::SavePatternFile(folder_ / "old.pat", set));
    EXPECT_EQ(Read(folder_ / "old.pat"), neuromesh::PatternFileBytes(set));
    fs::create_directory(folder_ / "folder.pat");
    fs::create_directory(folder_ / "folder.pat" / "inside");
    EXPECT_FALSE(neuromesh::SavePatternFile(folder_ / "folder.pat", set));
    EXPECT_FALSE(neuromesh::SavePatternFile(folder_ / "missing" / "a.pat", set));
    EXPECT_TRUE(fs::is_directory(folder_ / "folder.pat" / "inside"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), {}), 2);
}

TEST(PatternSetTest, StartsWithTheAlphabetAndRedefiningEmptiesEverySlot) {
    PatternSet set;
    EXPECT_EQ(set.patnames().front() + set.patnames().back() + std::to_string(set.Slots()), "az78");
    EXPECT_TRUE(set.SlotEmpty(77));
    for (int slot = 0; slot < set.Slots(); ++slot)
        set.SetSample(slot, std::vector<double>(20, 0.5));
    EXPECT_FALSE(set.AnyEmpty());
    set.SetSample(40, std::vector<double>(20, 0.0));
    EXPECT_TRUE(set.AnyEmpty());
    EXPECT_EQ(set.NextSlot(77), 0);

    PatternSet same = set;
    ASSERT_TRUE(same.Redefine(set.patnames(), 3, 10)); // OK with nothing changed
    EXPECT_EQ(same, PatternSet());
    PatternSet kept = set;
    EXPECT_FALSE(kept.Redefine({}, 3, 10)) << "a set keeps at least one category";
    EXPECT_EQ(kept, set);
    EXPECT_FALSE(kept.Redefine(std::vector<std::string>(32768, "c"), 1, 2))
        << "the file's 16-bit count of 32768 would read back as -32768";
    EXPECT_EQ(kept, set);
    ASSERT_TRUE(kept.Redefine(std::vector<std::string>(32767, "c"), 1, 2));
    EXPECT_EQ(kept.pattypes(), 32767);
    ASSERT_TRUE(same.Redefine({std::string(40000, 'n')}, 1, 2));
    EXPECT_EQ(same.patnames()[0].size(), PatternSet::kMaxNameBytes);
}

} // namespace
