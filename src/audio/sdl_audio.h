// The sound card, through SDL's audio subsystem: 48000 Hz, 16-bit stereo,
// with the voices' mixer and the cycle-timed sound's stream read in SDL's
// audio callback.
#pragma once

#include <memory>

#include "sound/audio_backend.h"
#include "stream/sound_stream.h"

namespace tov {

// The card's rate, at which `stream` must deliver.
constexpr int sdl_audio_rate = 48000;

// Opens the default audio device, which plays the voices and `stream` (which
// must outlive it); null (after reporting why, once) when there is none, and
// the program then runs silently.
std::unique_ptr<audio_backend> open_sdl_audio(sound_stream& stream);

}  // namespace tov
