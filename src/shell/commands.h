// The menu commands that change emulation options and state; each sets its
// option and the menu's check marks together. The commands that open dialogs
// live with the window.
#pragma once

namespace tov {

// Frameskip "0"-"3".
void set_frame_skip(int frames);

// "Full Trothle": no wall-clock wait between frames.
void toggle_full_throttle();

// "Timer enable": off also stops TIMA; on, TIMA waits for the next TAC write.
void toggle_timer_option();

// Timing "1" or "2".
void set_timing(int item);

// Zoom "X 1"-"X 4": the picture area becomes 160 x n by 144 x n.
void set_zoom(int factor);

// "&Close Rom": the loaded cartridge's battery file is written first.
void close_rom();

// "R&eset": silences voices 1 and 2, then powers the machine on again with
// the same cartridge file; the emulation keeps running or stays stopped.
void reset_machine();

}  // namespace tov
