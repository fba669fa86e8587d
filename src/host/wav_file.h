// 16-bit stereo WAV files of what was played.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "host/result.h"

namespace tov {

// Writes `frames` (left, right interleaved) at `rate` frames a second.
result write_wav_file(const std::filesystem::path& path, const std::vector<int16_t>& frames,
                      int rate);

}  // namespace tov
