#include "CodeFile.h"

#include "BitStream.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace codetree {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

// Answers false at the cancelAt-th report (never when 0) and records the reports.
class TestProgress : public Progress {
public:
    explicit TestProgress(int cancelAt = 0) : cancelAt_(cancelAt) {}
    void SetMaximum(uint64_t maximum) override { this->maximum = maximum; }
    bool Advance(uint64_t done) override {
        reports.push_back(done);
        return static_cast<int>(reports.size()) != cancelAt_;
    }
    uint64_t maximum = 0;
    std::vector<uint64_t> reports;

private:
    int cancelAt_;
};

// The bits packed one at a time, the first bit of each byte its least significant.
Bytes PackBits(const std::string& bits) {
    Bytes bytes((bits.size() + 7) / 8, 0);
    for (size_t k = 0; k < bits.size(); ++k)
        if (bits[k] == '1')
            bytes[k / 8] |= static_cast<uint8_t>(1u << (k % 8));
    return bytes;
}

// The codes as text, built by walking the tree with a growing prefix.
void TextCodes(const clsNode& node, std::vector<std::string>& codes, const std::string& prefix) {
    if (node.IsLeaf()) {
        codes[static_cast<uint8_t>(node.chars[0])] = prefix;
        return;
    }
    TextCodes(*node.left, codes, prefix + "0");
    TextCodes(*node.right, codes, prefix + "1");
}

