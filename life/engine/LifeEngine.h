#pragma once

#include "ChangeRecord.h"
#include "Lattice.h"
#include "TilePlane.h"

#include <cstdint>
#include <deque>
#include <vector>

// The life game on an unbounded plane of signed 32-bit coordinates: a sparse
// set of live cells, one of five neighbourhoods on the square, hexagonal or
// triangular lattice, a totalistic rule (survival and birth tables indexed by
// the number of live neighbours), the change list of the last Step or
// StepBack, and a history of inverse changes bounded by its count of stored
// changes. It draws nothing: the caller reads back which cells changed.
//
// Yes/no results are bool here; the component layer turns them into 1 or 0.

struct CellChange {
    int32_t x;
    int32_t y;
    int16_t change; // +1 the cell became live, -1 it became dead
};

class LifeEngine {
public:
    LifeEngine();
    ~LifeEngine();
    LifeEngine(const LifeEngine&) = delete;
    LifeEngine& operator=(const LifeEngine&) = delete;

    bool GetCell(int32_t x, int32_t y) const;
    // Non-zero value inserts the cell, zero removes it; silent when already so.
    // Touches neither the change list nor the history.
    void PutCell(int32_t x, int32_t y, int16_t value);

    int16_t GetNeiCount() const;
    // Rebuilds the offset tables for 3, 4, 6, 8 or 12 neighbours and clears
    // both rule tables; cells, change list and history stay.
    void PutNeiCount(int16_t n);

    // Entry n of the survival (S) or birth (B) table; reads 0 and ignores puts
    // outside 0..NeiCount.
    int16_t GetRuleS(int16_t n) const;
    void PutRuleS(int16_t n, int16_t value);
    int16_t GetRuleB(int16_t n) const;
    void PutRuleB(int16_t n, int16_t value);

    void Step();

    void StartIterating();
    bool NextCell(int32_t& x, int32_t& y);

    bool NextChange(int32_t& x, int32_t& y, int16_t& change);
    bool StepBack();

    int32_t GetHistoryLimit() const;
    void PutHistoryLimit(int32_t limit);
    void CleanHistory();
    bool GetEmptyHistory() const;
    // Records the history holds (for tests of its room).
    size_t HistoryRecords() const { return history_.size(); }

    // Bytes the history's records take (for measurements of its room).
    size_t HistoryBytes() const;

private:
    TilePlane plane_;

    bool iterating_ = false;
    bool iterStarted_ = false;
    int32_t iterX_ = 0;
    int32_t iterY_ = 0;

    // The change list reads the newest history record backward after a Step,
    // and the record StepBack took off the history forward.
    ChangeReader changes_;
    ChangeRecord steppedBack_;
    ChangeRecord written_;             // where Step writes, kept for its storage
    std::deque<ChangeRecord> history_; // newest at the front
    int32_t historyLimit_ = 100000;
    int64_t historyCount_ = 0;

    int16_t neiCount_ = 8;
    Lattice lattice_ = Lattice::kSquare8;
    std::vector<uint8_t> ruleS_;
    std::vector<uint8_t> ruleB_;
};
