#include "TilePlane.h"

#include "CountPlanes.h"
#include "ProcessorClones.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <utility>

namespace {

// Tile coordinates run from -2^25 to 2^25 - 1 and wrap around.
int32_t WrapTile(int64_t t) {
    return static_cast<int32_t>(((t + (int64_t{1} << 25)) & ((int64_t{1} << 26) - 1)) -
                                (int64_t{1} << 25));
}

int32_t CellOf(int32_t tile, int offset) {
    return static_cast<int32_t>((static_cast<uint32_t>(tile) << 6) | static_cast<uint32_t>(offset));
}

// Signed (tx, ty) order as unsigned order.
uint64_t OrderKey(int32_t tx, int32_t ty) {
    return (uint64_t{static_cast<uint32_t>(tx) ^ 0x80000000u} << 32) |
           (static_cast<uint32_t>(ty) ^ 0x80000000u);
}

// Bits whose row is odd.
constexpr uint64_t kOddRows = 0xAAAAAAAAAAAAAAAAull;

} // namespace

// The counts that a rule selects, as terms of the bit-sliced compare: each
// term an aligned run of counts (1, 2, 4 or 8 of them) that agree in the count
// bits the term cares for.
struct TilePlane::Rule {
    struct Term {
        unsigned value;
        unsigned care;
    };
    Term keep[16];
    unsigned keepCount = 0;
    Term born[16];
    unsigned bornCount = 0;

    static unsigned Terms(unsigned counts, Term* terms) {
        unsigned n = 0;
        for (unsigned k = 0; k < 16;) {
            if ((counts >> k & 1) == 0) {
                ++k;
                continue;
            }
            unsigned size = 8;
            while (k % size != 0 || ((counts >> k) & ((1u << size) - 1)) != (1u << size) - 1) {
                size /= 2;
            }
            terms[n++] = Term{k, 15u & ~(size - 1)};
            k += size;
        }
        return n;
    }
};

namespace {

[[gnu::always_inline]] inline uint64_t Selected(const Planes& n, const TilePlane::Rule::Term* terms,
                                                unsigned count) {
    uint64_t out = 0;
    for (unsigned t = 0; t < count; ++t) {
        const unsigned v = terms[t].value;
        const unsigned care = terms[t].care;
        uint64_t m = ~uint64_t{0};
        if (care & 1) {
            m &= v & 1 ? n.p0 : ~n.p0;
        }
        if (care & 2) {
            m &= v & 2 ? n.p1 : ~n.p1;
        }
        if (care & 4) {
            m &= v & 4 ? n.p2 : ~n.p2;
        }
        if (care & 8) {
            m &= v & 8 ? n.p3 : ~n.p3;
        }
        out |= m;
    }
    return out;
}

} // namespace

TilePlane::TilePlane() = default;

uint32_t TilePlane::Find(int32_t tx, int32_t ty) const {
    const auto it = index_.find(Key(tx, ty));
    return it == index_.end() ? kNoTile : it->second;
}

uint32_t TilePlane::Create(int32_t tx, int32_t ty) {
    uint32_t id;
    if (!free_.empty()) {
        id = free_.back();
        free_.pop_back();
        *tiles_[id] = Tile{};
    } else {
        id = static_cast<uint32_t>(tiles_.size());
        tiles_.push_back(std::make_unique<Tile>());
    }
    Tile& tile = At(id);
    tile.self = id;
    tile.tx = tx;
    tile.ty = ty;
    index_.emplace(Key(tx, ty), id);
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            const int slot = Slot(dx, dy);
            if (slot == Slot(0, 0)) {
                tile.near[slot] = id;
                continue;
            }
            const uint32_t other = Find(WrapTile(int64_t{tx} + dx), WrapTile(int64_t{ty} + dy));
            tile.near[slot] = other;
            if (other != kNoTile) {
                At(other).near[8 - slot] = id;
            }
        }
    }
    sortedValid_ = false;
    return id;
}

void TilePlane::Drop(uint32_t id) {
    Tile& tile = At(id);
    for (int slot = 0; slot < 9; ++slot) {
        if (slot != Slot(0, 0) && tile.near[slot] != kNoTile) {
            At(tile.near[slot]).near[8 - slot] = kNoTile;
        }
    }
    index_.erase(Key(tile.tx, tile.ty));
    tile.stamp = UINT64_MAX;
    free_.push_back(id);
    sortedValid_ = false;
}

