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

TEST(Pump, RealClockPumpsOnceTheIntervalHasPassed) {
    const uint64_t start = PumpCount();
    PumpClock::time_point last = PumpClock::now();
    DoEventsNow();
    for (int pumps = 0; pumps < 5; ++pumps) {
        const uint64_t before = PumpCount();
        while (PumpCount() == before && PumpClock::now() - last < 1s)
            DoEvents();
        const PumpClock::time_point now = PumpClock::now();
        EXPECT_GE(now - last, kPumpInterval);
        // Due at the first call after the interval, not a tick or more later.
        EXPECT_LT(now - last, kPumpInterval + 50ms);
        last = now;
    }
    EXPECT_EQ(PumpCount() - start, 6u);
}
