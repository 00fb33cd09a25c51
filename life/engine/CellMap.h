#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A two-level ordered map of cells: a height-balanced tree keyed by x whose
// nodes hold the tree of their column, keyed by y, whose nodes hold one value.
// A column exists only while its tree is not empty.
//
// Nodes live in two pools (columns, cells) and are linked by index; 0 is no
// node. Removal relinks nodes and never moves a key from one node to another,
// so a node keeps its key for as long as it is in the map.
class CellMap {
public:
    static constexpr uint32_t kNone = 0;

    CellMap();

    bool Empty() const { return root_ == kNone; }
    size_t Size() const { return size_; }
    void Clear();

    bool Contains(int32_t x, int32_t y) const { return FindCell(x, y) != kNone; }
    // Inserts (x, y) holding value; an existing cell keeps its value and the
    // insert reports false.
    bool Insert(int32_t x, int32_t y, uint32_t value);
    // The value of (x, y), the cell inserted first with value initial if absent.
    uint32_t& FindOrInsert(int32_t x, int32_t y, uint32_t initial);
    // Removes (x, y) and, when its column becomes empty, the column; false when absent.
    bool Remove(int32_t x, int32_t y);

    // Ordered walks by node. Column nodes and cell nodes are separate index spaces.
    uint32_t FindColumn(int32_t x) const { return Find(columns_, root_, x); }
    uint32_t FindCell(int32_t x, int32_t y) const;
    uint32_t FirstColumn() const { return Leftmost(columns_, root_); }
    uint32_t NextColumn(uint32_t column) const { return Successor(columns_, column); }
    // First column with a key greater than x.
    uint32_t ColumnAfter(int32_t x) const { return Above(columns_, root_, x); }
    uint32_t FirstInColumn(uint32_t column) const {
        return Leftmost(cells_, columns_[column].value);
    }
    uint32_t NextInColumn(uint32_t cell) const { return Successor(cells_, cell); }
    // First cell of the column with a key greater than y.
    uint32_t CellAfter(uint32_t column, int32_t y) const {
        return Above(cells_, columns_[column].value, y);
    }
    // Calls visit(y) for the cells of the column in ascending order.
    template <typename Visit> void ForEachInColumn(uint32_t column, Visit&& visit) const {
        uint32_t stack[64]; // deeper than any balanced tree of 2^32 nodes
        int depth = 0;
        uint32_t node = columns_[column].value;
        for (;;) {
            while (node != kNone) {
                stack[depth++] = node;
                node = cells_[node].smaller;
            }
            if (depth == 0) {
                return;
            }
            node = stack[--depth];
            visit(cells_[node].key);
            node = cells_[node].larger;
        }
    }
    int32_t ColumnKey(uint32_t column) const { return columns_[column].key; }
    int32_t CellKey(uint32_t cell) const { return cells_[cell].key; }
    uint32_t CellValue(uint32_t cell) const { return cells_[cell].value; }

    // Replaces the contents by sorted cells, every one holding value: column i
    // has key xs[i] and the ascending keys ys[begin[i]] .. ys[begin[i + 1] - 1]
    // (begin has xs.size() + 1 entries; no column is empty). Nodes are laid out
    // in key order, which keeps ordered walks close in memory.
    void Build(const std::vector<int32_t>& xs, const std::vector<uint32_t>& begin,
               const std::vector<int32_t>& ys, uint32_t value);

    // Checks ordering, links, heights, balance and counts; for tests.
    bool Valid() const;

private:
    struct Node {
        int32_t key;
        int32_t height; // a leaf is 1, no node is 0
        uint32_t smaller;
        uint32_t larger;
        uint32_t parent;
        uint32_t value; // column node: root of its cell tree; cell node: the value
    };
    using Pool = std::vector<Node>;

    static uint32_t Find(const Pool& pool, uint32_t root, int32_t key);
    static uint32_t Leftmost(const Pool& pool, uint32_t node);
    static uint32_t Successor(const Pool& pool, uint32_t node);
    static uint32_t Above(const Pool& pool, uint32_t root, int32_t key);
    static uint32_t NewNode(Pool& pool, uint32_t& freeList, int32_t key, uint32_t parent);
    // Inserts key and gives its node; inserted tells whether it was new.
    static uint32_t InsertKey(Pool& pool, uint32_t& freeList, uint32_t& root, int32_t key,
                              bool& inserted);
    static void RemoveNode(Pool& pool, uint32_t& freeList, uint32_t& root, uint32_t node);
    static void Rebalance(Pool& pool, uint32_t& root, uint32_t node);
    static void RotateTowardLarger(Pool& pool, uint32_t& root, uint32_t node);
    static void RotateTowardSmaller(Pool& pool, uint32_t& root, uint32_t node);
    static void Relink(Pool& pool, uint32_t& root, uint32_t parent, uint32_t from, uint32_t to);
    static void UpdateHeight(Pool& pool, uint32_t node);
    static uint32_t BuildRange(Pool& pool, uint32_t lo, uint32_t hi, uint32_t parent);
    static uint32_t MakeLeaf(Pool& pool, uint32_t node, uint32_t parent);
    static int32_t CheckTree(const Pool& pool, uint32_t node, uint32_t parent, int64_t lo,
                             int64_t hi, size_t& count, bool& ok);

    // Index 0 of both pools is the absent node: height 0, never written.
    Pool columns_;
    Pool cells_;
    uint32_t columnFree_ = kNone; // freed nodes, chained through parent
    uint32_t cellFree_ = kNone;
    uint32_t root_ = kNone;
    size_t size_ = 0;
};
