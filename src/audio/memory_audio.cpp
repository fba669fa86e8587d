#include "audio/memory_audio.h"

#include <cstring>

#include "host/files.h"
#include "sound/output_device.h"

namespace tov {

namespace {

void put_u32(std::string& bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

void put_u16(std::string& bytes, uint16_t value) {
    bytes += static_cast<char>(value & 0xFF);
    bytes += static_cast<char>(value >> 8);
}

}  // namespace

void memory_audio::advance(int frames) {
    if (frames <= 0) {
        return;
    }
    mixed_.resize(static_cast<std::size_t>(frames) * 2);
    mix_voices(mixed_.data(), frames, rate);
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

bool memory_audio::write_wav(const std::filesystem::path& path, std::string& error) const {
    const auto data_bytes = static_cast<uint32_t>(output_.size() * sizeof(int16_t));
    std::string file = "RIFF";
    put_u32(file, 36 + data_bytes);
    file += "WAVEfmt ";
    put_u32(file, 16);  // format chunk size
    put_u16(file, 1);   // PCM
    put_u16(file, 2);   // stereo
    put_u32(file, rate);
    put_u32(file, rate * 4);  // bytes per second
    put_u16(file, 4);         // bytes per frame
    put_u16(file, 16);        // bits per sample
    file += "data";
    put_u32(file, data_bytes);
    const std::size_t header = file.size();
    file.resize(header + data_bytes);
    std::memcpy(file.data() + header, output_.data(), data_bytes);
    return write_file_atomically(path, file, error);
}

}  // namespace tov
