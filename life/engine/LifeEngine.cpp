#include "LifeEngine.h"

#include <algorithm>
#include <utility>

namespace {

// Lattices by their neighbour count.
Lattice LatticeOf(int16_t n) {
    switch (n) {
    case 3:
        return Lattice::kTri3;
    case 4:
        return Lattice::kSquare4;
    case 6:
        return Lattice::kHex6;
    case 8:
        return Lattice::kSquare8;
    case 12:
        return Lattice::kTri12;
    default:
        return Lattice::kNone;
    }
}

} // namespace

LifeEngine::LifeEngine() {
    PutNeiCount(8);
    ruleS_[2] = 1;
    ruleS_[3] = 1;
    ruleB_[3] = 1;
}

LifeEngine::~LifeEngine() = default;

bool LifeEngine::GetCell(int32_t x, int32_t y) const {
    return plane_.Get(x, y);
}

void LifeEngine::PutCell(int32_t x, int32_t y, int16_t value) {
    plane_.Put(x, y, value != 0);
}

int16_t LifeEngine::GetNeiCount() const {
    return neiCount_;
}

// A count without a neighbourhood of its own gets no neighbours at all, and
// rule tables of its count + 1 entries (one for a negative count): every cell
// then has 0 live neighbours.
void LifeEngine::PutNeiCount(int16_t n) {
    neiCount_ = n;
    lattice_ = LatticeOf(n);
    size_t tableSize = n > 0 ? static_cast<size_t>(n) + 1 : 1;
    ruleS_.assign(tableSize, 0);
    ruleB_.assign(tableSize, 0);
    plane_.TouchAll();
}

int16_t LifeEngine::GetRuleS(int16_t n) const {
    return n < 0 || n > neiCount_ ? 0 : ruleS_[static_cast<size_t>(n)];
}

void LifeEngine::PutRuleS(int16_t n, int16_t value) {
    if (n >= 0 && n <= neiCount_) {
        ruleS_[static_cast<size_t>(n)] = value != 0 ? 1 : 0;
        plane_.TouchAll();
    }
}

int16_t LifeEngine::GetRuleB(int16_t n) const {
    return n < 0 || n > neiCount_ ? 0 : ruleB_[static_cast<size_t>(n)];
}

void LifeEngine::PutRuleB(int16_t n, int16_t value) {
    if (n >= 0 && n <= neiCount_) {
        ruleB_[static_cast<size_t>(n)] = value != 0 ? 1 : 0;
        plane_.TouchAll();
    }
}

// The change list reads the new record backward: births first, from the last,
// then deaths. Older records go, oldest first, while the count of stored
// changes is over the limit; the new record always stays. A step that changed
// nothing after another such step adds to that step's record.
void LifeEngine::Step() {
    iterating_ = false;
    changes_.Reset();
    written_.Restart();
    plane_.Step(lattice_, ruleS_, ruleB_, written_);
    ChangeRecord record = written_.Copy();
    historyCount_ += static_cast<int64_t>(record.Size());
    while (historyCount_ > historyLimit_ && !history_.empty()) {
        historyCount_ -= static_cast<int64_t>(history_.back().Size());
        history_.pop_back();
    }
    if (record.Empty() && !history_.empty() && history_.front().unchangedSteps > 0) {
        ++history_.front().unchangedSteps;
        return;
    }
    record.unchangedSteps = record.Empty() ? 1 : 0;
    history_.push_front(std::move(record));
    changes_.Backward(history_.front());
}

void LifeEngine::StartIterating() {
    iterating_ = true;
    iterStarted_ = false;
}

// Continues from the coordinates of the last cell given out, so that removing
// that cell (or any other) cannot lose the place.
bool LifeEngine::NextCell(int32_t& x, int32_t& y) {
    if (!iterating_) {
        return false;
    }
    bool found;
    if (!iterStarted_) {
        iterStarted_ = true;
        found = plane_.FindFrom(INT32_MIN, INT32_MIN, iterX_, iterY_);
    } else if (iterY_ != INT32_MAX) {
        found = plane_.FindFrom(iterX_, iterY_ + 1, iterX_, iterY_);
    } else {
        found = iterX_ != INT32_MAX && plane_.FindFrom(iterX_ + 1, INT32_MIN, iterX_, iterY_);
    }
    if (!found) {
        iterating_ = false;
        return false;
    }
    x = iterX_;
    y = iterY_;
    return true;
}

bool LifeEngine::NextChange(int32_t& x, int32_t& y, int16_t& change) {
    return changes_.Next(x, y, change);
}

// The record taken off the history is read forward: its entries come out of
// NextChange in the order in which Step recorded them.
bool LifeEngine::StepBack() {
    if (history_.empty()) {
        return false;
    }
    changes_.Reset();
    if (history_.front().unchangedSteps > 1) {
        --history_.front().unchangedSteps;
        return true;
    }
    steppedBack_ = std::move(history_.front());
    history_.pop_front();
    historyCount_ -= static_cast<int64_t>(steppedBack_.Size());
    changes_.Forward(steppedBack_);
    return true;
}

int32_t LifeEngine::GetHistoryLimit() const {
    return historyLimit_;
}

void LifeEngine::PutHistoryLimit(int32_t limit) {
    historyLimit_ = std::max(limit, 0);
}

void LifeEngine::CleanHistory() {
    changes_.Reset();
    history_.clear();
    steppedBack_.Clear();
    historyCount_ = 0;
}

bool LifeEngine::GetEmptyHistory() const {
    return history_.empty();
}

size_t LifeEngine::HistoryBytes() const {
    size_t bytes = 0;
    for (const ChangeRecord& record : history_) {
        bytes += sizeof(ChangeRecord) + record.Bytes();
    }
    return bytes;
}
