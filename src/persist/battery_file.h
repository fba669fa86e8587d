// Where TOV's own machine keeps its battery file, and its size: the saves of
// the layout other emulators share read such a file too.
#pragma once

#include <cstddef>
#include <filesystem>

namespace tov {

// Size of a battery file.
constexpr std::size_t battery_file_size = 77966;

// program_folder()/BATTERY/<file name of rom_path>.sav. Two cartridges with
// the same file name in different folders share it.
std::filesystem::path battery_path();

}  // namespace tov
