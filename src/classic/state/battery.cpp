#include "classic/state/battery.h"

#include <algorithm>
#include <string>

#include "classic/memory/memory_map.h"
#include "classic/state/memory_image.h"
#include "host/files.h"
#include "host/paths.h"
#include "machine/registers.h"
#include "memory/cartridge.h"
#include "persist/save_failures.h"

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

}  // namespace

result save_battery() {
    const std::filesystem::path path = battery_path();
    if (const result folder = create_folder_for(path); !folder.ok) {
        return writing_battery(folder);
    }
    std::string image;
    for (const memory_section& section : battery_layout) {
        append_section(image, section);
    }
    return writing_battery(write_file_atomically(path, image));
}

result load_battery() {
    const file_head file = read_file_head(battery_path(), battery_file_size);
    if (file.missing) {
        return {};
    }
    if (!file.outcome.ok) {
        return reading_battery(file.outcome);
    }
    std::size_t position = 0;
    for (const memory_section& section : battery_layout) {
        position = read_section(file.content, position, section);
    }
    std::copy(std::begin(wram0), std::end(wram0), echo_ram);
    write_byte(io_address(LCDC), read_byte(io_address(LCDC)));
    return {};
}

}  // namespace tov
