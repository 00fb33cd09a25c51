#pragma once

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <cstdint>
#include <optional>
#include <thread>

// The thread that plays wave files through the sound library (ALSA), one at a
// time: a new request stops the sound that plays. Failures of any kind (file,
// format, device) are silent.

namespace platform {

class WavePlayer {
public:
    WavePlayer() = default;
    ~WavePlayer();
    WavePlayer(const WavePlayer&) = delete;
    WavePlayer& operator=(const WavePlayer&) = delete;

    void Play(const std::filesystem::path& path);
    // Returns once the thread has nothing left to do.
    void Finish();

private:
    void Run();
    void PlayFile(const std::filesystem::path& path, uint64_t generation);
    // Whether the sound of `generation` should end: a later Play came, or the
    // player is going.
    bool Interrupted(uint64_t generation);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<std::filesystem::path> request_; // the next file to play
    uint64_t generation_ = 0;                      // counts Play calls
    bool busy_ = false;                            // the thread is playing a file
    bool quit_ = false;
    std::thread thread_;
};

} // namespace platform
