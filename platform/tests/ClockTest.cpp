#include "Clock.h"
#include "RuntimeRandom.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

int64_t fakeNow = 0;

int64_t FakeClock() {
    return fakeNow;
}

class ClockTest : public ::testing::Test {
protected:
    void SetUp() override { SetMillisecondClock(FakeClock); }
    void TearDown() override { SetMillisecondClock(nullptr); }
};

} // namespace

TEST(RealClockTest, NeverGoesBackAndTellsTheTimeOfDay) {
    ASSERT_FALSE(HasTestClock());
    const int64_t first = MillisecondClock();
    EXPECT_GE(MillisecondClock(), first);
    const float seconds = SecondsSinceMidnight();
    EXPECT_GE(seconds, 0.0f);
    EXPECT_LT(seconds, 86401.0f);
}

TEST_F(ClockTest, OverrideDrivesBothClocksUntilRemoved) {
    EXPECT_TRUE(HasTestClock());
    fakeNow = 5;
    EXPECT_EQ(MillisecondClock(), 5);
    // Noon and a half second on the third day of the fake clock.
    fakeNow = 2 * 86400000LL + 43200500;
    EXPECT_EQ(MillisecondClock(), fakeNow);
    EXPECT_EQ(SecondsSinceMidnight(), 43200.5f);
    SetMillisecondClock(nullptr);
    EXPECT_FALSE(HasTestClock());
    EXPECT_NE(MillisecondClock(), fakeNow);
}

TEST_F(ClockTest, RandomizeMixesTheTimerIntoTheMiddleOfTheState) {
    // 43200.5 is the single 0x4728C080: 0xC080 ^ 0x4728 = 0x87A8 becomes bits 8..23,
    // and the lowest byte of the state stays.
    fakeNow = 43200500;
    RuntimeRandom random;
    random.SetState(0xABCDEF);
    random.Randomize();
    EXPECT_EQ(random.State(), 0x87A8EFu);

    // The same time of day seeds the same sequence from the same state, another
    // time another one; the seed does not replace the whole state.
    RuntimeRandom again;
    again.SetState(0xABCDEF);
    again.Randomize();
    EXPECT_EQ(again.Next(), random.Next());
    RuntimeRandom later;
    later.SetState(0xABCDEF);
    fakeNow = 3600250;
    later.Randomize();
    EXPECT_EQ(later.State(), 0x4161EFu);
    RuntimeRandom otherLowByte;
    otherLowByte.SetState(0xABCD00);
    otherLowByte.Randomize();
    EXPECT_NE(otherLowByte.State(), later.State());
}

TEST(RuntimeRandomSeedTest, NumberSeedUsesTheHighHalfOfTheDouble) {
    const struct {
        double seed;
        uint32_t state; // from the initial state 0x50000
    } cases[] = {
        {1.0, 0x3FF000},   // 0x3FF00000: 0x0000 ^ 0x3FF0
        {-1.0, 0xBFF000},  // 0xBFF00000
        {1.0 + 1e-15, 0x3FF000}, // differs only in the low half
    };
    for (const auto& c : cases) {
        RuntimeRandom random;
        random.Randomize(c.seed);
        EXPECT_EQ(random.State(), c.state) << c.seed;
    }
}
