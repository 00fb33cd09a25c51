// Tests of Codetree's forest: the merge order and its undo, the label sets of both
// modes, the editing operations and the statistics.

#include "CodeForest.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace {

using namespace codetree;

void AddAll(CodeForest& forest, std::initializer_list<double> weights) {
    for (double w : weights)
        forest.Add(w);
}

std::vector<const clsNode*> Roots(const CodeForest& forest) {
    std::vector<const clsNode*> roots;
    for (int i = 1; i <= forest.Size(); ++i)
        roots.push_back(&forest.Tree(i));
    return roots;
}

std::string Labels(const CodeForest& forest) {
    std::string text;
    for (const clsNode* root : Roots(forest))
        text += "[" + root->chars + "]";
    return text;
}

TEST(CodeForestTest, MergeStepTieBreaksAndInsertionPlace) {
    const struct {
        std::initializer_list<double> weights;
        MergeRecord record;
        std::string left, after;
    } cases[] = {
        {{1, 1, 1}, {1, 2}, "1", "[1, 2][3]"},         {{2, 1, 1}, {2, 3}, "2", "[1][2, 3]"},
        {{5, 3, 3, 3}, {2, 3}, "2", "[1][2, 3][4]"},   {{3, 1, 2}, {2, 3}, "2", "[1][2, 3]"},
        {{2, 2, 1}, {2, 3}, "2", "[1][2, 3]"},         // of two equal, the second is lighter
        {{1, 3, 2, 0.5}, {1, 4}, "1", "[1, 4][2][3]"}, // the earlier position goes left
    };
    for (const auto& c : cases) {
        CodeForest forest;
        AddAll(forest, c.weights);
        forest.SetSelection(&forest.Tree(1));
        forest.MergeStep();
        ASSERT_EQ(forest.History(), std::vector<MergeRecord>{c.record}) << c.after;
        EXPECT_EQ(Labels(forest), c.after);
        const clsNode& merged = forest.Tree(c.record.low);
        EXPECT_EQ(merged.left->chars, c.left);
        EXPECT_TRUE(merged.width == 3 && merged.height == 2 && merged.pos == 1);
        EXPECT_EQ(forest.Selection(), nullptr);
    }
    CodeForest single;
    single.Add(1);
    single.MergeStep();
    EXPECT_TRUE(single.History().empty());
}

TEST(CodeForestTest, UndoRestoresTheExactOrder) {
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        CodeForest forest;
        const int n = 2 + static_cast<int>(random() % 12);
        for (int k = 0; k < n; ++k)
            forest.Add(static_cast<double>(random() % 4));
        const double sum = forest.SumWeight(), entropy = forest.Entropy();
        std::vector<std::pair<std::vector<const clsNode*>, std::string>> snapshots;
        for (int op = 0; op < 30; ++op) {
            if (random() % 3 != 0 && forest.Size() >= 2) {
                snapshots.push_back({Roots(forest), Labels(forest)});
                forest.MergeStep();
            } else if (!snapshots.empty()) {
                forest.UndoMergeStep();
                ASSERT_EQ(Roots(forest), snapshots.back().first) << round << " " << op;
                EXPECT_EQ(Labels(forest), snapshots.back().second);
                snapshots.pop_back();
            }
            ASSERT_EQ(forest.History().size(), snapshots.size());
        }
        EXPECT_TRUE(forest.SumWeight() == sum && forest.Entropy() == entropy);
    }
}

