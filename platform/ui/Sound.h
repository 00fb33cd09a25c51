#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>

// Sounds of the programs.

namespace platform {

// The system beep.
void Beep();
// How many beeps were asked for since the start.
uint64_t BeepCount();

// Plays a wave file asynchronously: the call returns at once, and a sound still
// playing stops for the new one. A missing or unreadable file, a format the
// player does not know or a missing audio device plays nothing, silently. A
// relative path is taken from the current folder.
void PlaySound(const std::filesystem::path& path);
// How many sounds were asked for since the start.
uint64_t PlaySoundCount();

// For tests: the hook receives the path of every sound asked for, in place of
// playing it; null restores playing.
void SetPlaySoundHook(std::function<void(const std::filesystem::path&)> hook);
// For tests: returns once every sound asked for has been played or found
// unplayable.
void WaitForSounds();

} // namespace platform
