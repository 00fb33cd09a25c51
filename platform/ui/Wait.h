#pragma once

class QWidget;

// Waiting a number of milliseconds on the user-interface thread while the
// windows stay alive: pending window messages run all the time, so windows
// repaint and timers tick. The time is read from MillisecondClock (Clock.h);
// with a test clock in place the wait does not block on real time, it lets
// messages run and reads the test clock again until the time has come.

namespace platform {

struct WaitOptions {
    // Key presses and releases, mouse buttons, moves and wheel turns wait in
    // the order they came until the wait ends, and are handled then, as if they
    // had come at that moment.
    bool holdInput = false;
    // The wait ends early once this window is asked to close, or is hidden or
    // destroyed. (A window that is not shown when the wait starts ends it only
    // by a close request or its destruction.)
    QWidget* window = nullptr;
};

// Waits `milliseconds`; true when the whole time has passed, false when the
// window of the options ended it early.
bool Wait(int milliseconds, const WaitOptions& options = {});

} // namespace platform
