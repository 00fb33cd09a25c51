#include "CodeFile.h"

#include "BitStream.h"
#include "ByteFile.h"
#include "Conversions.h"
#include "SafeReplace.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <string>
#include <system_error>
#include <utility>

namespace codetree {

namespace {

// Progress is reported, and a cancel noticed, after this many bytes or symbols.
constexpr size_t kProgressStep = 64 * 1024;
// Counts must stay exact as the forest's double weights.
constexpr double kMaxCount = 9007199254740992.0; // 2^53
// The longest count line read; a longer one is damage.
constexpr size_t kMaxCountText = 1024;

uint64_t Load64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    if constexpr (std::endian::native == std::endian::big)
        v = __builtin_bswap64(v);
    return v;
}

void Store64(uint8_t* p, uint64_t v) {
    if constexpr (std::endian::native == std::endian::big)
        v = __builtin_bswap64(v);
    std::memcpy(p, &v, sizeof v);
}

uint64_t LowBits(uint64_t v, int count) {
    return count >= 64 ? v : v & ((uint64_t{1} << count) - 1);
}

// count bits of a code starting at step first.
uint64_t CodeBits(const Code& code, int first, int count) {
    const size_t word = static_cast<size_t>(first / 64);
    const int offset = first % 64;
    uint64_t v = code.bits[word] >> offset;
    if (offset + count > 64 && word + 1 < code.bits.size())
        v |= code.bits[word + 1] << (64 - offset);
    return LowBits(v, count);
}

} // namespace

// --- code table, bit packer and reader --------------------------------------

bool BuildCodeTable(const clsNode& root, CodeTable& table) {
    table.codes.fill(Code{});
    table.fastBits.fill(0);
    table.fastLength.fill(CodeTable::kSlow);
    struct Item {
        const clsNode* node;
        Code path;
    };
    std::vector<Item> pending{{&root, Code{}}};
    int leaves = 0;
    while (!pending.empty()) {
        Item item = std::move(pending.back());
        pending.pop_back();
        const clsNode& node = *item.node;
        if (node.IsLeaf()) {
            if (node.chars.size() != 1 || ++leaves > kMaxLeaves)
                return false;
            item.path.present = true;
            table.codes[static_cast<uint8_t>(node.chars[0])] = item.path;
            continue;
        }
        const int depth = item.path.length;
        if (depth >= kMaxCodeLength)
            return false;
        Code right = item.path;
        right.bits[static_cast<size_t>(depth / 64)] |= uint64_t{1} << (depth % 64);
        right.length = static_cast<uint16_t>(depth + 1);
        Code left = item.path;
        left.length = static_cast<uint16_t>(depth + 1);
        pending.push_back({node.right.get(), right});
        pending.push_back({node.left.get(), left});
    }
    for (size_t b = 0; b < 256; ++b) {
        const Code& code = table.codes[b];
        if (code.present && code.length <= CodeTable::kFastLength) {
            table.fastBits[b] = LowBits(code.bits[0], code.length);
            table.fastLength[b] = static_cast<uint8_t>(code.length);
        }
    }
    return true;
}

BitWriter::BitWriter(platform::ByteWriter& out)
    : emit_([&out](const uint8_t* data, size_t count) { out.Write(data, count); }),
      buffer_(new uint8_t[kBlock + 8]), next_(buffer_.get()) {}

BitWriter::BitWriter(platform::SafeReplace& out)
    : emit_([&out](const uint8_t* data, size_t count) { out.Write(data, count); }),
      buffer_(new uint8_t[kBlock + 8]), next_(buffer_.get()) {}

void BitWriter::WriteBits(uint64_t bits, int count) {
    pending_ |= LowBits(bits, count) << pendingCount_;
    pendingCount_ += count;
    Store64(next_, pending_);
    next_ += pendingCount_ >> 3;
    pending_ >>= pendingCount_ & 56;
    pendingCount_ &= 7;
    if (next_ >= buffer_.get() + kBlock)
        EmitBlock();
}

void BitWriter::WriteCode(const Code& code) {
    for (int first = 0; first < code.length; first += CodeTable::kFastLength) {
        const int count = std::min<int>(CodeTable::kFastLength, code.length - first);
        WriteBits(CodeBits(code, first, count), count);
    }
}

