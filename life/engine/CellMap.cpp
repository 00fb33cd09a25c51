#include "CellMap.h"

#include <algorithm>
#include <bit>

CellMap::CellMap() : columns_(1, Node{}), cells_(1, Node{}) {}

void CellMap::Clear() {
    columns_.resize(1);
    cells_.resize(1);
    columnFree_ = kNone;
    cellFree_ = kNone;
    root_ = kNone;
    size_ = 0;
}

uint32_t CellMap::FindCell(int32_t x, int32_t y) const {
    uint32_t column = Find(columns_, root_, x);
    return column == kNone ? kNone : Find(cells_, columns_[column].value, y);
}

bool CellMap::Insert(int32_t x, int32_t y, uint32_t value) {
    bool inserted = false;
    uint32_t column = InsertKey(columns_, columnFree_, root_, x, inserted);
    if (inserted) {
        columns_[column].value = kNone;
    }
    uint32_t cellRoot = columns_[column].value;
    uint32_t cell = InsertKey(cells_, cellFree_, cellRoot, y, inserted);
    columns_[column].value = cellRoot;
    if (!inserted) {
        return false;
    }
    cells_[cell].value = value;
    ++size_;
    return true;
}

uint32_t& CellMap::FindOrInsert(int32_t x, int32_t y, uint32_t initial) {
    bool inserted = false;
    uint32_t column = InsertKey(columns_, columnFree_, root_, x, inserted);
    if (inserted) {
        columns_[column].value = kNone;
    }
    uint32_t cellRoot = columns_[column].value;
    uint32_t cell = InsertKey(cells_, cellFree_, cellRoot, y, inserted);
    columns_[column].value = cellRoot;
    if (inserted) {
        cells_[cell].value = initial;
        ++size_;
    }
    return cells_[cell].value;
}

bool CellMap::Remove(int32_t x, int32_t y) {
    uint32_t column = Find(columns_, root_, x);
    if (column == kNone) {
        return false;
    }
    uint32_t cellRoot = columns_[column].value;
    uint32_t cell = Find(cells_, cellRoot, y);
    if (cell == kNone) {
        return false;
    }
    RemoveNode(cells_, cellFree_, cellRoot, cell);
    columns_[column].value = cellRoot;
    if (cellRoot == kNone) {
        RemoveNode(columns_, columnFree_, root_, column);
    }
    --size_;
    return true;
}

void CellMap::Build(const std::vector<int32_t>& xs, const std::vector<uint32_t>& begin,
                    const std::vector<int32_t>& ys, uint32_t value) {
    size_t columnCount = xs.size();
    size_t cellCount = columnCount == 0 ? 0 : begin[columnCount];
    columns_.resize(columnCount + 1);
    cells_.resize(cellCount + 1);
    columnFree_ = kNone;
    cellFree_ = kNone;
    for (size_t i = 0; i < cellCount; ++i) {
        cells_[i + 1].key = ys[i];
        cells_[i + 1].value = value;
    }
    for (size_t i = 0; i < columnCount; ++i) {
        Node& column = columns_[i + 1];
        column.key = xs[i];
        column.value = BuildRange(cells_, begin[i] + 1, begin[i + 1] + 1, kNone);
    }
    root_ = BuildRange(columns_, 1, static_cast<uint32_t>(columnCount + 1), kNone);
    size_ = cellCount;
}

// Nodes lo .. hi - 1, keys already in order, as a tree of minimal height.
// Halving keeps both sides within one level of each other.
uint32_t CellMap::BuildRange(Pool& pool, uint32_t lo, uint32_t hi, uint32_t parent) {
    if (lo >= hi) {
        return kNone;
    }
    uint32_t mid = lo + (hi - lo) / 2;
    Node& node = pool[mid];
    node.parent = parent;
    node.height = std::bit_width(hi - lo);
    switch (hi - lo) {
    case 1:
        node.smaller = kNone;
        node.larger = kNone;
        break;
    case 2:
        node.smaller = MakeLeaf(pool, lo, mid);
        node.larger = kNone;
        break;
    case 3:
        node.smaller = MakeLeaf(pool, lo, mid);
        node.larger = MakeLeaf(pool, hi - 1, mid);
        break;
    default:
        node.smaller = BuildRange(pool, lo, mid, mid);
        node.larger = BuildRange(pool, mid + 1, hi, mid);
        break;
    }
    return mid;
}

