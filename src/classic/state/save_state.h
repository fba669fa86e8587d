// Save states: the whole machine in a file of fixed layout that the user
// names. The file holds no cartridge identity, so a state loads whatever
// cartridge runs; the cartridge ROM is never part of it. The bytes that
// belong to no memory carry what else the game needs to go on exactly (see
// persist/resume_record.h); a file without it loads the fixed fields alone.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "host/result.h"

namespace tov {

// Size of a save-state file.
constexpr std::size_t state_file_size = 94842;

// The machine as a state file's bytes, and back: an image whose size is not
// state_file_size is refused with the reason, the machine left untouched.
std::string state_image();
result restore_state(std::string_view image);

// Writes the machine to `path`, replacing the file whole or not at all; when
// it cannot be written the message tells the user which file and why.
result save_state(const std::string& path);

// Reads the machine back from `path`. A file that cannot be read, or whose
// size is not state_file_size, is refused with a message, and the machine is
// left untouched. Bank numbers and speed_shift that would be out of range
// are brought into range.
result load_state(const std::string& path);

}  // namespace tov
