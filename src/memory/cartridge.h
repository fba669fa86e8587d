// Loading a cartridge image: a full power-on of the machine with the file
// named by rom_path. Opening a cartridge and Reset both use it.
#pragma once

#include <cstdint>
#include <string>

namespace tov {

// Path of the cartridge file.
extern std::string rom_path;

// The largest image there is storage for: 256 banks of 16 KiB.
constexpr std::uintmax_t max_cartridge_size = 256 * 0x4000;

// Reads the file named by rom_path and powers the machine on with it. A file
// that cannot be read, or that is larger than max_cartridge_size, is refused
// before anything changes: the result is false, `reason` (when given) says
// why, and the machine is left exactly as it was.
bool load_cartridge(std::string* reason = nullptr);

// Opens another cartridge: rom_path becomes `path` and the machine is powered
// on with it. When the file is refused, rom_path keeps the previous path.
bool load_cartridge_file(const std::string& path, std::string* reason = nullptr);

}  // namespace tov