uint32_t CellMap::MakeLeaf(Pool& pool, uint32_t node, uint32_t parent) {
    Node& leaf = pool[node];
    leaf.parent = parent;
    leaf.height = 1;
    leaf.smaller = kNone;
    leaf.larger = kNone;
    return node;
}

uint32_t CellMap::Find(const Pool& pool, uint32_t root, int32_t key) {
    uint32_t node = root;
    while (node != kNone) {
        const Node& n = pool[node];
        if (key < n.key) {
            node = n.smaller;
        } else if (key > n.key) {
            node = n.larger;
        } else {
            return node;
        }
    }
    return kNone;
}

uint32_t CellMap::Leftmost(const Pool& pool, uint32_t node) {
    if (node == kNone) {
        return kNone;
    }
    while (pool[node].smaller != kNone) {
        node = pool[node].smaller;
    }
    return node;
}

uint32_t CellMap::Successor(const Pool& pool, uint32_t node) {
    if (pool[node].larger != kNone) {
        return Leftmost(pool, pool[node].larger);
    }
    uint32_t parent = pool[node].parent;
    while (parent != kNone && pool[parent].larger == node) {
        node = parent;
        parent = pool[node].parent;
    }
    return parent;
}

uint32_t CellMap::Above(const Pool& pool, uint32_t root, int32_t key) {
    uint32_t best = kNone;
    uint32_t node = root;
    while (node != kNone) {
        if (pool[node].key > key) {
            best = node;
            node = pool[node].smaller;
        } else {
            node = pool[node].larger;
        }
    }
    return best;
}

uint32_t CellMap::NewNode(Pool& pool, uint32_t& freeList, int32_t key, uint32_t parent) {
    uint32_t node = freeList;
    if (node != kNone) {
        freeList = pool[node].parent;
    } else {
        node = static_cast<uint32_t>(pool.size());
        pool.emplace_back();
    }
    pool[node] = Node{key, 1, kNone, kNone, parent, 0};
    return node;
}

uint32_t CellMap::InsertKey(Pool& pool, uint32_t& freeList, uint32_t& root, int32_t key,
                            bool& inserted) {
    inserted = false;
    if (root == kNone) {
        root = NewNode(pool, freeList, key, kNone);
        inserted = true;
        return root;
    }
    uint32_t node = root;
    for (;;) {
        Node& n = pool[node];
        uint32_t next = key < n.key ? n.smaller : key > n.key ? n.larger : node;
        if (next == node) {
            return node;
        }
        if (next == kNone) {
            break;
        }
        node = next;
    }
    bool toSmaller = key < pool[node].key;
    uint32_t leaf = NewNode(pool, freeList, key, node);
    (toSmaller ? pool[node].smaller : pool[node].larger) = leaf;
    inserted = true;
    Rebalance(pool, root, node);
    return leaf;
}

// The node is replaced by the largest node of its smaller subtree, unlinked
// from where it was, or else by its larger subtree.
void CellMap::RemoveNode(Pool& pool, uint32_t& freeList, uint32_t& root, uint32_t node) {
    Node& gone = pool[node];
    uint32_t parent = gone.parent;
    uint32_t lowest;
    if (gone.smaller != kNone) {
        uint32_t heir = gone.smaller;
        while (pool[heir].larger != kNone) {
            heir = pool[heir].larger;
        }
        if (heir == gone.smaller) {
            lowest = heir;
        } else {
            uint32_t heirParent = pool[heir].parent;
            uint32_t heirSmaller = pool[heir].smaller;
            pool[heirParent].larger = heirSmaller;
            if (heirSmaller != kNone) {
                pool[heirSmaller].parent = heirParent;
            }
            pool[heir].smaller = gone.smaller;
            pool[gone.smaller].parent = heir;
            lowest = heirParent;
        }
        pool[heir].larger = gone.larger;
        if (gone.larger != kNone) {
            pool[gone.larger].parent = heir;
        }
        pool[heir].parent = parent;
        Relink(pool, root, parent, node, heir);
    } else {
        if (gone.larger != kNone) {
            pool[gone.larger].parent = parent;
        }
        Relink(pool, root, parent, node, gone.larger);
        lowest = parent;
    }
    gone = Node{0, 0, kNone, kNone, freeList, 0};
    freeList = node;
    Rebalance(pool, root, lowest);
}

