#include "classic/state/battery.h"

#include <algorithm>
#include <string>
#include <system_error>

#include "classic/memory/memory_map.h"
#include "classic/state/memory_image.h"
#include "host/files.h"
#include "host/paths.h"
#include "machine/registers.h"
#include "memory/cartridge.h"

namespace tov {

namespace {

// The file in order: cartridge RAM banks 0-4 (8193-byte chunks), work RAM
// bank 0 (4097), work RAM indices 0-7 (4097 each), then FF80-FFFF.
constexpr memory_section battery_layout[] = {
    cart_ram_section,
    wram0_section,
    wram_banks_section,
    high_page_section,
};

bool unsaved(const std::string& reason, std::string& message) {
    message = "The battery save could not be written.\n\n" + reason;
    return false;
}

}  // namespace

bool save_battery(std::string& message) {
    const std::filesystem::path path = battery_path();
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    if (error) {
        return unsaved(path.parent_path().string() + ": " + error.message(), message);
    }
    std::string image;
    for (const memory_section& section : battery_layout) {
        append_section(image, section);
    }
    std::string reason;
    if (!write_file_atomically(path, image, reason)) {
        return unsaved(reason, message);
    }
    return true;
}

bool load_battery(std::string& message) {
    std::string image;
    std::string reason;
    bool missing = false;
    if (!read_file_head(battery_path(), battery_file_size, image, reason, missing)) {
        if (missing) {
            return true;
        }
        message = "The battery save could not be read.\n\n" + reason;
        return false;
    }
    std::size_t position = 0;
    for (const memory_section& section : battery_layout) {
        position = read_section(image, position, section);
    }
    std::copy(std::begin(wram0), std::end(wram0), echo_ram);
    write_byte(io_address(LCDC), read_byte(io_address(LCDC)));
    return true;
}

}  // namespace tov
