#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <memory>
#include <span>
#include <string>

// Buffered binary files read and written one byte or one block at a time, with
// a fixed buffer whatever the file's size. Every byte is a value 0 to 255.

namespace platform {

// Opens path for reading when it names a regular file, checked on the opened
// descriptor, and gives the descriptor (close-on-exec) and the file's size;
// -1 for anything else. The open itself never waits: a named pipe without a
// writer, a device or a folder is refused at once.
int OpenRegularFile(const std::filesystem::path& path, uint64_t& size);

class ByteReader {
public:
    static constexpr size_t kBufferSize = 64 * 1024;
    static constexpr uint64_t kNoLimit = std::numeric_limits<uint64_t>::max();

    ByteReader();
    ~ByteReader();
    ByteReader(const ByteReader&) = delete;
    ByteReader& operator=(const ByteReader&) = delete;

    // Opens the regular file at path for reading (OpenRegularFile), closing any
    // file open before; false when it cannot, or when the file holds more than
    // maxBytes. A file that grows past maxBytes while it is read fails to read
    // there, so a reader never takes in more than maxBytes.
    bool Open(const std::filesystem::path& path, uint64_t maxBytes = kNoLimit);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }

    // The file's size in bytes when it was opened.
    uint64_t Size() const { return size_; }

    // The next byte, or -1 at the end of the file or after a read error.
    int ReadByte() {
        if (pos_ == end_ && !Fill())
            return -1;
        return buffer_[pos_++];
    }
    bool AtEnd() { return pos_ == end_ && !Fill(); }

    // Copies up to count bytes into dest; fewer only at the end or after an error.
    size_t Read(uint8_t* dest, size_t count);

    // The buffered bytes not read yet, refilled when none are left, all of them
    // taken as read; empty at the end of the file.
    std::span<const uint8_t> NextChunk();

    // True once a read failed (as opposed to reaching the end).
    bool Failed() const { return failed_; }

private:
    bool Fill();
    size_t ReadSome(uint8_t* dest, size_t count);

    std::unique_ptr<uint8_t[]> buffer_;
    size_t pos_ = 0;
    size_t end_ = 0;
    int fd_ = -1;
    uint64_t size_ = 0;
    uint64_t limit_ = kNoLimit;
    uint64_t taken_ = 0; // bytes read from the file
    bool failed_ = false;
};

// Reads the whole regular file at path into bytes, which it replaces; false,
// with bytes empty, when the file cannot be opened or read, holds more than
// maxBytes, or its bytes cannot be held in memory.
bool ReadWholeFile(const std::filesystem::path& path, uint64_t maxBytes, std::string& bytes);

// Test hook: while it lives, every reader hands out at most `bytes` bytes of
// its file, and its next read fails as on a damaged disk.
class ByteReaderReadLimit {
public:
    explicit ByteReaderReadLimit(uint64_t bytes);
    ~ByteReaderReadLimit();
    ByteReaderReadLimit(const ByteReaderReadLimit&) = delete;
    ByteReaderReadLimit& operator=(const ByteReaderReadLimit&) = delete;

private:
    uint64_t previous_;
};

class ByteWriter {
public:
    static constexpr size_t kBufferSize = 64 * 1024;

    ByteWriter();
    ~ByteWriter();
    ByteWriter(const ByteWriter&) = delete;
    ByteWriter& operator=(const ByteWriter&) = delete;

    // Creates path, replacing an existing file; false when it cannot.
    bool Create(const std::filesystem::path& path);
    bool IsOpen() const { return fd_ >= 0; }

    void WriteByte(uint8_t b) {
        if (pos_ == kBufferSize)
            Flush();
        buffer_[pos_++] = b;
    }
    void Write(const uint8_t* data, size_t count);

    // Bytes handed to the writer since Create.
    uint64_t Written() const { return written_ + pos_; }

    // Writes what is buffered and closes the file; false when any write or the
    // close failed. Closing a writer that is not open gives true.
    bool Close();

    bool Failed() const { return failed_; }

private:
    void Flush();
    void WriteAll(const uint8_t* data, size_t count);

    std::unique_ptr<uint8_t[]> buffer_;
    size_t pos_ = 0;
    int fd_ = -1;
    uint64_t written_ = 0;
    bool failed_ = false;
};

} // namespace platform
