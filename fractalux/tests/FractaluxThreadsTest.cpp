#include "FractaluxClient.h"

#include <algorithm>
#include <climits>
#include <condition_variable>
#include <mutex>
#include <utility>

using namespace fractalux_test;

namespace {

const View kSet{1, -2.5, 1.25, 1.0 / 32, 300, 128, 80};
const View kJuliaSet{2, -1.5, 1.0, 1.0 / 32, 300, 96, 64, -0.8, 0.156};
// Large enough that a fill is still running when the next call comes.
const View kSlowSet{1, -2.5, 1.25, 1.0 / 256, 3000, 1024, 640};

std::atomic<int> gProgress{0};
void CountProgress(double) {
    gProgress.fetch_add(1, std::memory_order_relaxed);
}

// Opened by the test; a callback waits for it, as a client's callback may wait for the client's
// own thread, but never longer than twenty seconds, and records it when it had to give up: a
// hang of the library's making.
class Gate {
public:
    void Reset() {
        const std::lock_guard lock(mutex_);
        open_ = false;
        gaveUp_ = false;
    }
    void Open() {
        const std::lock_guard lock(mutex_);
        open_ = true;
        opened_.notify_all();
    }
    bool IsOpen() {
        const std::lock_guard lock(mutex_);
        return open_;
    }
    void Wait() {
        std::unique_lock lock(mutex_);
        if (!opened_.wait_for(lock, std::chrono::seconds(20), [this] { return open_; })) {
            gaveUp_ = true;
        }
    }
    void GiveUp() {
        const std::lock_guard lock(mutex_);
        gaveUp_ = true;
    }
    bool GaveUp() {
        const std::lock_guard lock(mutex_);
        return gaveUp_;
    }

private:
    std::mutex mutex_;
    std::condition_variable opened_;
    bool open_ = false;
    bool gaveUp_ = false;
};
Gate gGate;

// Which thread called which callback, in order. Threads are told apart by a number of their own,
// since the system reuses the identifiers of threads that have ended.
using ThreadNumber = int;
std::atomic<ThreadNumber> gThreads{0};
thread_local const ThreadNumber tThread = ++gThreads;

class CallLog {
public:
    void Reset() {
        const std::lock_guard lock(mutex_);
        calls_.clear();
    }
    // Records a call; its number, from 1.
    size_t Add(char callback) {
        const std::lock_guard lock(mutex_);
        calls_.emplace_back(callback, tThread);
        return calls_.size();
    }
    size_t Count(char callback) {
        const std::lock_guard lock(mutex_);
        return std::count_if(calls_.begin(), calls_.end(),
                             [&](const auto& call) { return call.first == callback; });
    }
    // The thread of call number n (from 1).
    ThreadNumber Thread(size_t n) {
        const std::lock_guard lock(mutex_);
        return n <= calls_.size() ? calls_[n - 1].second : 0;
    }
    size_t CallsFrom(ThreadNumber thread) {
        const std::lock_guard lock(mutex_);
        return std::count_if(calls_.begin(), calls_.end(),
                             [&](const auto& call) { return call.second == thread; });
    }

private:
    std::mutex mutex_;
    std::vector<std::pair<char, ThreadNumber>> calls_;
};
CallLog gLog;

// The colours of the view's finished image, filled in the caller's thread.
std::vector<uint32_t> FinalImage(const Client& c, const View& v) {
    Show(c, v);
    c.FillBufferSync();
    return Image(c, v);
}

// During a fill a pixel is either not yet computed (black) or already final.
bool ShowsOnlyFinalPixels(const Client& c, const View& v, const std::vector<uint32_t>& final) {
    const auto bits = Image(c, v);
    for (size_t i = 0; i < bits.size(); ++i) {
        if (bits[i] != 0 && bits[i] != final[i]) {
            return false;
        }
    }
    return true;
}

using FractaluxThreads = Fixture;

TEST_F(FractaluxThreads, RestartedFillsReportOnlyTheirOwnCompletion) {
    const auto final = FinalImage(lib, kSet);
    lib.SetCallbacks(DoneOnSlot0, CountProgress);
    for (int i = 1; i <= 200; ++i) {
        lib.FillBuffer();
        // At most the fills started so far have completed.
        EXPECT_LE(gDone[0].load(std::memory_order_acquire), i);
        if (i % 16 == 0) {
            EXPECT_TRUE(ShowsOnlyFinalPixels(lib, kSet, final));
        }
    }
    ASSERT_TRUE(WaitFor([&] { return gDone[0].load(std::memory_order_acquire) >= 1; }));
    ASSERT_TRUE(WaitFor([&] { return Image(lib, kSet) == final; }));
    lib.Unload();
    EXPECT_LE(gDone[0].load(), 200);
}

TEST_F(FractaluxThreads, BothSlotsFillAtOnceWhileBeingShown) {
    lib.SetCurrent(1);
    const auto julia = FinalImage(lib, kJuliaSet);
    lib.SetCurrent(0);
    const auto set = FinalImage(lib, kSet);
    for (int round = 1; round <= 3; ++round) {
        lib.SetCurrent(0);
        lib.SetCallbacks(DoneOnSlot0, nullptr);
        lib.FillBuffer();
        lib.SetCurrent(1);
        lib.SetCallbacks(DoneOnSlot1, CountProgress);
        lib.FillBuffer();
        while (gDone[0].load(std::memory_order_acquire) + gDone[1].load() < 2 * round) {
            lib.SetCurrent(0);
            ASSERT_TRUE(ShowsOnlyFinalPixels(lib, kSet, set));
            lib.SetCurrent(1);
            ASSERT_TRUE(ShowsOnlyFinalPixels(lib, kJuliaSet, julia));
        }
        EXPECT_EQ(gDone[0].load(), round);
        EXPECT_EQ(gDone[1].load(), round);
    }
    EXPECT_EQ(Image(lib, kJuliaSet), julia);
}

// Callbacks that call back into the library from the worker thread: the progress callback
// restarts its own fill once, and the done callback pans three times.
Client* gClient = nullptr;
std::atomic<bool> gRestartFromProgress{false};
std::atomic<int> gPans{0};

void RestartOnce(double) {
    if (gRestartFromProgress.exchange(false)) {
        gClient->FillBuffer();
    }
}

void PanThrice() {
    if (gPans.load() < 3) {
        gPans.fetch_add(1);
        gClient->Pan(2, 0);
    }
    gDone[0].fetch_add(1, std::memory_order_release);
}

TEST_F(FractaluxThreads, CallbacksMayStartTheNextFill) {
    gClient = &lib;
    gRestartFromProgress = true;
    gPans = 0;
    Show(lib, kSet);
    lib.SetCallbacks(PanThrice, RestartOnce);
    lib.FillBuffer();
    ASSERT_TRUE(WaitFor([&] { return gDone[0].load(std::memory_order_acquire) == 4; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(gDone[0].load(), 4);
    EXPECT_EQ(Current(lib, kSet).left, kSet.left - 6 * kSet.step);
}

// A progress callback that shows the image, as a client may. On the first row of a fill it goes on
// showing it until the test opens the gate, while the client's thread ends that fill with another
// call, which may also replace the buffer: the call does not wait for the callback, and once the
// callback returns, the ended fill calls nothing more. The waiting callback and the fill started
// meanwhile show the image in pictures of their own.
std::vector<uint32_t> gShown[2] = {
    std::vector<uint32_t>(static_cast<size_t>(kSlowSet.width) * kSlowSet.height),
    std::vector<uint32_t>(static_cast<size_t>(kSlowSet.width) * kSlowSet.height)};
std::atomic<bool> gShowUntilOpened{false};
void ShowOnProgress(double) {
    gLog.Add('P');
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    const bool wait = gShowUntilOpened.exchange(false);
    do {
        gClient->Buf2Surface(gShown[wait].data(), kSlowSet.width * 4);
    } while (wait && !gGate.IsOpen() && std::chrono::steady_clock::now() < end);
    if (wait && !gGate.IsOpen()) {
        gGate.GiveUp();
    }
}

TEST_F(FractaluxThreads, CallsDuringAFillEndItWithoutWaitingForItsCallback) {
    gClient = &lib;
    gLog.Reset();
    const View basins{3, -2, 1.5, 1.0 / 256, 200, 1024, 640};
    // Each call, and whether it starts a fill of its own.
    const std::pair<std::function<void()>, bool> calls[] = {
        {[&] { lib.ChangeIts(201); }, true},      {[&] { lib.ChangeIts(200); }, true},
        {[&] { lib.Pan(3, -2); }, true},          {[&] { lib.ZoomBlock(4); }, true},
        {[&] { lib.ZoomOutBlock(4); }, true},     {[&] { lib.ZoomCorner(0.01); }, true},
        {[&] { lib.FillBuffer(); }, true},        {[&] { Show(lib, basins); }, false},
        {[&] { lib.Resample(256, 160); }, false}, {[&] { lib.FillBufferSync(); }, false},
    };
    std::vector<ThreadNumber> ended;
    for (const auto& [call, fills] : calls) {
        // A library loaded afresh: no worker of the last round is left to take the first call.
        lib.Unload();
        ASSERT_TRUE(lib.Load());
        Show(lib, basins);
        lib.SetCallbacks(DoneOnSlot0, ShowOnProgress);
        gGate.Reset();
        gShowUntilOpened = true;
        const size_t before = gLog.Count('P');
        lib.FillBuffer();
        ASSERT_TRUE(WaitFor([&] { return gLog.Count('P') > before; }));
        ended.push_back(gLog.Thread(before + 1));
        const int done = gDone[0].load();
        call();
        gGate.Open();
        ASSERT_FALSE(gGate.GaveUp());
        if (!fills) {
            EXPECT_EQ(gDone[0].load(), done);
        }
    }
    lib.Unload();
    for (const ThreadNumber thread : ended) {
        EXPECT_EQ(gLog.CallsFrom(thread), 1u);
    }
    EXPECT_FALSE(gGate.GaveUp());
}

// A done callback that waits for the client's thread while that thread starts the next fill.
std::atomic<bool> gWaitInDone{false};
void DoneWaitsForTheClient() {
    gLog.Add('D');
    if (gWaitInDone.exchange(false)) {
        gGate.Wait();
    }
    gDone[0].fetch_add(1, std::memory_order_release);
}

TEST_F(FractaluxThreads, ANewFillDoesNotWaitForTheDoneCallbackOfTheLast) {
    gLog.Reset();
    gGate.Reset();
    const auto final = FinalImage(lib, kSet);
    lib.SetCallbacks(DoneWaitsForTheClient, nullptr);
    gWaitInDone = true;
    lib.FillBuffer();
    ASSERT_TRUE(WaitFor([] { return gLog.Count('D') == 1; }));
    lib.FillBuffer();
    gGate.Open();
    ASSERT_TRUE(WaitFor([] { return gDone[0].load(std::memory_order_acquire) == 2; }));
    EXPECT_FALSE(gGate.GaveUp());
    EXPECT_EQ(Image(lib, kSet), final);
}

// A progress callback that takes a lock the client holds while it calls Pan.
std::mutex gClientLock;
void ProgressTakesTheClientLock(double) {
    gLog.Add('P');
    if (WaitFor([] { return gClientLock.try_lock(); })) {
        gClientLock.unlock();
    } else {
        gGate.GiveUp();
    }
}

TEST_F(FractaluxThreads, APanUnderALockTheProgressCallbackTakesDoesNotHang) {
    gLog.Reset();
    gGate.Reset();
    View panned = kSet;
    panned.left -= 3 * kSet.step;
    panned.top -= -2 * kSet.step;
    const auto final = FinalImage(lib, panned);
    Show(lib, kSet);
    lib.SetCallbacks(DoneOnSlot0, ProgressTakesTheClientLock);
    {
        const std::lock_guard lock(gClientLock);
        lib.FillBuffer();
        ASSERT_TRUE(WaitFor([] { return gLog.Count('P') == 1; }));
        lib.Pan(3, -2);
    }
    // The pan's fill completes; the ended fill, let go, stores nothing into the moved image and
    // calls nothing more.
    ASSERT_TRUE(WaitFor([] { return gDone[0].load(std::memory_order_acquire) == 1; }));
    EXPECT_EQ(Image(lib, panned), final);
    const ThreadNumber ended = gLog.Thread(1);
    lib.Unload();
    EXPECT_FALSE(gGate.GaveUp());
    EXPECT_EQ(gLog.CallsFrom(ended), 1u);
    EXPECT_EQ(gDone[0].load(), 1);
}

// Callbacks a client replaces during a fill: the first waits, on the fill's first row, until the
// client's thread has set the others, or clears them itself.
std::atomic<int> gReplacedDone{0};
void DoneReplaced() {
    gReplacedDone.fetch_add(1, std::memory_order_release);
}
void ProgressReplaced(double) {
    gLog.Add('R');
    gGate.Wait();
}
void ProgressAfter(double) {
    gLog.Add('A');
}
void ProgressClears(double) {
    gLog.Add('C');
    gClient->SetCallbacks(nullptr, nullptr);
}

TEST_F(FractaluxThreads, AFillCallsTheCallbacksTheSlotHoldsAtEachCall) {
    gClient = &lib;
    gLog.Reset();
    gGate.Reset();
    gReplacedDone = 0;
    const auto final = FinalImage(lib, kSet);
    lib.SetCallbacks(DoneReplaced, ProgressReplaced);
    lib.FillBuffer();
    ASSERT_TRUE(WaitFor([] { return gLog.Count('R') == 1; }));
    lib.SetCallbacks(DoneOnSlot0, ProgressAfter);
    gGate.Open();
    ASSERT_TRUE(WaitFor([] { return gDone[0].load() + gReplacedDone.load() == 1; }));
    EXPECT_EQ(gDone[0].load(), 1);
    EXPECT_EQ(gLog.Count('R'), 1u);
    EXPECT_EQ(gLog.Count('A'), static_cast<size_t>(kSet.height - 1));

    // Cleared from the first progress call, as a client does before it closes its window.
    lib.SetCallbacks(DoneReplaced, ProgressClears);
    lib.FillBuffer();
    ASSERT_TRUE(WaitFor([&] { return Image(lib, kSet) == final; }));
    lib.Unload();
    EXPECT_EQ(gLog.Count('C'), 1u);
    EXPECT_EQ(gReplacedDone.load(), 0);
    EXPECT_EQ(gDone[0].load(), 1);
}

// One pixel of Newton's basins at the largest cap, billions of steps: the first fill's progress
// call returns at once, so that its worker is inside the pixel when the client ends it; later
// fills wait on their first row until the test opens the gate.
void ParkFromTheSecondFill(double) {
    if (gLog.Add('P') > 1) {
        gGate.Wait();
    }
}

TEST_F(FractaluxThreads, EndingAFillStopsItsWorkerInsideAPixelAtAnyCap) {
    gLog.Reset();
    gGate.Reset();
    const View root{3, 1, 0, 1, INT32_MAX, 1, 1};
    Show(lib, root);
    lib.SetCallbacks(DoneOnSlot0, ParkFromTheSecondFill);
    lib.FillBuffer();
    ASSERT_TRUE(WaitFor([] { return gLog.Count('P') == 1; }));
    // Keeps every computed pixel, and starts a fill that waits before computing any.
    lib.ZoomCorner(root.step);
    EXPECT_EQ(Image(lib, root), std::vector<uint32_t>{0}) << "the ended worker stored its pixel";
    gGate.Open();
    // Unloading ends the second fill inside the pixel too.
    lib.Unload();
    EXPECT_EQ(gDone[0].load(), 0);
    EXPECT_FALSE(gGate.GaveUp());
}

// Unloading while an ended worker is still inside a callback waits for it to return.
std::atomic<bool> gUnloaded{false};
std::atomic<bool> gReturnedBeforeUnload{false};
void ParkThenReturn(double) {
    if (gLog.Add('P') == 1) {
        gGate.Wait();
        gReturnedBeforeUnload = !gUnloaded.load();
    }
}

TEST_F(FractaluxThreads, UnloadingWaitsForAnEndedWorkerInsideACallback) {
    gLog.Reset();
    gGate.Reset();
    gUnloaded = false;
    gReturnedBeforeUnload = false;
    Show(lib, kSet);
    lib.SetCallbacks(DoneOnSlot0, ParkThenReturn);
    lib.FillBuffer();
    ASSERT_TRUE(WaitFor([] { return gLog.Count('P') == 1; }));
    lib.FillBuffer();
    std::thread unloading([&] {
        lib.Unload();
        gUnloaded = true;
    });
    gGate.Open();
    unloading.join();
    EXPECT_TRUE(gReturnedBeforeUnload.load());
    EXPECT_EQ(::dlopen(FRACTALUX_PATH, RTLD_NOW | RTLD_NOLOAD), nullptr) << "still loaded";
    EXPECT_FALSE(gGate.GaveUp());
}

TEST_F(FractaluxThreads, UnloadingEndsTheFillsAndFreesEverything) {
    // Slot 1's cap makes its fill take minutes, so only an ended fill lets the unloading return;
    // slot 0's may finish first on a slow machine, which is no fault.
    const View endless{1, -2.5, 1.25, 1.0 / 256, 50000000, 1024, 640};
    gProgress = 0;
    for (int32_t slot : {0, 1}) {
        lib.SetCurrent(slot);
        Show(lib, slot == 0 ? kSlowSet : endless);
        lib.SetCallbacks(slot == 0 ? DoneOnSlot0 : DoneOnSlot1, CountProgress);
        lib.FillBuffer();
    }
    ASSERT_TRUE(WaitFor([] { return gProgress.load() > 0; }));
    lib.Unload();
    EXPECT_EQ(::dlopen(FRACTALUX_PATH, RTLD_NOW | RTLD_NOLOAD), nullptr) << "still loaded";
    EXPECT_EQ(gDone[1].load(), 0);
    // Nothing is called once the library is gone.
    const int progress = gProgress.load();
    const int done = gDone[0].load();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(gProgress.load(), progress);
    EXPECT_EQ(gDone[0].load(), done);
}

} // namespace
