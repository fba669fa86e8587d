// Battery RAM files: the cartridge RAM, the work RAM and the high RAM page of
// the loaded cartridge, kept between runs in the BATTERY folder of the program
// folder. Every cartridge gets one, whether or not it has a battery.
#pragma once

#include <string>

#include "host/result.h"
#include "persist/battery_file.h"

namespace tov {

// Writes the battery file of the cartridge named by rom_path, creating the
// BATTERY folder when missing. The file is replaced whole or not at all; when
// it cannot be written the message tells the user which file and why.
result save_battery();

// Reads the battery file of the cartridge named by rom_path into the memories,
// as far as the file goes; no file yet leaves them as they are. Then LCDC is
// written back with its own value. A file that is there but cannot be read
// gives the message for the user.
result load_battery();

}  // namespace tov
