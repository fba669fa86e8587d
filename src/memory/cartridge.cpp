#include "memory/cartridge.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>
#include <vector>

#include "apu/apu.h"
#include "host/archive.h"
#include "host/clock.h"
#include "host/files.h"
#include "machine/registers.h"
#include "machine/timing.h"
#include "memory/cartridge_info.h"
#include "memory/console_memory.h"
#include "memory/io_registers.h"

namespace tov {

std::string rom_path;
std::string rom_entry;

namespace {

struct register_value {
    int32_t address;
    uint8_t value;
};

// Power-on values stored plainly, before the sound registers.
constexpr register_value power_on_plain_first[] = {
    {0xFF00, 0xCF}, {0xFF01, 0x00}, {0xFF02, 0x7E}, {0xFF03, 0xFF}, {0xFF04, 0xAF}, {0xFF05, 0x00},
    {0xFF06, 0x00}, {0xFF07, 0x00}, {0xFF08, 0xFF}, {0xFF09, 0xFF}, {0xFF0A, 0xFF}, {0xFF0B, 0xFF},
    {0xFF0C, 0xFF}, {0xFF0D, 0xFF}, {0xFF0E, 0xFF}, {0xFF0F, 0x00},
};

// The sound registers, written through the write path so that the channels
// take them in. NR34 is written twice.
constexpr register_value power_on_sound[] = {
    {0xFF10, 0x80}, {0xFF11, 0xBF}, {0xFF12, 0xF3}, {0xFF13, 0xFF}, {0xFF14, 0xBF}, {0xFF15, 0xFF},
    {0xFF16, 0x3F}, {0xFF17, 0x00}, {0xFF18, 0xFF}, {0xFF19, 0xBF}, {0xFF1A, 0x7F}, {0xFF1B, 0xFF},
    {0xFF1C, 0x9F}, {0xFF1D, 0xFF}, {0xFF1E, 0xBF}, {0xFF1E, 0xFF}, {0xFF1F, 0xFF}, {0xFF20, 0xFF},
    {0xFF21, 0x00}, {0xFF22, 0x00}, {0xFF23, 0xBF}, {0xFF24, 0x77}, {0xFF25, 0xF3}, {0xFF26, 0xF1},
};

// Wave RAM and the video, speed, DMA and palette registers, stored plainly.
constexpr register_value power_on_plain_last[] = {
    {0xFF30, 0x06}, {0xFF31, 0xFE}, {0xFF32, 0x0E}, {0xFF33, 0x7F}, {0xFF34, 0x00}, {0xFF35, 0xFF},
    {0xFF36, 0x58}, {0xFF37, 0xDF}, {0xFF38, 0x00}, {0xFF39, 0xEC}, {0xFF3A, 0x00}, {0xFF3B, 0xBF},
    {0xFF3C, 0x0C}, {0xFF3D, 0xED}, {0xFF3E, 0x03}, {0xFF3F, 0xF7}, {0xFF40, 0x91}, {0xFF41, 0x85},
    {0xFF42, 0x00}, {0xFF43, 0x00}, {0xFF44, 0x00}, {0xFF45, 0x00}, {0xFF46, 0x00}, {0xFF47, 0xFC},
    {0xFF48, 0xFF}, {0xFF49, 0xFF}, {0xFF4A, 0x00}, {0xFF4B, 0x00}, {0xFF4C, 0xFF}, {0xFF4D, 0x7F},
    {0xFF4E, 0xFF}, {0xFF4F, 0xFE}, {0xFF50, 0xFF}, {0xFF51, 0x00}, {0xFF52, 0x00}, {0xFF53, 0x00},
    {0xFF54, 0x00}, {0xFF55, 0xFF}, {0xFF56, 0x00}, {0xFF68, 0xC0}, {0xFF69, 0x00}, {0xFF6A, 0xC1},
    {0xFF6B, 0x00}, {0xFF70, 0xF8}, {0xFFFF, 0x00},
};

// How messages name an image: its file, or its entry and the archive.
std::string image_name(const std::string& path, const std::string& entry) {
    return entry.empty() ? quoted(path) : quoted(entry) + " in " + quoted(path);
}

result check_regular_file(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return failure(quoted(path) + " is not a readable file.");
    }
    return {};
}

// Refuses an image of `size` bytes that holds nothing, less than a
// cartridge header, or more than a cartridge can.
result check_size(const std::string& name, std::uintmax_t size) {
    if (size == 0) {
        return failure(name + " is empty: it holds no cartridge.");
    }
    if (size < min_cartridge_size) {
        return failure(name + " is too short to be a cartridge: it holds " + std::to_string(size) +
                       " bytes, less than a cartridge header (" +
                       std::to_string(min_cartridge_size) + ").");
    }
    if (size > max_cartridge_size) {
        return failure(name + " is larger than 4 MiB (256 banks of 16 KiB), " +
                       "the most a cartridge can hold.");
    }
    return {};
}

result read_plain_image(const std::string& path, std::vector<uint8_t>& image) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) {
        return unreadable(path, error.message());
    }
    if (const result sized = check_size(quoted(path), size); !sized.ok) {
        return sized;
    }
    std::ifstream file(path, std::ios::binary);
    image.resize(static_cast<std::size_t>(size));
    if (!file || !file.read(reinterpret_cast<char*>(image.data()),
                            static_cast<std::streamsize>(image.size()))) {
        return unreadable(path);
    }
    return {};
}

