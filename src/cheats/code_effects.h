// The cheat codes in force on the machine that runs. Game Genie codes patch
// the cartridge's ROM as it lies in memory, at their address in every bank
// that holds their compare byte; the bytes they replaced are kept, so that
// the ROM is whole again when a code is taken out. GameShark codes write
// their value once a frame, at the start of its vertical blank.
#pragma once

#include <vector>

#include "cheats/cheat_codes.h"

namespace tov {

// Takes out the codes in force (the ROM back as it was) and puts `codes` in.
void use_cheat_codes(const std::vector<cheat_code>& codes);

// The ROM was loaded again: the patched bytes went with the old copy, so
// nothing is restored; the codes are put in again on the new one.
void patch_loaded_rom();

// Takes the codes out of force without touching memory (another cartridge
// was loaded).
void forget_cheat_codes();

// The GameShark codes' writes; whether there are any.
void write_cheat_values();
bool has_cheat_values();

}  // namespace tov
