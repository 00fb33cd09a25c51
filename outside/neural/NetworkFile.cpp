#include "NetworkFile.h"

#include "ByteFile.h"
#include "SafeReplace.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <string>
#include <unistd.h>
#include <utility>

namespace neural {

namespace {

uint64_t ReadLittle(const uint8_t* p, int bytes) {
    uint64_t v = 0;
    for (int k = bytes - 1; k >= 0; --k)
        v = v << 8 | p[k];
    return v;
}

void WriteLittle(std::vector<uint8_t>& out, uint64_t v, int bytes) {
    for (int k = 0; k < bytes; ++k)
        out.push_back(uint8_t(v >> (8 * k)));
}

// The sizes announced by a header of at least kFixedHeaderBytes, when it is
// one of ours; empty otherwise or when start is too short to hold them.
std::vector<int32_t> AnnouncedSizes(std::span<const uint8_t> start) {
    if (start.size() < kFixedHeaderBytes ||
        std::memcmp(start.data(), kFileMagic.data(), kFileMagic.size()) != 0 ||
        ReadLittle(start.data() + 8, 4) != kFileVersion)
        return {};
    const int32_t layers = int32_t(uint32_t(ReadLittle(start.data() + 12, 4)));
    if (layers < Network::kMinLayers || layers > Network::kMaxLayers ||
        start.size() < kFixedHeaderBytes + 4 * size_t(layers))
        return {};
    std::vector<int32_t> sizes(static_cast<size_t>(layers));
    for (int32_t j = 0; j < layers; ++j)
        sizes[j] = int32_t(uint32_t(ReadLittle(start.data() + kFixedHeaderBytes + 4 * j, 4)));
    return sizes;
}

// Reads exactly count bytes at offset; false on an error or an early end.
bool ReadAt(int fd, uint8_t* dest, size_t count, off_t offset) {
    while (count > 0) {
        const ssize_t got = ::pread(fd, dest, count, offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        dest += got;
        count -= size_t(got);
        offset += got;
    }
    return true;
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return fd_; }
    // Closes now; false when the close reports an error.
    bool Close() { return ::close(std::exchange(fd_, -1)) == 0; }

private:
    int fd_;
};

} // namespace

int64_t AnnouncedFileSize(std::span<const uint8_t> start) {
    const std::vector<int32_t> sizes = AnnouncedSizes(start);
    const int64_t weights = sizes.empty() ? -1 : Network::WeightCount(sizes);
    if (weights < 0)
        return -1;
    return int64_t(kFixedHeaderBytes + 4 * sizes.size()) + 8 * weights;
}

std::optional<std::vector<int32_t>> CheckNetworkFile(std::span<const uint8_t> bytes) {
    const int64_t size = AnnouncedFileSize(bytes);
    if (size < 0 || uint64_t(size) != bytes.size())
        return std::nullopt;
    std::vector<int32_t> sizes = AnnouncedSizes(bytes);
    for (size_t at = kFixedHeaderBytes + 4 * sizes.size(); at < bytes.size(); at += 8)
        if (!std::isfinite(std::bit_cast<double>(ReadLittle(bytes.data() + at, 8))))
            return std::nullopt;
    return sizes;
}

std::optional<Network> ParseNetworkFile(std::span<const uint8_t> bytes) {
    const std::optional<std::vector<int32_t>> sizes = CheckNetworkFile(bytes);
    if (!sizes)
        return std::nullopt;
    std::optional<Network> network(std::in_place, *sizes);
    const uint8_t* p = bytes.data() + kFixedHeaderBytes + 4 * sizes->size();
    for (double& w : network->Weights()) {
        w = std::bit_cast<double>(ReadLittle(p, 8));
        p += 8;
    }
    return network;
}

std::vector<uint8_t> NetworkFileBytes(const Network& network) {
    std::vector<uint8_t> out;
    out.reserve(kFixedHeaderBytes + 4 * size_t(network.Layers()) + 8 * network.Weights().size());
    for (const char c : kFileMagic)
        out.push_back(uint8_t(c));
    WriteLittle(out, kFileVersion, 4);
    WriteLittle(out, uint32_t(network.Layers()), 4);
    for (const int32_t size : network.Sizes())
        WriteLittle(out, uint32_t(size), 4);
    for (const double w : network.Weights())
        WriteLittle(out, std::bit_cast<uint64_t>(w), 8);
    return out;
}

std::optional<std::vector<uint8_t>> ReadNetworkFile(const char* path) {
    uint64_t length = 0;
    FileDescriptor file(platform::OpenRegularFile(path, length));
    if (file.Get() < 0)
        return std::nullopt;
    uint8_t start[kMaxHeaderBytes];
    const size_t startBytes = size_t(std::min<uint64_t>(length, sizeof start));
    if (!ReadAt(file.Get(), start, startBytes, 0))
        return std::nullopt;
    const int64_t announced = AnnouncedFileSize({start, startBytes});
    if (announced < 0 || uint64_t(announced) != length)
        return std::nullopt;
    std::vector<uint8_t> bytes(length);
    uint8_t probe;
    // The file must still end where it did: one more byte is too many.
    if (!ReadAt(file.Get(), bytes.data(), bytes.size(), 0) ||
        ::pread(file.Get(), &probe, 1, off_t(length)) != 0)
        return std::nullopt;
    return bytes;
}

bool WriteNetworkFile(const char* path, const Network& network) {
    // A file this library would refuse to read never replaces one it reads.
    if (!std::ranges::all_of(network.Weights(), [](double w) { return std::isfinite(w); }))
        return false;
    return platform::ReplaceFileContents(path, NetworkFileBytes(network));
}

} // namespace neural
