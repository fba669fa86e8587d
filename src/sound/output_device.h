// Playback control of the sound output: the "&Resume" and "&Stop" commands,
// which also start and stop the emulation, and the sound options.
#pragma once

namespace tov {

// Does nothing unless a cartridge is loaded; then the emulation runs.
void start_playback();

// The emulation stops.
void stop_playback();

// The "&Sound enable" command: flips the option and its check mark.
void toggle_sound();

// The "CHANEL 0"-"CHANEL 3" commands for channels 1-4.
void toggle_channel(int channel);

}  // namespace tov
