#include "TilePlane.h"

#include <algorithm>
#include <bit>
#include <cstring>
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

// Per-bit neighbour counts 0..15 as four bit planes.
struct Planes {
    uint64_t p0 = 0;
    uint64_t p1 = 0;
    uint64_t p2 = 0;
    uint64_t p3 = 0;

    void Add(uint64_t w) {
        const uint64_t c0 = p0 & w;
        p0 ^= w;
        const uint64_t c1 = p1 & c0;
        p1 ^= c0;
        const uint64_t c2 = p2 & c1;
        p2 ^= c1;
        p3 |= c2;
    }

    // Adds three words at once.
    void Add3(uint64_t a, uint64_t b, uint64_t c) {
        const uint64_t sum = a ^ b ^ c;
        const uint64_t carry = (a & b) | (c & (a ^ b));
        const uint64_t c0 = p0 & sum;
        p0 ^= sum;
        const uint64_t t = c0 ^ carry;
        uint64_t c1 = c0 & carry;
        const uint64_t c1b = p1 & t;
        p1 ^= t;
        c1 |= c1b;
        const uint64_t c2 = p2 & c1;
        p2 ^= c1;
        p3 |= c2;
    }

    uint64_t Equal(unsigned k) const {
        return (k & 1 ? p0 : ~p0) & (k & 2 ? p1 : ~p1) & (k & 4 ? p2 : ~p2) & (k & 8 ? p3 : ~p3);
    }
};

} // namespace

// Counts that a rule selects, as lists for the bit-sliced compare.
struct TilePlane::Rule {
    uint8_t keep[16];
    uint8_t keepCount = 0;
    uint8_t born[16];
    uint8_t bornCount = 0;
};

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
        tiles_[id] = Tile{};
    } else {
        id = static_cast<uint32_t>(tiles_.size());
        tiles_.emplace_back();
    }
    Tile& tile = tiles_[id];
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
                tiles_[other].near[8 - slot] = id;
            }
        }
    }
    sortedValid_ = false;
    return id;
}

void TilePlane::Drop(uint32_t id) {
    Tile& tile = tiles_[id];
    for (int slot = 0; slot < 9; ++slot) {
        if (slot != Slot(0, 0) && tile.near[slot] != kNoTile) {
            tiles_[tile.near[slot]].near[8 - slot] = kNoTile;
        }
    }
    index_.erase(Key(tile.tx, tile.ty));
    tile.stamp = UINT64_MAX;
    free_.push_back(id);
    sortedValid_ = false;
}

void TilePlane::Touch(uint32_t id) {
    if (!tiles_[id].touched) {
        tiles_[id].touched = true;
        touched_.push_back(id);
    }
}

void TilePlane::Schedule(uint32_t id) {
    if (tiles_[id].stamp != stepNumber_) {
        tiles_[id].stamp = stepNumber_;
        scheduled_.push_back(id);
    }
}

bool TilePlane::Get(int32_t x, int32_t y) const {
    const uint32_t id = Find(x >> 6, y >> 6);
    return id != kNoTile && ((tiles_[id].cells[x & 63] >> (y & 63)) & 1) != 0;
}

bool TilePlane::Put(int32_t x, int32_t y, bool live) {
    uint32_t id = Find(x >> 6, y >> 6);
    if (id == kNoTile) {
        if (!live) {
            return false;
        }
        id = Create(x >> 6, y >> 6);
    }
    uint64_t& word = tiles_[id].cells[x & 63];
    const uint64_t bit = uint64_t{1} << (y & 63);
    if (((word & bit) != 0) == live) {
        return false;
    }
    word ^= bit;
    Touch(id);
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
        return OrderKey(tiles_[a].tx, tiles_[a].ty) < OrderKey(tiles_[b].tx, tiles_[b].ty);
    });
    sortedValid_ = true;
}

