// Where the program keeps its files: TOV.cfg and the BATTERY folder.
#pragma once

#include <filesystem>

namespace tov {

// The program folder: $TOV_HOME when set, else the folder of the running
// executable, else (when that folder cannot be written, or holds an installed
// copy) $XDG_DATA_HOME/tov or ~/.local/share/tov, created when missing.
std::filesystem::path program_folder();

// The same choice for an executable that sits in `executable_folder`.
std::filesystem::path program_folder_for(const std::filesystem::path& executable_folder);

// The file, relative to the folder of the executables, by which an installed
// copy is known: the desktop entry that the install puts beside them.
std::filesystem::path installed_copy_marker();

}  // namespace tov
