#include "host/wav_file.h"

#include <cstring>

#include "host/files.h"

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

result write_wav_file(const std::filesystem::path& path, const std::vector<int16_t>& frames,
                      int rate) {
    const auto data_bytes = static_cast<uint32_t>(frames.size() * sizeof(int16_t));
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
    std::memcpy(file.data() + header, frames.data(), data_bytes);
    return write_file_atomically(path, file);
}

}  // namespace tov
