#include "SafeReplace.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::optional<uint64_t> writeLimit;

std::filesystem::path ResolvedTarget(const std::filesystem::path& target) {
    std::error_code error;
    if (std::filesystem::is_symlink(target, error)) {
        auto resolved = std::filesystem::canonical(target, error);
        if (!error)
            return resolved;
    }
    return target;
}

std::filesystem::path FolderOf(const std::filesystem::path& path) {
    return path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
}

// Whether the existing regular file at path may not be opened for writing.
// A file without any write permission is read-only for every user, root
// included; otherwise the permissions of this process decide.
bool ReadOnly(const std::filesystem::path& path, const struct stat& status) {
    if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return true;
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0;
}

} // namespace

SafeReplace::SafeReplace(const std::filesystem::path& target, unsigned newFileMode)
    : target_(ResolvedTarget(target)), buffer_(std::make_unique<uint8_t[]>(kBufferSize)) {
    static std::atomic<unsigned> serial{0};
    struct stat existing {};
    const bool exists = ::stat(target_.c_str(), &existing) == 0;
    // A folder, a device or a pipe is not replaced by a file, nor is a file
    // that may not be written.
    if (exists && (!S_ISREG(existing.st_mode) || ReadOnly(target_, existing))) {
        failed_ = true;
        return;
    }
    const mode_t mode = exists ? (existing.st_mode & 07777) : mode_t(newFileMode);
    // The aside name is short whatever the target's, so that it fits in the
    // folder whenever the target's name does.
    const std::string prefix = ".~" + std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        aside_ = FolderOf(target_) / (prefix + std::to_string(serial++));
        fd_ = ::open(aside_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd_ < 0 && errno != EEXIST)
            break;
    }
    if (fd_ < 0) {
        aside_.clear();
        failed_ = true;
        return;
    }
    if (exists) {
        // The owner where the process may give it (the group alone
        // otherwise); a change of owner clears the set-id bits, so the mode,
        // which the umask may also have narrowed, comes after.
        if ((existing.st_uid != ::geteuid() || existing.st_gid != ::getegid()) &&
            ::fchown(fd_, existing.st_uid, existing.st_gid) != 0 &&
            ::fchown(fd_, uid_t(-1), existing.st_gid) != 0) {
            // The new file stays the process's own.
        }
        ::fchmod(fd_, mode);
    }
}

SafeReplace::~SafeReplace() {
    Abandon();
}

bool SafeReplace::WriteAll(const uint8_t* data, size_t count) {
    bool full = false;
    if (writeLimit) {
        const uint64_t room = written_ < *writeLimit ? *writeLimit - written_ : 0;
        if (count > room) {
            count = static_cast<size_t>(room);
            full = true;
        }
    }
    while (count > 0) {
        const ssize_t n = ::write(fd_, data, count);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        count -= static_cast<size_t>(n);
        written_ += static_cast<uint64_t>(n);
    }
    if (full)
        errno = ENOSPC;
    return !full;
}

void SafeReplace::Flush() {
    if (pos_ == 0)
        return;
    if (!Ok() || !WriteAll(buffer_.get(), pos_))
        failed_ = true;
    pos_ = 0;
}

void SafeReplace::Write(const void* data, size_t count) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (pos_ + count <= kBufferSize) {
        if (count > 0)
            std::memcpy(buffer_.get() + pos_, bytes, count);
        pos_ += count;
        return;
    }
    Flush();
    if (!Ok() || !WriteAll(bytes, count))
        failed_ = true;
}

bool SafeReplace::Commit() {
    if (fd_ < 0)
        return false;
    Flush();
    bool ok = !failed_ && ::fsync(fd_) == 0;
    ok = ::close(fd_) == 0 && ok;
    fd_ = -1;
    if (!ok || ::rename(aside_.c_str(), target_.c_str()) != 0) {
        failed_ = true;
        Abandon();
        return false;
    }
    aside_.clear();
    // The rename itself reaches the disk with its folder.
    const int folder = ::open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

void SafeReplace::Abandon() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!aside_.empty()) {
        ::unlink(aside_.c_str());
        aside_.clear();
    }
    pos_ = 0;
    failed_ = true;
}

bool ReplaceFileContents(const std::filesystem::path& target, std::span<const uint8_t> bytes,
                         unsigned newFileMode) {
    SafeReplace file(target, newFileMode);
    file.Write(bytes.data(), bytes.size());
    return file.Commit();
}

bool ReplaceFileContents(const std::filesystem::path& target, std::string_view bytes,
                         unsigned newFileMode) {
    SafeReplace file(target, newFileMode);
    file.Write(bytes);
    return file.Commit();
}

SafeReplaceWriteLimit::SafeReplaceWriteLimit(uint64_t bytes) : previous_(writeLimit) {
    writeLimit = bytes;
}

SafeReplaceWriteLimit::~SafeReplaceWriteLimit() {
    writeLimit = previous_;
}

} // namespace platform
