#pragma once

#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

// Files a user can choose in a file dialog that are no ordinary files, made in
// the tests' scratch folder: a named pipe no one writes to, and a huge file
// that takes no disk space.

namespace platform::oddfiles {

inline std::filesystem::path Scratch(std::string_view name) {
    const std::filesystem::path path = std::filesystem::path(testing::TempDir()) / name;
    std::error_code error;
    std::filesystem::remove(path, error);
    return path;
}

// A named pipe without a writer: opening it for reading in the usual way
// waits for one for good.
inline std::filesystem::path MakeFifo(std::string_view name) {
    const std::filesystem::path path = Scratch(name);
    EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0) << path;
    return path;
}

// A regular file of `size` bytes, all of them zero, held as one hole.
inline std::filesystem::path MakeSparseFile(std::string_view name, uint64_t size) {
    const std::filesystem::path path = Scratch(name);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    EXPECT_GE(fd, 0) << path;
    if (fd >= 0) {
        EXPECT_EQ(::ftruncate(fd, static_cast<off_t>(size)), 0) << path;
        ::close(fd);
    }
    return path;
}

constexpr uint64_t kHugeSize = uint64_t{64} << 30;

} // namespace platform::oddfiles
