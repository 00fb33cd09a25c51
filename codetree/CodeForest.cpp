#include "CodeForest.h"

#include "Conversions.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace codetree {

namespace {

// Drops a subtree without recursion, children before their parent: a tree of
// ever heavier or of equal zero weights is a chain thousands of levels deep.
void ReleaseTree(std::unique_ptr<clsNode> root) {
    std::vector<std::unique_ptr<clsNode>> pending;
    if (root)
        pending.push_back(std::move(root));
    while (!pending.empty()) {
        std::unique_ptr<clsNode> node = std::move(pending.back());
        pending.pop_back();
        if (node->left)
            pending.push_back(std::move(node->left));
        if (node->right)
            pending.push_back(std::move(node->right));
    }
}

// The values of a probability label's elements, split at ",". An empty label has none.
void SplitLabel(std::string_view label, std::vector<double>& values) {
    values.clear();
    if (label.empty())
        return;
    size_t start = 0;
    while (true) {
        const size_t comma = label.find(',', start);
        if (comma == std::string_view::npos) {
            values.push_back(platform::Val(label.substr(start)));
            return;
        }
        values.push_back(platform::Val(label.substr(start, comma - start)));
        start = comma + 1;
    }
}

// Appends value in its shortest decimal form, the text that reads back as the same value.
void AppendShortest(std::string& text, double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    text.append(buffer, result.ptr);
}

// The share of a weight in the sum, in bits. A share too small for a double
// counts as 0, as its limit is: 0 x log 0 would be NaN.
double EntropyTerm(double w, double sum) {
    const double p = w / sum;
    return p > 0 ? p * std::log(p) / std::log(2.0) : 0;
}

} // namespace

CodeForest::~CodeForest() {
    ClearAll();
}

void CodeForest::NoteLeafWeight(double w) {
    if (minWeight_ < 0 || w < minWeight_)
        minWeight_ = w;
    if (w > maxWeight_)
        maxWeight_ = w;
}

void CodeForest::RecomputeEntropy() {
    entropy_ = 0;
    for (const auto& tree : forest_) {
        const double w = tree->weight;
        if (w > 0)
            entropy_ -= EntropyTerm(w, sumWeight_);
    }
}

AddCheck CodeForest::CheckAdd(double value) const {
    if (forest_.size() >= static_cast<size_t>(kMaxTrees))
        return AddCheck::Full;
    // No leaf lies deeper than n - 1, so the path length stays below (n - 1) x sum;
    // the information, entropy x sum, stays below log2(n) x sum, no more.
    const double sum = sumWeight_ + value;
    const double deepest = std::max<double>(1, static_cast<double>(forest_.size()));
    if (!std::isfinite(value) || !std::isfinite(sum) || !std::isfinite(sum * deepest))
        return AddCheck::OutOfRange;
    return AddCheck::Ok;
}

bool CodeForest::Add(double value) {
    if (CheckAdd(value) != AddCheck::Ok)
        return false;
    auto leaf = std::make_unique<clsNode>();
    leaf->chars = std::to_string(forest_.size() + 1);
    leaf->weight = value;
    NoteLeafWeight(value);
    sumWeight_ += value;
    forest_.push_back(std::move(leaf));
    RecomputeEntropy();
    UpdateStatistics();
    return true;
}

void CodeForest::Remove() {
    for (auto it = forest_.begin(); it != forest_.end(); ++it) {
        if (it->get() == selection_) {
            std::unique_ptr<clsNode> removed = std::move(*it);
            forest_.erase(it);
            ReleaseTree(std::move(removed));
            break;
        }
    }
    maxWeight_ = 0;
    minWeight_ = -1;
    sumWeight_ = 0;
    for (size_t k = 0; k < forest_.size(); ++k) {
        clsNode& tree = *forest_[k];
        tree.chars = std::to_string(k + 1);
        NoteLeafWeight(tree.weight);
        sumWeight_ += tree.weight;
    }
    RecomputeEntropy();
    selection_ = nullptr;
    UpdateStatistics();
}

void CodeForest::Normalize() {
    // A zero sum would turn every weight into NaN; the window never offers it.
    if (sumWeight_ == 0)
        return;
    entropy_ = 0;
    minWeight_ = -1;
    maxWeight_ = 0;
    for (auto& tree : forest_)
        ScaleWeights(*tree);
    sumWeight_ = 1;
    UpdateStatistics();
}

// ScaleWeights, RecomputeWeights and AddPathLength walk with a stack of their own
// and meet the leaves from left to right, as a recursion would.

