#include "ColumnSweep.h"

#include "CountPlanes.h"

#include <algorithm>
#include <bit>

namespace {

constexpr int32_t kLowestBlock = INT32_MIN >> 6;
constexpr int32_t kHighestBlock = INT32_MAX >> 6;
// Bits whose row is odd.
constexpr uint64_t kOddRows = 0xAAAAAAAAAAAAAAAAull;

int32_t BlockOf(int32_t y) {
    return y >> 6;
}
uint64_t BitOf(int32_t y) {
    return uint64_t{1} << (static_cast<uint32_t>(y) & 63);
}
int32_t RowOf(int64_t block, int bit) {
    return static_cast<int32_t>((static_cast<uint32_t>(block) << 6) | static_cast<uint32_t>(bit));
}

// One source column: its block range, a cursor for candidate blocks and one
// for fetching words.
struct Source {
    uint32_t scan = 0;
    uint32_t fetch = 0;
    uint32_t end = 0;
};

} // namespace

void ColumnSweep::Generation::Clear() {
    columnX.clear();
    columnBegin.assign(1, 0);
    blockKey.clear();
    blockBits.clear();
    cells = 0;
}

ColumnSweep::ColumnSweep() {
    current_.Clear();
    next_.Clear();
}

void ColumnSweep::Load(const CellMap& cells) {
    Generation& g = current_;
    g.Clear();
    for (uint32_t column = cells.FirstColumn(); column != CellMap::kNone;
         column = cells.NextColumn(column)) {
        g.columnX.push_back(cells.ColumnKey(column));
        size_t first = g.blockKey.size();
        cells.ForEachInColumn(column, [&](int32_t y) {
            int32_t block = BlockOf(y);
            if (g.blockKey.size() > first && g.blockKey.back() == block) {
                g.blockBits.back() |= BitOf(y);
            } else {
                g.blockKey.push_back(block);
                g.blockBits.push_back(BitOf(y));
            }
        });
        g.columnBegin.push_back(static_cast<uint32_t>(g.blockKey.size()));
    }
    g.cells = cells.Size();
}

void ColumnSweep::Store(CellMap& cells, uint32_t value) {
    const Generation& g = current_;
    cellBegin_.clear();
    cellY_.clear();
    cellBegin_.push_back(0);
    size_t columnCount = g.columnX.size();
    for (size_t c = 0; c < columnCount; ++c) {
        for (uint32_t j = g.columnBegin[c]; j < g.columnBegin[c + 1]; ++j) {
            int64_t block = g.blockKey[j];
            for (uint64_t bits = g.blockBits[j]; bits != 0; bits &= bits - 1) {
                cellY_.push_back(RowOf(block, std::countr_zero(bits)));
            }
        }
        cellBegin_.push_back(static_cast<uint32_t>(cellY_.size()));
    }
    cells.Build(g.columnX, cellBegin_, cellY_, value);
}

bool ColumnSweep::FitsWithin(int reach) const {
    const Generation& g = current_;
    if (g.columnX.empty()) {
        return true;
    }
    if (int64_t{g.columnX.front()} - reach < INT32_MIN ||
        int64_t{g.columnX.back()} + reach > INT32_MAX) {
        return false;
    }
    for (size_t c = 0; c + 1 < g.columnBegin.size(); ++c) {
        uint32_t first = g.columnBegin[c];
        uint32_t last = g.columnBegin[c + 1] - 1;
        if ((g.blockKey[first] == kLowestBlock && (g.blockBits[first] & 1) != 0) ||
            (g.blockKey[last] == kHighestBlock && (g.blockBits[last] >> 63) != 0)) {
            return false;
        }
    }
    return true;
}