bool BitWriter::WriteCodes(std::span<const uint8_t> data, const CodeTable& table) {
    // The state lives in locals so that the byte stores cannot make the compiler
    // reload it for every symbol.
    uint64_t pending = pending_;
    int count = pendingCount_;
    uint8_t* next = next_;
    uint8_t* const limit = buffer_.get() + kBlock;
    const uint8_t* const lengths = table.fastLength.data();
    const uint64_t* const bits = table.fastBits.data();
    const auto save = [&] {
        pending_ = pending;
        pendingCount_ = count;
        next_ = next;
    };
    const auto load = [&] {
        pending = pending_;
        count = pendingCount_;
        next = next_;
    };
    for (const uint8_t b : data) {
        const int length = lengths[b];
        if (length == CodeTable::kSlow) {
            const Code& code = table.codes[b];
            if (!code.present) {
                save();
                return false;
            }
            save();
            WriteCode(code);
            load();
            continue;
        }
        pending |= bits[b] << count;
        count += length;
        Store64(next, pending);
        next += count >> 3;
        pending >>= count & 56;
        count &= 7;
        if (next >= limit) {
            save();
            EmitBlock();
            load();
        }
    }
    save();
    return true;
}

void BitWriter::EmitBlock() {
    const size_t bytes = static_cast<size_t>(next_ - buffer_.get());
    emit_(buffer_.get(), bytes);
    emitted_ += bytes;
    next_ = buffer_.get();
}

int BitWriter::Flush() {
    int padding = 0;
    if (pendingCount_ > 0) {
        *next_++ = static_cast<uint8_t>(pending_);
        padding = 8 - pendingCount_;
        pending_ = 0;
        pendingCount_ = 0;
    }
    EmitBlock();
    return padding;
}

uint64_t BitWriter::BitCount() const {
    return (emitted_ + static_cast<uint64_t>(next_ - buffer_.get())) * 8 +
           static_cast<uint64_t>(pendingCount_);
}

BitReader::BitReader(platform::ByteReader& in) : in_(in), buffer_(new uint8_t[kBlock]) {}

void BitReader::Refill() {
    if (end_ - pos_ < 8 && !atEnd_) {
        const size_t rest = end_ - pos_;
        std::memmove(buffer_.get(), buffer_.get() + pos_, rest);
        pos_ = 0;
        end_ = rest;
        const size_t wanted = kBlock - rest;
        const size_t got = in_.Read(buffer_.get() + rest, wanted);
        end_ += got;
        atEnd_ = got < wanted;
    }
    if (end_ - pos_ >= 8) {
        // Whole bytes up to 56 or more bits; the bits loaded above them are the
        // stream's next ones, so the next refill may load them again.
        bits_ |= Load64(buffer_.get() + pos_) << count_;
        pos_ += static_cast<size_t>((63 - count_) >> 3);
        count_ |= 56;
        return;
    }
    while (count_ <= 56 && pos_ < end_) {
        bits_ |= uint64_t{buffer_[pos_++]} << count_;
        count_ += 8;
    }
}

int BitReader::ReadByteBits() {
    if (count_ < 8)
        Refill();
    if (count_ < 8)
        return -1;
    const int b = static_cast<int>(bits_ & 0xFF);
    bits_ >>= 8;
    count_ -= 8;
    return b;
}

// --- stored tree ------------------------------------------------------------

void WriteTree(BitWriter& out, const clsNode& root) {
    std::vector<const clsNode*> pending{&root};
    while (!pending.empty()) {
        const clsNode& node = *pending.back();
        pending.pop_back();
        if (node.IsLeaf()) {
            // Bit 0, then the byte from its least significant bit.
            out.WriteBits(uint64_t{static_cast<uint8_t>(node.chars[0])} << 1, 9);
            continue;
        }
        out.WriteBit(true);
        pending.push_back(node.right.get());
        pending.push_back(node.left.get());
    }
}