Bytes Header(const std::string& count) {
    std::string text = std::string(kHeader) + count + "\r\n";
    return Bytes(text.begin(), text.end());
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

void CompleteTree(CodeForest& forest) {
    while (forest.Size() > 1)
        forest.MergeStep();
    forest.UpdateStatistics();
}

class CodeFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("codefile-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path Write(const std::string& name, const Bytes& bytes) {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    static Bytes Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

    // Opens source as a plain file and compresses it to source + ".tkv".
    Outcome OpenAndCompress(const fs::path& source, CompressReport& report, int cancelAt = 0) {
        TestProgress progress;
        bool compressed = true;
        EXPECT_EQ(OpenFile(source, plain_, compressed, progress), Outcome::Done);
        EXPECT_FALSE(compressed);
        CompleteTree(plain_);
        TestProgress saving(cancelAt);
        return Compress(plain_, source, fs::path(source) += ".tkv", saving, report);
    }

    // Opens a compressed file and decompresses it to target.
    Outcome OpenAndDecomp(const fs::path& source, const fs::path& target, int cancelAt = 0) {
        TestProgress progress;
        bool compressed = false;
        EXPECT_EQ(OpenFile(source, packed_, compressed, progress), Outcome::Done);
        EXPECT_TRUE(compressed);
        TestProgress saving(cancelAt);
        uint64_t sourceBytes = 0, targetBytes = 0;
        const Outcome outcome = Decomp(packed_, source, target, saving, sourceBytes, targetBytes);
        if (outcome == Outcome::Done) {
            EXPECT_EQ(sourceBytes, fs::file_size(source));
            EXPECT_EQ(targetBytes, fs::file_size(target));
        }
        return outcome;
    }

    fs::path dir_;
    CodeForest plain_, packed_;
};

TEST_F(CodeFileTest, WorkedExampleBitForBit) {
    const fs::path source = Write("abb", {97, 98, 98});
    CompressReport report;
    ASSERT_EQ(OpenAndCompress(source, report), Outcome::Done);
    // Tree 1, leaf 0 + 97, leaf 0 + 98; data 0, 1, 1; two padding bits.
    const Bytes stream = PackBits("1"
                                  "0"
                                  "10000110"
                                  "0"
                                  "01000110"
                                  "011");
    EXPECT_EQ(stream, (Bytes{133, 17, 51}));
    EXPECT_EQ(Read(fs::path(source) += ".tkv"), Header("3") + stream);
    EXPECT_EQ(report.original, 24u);
    EXPECT_EQ(report.compressed, 8u * (48 + 1 + 2 + 3));
    EXPECT_EQ(report.header, 400u);
    EXPECT_EQ(report.sizeInfo, 8u);
    EXPECT_EQ(report.tree, 19u);
    EXPECT_EQ(report.data, 3u);
    EXPECT_EQ(report.padding, 2u);

    ASSERT_EQ(OpenAndDecomp(fs::path(source) += ".tkv", dir_ / "out"), Outcome::Done);
    EXPECT_EQ(Read(dir_ / "out"), (Bytes{97, 98, 98}));
    ASSERT_EQ(packed_.Size(), 1);
    const clsNode& root = packed_.Tree(1);
    EXPECT_TRUE(packed_.FileMode());
    EXPECT_EQ(root.chars, "ab");
    EXPECT_EQ(root.weight, 3);
    EXPECT_EQ(root.left->weight, 1);
    EXPECT_EQ(root.right->weight, 2);
    EXPECT_EQ(root.width, 3);
    EXPECT_EQ(root.height, 2);
    EXPECT_EQ(root.pos, 1);
    EXPECT_EQ(packed_.PathLength(), 3);
}

TEST_F(CodeFileTest, EmptyAndSingleValueSources) {
    struct Case {
        Bytes source;
        Bytes stream;
        uint64_t tree, padding;
    };
    // One leaf: bit 0 and the byte 65; every byte has the empty code.
    for (const Case& c : {Case{{}, {}, 0, 0}, Case{Bytes(1000, 65), PackBits("010000010"), 9, 7}}) {
        const fs::path source = Write("src", c.source);
        CompressReport report;
        ASSERT_EQ(OpenAndCompress(source, report), Outcome::Done);
        const std::string count = std::to_string(c.source.size());
        EXPECT_EQ(Read(fs::path(source) += ".tkv"), Header(count) + c.stream);
        EXPECT_EQ(report.sizeInfo, 8 * count.size());
        EXPECT_EQ(report.tree, c.tree);
        EXPECT_EQ(report.data, 0u);
        EXPECT_EQ(report.padding, c.padding);

        ASSERT_EQ(OpenAndDecomp(fs::path(source) += ".tkv", dir_ / "out"), Outcome::Done);
        EXPECT_EQ(Read(dir_ / "out"), c.source);
        EXPECT_EQ(packed_.Size(), c.source.empty() ? 0 : 1);
        EXPECT_EQ(packed_.SumWeight(), static_cast<double>(c.source.size()));
        EXPECT_TRUE(packed_.FileMode());
    }
}

TEST_F(CodeFileTest, RoundTripsOfManyDistributions) {
    std::mt19937_64 random(7);
    const auto uniform = [&](size_t n) {
        Bytes bytes(n);
        for (auto& b : bytes)
            b = static_cast<uint8_t>(random());
        return bytes;
    };
    const auto skewed = [&](size_t n) {
        std::geometric_distribution<int> geometric(0.3);
        Bytes bytes(n);
        for (auto& b : bytes)
            b = static_cast<uint8_t>(std::min(geometric(random), 255));
        return bytes;
    };
    // Counts 1, 1, 2, 3, 5 ... of 25 byte values: codes up to 24 bits, past the table.
    Bytes fibonacci;
    for (uint64_t a = 1, b = 1, value = 0; value < 25; ++value, b = a + b, a = b - a)
        fibonacci.insert(fibonacci.end(), a, static_cast<uint8_t>(value * 7));
    std::shuffle(fibonacci.begin(), fibonacci.end(), random);

    const std::vector<Bytes> sources = {
        {0},           {1, 2},         uniform(7),     uniform(8),       uniform(9),
        uniform(4095), uniform(65536), uniform(65537), uniform(1 << 20), skewed(100000),
        fibonacci};
    for (size_t k = 0; k < sources.size(); ++k) {
        SCOPED_TRACE(k);
        const Bytes& bytes = sources[k];
        const fs::path source = Write("src", bytes);
        CompressReport r;
        ASSERT_EQ(OpenAndCompress(source, r), Outcome::Done);
        const fs::path packed = fs::path(source) += ".tkv";
        EXPECT_EQ(r.original, 8 * bytes.size());
        EXPECT_EQ(r.compressed, 8 * fs::file_size(packed));
        EXPECT_EQ(r.header + r.sizeInfo + r.tree + r.data + r.padding, r.compressed);
        EXPECT_EQ(static_cast<double>(r.data), plain_.PathLength());

        ASSERT_EQ(OpenAndDecomp(packed, dir_ / "out"), Outcome::Done);
        EXPECT_EQ(Read(dir_ / "out"), bytes);
        // The counts decoded again are the counts of the source.
        std::vector<double> opened(256, 0), counted(256, 0);
        for (const uint8_t b : bytes)
            ++counted[b];
        std::vector<const clsNode*> pending{&packed_.Tree(1)};
        while (!pending.empty()) {
            const clsNode* node = pending.back();
            pending.pop_back();
            if (node->IsLeaf())
                opened[static_cast<uint8_t>(node->chars[0])] = node->weight;
            else
                pending.insert(pending.end(), {node->left.get(), node->right.get()});
        }
        EXPECT_EQ(opened, counted);
    }
}

TEST_F(CodeFileTest, CodesLongerThan64BitsPackAsBitByBit) {
    // Fibonacci counts of 76 byte values give a chain with codes of 1 to 75 bits.
    std::array<uint64_t, 256> counts{};
    for (uint64_t a = 1, b = 1, value = 0; value < 76; ++value, b = a + b, a = b - a)
        counts[value] = a;
    CodeForest forest;
    forest.LoadCounts(counts);
    CompleteTree(forest);
    const clsNode& root = forest.Tree(1);
    CodeTable table;
    ASSERT_TRUE(BuildCodeTable(root, table));
    std::vector<std::string> text(256);
    TextCodes(root, text, "");
    EXPECT_EQ(text[0].size(), 75u);

    std::mt19937_64 random(3);
    Bytes symbols(5000);
    for (auto& s : symbols)
        s = static_cast<uint8_t>(random() % 76);
    std::string expected;
    for (const uint8_t s : symbols)
        expected += text[s];
    const fs::path path = dir_ / "bits";
    {
        platform::ByteWriter out;
        ASSERT_TRUE(out.Create(path));
        BitWriter bits(out);
        ASSERT_TRUE(bits.WriteCodes(symbols, table));
        EXPECT_EQ(bits.BitCount(), expected.size());
        bits.Flush();
        ASSERT_TRUE(out.Close());
    }
    EXPECT_EQ(Read(path), PackBits(expected));

    platform::ByteReader in;
    ASSERT_TRUE(in.Open(path));
    BitReader bits(in);
    Bytes decoded(symbols.size());
    EXPECT_EQ(Decoder(root).DecodeBytes(bits, decoded.data(), decoded.size()), decoded.size());
    EXPECT_EQ(decoded, symbols);
}

TEST_F(CodeFileTest, HeaderDetectionAndCountLine) {
    const Bytes stream = PackBits("1"
                                  "0"
                                  "10000110"
                                  "0"
                                  "01000110"
                                  "011");
    const std::string header(kHeader);
    struct Case {
        Bytes file;
        bool compressed;
        std::vector<double> weights; // of the two leaves; none for a plain file
    };
    const std::vector<Case> cases = {
        {Bytes(header.begin(), header.end() - 1), false, {}},
        {Bytes(header.begin(), header.begin() + 4) + Bytes{'x'}, false, {}},
        {Header("3 bytes, and more") + stream, true, {1, 2}},
        {Header("  3") + stream, true, {1, 2}},
        {Header("2.5") + stream, true, {1, 1}}, // halves go to the even neighbour
        {Header("1.5") + stream, true, {1, 1}},
        {Header("abc") + stream, true, {}},
        {Header("-3") + stream, true, {}},
    };
    for (size_t k = 0; k < cases.size(); ++k) {
        SCOPED_TRACE(k);
        const fs::path path = Write("in", cases[k].file);
        CodeForest forest;
        bool compressed = !cases[k].compressed;
        TestProgress progress;
        ASSERT_EQ(OpenFile(path, forest, compressed, progress), Outcome::Done);
        EXPECT_EQ(compressed, cases[k].compressed);
        EXPECT_TRUE(forest.FileMode());
        std::vector<double> weights;
        if (compressed && forest.Size() == 1)
            weights = {forest.Tree(1).left->weight, forest.Tree(1).right->weight};
        EXPECT_EQ(weights, cases[k].weights);
        if (compressed)
            continue;
        std::vector<double> counted(256, 0), opened;
        for (const uint8_t b : cases[k].file)
            ++counted[b];
        std::erase(counted, 0.0);
        std::sort(counted.begin(), counted.end());
        for (int p = 1; p <= forest.Size(); ++p)
            opened.push_back(forest.Tree(p).weight);
        EXPECT_EQ(opened, counted);
    }
}

TEST_F(CodeFileTest, CancelLeavesNothingBehind) {
    std::mt19937_64 random(11);
    Bytes bytes(200000);
    for (auto& b : bytes)
        b = static_cast<uint8_t>(random() % 40);
    const fs::path source = Write("src", bytes);
    CompressReport report;
    ASSERT_EQ(OpenAndCompress(source, report), Outcome::Done);
    const fs::path packed = fs::path(source) += ".tkv";
    const Bytes clean = Read(packed);

    for (const int cancelAt : {1, 2, 4}) {
        SCOPED_TRACE(cancelAt);
        CodeForest forest;
        forest.Add(5);
        bool compressed = false;
        TestProgress opening(cancelAt);
        EXPECT_EQ(OpenFile(packed, forest, compressed, opening), Outcome::Cancelled);
        EXPECT_EQ(forest.Size(), 0);
        EXPECT_FALSE(forest.FileMode());
        TestProgress openingPlain(cancelAt);
        EXPECT_EQ(OpenFile(source, forest, compressed, openingPlain), Outcome::Cancelled);
        EXPECT_EQ(forest.Size(), 0);

        EXPECT_EQ(OpenAndCompress(source, report, cancelAt), Outcome::Cancelled);
        EXPECT_FALSE(fs::exists(packed));
        ASSERT_EQ(OpenAndCompress(source, report), Outcome::Done);
        EXPECT_EQ(Read(packed), clean);

        EXPECT_EQ(OpenAndDecomp(packed, dir_ / "out", cancelAt), Outcome::Cancelled);
        EXPECT_FALSE(fs::exists(dir_ / "out"));
    }
    // Reports come every 64 Ki bytes, the last with the whole count.
    TestProgress progress;
    ASSERT_EQ(Compress(plain_, source, packed, progress, report), Outcome::Done);
    EXPECT_EQ(progress.maximum, bytes.size());
    EXPECT_EQ(progress.reports, (std::vector<uint64_t>{65536, 131072, 196608, 200000}));
}

TEST_F(CodeFileTest, DamagedFilesFailCleanly) {
    const fs::path source = Write("src", Bytes{1, 2, 2, 3, 3, 3, 4, 4, 4, 4});
    CompressReport report;
    ASSERT_EQ(OpenAndCompress(source, report), Outcome::Done);
    const Bytes good = Read(fs::path(source) += ".tkv");
    const Bytes stream(good.begin() + static_cast<long>(Header("10").size()), good.end());

    const std::vector<Bytes> damaged = {
        Bytes(good.begin(), good.end() - 2),    // truncated data
        Bytes(good.begin(), good.begin() + 54), // truncated tree
        Header("5") + Bytes(1 << 16, 0xFF),     // a tree that never ends
        Header("1000") + stream,                // more symbols than data
        Header("1e20") + stream,                // a count beyond 2^53
        Header("-1e300") + stream,
    };
    for (size_t k = 0; k < damaged.size(); ++k) {
        SCOPED_TRACE(k);
        const fs::path path = Write("bad.tkv", damaged[k]);
        CodeForest forest;
        bool compressed = false;
        TestProgress progress;
        EXPECT_EQ(OpenFile(path, forest, compressed, progress), Outcome::Failed);
        EXPECT_EQ(forest.Size(), 0);
        EXPECT_FALSE(forest.FileMode());
    }

    // Opened whole, then damaged or changed before the decompression.
    const fs::path packed = fs::path(source) += ".tkv";
    TestProgress progress;
    bool compressed = false;
    ASSERT_EQ(OpenFile(packed, packed_, compressed, progress), Outcome::Done);
    uint64_t sourceBytes = 0, targetBytes = 0;
    Bytes otherTree = good;
    otherTree[Header("10").size() + 1] ^= 0x10;
    for (const Bytes& changed : {Bytes(good.begin(), good.end() - 2), otherTree}) {
        Write("src.tkv", changed);
        EXPECT_EQ(Decomp(packed_, packed, dir_ / "out", progress, sourceBytes, targetBytes),
                  Outcome::Failed);
        EXPECT_FALSE(fs::exists(dir_ / "out"));
    }
    EXPECT_EQ(OpenFile(dir_ / "missing", packed_, compressed, progress), Outcome::Failed);
}

TEST_F(CodeFileTest, ChangedSourceOrSameTargetFails) {
    const Bytes bytes{1, 2, 2, 3};
    const fs::path source = Write("src", bytes);
    CodeForest forest;
    bool compressed = false;
    TestProgress progress;
    ASSERT_EQ(OpenFile(source, forest, compressed, progress), Outcome::Done);
    CompleteTree(forest);
    CompressReport report;
    EXPECT_EQ(Compress(forest, source, source, progress, report), Outcome::Failed);
    EXPECT_EQ(Read(source), bytes);
    EXPECT_EQ(Compress(forest, source, dir_, progress, report), Outcome::Failed);
    EXPECT_TRUE(fs::is_directory(dir_));

    // A byte without a leaf, and a source of another length.
    for (const Bytes& changed : {Bytes{1, 2, 2, 9}, Bytes{1, 2, 2, 3, 3}}) {
        Write("src", changed);
        Write("old.tkv", {42});
        EXPECT_EQ(Compress(forest, source, dir_ / "old.tkv", progress, report), Outcome::Failed);
        EXPECT_FALSE(fs::exists(dir_ / "old.tkv"));
    }
}

} // namespace
} // namespace codetree