// From node up to the root: a node whose sides differ by more than one level
// is rotated toward its shorter side; a taller child leaning the other way is
// rotated first, or the rotation would only move the imbalance across.
void CellMap::Rebalance(Pool& pool, uint32_t& root, uint32_t node) {
    while (node != kNone) {
        uint32_t parent = pool[node].parent;
        const Node& n = pool[node];
        int32_t smallerHeight = pool[n.smaller].height;
        int32_t largerHeight = pool[n.larger].height;
        if (smallerHeight > largerHeight + 1) {
            const Node& s = pool[n.smaller];
            if (pool[s.larger].height > pool[s.smaller].height) {
                RotateTowardSmaller(pool, root, n.smaller);
            }
            RotateTowardLarger(pool, root, node);
        } else if (largerHeight > smallerHeight + 1) {
            const Node& l = pool[n.larger];
            if (pool[l.smaller].height > pool[l.larger].height) {
                RotateTowardLarger(pool, root, n.larger);
            }
            RotateTowardSmaller(pool, root, node);
        } else {
            UpdateHeight(pool, node);
        }
        node = parent;
    }
}

// The smaller child rises into the node's place.
void CellMap::RotateTowardLarger(Pool& pool, uint32_t& root, uint32_t node) {
    uint32_t riser = pool[node].smaller;
    uint32_t middle = pool[riser].larger;
    uint32_t parent = pool[node].parent;
    pool[node].smaller = middle;
    if (middle != kNone) {
        pool[middle].parent = node;
    }
    pool[riser].larger = node;
    pool[node].parent = riser;
    pool[riser].parent = parent;
    Relink(pool, root, parent, node, riser);
    UpdateHeight(pool, node);
    UpdateHeight(pool, riser);
}

// The larger child rises into the node's place.
void CellMap::RotateTowardSmaller(Pool& pool, uint32_t& root, uint32_t node) {
    uint32_t riser = pool[node].larger;
    uint32_t middle = pool[riser].smaller;
    uint32_t parent = pool[node].parent;
    pool[node].larger = middle;
    if (middle != kNone) {
        pool[middle].parent = node;
    }
    pool[riser].smaller = node;
    pool[node].parent = riser;
    pool[riser].parent = parent;
    Relink(pool, root, parent, node, riser);
    UpdateHeight(pool, node);
    UpdateHeight(pool, riser);
}

void CellMap::Relink(Pool& pool, uint32_t& root, uint32_t parent, uint32_t from, uint32_t to) {
    if (parent == kNone) {
        root = to;
    } else if (pool[parent].smaller == from) {
        pool[parent].smaller = to;
    } else {
        pool[parent].larger = to;
    }
}

void CellMap::UpdateHeight(Pool& pool, uint32_t node) {
    Node& n = pool[node];
    n.height = 1 + std::max(pool[n.smaller].height, pool[n.larger].height);
}

int32_t CellMap::CheckTree(const Pool& pool, uint32_t node, uint32_t parent, int64_t lo, int64_t hi,
                           size_t& count, bool& ok) {
    if (node == kNone) {
        return 0;
    }
    if (node >= pool.size()) {
        ok = false;
        return 0;
    }
    const Node& n = pool[node];
    if (n.parent != parent || n.key <= lo || n.key >= hi) {
        ok = false;
        return 0;
    }
    ++count;
    int32_t smaller = CheckTree(pool, n.smaller, node, lo, n.key, count, ok);
    int32_t larger = CheckTree(pool, n.larger, node, n.key, hi, count, ok);
    if (n.height != 1 + std::max(smaller, larger) || smaller > larger + 1 || larger > smaller + 1) {
        ok = false;
    }
    return n.height;
}

bool CellMap::Valid() const {
    bool ok = columns_[0].height == 0 && cells_[0].height == 0;
    size_t columnCount = 0;
    CheckTree(columns_, root_, kNone, INT64_MIN, INT64_MAX, columnCount, ok);
    if (!ok) {
        return false;
    }
    size_t cellCount = 0;
    for (uint32_t column = FirstColumn(); column != kNone; column = NextColumn(column)) {
        uint32_t cellRoot = columns_[column].value;
        if (cellRoot == kNone) {
            return false;
        }
        CheckTree(cells_, cellRoot, kNone, INT64_MIN, INT64_MAX, cellCount, ok);
    }
    return ok && cellCount == size_;
}
