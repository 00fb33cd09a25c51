#include "TrialSequence.h"

#include <gtest/gtest.h>
#include <string>

using namespace reactimer;

TEST(TrialSequenceTest, StagesAddTheKeysInTheirOrder) {
    std::string order;
    for (const int16_t key : kKeyOrder)
        order += static_cast<char>('A' + key);
    EXPECT_EQ(order, "GHFTYBVRUCNDJEIXMSKWOALZQP");

    TrialSequence sequence;
    sequence.Start(5, 2, 0);
    std::string shown;
    std::vector<std::string> prompts;
    for (int trial = 0; trial < 10; ++trial) {
        const TrialSequence::TrialStart start = sequence.Begin();
        ASSERT_FALSE(start.finish);
        EXPECT_EQ(start.hideAll, trial == 0);
        if (start.showKey >= 0)
            shown += static_cast<char>('A' + start.showKey);
        if (!start.prompt.empty())
            prompts.push_back(start.prompt);
        // Stage s lights only its first s keys, from the top of r's range too.
        const int s = trial / 2;
        for (const double r : {0.0, 0.5, 0.99999994}) {
            const int target = sequence.ChooseTarget(r);
            EXPECT_NE(order.substr(0, static_cast<size_t>(s + 1)).find(static_cast<char>('A' + target)),
                      std::string::npos);
        }
        EXPECT_EQ(sequence.ChooseTarget(0.99999994), kKeyOrder[static_cast<size_t>(s)]);
        sequence.Light();
        ASSERT_EQ(sequence.KeyPress('a' + sequence.Target(), 100), TrialSequence::Press::Correct);
    }
    EXPECT_EQ(shown, "GHFTY");
    ASSERT_EQ(prompts.size(), 5u);
    EXPECT_EQ(prompts[0], "Press any key to begin stage 1");
    EXPECT_EQ(prompts[4], "Press any key to begin stage 5");
    EXPECT_TRUE(sequence.Begin().finish);
}

TEST(TrialSequenceTest, WarmUpUsesEveryLetterAndRecordsNothing) {
    TrialSequence sequence;
    sequence.Start(5, 3, 3);
    EXPECT_EQ(sequence.Total(), 18);
    TrialSequence::TrialStart start = sequence.Begin();
    EXPECT_FALSE(start.hideAll);
    EXPECT_EQ(start.showKey, -1);
    EXPECT_EQ(start.prompt, "Press any key to begin warmup");
    EXPECT_EQ(sequence.ChooseTarget(0.0), 0);
    EXPECT_EQ(sequence.ChooseTarget(0.99999994), 25);
    for (int trial = 0; trial < 3; ++trial) {
        if (trial > 0) {
            EXPECT_EQ(sequence.Begin().prompt, "");
        }
        sequence.ChooseTarget(trial / 3.0);
        sequence.Light();
        EXPECT_EQ(sequence.KeyPress('A' + sequence.Target(), 5000), TrialSequence::Press::Correct);
    }
    for (const double sum : sequence.StageSums())
        EXPECT_EQ(sum, 0);
    start = sequence.Begin();
    EXPECT_TRUE(start.hideAll);
    EXPECT_EQ(start.showKey, kKeyOrder[0]);
    EXPECT_EQ(start.prompt, "Press any key to begin stage 1");
}

TEST(TrialSequenceTest, OnlyTheLitLetterEndsATrialAndTimesSumPerStage) {
    TrialSequence sequence;
    sequence.Start(5, 2, 2);
    // Nothing counts before a key lights.
    EXPECT_EQ(sequence.KeyPress('A', 10), TrialSequence::Press::Ignored);
    int trial = 0;
    while (!sequence.Begin().finish) {
        sequence.ChooseTarget(0.7);
        sequence.Light();
        const int letter = sequence.Target();
        EXPECT_EQ(sequence.KeyPress(letter == 0 ? 'b' : 'a', 1), TrialSequence::Press::Wrong);
        EXPECT_EQ(sequence.KeyPress('[', 1), TrialSequence::Press::Wrong);
        EXPECT_TRUE(sequence.IsLit());
        // Upper and lower case alike; times 10, 20 in stage 1, 30, 40 in stage 2 ...
        const int ch = trial % 2 ? 'a' + letter : 'A' + letter;
        EXPECT_EQ(sequence.KeyPress(ch, 10 * (trial - 1)), TrialSequence::Press::Correct);
        EXPECT_EQ(sequence.KeyPress(ch, 10), TrialSequence::Press::Ignored);
        ++trial;
    }
    EXPECT_EQ(trial, 12);
    EXPECT_EQ(sequence.TrialCount(), 12);
    for (int s = 0; s < 5; ++s)
        EXPECT_EQ(sequence.StageMean(s), 10 * (2 * s + 1) + 5) << s;
    EXPECT_EQ(sequence.StageMean(5), 0);
    EXPECT_EQ(sequence.StageMean(25), 0);
}

TEST(TrialSequenceTest, ForeperiodRunsFromOneToTwoSecondsRoundedHalvesToEven) {
    EXPECT_EQ(TrialSequence::Foreperiod(0.0), 1000);
    EXPECT_EQ(TrialSequence::Foreperiod(0.0005), 1000);
    EXPECT_EQ(TrialSequence::Foreperiod(0.0015), 1002);
    EXPECT_EQ(TrialSequence::Foreperiod(0.4567), 1457);
    EXPECT_EQ(TrialSequence::Foreperiod(0.99999994), 2000);
}
