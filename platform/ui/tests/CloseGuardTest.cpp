#include "CloseGuard.h"
#include "Pump.h"

#include <QApplication>
#include <QCloseEvent>
#include <QWidget>
#include <gtest/gtest.h>

using namespace platform;

namespace {

class Window : public QWidget {
public:
    Window() { resize(40, 30); }

    // A handler's cooperative loop; a nested run when inner is true.
    int Run(bool nested) {
        const auto busy = guard.Enter();
        stop = false;
        int steps = 0;
        while (!stop && steps < 100) { // a bound, so that a fault fails rather than hangs
            ++steps;
            if (nested && steps == 2) {
                Run(false);
                EXPECT_TRUE(isVisible()) << "the outer loop still runs";
            }
            DoEvents();
        }
        return steps;
    }

    bool stop = false;
    int endLoopCalls = 0;
    int closeEvents = 0;
    bool refuseClose = false;
    CloseGuard guard{*this, [this] {
                         ++endLoopCalls;
                         stop = true;
                     }};

protected:
    void closeEvent(QCloseEvent* event) override {
        ++closeEvents;
        event->setAccepted(!refuseClose);
    }
};

class CloseGuardTest : public ::testing::Test {
protected:
    void SetUp() override { window_.show(); }
    void TearDown() override { SetDoEventsHook(nullptr); }

    // Closes the window at the n-th pump of a loop, checking it is held open.
    void CloseAtPump(int n) {
        pumps_ = 0;
        SetDoEventsHook([this, n] {
            if (++pumps_ != n)
                return;
            window_.close();
            EXPECT_TRUE(window_.isVisible());
            EXPECT_EQ(window_.closeEvents, 0);
            EXPECT_TRUE(window_.guard.ClosePending());
        });
    }

    Window window_;
    int pumps_ = 0;
};

} // namespace

TEST_F(CloseGuardTest, CloseDuringALoopEndsItThenCloses) {
    CloseAtPump(3);
    EXPECT_EQ(window_.Run(false), 3);
    EXPECT_FALSE(window_.isVisible());
    EXPECT_EQ(window_.closeEvents, 1);
    EXPECT_EQ(window_.endLoopCalls, 1);
    EXPECT_FALSE(window_.guard.Running());
    EXPECT_FALSE(window_.guard.ClosePending());
}

TEST_F(CloseGuardTest, NestedLoopsCloseOnlyWhenTheOutermostEnds) {
    CloseAtPump(2); // inside the inner loop
    window_.Run(true);
    EXPECT_FALSE(window_.isVisible());
    EXPECT_EQ(window_.closeEvents, 1);
}

TEST_F(CloseGuardTest, IdleCloseGoesThroughAndARefusedCloseIsNotRepeated) {
    window_.refuseClose = true;
    CloseAtPump(1);
    window_.Run(false);
    EXPECT_TRUE(window_.isVisible()) << "the window's own closeEvent refused";
    EXPECT_EQ(window_.closeEvents, 1);

    SetDoEventsHook(nullptr);
    window_.refuseClose = false;
    window_.close();
    EXPECT_FALSE(window_.isVisible());
    EXPECT_EQ(window_.closeEvents, 2);
    EXPECT_EQ(window_.endLoopCalls, 1) << "no loop to end";
}
