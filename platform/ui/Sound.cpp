#include "Sound.h"

#include "WavePlayer.h"

#include <QApplication>
#include <atomic>
#include <mutex>

namespace platform {

namespace {

uint64_t beeps = 0;
std::atomic<uint64_t> sounds{0};

struct SoundHook {
    std::mutex mutex;
    std::function<void(const std::filesystem::path&)> hook;
};

SoundHook& Hook() {
    static SoundHook hook;
    return hook;
}

WavePlayer& Player() {
    static WavePlayer player;
    return player;
}

} // namespace

void Beep() {
    ++beeps;
    QApplication::beep();
}

uint64_t BeepCount() {
    return beeps;
}

void PlaySound(const std::filesystem::path& path) {
    ++sounds;
    std::function<void(const std::filesystem::path&)> hook;
    {
        std::lock_guard lock(Hook().mutex);
        hook = Hook().hook;
    }
    if (hook)
        hook(path);
    else
        Player().Play(path);
}

uint64_t PlaySoundCount() {
    return sounds;
}

void WaitForSounds() {
    Player().Finish();
}

void SetPlaySoundHook(std::function<void(const std::filesystem::path&)> hook) {
    std::lock_guard lock(Hook().mutex);
    Hook().hook = std::move(hook);
}

} // namespace platform
