// The session's side of rewind (the front ends use session.h, where its
// length is set, and which rewind.cpp also defines): while it is on, a state
// with its picture is kept every few frames of play, and while the game runs
// backwards the kept states are shown again, newest first.
#pragma once

#include <cstddef>

namespace tov {

// Going forward (`back` false) keeps a state every rewind_frames frames;
// going back restores the newest kept state and its picture on every frame,
// and every rewind_frames frames forgets it for the one before, so the game
// runs backwards at its own speed. Called at the start of each vertical blank.
void rewind_at_frame_end(bool back);

// Forgets the kept play: what came before was another cartridge or machine.
void forget_rewind();

constexpr int rewind_frames = 4;

// What the kept states may take at most, whatever the length.
constexpr std::size_t rewind_memory_bound = std::size_t{64} << 20;

}  // namespace tov
