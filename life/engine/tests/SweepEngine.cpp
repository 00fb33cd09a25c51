#include "SweepEngine.h"

#include "ColumnSweep.h"

#include <algorithm>
#include <utility>

namespace {

// Payload of every live cell; never read.
constexpr uint32_t kLiveMarker = 1;

struct Offset {
    int16_t dx;
    int16_t dy;
};

constexpr Offset kSquare4[] = {{-1, 0}, {0, 1}, {0, -1}, {1, 0}};
constexpr Offset kSquare8[] = {{-1, 0},  {0, 1},  {0, -1}, {1, 0},
                               {-1, -1}, {-1, 1}, {1, -1}, {1, 1}};
constexpr Offset kHex6A[] = {{-1, -1}, {-1, 0}, {0, -1}, {0, 1}, {1, -1}, {1, 0}};
constexpr Offset kHex6B[] = {{-1, 0}, {-1, 1}, {0, -1}, {0, 1}, {1, 0}, {1, 1}};
constexpr Offset kTri3A[] = {{-1, 0}, {1, 0}, {0, -1}};
constexpr Offset kTri3B[] = {{-1, 0}, {1, 0}, {0, 1}};
constexpr Offset kTri12A[] = {{-1, 0}, {1, 0},  {0, -1}, {-1, -1}, {-1, 1},  {1, -1},
                              {1, 1},  {-2, 0}, {2, 0},  {0, 1},   {-2, -1}, {2, -1}};
constexpr Offset kTri12B[] = {{-1, 0}, {1, 0},  {0, 1}, {-1, -1}, {-1, 1}, {1, -1},
                              {1, 1},  {-2, 0}, {2, 0}, {0, -1},  {-2, 1}, {2, 1}};

template <size_t N>
void Fill(const Offset (&table)[N], std::vector<int16_t>& dx, std::vector<int16_t>& dy) {
    for (const Offset& o : table) {
        dx.push_back(o.dx);
        dy.push_back(o.dy);
    }
}

// Coordinates wrap around at the 32-bit limits.
int32_t Wrap(int32_t v, int16_t d) {
    return static_cast<int32_t>(static_cast<uint32_t>(v) + static_cast<uint32_t>(int32_t{d}));
}

bool Before(const CellChange& a, const CellChange& b) {
    return a.x != b.x ? a.x < b.x : a.y < b.y;
}

} // namespace

SweepEngine::SweepEngine() : sweep_(std::make_unique<ColumnSweep>()) {
    PutNeiCount(8);
    ruleS_[2] = 1;
    ruleS_[3] = 1;
    ruleB_[3] = 1;
}

SweepEngine::~SweepEngine() = default;

bool SweepEngine::GetCell(int32_t x, int32_t y) const {
    return live_.Contains(x, y);
}

void SweepEngine::PutCell(int32_t x, int32_t y, int16_t value) {
    bool changed = value != 0 ? live_.Insert(x, y, kLiveMarker) : live_.Remove(x, y);
    if (changed) {
        ++liveVersion_;
        sweepLoaded_ = false;
    }
}

int16_t SweepEngine::GetNeiCount() const {
    return neiCount_;
}

// A count without a neighbourhood of its own gets no neighbours at all, and
// rule tables of its count + 1 entries (one for a negative count): every cell
// then has 0 live neighbours.
void SweepEngine::PutNeiCount(int16_t n) {
    neiCount_ = n;
    size_t tableSize = n > 0 ? static_cast<size_t>(n) + 1 : 1;
    ruleS_.assign(tableSize, 0);
    ruleB_.assign(tableSize, 0);
    dxA_.clear();
    dxB_.clear();
    dyA_.clear();
    dyB_.clear();
    switch (n) {
    case 3:
        Fill(kTri3A, dxA_, dyA_);
        Fill(kTri3B, dxB_, dyB_);
        lattice_ = Lattice::kTri3;
        break;
    case 4:
        Fill(kSquare4, dxA_, dyA_);
        Fill(kSquare4, dxB_, dyB_);
        lattice_ = Lattice::kSquare4;
        break;
    case 6:
        Fill(kHex6A, dxA_, dyA_);
        Fill(kHex6B, dxB_, dyB_);
        lattice_ = Lattice::kHex6;
        break;
    case 8:
        Fill(kSquare8, dxA_, dyA_);
        Fill(kSquare8, dxB_, dyB_);
        lattice_ = Lattice::kSquare8;
        break;
    case 12:
        Fill(kTri12A, dxA_, dyA_);
        Fill(kTri12B, dxB_, dyB_);
        lattice_ = Lattice::kTri12;
        break;
    default:
        lattice_ = Lattice::kNone;
        break;
    }
}

