// The sound output: the audio device, the four voices the sound channels
// render into, and playback control for the menu commands and dialogs.
#pragma once

#include <cstdint>
#include <memory>

#include "host/audio_backend.h"
#include "sound/sound_buffer.h"

namespace tov {

// The device the voices play on; null when none could be opened, and then
// every voice operation does nothing.
extern std::unique_ptr<audio_backend> sound_device;

// Installs `device` and creates the voices on it: square voices for channels
// 1, 2 and 4 (2940 bytes, 44100 samples a second) and the wave voice for
// channel 3 (128 bytes played at 6553 samples a second), all silent. A null
// device leaves the program without sound.
void create_sound_device(std::unique_ptr<audio_backend> device);

// Sound as the program starts it: `device` with silent voices, every channel
// quiet, channels 1 and 2 enabled and 3 and 4 not, and sound on.
void start_sound(std::unique_ptr<audio_backend> device);

// Removes the voices and the device.
void close_sound_device();

// The voice of channel 1-4; null without a device.
sound_buffer* voice_of_channel(int channel);

// Locks a range of `voice` for writing; a failure is reported and gives
// nullptr.
uint8_t* lock_voice(sound_buffer& voice, int32_t offset, int32_t length);

// Fills the whole of `voice` with silence.
void fill_silence(sound_buffer& voice);

// Fills the whole buffer with `cycles` periods of a sine of `amplitude`.
void fill_sine(sound_buffer& buffer, int cycles, float amplitude);

// "&Resume": does nothing unless a cartridge is loaded; then the emulation
// runs and, with sound on, the enabled voices play.
void start_playback();

// "&Stop": the emulation stops and every voice stops.
void stop_playback();

// Whether the mixer hears the voices: not while the cycle-timed sound is
// chosen, nor while the game runs fast or backwards. Safe from any thread.
void set_voices_heard(bool heard);

// "&Sound enable".
void toggle_sound();

// "CHANEL 0"-"CHANEL 3" for channels 1-4.
void toggle_channel(int channel);

// Fills voices 1 and 2 with silence (Reset does this).
void silence_squares();

// The mixer: adds the playing voices into `frames` stereo frames of 16-bit
// output at `output_rate`. Audio back ends call it with the voices locked.
void mix_voices(int16_t* output, int frames, int output_rate);

}  // namespace tov
