#pragma once

#include <atomic>

namespace fractalux {

// The state one fill shares with whoever may end it. Exactly one of End and Finish wins, so a
// fill that was ended never reports completion, and a completed one is reported once.
class FillControl {
public:
    bool Ended() const { return state_.load(std::memory_order_relaxed) == kEnded; }

    // Asks a running fill to stop; true when it was still running.
    bool End() { return Move(kEnded); }

    // Marks a fill that reached its last pixel; false when it had been ended first.
    bool Finish() { return Move(kFinished); }

private:
    static constexpr int kRunning = 0;
    static constexpr int kEnded = 1;
    static constexpr int kFinished = 2;

    bool Move(int to) {
        int expected = kRunning;
        return state_.compare_exchange_strong(expected, to, std::memory_order_acq_rel);
    }

    std::atomic<int> state_{kRunning};
};

} // namespace fractalux