__attribute__((always_inline)) inline void TilePlane::Touch(uint32_t id, int column, uint64_t rows) {
    Tile& tile = At(id);
    if (!tile.touched) {
        tile.touched = true;
        touched_.push_back(id);
    }
    if (rows != 0) {
        const uint64_t bit = uint64_t{1} << column;
        tile.changedColumns |= bit;
        tile.southColumns |= (rows & 1) != 0 ? bit : 0;
        tile.northColumns |= (rows >> 63) != 0 ? bit : 0;
    }
}
__attribute__((always_inline)) inline void TilePlane::Schedule(uint32_t id) {
    Tile& tile = At(id);
    if (tile.stamp != stepNumber_) {
        tile.stamp = stepNumber_;
        tile.active = 0;
        scheduled_.push_back(id);
    }
}
bool TilePlane::Get(int32_t x, int32_t y) const {
    const uint32_t id = Find(x >> 6, y >> 6);
    return id != kNoTile && ((At(id).cells[x & 63] >> (y & 63)) & 1) != 0;
}

bool TilePlane::Put(int32_t x, int32_t y, bool live) {
    uint32_t id = Find(x >> 6, y >> 6);
    if (id == kNoTile) {
        if (!live) {
            return false;
        }
        id = Create(x >> 6, y >> 6);
    }
    uint64_t& word = At(id).cells[x & 63];
    const uint64_t bit = uint64_t{1} << (y & 63);
    if (((word & bit) != 0) == live) {
        return false;
    }
    word ^= bit;
    At(id).next[x & 63] = word;
    Touch(id, x & 63, bit);
    return true;
}

void TilePlane::SortTiles() {
    if (sortedValid_) {
        return;
    }
    sorted_.clear();
    for (const auto& [key, id] : index_) {
        sorted_.push_back(id);
    }
    std::sort(sorted_.begin(), sorted_.end(), [this](uint32_t a, uint32_t b) {
        return OrderKey(At(a).tx, At(a).ty) < OrderKey(At(b).tx, At(b).ty);
    });
    sortedValid_ = true;
}

// Column by column through the tiles of each tile column, from the column of
// x; in that column only from row y on.
bool TilePlane::FindFrom(int32_t x, int32_t y, int32_t& foundX, int32_t& foundY) {
    SortTiles();
    const int32_t tx = x >> 6;
    const int32_t ty = y >> 6;
    const auto begin = sorted_.begin();
    auto g = std::partition_point(begin, sorted_.end(), [&](uint32_t id) {
        return OrderKey(At(id).tx, At(id).ty) < OrderKey(tx, INT32_MIN >> 6);
    });
    while (g != sorted_.end()) {
        const int32_t groupX = At(*g).tx;
        const auto end = std::partition_point(g, sorted_.end(),
                                              [&](uint32_t id) { return At(id).tx == groupX; });
        int c = 0;
        if (groupX == tx) {
            // The column of x from row y on, then the columns after it.
            c = x & 63;
            for (auto k = std::partition_point(g, end, [&](uint32_t id) { return At(id).ty < ty; });
                 k != end; ++k) {
                const Tile& tile = At(*k);
                const uint64_t w =
                    tile.cells[c] & (tile.ty == ty ? ~uint64_t{0} << (y & 63) : ~uint64_t{0});
                if (w != 0) {
                    foundX = CellOf(groupX, c);
                    foundY = CellOf(tile.ty, std::countr_zero(w));
                    return true;
                }
            }
            ++c;
        }
        for (; c < 64; ++c) {
            for (auto k = g; k != end; ++k) {
                const Tile& tile = At(*k);
                if (tile.cells[c] != 0) {
                    foundX = CellOf(groupX, c);
                    foundY = CellOf(tile.ty, std::countr_zero(tile.cells[c]));
                    return true;
                }
            }
        }
        g = end;
    }
    return false;
}