int16_t SweepEngine::GetRuleS(int16_t n) const {
    return n < 0 || n > neiCount_ ? 0 : ruleS_[static_cast<size_t>(n)];
}

void SweepEngine::PutRuleS(int16_t n, int16_t value) {
    if (n >= 0 && n <= neiCount_) {
        ruleS_[static_cast<size_t>(n)] = value != 0 ? 1 : 0;
    }
}

int16_t SweepEngine::GetRuleB(int16_t n) const {
    return n < 0 || n > neiCount_ ? 0 : ruleB_[static_cast<size_t>(n)];
}

void SweepEngine::PutRuleB(int16_t n, int16_t value) {
    if (n >= 0 && n <= neiCount_) {
        ruleB_[static_cast<size_t>(n)] = value != 0 ? 1 : 0;
    }
}

// The sweep gives the same changes in the same order as the tally; it only
// cannot wrap around the coordinate limits, where the tally takes over.
void SweepEngine::Step() {
    iterating_ = false;
    changes_.clear();
    births_.clear();
    if (!sweepLoaded_) {
        sweep_->Load(live_);
        sweepLoaded_ = true;
    }
    if (sweep_->FitsWithin(LatticeReach(lattice_))) {
        sweep_->Step(lattice_, ruleS_, ruleB_, changes_, births_);
        sweep_->Store(live_, kLiveMarker);
    } else {
        StepByTally();
        sweepLoaded_ = false;
    }
    ++liveVersion_;
    RecordStep();
}

// Each live cell counts its live neighbours and tallies its dead ones; the
// tallied cells are then born by their counts.
void SweepEngine::StepByTally() {
    const bool byColumn = lattice_ == Lattice::kHex6;
    const bool byCell = lattice_ == Lattice::kTri3 || lattice_ == Lattice::kTri12;
    const size_t count = dxA_.size();
    std::vector<CellChange>& survivors = nextCells_;
    survivors.clear();
    tally_.Clear();
    for (uint32_t column = live_.FirstColumn(); column != CellMap::kNone;
         column = live_.NextColumn(column)) {
        const int32_t x = live_.ColumnKey(column);
        for (uint32_t cell = live_.FirstInColumn(column); cell != CellMap::kNone;
             cell = live_.NextInColumn(cell)) {
            const int32_t y = live_.CellKey(cell);
            const bool useA = byColumn ? (x & 1) != 0 : byCell ? ((x ^ y) & 1) != 0 : true;
            const std::vector<int16_t>& dx = useA ? dxA_ : dxB_;
            const std::vector<int16_t>& dy = useA ? dyA_ : dyB_;
            size_t k = 0;
            for (size_t j = 0; j < count; ++j) {
                const int32_t nx = Wrap(x, dx[j]);
                const int32_t ny = Wrap(y, dy[j]);
                if (live_.Contains(nx, ny)) {
                    ++k;
                } else {
                    ++tally_.FindOrInsert(nx, ny, 0);
                }
            }
            if (ruleS_[k] != 0) {
                survivors.push_back(CellChange{x, y, +1});
            } else {
                changes_.push_back(CellChange{x, y, -1});
            }
        }
    }
    for (uint32_t column = tally_.FirstColumn(); column != CellMap::kNone;
         column = tally_.NextColumn(column)) {
        const int32_t x = tally_.ColumnKey(column);
        for (uint32_t cell = tally_.FirstInColumn(column); cell != CellMap::kNone;
             cell = tally_.NextInColumn(cell)) {
            const uint32_t c = tally_.CellValue(cell);
            if (c < ruleB_.size() && ruleB_[c] != 0) {
                births_.push_back(CellChange{x, tally_.CellKey(cell), +1});
            }
        }
    }
    tally_.Clear();

    // Survivors and births, both in order, merged into the next live set.
    nextX_.clear();
    nextBegin_.assign(1, 0);
    nextY_.clear();
    size_t s = 0;
    size_t b = 0;
    while (s < survivors.size() || b < births_.size()) {
        const bool takeSurvivor =
            b == births_.size() || (s < survivors.size() && Before(survivors[s], births_[b]));
        const CellChange& cell = takeSurvivor ? survivors[s++] : births_[b++];
        if (nextX_.empty() || nextX_.back() != cell.x) {
            if (!nextX_.empty()) {
                nextBegin_.push_back(static_cast<uint32_t>(nextY_.size()));
            }
            nextX_.push_back(cell.x);
        }
        nextY_.push_back(cell.y);
    }
    if (!nextX_.empty()) {
        nextBegin_.push_back(static_cast<uint32_t>(nextY_.size()));
    }
    live_.Build(nextX_, nextBegin_, nextY_, kLiveMarker);
}

