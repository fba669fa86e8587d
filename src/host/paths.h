// Where the program keeps its files: TOV.cfg and the BATTERY folder.
#pragma once

#include <filesystem>

namespace tov {

// The program folder: $TOV_HOME when set, else the folder of the running
// executable, else (when that folder cannot be written) $XDG_DATA_HOME/tov or
// ~/.local/share/tov, created when missing.
std::filesystem::path program_folder();

}  // namespace tov
