// Tests of the rule tables: the complement transform, the record of complementing steps, rule
// lines, the rule code, and the predefined rules.

#include "RuleTransform.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

using namespace lifeboard;
using Ints = std::vector<int>;

constexpr int16_t kCounts[] = {3, 4, 6, 8, 12};

RuleTables RandomRule(std::mt19937& rng, int16_t n) {
    RuleTables rule;
    for (int k = 0; k <= n; ++k) {
        rule.survival[k] = rng() & 1;
        rule.birth[k] = rng() & 1;
    }
    return rule;
}

Ints Survival(const RuleTables& r, int16_t n) {
    return CountsOf(r.survival, n);
}
Ints Birth(const RuleTables& r, int16_t n) {
    return CountsOf(r.birth, n);
}

TEST(ComplementTest, IsItsOwnInverseAndTheStepPiecesComposeToIt) {
    std::mt19937 rng(3);
    for (const int16_t n : kCounts) {
        for (int i = 0; i < 200; ++i) {
            const RuleTables rule = RandomRule(rng, n);
            const RuleTables complement = ComplementRule(rule, n);
            EXPECT_EQ(ComplementRule(complement, n), rule);
            EXPECT_EQ(MirrorEntries(InvertEntries(rule, n), n), complement);
            for (int k = n + 1; k <= kMaxNeiCount; ++k) {
                EXPECT_EQ(complement.survival[k], 0) << "entries above n stay clear";
                EXPECT_EQ(complement.birth[k], 0);
            }
        }
    }
}

