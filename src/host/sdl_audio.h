// The sound card, through SDL's audio subsystem: 48000 Hz, 16-bit stereo,
// pulled in SDL's audio callback from the source it is handed.
#pragma once

#include <memory>

#include "host/audio_backend.h"

namespace tov {

// The card's rate.
constexpr int sdl_audio_rate = 48000;

// Opens the default audio device, which plays the sound output; null (after
// reporting why, once) when there is none, and the program then runs
// silently.
std::unique_ptr<audio_backend> open_sdl_audio();

}  // namespace tov
