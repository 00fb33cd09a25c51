// Tests of Codetree's files: the bytes written, round trips, the count line, cancels,
// damaged and changed files.

#include "CodeFile.h"

#include "BitStream.h"
#include "ByteFile.h"
#include "OddFiles.h"
#include "SafeReplace.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace codetree {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

// Answers false at the cancelAt-th report (never when 0) and records the reports.
struct TestProgress : Progress {
    explicit TestProgress(int cancelAt = 0) : cancelAt(cancelAt) {}
    void SetMaximum(uint64_t m) override { maximum = m; }
    bool Advance(uint64_t done) override {
        reports.push_back(done);
        return static_cast<int>(reports.size()) != cancelAt;
    }
    int cancelAt;
    uint64_t maximum = 0;
    std::vector<uint64_t> reports;
};

// The stream of "abb": tree 1, leaf 0 + 97, leaf 0 + 98; data 0, 1, 1.
const std::string kAbbBits = "1 0 10000110 0 01000110 011";

// The bits packed one at a time, the first bit of each byte its least significant;
// spaces are skipped.
Bytes PackBits(std::string bits) {
    std::erase(bits, ' ');
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

// Every node of the forest in pre-order: label, weight, width, height and pos.
std::string Describe(const CodeForest& forest) {
    std::string text;
    std::vector<const clsNode*> pending;
    for (int i = forest.Size(); i >= 1; --i)
        pending.push_back(&forest.Tree(i));
    while (!pending.empty()) {
        const clsNode& n = *pending.back();
        pending.pop_back();
        text += n.chars + ":" + std::to_string(static_cast<uint64_t>(n.weight)) + ":" +
                std::to_string(n.width) + ":" + std::to_string(n.height) + ":" +
                std::to_string(n.pos) + " ";
        if (!n.IsLeaf())
            pending.insert(pending.end(), {n.right.get(), n.left.get()});
    }
    return text;
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

    // The names of the files in the test's folder.
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_))
            names.insert(entry.path().filename().string());
        return names;
    }

    fs::path dir_;
    CodeForest plain_, packed_;
};

TEST_F(CodeFileTest, WorkedExamplesBitForBit) {
    EXPECT_EQ(PackBits(kAbbBits), (Bytes{133, 17, 51}));
    const struct {
        Bytes source;
        std::string bits;
        uint64_t tree, data, padding;
    } cases[] = {
        {{}, "", 0, 0, 0},
        // One leaf: bit 0 and the byte 65; every byte has the empty code.
        {Bytes(1000, 65), "0 10000010", 9, 0, 7},
        {{97, 98, 98}, kAbbBits, 19, 3, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source.size());
        const fs::path source = Write("src", c.source), packed = fs::path(source) += ".tkv";
        CompressReport r;
        ASSERT_EQ(OpenAndCompress(source, r), Outcome::Done);
        const std::string count = std::to_string(c.source.size());
        EXPECT_EQ(Read(packed), Header(count) + PackBits(c.bits));
        EXPECT_EQ((std::vector{r.header, r.sizeInfo, r.tree, r.data, r.padding}),
                  (std::vector<uint64_t>{400, 8 * count.size(), c.tree, c.data, c.padding}));
        ASSERT_EQ(OpenAndDecomp(packed, dir_ / "out"), Outcome::Done);
        EXPECT_EQ(Read(dir_ / "out"), c.source);
        EXPECT_TRUE(packed_.FileMode());
        EXPECT_EQ(Describe(packed_), Describe(plain_));
    }
    EXPECT_EQ(Describe(packed_), "ab:3:3:2:1 a:1:1:1:0 b:2:1:1:0 ");
}

