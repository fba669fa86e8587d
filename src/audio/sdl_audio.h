// The sound card, through SDL's audio subsystem: 44100 Hz, 16-bit stereo,
// with the mixer running in SDL's audio callback.
#pragma once

#include <memory>

#include "sound/audio_backend.h"

namespace tov {

// Opens the default audio device; null (after reporting why, once) when
// there is none, and the program then runs silently.
std::unique_ptr<audio_backend> open_sdl_audio();

}  // namespace tov