// The change list holds the deaths, then the births; the history record their
// inverses in the same order. Older records go, oldest first, while the count
// of stored changes is over the limit; the new record always stays. A step
// that changed nothing after another such step adds to that step's record.
void SweepEngine::RecordStep() {
    changes_.reserve(changes_.size() + births_.size());
    changes_.insert(changes_.end(), births_.begin(), births_.end());
    Record record;
    std::swap(record, spareRecord_);
    record.clear();
    record.reserve(changes_.size());
    for (const CellChange& c : changes_) {
        record.push_back(CellChange{c.x, c.y, static_cast<int16_t>(-c.change)});
    }
    historyCount_ += static_cast<int64_t>(record.size());
    while (historyCount_ > historyLimit_ && !history_.empty()) {
        Record& oldest = history_.back().changes;
        historyCount_ -= static_cast<int64_t>(oldest.size());
        if (oldest.capacity() > spareRecord_.capacity()) {
            std::swap(oldest, spareRecord_);
        }
        history_.pop_back();
    }
    if (record.empty() && !history_.empty() && history_.front().unchangedSteps > 0) {
        ++history_.front().unchangedSteps;
        if (record.capacity() > spareRecord_.capacity()) {
            std::swap(record, spareRecord_);
        }
        return;
    }
    const int64_t unchanged = record.empty() ? 1 : 0;
    history_.push_front(HistoryRecord{std::move(record), unchanged});
}

void SweepEngine::StartIterating() {
    iterating_ = true;
    iterStarted_ = false;
}

// Continues from the node of the last cell given out while the live set is
// unchanged; otherwise from its coordinates, so that removing that cell (or
// any other) cannot lose the place.
bool SweepEngine::NextCell(int32_t& x, int32_t& y) {
    if (!iterating_) {
        return false;
    }
    uint32_t column;
    uint32_t cell;
    if (!iterStarted_) {
        iterStarted_ = true;
        column = live_.FirstColumn();
        cell = column != CellMap::kNone ? live_.FirstInColumn(column) : CellMap::kNone;
    } else if (iterVersion_ == liveVersion_) {
        column = iterColumn_;
        cell = live_.NextInColumn(iterCell_);
        if (cell == CellMap::kNone) {
            column = live_.NextColumn(column);
            cell = column != CellMap::kNone ? live_.FirstInColumn(column) : CellMap::kNone;
        }
    } else {
        column = live_.FindColumn(iterX_);
        cell = column != CellMap::kNone ? live_.CellAfter(column, iterY_) : CellMap::kNone;
        if (cell == CellMap::kNone) {
            column = live_.ColumnAfter(iterX_);
            cell = column != CellMap::kNone ? live_.FirstInColumn(column) : CellMap::kNone;
        }
    }
    if (cell == CellMap::kNone) {
        iterating_ = false;
        return false;
    }
    iterColumn_ = column;
    iterCell_ = cell;
    iterVersion_ = liveVersion_;
    iterX_ = live_.ColumnKey(column);
    iterY_ = live_.CellKey(cell);
    x = iterX_;
    y = iterY_;
    return true;
}

bool SweepEngine::NextChange(int32_t& x, int32_t& y, int16_t& change) {
    if (changes_.empty()) {
        return false;
    }
    const CellChange& top = changes_.back();
    x = top.x;
    y = top.y;
    change = top.change;
    changes_.pop_back();
    return true;
}

// The record's entries, popped one by one onto the change list, come out of
// NextChange in the order in which Step recorded them.
bool SweepEngine::StepBack() {
    if (history_.empty()) {
        return false;
    }
    if (history_.front().unchangedSteps > 1) {
        --history_.front().unchangedSteps;
        changes_.clear();
        return true;
    }
    Record& newest = history_.front().changes;
    historyCount_ -= static_cast<int64_t>(newest.size());
    std::swap(changes_, newest);
    std::reverse(changes_.begin(), changes_.end());
    if (newest.capacity() > spareRecord_.capacity()) {
        std::swap(newest, spareRecord_);
    }
    history_.pop_front();
    return true;
}

int32_t SweepEngine::GetHistoryLimit() const {
    return historyLimit_;
}

void SweepEngine::PutHistoryLimit(int32_t limit) {
    historyLimit_ = std::max(limit, 0);
}

void SweepEngine::CleanHistory() {
    history_.clear();
    changes_.clear();
    historyCount_ = 0;
}

bool SweepEngine::GetEmptyHistory() const {
    return history_.empty();
}