namespace {

// internal counts the internal nodes read so far; 256 of them would need 257
// leaves, which bounds the recursion by 256 levels as well.
std::unique_ptr<clsNode> ReadNode(BitReader& in, int& internal) {
    const int bit = in.ReadBit();
    if (bit < 0)
        return nullptr;
    auto node = std::make_unique<clsNode>();
    if (bit == 0) {
        const int b = in.ReadByteBits();
        if (b < 0)
            return nullptr;
        node->chars.assign(1, static_cast<char>(b));
        return node;
    }
    if (++internal >= kMaxLeaves)
        return nullptr;
    node->left = ReadNode(in, internal);
    if (!node->left)
        return nullptr;
    node->right = ReadNode(in, internal);
    if (!node->right)
        return nullptr;
    const clsNode& left = *node->left;
    const clsNode& right = *node->right;
    node->chars = CodeForest::MergeFileLabels(left.chars, right.chars);
    node->height = static_cast<int16_t>(std::max(left.height, right.height) + 1);
    node->pos = left.width;
    node->weight = right.weight + left.weight;
    node->width = static_cast<int16_t>(left.width + right.width + 1);
    return node;
}

} // namespace

std::unique_ptr<clsNode> ReadTree(BitReader& in) {
    int internal = 0;
    return ReadNode(in, internal);
}

bool SameTree(const clsNode& a, const clsNode& b) {
    std::vector<std::pair<const clsNode*, const clsNode*>> pending{{&a, &b}};
    while (!pending.empty()) {
        const auto [x, y] = pending.back();
        pending.pop_back();
        if (x->IsLeaf() != y->IsLeaf())
            return false;
        if (x->IsLeaf()) {
            if (x->chars.size() != 1 || y->chars.size() != 1 || x->chars[0] != y->chars[0])
                return false;
            continue;
        }
        pending.push_back({x->right.get(), y->right.get()});
        pending.push_back({x->left.get(), y->left.get()});
    }
    return true;
}

// --- decoder ----------------------------------------------------------------

Decoder::Decoder(const clsNode& root) {
    struct Item {
        const clsNode* node;
        int slot; // where in children_ this node's index goes; -1 for the root
    };
    std::vector<Item> pending{{&root, -1}};
    int internal = 0;
    while (!pending.empty()) {
        const Item item = pending.back();
        pending.pop_back();
        const clsNode& node = *item.node;
        if (node.IsLeaf()) {
            const int leaf = leafCount_++;
            symbols_[static_cast<size_t>(leaf)] =
                node.chars.empty() ? 0 : static_cast<uint8_t>(node.chars[0]);
            if (item.slot >= 0)
                children_[static_cast<size_t>(item.slot)] = static_cast<int16_t>(~leaf);
            continue;
        }
        const int index = internal++;
        children_.resize(2 * static_cast<size_t>(internal));
        if (item.slot >= 0)
            children_[static_cast<size_t>(item.slot)] = static_cast<int16_t>(index);
        pending.push_back({node.right.get(), 2 * index + 1});
        pending.push_back({node.left.get(), 2 * index});
    }
    if (leafCount_ == 1)
        return;

    table_.assign(size_t{1} << kTableBits, 0);
    struct Step {
        int node;
        uint32_t code;
        int depth;
    };
    std::vector<Step> steps{{0, 0, 0}};
    while (!steps.empty()) {
        const Step step = steps.back();
        steps.pop_back();
        if (step.depth == kTableBits) {
            table_[step.code] = kWalk | static_cast<uint32_t>(step.node);
            continue;
        }
        for (uint32_t bit = 0; bit < 2; ++bit) {
            const int child = children_[2 * static_cast<size_t>(step.node) + bit];
            const uint32_t code = step.code | bit << step.depth;
            const int length = step.depth + 1;
            if (child >= 0) {
                steps.push_back({child, code, length});
                continue;
            }
            const uint32_t leaf = static_cast<uint32_t>(~child);
            const uint32_t entry =
                leaf | uint32_t{symbols_[leaf]} << 8 | static_cast<uint32_t>(length) << 16;
            for (uint32_t k = code; k < table_.size(); k += uint32_t{1} << length)
                table_[k] = entry;
        }
    }
}

