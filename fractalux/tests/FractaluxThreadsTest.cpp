#include "FractaluxClient.h"

#include <atomic>

using namespace fractalux_test;

namespace {

const View kSet{1, -2.5, 1.25, 1.0 / 32, 300, 128, 80};
const View kJuliaSet{2, -1.5, 1.0, 1.0 / 32, 300, 96, 64, -0.8, 0.156};

std::atomic<int> gDone[2];
std::atomic<int> gProgress{0};

void DoneOnSlot0() {
    gDone[0].fetch_add(1, std::memory_order_release);
}
void DoneOnSlot1() {
    gDone[1].fetch_add(1, std::memory_order_release);
}
void CountProgress(double) {
    gProgress.fetch_add(1, std::memory_order_relaxed);
}

// The colours of the view's finished image, filled in the caller's thread.
std::vector<uint32_t> FinalImage(const Client& c, const View& v) {
    Show(c, v);
    c.FillBufferSync();
    std::vector<uint32_t> bits(static_cast<size_t>(v.width) * v.height);
    c.Buf2Surface(bits.data(), v.width * 4);
    return bits;
}

// During a fill a pixel is either not yet computed (black) or already final.
bool ShowsOnlyFinalPixels(const Client& c, const View& v, const std::vector<uint32_t>& final) {
    std::vector<uint32_t> bits(final.size());
    c.Buf2Surface(bits.data(), v.width * 4);
    for (size_t i = 0; i < bits.size(); ++i) {
        if (bits[i] != 0 && bits[i] != final[i]) {
            return false;
        }
    }
    return true;
}

class FractaluxThreads : public Fixture {
protected:
    void SetUp() override {
        Fixture::SetUp();
        gDone[0] = 0;
        gDone[1] = 0;
        gProgress = 0;
    }
};

TEST_F(FractaluxThreads, RestartedFillsReportOnlyTheirOwnCompletion) {
    const auto final = FinalImage(lib, kSet);
    lib.SetCallbacks(DoneOnSlot0, CountProgress);
    int fills = 0;
    int last = 0;
    for (int i = 0; i < 200; ++i) {
        lib.FillBuffer();
        ++fills;
        const int now = gDone[0].load(std::memory_order_acquire);
        // Only the fill just replaced may have completed meanwhile.
        EXPECT_LE(now - last, 1);
        last = now;
        if (i % 16 == 0) {
            EXPECT_TRUE(ShowsOnlyFinalPixels(lib, kSet, final));
        }
    }
    ASSERT_TRUE(WaitFor([&] { return gDone[0].load(std::memory_order_acquire) == last + 1; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(gDone[0].load(), last + 1);
    EXPECT_LE(gDone[0].load(), fills);
    std::vector<uint32_t> bits(final.size());
    lib.Buf2Surface(bits.data(), kSet.width * 4);
    EXPECT_EQ(bits, final);
}

TEST_F(FractaluxThreads, BothSlotsFillAtOnceWhileBeingShown) {
    lib.SetCurrent(1);
    const auto julia = FinalImage(lib, kJuliaSet);
    lib.SetCurrent(0);
    const auto set = FinalImage(lib, kSet);
    for (int round = 0; round < 3; ++round) {
        lib.SetCurrent(0);
        lib.SetCallbacks(DoneOnSlot0, nullptr);
        lib.FillBuffer();
        lib.SetCurrent(1);
        lib.SetCallbacks(DoneOnSlot1, CountProgress);
        lib.FillBuffer();
        while (gDone[0].load(std::memory_order_acquire) + gDone[1].load() < 2 * (round + 1)) {
            lib.SetCurrent(0);
            ASSERT_TRUE(ShowsOnlyFinalPixels(lib, kSet, set));
            lib.SetCurrent(1);
            ASSERT_TRUE(ShowsOnlyFinalPixels(lib, kJuliaSet, julia));
        }
        EXPECT_EQ(gDone[0].load(), round + 1);
        EXPECT_EQ(gDone[1].load(), round + 1);
    }
    lib.SetCurrent(1);
    ASSERT_TRUE(ShowsOnlyFinalPixels(lib, kJuliaSet, julia));
    std::vector<uint32_t> bits(julia.size());
    lib.Buf2Surface(bits.data(), kJuliaSet.width * 4);
    EXPECT_EQ(bits, julia);
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
    double top = 0;
    double left = 0;
    double step = 0;
    int32_t maxIts = 0;
    lib.GetParams(&top, &left, &step, &maxIts);
    EXPECT_EQ(left, kSet.left - 6 * kSet.step);
}

TEST_F(FractaluxThreads, UnloadingEndsTheFillsAndFreesEverything) {
    const View big{1, -2.5, 1.25, 1.0 / 256, 3000, 1024, 640};
    for (int32_t slot : {0, 1}) {
        lib.SetCurrent(slot);
        Show(lib, big);
        lib.SetCallbacks(slot == 0 ? DoneOnSlot0 : DoneOnSlot1, CountProgress);
        lib.FillBuffer();
    }
    ASSERT_TRUE(WaitFor([] { return gProgress.load() > 0; }));
    lib.Unload();
    EXPECT_EQ(::dlopen(FRACTALUX_PATH, RTLD_NOW | RTLD_NOLOAD), nullptr) << "still loaded";
    const int progress = gProgress.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(gProgress.load(), progress);
    EXPECT_EQ(gDone[0].load() + gDone[1].load(), 0);

    // Loaded again, the library starts afresh.
    ASSERT_TRUE(lib.Load());
    double top = 1;
    double left = 1;
    double step = 1;
    int32_t maxIts = 1;
    lib.GetParams(&top, &left, &step, &maxIts);
    EXPECT_EQ(top + left + step + maxIts, 0);
    uint32_t pixel = 0x12345678;
    EXPECT_EQ(lib.Buf2Surface(&pixel, 4), 0);
    EXPECT_EQ(pixel, 0x12345678u);
}

} // namespace
