// The sound card, through SDL's audio subsystem: 48000 Hz, 16-bit stereo,
// playing the sound output, read in SDL's audio callback.
#pragma once

#include <memory>

#include "sound/audio_backend.h"

namespace tov {

// The card's rate.
constexpr int sdl_audio_rate = 48000;

// Opens the default audio device, which plays the sound output; null (after
// reporting why, once) when there is none, and the program then runs
// silently.
std::unique_ptr<audio_backend> open_sdl_audio();

}  // namespace tov