void ColumnSweep::Step(Lattice lattice, const std::vector<uint8_t>& survival,
                       const std::vector<uint8_t>& birth, std::vector<CellChange>& deaths,
                       std::vector<CellChange>& births) {
    // Counts reach at most 12; a dead cell with no live neighbour is never born.
    RuleCounts rule;
    for (unsigned k = 0; k < 16; ++k) {
        if (k < survival.size() && survival[k] != 0) {
            rule.keep[rule.keepCount++] = static_cast<uint8_t>(k);
        }
        if (k >= 1 && k < birth.size() && birth[k] != 0) {
            rule.born[rule.bornCount++] = static_cast<uint8_t>(k);
        }
    }
    switch (lattice) {
    case Lattice::kNone:
        Sweep<Lattice::kNone>(rule, deaths, births);
        break;
    case Lattice::kSquare4:
        Sweep<Lattice::kSquare4>(rule, deaths, births);
        break;
    case Lattice::kSquare8:
        Sweep<Lattice::kSquare8>(rule, deaths, births);
        break;
    case Lattice::kHex6:
        Sweep<Lattice::kHex6>(rule, deaths, births);
        break;
    case Lattice::kTri3:
        Sweep<Lattice::kTri3>(rule, deaths, births);
        break;
    case Lattice::kTri12:
        Sweep<Lattice::kTri12>(rule, deaths, births);
        break;
    }
    std::swap(current_, next_);
}