TEST(CodeForestTest, MergeLabels) {
    const struct {
        std::string_view a, b, merged;
    } cases[] = {
        {"3", "1, 2", "1, 2, 3"}, {"2.50, 10", " 3", "2.5, 3, 10"}, // by value, shortest form
        {"x", "1", "0, 1"},       {"0", "-0", "-0, 0"},             // equal values: b first
        {"", "4", "4"},           {"1e300", "0.000001", "1e-06, 1e+300"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CodeForest::MergeProbabilityLabels(c.a, c.b), c.merged) << c.a;
    EXPECT_EQ(CodeForest::MergeFileLabels("\xC8", "\x01z"), "\x01z\xC8") << "codes are unsigned";
}

TEST(CodeForestTest, RemoveAndNormalize) {
    CodeForest forest;
    AddAll(forest, {0.5, 0.125, 0.25});
    forest.SetSelection(&forest.Tree(2));
    forest.Remove();
    EXPECT_EQ(Labels(forest), "[1][2]");
    EXPECT_TRUE(forest.SumWeight() == 0.75 && forest.MinWeight() == 0.25 && !forest.Selection());
    forest.Add(0);
    EXPECT_EQ(Labels(forest), "[1][2][3]");
    EXPECT_NEAR(forest.Entropy(), 0.918296, 1e-6) << "a zero weight adds nothing";

    AddAll(forest, {2, 0.7});
    const double before = forest.Entropy(), sum = forest.SumWeight();
    forest.MergeStep();
    forest.Normalize();
    EXPECT_EQ(forest.SumWeight(), 1);
    EXPECT_NEAR(forest.Entropy(), before, 1e-12);
    EXPECT_DOUBLE_EQ(forest.Tree(2).weight, 0.25 / sum) << "internal nodes scale too";
    EXPECT_DOUBLE_EQ(forest.MaxWeight(), 2 / sum);
    EXPECT_DOUBLE_EQ(forest.PathLength(), 0.25 / sum);

    CodeForest zero;
    zero.Add(0);
    zero.Normalize();
    EXPECT_EQ(zero.Tree(1).weight, 0) << "a zero sum leaves the weights alone";
}

// Every statistic stays a number: a weight that would take the sum, the path
// length of some shape or the information beyond the doubles is refused.
TEST(CodeForestTest, AddRefusesWeightsTheStatisticsCannotHold) {
    CodeForest twice;
    EXPECT_TRUE(twice.Add(1e308));
    EXPECT_EQ(twice.CheckAdd(1e308), AddCheck::OutOfRange);
    EXPECT_FALSE(twice.Add(1e308));
    EXPECT_TRUE(twice.Size() == 1 && twice.SumWeight() == 1e308);

    // A share too small for a double adds nothing to the entropy.
    CodeForest tiny;
    AddAll(tiny, {1e307, 1e-300});
    EXPECT_TRUE(std::isfinite(tiny.Entropy())) << tiny.Entropy();
    EXPECT_EQ(tiny.Entropy(), 0);

    // Doubling weights merge into a chain, whose deepest leaf lies n - 1 levels down.
    CodeForest chain;
    double w = 1e290;
    EXPECT_TRUE(chain.Add(w));
    while (chain.Add(w))
        w *= 2;
    EXPECT_EQ(chain.CheckAdd(w), AddCheck::OutOfRange);
    EXPECT_GT(chain.Size(), 40);
    while (chain.Size() >= 2)
        chain.MergeStep();
    chain.UpdateStatistics();
    EXPECT_EQ(chain.Tree(1).height, chain.History().size() + 1) << "a chain";
    EXPECT_TRUE(std::isfinite(chain.PathLength())) << chain.PathLength();
    EXPECT_TRUE(std::isfinite(chain.Entropy() * chain.SumWeight()));
    EXPECT_EQ(CodeForest().CheckAdd(std::numeric_limits<double>::infinity()),
              AddCheck::OutOfRange);
}

// No more trees than a root's 16-bit width holds over all of them, and every
// merge undone back to the leaves in their order.
TEST(CodeForestTest, TheForestHoldsWhatItsFieldsHold) {
    CodeForest forest;
    for (int k = 0; k < kMaxTrees; ++k)
        ASSERT_TRUE(forest.Add(1));
    EXPECT_EQ(forest.CheckAdd(1), AddCheck::Full);
    EXPECT_FALSE(forest.Add(1));
    EXPECT_EQ(forest.Size(), kMaxTrees);
    while (forest.Size() >= 2)
        forest.MergeStep();
    EXPECT_EQ(forest.Tree(1).width, 2 * kMaxTrees - 1);
    EXPECT_EQ(forest.Tree(1).height, 13);
    for (const MergeRecord& r : forest.History())
        ASSERT_TRUE(r.low >= 1 && r.low < r.high) << r.low << ":" << r.high;
    while (!forest.History().empty())
        forest.UndoMergeStep();
    ASSERT_EQ(forest.Size(), kMaxTrees);
    for (int i = 1; i <= kMaxTrees; ++i)
        ASSERT_EQ(forest.Tree(i).chars, std::to_string(i));
}

TEST(CodeForestTest, LoadCountsSortsAndTheTreeGivesTheCodeLength) {
    CodeForest forest;
    std::array<uint64_t, 256> counts{};
    counts['a'] = counts['b'] = counts['c'] = 4;
    counts['x'] = counts[200] = 1;
    counts['y'] = 2;
    forest.LoadCounts(counts);
    EXPECT_EQ(Labels(forest), "[x][\xC8][y][a][c][b]");
    EXPECT_DOUBLE_EQ(forest.Entropy(), 2.375);
    while (forest.Size() >= 2)
        forest.MergeStep();
    forest.UpdateStatistics();
    EXPECT_EQ(forest.Tree(1).chars, "abcxy\xC8");
    EXPECT_EQ(forest.PathLength(), 38) << "codes of 4, 4, 3, 2, 2 and 2 bits";
}

TEST(CodeForestTest, LoadTreeRecomputesAndReleasesADeepChain) {
    constexpr int kDepth = 1000000; // far deeper than a recursion could walk
    auto root = std::make_unique<clsNode>();
    clsNode* node = root.get();
    for (int k = 0; k < kDepth; ++k, node = node->right.get()) {
        node->left = std::make_unique<clsNode>();
        node->left->weight = 1;
        node->right = std::make_unique<clsNode>();
    }
    node->weight = 2;
    CodeForest forest;
    forest.LoadTree(std::move(root));
    EXPECT_TRUE(forest.Tree(1).weight == kDepth + 2 && forest.SumWeight() == kDepth + 2);
    EXPECT_EQ(forest.PathLength(), double{kDepth} * (kDepth + 1) / 2 + 2.0 * kDepth);
    forest.ClearAll();
}

TEST(CodeForestTest, LabelText) {
    const struct {
        std::string_view chars, text;
    } cases[] = {
        {" A\xC8", "SP, A, [200]"},
        {std::string_view("\r\n\0\t", 4), "CR, LF, NL, TB"},
        {"\x14\x15~\x7F", "[20], \x15, ~, [127]"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LabelText(c.chars, true), c.text);
    EXPECT_EQ(LabelText("1, 2", false), "1, 2");
}

} // namespace
