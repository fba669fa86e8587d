#include "host/memory_audio.h"

#include "host/wav_file.h"

namespace tov {

void memory_audio::advance(int frames) {
    if (frames <= 0) {
        return;
    }
    mixed_.resize(static_cast<std::size_t>(frames) * 2);
    pull(mixed_.data(), frames);
    if (keep_output_) {
        output_.insert(output_.end(), mixed_.begin(), mixed_.end());
    }
}

void memory_audio::advance_to(double time_ms) {
    if (started_ && time_ms > time_ms_) {
        pending_frames_ += (time_ms - time_ms_) * rate / 1000.0;
        const int frames = static_cast<int>(pending_frames_);
        pending_frames_ -= frames;
        advance(frames);
    }
    started_ = true;
    time_ms_ = time_ms;
}

result memory_audio::write_wav(const std::filesystem::path& path) const {
    return write_wav_file(path, output_, rate);
}

}  // namespace tov
