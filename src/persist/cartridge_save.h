// Battery files in the layout that other emulators share: the cartridge's
// RAM as raw bytes (MBC2: its 512 cells, a byte each), then, for a cartridge
// with a clock, the clock's 48-byte block. The accurate machine keeps its
// saves so; both machines import and export such files.
#pragma once

#include <filesystem>
#include <string>

#include "host/result.h"

namespace tov {

// program_folder()/BATTERY/<cartridge name without its extension>.sav, the
// name as the quick states take it ("two.zip#game.gb" gives "two.zip#game").
std::filesystem::path cartridge_save_path(const std::string& cartridge_name);

// The accurate machine's battery file. Saving writes it for a cartridge with
// a battery (and nothing for one without), whole or not at all. Loading reads
// it; when there is none yet, the cartridge RAM of TOV's own machine's file
// for the cartridge, if there is one, is taken up, so that a save follows the
// game onto the accurate machine. Fails with the message for the user when
// a file cannot be written or read.
result save_cartridge_ram(const std::string& cartridge_name);
result load_cartridge_ram(const std::string& cartridge_name);

// Brings a battery file into the machine that runs: a file of this layout
// whose size fits the cartridge's RAM (with or without a clock block), or a
// battery file of TOV's own machine. Any other size is refused and the save
// in use is kept.
result import_battery(const std::filesystem::path& path);

// Writes the running machine's cartridge RAM (and clock) in this layout.
result export_battery(const std::filesystem::path& path);

}  // namespace tov