void CodeForest::ScaleWeights(clsNode& root) {
    std::vector<clsNode*> pending{&root};
    while (!pending.empty()) {
        clsNode& node = *pending.back();
        pending.pop_back();
        node.weight = node.weight / sumWeight_;
        if (!node.IsLeaf()) {
            pending.push_back(node.right.get());
            pending.push_back(node.left.get());
            continue;
        }
        const double w = node.weight;
        NoteLeafWeight(w);
        if (w > 0)
            entropy_ -= w * std::log(w) / std::log(2.0);
    }
}

void CodeForest::RecomputeWeights(clsNode& root) {
    // A node is pushed twice: to expand it, then to sum its children.
    std::vector<std::pair<clsNode*, bool>> pending{{&root, false}};
    while (!pending.empty()) {
        auto [node, summing] = pending.back();
        pending.pop_back();
        if (summing) {
            node->weight = node->right->weight + node->left->weight;
        } else if (!node->IsLeaf()) {
            pending.push_back({node, true});
            pending.push_back({node->right.get(), false});
            pending.push_back({node->left.get(), false});
        } else {
            const double w = node->weight;
            NoteLeafWeight(w);
            if (w > 0)
                entropy_ -= EntropyTerm(w, sumWeight_);
        }
    }
}

void CodeForest::MergeStep() {
    if (forest_.size() < 2)
        return;
    selection_ = nullptr;
    const auto weight = [this](size_t position) { return forest_[position - 1]->weight; };
    size_t s = 2, t = 1;
    if (weight(1) < weight(2)) {
        s = 1;
        t = 2;
    }
    for (size_t i = 3; i <= forest_.size(); ++i) {
        if (weight(i) < weight(s)) {
            t = s;
            s = i;
        } else if (weight(i) < weight(t)) {
            t = i;
        }
    }
    const clsNode& lightest = *forest_[s - 1];
    const clsNode& second = *forest_[t - 1];
    auto merged = std::make_unique<clsNode>();
    merged->chars = MergeLabels(lightest.chars, second.chars);
    merged->width = static_cast<int16_t>(lightest.width + second.width + 1);
    merged->weight = lightest.weight + second.weight;
    merged->height = static_cast<int16_t>(std::max(lightest.height, second.height) + 1);

    const size_t low = std::min(s, t), high = std::max(s, t);
    merged->left = std::move(forest_[low - 1]);
    merged->right = std::move(forest_[high - 1]);
    history_.push_back({static_cast<int16_t>(low), static_cast<int16_t>(high)});
    merged->pos = merged->left->width;
    // Both trees leave the forest and the new one stands at position low: it takes
    // the place of the left tree, and only the right tree's place closes up.
    forest_[low - 1] = std::move(merged);
    forest_.erase(forest_.begin() + static_cast<std::ptrdiff_t>(high - 1));
}

void CodeForest::UndoMergeStep() {
    if (history_.empty())
        return;
    const MergeRecord record = history_.back();
    history_.pop_back();
    const size_t low = static_cast<size_t>(record.low), high = static_cast<size_t>(record.high);
    // The history only ever holds steps of this forest; anything else is dropped unread.
    if (low < 1 || high <= low || low > forest_.size() || high > forest_.size() + 1 ||
        forest_[low - 1]->IsLeaf())
        return;
    std::unique_ptr<clsNode> merged = std::move(forest_[low - 1]);
    forest_[low - 1] = std::move(merged->left);
    forest_.insert(forest_.begin() + static_cast<std::ptrdiff_t>(high - 1),
                   std::move(merged->right));
    if (selection_ == merged.get())
        selection_ = nullptr;
}

void CodeForest::AddPathLength(const clsNode& node, double& acc, int16_t depth) {
    std::vector<std::pair<const clsNode*, int>> pending;
    AddPathLength(node, acc, depth, pending);
}

void CodeForest::AddPathLength(const clsNode& root, double& acc, int depth,
                               std::vector<std::pair<const clsNode*, int>>& pending) {
    if (root.IsLeaf()) {
        acc += depth * root.weight;
        return;
    }
    pending.assign(1, {&root, depth});
    while (!pending.empty()) {
        const auto [node, level] = pending.back();
        pending.pop_back();
        if (node->IsLeaf()) {
            acc += level * node->weight;
        } else {
            pending.push_back({node->right.get(), level + 1});
            pending.push_back({node->left.get(), level + 1});
        }
    }
}

