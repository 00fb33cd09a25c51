#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>

// One generation's changes, packed: the deaths in ascending x, then y, followed
// by the births likewise, each cell stored as its step from the one before
// (from (0, 0) for the first) in one or two variable-length numbers. A step
// within the column is one number, usually a byte; a step to another column
// is two. Every number carries a flag bit, so the packing reads forward and
// backward alike. A history record and the change list are the same packing,
// read in opposite directions.
class ChangeRecord {
public:
    size_t Size() const { return size_t{deaths_} + births_; }
    bool Empty() const { return Size() == 0; }
    uint32_t Deaths() const { return deaths_; }
    // Bytes the packing takes.
    size_t Bytes() const { return capacity_; }
    void Clear();

    // Appends cells, deaths first; cells must come in the order they are read.
    // A word of a column: the cells whose bit is set in rows, bit i the cell at
    // row yBase + i.
    void AddDeaths(int32_t x, int32_t yBase, uint64_t rows) { deaths_ += Add(x, yBase, rows); }
    void AddBirths(int32_t x, int32_t yBase, uint64_t rows) { births_ += Add(x, yBase, rows); }

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
    // Empties the record for writing anew, keeping its storage.
    void Restart();
    // The record in storage of its own size.
    ChangeRecord Copy() const;

    // Generations after this one that changed nothing; a run of them shares one
    // empty record.
    int64_t unchangedSteps = 0;

private:
    friend class ChangeReader;
    uint32_t Add(int32_t x, int32_t yBase, uint64_t rows);
    void Grow();

    std::unique_ptr<uint8_t[]> bytes_; // the first used_ bytes hold the packing
    size_t used_ = 0;
    size_t capacity_ = 0;
    uint32_t deaths_ = 0;
    uint32_t births_ = 0;
    uint32_t lastX_ = 0;
    uint32_t lastY_ = 0;
};

// Reads a record cell by cell: Backward gives the births from the last down to
// the first, then the deaths likewise, each with its change after a Step (+1
// born, -1 died); Forward gives the cells in the order they were written, with
// the inverse changes that undo the generation.
class ChangeReader {
public:
    void Reset() { record_ = nullptr; }
    void Backward(const ChangeRecord& record);
    void Forward(const ChangeRecord& record);
    bool Next(int32_t& x, int32_t& y, int16_t& change);

private:
    const ChangeRecord* record_ = nullptr;
    bool backward_ = false;
    size_t pos_ = 0;
    uint32_t index_ = 0; // cells read
    uint32_t x_ = 0;
    uint32_t y_ = 0;
};

// Each number holds its value above a flag bit: a step to another column is
// its x step, then its y step, both flagged; a step within the column is its
// y step alone, unflagged. A cell takes at most ten bytes.
inline uint32_t ChangeRecord::Add(int32_t x, int32_t yBase, uint64_t rows) {
    if (capacity_ - used_ < 640) {
        Grow();
    }
    uint8_t* const start = bytes_.get() + used_;
    uint8_t* out = start;
    uint32_t lastY = lastY_;
    uint32_t count = 0;
    if (static_cast<uint32_t>(x) != lastX_) {
        const uint32_t y =
            static_cast<uint32_t>(yBase) + static_cast<uint32_t>(std::countr_zero(rows));
        out = Put(out, (uint64_t{Fold(static_cast<uint32_t>(x) - lastX_)} << 1) | 1);
        out = Put(out, (uint64_t{Fold(y - lastY)} << 1) | 1);
        lastX_ = static_cast<uint32_t>(x);
        lastY = y;
        rows &= rows - 1;
        ++count;
    }
    for (; rows != 0; rows &= rows - 1) {
        const uint32_t y =
            static_cast<uint32_t>(yBase) + static_cast<uint32_t>(std::countr_zero(rows));
        const uint32_t dy = y - lastY;
        lastY = y;
        ++count;
        if (dy < 32) { // one byte: a step up of under 32 rows
            *out++ = static_cast<uint8_t>(dy << 2);
        } else {
            out = Put(out, uint64_t{Fold(dy)} << 1);
        }
    }
    lastY_ = lastY;
    used_ += static_cast<size_t>(out - start);
    return count;
}