// Column by column through the tiles of each tile column, from the column of
// x; in that column only from row y on.
bool TilePlane::FindFrom(int32_t x, int32_t y, int32_t& foundX, int32_t& foundY) {
    SortTiles();
    const int32_t tx = x >> 6;
    const int32_t ty = y >> 6;
    const uint64_t from = OrderKey(tx, INT32_MIN >> 6);
    size_t g = static_cast<size_t>(std::lower_bound(sorted_.begin(), sorted_.end(), from,
                                                    [this](uint32_t id, uint64_t key) {
                                                        return OrderKey(tiles_[id].tx,
                                                                        tiles_[id].ty) < key;
                                                    }) -
                                   sorted_.begin());
    while (g < sorted_.size()) {
        const int32_t groupX = tiles_[sorted_[g]].tx;
        size_t end = g;
        while (end < sorted_.size() && tiles_[sorted_[end]].tx == groupX) {
            ++end;
        }
        const bool first = groupX == tx;
        for (int c = first ? (x & 63) : 0; c < 64; ++c) {
            const bool bounded = first && c == (x & 63);
            for (size_t k = g; k < end; ++k) {
                const Tile& tile = tiles_[sorted_[k]];
                uint64_t w = tile.cells[c];
                if (bounded) {
                    if (tile.ty < ty) {
                        continue;
                    }
                    if (tile.ty == ty) {
                        w &= ~uint64_t{0} << (y & 63);
                    }
                }
                if (w != 0) {
                    foundX = CellOf(groupX, c);
                    foundY = CellOf(tile.ty, std::countr_zero(w));
                    return true;
                }
            }
        }
        g = end;
    }
    return false;
}

void TilePlane::Grow(uint32_t id, int reach) {
    if (reach == 0) {
        return;
    }
    uint64_t all = 0;
    uint64_t west = 0;
    uint64_t east = 0;
    {
        const Tile& tile = tiles_[id];
        for (int c = 0; c < 64; ++c) {
            all |= tile.cells[c];
        }
        for (int c = 0; c < reach; ++c) {
            west |= tile.cells[c];
            east |= tile.cells[63 - c];
        }
    }
    if (all == 0) {
        return;
    }
    const bool reaches[9] = {(west & 1) != 0, west != 0, (west >> 63) != 0,
                             (all & 1) != 0,  false,     (all >> 63) != 0,
                             (east & 1) != 0, east != 0, (east >> 63) != 0};
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            const int slot = Slot(dx, dy);
            if (reaches[slot] && tiles_[id].near[slot] == kNoTile) {
                const int32_t tx = tiles_[id].tx;
                const int32_t ty = tiles_[id].ty;
                Create(WrapTile(int64_t{tx} + dx), WrapTile(int64_t{ty} + dy));
            }
        }
    }
}

