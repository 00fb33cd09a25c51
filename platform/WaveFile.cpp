#include "WaveFile.h"

#include <cstring>
#include <string_view>

namespace platform {

namespace {

constexpr uint16_t kPcm = 1;
constexpr uint16_t kFloat = 3;
constexpr uint16_t kExtensible = 0xFFFE;

uint16_t Read16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t Read32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

bool Is(const uint8_t* p, std::string_view tag) {
    return std::memcmp(p, tag.data(), 4) == 0;
}

bool SampleOf(uint16_t tag, int bits, WaveSound::Sample& sample) {
    if (tag == kPcm) {
        switch (bits) {
        case 8: sample = WaveSound::Sample::Unsigned8; return true;
        case 16: sample = WaveSound::Sample::Signed16; return true;
        case 24: sample = WaveSound::Sample::Signed24; return true;
        case 32: sample = WaveSound::Sample::Signed32; return true;
        default: return false;
        }
    }
    if (tag == kFloat && bits == 32) {
        sample = WaveSound::Sample::Float32;
        return true;
    }
    return false;
}

} // namespace

int WaveSound::FrameBytes() const {
    const int bytes = sample == Sample::Unsigned8   ? 1
                      : sample == Sample::Signed16 ? 2
                      : sample == Sample::Signed24 ? 3
                                                   : 4;
    return bytes * channels;
}

bool ParseWave(std::span<const uint8_t> bytes, WaveSound& sound) {
    if (bytes.size() < 12 || !Is(bytes.data(), "RIFF") || !Is(bytes.data() + 8, "WAVE"))
        return false;
    WaveSound found;
    bool haveFormat = false;
    size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const uint8_t* const chunk = bytes.data() + at;
        const uint64_t declared = Read32(chunk + 4);
        const size_t body = at + 8;
        const size_t available = bytes.size() - body;
        const size_t size = declared < available ? static_cast<size_t>(declared) : available;
        if (Is(chunk, "fmt ")) {
            if (size < 16)
                return false;
            const uint8_t* const format = bytes.data() + body;
            uint16_t tag = Read16(format);
            const int bits = Read16(format + 14);
            if (tag == kExtensible) {
                // The sub-format's first two bytes name the plain format.
                if (size < 26)
                    return false;
                tag = Read16(format + 24);
            }
            found.channels = Read16(format + 2);
            const uint32_t rate = Read32(format + 4);
            if (!SampleOf(tag, bits, found.sample) || found.channels < 1 || found.channels > 8 ||
                rate < 1000 || rate > 384000)
                return false;
            found.rate = static_cast<int>(rate);
            haveFormat = true;
        } else if (Is(chunk, "data")) {
            if (!haveFormat)
                return false;
            const size_t frame = static_cast<size_t>(found.FrameBytes());
            found.data = bytes.subspan(body, size - size % frame);
            sound = found;
            return true;
        }
        // Chunks are padded to an even size.
        if (declared >= available)
            break;
        at = body + size + (size & 1);
    }
    return false;
}

} // namespace platform
