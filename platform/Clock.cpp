#include "Clock.h"

#include <atomic>
#include <chrono>
#include <ctime>

namespace platform {

namespace {

constexpr int64_t kMillisecondsPerDay = 24 * 60 * 60 * 1000;

std::atomic<int64_t (*)()> testClock{nullptr};

} // namespace

int64_t MillisecondClock() {
    if (const auto clock = testClock.load(std::memory_order_acquire))
        return clock();
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

float SecondsSinceMidnight() {
    if (const auto clock = testClock.load(std::memory_order_acquire)) {
        const int64_t day = clock() % kMillisecondsPerDay;
        return static_cast<float>((day < 0 ? day + kMillisecondsPerDay : day) / 1000.0);
    }
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    ::localtime_r(&seconds, &local);
    const auto fraction = now - std::chrono::system_clock::from_time_t(seconds);
    const double sinceMidnight =
        local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec +
        std::chrono::duration<double>(fraction).count();
    return static_cast<float>(sinceMidnight);
}

void SetMillisecondClock(int64_t (*clock)()) {
    testClock.store(clock, std::memory_order_release);
}

bool HasTestClock() {
    return testClock.load(std::memory_order_acquire) != nullptr;
}

} // namespace platform