// A change in a column changes the counts of the cells up to reach columns
// away, and a change in an edge row those of the cells beyond it.
void TilePlane::ScheduleAround(uint32_t id, int reach) {
    Schedule(id);
    const uint64_t changed = At(id).changedColumns;
    const uint64_t south = At(id).southColumns;
    const uint64_t north = At(id).northColumns;
    auto widen = [reach](uint64_t columns) {
        uint64_t out = columns;
        for (int r = 1; r <= reach; ++r) {
            out |= (columns << r) | (columns >> r);
        }
        return out;
    };
    At(id).active |= widen(changed);
    if (reach == 0) {
        return;
    }
    const uint64_t low = (uint64_t{1} << reach) - 1; // columns 0 .. reach - 1
    const uint64_t high = low << (64 - reach);       // columns 64 - reach .. 63
    const uint64_t beyond[9] = {(south & low) != 0 ? high : 0,
                                (changed & low) != 0 ? high : 0,
                                (north & low) != 0 ? high : 0,
                                widen(south),
                                0,
                                widen(north),
                                (south & high) != 0 ? low : 0,
                                (changed & high) != 0 ? low : 0,
                                (north & high) != 0 ? low : 0};
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            const int slot = Slot(dx, dy);
            if (beyond[slot] == 0) {
                continue;
            }
            uint32_t other = At(id).near[slot];
            if (other == kNoTile) {
                other =
                    Create(WrapTile(int64_t{At(id).tx} + dx), WrapTile(int64_t{At(id).ty} + dy));
            }
            Schedule(other);
            At(other).active |= beyond[slot];
        }
    }
}

// The columns of the tile and reach columns either side, each with the edge
// rows of the tiles below and above, shifted so that bit i of up holds row
// i - 1 and bit i of down row i + 1.
template <Lattice L, bool kLife> void TilePlane::Compute(Tile& tile, const Rule& rule) {
    constexpr int R = LatticeReach(L);
    constexpr int kWidth = 64 + 2 * R;
    uint64_t mid[kWidth];
    uint64_t up[kWidth];
    uint64_t down[kWidth];
    static const uint64_t kEmpty[64] = {};
    auto column = [&](int slot) -> const uint64_t* {
        const uint32_t other = tile.near[slot];
        return other == kNoTile ? kEmpty : At(other).cells;
    };
    uint64_t active = tile.active;
    uint64_t stepChanged = 0;
    tile.stepChanged = 0;
    if (active == 0) {
        return;
    }
    // Columns first - R .. last + R in the arrays at first .. last + 2R.
    const int first = std::countr_zero(active);
    const int last = 63 - std::countl_zero(active);
    for (int side = -1; side <= 1; ++side) {
        const uint64_t* here = column(Slot(side, 0));
        const uint64_t* below = column(Slot(side, -1));
        const uint64_t* above = column(Slot(side, 1));
        const int offset = side * 64; // array index e is column e - R of this tile
        const int lo = std::max(first - R, offset);
        const int hi = std::min(last + R, offset + 63);
        for (int x = lo; x <= hi; ++x) {
            const int c = x - offset;
            const int e = x + R;
            mid[e] = here[c];
            up[e] = (here[c] << 1) | (below[c] >> 63);
            down[e] = (here[c] >> 1) | (above[c] << 63);
        }
    }
    for (; active != 0; active &= active - 1) {
        const int i = std::countr_zero(active);
        const int e = i + R;
        Planes n;
        if constexpr (L == Lattice::kSquare4) {
            n.Add3(mid[e - 1], down[e], up[e]);
            n.Add(mid[e + 1]);
        } else if constexpr (L == Lattice::kSquare8) {
            // The three cells of the columns either side and the two above and
            // below: three numbers of two bits each, added.
            const uint64_t a0 = up[e - 1] ^ mid[e - 1] ^ down[e - 1];
            const uint64_t a1 = (up[e - 1] & mid[e - 1]) | (down[e - 1] & (up[e - 1] ^ mid[e - 1]));
            const uint64_t b0 = up[e + 1] ^ mid[e + 1] ^ down[e + 1];
            const uint64_t b1 = (up[e + 1] & mid[e + 1]) | (down[e + 1] & (up[e + 1] ^ mid[e + 1]));
            const uint64_t c0 = up[e] ^ down[e];
            const uint64_t c1 = up[e] & down[e];
            const uint64_t k0 = (a0 & b0) | (c0 & (a0 ^ b0));
            const uint64_t y1 = a1 ^ b1 ^ c1;
            const uint64_t k1 = (a1 & b1) | (c1 & (a1 ^ b1));
            n.p0 = a0 ^ b0 ^ c0;
            n.p1 = y1 ^ k0;
            n.p2 = k1 ^ (y1 & k0);
            n.p3 = k1 & y1 & k0;
        } else if constexpr (L == Lattice::kHex6) {
            if ((i & 1) != 0) {
                n.Add3(up[e - 1], mid[e - 1], up[e + 1]);
            } else {
                n.Add3(mid[e - 1], down[e - 1], down[e + 1]);
            }
            n.Add3(up[e], down[e], mid[e + 1]);
        } else if constexpr (L == Lattice::kTri3) {
            // Rows of parity A (x + y odd) count the cell below, the others the one above.
            const uint64_t a = (i & 1) != 0 ? ~kOddRows : kOddRows;
            n.Add3(mid[e - 1], mid[e + 1], (up[e] & a) | (down[e] & ~a));
        } else if constexpr (L == Lattice::kTri12) {
            const uint64_t a = (i & 1) != 0 ? ~kOddRows : kOddRows;
            n.Add3(up[e - 1], mid[e - 1], down[e - 1]);
            n.Add3(up[e + 1], mid[e + 1], down[e + 1]);
            n.Add3(up[e], down[e], mid[e - 2]);
            n.Add3(mid[e + 2], (up[e - 2] & a) | (down[e - 2] & ~a),
                   (up[e + 2] & a) | (down[e + 2] & ~a));
        }
        const uint64_t live = mid[e];
        if constexpr (kLife) { // 2 or 3 keeps a cell, 3 makes one
            tile.next[i] = ~n.p3 & ~n.p2 & n.p1 & (n.p0 | live);
        } else {
            const uint64_t keep = Selected(n, rule.keep, rule.keepCount);
            const uint64_t born = Selected(n, rule.born, rule.bornCount);
            tile.next[i] = (live & keep) | (~live & born);
        }
        // Without a branch: whether a column changes is as good as random.
        stepChanged |= uint64_t{tile.next[i] != live} << i;
    }
    tile.stepChanged = stepChanged;
}

