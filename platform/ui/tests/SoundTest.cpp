#include "Sound.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace platform;

namespace {

// A short 16-bit mono wave of silence.
void WriteWave(const std::filesystem::path& path) {
    const uint32_t rate = 8000, frames = 80, dataBytes = frames * 2;
    std::string b = "RIFF";
    const auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    const auto put16 = [&](uint32_t v) {
        b.push_back(static_cast<char>(v & 0xFF));
        b.push_back(static_cast<char>(v >> 8));
    };
    put32(36 + dataBytes);
    b += "WAVEfmt ";
    put32(16);
    put16(1);
    put16(1);
    put32(rate);
    put32(rate * 2);
    put16(2);
    put16(16);
    b += "data";
    put32(dataBytes);
    b.append(dataBytes, '\0');
    std::ofstream(path, std::ios::binary) << b;
}

} // namespace

TEST(Sound, HookReceivesEveryPathInOrderAndPlaysAreCounted) {
    std::vector<std::filesystem::path> played;
    SetPlaySoundHook([&](const std::filesystem::path& path) { played.push_back(path); });
    const uint64_t before = PlaySoundCount();
    PlaySound("appear.wav");
    PlaySound("good.wav");
    PlaySound("appear.wav");
    SetPlaySoundHook(nullptr);
    EXPECT_EQ(played, (std::vector<std::filesystem::path>{"appear.wav", "good.wav", "appear.wav"}));
    EXPECT_EQ(PlaySoundCount(), before + 3);
}

TEST(Sound, MissingFilesDamagedFilesAndAMissingDeviceAreSilent) {
    const std::filesystem::path folder = std::filesystem::path(testing::TempDir()) / "sounds";
    std::filesystem::create_directories(folder);
    WriteWave(folder / "good.wav");
    std::ofstream(folder / "bad.wav") << "RIFF, but not a wave file";
    const uint64_t before = PlaySoundCount();
    testing::internal::CaptureStderr();
    // One after the other: each new sound stops the one before.
    PlaySound(folder / "missing.wav");
    PlaySound(folder / "bad.wav");
    PlaySound(folder / "good.wav");
    PlaySound(folder);
    PlaySound(folder / "good.wav");
    WaitForSounds();
    // Without an audio device (as in CI) the sound library says nothing either.
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(PlaySoundCount(), before + 5);
    std::filesystem::remove_all(folder);
}
