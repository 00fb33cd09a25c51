#include "LibraryBinding.h"

#include <dlfcn.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

using platform::BindingFailure;
using platform::BoundFunction;

// A library every process has loaded: the one providing dlopen.
std::string SystemLibrary() {
    Dl_info info{};
    EXPECT_NE(::dladdr(reinterpret_cast<void*>(&::dlopen), &info), 0);
    return info.dli_fname ? info.dli_fname : "";
}

// Records the failures instead of stopping the test program.
class LibraryBinding : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = platform::SetBindingFailureHandler(
            [this](const BindingFailure& failure) { failures_.push_back(failure); });
    }
    void TearDown() override { platform::SetBindingFailureHandler(std::move(previous_)); }

    std::vector<BindingFailure> failures_;

private:
    platform::BindingFailureHandler previous_;
};

TEST(LibraryPathTest, NamesTheSharedLibraryBesideTheProgram) {
    const auto folder = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    const std::pair<const char*, std::filesystem::path> cases[] = {
        {"Population.dll", folder / "libPopulation.so"},
        {"PRNG.DLL", folder / "libPRNG.so"},
        {"Neural", folder / "libNeural.so"},
        {"libFractalux.so", folder / "libFractalux.so"},
        {"/opt/x/libOther.so", "/opt/x/libOther.so"}};
    for (const auto& [name, path] : cases)
        EXPECT_EQ(platform::LibraryPath(name), path) << name;
}

TEST_F(LibraryBinding, BindsOnFirstCallAndKeepsTheAddress) {
    const std::string library = SystemLibrary();
    BoundFunction<int(int)> abs(library, "abs");
    EXPECT_EQ(abs.Bound(), nullptr);
    EXPECT_EQ(abs(-7), 7);
    void* handle = ::dlopen(library.c_str(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(handle, nullptr);
    const auto address = abs.Bound();
    EXPECT_EQ(reinterpret_cast<void*>(address), ::dlsym(handle, "abs"));
    EXPECT_EQ(abs(3), 3);
    EXPECT_EQ(abs.Bound(), address);
    ::dlclose(handle);
    EXPECT_TRUE(failures_.empty());
}

TEST_F(LibraryBinding, MissingLibraryOrEntryIsReportedWithBothNames) {
    const std::string library = SystemLibrary();
    BoundFunction<int(int)> noLibrary("NoSuchLibrary.dll", "_Z4Stepv");
    BoundFunction<int(int)> noEntry(library, "NoSuchEntry");
    EXPECT_EQ(noLibrary(5), 0);
    EXPECT_EQ(noEntry(5), 0);
    ASSERT_EQ(failures_.size(), 2u);
    EXPECT_EQ(failures_[0].library, platform::LibraryPath("NoSuchLibrary.dll").string());
    EXPECT_EQ(failures_[0].entry, "_Z4Stepv");
    EXPECT_EQ(failures_[1].library, library);
    EXPECT_EQ(failures_[1].entry, "NoSuchEntry");
    for (const BindingFailure& failure : failures_) {
        EXPECT_NE(failure.message.find(failure.library), std::string::npos) << failure.message;
        EXPECT_NE(failure.message.find(failure.entry), std::string::npos) << failure.message;
    }
    // A failed binding keeps nothing, so a later call tries again.
    EXPECT_EQ(noEntry.Bound(), nullptr);
    noEntry(1);
    EXPECT_EQ(failures_.size(), 3u);
}

TEST_F(LibraryBinding, BindLibraryBindsEveryDeclaredEntryAndReportsEachMissingOne) {
    const std::string library = SystemLibrary();
    BoundFunction<int(int)> abs(library, "abs");
    BoundFunction<long(long)> labs(library, "labs");
    BoundFunction<int(int)> missing(library, "NoSuchEntry");
    BoundFunction<int(int)> otherMissing(library, "NoSuchEntryEither");
    BoundFunction<int(int)> elsewhere("NoSuchLibrary.dll", "_Z4Stepv");
    {
        BoundFunction<int(int)> gone(library, "NoSuchEntryGone");
    }
    EXPECT_FALSE(platform::BindLibrary(library));
    // Both missing entries are reported, not only the first; another library's
    // entry and an entry no longer declared are not touched.
    ASSERT_EQ(failures_.size(), 2u);
    EXPECT_EQ(failures_[0].entry, "NoSuchEntry");
    EXPECT_EQ(failures_[1].entry, "NoSuchEntryEither");
    EXPECT_NE(abs.Bound(), nullptr);
    EXPECT_NE(labs.Bound(), nullptr);
    EXPECT_EQ(elsewhere.Bound(), nullptr);
    EXPECT_EQ(labs(-4), 4);
    EXPECT_EQ(failures_.size(), 2u);
}

TEST_F(LibraryBinding, BindLibraryOfCompleteLibraryIsQuiet) {
    const std::string library = SystemLibrary();
    BoundFunction<int(int)> abs(library, "abs");
    EXPECT_TRUE(platform::BindLibrary(library));
    EXPECT_TRUE(platform::BindLibrary(library)) << "binding again keeps the address";
    EXPECT_TRUE(failures_.empty());
    EXPECT_NE(abs.Bound(), nullptr);
}

TEST(LibraryBindingDeathTest, ByDefaultAFailureStopsTheProgramWithItsMessage) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    BoundFunction<void()> step("NoSuchLibrary.dll", "_Z4Stepv");
    EXPECT_EXIT(step(), ::testing::ExitedWithCode(1), "libNoSuchLibrary.so.*_Z4Stepv");
}

} // namespace
