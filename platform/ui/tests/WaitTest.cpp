#include "Clock.h"
#include "Wait.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

using namespace platform;

namespace {

// A test clock that moves one millisecond each time it is read.
int64_t fakeNow = 0;

int64_t TickingClock() {
    return ++fakeNow;
}

class Window : public QWidget {
public:
    int paints = 0;
    bool refuseClose = false;
    std::vector<std::pair<char, int64_t>> keys; // the key and the fake time it was handled

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
    void keyPressEvent(QKeyEvent* event) override {
        keys.emplace_back(static_cast<char>(event->key()), fakeNow);
    }
    void closeEvent(QCloseEvent* event) override {
        if (refuseClose)
            event->ignore();
    }
};

class WaitTest : public ::testing::Test {
protected:
    void SetUp() override {
        fakeNow = 1000;
        SetMillisecondClock(TickingClock);
        window_.resize(50, 40);
        window_.show();
        QApplication::processEvents();
    }
    void TearDown() override { SetMillisecondClock(nullptr); }

    Window window_;
};

} // namespace

TEST_F(WaitTest, WindowsRepaintWhileTheTimePasses) {
    const int before = window_.paints;
    window_.update();
    EXPECT_TRUE(Wait(200));
    EXPECT_GT(window_.paints, before);
    EXPECT_GE(fakeNow, 1200);
}

TEST_F(WaitTest, EndsEarlyWhenTheWindowCloses) {
    const struct {
        const char* how;
        std::function<void(Window&)> act;
        bool refuse = false;
    } cases[] = {
        {"closed", [](Window& w) { w.close(); }},
        {"close refused by the window", [](Window& w) { w.close(); }, true},
        {"hidden", [](Window& w) { w.hide(); }},
    };
    for (const auto& c : cases) {
        window_.show();
        window_.refuseClose = c.refuse;
        QTimer::singleShot(0, &window_, [&] { c.act(window_); });
        const int64_t start = fakeNow;
        EXPECT_FALSE(Wait(100000, {.window = &window_})) << c.how;
        EXPECT_LT(fakeNow - start, 100000) << c.how;
    }
    // Without the window in the options the wait runs its time.
    window_.show();
    QTimer::singleShot(0, &window_, [&] { window_.close(); });
    EXPECT_TRUE(Wait(300));
}

TEST_F(WaitTest, EndsEarlyWhenTheWindowIsDestroyed) {
    auto* other = new Window;
    QTimer::singleShot(0, [other] { delete other; });
    EXPECT_FALSE(Wait(100000, {.window = other}));
}

TEST_F(WaitTest, HeldKeysAreHandledInOrderAfterTheWait) {
    window_.setFocus();
    for (const bool hold : {true, false}) {
        window_.keys.clear();
        QTimer::singleShot(0, &window_, [&] {
            QTest::keyClick(&window_, Qt::Key_A);
            QTest::keyClick(&window_, Qt::Key_B);
        });
        const int64_t start = fakeNow;
        EXPECT_TRUE(Wait(500, {.holdInput = hold}));
        const int64_t end = fakeNow;
        if (hold) {
            EXPECT_TRUE(window_.keys.empty());
            QApplication::processEvents();
            ASSERT_EQ(window_.keys.size(), 2u);
            EXPECT_EQ(window_.keys[0].first, 'A');
            EXPECT_EQ(window_.keys[1].first, 'B');
            EXPECT_GE(window_.keys[0].second, end) << "handled once the wait is over";
        } else {
            ASSERT_EQ(window_.keys.size(), 2u);
            EXPECT_LT(window_.keys[0].second, start + 500) << "handled during the wait";
        }
    }
}

TEST(WaitRealClockTest, BlocksUntilTheTimeHasCome) {
    ASSERT_FALSE(HasTestClock());
    const int64_t start = MillisecondClock();
    EXPECT_TRUE(Wait(0));
    EXPECT_TRUE(Wait(-5));
    EXPECT_TRUE(Wait(30));
    EXPECT_GE(MillisecondClock() - start, 30);
}
