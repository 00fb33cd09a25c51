#pragma once

#include "CellMap.h"
#include "Lattice.h"
#include "LifeEngine.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

// The life engine as it stepped before its tiles: the live set in a CellMap,
// each generation swept column by column (ColumnSweep), and a tally of dead
// neighbours near the coordinate limits. Kept as the reference that the
// differential test steps beside LifeEngine.
class ColumnSweep;

class SweepEngine {
public:
    SweepEngine();
    ~SweepEngine();
    SweepEngine(const SweepEngine&) = delete;
    SweepEngine& operator=(const SweepEngine&) = delete;

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

private:
    using Record = std::vector<CellChange>;

    void StepByTally();
    void RecordStep();

    CellMap live_;
    // Bumped by every change of the live set; lets an enumeration continue
    // from its node when nothing changed since the last cell it gave out.
    uint64_t liveVersion_ = 0;

    bool iterating_ = false;
    bool iterStarted_ = false;
    uint64_t iterVersion_ = 0;
    uint32_t iterColumn_ = CellMap::kNone;
    uint32_t iterCell_ = CellMap::kNone;
    int32_t iterX_ = 0;
    int32_t iterY_ = 0;

    // One generation's inverse changes; a run of generations that changed
    // nothing is one empty record counting them, so that a run on a still
    // pattern keeps its history in constant room.
    struct HistoryRecord {
        Record changes;
        int64_t unchangedSteps = 0;
    };

    std::vector<CellChange> changes_;   // top is the back
    std::deque<HistoryRecord> history_; // newest at the front
    Record spareRecord_;                // storage of a dropped record, for reuse
    int32_t historyLimit_ = 100000;
    int64_t historyCount_ = 0;

    int16_t neiCount_ = 8;
    Lattice lattice_ = Lattice::kSquare8;
    std::vector<uint8_t> ruleS_;
    std::vector<uint8_t> ruleB_;
    std::vector<int16_t> dxA_;
    std::vector<int16_t> dxB_;
    std::vector<int16_t> dyA_;
    std::vector<int16_t> dyB_;

    // The live set in the sweep's form; current while sweepLoaded_.
    std::unique_ptr<ColumnSweep> sweep_;
    bool sweepLoaded_ = false;
    std::vector<CellChange> births_;
    // Scratch of the tally, kept for its storage.
    CellMap tally_;
    std::vector<CellChange> nextCells_;
    std::vector<int32_t> nextX_;
    std::vector<uint32_t> nextBegin_;
    std::vector<int32_t> nextY_;
};
