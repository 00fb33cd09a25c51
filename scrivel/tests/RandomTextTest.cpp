// Tests of the random text: the answer to the length question, the draws of the
// first pair and of each next character, and whole generations with fixed draws.

#include "RandomText.h"
#include "ScrivelTestSupport.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace scrivel {
namespace {

// A generator whose next draw is the first of the sequence that satisfies wanted.
platform::RuntimeRandom FirstDraw(const std::function<bool(double)>& wanted) {
    for (uint32_t state = 0; state < (1u << 24); ++state) {
        platform::RuntimeRandom random;
        random.SetState(state);
        platform::RuntimeRandom probe = random;
        if (wanted(probe.Next()))
            return random;
    }
    ADD_FAILURE() << "no such draw";
    return {};
}

std::string Generate(std::string_view analysed, int32_t count,
                     const std::function<bool(double)>& firstDraw) {
    const CharacterSettings s = Defaults();
    platform::RuntimeRandom random = FirstDraw(firstDraw);
    return GenerateRandomText(Counted(analysed, s), s, count, random);
}

TEST(RandomText, CharacterCountAnswers) {
    struct Case {
        const char* answer;
        CharacterCount result;
        int32_t count;
    };
    const Case cases[] = {
        {"", CharacterCount::Empty, 0},          {"2", CharacterCount::TooFew, 0},
        {"abc", CharacterCount::TooFew, 0},      {"2.5", CharacterCount::TooFew, 0},
        {"3.5", CharacterCount::Valid, 4},       {" 1000 chars", CharacterCount::Valid, 1000},
        {"1000001", CharacterCount::TooMany, 0}, {"1e20", CharacterCount::TooMany, 0},
    };
    for (const Case& c : cases) {
        int32_t count = 0;
        EXPECT_EQ(ReadCharacterCount(c.answer, count), c.result) << c.answer;
        EXPECT_EQ(count, c.count) << c.answer;
    }
}

TEST(RandomText, AbdGivesAbdOrBd) {
    // First pair (A, B) or (B, D), one half each; (B, D) never starts a triplet, so
    // Z (the last index) follows, and since (D, Z) never occurred the text ends.
    for (const int32_t count : {3, 4, 1000}) {
        EXPECT_EQ(Generate("ABD", count, [](double r) { return r < 0.5; }), "ABD");
        EXPECT_EQ(Generate("ABD", count, [](double r) { return r == 0.5; }), "ABD");
        EXPECT_EQ(Generate("ABD", count, [](double r) { return r > 0.5; }), "BD");
    }
}

TEST(RandomText, AbabContinuesOneWayOnly) {
    const auto low = [](double r) { return r <= 2.0 / 3; };
    const auto high = [](double r) { return r > 2.0 / 3; };
    EXPECT_EQ(Generate("ABAB", 5, low), "ABABA");
    EXPECT_EQ(Generate("ABAB", 5, high), "BABAB");
    EXPECT_EQ(Generate("abab", 3, low), "ABA");
    EXPECT_EQ(Generate("ABAB", 8, high), "BABABABA");
}

TEST(RandomText, DrawsNeverTakeWhatDidNotOccur) {
    const CharacterSettings s = Defaults();
    const LetterStatistics abd = Counted("ABD", s);
    const int A = 1, B = 2, D = 4, Z = 26;
    // A draw of 0 skips the pairs and characters of weight 0 before the first one.
    EXPECT_EQ(FirstPair(abd, 0.0), std::pair(A, B));
    const TransitionTable table(abd);
    EXPECT_EQ(NextCharacter(table, abd.Size(), A, B, 0.0), D);
    // A draw beyond every weight stops at the last pair that occurred.
    EXPECT_EQ(FirstPair(abd, 1.5), std::pair(B, D));
    // A row of zeros takes the last index, whatever the draw.
    EXPECT_EQ(NextCharacter(table, abd.Size(), B, D, 0.0), Z);
}

TEST(RandomText, TheFirstPairDrawIsSpentAcrossThePairsItPasses) {
    // "ABCD": the pairs AB, BC and CD, a third each, in row order.
    const LetterStatistics abcd = Counted("ABCD", Defaults());
    const int A = 1, B = 2, C = 3, D = 4;
    EXPECT_EQ(FirstPair(abcd, 0.2), std::pair(A, B));
    EXPECT_EQ(FirstPair(abcd, 0.5), std::pair(B, C));
    EXPECT_EQ(FirstPair(abcd, 0.9), std::pair(C, D));
}

TEST(RandomText, EveryTripletOfTheTextOccurredInTheAnalysis) {
    const CharacterSettings s = Defaults();
    const std::string source =
        "It was the best of times, it was the worst of times; it was the age of wisdom, "
        "it was the age of foolishness.\r\nIt was the epoch of belief.";
    const LetterStatistics stats = Counted(source, s);
    platform::RuntimeRandom random;
    for (int run = 0; run < 40; ++run) {
        const std::string text = GenerateRandomText(stats, s, 300, random);
        ASSERT_TRUE(text.size() >= 2 && text.size() <= 300);
        const auto index = [&](size_t k) { return s.Char2Ind(static_cast<uint8_t>(text[k])); };
        for (size_t k = 0; k < text.size(); ++k)
            ASSERT_GE(index(k), 0) << text; // only Space and the capitals
        EXPECT_GT(stats.PairCount(index(0), index(1)), 0);
        for (size_t k = 2; k < text.size(); ++k)
            EXPECT_GT(stats.TripletCount(index(k - 2), index(k - 1), index(k)), 0) << text;
    }
}

TEST(RandomText, NothingWithoutTriplets) {
    const CharacterSettings s = Defaults();
    platform::RuntimeRandom random;
    EXPECT_EQ(GenerateRandomText(Counted("AB", s), s, 100, random), "");
    CharacterSettings none;
    none.UpdateLookupTable();
    EXPECT_EQ(GenerateRandomText(Counted("ABC", none), none, 100, random), "");
}

} // namespace
} // namespace scrivel