// The columns of the tile and reach columns either side, each with the edge
// rows of the tiles below and above, shifted so that bit i of up holds row
// i - 1 and bit i of down row i + 1.
template <Lattice L> void TilePlane::Compute(Tile& tile, const Rule& rule) {
    constexpr int R = LatticeReach(L);
    constexpr int kWidth = 64 + 2 * R;
    uint64_t mid[kWidth];
    uint64_t up[kWidth];
    uint64_t down[kWidth];
    static const uint64_t kEmpty[64] = {};
    auto column = [&](int slot) -> const uint64_t* {
        const uint32_t other = tile.near[slot];
        return other == kNoTile ? kEmpty : tiles_[other].cells;
    };
    for (int side = -1; side <= 1; ++side) {
        const uint64_t* here = column(Slot(side, 0));
        const uint64_t* below = column(Slot(side, -1));
        const uint64_t* above = column(Slot(side, 1));
        const int lo = side < 0 ? 64 - R : 0;
        const int hi = side == 0 ? 64 : side < 0 ? 64 : R;
        const int shift = side < 0 ? -(64 - R) : side == 0 ? R : 64 + R;
        for (int c = lo; c < hi; ++c) {
            const int e = c + shift;
            mid[e] = here[c];
            up[e] = (here[c] << 1) | (below[c] >> 63);
            down[e] = (here[c] >> 1) | (above[c] << 63);
        }
    }
    for (int i = 0; i < 64; ++i) {
        const int e = i + R;
        Planes n;
        if constexpr (L == Lattice::kSquare4) {
            n.Add3(mid[e - 1], down[e], up[e]);
            n.Add(mid[e + 1]);
        } else if constexpr (L == Lattice::kSquare8) {
            n.Add3(up[e - 1], mid[e - 1], down[e - 1]);
            n.Add3(up[e + 1], mid[e + 1], down[e + 1]);
            n.Add(up[e]);
            n.Add(down[e]);
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
        uint64_t keep = 0;
        for (unsigned r = 0; r < rule.keepCount; ++r) {
            keep |= n.Equal(rule.keep[r]);
        }
        uint64_t born = 0;
        for (unsigned r = 0; r < rule.bornCount; ++r) {
            born |= n.Equal(rule.born[r]);
        }
        const uint64_t live = mid[e];
        tile.next[i] = (live & keep) | (~live & born);
    }
    tile.changed = std::memcmp(tile.next, tile.cells, sizeof tile.cells) != 0;
}

template <Lattice L> void TilePlane::ComputeAll(const Rule& rule) {
    for (uint32_t id : scheduled_) {
        Compute<L>(tiles_[id], rule);
    }
}

void TilePlane::Step(Lattice lattice, const std::vector<uint8_t>& survival,
                     const std::vector<uint8_t>& birth, ChangeRecord& record) {
    ++stepNumber_;
    if (allTouched_) {
        allTouched_ = false;
        for (const auto& [key, id] : index_) {
            Touch(id);
        }
    }
    const int reach = LatticeReach(lattice);
    for (size_t k = 0; k < touched_.size(); ++k) {
        Grow(touched_[k], reach);
    }
    scheduled_.clear();
    for (uint32_t id : touched_) {
        tiles_[id].touched = false;
        for (uint32_t other : tiles_[id].near) {
            if (other != kNoTile) {
                Schedule(other);
            }
        }
    }
    touched_.clear();

    // Counts reach at most 12; a dead cell with no live neighbour is never born.
    Rule rule;
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
    std::vector<std::pair<uint64_t, uint32_t>> order;
    order.reserve(scheduled_.size());
    size_t count = 0;
    for (uint32_t id : scheduled_) {
        const Tile& tile = tiles_[id];
        if (tile.changed) {
            order.emplace_back(OrderKey(tile.tx, tile.ty), id);
            for (int c = 0; c < 64; ++c) {
                count += static_cast<size_t>(std::popcount(tile.cells[c] ^ tile.next[c]));
            }
        }
    }
    std::sort(order.begin(), order.end());
    changed_.clear();
    for (const auto& entry : order) {
        changed_.push_back(entry.second);
    }
    record.Reserve(count);
    for (int births = 0; births < 2; ++births) {
        for (size_t g = 0; g < changed_.size();) {
            const int32_t tx = tiles_[changed_[g]].tx;
            size_t end = g;
            while (end < changed_.size() && tiles_[changed_[end]].tx == tx) {
                ++end;
            }
            for (int c = 0; c < 64; ++c) {
                const int32_t x = CellOf(tx, c);
                for (size_t k = g; k < end; ++k) {
                    const Tile& tile = tiles_[changed_[k]];
                    uint64_t m =
                        births != 0 ? tile.next[c] & ~tile.cells[c] : tile.cells[c] & ~tile.next[c];
                    for (; m != 0; m &= m - 1) {
                        const int32_t y = CellOf(tile.ty, std::countr_zero(m));
                        if (births != 0) {
                            record.AddBirth(x, y);
                        } else {
                            record.AddDeath(x, y);
                        }
                    }
                }
            }
            g = end;
        }
    }

    for (uint32_t id : changed_) {
        Tile& tile = tiles_[id];
        std::memcpy(tile.cells, tile.next, sizeof tile.cells);
        Touch(id);
    }
    for (uint32_t id : scheduled_) {
        const Tile& tile = tiles_[id];
        if (!tile.changed) {
            uint64_t any = 0;
            for (int c = 0; c < 64; ++c) {
                any |= tile.cells[c];
            }
            if (any == 0) {
                Drop(id);
            }
        }
    }
}