void CodeForest::UpdateStatistics() {
    pathLength_ = 0;
    std::vector<std::pair<const clsNode*, int>> pending;
    for (const auto& tree : forest_)
        AddPathLength(*tree, pathLength_, 0, pending);
}

std::string CodeForest::MergeLabels(std::string_view a, std::string_view b) const {
    return fileMode_ ? MergeFileLabels(a, b) : MergeProbabilityLabels(a, b);
}

std::string CodeForest::MergeFileLabels(std::string_view a, std::string_view b) {
    std::string merged;
    merged.reserve(a.size() + b.size());
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]))
            merged += a[i++];
        else
            merged += b[j++];
    }
    merged.append(a.substr(i));
    merged.append(b.substr(j));
    return merged;
}

std::string CodeForest::MergeProbabilityLabels(std::string_view a, std::string_view b) {
    std::vector<double> as, bs;
    SplitLabel(a, as);
    SplitLabel(b, bs);
    std::string merged;
    merged.reserve(a.size() + b.size() + 2);
    const auto append = [&merged](double value) {
        AppendShortest(merged, value);
        merged += ", ";
    };
    size_t i = 0, j = 0;
    while (i < as.size() && j < bs.size()) {
        if (as[i] < bs[j])
            append(as[i++]);
        else
            append(bs[j++]);
    }
    for (; i < as.size(); ++i)
        append(as[i]);
    for (; j < bs.size(); ++j)
        append(bs[j]);
    if (!merged.empty())
        merged.resize(merged.size() - 2);
    return merged;
}

void CodeForest::ClearAll() {
    selection_ = nullptr;
    maxWeight_ = 0;
    minWeight_ = -1;
    sumWeight_ = 0;
    entropy_ = 0;
    pathLength_ = 0;
    for (auto& tree : forest_)
        ReleaseTree(std::move(tree));
    forest_.clear();
    history_.clear();
    fileMode_ = false;
}

void CodeForest::LoadCounts(const std::array<uint64_t, 256>& counts) {
    ClearAll();
    fileMode_ = true;
    for (size_t b = 0; b < counts.size(); ++b) {
        if (counts[b] == 0)
            continue;
        auto leaf = std::make_unique<clsNode>();
        leaf->chars.assign(1, static_cast<char>(b));
        leaf->weight = static_cast<double>(counts[b]);
        const double w = leaf->weight;
        NoteLeafWeight(w);
        sumWeight_ += w;
        if (forest_.empty()) {
            forest_.push_back(std::move(leaf));
            continue;
        }
        size_t j = 1;
        while (j < forest_.size() && forest_[j - 1]->weight < w)
            ++j;
        const size_t index = w < forest_[j - 1]->weight ? j - 1 : j;
        forest_.insert(forest_.begin() + static_cast<std::ptrdiff_t>(index), std::move(leaf));
    }
    RecomputeEntropy();
    UpdateStatistics();
}

void CodeForest::LoadTree(std::unique_ptr<clsNode> root) {
    ClearAll();
    fileMode_ = true;
    if (!root)
        return;
    // The total of the leaves, without recursion: the caller's tree may be deep.
    std::vector<const clsNode*> pending{root.get()};
    double total = 0;
    while (!pending.empty()) {
        const clsNode* node = pending.back();
        pending.pop_back();
        if (node->IsLeaf()) {
            total += node->weight;
        } else {
            pending.push_back(node->right.get());
            pending.push_back(node->left.get());
        }
    }
    sumWeight_ = total;
    entropy_ = 0;
    maxWeight_ = 0;
    minWeight_ = -1;
    RecomputeWeights(*root);
    forest_.push_back(std::move(root));
    UpdateStatistics();
}

std::string LabelText(std::string_view chars, bool fileMode) {
    if (!fileMode)
        return std::string(chars);
    std::string text;
    text.reserve(chars.size() * 4);
    for (size_t k = 0; k < chars.size(); ++k) {
        if (k > 0)
            text += ", ";
        const auto code = static_cast<unsigned char>(chars[k]);
        switch (code) {
        case ' ':
            text += "SP";
            break;
        case 13:
            text += "CR";
            break;
        case 10:
            text += "LF";
            break;
        case 0:
            text += "NL";
            break;
        case 9:
            text += "TB";
            break;
        default:
            if (code > 126 || code < 21) {
                text += '[';
                text += std::to_string(code);
                text += ']';
            } else {
                text += static_cast<char>(code);
            }
        }
    }
    return text;
}

} // namespace codetree