TEST(ComplementTest, BirthOnZeroRulesOfBothKinds) {
    // Survival entry n clear: the transformed rule again gives birth on 0.
    const RuleTables flipping = MakeRule({}, {0, 1});
    const RuleTables t = ComplementRule(flipping, 8);
    EXPECT_EQ(Birth(t, 8), (Ints{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(Survival(t, 8), (Ints{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_TRUE(ComplementsOnStep(t));
    // Survival entry n set: later steps are ordinary ones on the dead cells.
    const RuleTables settling = MakeRule({2, 4}, {0, 3});
    const RuleTables u = ComplementRule(settling, 4);
    EXPECT_EQ(Birth(u, 4), (Ints{1, 3, 4}));
    EXPECT_EQ(Survival(u, 4), (Ints{0, 2, 3}));
    EXPECT_FALSE(ComplementsOnStep(u));
}

TEST(FlipHistoryTest, RemembersARunOfStepsAndForgetsThoseSteppedBackOver) {
    FlipHistory flips;
    EXPECT_EQ(flips.Latest(), -1);
    for (const int32_t g : {2, 3, 4, 5, 6, 9})
        flips.Push(g);
    EXPECT_EQ(flips.Latest(), 9);
    for (const int32_t g : {9, 8, 7, 6, 5, 4, 3, 2, 1})
        EXPECT_EQ(flips.TakeIfAt(g), g < 7 ? g >= 2 : g == 9) << g;
    EXPECT_EQ(flips.Latest(), -1);

    // A caller that lost track steps forward from 3 again.
    for (const int32_t g : {3, 4, 5, 4})
        flips.Push(g);
    EXPECT_TRUE(flips.TakeIfAt(4));
    EXPECT_TRUE(flips.TakeIfAt(3));
    EXPECT_FALSE(flips.TakeIfAt(2));
    flips.Push(7);
    flips.Clear();
    EXPECT_FALSE(flips.TakeIfAt(7));

    // The same generation reached twice (stepped back over, then again) is
    // one complementing step.
    for (const int32_t g : {5, 5})
        flips.Push(g);
    EXPECT_TRUE(flips.TakeIfAt(5));
    EXPECT_EQ(flips.Latest(), -1);
    EXPECT_FALSE(flips.TakeIfAt(5));
}

TEST(RuleLineTest, ReadsSurvivalAndBirthDigits) {
    const auto r = ParseRuleLine("#R 23/36", 8);
    ASSERT_TRUE(r);
    EXPECT_EQ(Survival(*r, 8), (Ints{2, 3}));
    EXPECT_EQ(Birth(*r, 8), (Ints{3, 6}));

    const auto hex = ParseRuleLine("#R 2A/3", 12);
    ASSERT_TRUE(hex);
    EXPECT_EQ(Survival(*hex, 12), (Ints{2, 10}));
    EXPECT_EQ(ParseRuleLine("#R 2a/3", 12), hex) << "either case";
    EXPECT_EQ(Survival(*ParseRuleLine("#R 2A/3", 8), 8), (Ints{2})) << "counts above n are dropped";
    EXPECT_EQ(Survival(*ParseRuleLine("#R 2x/3", 8), 8), (Ints{0, 2}))
        << "a character that is no digit counts as 0";
    EXPECT_EQ(ParseRuleLine("#R /", 8), RuleTables{}) << "clears every entry";
    EXPECT_EQ(ParseRuleLine("#R 23/3 trailing words", 8), MakeRule({2, 3}, {3}));
}

TEST(RuleLineTest, DefaultRuleAndLinesThatChangeNothing) {
    EXPECT_EQ(ParseRuleLine("#N", 8), MakeRule({2, 3}, {3}));
    EXPECT_EQ(ParseRuleLine("#N anything", 3), MakeRule({2, 3}, {3}));
    for (const char* line :
         {"#R", "#R 23", "#R  23/3", "#R 2/3/4", "#D 23/3", "R 23/3", "", "#r 23/3"})
        EXPECT_EQ(ParseRuleLine(line, 8), std::nullopt) << line;
}

TEST(RuleLineTest, WrittenLinesReadBack) {
    EXPECT_EQ(RuleLineText(MakeRule({2, 3}, {3}), 8), "#R 23/3");
    EXPECT_EQ(RuleLineText(MakeRule({0, 10, 12}, {11}), 12), "#R 0AC/B");
    EXPECT_EQ(RuleLineText(RuleTables{}, 6), "#R /");
    std::mt19937 rng(11);
    for (const int16_t n : kCounts)
        for (int i = 0; i < 100; ++i) {
            const RuleTables rule = RandomRule(rng, n);
            EXPECT_EQ(ParseRuleLine(RuleLineText(rule, n), n), rule);
        }
}

TEST(RuleCodeTest, BitsAreBirthAndSurvivalInTurn) {
    const auto code = DecodeRuleCode("224");
    ASSERT_EQ(code.status, RuleCode::Status::kOk);
    EXPECT_EQ(Survival(code.ticks, 12), (Ints{2, 3}));
    EXPECT_EQ(Birth(code.ticks, 12), (Ints{3}));

    // Halves round to even; text clears every box; negative codes give two's complement bits,
    // halving toward zero.
    const std::pair<const char*, RuleTables> cases[] = {
        {"2.5", MakeRule({0}, {})},
        {"3.5", MakeRule({}, {1})},
        {"text", RuleTables{}},
        {"32767", MakeRule({0, 1, 2, 3, 4, 5, 6}, {0, 1, 2, 3, 4, 5, 6, 7})},
        {"-1", MakeRule({}, {0})},
        {"-32768", MakeRule({7}, {})}};
    for (const auto& [answer, ticks] : cases) {
        EXPECT_EQ(DecodeRuleCode(answer).status, RuleCode::Status::kOk) << answer;
        EXPECT_EQ(DecodeRuleCode(answer).ticks, ticks) << answer;
    }
}

TEST(RuleCodeTest, EmptyAndOutOfRangeAnswersChangeNothing) {
    EXPECT_EQ(DecodeRuleCode("").status, RuleCode::Status::kEmpty);
    for (const char* answer : {"32767.5", "-32769", "1e10", "99999999999999999999"}) {
        const auto code = DecodeRuleCode(answer);
        EXPECT_EQ(code.status, RuleCode::Status::kOutOfRange) << answer;
        EXPECT_EQ(code.ticks, RuleTables{});
    }
    EXPECT_EQ(DecodeRuleCode("32766.5").status, RuleCode::Status::kOk);
}

// Captions, groups and the Seeds rule are checked through the dialog's menu.
TEST(PredefinedRulesTest, LatticesAndRulesOfTheSets) {
    const auto& rules = kPredefinedRules;
    EXPECT_EQ(rules[2].item, "mnuSeeds");
    EXPECT_EQ(rules[6].neiCount, 12);
    EXPECT_EQ(Survival(rules[9].rule, 6), (Ints{0, 1, 2, 3, 4, 5, 6}));
    for (const auto& r : rules)
        for (int k = r.neiCount + 1; k <= kMaxNeiCount; ++k)
            EXPECT_FALSE(r.rule.survival[k] || r.rule.birth[k]) << r.caption;
}

} // namespace
