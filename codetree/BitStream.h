#pragma once

#include "ByteFile.h"
#include "CodeForest.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

// The bit level of Codetree's compressed files: the code table, the bit packer and
// reader, the stored tree and the table-driven decoder.
//
// Bits fill each byte from the least significant bit up. A code is the path from
// the root to a leaf, 0 for a step left and 1 for a step right; its first step is
// the first bit in the stream. A code tree of bytes has at most 256 leaves, so no
// code is longer than 255 bits.

namespace platform {
class SafeReplace;
}

namespace codetree {

inline constexpr int kMaxCodeLength = 255;
inline constexpr int kMaxLeaves = 256;

// The code of one byte value: step k of the path is bit k % 64 of bits[k / 64].
struct Code {
    std::array<uint64_t, 4> bits{};
    uint16_t length = 0;
    bool present = false; // false: the byte has no leaf
};

// codes[b] for every byte value b, and a copy of the short codes for the packer's
// inner loop.
struct CodeTable {
    static constexpr int kFastLength = 56; // longest code the inner loop packs at once
    static constexpr uint8_t kSlow = 0xFF; // fastLength of a long code or of no code

    CodeTable() { fastLength.fill(kSlow); }

    std::array<Code, 256> codes{};
    std::array<uint64_t, 256> fastBits{};
    std::array<uint8_t, 256> fastLength{};
};

// Fills codes from the tree rooted at root. False, with codes unusable, when the
// tree is no code tree of bytes: a leaf label that is not one character, more than
// 256 leaves, or a code longer than 255 bits.
bool BuildCodeTable(const clsNode& root, CodeTable& codes);

// Packs bits into bytes and hands them to a writer in blocks.
class BitWriter {
public:
    explicit BitWriter(platform::ByteWriter& out);
    explicit BitWriter(platform::SafeReplace& out);

    // The low count bits of bits, first bit first; count at most 56.
    void WriteBits(uint64_t bits, int count);
    void WriteBit(bool bit) { WriteBits(bit ? 1 : 0, 1); }
    // The 8 bits of b, least significant first.
    void WriteByteBits(uint8_t b) { WriteBits(b, 8); }
    void WriteCode(const Code& code);
    // The codes of every byte of data. False at the first byte without a code; what
    // was written by then stays written.
    bool WriteCodes(std::span<const uint8_t> data, const CodeTable& table);

    // Emits the pending bits padded with zero bits to a whole byte and hands every
    // byte to the writer. Returns the padding bits, 0 to 7.
    int Flush();

    // Bits written since construction, the padding included after Flush.
    uint64_t BitCount() const;

private:
    static constexpr size_t kBlock = 64 * 1024;

    void EmitBlock();

    std::function<void(const uint8_t*, size_t)> emit_;
    std::unique_ptr<uint8_t[]> buffer_; // kBlock bytes and room for one 8-byte store
    uint8_t* next_;                     // the byte holding the pending bits
    uint64_t pending_ = 0;              // bits not yet in a whole byte, in the low bits
    int pendingCount_ = 0;              // 0 to 7
    uint64_t emitted_ = 0;              // bytes handed to the writer
};

// Reads bits from where a reader stands, through a buffer of its own.
class BitReader {
public:
    explicit BitReader(platform::ByteReader& in);

    // The next bit, or -1 at the end of the stream.
    int ReadBit() {
        if (count_ == 0)
            Refill();
        if (count_ == 0)
            return -1;
        const int bit = static_cast<int>(bits_ & 1);
        bits_ >>= 1;
        --count_;
        return bit;
    }
    // The next 8 bits as a byte, least significant first, or -1 at the end.
    int ReadByteBits();

private:
    friend class Decoder;
    static constexpr size_t kBlock = 64 * 1024;

    // At least 56 bits in bits_ unless the stream ends first.
    void Refill();

    platform::ByteReader& in_;
    std::unique_ptr<uint8_t[]> buffer_;
    size_t pos_ = 0;
    size_t end_ = 0;
    bool atEnd_ = false;
    uint64_t bits_ = 0; // the next bits, first in bit 0; bits above count_ are the
    int count_ = 0;     // next bits as well, or 0
};

// Writes the stored tree in pre-order: 1 and both subtrees for an internal node, 0
// and the 8 bits of its byte for a leaf. The tree is one BuildCodeTable accepted.
void WriteTree(BitWriter& out, const clsNode& root);

// Reads a stored tree: labels merged from the leaves, width, height and pos set,
// weights 0. Null when the stream ends inside the tree or the tree would have more
// than 256 leaves.
std::unique_ptr<clsNode> ReadTree(BitReader& in);

// Same shape and the same byte at every leaf.
bool SameTree(const clsNode& a, const clsNode& b);

// Decodes symbols with a table of the first kTableBits bits of the stream, walking
// the tree bit by bit for longer codes. Leaves are numbered in pre-order, left
// before right. A tree of one leaf gives every symbol the empty code.
class Decoder {
public:
    static constexpr int kTableBits = 11;

    // root is a tree ReadTree could have read: at most 256 leaves.
    explicit Decoder(const clsNode& root);

    bool SingleLeaf() const { return leafCount_ == 1; }
    int LeafCount() const { return leafCount_; }
    uint8_t Symbol(int leaf) const { return symbols_[static_cast<size_t>(leaf)]; }

    // Decodes up to count symbols into out; fewer only when the stream ends.
    size_t DecodeBytes(BitReader& in, uint8_t* out, size_t count) const;
    // Decodes count symbols, adding 1 to counts[leaf] for each; fewer only when the
    // stream ends.
    size_t CountLeaves(BitReader& in, uint64_t* counts, size_t count) const;

private:
    template <class Sink> size_t Decode(BitReader& in, size_t count, Sink sink) const;

    // Entry: leaf (bits 0-7), symbol (8-15), code length (16-23); or, with kWalk,
    // the internal node at depth kTableBits (bits 0-7) to walk on from.
    static constexpr uint32_t kWalk = 1u << 24;
    std::vector<uint32_t> table_;
    // children_[2 * node + bit]: an internal node's index, or ~leaf.
    std::vector<int16_t> children_;
    std::array<uint8_t, kMaxLeaves> symbols_{};
    int leafCount_ = 0;
};

} // namespace codetree
