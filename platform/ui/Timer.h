#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

// The timer control of the forms. While it is Enabled and its Interval (in
// milliseconds) is above 0 it runs onTimer every Interval; at Interval 0 it does
// not tick at all, and Enabled keeps the value it was given, so setting an
// interval again resumes the ticks. Enabling it, or changing the interval of an
// enabled timer, starts a full interval from then on; setting a property to the
// value it has changes nothing. A new timer is enabled with Interval 0, so it
// ticks once it has an interval. A negative interval counts as 0.
//
// Test hooks: Tick() runs ticks at once, as the timer would, and SetTimersHeld
// keeps every timer from ticking by itself, so that a test that lets pending
// events run sees only the ticks it fires.

namespace platform {

class Timer : public QObject {
public:
    explicit Timer(QObject* parent = nullptr);
    ~Timer() override;

    std::function<void()> onTimer;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    int Interval() const { return interval_; }
    void SetInterval(int milliseconds);

    // Whether the timer ticks: Enabled with an Interval above 0.
    bool Ticking() const { return enabled_ && interval_ > 0; }

    // Runs up to count ticks now, one after the other, each only while the
    // timer is Ticking (a handler may stop it); returns how many ran.
    int Tick(int count = 1);

private:
    friend void SetTimersHeld(bool held);
    void Apply(bool restart);
    // False when the handler destroyed the timer.
    bool RunTick();

    QTimer timer_;
    bool enabled_ = true;
    int interval_ = 0;
};

// While held, no timer ticks by itself; Tick() still runs ticks.
void SetTimersHeld(bool held);

} // namespace platform
