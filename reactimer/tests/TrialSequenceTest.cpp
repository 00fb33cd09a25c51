#include "TrialSequence.h"

#include <gtest/gtest.h>

using namespace reactimer;

TEST(TrialSequenceTest, ForeperiodAndTargetsStayInTheirRanges) {
    EXPECT_EQ(TrialSequence::Foreperiod(0.0), 1000);
    EXPECT_EQ(TrialSequence::Foreperiod(0.0005), 1000); // halves to even
    EXPECT_EQ(TrialSequence::Foreperiod(0.0015), 1002);
    EXPECT_EQ(TrialSequence::Foreperiod(0.99999994), 2000);
    TrialSequence sequence;
    sequence.Start(5, 2, 2);
    EXPECT_EQ(sequence.KeyPress('A', 10), TrialSequence::Press::Ignored); // nothing lit yet
    EXPECT_EQ(sequence.ChooseTarget(0.99999994), 25);
    sequence.Light();
    sequence.KeyPress('Z', 0);
    sequence.ChooseTarget(0);
    sequence.Light();
    sequence.KeyPress('A', 0);
    // Stage 5 past the warm-up draws from G, H, F, T, Y.
    while (sequence.TrialCount() < 10) {
        sequence.ChooseTarget(0);
        sequence.Light();
        sequence.KeyPress('g', 0);
    }
    EXPECT_EQ(sequence.ChooseTarget(0.99999994), 'Y' - 'A');
}
