// Tests of the rule tables: the complement transform and its pieces, the
// record of complementing steps, rule lines, the rule code, and the
// predefined rules.

#include "RuleTransform.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

using lifeboard::MakeRule;
using lifeboard::RuleTables;

constexpr int16_t kCounts[] = {3, 4, 6, 8, 12};

RuleTables RandomRule(std::mt19937& rng, int16_t n) {
    RuleTables rule;
    for (int k = 0; k <= n; ++k) {
        rule.survival[k] = rng() & 1;
        rule.birth[k] = rng() & 1;
    }
    return rule;
}

std::vector<int> Survival(const RuleTables& r, int16_t n) {
    return lifeboard::CountsOf(r.survival, n);
}

std::vector<int> Birth(const RuleTables& r, int16_t n) {
    return lifeboard::CountsOf(r.birth, n);
}

TEST(ComplementTest, IsItsOwnInverseAndTheStepPiecesComposeToIt) {
    std::mt19937 rng(3);
    for (const int16_t n : kCounts) {
        for (int i = 0; i < 200; ++i) {
            const RuleTables rule = RandomRule(rng, n);
            const RuleTables complement = lifeboard::ComplementRule(rule, n);
            EXPECT_EQ(lifeboard::ComplementRule(complement, n), rule);
            EXPECT_EQ(lifeboard::MirrorEntries(lifeboard::InvertEntries(rule, n), n), complement);
            for (int k = n + 1; k <= lifeboard::kMaxNeiCount; ++k) {
                EXPECT_EQ(complement.survival[k], 0) << "entries above n stay clear";
                EXPECT_EQ(complement.birth[k], 0);
            }
        }
    }
}

