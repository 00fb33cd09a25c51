#pragma once

#include <bit>
#include <cstddef>
#include <cstring>
#include <cstdint>
#include <memory>

// The cells of column x from row yBase (a multiple of 64) on that die and that
// are born in a generation, bit i the cell at row yBase + i.
struct ChangeWord {
    int32_t x;
    int32_t yBase;
    uint64_t deaths;
    uint64_t births;
};

// One generation's changes, packed a changed column word at a time, the words
// in ascending x, then y. Three runs of bytes: the words' places, each as its
// step from the place before (from (0, 0) for the first) in one or two
// variable-length numbers; a byte a word that says which bytes of its masks
// hold its changes (from the lowest non-zero byte of either mask to the
// highest); and those bytes, a word's death bytes before its birth bytes. The
// numbers carry flag bits and the other runs have a known length per word, so
// the packing reads forward and backward alike. A history record and the
// change list are the same packing, read in opposite directions.
class ChangeRecord {
public:
    size_t Size() const { return size_t{deaths_} + births_; }
    bool Empty() const { return Size() == 0; }
    uint32_t Deaths() const { return deaths_; }
    // Bytes the packing takes.
    size_t Bytes() const { return capacity_; }
    void Clear();

    // Replaces what the record holds by count words, which must come in
    // ascending x, then yBase, each with a death or a birth.
    void Write(const ChangeWord* words, size_t count);

    // Small steps either way as small numbers: 0, -1, 1, -2, ... as 0, 1, 2, 3, ...
    static uint32_t Fold(uint32_t step) { return (step << 1) ^ (0u - (step >> 31)); }
    static uint32_t Unfold(uint32_t folded) { return (folded >> 1) ^ (0u - (folded & 1)); }
    // Seven bits a byte, lowest first, at out; gives the end. The last byte of
    // a number has its high bit clear, the others set.
    static uint8_t* Put(uint8_t* out, uint64_t v) {
        while (v >= 0x80) {
            *out++ = static_cast<uint8_t>(v | 0x80);
            v >>= 7;
        }
        *out++ = static_cast<uint8_t>(v);
        return out;
    }
    // The bytes of a word's death and birth masks from the lowest non-zero
    // byte of either to the highest, deaths first, at out, and in span where
    // they lie: the lowest's index in bits 0-2, their number (1 to 8) in bits
    // 3-6; gives the end. Writes sixteen bytes at out whatever their number,
    // and takes no branch on the masks, whose shapes are as good as random.
    static uint8_t* PutSpans(uint8_t* out, uint64_t deaths, uint64_t births, uint8_t& span) {
        const uint64_t any = deaths | births;
        const uint64_t both = any | uint64_t{any == 0}; // a word without changes as one byte
        const int low = std::countr_zero(both) >> 3;
        const int length = ((71 - std::countl_zero(both)) >> 3) - low;
        const uint64_t deathBytes = deaths >> (8 * low);
        const uint64_t birthBytes = births >> (8 * low);
        std::memcpy(out, &deathBytes, 8);
        std::memcpy(out + length, &birthBytes, 8);
        span = static_cast<uint8_t>(low | (length << 3));
        return out + 2 * length;
    }
    // Empties the record for writing anew, keeping its storage.
    void Restart();
    // The record in storage of its own size.
    ChangeRecord Copy() const;

    // Generations after this one that changed nothing; a run of them shares one
    // empty record.
    int64_t unchangedSteps = 0;

private:
    friend class ChangeReader;

    std::unique_ptr<uint8_t[]> bytes_;
    size_t capacity_ = 0;
    size_t words_ = 0;
    // The places at 0 .. placesEnd_, the spans at flagsAt_, one a word, and
    // the mask bytes at masksAt_ .. masksEnd_, then eight bytes of room that a
    // mask's reading may pass its end by.
    size_t placesEnd_ = 0;
    size_t flagsAt_ = 0;
    size_t masksAt_ = 0;
    size_t masksEnd_ = 0;
    uint32_t deaths_ = 0;
    uint32_t births_ = 0;
    uint32_t lastX_ = 0; // the place of the last word, x and yBase / 64
    uint32_t lastTy_ = 0;
};

// Reads a record cell by cell: Backward gives the births from the last down to
// the first, then the deaths likewise, each with its change after a Step (+1
// born, -1 died); Forward gives the deaths, then the births, in the order they
// were written, with the inverse changes that undo the generation.
class ChangeReader {
public:
    void Reset() { record_ = nullptr; }
    void Backward(const ChangeRecord& record);
    void Forward(const ChangeRecord& record);
    bool Next(int32_t& x, int32_t& y, int16_t& change);

private:
    // Starts a pass over the words: births first when backward, deaths first
    // when forward.
    void StartPass();
    // Moves to the next word of the pass with cells of its kind; false at the
    // end of the pass.
    bool NextWord();

    const ChangeRecord* record_ = nullptr;
    bool backward_ = false;
    int pass_ = 0;      // 0 the first pass, 1 the second
    size_t word_ = 0;   // words of the pass read
    size_t place_ = 0;  // where the next place (backward: the place before) is read
    size_t masks_ = 0;  // the mask bytes of the next word (backward: the end of them)
    uint32_t x_ = 0;
    uint32_t ty_ = 0;
    uint64_t cells_ = 0; // the current word's cells of the pass still to give
};
