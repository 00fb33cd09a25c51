#include "FractaluxClient.h"

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
    int last = 0;
    for (int i = 0; i < 200; ++i) {
        lib.FillBuffer();
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
    EXPECT_EQ(Image(lib, kSet), final);
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

// A progress callback that shows the image, as a client may, while the client thread restarts or
// rebuilds the fill: each call ends the running fill, waiting for its callback, before it changes
// anything; the ended fill stores nothing more and reports nothing.
std::vector<uint32_t> gShown(static_cast<size_t>(kSlowSet.width) * kSlowSet.height);
void ShowOnProgress(double) {
    gClient->Buf2Surface(gShown.data(), kSlowSet.width * 4);
    gProgress.fetch_add(1, std::memory_order_relaxed);
}

TEST_F(FractaluxThreads, CallsDuringAFillEndItFirst) {
    gClient = &lib;
    const View basins{3, -2, 1.5, 1.0 / 256, 200, 1024, 640};
    // Each call, and whether it starts a fill of its own.
    const std::pair<std::function<void()>, bool> calls[] = {
        {[&] { lib.ChangeIts(201); }, true},      {[&] { lib.ChangeIts(200); }, true},
        {[&] { lib.Pan(3, -2); }, true},          {[&] { lib.ZoomBlock(4); }, true},
        {[&] { lib.ZoomOutBlock(4); }, true},     {[&] { lib.ZoomCorner(0.01); }, true},
        {[&] { lib.FillBuffer(); }, true},        {[&] { Show(lib, basins); }, false},
        {[&] { lib.Resample(256, 160); }, false}, {[&] { lib.FillBufferSync(); }, false},
    };
    Show(lib, basins);
    lib.SetCallbacks(DoneOnSlot0, ShowOnProgress);
    for (const auto& [call, fills] : calls) {
        gProgress = 0;
        lib.FillBuffer();
        ASSERT_TRUE(WaitFor([] { return gProgress.load() > 0; }));
        const int done = gDone[0].load();
        call();
        if (!fills) {
            const int progress = gProgress.load();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            EXPECT_EQ(gProgress.load(), progress);
            EXPECT_EQ(gDone[0].load(), done);
        }
    }
}

TEST_F(FractaluxThreads, UnloadingEndsTheFillsAndFreesEverything) {
    gProgress = 0;
    for (int32_t slot : {0, 1}) {
        lib.SetCurrent(slot);
        Show(lib, kSlowSet);
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
}

} // namespace
