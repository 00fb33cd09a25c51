#pragma once

#include <cstdint>
#include <span>

// The sound of a wave file (RIFF "WAVE"): integer samples of 8, 16, 24 or 32
// bits or 32-bit floating-point samples, interleaved by channel.

namespace platform {

struct WaveSound {
    enum class Sample { Unsigned8, Signed16, Signed24, Signed32, Float32 };

    Sample sample = Sample::Signed16;
    int channels = 0;
    int rate = 0;                   // frames per second
    std::span<const uint8_t> data;  // whole frames only, inside the file's bytes

    int FrameBytes() const;
};

// Reads the format and finds the samples of a wave file held in `bytes`; false
// for anything else or a format it does not play. A data chunk longer than the
// file is cut at the file's end (a truncated file plays what it has).
bool ParseWave(std::span<const uint8_t> bytes, WaveSound& sound);

} // namespace platform
