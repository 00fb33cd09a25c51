#pragma once

// What the tests share: the library bound by name as its client binds it, views of the plane,
// images read back through Buf2Surface, and fills waited for through their done callback.

#include "Fractalux.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <dlfcn.h>
#include <functional>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace fractalux_test {

// The seventeen entries with the names the platform's compiler gives them.
#define FRACTALUX_ENTRIES(X)                                                                       \
    X(SetCurrent, "_Z10SetCurrenti")                                                               \
    X(Initialize, "_Z10Initializeiii")                                                             \
    X(SetParams, "_Z9SetParamsdddi")                                                               \
    X(GetParams, "_Z9GetParamsPdS_S_Pi")                                                           \
    X(SetFractal, "_Z10SetFractalidd")                                                             \
    X(SetCallbacks, "_Z12SetCallbacksPFvvEPFvdE")                                                  \
    X(SetColorOrder, "_Z13SetColorOrderiii")                                                       \
    X(SetColorCycles, "_Z14SetColorCyclesi")                                                       \
    X(FillBuffer, "_Z10FillBufferv")                                                               \
    X(FillBufferSync, "_Z14FillBufferSyncv")                                                       \
    X(ChangeIts, "_Z9ChangeItsi")                                                                  \
    X(Pan, "_Z3Panii")                                                                             \
    X(ZoomBlock, "_Z9ZoomBlocki")                                                                  \
    X(ZoomOutBlock, "_Z12ZoomOutBlocki")                                                           \
    X(ZoomCorner, "_Z10ZoomCornerd")                                                               \
    X(Resample, "_Z8Resampleii")                                                                   \
    X(Buf2Surface, "_Z11Buf2SurfacePvi")

struct Client {
    void* handle = nullptr;
#define FRACTALUX_DECLARE(name, mangled) decltype(&::name) name = nullptr;
    FRACTALUX_ENTRIES(FRACTALUX_DECLARE)
#undef FRACTALUX_DECLARE

    // Loads the library and binds every entry by name; false (with a failure) otherwise.
    bool Load() {
        handle = ::dlopen(FRACTALUX_PATH, RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            ADD_FAILURE() << ::dlerror();
            return false;
        }
#define FRACTALUX_BIND(name, mangled)                                                              \
    name = reinterpret_cast<decltype(name)>(::dlsym(handle, mangled));                             \
    if (!name) {                                                                                   \
        ADD_FAILURE() << "missing entry " << mangled;                                              \
        return false;                                                                              \
    }
        FRACTALUX_ENTRIES(FRACTALUX_BIND)
#undef FRACTALUX_BIND
        return true;
    }

    void Unload() {
        if (handle) {
            ::dlclose(handle);
            handle = nullptr;
        }
    }
};

// A view of the plane; left, top and step are chosen exactly representable so that moved views
// land on the same complex numbers.
struct View {
    int32_t kind;
    double left, top, step;
    int32_t maxIts, width, height;
    double re = 0, im = 0;
};

// Selects the view on the current slot in format 21 with one colour cycle.
inline void Show(const Client& c, const View& v) {
    ASSERT_EQ(c.Initialize(v.width, v.height, 21), 0);
    c.SetParams(v.top, v.left, v.step, v.maxIts);
    c.SetFractal(v.kind, v.re, v.im);
    c.SetColorCycles(1);
}

// The view with the plane window and cap of the current slot.
inline View Current(const Client& c, View v) {
    c.GetParams(&v.top, &v.left, &v.step, &v.maxIts);
    return v;
}

// The current slot's pixels in a 4-byte format.
inline std::vector<uint32_t> Image(const Client& c, const View& v) {
    std::vector<uint32_t> bits(static_cast<size_t>(v.width) * v.height);
    EXPECT_EQ(c.Buf2Surface(bits.data(), v.width * 4), 0);
    return bits;
}

// Waits up to twenty seconds for a condition that another thread makes true.
inline bool WaitFor(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Done callbacks of fills on slot 0 and slot 1.
inline std::atomic<int> gDone[2];
inline void DoneOnSlot0() {
    gDone[0].fetch_add(1, std::memory_order_release);
}
inline void DoneOnSlot1() {
    gDone[1].fetch_add(1, std::memory_order_release);
}

// Runs a call that starts a fill on slot 0 and waits for that fill's done callback.
inline bool AndWait(const std::function<void()>& call) {
    const int before = gDone[0].load(std::memory_order_acquire);
    call();
    return WaitFor([&] { return gDone[0].load(std::memory_order_acquire) > before; });
}

// Every test starts on a freshly loaded library and unloads it at the end.
class Fixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(lib.Load());
        gDone[0] = 0;
        gDone[1] = 0;
    }
    void TearDown() override { lib.Unload(); }
    Client lib;
};

} // namespace fractalux_test
