#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

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
    size_t Bytes() const { return bytes_.capacity(); }
    void Clear();

    // Appends cells, deaths first; cells must come in the order they are read.
    void AddDeath(int32_t x, int32_t y) {
        Add(x, y);
        ++deaths_;
    }
    void AddBirth(int32_t x, int32_t y) {
        Add(x, y);
        ++births_;
    }
    // Ends writing: the storage shrinks to the packing.
    void Seal();
    // Makes room for about n more cells.
    void Reserve(size_t n) { bytes_.reserve(bytes_.size() + 2 * n + 16); }

    // Generations after this one that changed nothing; a run of them shares one
    // empty record.
    int64_t unchangedSteps = 0;

private:
    friend class ChangeReader;
    void Add(int32_t x, int32_t y);
    void Put(uint64_t v);

    std::vector<uint8_t> bytes_;
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