TEST_F(CodeFileTest, RoundTripsOfManyDistributions) {
    std::mt19937_64 random(7);
    std::geometric_distribution<int> geometric(0.3);
    const auto draw = [&](size_t n, bool skewed = false) {
        Bytes bytes(n);
        for (auto& b : bytes)
            b = static_cast<uint8_t>(skewed ? std::min(geometric(random), 255) : random());
        return bytes;
    };
    // Counts 1, 1, 2, 3, 5 ... of 25 byte values: codes up to 24 bits, past the table.
    Bytes fibonacci;
    for (uint64_t a = 1, b = 1, value = 0; value < 25; ++value, b = a + b, a = b - a)
        fibonacci.insert(fibonacci.end(), a, static_cast<uint8_t>(value * 7));
    std::shuffle(fibonacci.begin(), fibonacci.end(), random);

    const std::vector<Bytes> sources = {
        {0},        {1, 2},      draw(7),     draw(8),       draw(9),
        draw(4095), draw(65536), draw(65537), draw(1 << 20), draw(100000, true),
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
        // The tree read back, with the counts decoded again, is the tree built.
        EXPECT_EQ(Describe(packed_), Describe(plain_));
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
    std::string expected;
    for (auto& s : symbols) {
        s = static_cast<uint8_t>(random() % 76);
        expected += text[s];
    }
    const fs::path path = dir_ / "bits";
    {
        platform::ByteWriter out;
        ASSERT_TRUE(out.Create(path));
        BitWriter bits(out);
        ASSERT_TRUE(bits.WriteCodes(symbols, table));
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

TEST_F(CodeFileTest, OpeningReadsTheHeaderAndTheCountAndRefusesDamage) {
    const Bytes stream = PackBits(kAbbBits);
    const std::string header(kHeader);
    const struct {
        Bytes file;
        Outcome outcome;
        std::vector<double> weights; // of the two leaves of a compressed file
    } cases[] = {
        {Bytes(header.begin(), header.end() - 1), Outcome::Done, {}}, // plain files
        {Bytes(header.begin(), header.begin() + 4) + Bytes{'x'}, Outcome::Done, {}},
        {Bytes{'f'} + Bytes(header.begin() + 1, header.end()), Outcome::Done, {}},
        {Header("3 bytes, and more") + stream, Outcome::Done, {1, 2}},
        {Header("  3") + stream, Outcome::Done, {1, 2}},
        {Header("2.5") + stream, Outcome::Done, {1, 1}}, // halves go to the even neighbour
        {Header("1.5") + stream, Outcome::Done, {1, 1}},
        {Header("abc") + stream, Outcome::Done, {}},
        {Header("-3") + stream, Outcome::Failed, {}}, // a count below 0 is damage
        // A count line too long to read whole is damage too, not a count of 0.
        {Header(std::string(1100, '0') + "3") + stream, Outcome::Failed, {}},
        {Header("3 " + std::string(1100, 'x')) + stream, Outcome::Failed, {}},
        {Header("3") + Bytes(stream.begin(), stream.begin() + 2), Outcome::Failed, {}},
        {Header("5") + Bytes(1 << 16, 0xFF), Outcome::Failed, {}}, // a tree that never ends
        {Header("1000") + stream, Outcome::Failed, {}},            // more symbols than data
        {Header("1e20") + stream, Outcome::Failed, {}},            // a count beyond 2^53
        {Header("-1e300") + stream, Outcome::Failed, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        const fs::path path = Write("in", c.file);
        CodeForest forest;
        forest.Add(1);
        bool compressed = false;
        TestProgress progress;
        ASSERT_EQ(OpenFile(path, forest, compressed, progress), c.outcome);
        EXPECT_EQ(compressed, c.file.size() > header.size());
        EXPECT_EQ(forest.FileMode(), c.outcome == Outcome::Done);
        EXPECT_TRUE(c.outcome == Outcome::Done || forest.Size() == 0);
        std::vector<double> weights;
        if (compressed && forest.Size() == 1 && !forest.Tree(1).IsLeaf())
            weights = {forest.Tree(1).left->weight, forest.Tree(1).right->weight};
        EXPECT_EQ(weights, c.weights);
        // A plain file is counted from its first byte, the header's bytes read included.
        EXPECT_TRUE(compressed || forest.SumWeight() == static_cast<double>(c.file.size()));
    }
}

// A code tree of bytes has at most 256 leaves: 255 internal nodes. A stored tree
// with one internal node more is damage, whatever its leaves.
TEST_F(CodeFileTest, StoredTreesHoldAtMost255InternalNodes) {
    for (const int internal : {255, 256}) {
        // A chain: every internal node has a leaf on its left, the last one two.
        std::string bits;
        for (int k = 0; k <= internal; ++k) {
            if (k < internal)
                bits += "1";
            bits += "0";
            for (int i = 0; i < 8; ++i)
                bits += ((k % 256) >> i & 1) ? "1" : "0";
        }
        bits += "0"; // one symbol: the leftmost leaf, byte 0
        const fs::path path = Write("chain.tkv", Header("1") + PackBits(bits));
        CodeForest forest;
        bool compressed = false;
        TestProgress progress;
        const Outcome outcome = OpenFile(path, forest, compressed, progress);
        EXPECT_TRUE(compressed);
        if (internal == 255) {
            ASSERT_EQ(outcome, Outcome::Done);
            EXPECT_EQ(forest.Tree(1).width, 2 * 255 + 1);
            EXPECT_EQ(forest.Tree(1).left->weight, 1);
            EXPECT_EQ(forest.SumWeight(), 1);
        } else {
            EXPECT_EQ(outcome, Outcome::Failed);
            EXPECT_EQ(forest.Size(), 0);
        }
    }
}

TEST_F(CodeFileTest, CancelLeavesNothingBehind) {
    std::mt19937_64 random(11);
    Bytes bytes(200000);
    for (auto& b : bytes)
        b = static_cast<uint8_t>(random() % 40);
    const fs::path source = Write("src", bytes), packed = fs::path(source) += ".tkv";
    CompressReport report;
    ASSERT_EQ(OpenAndCompress(source, report), Outcome::Done);
    const Bytes clean = Read(packed);

    for (const int cancelAt : {1, 2, 4}) {
        SCOPED_TRACE(cancelAt);
        CodeForest forest;
        forest.Add(5);
        bool compressed = false;
        for (const fs::path& path : {packed, source}) {
            TestProgress opening(cancelAt);
            EXPECT_EQ(OpenFile(path, forest, compressed, opening), Outcome::Cancelled);
            EXPECT_TRUE(forest.Size() == 0 && !forest.FileMode());
        }
        fs::remove(packed);
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

// A save that fails (a full disk), that is cancelled or that fails before it writes
// (the source changed since it was opened) leaves the target byte for byte as it
// was, and nothing beside it.
TEST_F(CodeFileTest, FailedOrCancelledSavesLeaveTheTargetAsItWas) {
    std::mt19937_64 random(5);
    Bytes bytes(150000);
    for (auto& b : bytes)
        b = static_cast<uint8_t>(random() % 30);
    const fs::path source = Write("src", bytes), packed = fs::path(source) += ".tkv";
    CompressReport report;
    ASSERT_EQ(OpenAndCompress(source, report), Outcome::Done);
    TestProgress opening;
    bool compressed = false;
    ASSERT_EQ(OpenFile(packed, packed_, compressed, opening), Outcome::Done);
    const fs::path target = Write("target", {'o', 'l', 'd', 0, 0xFF});
    const Bytes before = Read(target);
    const std::set<std::string> names = Names();

    const struct {
        uint64_t writeLimit; // bytes the disk takes; 0: no limit
        int cancelAt;
    } causes[] = {{1000, 0}, {70000, 0}, {0, 1}, {0, 2}};
    for (const auto& c : causes) {
        SCOPED_TRACE(c.writeLimit + c.cancelAt);
        std::optional<platform::SafeReplaceWriteLimit> full;
        if (c.writeLimit > 0)
            full.emplace(c.writeLimit);
        const Outcome expected = c.cancelAt > 0 ? Outcome::Cancelled : Outcome::Failed;
        TestProgress saving(c.cancelAt);
        EXPECT_EQ(Compress(plain_, source, target, saving, report), expected);
        EXPECT_EQ(Read(target), before);
        EXPECT_EQ(Names(), names);
        TestProgress unpacking(c.cancelAt);
        uint64_t sourceBytes = 0, targetBytes = 0;
        EXPECT_EQ(Decomp(packed_, packed, target, unpacking, sourceBytes, targetBytes), expected);
        EXPECT_EQ(Read(target), before);
        EXPECT_EQ(Names(), names);
    }
    Write("src", Bytes(bytes.begin(), bytes.end() - 1));
    TestProgress saving;
    EXPECT_EQ(Compress(plain_, source, target, saving, report), Outcome::Failed);
    EXPECT_EQ(Read(target), before);
    EXPECT_EQ(Names(), names);
}

TEST_F(CodeFileTest, PipesAndDevicesFailToOpenAndAHugeFileIsCountedUnheld) {
    namespace odd = platform::oddfiles;
    const fs::path fifo = odd::MakeFifo("codetree.fifo");
    bool compressed = false;
    for (const fs::path& path : {fifo, fs::path("/dev/zero"), fs::path("/dev/urandom")}) {
        CodeForest forest;
        forest.Add(5);
        TestProgress progress;
        EXPECT_EQ(OpenFile(path, forest, compressed, progress), Outcome::Failed) << path;
        EXPECT_TRUE(forest.Size() == 0 && !forest.FileMode());
    }
    fs::remove(fifo);
    // Counted chunk by chunk with its reports, so a cancel ends it at once.
    const fs::path huge = odd::MakeSparseFile("codetree.huge", odd::kHugeSize);
    TestProgress cancel(2);
    CodeForest forest;
    EXPECT_EQ(OpenFile(huge, forest, compressed, cancel), Outcome::Cancelled);
    EXPECT_EQ(cancel.maximum, odd::kHugeSize);
    EXPECT_EQ(cancel.reports, (std::vector<uint64_t>{65536, 131072}));
    fs::remove(huge);
    // A read that fails part way fails the opening.
    const fs::path source = Write("src", Bytes(200000, 7));
    const platform::ByteReaderReadLimit fault(100000);
    TestProgress progress;
    EXPECT_EQ(OpenFile(source, forest, compressed, progress), Outcome::Failed);
    EXPECT_TRUE(forest.Size() == 0 && !forest.FileMode());
}

TEST_F(CodeFileTest, FilesChangedSinceOpeningOrTheSourceAsTargetFail) {
    // Decompression: more symbols than data, or a leaf's byte 97 turned into 96.
    const fs::path packed = Write("abb.tkv", Header("3") + PackBits(kAbbBits));
    TestProgress progress;
    bool compressed = false;
    ASSERT_EQ(OpenFile(packed, packed_, compressed, progress), Outcome::Done);
    uint64_t sourceBytes = 0, targetBytes = 0;
    for (const auto& [count, bits] : {std::pair<std::string, std::string>{"1000", kAbbBits},
                                      {"3", "1 0 00000110 0 01000110 011"}}) {
        Write("abb.tkv", Header(count) + PackBits(bits));
        EXPECT_EQ(Decomp(packed_, packed, dir_ / "out", progress, sourceBytes, targetBytes),
                  Outcome::Failed);
        EXPECT_FALSE(fs::exists(dir_ / "out"));
    }
    EXPECT_EQ(OpenFile(dir_ / "missing", packed_, compressed, progress), Outcome::Failed);
    EXPECT_TRUE(packed_.Size() == 0 && !packed_.FileMode()) << "the forest opened before goes";

    // Compression: the source or a folder as the target, a byte without a leaf, a source
    // of another length.
    const Bytes bytes{1, 2, 2, 3};
    const fs::path source = Write("src", bytes), folder = dir_ / "folder";
    CompressReport report;
    ASSERT_EQ(OpenAndCompress(source, report), Outcome::Done);
    EXPECT_EQ(Compress(plain_, source, source, progress, report), Outcome::Failed);
    EXPECT_EQ(Read(source), bytes);
    fs::create_directory(folder);
    EXPECT_EQ(Compress(plain_, source, folder, progress, report), Outcome::Failed);
    EXPECT_TRUE(fs::is_directory(folder)) << "an empty folder as the target stays";
    for (const Bytes& changed : {Bytes{1, 2, 2, 9}, Bytes{1, 2, 2, 3, 3}}) {
        Write("src", changed);
        Write("old.tkv", {42});
        EXPECT_EQ(Compress(plain_, source, dir_ / "old.tkv", progress, report), Outcome::Failed);
        EXPECT_EQ(Read(dir_ / "old.tkv"), Bytes{42}) << "a target never written stays";
    }
}

} // namespace
} // namespace codetree