// One byte more than a cartridge can hold is read, to tell a larger entry.
result read_archived_image(const std::string& path, const std::string& entry,
                           std::vector<uint8_t>& image) {
    if (const result read = read_archive_entry(path, entry, max_cartridge_size + 1, image);
        !read.ok) {
        return read;
    }
    return check_size(image_name(path, entry), image.size());
}

// The whole image, or the reason it cannot be used.
result read_image(const std::string& path, const std::string& entry, std::vector<uint8_t>& image) {
    if (const result file = check_regular_file(path); !file.ok) {
        return file;
    }
    if (entry.empty()) {
        return read_plain_image(path, image);
    }
    return read_archived_image(path, entry, image);
}

// The entry to open `path` with when `entry` is asked for: none for a plain
// file, the first cartridge of an archive when none is named.
result choose_entry(const std::string& path, const std::string& entry, std::string& chosen) {
    std::vector<std::string> entries;
    if (const result listed = list_cartridge_entries(path, entries); !listed.ok) {
        return listed;
    }
    if (is_archive(path)) {
        chosen = entry.empty() ? entries.front() : entry;
        return {};
    }
    if (!entry.empty() && entry != entries.front()) {
        return failure(quoted(path) + " is not an archive: it holds no cartridge named " +
                       quoted(entry) + ".");
    }
    chosen.clear();
    return {};
}

// All colours black, then palette 0 of both tables from dark to light.
void reset_colour_tables() {
    use_palette_shades();
    std::fill(std::begin(bg_colours), std::end(bg_colours), 0);
    std::fill(std::begin(obj_colours), std::end(obj_colours), 0);
    constexpr int32_t palette0[4] = {0x0000, 0x2D6B, 0x3DEF, 0xFFFF};
    std::copy(std::begin(palette0), std::end(palette0), bg_colours);
    std::copy(std::begin(palette0), std::end(palette0), obj_colours);
}

// Cartridge RAM and IE are not touched here.
void clear_memories() {
    std::fill(std::begin(vram), std::end(vram), 0);
    std::fill(std::begin(wram0), std::end(wram0), 0);
    std::fill(std::begin(echo_ram), std::end(echo_ram), 0);
    std::fill(std::begin(wram_banks), std::end(wram_banks), 0);
    std::fill(std::begin(oam), std::end(oam), 0);
    std::fill(io_page, io_page + 0xFF, 0);
}

void describe_header() {
    describe_title();
    describe_colour();
    describe_type();
    describe_rom_size();
    describe_ram_size();
    describe_destination();
}

// Bank b of the file goes to column b of rom_banks; a trailing part shorter
// than a bank is not loaded.
void spread_rom_banks(const std::vector<uint8_t>& image) {
    const std::size_t bank_count = image.size() / rom_bank_size;
    for (std::size_t bank = 1; bank < bank_count; ++bank) {
        const uint8_t* source = image.data() + bank * rom_bank_size;
        for (int32_t offset = 0; offset < rom_bank_size; ++offset) {
            rom_banks[offset * rom_bank_count + bank] = source[offset];
        }
    }
}

void keep_last_part(const std::vector<uint8_t>& image) {
    const std::size_t whole = image.size() / rom_bank_size;
    rom_banks_loaded = std::max<int32_t>(1, static_cast<int32_t>(whole));
    rom_last_part_size = whole == 0 ? 0 : static_cast<int32_t>(image.size() % rom_bank_size);
    std::fill(std::begin(rom_last_part), std::end(rom_last_part), 0xFF);
    std::copy_n(image.begin() + whole * rom_bank_size, rom_last_part_size, rom_last_part);
}

void write_power_on_registers() {
    for (const register_value& entry : power_on_plain_first) {
        write_console_memory(entry.address, entry.value);
    }
    for (const register_value& entry : power_on_sound) {
        const int32_t offset = entry.address - 0xFF00;
        if (!write_sound_io(offset, entry.value)) {
            write_io_register(offset, entry.value);
        }
    }
    for (const register_value& entry : power_on_plain_last) {
        write_console_memory(entry.address, entry.value);
    }
    // Let the palettes and the LCDC flags follow the values just stored.
    for (const io_register offset : {BGP, OBP0, OBP1, LCDC}) {
        write_io_register(offset, io_page[offset]);
    }
}

}  // namespace

void power_on_console() {
    reset_colour_tables();
    apu_reset();
    write_power_on_registers();
    fps_count = 0;
    const double now = clock_time_ms();
    last_frame_ms = now;
    now_ms = now;
}

result list_cartridge_entries(const std::string& path, std::vector<std::string>& entries) {
    entries.clear();
    if (const result file = check_regular_file(path); !file.ok) {
        return file;
    }
    if (!is_archive(path)) {
        entries.push_back(std::filesystem::path(path).filename().string());
        return {};
    }
    return list_archive_cartridges(path, entries);
}

result load_cartridge() {
    std::vector<uint8_t> image;
    if (const result read = read_image(rom_path, rom_entry, image); !read.ok) {
        return read;
    }
    clear_memories();
    std::copy_n(image.begin(), std::min<std::size_t>(image.size(), rom_bank_size), rom_bank0);
    describe_header();
    spread_rom_banks(image);
    keep_last_part(image);
    return {};
}

result load_cartridge_file(const std::string& path, const std::string& entry) {
    std::string chosen;
    if (const result chose = choose_entry(path, entry, chosen); !chose.ok) {
        return chose;
    }
    std::string previous_path = std::exchange(rom_path, path);
    std::string previous_entry = std::exchange(rom_entry, chosen);
    const result loaded = load_cartridge();
    if (!loaded.ok) {
        rom_path = std::move(previous_path);
        rom_entry = std::move(previous_entry);
    }
    return loaded;
}

}  // namespace tov
