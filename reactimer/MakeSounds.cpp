// Writes the three sounds of the test into a folder: short tones as 16-bit
// mono PCM wave files, each faded in and out so that it does not click.
//   MakeSounds <folder>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;

void Put(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// Tones played one after the other, each a frequency in Hz for a time in ms.
bool WriteTone(const std::string& path, const std::vector<std::pair<double, int>>& tones) {
    std::vector<int16_t> samples;
    for (const auto& [frequency, milliseconds] : tones) {
        const int count = kRate * milliseconds / 1000;
        const int fade = kRate * 5 / 1000;
        for (int i = 0; i < count; ++i) {
            const double envelope = std::min({1.0, i / static_cast<double>(fade),
                                              (count - 1 - i) / static_cast<double>(fade)});
            const double v = std::sin(2 * std::numbers::pi * frequency * i / kRate);
            samples.push_back(static_cast<int16_t>(std::lround(v * envelope * 12000)));
        }
    }
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::string out = "RIFF";
    Put(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    Put(out, 16, 4);
    Put(out, 1, 2); // PCM
    Put(out, 1, 2); // mono
    Put(out, kRate, 4);
    Put(out, kRate * 2, 4);
    Put(out, 2, 2);
    Put(out, 16, 2);
    out += "data";
    Put(out, dataBytes, 4);
    for (const int16_t s : samples)
        Put(out, static_cast<uint16_t>(s), 2);
    std::ofstream file(path, std::ios::binary);
    file.write(out.data(), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(file);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: MakeSounds <folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    const bool ok = WriteTone(folder + "/appear.wav", {{880, 90}}) &&
                    WriteTone(folder + "/good.wav", {{1046.5, 60}, {1318.5, 90}}) &&
                    WriteTone(folder + "/bad.wav", {{196, 220}});
    return ok ? 0 : 1;
}