template <class Sink> size_t Decoder::Decode(BitReader& in, size_t count, Sink sink) const {
    if (leafCount_ == 1) {
        for (size_t k = 0; k < count; ++k)
            sink(0, symbols_[0]);
        return count;
    }
    constexpr uint64_t kMask = (uint64_t{1} << kTableBits) - 1;
    const uint32_t* const table = table_.data();
    const int16_t* const children = children_.data();
    uint64_t bits = in.bits_;
    int available = in.count_;
    const auto refill = [&] {
        in.bits_ = bits;
        in.count_ = available;
        in.Refill();
        bits = in.bits_;
        available = in.count_;
    };
    size_t done = 0;
    while (done < count) {
        if (available < kTableBits)
            refill();
        const uint32_t entry = table[bits & kMask];
        if (!(entry & kWalk)) {
            const int length = static_cast<int>(entry >> 16 & 0xFF);
            if (length > available)
                break;
            bits >>= length;
            available -= length;
            sink(static_cast<int>(entry & 0xFF), static_cast<uint8_t>(entry >> 8));
            ++done;
            continue;
        }
        if (available < kTableBits)
            break;
        bits >>= kTableBits;
        available -= kTableBits;
        int node = static_cast<int>(entry & 0xFF);
        while (node >= 0) {
            if (available == 0) {
                refill();
                if (available == 0)
                    break;
            }
            node = children[2 * node + static_cast<int>(bits & 1)];
            bits >>= 1;
            --available;
        }
        if (node >= 0)
            break;
        sink(~node, symbols_[static_cast<size_t>(~node)]);
        ++done;
    }
    in.bits_ = bits;
    in.count_ = available;
    return done;
}

size_t Decoder::DecodeBytes(BitReader& in, uint8_t* out, size_t count) const {
    return Decode(in, count, [&out](int, uint8_t symbol) { *out++ = symbol; });
}

size_t Decoder::CountLeaves(BitReader& in, uint64_t* counts, size_t count) const {
    return Decode(in, count, [counts](int leaf, uint8_t) { ++counts[leaf]; });
}

// --- the three long operations ----------------------------------------------

