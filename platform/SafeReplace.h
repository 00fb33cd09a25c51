#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

// Replacing a file safely: every file a program writes goes through here. The
// whole output is written aside, in a new file of the target's folder, flushed
// to disk, and only then renamed over the target. A write that fails, or a
// save the caller abandons (a cancel), removes the aside file and leaves the
// target exactly as it was, or absent if it was. A folder that does not allow
// a file to be written aside fails the save at once; the target is untouched.
//
// A target that is a symbolic link is replaced where the link points. An
// existing target keeps its permission bits, and its owner and group where
// the process may give them. A target that exists and is not a regular file
// (a folder, a device, a pipe), or is read-only, is never replaced: the save
// fails. Read-only is a file without any write permission, for every user
// root included, or one this process may not open for writing.
//
// The aside file has a short name of its own in the target's folder, so a
// target whose name fits in the folder can always be saved.

namespace platform {

class SafeReplace {
public:
    static constexpr size_t kBufferSize = 64 * 1024;

    // Opens a new aside file beside target. newFileMode is the mode of a
    // target that does not exist yet (the umask applies).
    explicit SafeReplace(const std::filesystem::path& target, unsigned newFileMode = 0666);
    // Abandons the save unless it was committed.
    ~SafeReplace();
    SafeReplace(const SafeReplace&) = delete;
    SafeReplace& operator=(const SafeReplace&) = delete;

    // Whether the aside file is open and nothing has failed so far.
    bool Ok() const { return fd_ >= 0 && !failed_; }
    bool Failed() const { return failed_; }

    // Buffered writing; a failure is kept and makes Commit fail.
    void WriteByte(uint8_t b) {
        if (pos_ == kBufferSize)
            Flush();
        buffer_[pos_++] = b;
    }
    void Write(const void* data, size_t count);
    void Write(std::string_view text) { Write(text.data(), text.size()); }
    // Bytes handed over since the start.
    uint64_t Written() const { return written_ + pos_; }

    // The aside file for writers of their own (-1 when it could not be
    // opened). Writes through it bypass the buffer: call Flush first when
    // mixing both. Such writers report their failure through Fail.
    int Fd() const { return fd_; }
    const std::filesystem::path& AsidePath() const { return aside_; }
    // The file that Commit replaces (a linked target resolved).
    const std::filesystem::path& Target() const { return target_; }
    void Flush();
    void Fail() { failed_ = true; }

    // Writes what is buffered, flushes the file to disk and renames it over
    // the target. False, with the aside file removed and the target as it
    // was, when anything failed before or now.
    bool Commit();
    // Removes the aside file; the target stays as it was.
    void Abandon();

private:
    bool WriteAll(const uint8_t* data, size_t count);

    std::filesystem::path target_;
    std::filesystem::path aside_;
    std::unique_ptr<uint8_t[]> buffer_;
    size_t pos_ = 0;
    uint64_t written_ = 0;
    int fd_ = -1;
    bool failed_ = false;
};

// Replaces target with exactly these bytes; false, with the target as it
// was, when it cannot.
bool ReplaceFileContents(const std::filesystem::path& target, std::span<const uint8_t> bytes,
                         unsigned newFileMode = 0666);
bool ReplaceFileContents(const std::filesystem::path& target, std::string_view bytes,
                         unsigned newFileMode = 0666);

// Test hook: while it lives, every aside file takes at most `bytes` bytes
// through Write and WriteByte, and the writes beyond fail as on a full disk.
class SafeReplaceWriteLimit {
public:
    explicit SafeReplaceWriteLimit(uint64_t bytes);
    ~SafeReplaceWriteLimit();
    SafeReplaceWriteLimit(const SafeReplaceWriteLimit&) = delete;
    SafeReplaceWriteLimit& operator=(const SafeReplaceWriteLimit&) = delete;

private:
    std::optional<uint64_t> previous_;
};

} // namespace platform