// Every column within reach of a live column is a target. For each target
// column the blocks of its source columns (the target and its neighbour
// columns) are merged in y order; a source block also makes its neighbour
// block a candidate when its edge row is live. For each candidate block the
// counts of all 64 cells are added bit-sliced from shifted source words.
template <Lattice L>
void ColumnSweep::Sweep(const RuleCounts& rule, std::vector<CellChange>& deaths,
                        std::vector<CellChange>& births) {
    constexpr int kReach = LatticeReach(L);
    constexpr int kSources = 2 * kReach + 1;
    const Generation& cur = current_;
    Generation& nxt = next_;
    nxt.Clear();
    nxt.columnX.reserve(cur.columnX.size() + 2 * kReach + 1);
    nxt.columnBegin.reserve(cur.columnBegin.size() + 2 * kReach + 1);
    nxt.blockKey.reserve(cur.blockKey.size() + cur.blockKey.size() / 4);
    nxt.blockBits.reserve(cur.blockKey.size() + cur.blockKey.size() / 4);
    deaths.reserve(deaths.size() + cur.cells);
    births.reserve(births.size() + cur.cells / 2);
    const int32_t* key = cur.blockKey.data();
    const uint64_t* bits = cur.blockBits.data();
    const size_t columnCount = cur.columnX.size();
    size_t columnCursor[kSources] = {};
    int64_t lastTarget = INT64_MIN;

    for (size_t i = 0; i < columnCount; ++i) {
        for (int t = -kReach; t <= kReach; ++t) {
            const int64_t target = int64_t{cur.columnX[i]} + t;
            if (target <= lastTarget) {
                continue;
            }
            lastTarget = target;
            const int32_t x = static_cast<int32_t>(target);

            Source src[kSources];
            int present[kSources];
            int presentCount = 0;
            for (int d = 0; d < kSources; ++d) {
                const int64_t sourceX = target + d - kReach;
                size_t& c = columnCursor[d];
                while (c < columnCount && cur.columnX[c] < sourceX) {
                    ++c;
                }
                if (c < columnCount && cur.columnX[c] == sourceX) {
                    src[d].scan = src[d].fetch = cur.columnBegin[c];
                    src[d].end = cur.columnBegin[c + 1];
                    present[presentCount++] = d;
                }
            }
            // Rows of parity A: for the triangular lattices x + y odd, for the
            // hexagonal one the whole column when x is odd.
            const uint64_t parityA = (x & 1) != 0 ? ~kOddRows : kOddRows;
            const bool oddColumn = (x & 1) != 0;

            bool columnOpen = false;
            int64_t last = INT64_MIN;
            for (;;) {
                int64_t block = INT64_MAX;
                for (int p = 0; p < presentCount; ++p) {
                    Source& s = src[present[p]];
                    uint32_t j = s.scan;
                    while (j < s.end && int64_t{key[j]} + int64_t(bits[j] >> 63) <= last) {
                        ++j;
                    }
                    s.scan = j;
                    if (j < s.end) {
                        const int64_t k = key[j];
                        const int64_t head = ((bits[j] & 1) != 0 && k - 1 > last) ? k - 1
                                             : k > last                           ? k
                                                                                  : k + 1;
                        block = std::min(block, head);
                    }
                }
                if (block == INT64_MAX) {
                    break;
                }
                last = block;

                // up[d]: bit i holds the cell one row below (y - 1) in source d;
                // mid[d]: the same row; down[d]: one row above (y + 1).
                uint64_t up[kSources] = {};
                uint64_t mid[kSources] = {};
                uint64_t down[kSources] = {};
                for (int p = 0; p < presentCount; ++p) {
                    const int d = present[p];
                    Source& s = src[d];
                    uint32_t f = s.fetch;
                    while (f < s.end && key[f] < block - 1) {
                        ++f;
                    }
                    s.fetch = f;
                    uint64_t before = 0;
                    uint64_t here = 0;
                    uint64_t after = 0;
                    if (f < s.end && key[f] == block - 1) {
                        before = bits[f++];
                    }
                    if (f < s.end && key[f] == block) {
                        here = bits[f++];
                    }
                    if (f < s.end && key[f] == block + 1) {
                        after = bits[f];
                    }
                    up[d] = (here << 1) | (before >> 63);
                    mid[d] = here;
                    down[d] = (here >> 1) | (after << 63);
                }

                // Index kReach + dx is the column x + dx.
                Planes n;
                if constexpr (L == Lattice::kSquare4) {
                    n.Add3(mid[0], down[1], up[1]);
                    n.Add(mid[2]);
                } else if constexpr (L == Lattice::kSquare8) {
                    n.Add3(up[0], mid[0], down[0]);
                    n.Add3(up[2], mid[2], down[2]);
                    n.Add(up[1]);
                    n.Add(down[1]);
                } else if constexpr (L == Lattice::kHex6) {
                    if (oddColumn) {
                        n.Add3(up[0], mid[0], up[2]);
                        n.Add3(up[1], down[1], mid[2]);
                    } else {
                        n.Add3(mid[0], down[0], down[2]);
                        n.Add3(up[1], down[1], mid[2]);
                    }
                } else if constexpr (L == Lattice::kTri3) {
                    n.Add3(mid[0], mid[2], (up[1] & parityA) | (down[1] & ~parityA));
                } else if constexpr (L == Lattice::kTri12) {
                    n.Add3(up[1], mid[1], down[1]);
                    n.Add3(up[3], mid[3], down[3]);
                    n.Add3(up[2], down[2], mid[0]);
                    n.Add3(mid[4], (up[0] & parityA) | (down[0] & ~parityA),
                           (up[4] & parityA) | (down[4] & ~parityA));
                }
                (void)parityA;
                (void)oddColumn;

                uint64_t keep = 0;
                for (unsigned r = 0; r < rule.keepCount; ++r) {
                    keep |= n.Equal(rule.keep[r]);
                }
                uint64_t born = 0;
                for (unsigned r = 0; r < rule.bornCount; ++r) {
                    born |= n.Equal(rule.born[r]);
                }
                const uint64_t live = mid[kReach];
                const uint64_t after = (live & keep) | (~live & born);
                for (uint64_t m = live & ~after; m != 0; m &= m - 1) {
                    deaths.push_back(CellChange{x, RowOf(block, std::countr_zero(m)), -1});
                }
                for (uint64_t m = after & ~live; m != 0; m &= m - 1) {
                    births.push_back(CellChange{x, RowOf(block, std::countr_zero(m)), +1});
                }
                if (after != 0) {
                    if (!columnOpen) {
                        nxt.columnX.push_back(x);
                        columnOpen = true;
                    }
                    nxt.blockKey.push_back(static_cast<int32_t>(block));
                    nxt.blockBits.push_back(after);
                    nxt.cells += static_cast<size_t>(std::popcount(after));
                }
            }
            if (columnOpen) {
                nxt.columnBegin.push_back(static_cast<uint32_t>(nxt.blockKey.size()));
            }
        }
    }
}