TEST(ComplementTest, BirthOnZeroRulesOfBothKinds) {
    // Survival entry n clear: the transformed rule again gives birth on 0.
    const RuleTables flipping = MakeRule({}, {0, 1});
    const RuleTables t = lifeboard::ComplementRule(flipping, 8);
    EXPECT_EQ(Birth(t, 8), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(Survival(t, 8), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_TRUE(lifeboard::ComplementsOnStep(t));
    // Survival entry n set: later steps are ordinary ones on the dead cells.
    const RuleTables settling = MakeRule({2, 4}, {0, 3});
    const RuleTables u = lifeboard::ComplementRule(settling, 4);
    EXPECT_EQ(Birth(u, 4), (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(Survival(u, 4), (std::vector<int>{0, 2, 3}));
    EXPECT_FALSE(lifeboard::ComplementsOnStep(u));
}

TEST(FlipHistoryTest, RemembersEveryComplementingStepThroughARunOfThem) {
    lifeboard::FlipHistory flips;
    EXPECT_EQ(flips.Latest(), -1);
    for (int32_t g = 2; g <= 6; ++g)
        flips.Push(g);
    flips.Push(9);
    EXPECT_EQ(flips.Latest(), 9);
    EXPECT_TRUE(flips.TakeIfAt(9));
    EXPECT_FALSE(flips.TakeIfAt(8));
    EXPECT_FALSE(flips.TakeIfAt(7));
    for (int32_t g = 6; g >= 2; --g)
        EXPECT_TRUE(flips.TakeIfAt(g)) << g;
    EXPECT_FALSE(flips.TakeIfAt(1));
    EXPECT_EQ(flips.Latest(), -1);
}

TEST(FlipHistoryTest, ForgetsStepsThatWereSteppedBackOver) {
    lifeboard::FlipHistory flips;
    flips.Push(3);
    flips.Push(4);
    flips.Push(5);
    // A caller that lost track steps forward from 3 again.
    flips.Push(4);
    EXPECT_TRUE(flips.TakeIfAt(4));
    EXPECT_TRUE(flips.TakeIfAt(3));
    EXPECT_FALSE(flips.TakeIfAt(2));
    flips.Push(7);
    flips.Clear();
    EXPECT_FALSE(flips.TakeIfAt(7));
}

TEST(RuleLineTest, ReadsSurvivalAndBirthDigits) {
    const auto r = lifeboard::ParseRuleLine("#R 23/36", 8);
    ASSERT_TRUE(r);
    EXPECT_EQ(Survival(*r, 8), (std::vector<int>{2, 3}));
    EXPECT_EQ(Birth(*r, 8), (std::vector<int>{3, 6}));

    const auto hex = lifeboard::ParseRuleLine("#R 2A/3", 12);
    ASSERT_TRUE(hex);
    EXPECT_EQ(Survival(*hex, 12), (std::vector<int>{2, 10}));
    EXPECT_EQ(lifeboard::ParseRuleLine("#R 2a/3", 12), hex) << "either case";
    EXPECT_EQ(Survival(*lifeboard::ParseRuleLine("#R 2A/3", 8), 8), (std::vector<int>{2}))
        << "counts above n are dropped";
    EXPECT_EQ(Survival(*lifeboard::ParseRuleLine("#R 2x/3", 8), 8), (std::vector<int>{0, 2}))
        << "a character that is no digit counts as 0";
    EXPECT_EQ(lifeboard::ParseRuleLine("#R /", 8), RuleTables{}) << "clears every entry";
    EXPECT_EQ(lifeboard::ParseRuleLine("#R 23/3 trailing words", 8), MakeRule({2, 3}, {3}));
}

TEST(RuleLineTest, DefaultRuleAndLinesThatChangeNothing) {
    EXPECT_EQ(lifeboard::ParseRuleLine("#N", 8), MakeRule({2, 3}, {3}));
    EXPECT_EQ(lifeboard::ParseRuleLine("#N anything", 3), MakeRule({2, 3}, {3}));
    for (const char* line :
         {"#R", "#R 23", "#R  23/3", "#R 2/3/4", "#D 23/3", "R 23/3", "", "#r 23/3"})
        EXPECT_EQ(lifeboard::ParseRuleLine(line, 8), std::nullopt) << line;
}

TEST(RuleLineTest, WrittenLinesReadBack) {
    EXPECT_EQ(lifeboard::RuleLineText(MakeRule({2, 3}, {3}), 8), "#R 23/3");
    EXPECT_EQ(lifeboard::RuleLineText(MakeRule({0, 10, 12}, {11}), 12), "#R 0AC/B");
    EXPECT_EQ(lifeboard::RuleLineText(RuleTables{}, 6), "#R /");
    std::mt19937 rng(11);
    for (const int16_t n : kCounts)
        for (int i = 0; i < 100; ++i) {
            const RuleTables rule = RandomRule(rng, n);
            EXPECT_EQ(lifeboard::ParseRuleLine(lifeboard::RuleLineText(rule, n), n), rule);
        }
}

TEST(RuleCodeTest, BitsAreBirthAndSurvivalInTurn) {
    const auto code = lifeboard::DecodeRuleCode("224");
    ASSERT_EQ(code.status, lifeboard::RuleCode::Status::kOk);
    EXPECT_EQ(Survival(code.ticks, 12), (std::vector<int>{2, 3}));
    EXPECT_EQ(Birth(code.ticks, 12), (std::vector<int>{3}));

    EXPECT_EQ(lifeboard::DecodeRuleCode("2.5").ticks, MakeRule({0}, {})) << "2.5 rounds to 2";
    EXPECT_EQ(lifeboard::DecodeRuleCode("3.5").ticks, MakeRule({}, {1})) << "3.5 rounds to 4";
    EXPECT_EQ(lifeboard::DecodeRuleCode("text").status, lifeboard::RuleCode::Status::kOk);
    EXPECT_EQ(lifeboard::DecodeRuleCode("text").ticks, RuleTables{}) << "clears every box";
    EXPECT_EQ(lifeboard::DecodeRuleCode("32767").ticks,
              MakeRule({0, 1, 2, 3, 4, 5, 6}, {0, 1, 2, 3, 4, 5, 6, 7}));
    // Negative codes: two's complement bits, halving toward zero.
    EXPECT_EQ(lifeboard::DecodeRuleCode("-1").ticks, MakeRule({}, {0}));
    EXPECT_EQ(lifeboard::DecodeRuleCode("-32768").ticks, MakeRule({7}, {}));
}

TEST(RuleCodeTest, EmptyAndOutOfRangeAnswersChangeNothing) {
    EXPECT_EQ(lifeboard::DecodeRuleCode("").status, lifeboard::RuleCode::Status::kEmpty);
    for (const char* answer : {"32767.5", "-32769", "1e10", "99999999999999999999"}) {
        const auto code = lifeboard::DecodeRuleCode(answer);
        EXPECT_EQ(code.status, lifeboard::RuleCode::Status::kOutOfRange) << answer;
        EXPECT_EQ(code.ticks, RuleTables{});
    }
    EXPECT_EQ(lifeboard::DecodeRuleCode("32766.5").status, lifeboard::RuleCode::Status::kOk);
}

TEST(PredefinedRulesTest, MenuOfRules) {
    const auto& rules = lifeboard::kPredefinedRules;
    EXPECT_EQ(rules[0].caption, "Lifeboard's Life");
    EXPECT_EQ(rules[2].item, "mnuSeeds");
    EXPECT_EQ(Survival(rules[2].rule, 8), std::vector<int>{});
    EXPECT_EQ(Birth(rules[2].rule, 8), std::vector<int>{2});
    EXPECT_EQ(rules[6].caption, "Triangular 34/45");
    EXPECT_EQ(rules[6].neiCount, 12);
    EXPECT_EQ(rules[9].caption, "Snowflake");
    EXPECT_EQ(Survival(rules[9].rule, 6), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
    int group = 0;
    for (const auto& r : rules) {
        EXPECT_GE(r.group, group) << "groups come in menu order";
        group = r.group;
        for (int k = r.neiCount + 1; k <= lifeboard::kMaxNeiCount; ++k)
            EXPECT_FALSE(r.rule.survival[k] || r.rule.birth[k]) << r.caption;
    }
    EXPECT_EQ(rules[4].group, 0);
    EXPECT_EQ(rules[5].group, 1);
    EXPECT_EQ(rules[8].group, 2);
}

} // namespace
