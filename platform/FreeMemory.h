#pragma once

#include <cstddef>

// Gives the pages of freed heap memory back to the system. The C library
// keeps freed blocks in its heap for later use, so a process that once held a
// large list stays that large after freeing it unless told; call this after
// releasing storage of at least some megabytes.

namespace platform {

// The size of released storage from which ReleasedLarge gives memory back.
inline constexpr std::size_t kLargeRelease = std::size_t(8) << 20;

void ReturnFreedMemory();

// ReturnFreedMemory when bytes reach kLargeRelease.
inline void ReleasedLarge(std::size_t bytes) {
    if (bytes >= kLargeRelease)
        ReturnFreedMemory();
}

} // namespace platform
