#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The model of Codetree: an ordered forest of binary trees from which an optimal
// prefix code is built by merging the two lightest trees one visible step at a
// time, with an undo history, and the statistics of the leaf weights shown in the
// status bar.
//
// In probability mode the user types the leaf weights and the leaves are labelled
// 1, 2, ... in entry order. In file mode every byte value of an opened file is a
// leaf whose weight is its number of occurrences, labelled with that byte.
//
// Forest positions are 1-based, as the history records them. Merging never changes
// the sum, the smallest and largest weight or the entropy; only the path length
// follows the shape of the forest.

namespace codetree {

// One node of a tree. A leaf has no children; an internal node always has both.
struct clsNode {
    // The label set: a leaf's own label, an internal node's the merged labels of
    // its leaves. File mode: one character per byte value, ascending. Probability
    // mode: decimal numbers joined by ", ".
    std::string chars;
    // A leaf's weight or count; an internal node's the sum of its children's.
    double weight = 0;
    std::unique_ptr<clsNode> left;
    std::unique_ptr<clsNode> right;
    int16_t width = 1;  // nodes in the subtree, this one included
    int16_t height = 1; // levels of the subtree
    int16_t pos = 0;    // in-order column inside its own subtree: left child's width

    bool IsLeaf() const { return left == nullptr; }
};

// The most trees the forest holds. The root over all of them has 2n - 1 nodes,
// which its 16-bit width holds, as the merge record holds their positions; and
// the view, which gives each of the 2n - 1 columns two pixels at least, keeps
// its plane within 16-bit coordinates in any window up to 16,000 pixels wide.
inline constexpr int kMaxTrees = 4096;

// Whether a weight can be added: the forest is full, or the sum, the entropy or
// the path length of some shape of the forest would leave the range of doubles.
enum class AddCheck { Ok, Full, OutOfRange };

// A merge step not yet undone: the two forest positions merged, low < high.
struct MergeRecord {
    int16_t low = 0;
    int16_t high = 0;
    bool operator==(const MergeRecord&) const = default;
};

class CodeForest {
public:
    CodeForest() = default;
    ~CodeForest();
    CodeForest(const CodeForest&) = delete;
    CodeForest& operator=(const CodeForest&) = delete;

    // The trees, positions 1 ... Size().
    int Size() const { return static_cast<int>(forest_.size()); }
    const clsNode& Tree(int position) const { return *forest_[position - 1]; }
    const std::vector<MergeRecord>& History() const { return history_; }

    // The node picked with the mouse: only a root leaf in the editing state.
    const clsNode* Selection() const { return selection_; }
    void SetSelection(const clsNode* node) { selection_ = node; }

    double MinWeight() const { return minWeight_; } // -1 while there is no leaf
    double MaxWeight() const { return maxWeight_; }
    double SumWeight() const { return sumWeight_; }
    double Entropy() const { return entropy_; } // bits per symbol
    double PathLength() const { return pathLength_; }
    bool FileMode() const { return fileMode_; }

    // Probability mode: appends a leaf of weight value, labelled Size() + 1, unless
    // CheckAdd refuses it; then nothing changes and the result is false.
    bool Add(double value);
    AddCheck CheckAdd(double value) const;
    // Removes the selected root and relabels the leaves 1 ... n in forest order.
    void Remove();
    // Divides every weight by the sum, which becomes 1.
    void Normalize();

    // One construction step: merges the two lightest trees.
    void MergeStep();
    // Undoes the latest merge step, restoring the exact forest order.
    void UndoMergeStep();
    // Recomputes the path length over the whole forest.
    void UpdateStatistics();

    // The sorted union of two label sets, by the rule of the current mode.
    std::string MergeLabels(std::string_view a, std::string_view b) const;
    static std::string MergeFileLabels(std::string_view a, std::string_view b);
    static std::string MergeProbabilityLabels(std::string_view a, std::string_view b);

    // Empties the model and leaves file mode.
    void ClearAll();

    // File mode, from a plain file: one leaf per byte value with a count above 0,
    // sorted by ascending count (a leaf goes directly after the first leaf of equal
    // count). Clears the model first.
    void LoadCounts(const std::array<uint64_t, 256>& counts);
    // File mode, from a compressed file: the forest becomes this one tree, whose
    // leaf weights the caller has set to the decoded counts; the internal weights
    // and the statistics are recomputed. Clears the model first.
    void LoadTree(std::unique_ptr<clsNode> root);

    // Adds depth x weight of every leaf of the subtree to acc.
    static void AddPathLength(const clsNode& node, double& acc, int16_t depth);

private:
    static void AddPathLength(const clsNode& root, double& acc, int depth,
                              std::vector<std::pair<const clsNode*, int>>& pending);
    void RecomputeWeights(clsNode& root);
    void ScaleWeights(clsNode& root);
    void NoteLeafWeight(double w);
    void RecomputeEntropy();

    std::vector<std::unique_ptr<clsNode>> forest_;
    std::vector<MergeRecord> history_;
    const clsNode* selection_ = nullptr;
    double minWeight_ = -1;
    double maxWeight_ = 0;
    double sumWeight_ = 0;
    double entropy_ = 0;
    double pathLength_ = 0;
    bool fileMode_ = false;
};

// A label set as the hint and the leaves show it. Probability mode: unchanged.
// File mode: its characters joined by ", ", a space as SP, 13 as CR, 10 as LF,
// 0 as NL, 9 as TB, any other code above 126 or below 21 as "[code]".
std::string LabelText(std::string_view chars, bool fileMode);

} // namespace codetree
