#include "WaveFile.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using platform::ParseWave;
using platform::WaveSound;

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, unsigned v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}

void Put32(Bytes& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

void Chunk(Bytes& b, const char* tag, const Bytes& body, uint32_t declared) {
    b.insert(b.end(), tag, tag + 4);
    Put32(b, declared);
    b.insert(b.end(), body.begin(), body.end());
    if (body.size() % 2)
        b.push_back(0);
}

void Chunk(Bytes& b, const char* tag, const Bytes& body) {
    Chunk(b, tag, body, static_cast<uint32_t>(body.size()));
}

Bytes Format(unsigned tag, unsigned channels, uint32_t rate, unsigned bits) {
    Bytes f;
    Put16(f, tag);
    Put16(f, channels);
    Put32(f, rate);
    Put32(f, rate * channels * bits / 8);
    Put16(f, channels * bits / 8);
    Put16(f, bits);
    return f;
}

Bytes Extensible(unsigned subFormat, unsigned channels, uint32_t rate, unsigned bits) {
    Bytes f = Format(0xFFFE, channels, rate, bits);
    Put16(f, 22);   // extension size
    Put16(f, bits); // valid bits
    Put32(f, 3);    // channel mask
    Put16(f, subFormat);
    f.insert(f.end(), 14, 0); // the rest of the sub-format identifier
    return f;
}

Bytes Wave(const std::vector<std::pair<const char*, Bytes>>& chunks) {
    Bytes body = {'W', 'A', 'V', 'E'};
    for (const auto& [tag, bytes] : chunks)
        Chunk(body, tag, bytes);
    Bytes file;
    Chunk(file, "RIFF", body);
    return file;
}

} // namespace

TEST(WaveFileTest, FormatsAndSamples) {
    const Bytes samples(48, 0x11);
    const struct {
        const char* name;
        Bytes file;
        WaveSound::Sample sample;
        int channels, rate;
        size_t dataBytes;
    } cases[] = {
        {"16-bit stereo", Wave({{"fmt ", Format(1, 2, 44100, 16)}, {"data", samples}}),
         WaveSound::Sample::Signed16, 2, 44100, 48},
        {"8-bit mono", Wave({{"fmt ", Format(1, 1, 8000, 8)}, {"data", samples}}),
         WaveSound::Sample::Unsigned8, 1, 8000, 48},
        {"float", Wave({{"fmt ", Format(3, 1, 48000, 32)}, {"data", samples}}),
         WaveSound::Sample::Float32, 1, 48000, 48},
        {"extensible 24-bit", Wave({{"fmt ", Extensible(1, 2, 96000, 24)}, {"data", samples}}),
         WaveSound::Sample::Signed24, 2, 96000, 48},
        // An odd-sized chunk before the format is padded to an even size.
        {"other chunks first",
         Wave({{"LIST", Bytes(5, 'x')}, {"fmt ", Format(1, 1, 22050, 16)}, {"fact", Bytes(4)},
               {"data", samples}}),
         WaveSound::Sample::Signed16, 1, 22050, 48},
        // Data that is not a whole number of frames keeps its whole frames.
        {"partial frame", Wave({{"fmt ", Format(1, 2, 8000, 16)}, {"data", Bytes(10)}}),
         WaveSound::Sample::Signed16, 2, 8000, 8},
    };
    for (const auto& c : cases) {
        WaveSound sound;
        ASSERT_TRUE(ParseWave(c.file, sound)) << c.name;
        EXPECT_EQ(sound.sample, c.sample) << c.name;
        EXPECT_EQ(sound.channels, c.channels) << c.name;
        EXPECT_EQ(sound.rate, c.rate) << c.name;
        EXPECT_EQ(sound.data.size(), c.dataBytes) << c.name;
    }
}

TEST(WaveFileTest, TruncatedDataPlaysWhatIsThere) {
    Bytes file = Wave({{"fmt ", Format(1, 1, 8000, 16)}, {"data", Bytes(100, 7)}});
    file.resize(file.size() - 41); // cut inside the data
    WaveSound sound;
    ASSERT_TRUE(ParseWave(file, sound));
    EXPECT_EQ(sound.data.size(), 58u);
    EXPECT_EQ(sound.data.data() + sound.data.size(), file.data() + file.size() - 1);
}

TEST(WaveFileTest, RefusesWhatItCannotPlay) {
    const Bytes samples(16, 0);
    Bytes notRiff = Wave({{"fmt ", Format(1, 1, 8000, 16)}, {"data", samples}});
    std::memcpy(notRiff.data(), "RIFX", 4);
    Bytes notWave = Wave({{"fmt ", Format(1, 1, 8000, 16)}, {"data", samples}});
    std::memcpy(notWave.data() + 8, "AVI ", 4);
    Bytes shortFormat = Format(1, 1, 8000, 16);
    shortFormat.resize(14);
    const struct {
        const char* name;
        Bytes file;
    } cases[] = {
        {"empty", {}},
        {"not RIFF", notRiff},
        {"not WAVE", notWave},
        {"data before format", Wave({{"data", samples}, {"fmt ", Format(1, 1, 8000, 16)}})},
        {"no data", Wave({{"fmt ", Format(1, 1, 8000, 16)}})},
        {"short format", Wave({{"fmt ", shortFormat}, {"data", samples}})},
        {"12-bit", Wave({{"fmt ", Format(1, 1, 8000, 12)}, {"data", samples}})},
        {"compressed", Wave({{"fmt ", Format(2, 1, 8000, 4)}, {"data", samples}})},
        {"no channels", Wave({{"fmt ", Format(1, 0, 8000, 16)}, {"data", samples}})},
        {"rate 0", Wave({{"fmt ", Format(1, 1, 0, 16)}, {"data", samples}})},
    };
    for (const auto& c : cases) {
        WaveSound sound;
        EXPECT_FALSE(ParseWave(c.file, sound)) << c.name;
    }
    // A chunk size running past the end stops the search without reading beyond.
    Bytes runaway = Wave({{"fmt ", Format(1, 1, 8000, 16)}});
    Chunk(runaway, "LIST", Bytes(4), 0xFFFFFFF0u);
    WaveSound sound;
    EXPECT_FALSE(ParseWave(runaway, sound));
}
