#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

namespace fractalux {

// The state one fill shares with whoever may end it. The worker is at work while it may touch the
// buffer, and out while it runs a client callback or once it has stopped. Ending a fill waits only
// while its worker is at work, which lasts until the worker's next check (a pixel, a step of a
// walk, or a few thousand iterations); it never waits for a callback. Once ended, the worker
// stores nothing more and calls no callback. Exactly one of End and Finish wins, so a fill that
// was ended never reports completion, and a completed one is reported once.
class FillControl {
public:
    // Worker side: whether the fill has been ended; checked often while at work.
    bool Ended() const { return (state_.load(std::memory_order_relaxed) & kEnded) != 0; }

    // Goes (back) to work; false when the fill was ended meanwhile, the worker then staying out.
    bool Resume() {
        if ((state_.fetch_or(kAtWork, std::memory_order_acq_rel) & kEnded) == 0) {
            return true;
        }
        Stop();
        return false;
    }

    // Goes out to call a callback; false when the fill was ended, and no callback may be called.
    bool Suspend() { return (state_.fetch_and(~kAtWork, std::memory_order_acq_rel) & kEnded) == 0; }

    // Goes out for good.
    void Stop() { state_.fetch_and(~kAtWork, std::memory_order_release); }

    // Marks a fill that reached its last pixel and goes out; false when it had been ended first.
    bool Finish() {
        uint32_t state = state_.load(std::memory_order_relaxed);
        while ((state & kEnded) == 0) {
            if (state_.compare_exchange_weak(state, (state | kFinished) & ~kAtWork,
                                             std::memory_order_acq_rel)) {
                return true;
            }
        }
        Stop();
        return false;
    }

    // Asks a fill to stop and waits until its worker is out of the buffer; true when the fill was
    // still running.
    bool End() {
        const uint32_t before = state_.fetch_or(kEnded, std::memory_order_acq_rel);
        while ((state_.load(std::memory_order_acquire) & kAtWork) != 0) {
            std::this_thread::yield();
        }
        return (before & (kEnded | kFinished)) == 0;
    }

private:
    static constexpr uint32_t kEnded = 1;
    static constexpr uint32_t kFinished = 2;
    static constexpr uint32_t kAtWork = 4;

    std::atomic<uint32_t> state_{0};
};

} // namespace fractalux
