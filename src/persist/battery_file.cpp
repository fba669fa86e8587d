#include "persist/battery_file.h"

#include <string>

#include "host/paths.h"
#include "memory/cartridge.h"

namespace tov {

std::filesystem::path battery_path() {
    const std::string name = std::filesystem::path(rom_path).filename().string();
    return program_folder() / "BATTERY" / (name + ".sav");
}

}  // namespace tov
