#include "Timer.h"

#include "Pump.h"

#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace platform;

namespace {

// Lets pending events run many times over, as a cooperative loop would.
void RunEventLoopPasses(int passes) {
    for (int i = 0; i < passes; ++i) {
        DoEventsNow();
    }
}

struct Counting {
    Counting() {
        timer.onTimer = [this] { ++ticks; };
    }
    Timer timer;
    int ticks = 0;
};

} // namespace

TEST(Timer, TickHookFiresOnlyWhatTheTimerWouldFire) {
    Counting c;
    // A new timer is enabled with interval 0: it does not tick.
    EXPECT_TRUE(c.timer.Enabled());
    EXPECT_EQ(c.timer.Interval(), 0);
    EXPECT_EQ(c.timer.Tick(3), 0);

    c.timer.SetInterval(100);
    EXPECT_EQ(c.timer.Tick(3), 3);
    c.timer.SetEnabled(false);
    EXPECT_EQ(c.timer.Tick(), 0);
    c.timer.SetEnabled(true);
    c.timer.SetInterval(-5);
    EXPECT_EQ(c.timer.Interval(), 0);
    EXPECT_EQ(c.timer.Tick(), 0);
    EXPECT_TRUE(c.timer.Enabled());
    EXPECT_EQ(c.ticks, 3);
}

TEST(Timer, HandlerThatStopsTheTimerEndsTheTicks) {
    Counting c;
    c.timer.SetInterval(1);
    c.timer.onTimer = [&] {
        if (++c.ticks == 2) {
            c.timer.SetInterval(0);
        }
    };
    EXPECT_EQ(c.timer.Tick(10), 2);
    c.timer.SetInterval(5);
    c.timer.onTimer = [&] { c.timer.SetEnabled(false); };
    EXPECT_EQ(c.timer.Tick(10), 1);
}

TEST(Timer, HandlerMayDestroyItsTimer) {
    auto timer = std::make_unique<Timer>();
    timer->SetInterval(10);
    timer->onTimer = [&] { timer.reset(); };
    EXPECT_EQ(timer->Tick(5), 1);
    EXPECT_EQ(timer, nullptr);
}

TEST(Timer, IntervalZeroNeverTicksInTheEventLoop) {
    Counting c;
    c.timer.SetInterval(1);
    c.timer.SetInterval(0); // enabled, interval 0: a Qt timer would fire on every pass
    RunEventLoopPasses(200);
    EXPECT_EQ(c.ticks, 0);
    EXPECT_TRUE(c.timer.Enabled());
    EXPECT_FALSE(c.timer.Ticking());
}

TEST(Timer, TicksByItselfUnlessHeld) {
    Counting c;
    c.timer.SetInterval(1);
    for (int waited = 0; c.ticks == 0 && waited < 10000; ++waited) {
        QTest::qWait(1);
    }
    EXPECT_GT(c.ticks, 0);

    SetTimersHeld(true);
    Counting later;
    later.timer.SetInterval(1);
    const int before = c.ticks;
    QTest::qWait(30);
    EXPECT_EQ(c.ticks, before);
    EXPECT_EQ(later.ticks, 0);
    EXPECT_EQ(later.timer.Tick(2), 2);

    SetTimersHeld(false);
    for (int waited = 0; later.ticks == 2 && waited < 10000; ++waited) {
        QTest::qWait(1);
    }
    EXPECT_GT(later.ticks, 2);
}
