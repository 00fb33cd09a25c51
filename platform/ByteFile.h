#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>

// Buffered binary files read and written one byte or one block at a time, with
// a fixed buffer whatever the file's size. Every byte is a value 0 to 255.

namespace platform {

class ByteReader {
public:
    static constexpr size_t kBufferSize = 64 * 1024;

    ByteReader();
    ~ByteReader();
    ByteReader(const ByteReader&) = delete;
    ByteReader& operator=(const ByteReader&) = delete;

    // Opens path for reading, closing any file open before; false when it cannot.
    bool Open(const std::filesystem::path& path);
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
    bool failed_ = false;
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
