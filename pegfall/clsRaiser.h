#pragma once

#include <functional>

// Pegfall's notifier of the full-speed loop: RaiseFullSpeed raises the event
// FullSpeed and returns after its handler has run, so that the loop runs
// inside the handler that raised it.

class clsRaiser {
public:
    // The handler of the event FullSpeed; none at first.
    std::function<void()> FullSpeed;

    void RaiseFullSpeed() {
        if (FullSpeed)
            FullSpeed();
    }
};