namespace {

bool IsHeaderNext(platform::ByteReader& in) {
    for (const char expected : kHeader) {
        const int c = in.ReadByte();
        if (c < 0 || c != static_cast<uint8_t>(expected))
            return false;
    }
    return true;
}

// Reads the rest of the line after the header, to the line feed, and converts its
// leading decimal number to a count, halves to even; 0 when there is none. False
// for a count below 0 or beyond 2^53, a line too long to read whole (its number
// could lie beyond what was kept) or a read error: the file is damaged.
bool ReadCount(platform::ByteReader& in, uint64_t& count) {
    std::string text;
    bool leading = true;
    for (int c = in.ReadByte(); c >= 0 && c != '\n'; c = in.ReadByte()) {
        if (leading && (c == ' ' || c == '\t'))
            continue;
        leading = false;
        if (text.size() == kMaxCountText)
            return false;
        text += static_cast<char>(c);
    }
    if (in.Failed())
        return false;
    double value = 0;
    if (!platform::ParseLeadingNumber(text, value))
        value = 0;
    value = platform::RoundHalfEven(value);
    if (!(value >= 0 && value <= kMaxCount))
        return false;
    count = static_cast<uint64_t>(value);
    return true;
}

// Reports the count done so far; false when the window cancels.
class Reporter {
public:
    explicit Reporter(Progress& progress) : progress_(progress) {}
    bool Advance(uint64_t done) {
        reported_ = true;
        last_ = done;
        return progress_.Advance(done);
    }
    // The report at the end, unless the last one was already for done.
    bool Finish(uint64_t done) { return reported_ && last_ == done ? true : Advance(done); }

private:
    Progress& progress_;
    bool reported_ = false;
    uint64_t last_ = 0;
};

Outcome CountPlain(platform::ByteReader& in, std::array<uint64_t, 256>& counts,
                   Progress& progress) {
    // Four tables, so that runs of one byte value do not wait on one counter.
    alignas(64) uint64_t tables[4][256] = {};
    Reporter reporter(progress);
    uint64_t done = 0;
    for (auto chunk = in.NextChunk(); !chunk.empty(); chunk = in.NextChunk()) {
        const uint8_t* p = chunk.data();
        const size_t n = chunk.size();
        size_t i = 0;
        for (; i + 4 <= n; i += 4) {
            ++tables[0][p[i]];
            ++tables[1][p[i + 1]];
            ++tables[2][p[i + 2]];
            ++tables[3][p[i + 3]];
        }
        for (; i < n; ++i)
            ++tables[0][p[i]];
        done += n;
        if (!reporter.Advance(done))
            return Outcome::Cancelled;
    }
    if (in.Failed())
        return Outcome::Failed;
    if (!reporter.Finish(done))
        return Outcome::Cancelled;
    for (size_t b = 0; b < 256; ++b)
        counts[b] = tables[0][b] + tables[1][b] + tables[2][b] + tables[3][b];
    return Outcome::Done;
}

void CollectLeaves(clsNode& root, std::vector<clsNode*>& leaves) {
    std::vector<clsNode*> pending{&root};
    while (!pending.empty()) {
        clsNode* node = pending.back();
        pending.pop_back();
        if (node->IsLeaf()) {
            leaves.push_back(node);
            continue;
        }
        pending.push_back(node->right.get());
        pending.push_back(node->left.get());
    }
}

Outcome OpenCompressed(platform::ByteReader& in, CodeForest& forest, Progress& progress) {
    uint64_t n = 0;
    if (!ReadCount(in, n))
        return Outcome::Failed;
    if (n == 0) {
        if (!progress.Advance(0))
            return Outcome::Cancelled;
        forest.LoadTree(nullptr);
        return Outcome::Done;
    }
    BitReader bits(in);
    std::unique_ptr<clsNode> root = ReadTree(bits);
    if (!root)
        return Outcome::Failed;
    progress.SetMaximum(n);
    const Decoder decoder(*root);
    std::vector<uint64_t> counts(static_cast<size_t>(decoder.LeafCount()), 0);
    Reporter reporter(progress);
    uint64_t done = 0;
    if (decoder.SingleLeaf()) {
        // Every symbol has the empty code: the count alone gives the weight.
        counts[0] = n;
        done = n;
    }
    while (done < n) {
        const size_t step = static_cast<size_t>(std::min<uint64_t>(n - done, kProgressStep));
        if (decoder.CountLeaves(bits, counts.data(), step) != step)
            return Outcome::Failed;
        done += step;
        if (!reporter.Advance(done))
            return Outcome::Cancelled;
    }
    if (!reporter.Finish(n))
        return Outcome::Cancelled;
    std::vector<clsNode*> leaves;
    CollectLeaves(*root, leaves);
    for (size_t k = 0; k < leaves.size(); ++k)
        leaves[k]->weight = static_cast<double>(counts[k]);
    forest.LoadTree(std::move(root));
    return Outcome::Done;
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

} // namespace

Outcome OpenFile(const std::filesystem::path& path, CodeForest& forest, bool& compressed,
                 Progress& progress) {
    compressed = false;
    const auto end = [&forest](Outcome outcome) {
        if (outcome != Outcome::Done)
            forest.ClearAll();
        return outcome;
    };
    platform::ByteReader in;
    if (!in.Open(path))
        return end(Outcome::Failed);
    progress.SetMaximum(std::max<uint64_t>(in.Size(), 1));
    compressed = IsHeaderNext(in);
    if (in.Failed())
        return end(Outcome::Failed);
    forest.ClearAll();
    if (compressed)
        return end(OpenCompressed(in, forest, progress));
    if (!in.Open(path))
        return end(Outcome::Failed);
    std::array<uint64_t, 256> counts{};
    const Outcome outcome = CountPlain(in, counts, progress);
    if (outcome == Outcome::Done)
        forest.LoadCounts(counts);
    return end(outcome);
}

Outcome Compress(const CodeForest& forest, const std::filesystem::path& source,
                 const std::filesystem::path& target, Progress& progress, CompressReport& report) {
    report = {};
    // Writing over the source would destroy it before it is read.
    if (SameFile(source, target))
        return Outcome::Failed;
    CodeTable codes;
    if (forest.Size() > 0 && !BuildCodeTable(forest.Tree(1), codes))
        return Outcome::Failed;
    platform::ByteReader in;
    if (!in.Open(source))
        return Outcome::Failed;
    const uint64_t size = in.Size();
    // The count written is the root's weight: a source of another length has
    // changed since it was opened and would not decompress to itself.
    const double symbols = forest.Size() > 0 ? forest.Tree(1).weight : 0;
    if (symbols != static_cast<double>(size) || static_cast<double>(size) > kMaxCount)
        return Outcome::Failed;
    progress.SetMaximum(std::max<uint64_t>(size, 1));
    // Written aside and renamed over the target at the end: a cancel or a failure
    // leaves the target as it was.
    platform::SafeReplace file(target);
    if (!file.Ok())
        return Outcome::Failed;
    const std::string countText = std::to_string(size);
    file.Write(kHeader);
    file.Write(countText);
    file.Write("\r\n");

    BitWriter bits(file);
    if (forest.Size() > 0)
        WriteTree(bits, forest.Tree(1));
    const uint64_t treeBits = bits.BitCount();
    Reporter reporter(progress);
    uint64_t done = 0;
    for (auto chunk = in.NextChunk(); !chunk.empty(); chunk = in.NextChunk()) {
        if (!bits.WriteCodes(chunk, codes) || file.Failed())
            return Outcome::Failed;
        done += chunk.size();
        if (!reporter.Advance(done))
            return Outcome::Cancelled;
    }
    if (in.Failed() || done != size)
        return Outcome::Failed;
    if (!reporter.Finish(done))
        return Outcome::Cancelled;
    const uint64_t dataBits = bits.BitCount() - treeBits;
    const int padding = bits.Flush();
    const uint64_t written = file.Written();
    if (!file.Commit())
        return Outcome::Failed;

    report.original = 8 * size;
    report.compressed = 8 * written;
    report.header = 8 * (kHeader.size() + 2);
    report.sizeInfo = 8 * countText.size();
    report.tree = treeBits;
    report.data = dataBits;
    report.padding = static_cast<uint64_t>(padding);
    return Outcome::Done;
}

Outcome Decomp(const CodeForest& forest, const std::filesystem::path& source,
               const std::filesystem::path& target, Progress& progress, uint64_t& sourceBytes,
               uint64_t& targetBytes) {
    sourceBytes = targetBytes = 0;
    const double rootWeight = forest.Size() > 0 ? forest.Tree(1).weight : 0;
    progress.SetMaximum(
        rootWeight > 0 && rootWeight <= kMaxCount ? static_cast<uint64_t>(rootWeight) : 1);
    if (SameFile(source, target))
        return Outcome::Failed;
    platform::ByteReader in;
    if (!in.Open(source))
        return Outcome::Failed;
    // The target is often the file that was compressed: written aside and renamed
    // over it at the end, so that a cancel or a failure leaves it as it was.
    platform::SafeReplace file(target);
    if (!file.Ok())
        return Outcome::Failed;
    for (size_t k = 0; k < kHeader.size(); ++k)
        if (in.ReadByte() < 0)
            return Outcome::Failed;
    uint64_t n = 0;
    if (!ReadCount(in, n))
        return Outcome::Failed;

    Reporter reporter(progress);
    uint64_t done = 0;
    if (n > 0) {
        BitReader bits(in);
        const std::unique_ptr<clsNode> stored = ReadTree(bits);
        // Decoding uses the tree that was opened; a file whose stored tree differs
        // has changed since and would decode to something else.
        if (!stored || forest.Size() == 0 || !SameTree(*stored, forest.Tree(1)))
            return Outcome::Failed;
        const Decoder decoder(forest.Tree(1));
        std::unique_ptr<uint8_t[]> buffer(new uint8_t[kProgressStep]);
        while (done < n) {
            const size_t step = static_cast<size_t>(std::min<uint64_t>(n - done, kProgressStep));
            if (decoder.DecodeBytes(bits, buffer.get(), step) != step)
                return Outcome::Failed;
            file.Write(buffer.get(), step);
            if (file.Failed())
                return Outcome::Failed;
            done += step;
            if (!reporter.Advance(done))
                return Outcome::Cancelled;
        }
    }
    if (in.Failed())
        return Outcome::Failed;
    if (!reporter.Finish(n))
        return Outcome::Cancelled;
    const uint64_t written = file.Written();
    if (!file.Commit())
        return Outcome::Failed;
    sourceBytes = in.Size();
    targetBytes = written;
    return Outcome::Done;
}

} // namespace codetree