template <Lattice L> void TilePlane::ComputeAll(const Rule& rule) {
    if (rule.keepCount == 1 && rule.keep[0].value == 2 && rule.keep[0].care == 14 &&
        rule.bornCount == 1 && rule.born[0].value == 3 && rule.born[0].care == 15) {
        for (uint32_t id : scheduled_) {
            Compute<L, true>(At(id), rule);
        }
        return;
    }
    for (uint32_t id : scheduled_) {
        Compute<L, false>(At(id), rule);
    }
}

// Compiled a second time for processors with the bit scans and shifts of
// later processors, chosen when the program starts.
LIFE_CLONES_FOR_LATER_PROCESSORS void
TilePlane::Step(Lattice lattice, const std::vector<uint8_t>& survival,
                const std::vector<uint8_t>& birth, ChangeRecord& record) {
    ++stepNumber_;
    if (allTouched_) {
        allTouched_ = false;
        for (const auto& [key, id] : index_) {
            for (int c = 0; c < 64; ++c) {
                Touch(id, c, At(id).cells[c]);
            }
            Touch(id, 0, 0);
        }
    }
    const int reach = LatticeReach(lattice);
    scheduled_.clear();
    for (size_t k = 0; k < touched_.size(); ++k) {
        ScheduleAround(touched_[k], reach);
    }
    for (uint32_t id : touched_) {
        Tile& tile = At(id);
        tile.touched = false;
        tile.changedColumns = 0;
        tile.southColumns = 0;
        tile.northColumns = 0;
    }
    touched_.clear();

    // Counts reach at most 12; a dead cell with no live neighbour is never born.
    unsigned keepCounts = 0;
    unsigned bornCounts = 0;
    for (unsigned k = 0; k < 16; ++k) {
        if (k < survival.size() && survival[k] != 0) {
            keepCounts |= 1u << k;
        }
        if (k >= 1 && k < birth.size() && birth[k] != 0) {
            bornCounts |= 1u << k;
        }
    }
    Rule rule;
    rule.keepCount = Rule::Terms(keepCounts, rule.keep);
    rule.bornCount = Rule::Terms(bornCounts, rule.born);
    switch (lattice) {
    case Lattice::kNone:
        ComputeAll<Lattice::kNone>(rule);
        break;
    case Lattice::kSquare4:
        ComputeAll<Lattice::kSquare4>(rule);
        break;
    case Lattice::kSquare8:
        ComputeAll<Lattice::kSquare8>(rule);
        break;
    case Lattice::kHex6:
        ComputeAll<Lattice::kHex6>(rule);
        break;
    case Lattice::kTri3:
        ComputeAll<Lattice::kTri3>(rule);
        break;
    case Lattice::kTri12:
        ComputeAll<Lattice::kTri12>(rule);
        break;
    }

    // The changed tiles in (tx, ty) order; within a tile column the cells go
    // column by column through all its tiles.
    order_.clear();
    for (uint32_t id : scheduled_) {
        const Tile& tile = At(id);
        if (tile.stepChanged != 0) {
            order_.emplace_back(OrderKey(tile.tx, tile.ty), id);
        }
    }
    std::sort(order_.begin(), order_.end());
    changed_.clear();
    for (const auto& entry : order_) {
        changed_.push_back(&At(entry.second));
    }
    // The changed words in that order: a tile column's words sorted by
    // column, keeping the tiles' order within a column.
    size_t words = 0;
    for (size_t g = 0; g < changed_.size();) {
        const int32_t tx = changed_[g]->tx;
        size_t end = g;
        while (end < changed_.size() && changed_[end]->tx == tx) {
            ++end;
        }
        auto word = [tx](const Tile& tile, int c) {
            return ChangeWord{CellOf(tx, c), CellOf(tile.ty, 0), tile.cells[c] & ~tile.next[c],
                        tile.next[c] & ~tile.cells[c]};
        };
        if (end - g == 1) {
            const Tile& tile = *changed_[g];
            if (words_.size() < words + 64) {
                words_.resize(2 * words_.size() + 64);
            }
            for (uint64_t columns = tile.stepChanged; columns != 0; columns &= columns - 1) {
                words_[words++] = word(tile, std::countr_zero(columns));
            }
        } else if (end - g <= 4) {
            // A few tiles: each column that any of them changed, through the
            // tiles in turn, a word kept where that tile changed it.
            uint64_t any = 0;
            for (size_t k = g; k < end; ++k) {
                any |= changed_[k]->stepChanged;
            }
            const size_t most = words + static_cast<size_t>(std::popcount(any)) * (end - g);
            if (words_.size() < most) {
                words_.resize(2 * most);
            }
            for (; any != 0; any &= any - 1) {
                const int c = std::countr_zero(any);
                for (size_t k = g; k < end; ++k) {
                    const Tile& tile = *changed_[k];
                    words_[words] = word(tile, c);
                    words += (tile.stepChanged >> c) & 1;
                }
            }
        } else {
            uint32_t start[65] = {}; // start[c + 1] counts column c, then becomes where it starts
            for (size_t k = g; k < end; ++k) {
                for (uint64_t columns = changed_[k]->stepChanged; columns != 0;
                     columns &= columns - 1) {
                    ++start[std::countr_zero(columns) + 1];
                }
            }
            for (int c = 0; c < 64; ++c) {
                start[c + 1] += start[c];
            }
            const size_t base = words;
            words += start[64];
            if (words_.size() < words) {
                words_.resize(2 * words);
            }
            for (size_t k = g; k < end; ++k) {
                const Tile& tile = *changed_[k];
                for (uint64_t columns = tile.stepChanged; columns != 0; columns &= columns - 1) {
                    const int c = std::countr_zero(columns);
                    words_[base + start[c]++] = word(tile, c);
                }
            }
        }
        g = end;
    }
    record.Write(words_.data(), words);

    for (Tile* tile : changed_) {
        uint64_t south = 0;
        uint64_t north = 0;
        for (uint64_t columns = tile->stepChanged; columns != 0; columns &= columns - 1) {
            const int c = std::countr_zero(columns);
            const uint64_t rows = tile->cells[c] ^ tile->next[c];
            south |= (rows & 1) << c;
            north |= (rows >> 63) << c;
            tile->cells[c] = tile->next[c];
        }
        Touch(tile->self, 0, 0);
        tile->changedColumns |= tile->stepChanged;
        tile->southColumns |= south;
        tile->northColumns |= north;
    }
    for (uint32_t id : scheduled_) {
        const Tile& tile = At(id);
        if (tile.stepChanged == 0) {
            int c = 0;
            while (c < 64 && tile.cells[c] == 0) {
                ++c;
            }
            if (c == 64) {
                Drop(id);
            }
        }
    }
}
