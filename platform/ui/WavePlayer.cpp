#include "WavePlayer.h"

#include "ByteFile.h"
#include "WaveFile.h"

#include <alsa/asoundlib.h>
#include <string>

namespace platform {

namespace {

// Sound files larger than this are not read.
constexpr uint64_t kLargestFile = 64u << 20;
// The device's buffer, in microseconds: how long a stopped sound may still be heard.
constexpr unsigned kLatency = 100000;

// The sound library reports a missing device on stderr; the player stays silent.
void IgnoreLibraryError(const char*, int, const char*, int, const char*, ...) {}

snd_pcm_format_t DeviceFormat(WaveSound::Sample sample) {
    switch (sample) {
    case WaveSound::Sample::Unsigned8: return SND_PCM_FORMAT_U8;
    case WaveSound::Sample::Signed16: return SND_PCM_FORMAT_S16_LE;
    case WaveSound::Sample::Signed24: return SND_PCM_FORMAT_S24_3LE;
    case WaveSound::Sample::Signed32: return SND_PCM_FORMAT_S32_LE;
    case WaveSound::Sample::Float32: return SND_PCM_FORMAT_FLOAT_LE;
    }
    return SND_PCM_FORMAT_UNKNOWN;
}

} // namespace

WavePlayer::~WavePlayer() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
        // The library's parsed configuration, kept until the process ends otherwise.
        snd_config_update_free_global();
    }
}

void WavePlayer::Play(const std::filesystem::path& path) {
    {
        std::lock_guard lock(mutex_);
        request_ = path;
        ++generation_;
        if (!thread_.joinable())
            thread_ = std::thread(&WavePlayer::Run, this);
    }
    changed_.notify_all();
}

void WavePlayer::Finish() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !busy_ && !request_.has_value(); });
}

bool WavePlayer::Interrupted(uint64_t generation) {
    std::lock_guard lock(mutex_);
    return quit_ || generation_ != generation;
}

void WavePlayer::Run() {
    snd_lib_error_set_handler(IgnoreLibraryError);
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return quit_ || request_.has_value(); });
        if (quit_)
            return;
        const std::filesystem::path path = std::move(*request_);
        request_.reset();
        const uint64_t generation = generation_;
        busy_ = true;
        lock.unlock();
        PlayFile(path, generation);
        lock.lock();
        busy_ = false;
        changed_.notify_all();
    }
}

void WavePlayer::PlayFile(const std::filesystem::path& path, uint64_t generation) {
    std::string bytes;
    WaveSound sound;
    if (!ReadWholeFile(path, kLargestFile, bytes) ||
        !ParseWave({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, sound) ||
        sound.data.empty())
        return;
    snd_pcm_t* device = nullptr;
    if (snd_pcm_open(&device, "default", SND_PCM_STREAM_PLAYBACK, 0) < 0)
        return;
    if (snd_pcm_set_params(device, DeviceFormat(sound.sample), SND_PCM_ACCESS_RW_INTERLEAVED,
                           static_cast<unsigned>(sound.channels), static_cast<unsigned>(sound.rate),
                           1, kLatency) < 0) {
        snd_pcm_close(device);
        return;
    }
    const size_t frameBytes = static_cast<size_t>(sound.FrameBytes());
    const snd_pcm_uframes_t frames = sound.data.size() / frameBytes;
    // A fiftieth of a second at a time, so that a new sound stops this one soon.
    const snd_pcm_uframes_t step = std::max<snd_pcm_uframes_t>(sound.rate / 50, 1);
    snd_pcm_uframes_t done = 0;
    bool interrupted = false;
    while (done < frames) {
        if (Interrupted(generation)) {
            interrupted = true;
            break;
        }
        const snd_pcm_uframes_t count = std::min(step, frames - done);
        snd_pcm_sframes_t written = snd_pcm_writei(device, sound.data.data() + done * frameBytes, count);
        if (written < 0)
            written = snd_pcm_recover(device, static_cast<int>(written), 1);
        if (written < 0)
            break;
        done += static_cast<snd_pcm_uframes_t>(written);
    }
    if (interrupted)
        snd_pcm_drop(device);
    else
        snd_pcm_drain(device);
    snd_pcm_close(device);
}

} // namespace platform
