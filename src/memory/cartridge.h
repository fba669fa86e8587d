// Loading a cartridge image: a full power-on of the machine with the file
// named by rom_path, or with its entry rom_entry when that file is a zip, 7z
// or gzip archive. Opening a cartridge and Reset both use it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/result.h"

namespace tov {

// Path of the cartridge file: the one the user chose, an archive included.
extern std::string rom_path;

// The cartridge entry inside the archive rom_path; empty for a plain file.
extern std::string rom_entry;

// The largest image there is storage for: 256 banks of 16 KiB.
constexpr std::uintmax_t max_cartridge_size = 256 * 0x4000;

// The smallest image that can be a cartridge: one that reaches the end of
// the header (0000-014F).
constexpr std::uintmax_t min_cartridge_size = 0x150;

// The cartridges the file at `path` holds: an archive's cartridge entries in
// archive order, or a plain file's own name alone. Fails, saying why, when
// the file cannot be used.
result list_cartridge_entries(const std::string& path, std::vector<std::string>& entries);

// Reads the image named by rom_path and rom_entry into the cartridge's
// banks and clears the console's memories, for a machine to power on with.
// An image that cannot be read, that is shorter than
// min_cartridge_size, or that is larger than max_cartridge_size (an archive entry is read no
// further than that) is refused before anything changes: the result says why,
// and the machine is left exactly as it was.
result load_cartridge();

// Opens another cartridge: the file at `path` or, for an archive, its entry
// `entry` (the first cartridge when empty); a plain file takes no entry but
// its own name. rom_path and rom_entry name the new image, read as
// load_cartridge reads it. When it is refused, both keep their previous
// values.
result load_cartridge_file(const std::string& path, const std::string& entry = {});

// What both machines' power-on starts from: the colour tables and the
// cycle-timed sound reset, the I/O registers as the start-up program leaves
// them, and the frame pacing from now.
void power_on_console();

}  // namespace tov
