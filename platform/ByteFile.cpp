#include "ByteFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <new>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// The bytes every reader may read before it fails (ByteReaderReadLimit); a
// reader may run on a thread of its own (the sound player's).
std::atomic<uint64_t> readFault{ByteReader::kNoLimit};

} // namespace

int OpenRegularFile(const std::filesystem::path& path, uint64_t& size) {
    // What the name shows first, so that a device is not even opened; then the
    // descriptor itself, since the name may have changed in between.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return -1;
    // Without O_NONBLOCK, opening a named pipe waits for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return -1;
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || flags < 0 ||
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return -1;
    }
    size = static_cast<uint64_t>(info.st_size);
    return fd;
}

ByteReader::ByteReader() : buffer_(new uint8_t[kBufferSize]) {}

ByteReader::~ByteReader() {
    Close();
}

bool ByteReader::Open(const std::filesystem::path& path, uint64_t maxBytes) {
    Close();
    uint64_t size = 0;
    const int fd = OpenRegularFile(path, size);
    if (fd < 0)
        return false;
    if (size > maxBytes) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    size_ = size;
    limit_ = maxBytes;
    return true;
}

void ByteReader::Close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    pos_ = end_ = 0;
    size_ = 0;
    limit_ = kNoLimit;
    taken_ = 0;
    failed_ = false;
}

size_t ByteReader::ReadSome(uint8_t* dest, size_t count) {
    if (fd_ < 0 || failed_ || count == 0)
        return 0;
    const uint64_t fault = readFault.load(std::memory_order_relaxed);
    if (taken_ >= fault) {
        failed_ = true;
        return 0;
    }
    // At the limit one byte more is asked for: it tells a file that grew past
    // the limit from one that ends there.
    const uint64_t room = std::max<uint64_t>(std::min(limit_, fault) - taken_, 1);
    count = static_cast<size_t>(std::min<uint64_t>(count, room));
    while (true) {
        const ssize_t got = ::read(fd_, dest, count);
        if (got >= 0) {
            taken_ += static_cast<uint64_t>(got);
            if (taken_ > limit_) {
                failed_ = true;
                return 0;
            }
            return static_cast<size_t>(got);
        }
        if (errno != EINTR) {
            failed_ = true;
            return 0;
        }
    }
}

bool ByteReader::Fill() {
    pos_ = 0;
    end_ = ReadSome(buffer_.get(), kBufferSize);
    return end_ > 0;
}

size_t ByteReader::Read(uint8_t* dest, size_t count) {
    size_t done = 0;
    while (done < count) {
        if (pos_ == end_) {
            // Large requests go straight to the file, past the buffer.
            if (count - done >= kBufferSize) {
                const size_t got = ReadSome(dest + done, count - done);
                if (got == 0)
                    break;
                done += got;
                continue;
            }
            if (!Fill())
                break;
        }
        const size_t take = std::min(count - done, end_ - pos_);
        std::memcpy(dest + done, buffer_.get() + pos_, take);
        pos_ += take;
        done += take;
    }
    return done;
}

std::span<const uint8_t> ByteReader::NextChunk() {
    if (pos_ == end_ && !Fill())
        return {};
    const std::span<const uint8_t> chunk(buffer_.get() + pos_, end_ - pos_);
    pos_ = end_;
    return chunk;
}

bool ReadWholeFile(const std::filesystem::path& path, uint64_t maxBytes, std::string& bytes) {
    bytes.clear();
    ByteReader file;
    if (!file.Open(path, maxBytes))
        return false;
    try {
        bytes.reserve(static_cast<size_t>(file.Size()));
        for (auto chunk = file.NextChunk(); !chunk.empty(); chunk = file.NextChunk())
            bytes.append(reinterpret_cast<const char*>(chunk.data()), chunk.size());
    } catch (const std::bad_alloc&) {
        // The limit keeps the bytes within reach; this is for a machine short of memory.
        file.Close();
        std::string().swap(bytes);
        return false;
    }
    if (file.Failed()) {
        std::string().swap(bytes);
        return false;
    }
    return true;
}

ByteReaderReadLimit::ByteReaderReadLimit(uint64_t bytes) : previous_(readFault.exchange(bytes)) {}

ByteReaderReadLimit::~ByteReaderReadLimit() {
    readFault.store(previous_);
}

ByteWriter::ByteWriter() : buffer_(new uint8_t[kBufferSize]) {}

ByteWriter::~ByteWriter() {
    Close();
}

bool ByteWriter::Create(const std::filesystem::path& path) {
    Close();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    fd_ = fd;
    pos_ = 0;
    written_ = 0;
    failed_ = false;
    return true;
}

void ByteWriter::WriteAll(const uint8_t* data, size_t count) {
    while (count > 0 && !failed_) {
        const ssize_t put = ::write(fd_, data, count);
        if (put < 0) {
            if (errno != EINTR)
                failed_ = true;
            continue;
        }
        data += put;
        count -= static_cast<size_t>(put);
    }
}

void ByteWriter::Flush() {
    WriteAll(buffer_.get(), pos_);
    written_ += pos_;
    pos_ = 0;
}

void ByteWriter::Write(const uint8_t* data, size_t count) {
    if (fd_ < 0)
        return;
    if (pos_ + count <= kBufferSize) {
        std::memcpy(buffer_.get() + pos_, data, count);
        pos_ += count;
        return;
    }
    Flush();
    if (count >= kBufferSize) {
        WriteAll(data, count);
        written_ += count;
        return;
    }
    std::memcpy(buffer_.get(), data, count);
    pos_ = count;
}

bool ByteWriter::Close() {
    if (fd_ < 0)
        return true;
    Flush();
    if (::close(fd_) != 0)
        failed_ = true;
    fd_ = -1;
    return !failed_;
}

} // namespace platform
