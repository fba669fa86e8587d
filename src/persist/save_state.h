// Save states: the whole machine in a file of fixed layout that the user
// names. The file holds no cartridge identity, so a state loads whatever
// cartridge runs; the cartridge ROM is never part of it.
#pragma once

#include <cstddef>
#include <string>

namespace tov {

// Size of a save-state file.
constexpr std::size_t state_file_size = 94842;

// Writes the machine to `path`, replacing the file whole or not at all; when
// it cannot be written the result is false and `message` tells the user
// which file and why.
bool save_state(const std::string& path, std::string& message);

// Reads the machine back from `path`. A file that cannot be read, or whose
// size is not state_file_size, is refused with false and a message, and the
// machine is left untouched. Bank numbers and speed_shift that would be out
// of range are brought into range.
bool load_state(const std::string& path, std::string& message);

}  // namespace tov
