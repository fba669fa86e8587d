// What the sound device plays: one stream of stereo frames at the device's
// rate, made of TOV's own machine's voices and the cycle-timed sound's
// stream. The device's back end pulls it with mix_output, on its own thread;
// the session decides once per frame what of it is heard.
#pragma once

#include <cstdint>
#include <memory>

#include "apu/mixer.h"
#include "host/audio_backend.h"
#include "stream/sound_stream.h"

namespace tov {

// Starts the sound on `device` (null: the program runs silent): the voices
// as the program starts them and the cycle-timed sound's stream at the
// device's rate.
void open_sound_output(std::unique_ptr<audio_backend> device);

// Removes the voices, the stream and the device.
void close_sound_output();

// Where the cycle-timed sound is played, or null without a device.
sample_sink* played_stream();

// Writes the next `frames` stereo frames of 16-bit output into `out`.
// Audio back ends call it with their lock held.
void mix_output(int16_t* out, int frames);

// The stream's buffer since the last call, for the sound statistics;
// all zero without a device.
sound_stream::statistics take_output_stats();

}  // namespace tov
