// Save states: the whole machine in a file of fixed layout that the user
// names. The file holds no cartridge identity, so a state loads whatever
// cartridge runs; the cartridge ROM is never part of it.
#pragma once

#include <cstddef>
#include <string>

namespace tov {

// Size of a save-state file.
constexpr std::size_t state_file_size = 94842;

// The last state file chosen in either the load or the save dialog.
extern std::string state_path;

// Writes the machine to the file named by state_path, replacing it whole or
// not at all; when it cannot be written the user is told which file and why.
void save_state();

// Reads the machine back from the file named by state_path. A file that
// cannot be read, or whose size is not state_file_size, is refused with a
// message and the machine is left untouched. Bank numbers and speed_shift
// that would be out of range are brought into range.
void load_state();

}  // namespace tov
