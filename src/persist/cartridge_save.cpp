#include "persist/cartridge_save.h"

#include <algorithm>
#include <ctime>
#include <string_view>

#include "cartridge/real_time_clock.h"
#include "cartridge/slot.h"
#include "core/machine_interface.h"
#include "host/files.h"
#include "host/paths.h"
#include "machine/memory.h"
#include "persist/battery_file.h"
#include "persist/save_failures.h"

namespace tov {

namespace {

// The cartridge RAM of TOV's own machine's battery file: its banks lie one
// after another, each followed by one byte that belongs to no memory.
constexpr std::size_t own_file_bank_chunk = cart_ram_bank_size + 1;

// The save of the machine that runs.
int32_t ram_size() {
    return machine().save_ram().size;
}

bool with_clock() {
    return machine().save_ram().clock;
}

uint8_t& ram_byte(int32_t index) {
    return machine().save_ram_byte(index);
}

int64_t unix_now() {
    return static_cast<int64_t>(std::time(nullptr));
}

std::string ram_image() {
    std::string image;
    for (int32_t i = 0; i < ram_size(); ++i) {
        image.push_back(static_cast<char>(ram_byte(i)));
    }
    if (with_clock()) {
        image += clock_block(unix_now());
    }
    return image;
}

// MBC2's cells keep four bits; other files may set the upper ones.
void adopt_ram(std::string_view bytes) {
    const bool cells = machine().save_ram().cells;
    const int32_t count = std::min<int32_t>(ram_size(), static_cast<int32_t>(bytes.size()));
    for (int32_t i = 0; i < count; ++i) {
        const auto value = static_cast<uint8_t>(bytes[i]);
        ram_byte(i) = cells ? value & 0x0F : value;
    }
}

// The RAM in a battery file of TOV's own machine, as raw bytes.
std::string ram_of_own_file(std::string_view file) {
    std::string bytes;
    for (int32_t i = 0; i < ram_size() && i < cart_ram_bank_size * cart_ram_bank_count; ++i) {
        const std::size_t position =
            (i / cart_ram_bank_size) * own_file_bank_chunk + i % cart_ram_bank_size;
        bytes.push_back(position < file.size() ? file[position] : '\0');
    }
    return bytes;
}

// Takes up a file of this layout or of TOV's own machine; false when its
// size fits neither.
bool adopt_file(std::string_view file) {
    const std::size_t ram = static_cast<std::size_t>(ram_size());
    if (file.size() == battery_file_size) {
        adopt_ram(ram_of_own_file(file));
        return true;
    }
    const std::size_t block = file.size() - std::min(file.size(), ram);
    const bool fits = file.size() >= ram &&
                      (block == 0 || block == clock_block_size || block == short_clock_block_size);
    if (!fits || (ram == 0 && block == 0)) {
        return false;
    }
    adopt_ram(file.substr(0, ram));
    if (block != 0 && with_clock()) {
        adopt_clock_block(file.substr(ram), unix_now());
    }
    return true;
}

bool keeps_a_save() {
    return ram_size() > 0 || with_clock();
}

// Why a file of `size` bytes at `path` does not fit the cartridge.
std::string unfitting(const std::filesystem::path& path, std::size_t size) {
    const std::string ram = std::to_string(ram_size());
    return path.string() + " holds " + std::to_string(size) + " bytes, and this cartridge keeps " +
           (with_clock() ? ram + " bytes of RAM and a clock block of 48 (or 44) bytes"
                         : ram + " bytes of RAM (a clock block after them is ignored)");
}

file_head read_whole(const std::filesystem::path& path) {
    constexpr std::size_t longest = cartridge_ram_size + clock_block_size + 1;
    return read_file_head(path, longest);
}

result write_image(const std::filesystem::path& path) {
    if (const result folder = create_folder_for(path); !folder.ok) {
        return folder;
    }
    return write_file_atomically(path, ram_image());
}

}  // namespace

std::filesystem::path cartridge_save_path(const std::string& cartridge_name) {
    return program_folder() / "BATTERY" /
           (std::filesystem::path(cartridge_name).stem().string() + ".sav");
}

result save_cartridge_ram(const std::string& cartridge_name) {
    if (!board.battery) {
        return {};
    }
    return writing_battery(write_image(cartridge_save_path(cartridge_name)));
}

result load_cartridge_ram(const std::string& cartridge_name) {
    if (!board.battery) {
        return {};
    }
    std::filesystem::path path = cartridge_save_path(cartridge_name);
    file_head file = read_whole(path);
    if (file.missing) {
        path = battery_path();
        file = read_whole(path);
    }
    if (file.missing) {
        return {};
    }
    if (!file.outcome.ok) {
        return reading_battery(file.outcome);
    }
    if (!adopt_file(file.content)) {
        return failure("The battery save was not used: " + unfitting(path, file.content.size()) +
                       ".");
    }
    return {};
}

result import_battery(const std::filesystem::path& path) {
    if (!keeps_a_save()) {
        return failure("This cartridge has no battery RAM to import a save into.");
    }
    const file_head file = read_whole(path);
    if (!file.outcome.ok) {
        return headed("The battery file could not be imported.", file.outcome);
    }
    if (!adopt_file(file.content)) {
        return failure("The battery file could not be imported: " +
                       unfitting(path, file.content.size()) + ". The save in use is kept.");
    }
    return {};
}

result export_battery(const std::filesystem::path& path) {
    if (!keeps_a_save()) {
        return failure("This cartridge has no battery RAM to export.");
    }
    return headed("The battery file could not be exported.",
                  write_file_atomically(path, ram_image()));
}

}  // namespace tov
