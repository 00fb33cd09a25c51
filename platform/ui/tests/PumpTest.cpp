#include "Pump.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace platform;
using namespace std::chrono_literals;

namespace {

PumpClock::time_point fakeNow;

PumpClock::time_point FakeClock() {
    return fakeNow;
}

class PumpTest : public ::testing::Test {
protected:
    void SetUp() override {
        fakeNow = PumpClock::time_point{} + 1h;
        SetPumpClock(&FakeClock);
    }

    void TearDown() override {
        SetDoEventsHook(nullptr);
        SetPumpClock(nullptr);
    }

    static void Post(bool& flag) {
        QMetaObject::invokeMethod(
            QApplication::instance(), [&flag] { flag = true; }, Qt::QueuedConnection);
    }
};

} // namespace

TEST_F(PumpTest, HookRunsOnEveryCallAndQtOnlyEveryInterval) {
    int hooks = 0;
    SetDoEventsHook([&] { ++hooks; });
    const uint64_t start = PumpCount();

    for (int i = 0; i < 1000; ++i) {
        DoEvents();
    }
    EXPECT_EQ(hooks, 1000);
    EXPECT_EQ(PumpCount() - start, 1u);

    fakeNow += kPumpInterval - 1us;
    DoEvents();
    EXPECT_EQ(PumpCount() - start, 1u);
    fakeNow += 1us;
    DoEvents();
    DoEvents();
    EXPECT_EQ(PumpCount() - start, 2u);

    DoEventsNow();
    EXPECT_EQ(PumpCount() - start, 3u);
    EXPECT_EQ(hooks, 1003);
}

TEST_F(PumpTest, PumpDueForetellsTheNextDoEvents) {
    EXPECT_TRUE(PumpDue()) << "the first call always pumps";
    DoEvents();
    const uint64_t start = PumpCount();
    fakeNow += kPumpInterval - 1us;
    EXPECT_FALSE(PumpDue());
    DoEvents();
    EXPECT_EQ(PumpCount(), start);
    fakeNow += 1us;
    EXPECT_TRUE(PumpDue());
    EXPECT_TRUE(PumpDue()) << "asking pumps nothing";
    EXPECT_EQ(PumpCount(), start);
    DoEvents();
    EXPECT_EQ(PumpCount(), start + 1);
    EXPECT_FALSE(PumpDue());
}

TEST_F(PumpTest, PostedEventsRunWhenThePumpIsDue) {
    DoEvents();
    bool handled = false;
    Post(handled);
    DoEvents();
    EXPECT_FALSE(handled);
    fakeNow += kPumpInterval;
    DoEvents();
    EXPECT_TRUE(handled);

    handled = false;
    Post(handled);
    DoEventsNow();
    EXPECT_TRUE(handled);
}

TEST_F(PumpTest, ClickPostedByTheHookStopsALoop) {
    QPushButton stopButton("Stop");
    stopButton.resize(80, 30);
    bool stop = false;
    QObject::connect(&stopButton, &QPushButton::clicked, [&] { stop = true; });

    int calls = 0;
    SetDoEventsHook([&] {
        if (++calls == 100) {
            const QPointF at(10, 10);
            QApplication::postEvent(&stopButton,
                                    new QMouseEvent(QEvent::MouseButtonPress, at, at,
                                                    Qt::LeftButton, Qt::LeftButton, {}));
            QApplication::postEvent(&stopButton, new QMouseEvent(QEvent::MouseButtonRelease, at, at,
                                                                 Qt::LeftButton, Qt::NoButton, {}));
        }
    });
    int steps = 0;
    while (!stop && steps < 10000) {
        ++steps;
        fakeNow += 1ms; // one step of the model
        DoEvents();
    }
    EXPECT_TRUE(stop);
    EXPECT_GE(steps, 100);
    EXPECT_LE(steps, 100 + 5);
}

TEST(Pump, RealClockThrottles) {
    const uint64_t start = PumpCount();
    const auto begin = PumpClock::now();
    for (int i = 0; i < 200000; ++i) {
        DoEvents();
    }
    const auto elapsed = PumpClock::now() - begin;
    EXPECT_LE(PumpCount() - start, static_cast<uint64_t>(elapsed / kPumpInterval) + 1);
}

namespace {

// A coarse clock as the kernel keeps it: the exact time truncated to its tick.
constexpr PumpClock::duration kCoarseTick = 4ms;

PumpClock::time_point CoarseFakeClock() {
    const auto sinceEpoch = fakeNow.time_since_epoch();
    return PumpClock::time_point(sinceEpoch - sinceEpoch % kCoarseTick);
}

} // namespace

TEST_F(PumpTest, CoarseClockNeverPumpsEarlyNorLate) {
    SetPumpClocks(&FakeClock, &CoarseFakeClock, kCoarseTick);
    fakeNow += 123us; // off the coarse tick
    DoEvents();
    PumpClock::time_point last = fakeNow;
    const uint64_t start = PumpCount();
    // Steps of 0.3 ms: the pump comes at the first call at least the interval
    // after the last pump by the exact clock, whatever the coarse one shows.
    for (int step = 0; step < 400; ++step) {
        fakeNow += 300us;
        const uint64_t before = PumpCount();
        DoEvents();
        const bool due = fakeNow - last >= kPumpInterval;
        ASSERT_EQ(PumpCount() - before, due ? 1u : 0u) << "step " << step;
        if (due)
            last = fakeNow;
    }
    EXPECT_EQ(PumpCount() - start, 400u * 300 / 5100); // one pump every 17 steps
}
