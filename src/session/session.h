// The seam between the machine and its front ends, the desktop window and the
// headless runner: they open and run cartridges, set the options and keep
// states only through here, and hand the keyboard over through the host's
// key state (host/keyboard.h). An operation that can fail returns a result
// with the text for the user; showing it is the front end's business.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "apu/mixer.h"
#include "cheats/cheat_codes.h"
#include "core/machine_interface.h"
#include "host/audio_backend.h"
#include "host/result.h"
#include "memory/joypad.h"
#include "stream/sound_stream.h"
#include "video/frame.h"

namespace tov {

// Starts a run of the program on `audio` (null: no sound): sound as the
// program starts it, no cartridge loaded, the frame phase at its start.
void start_session(std::unique_ptr<audio_backend> audio);

// Ends the run: the voices and the audio device go.
void end_session();

// The cartridges an archive holds, in archive order, for the window's
// choice when there are several; for a plain cartridge file, that file's
// name alone. A message says why the file cannot be used.
struct cartridge_listing {
    result outcome;
    std::vector<std::string> entries;
};
cartridge_listing list_cartridges(const std::string& path);

// Powers the machine on with the cartridge file at `path` or, for an
// archive, its entry `entry` (the first cartridge when empty), and lets it
// run. A file that cannot be used is refused before anything changes; the
// message then says why.
result open_cartridge(const std::string& path, const std::string& entry = {});

// "&Close Rom": stops the emulation, writes the battery file of the loaded
// cartridge and forgets it; the result tells whether the file was written.
result close_cartridge();

// "R&eset": silences voices 1 and 2 and powers the machine on again with the
// same cartridge; the emulation keeps running or stays stopped. The message
// says why when the file can no longer be read.
result reset_cartridge();

bool cartridge_loaded();
const std::string& cartridge_path();

// The name that the files kept per cartridge (quick states, screenshots)
// are named after: the cartridge file's name, or for an archive that holds
// several cartridges, the archive's name and the entry's, as in
// "two.zip#game.gb" (a folder in the entry's name becomes "_").
const std::string& cartridge_name();

// Whether a cartridge is loaded and its emulation runs.
bool emulating();

// What the status line should say about the cartridge just powered on, or
// nothing: on the accurate machine, a controller kind it does not have; lines
// of its cheat file that are not cheat codes.
std::string cartridge_note();

// Whether the cartridge's rumble motor runs now: a rumble cartridge on the
// accurate machine, while it emulates.
bool cartridge_rumbling();

// The battery file of the loaded cartridge, and save states in files the
// user names.
result write_battery_file();
result read_battery_file();

// File > Import Battery File... and Export Battery File...: the loaded
// cartridge's save from or into a file of the layout other emulators share
// (an import may also be a battery file of TOV's own machine). A file whose
// size does not fit the cartridge is refused and the save in use kept; after
// an import the game starts again, as after a reset, and reads it.
result import_battery_file(const std::string& path);
result export_battery_file(const std::string& path);
result save_state_file(const std::string& path);
result load_state_file(const std::string& path);

// The machine's state in memory: the bytes a save state file holds, of the
// machine that runs. A state of the other machine's kind, or one that is
// damaged, is refused and changes nothing.
std::string state_bytes();
result load_state_bytes(std::string_view image);

// One timer message of the window: a slice of emulation, and the title.
void run_timer_message();

// The slice under way ends before its next step: a command waits for it.
void end_timer_message();

// The frames emulated since the program started.
uint64_t frames_emulated();

// Runs until `frames` more frames have been emulated, calling `after_frame`
// with the count so far after each one.
void run_frames(uint64_t frames, const std::function<void(uint64_t done)>& after_frame);

// "&Resume" (the voices play again) and "&Stop".
void resume();
void stop();

// A dialog has closed: the emulation runs again when a cartridge is loaded.
void let_emulation_run();

// The run-time options as the menu shows them.
struct run_options {
    int frame_skip;  // 0-3
    bool full_throttle;
    bool timer_enabled;
    int timing;  // 1 or 2
    int zoom;    // 1-4
    bool sound_enabled;
    bool channel_enabled[4];
    bool fast_forward;
    int fast_forward_speed;  // 2-4, or 0: as fast as possible
    bool accurate_sound;
    bool accurate_machine;
    model_choice model;
};
run_options current_options();

// Fast-forward mutes the sound while it lasts; `speed` is 2-4 frames per
// frame of the wall clock, or 0 for as fast as possible.
void set_fast_forward(bool on);
void set_fast_forward_speed(int speed);

// Rewind, on either machine: while it is on, the last `seconds` (1-60) of
// play are kept in memory, a state every few frames in at most
// rewind_memory_bound bytes, and while Backspace or a controller's Rewind
// button is held the game runs backwards through them at its own speed,
// muted, then plays on from where it is let go. 0 turns it off and frees the
// memory; a value outside 0-60 is ignored. Off unless set.
void set_rewind_length(int seconds);
int rewind_length();
bool rewinding();
std::size_t rewind_memory();

// "Accurate sound": the cycle-timed model of the four channels is heard
// instead of the voices, from now on; it starts from the sound registers as
// they are. Both models hear every register write, so switching back and
// forth needs no reset.
void set_accurate_sound(bool on);

// The machine cartridges run on: TOV's own (the default) or the accurate
// machine, which always plays the accurate sound, and the console model the
// accurate machine is. A change powers a loaded cartridge on again, after its
// battery file is written; the result says when either failed.
result set_machine(bool accurate, model_choice model);

// Whether the accurate machine runs as a Game Boy Color now (its model, or
// what Auto chose for the cartridge).
bool colour_model_in_use();

// A console button held or let go, as a key mapped to it would be: seen by
// the next read of the joypad even when it is let go before then.
void press_button(joypad_button button, bool down);

// Each byte the serial port sends, as the transfer starts; empty: none.
void set_serial_output(std::function<void(uint8_t)> listener);

// Where the cycle-timed sound goes while it is heard (chosen, sound on, the
// game running at normal speed): the device's stream, which the session
// starts with, or a recording; null sends it nowhere. `sink` must outlive
// the session or be replaced first.
void set_accurate_sound_output(sample_sink* sink);

// Records the cycle-timed sound in place of playing it: every frame the
// sound model mixes while it is heard, at `rate` frames a second.
void start_sound_recording(int rate);

// Ends the recording and gives its frames (left, right interleaved).
std::vector<int16_t> finish_sound_recording();

// The played sound's buffer since the last call, to watch its latency and
// its underruns; all zero without a device.
sound_stream::statistics take_sound_stats();

// Each setter ignores a value outside its range.
void set_frame_skip(int frames);
void set_full_throttle(bool on);
void set_timer_enabled(bool on);  // off also stops TIMA until TAC is written again
void set_timing(int variant);
void set_zoom(int factor);
void set_sound_enabled(bool on);
void set_channel_enabled(int channel, bool on);  // channel 1-4

// The keys that play the console's buttons, and the configuration file that
// keeps them between runs: reading it changes only the keys it holds; the
// message of a failed write names the file.
key_mapping key_mapping_in_use();
void use_key_mapping(const key_mapping& keys);
void read_key_mapping_file();
result write_key_mapping_file();

// The keys of Turbo A, Turbo B and Rewind (-1 for none), and the turbo
// presses per second, 1-30 (another rate is ignored); TOV.cfg keeps neither.
extra_key_mapping extra_keys_in_use();
void use_extra_keys(const extra_key_mapping& keys);
int turbo_rate_in_use();
void set_turbo_rate(int rate);

// Others > "Cheat Codes...": the loaded cartridge's list, read from
// CHEATS/<cartridge name>.cht when it is opened. The codes switched on are in
// force on either machine from the next frame; use_cheat_list does not
// write the file, save_cheat_list does.
const std::vector<cheat_entry>& cheat_list();
void use_cheat_list(const std::vector<cheat_entry>& list);
result save_cheat_list();

// The last finished picture: screen_width x screen_height pixels, 3 bytes
// each (blue, green, red), rows top to bottom.
const uint8_t* finished_picture();

// Whether the loaded game's picture is in its own 15-bit colours: a colour
// cartridge in colour mode, or any cartridge on the accurate machine's colour
// model; not a monochrome game in the palette's shades.
bool colour_picture();

}  // namespace tov
