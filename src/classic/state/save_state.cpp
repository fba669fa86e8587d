#include "classic/state/save_state.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

#include "classic/memory/memory_map.h"
#include "classic/state/memory_image.h"
#include "classic/state/resume_record.h"
#include "classic/timer/timer.h"
#include "host/files.h"
#include "machine/cpu_state.h"
#include "machine/registers.h"
#include "machine/timing.h"
#include "memory/io_registers.h"
#include "persist/save_failures.h"

namespace tov {

namespace {

// Larger values from a file are brought down to these, so that every banked
// access stays inside its array: cartridge RAM has banks 0-4, SVBK selects
// work RAM indices 0-6, and the CPU runs at single or double speed.
constexpr uint8_t highest_ram_bank = cart_ram_bank_count - 1;
constexpr uint8_t highest_wram_bank = 6;
constexpr uint8_t highest_speed_shift = 1;

// The palette grids: colour column c 0-4 (outer) by palette row p 0-8
// (inner), position (c, p) standing for table entry p * 4 + c. Column 4
// repeats colour 0 of the next palette; entries 32 and above lie outside the
// table and are no colours: with the memory chunks' closing bytes they carry
// the resume record.
constexpr int grid_columns = 5;
constexpr int grid_rows = 9;
constexpr int colour_entries = 32;

// After the 21-byte header and the two grids, in file order.
constexpr memory_section state_memories[] = {
    {vram, 2 * vram_bank_size, 1, true},
    cart_ram_section,
    wram0_section,
    wram_banks_section,
    {oam, oam_size, 1, true},
    {io_page, 0x81, 1, false},  // FF00-FF80
    high_page_section,          // FF80-FFFF again: the later copy stays
};

constexpr std::size_t header_size = 21;
constexpr std::size_t palette_grid_size = grid_columns * grid_rows * 2;

constexpr std::size_t layout_size() {
    std::size_t size = header_size + 2 * palette_grid_size;
    for (const memory_section& section : state_memories) {
        size += section.file_size();
    }
    return size;
}
static_assert(layout_size() == state_file_size, "the layout must fill the state file exactly");

// Calls `visit` with each offset of the file that belongs to no memory, in
// file order: the palette grid positions outside the tables, then the byte
// closing each memory chunk.
template <typename Visit>
constexpr void for_each_spare_offset(Visit visit) {
    std::size_t offset = header_size;
    for (int grid = 0; grid < 2; ++grid) {
        for (int column = 0; column < grid_columns; ++column) {
            for (int row = 0; row < grid_rows; ++row, offset += 2) {
                if (row * 4 + column >= colour_entries) {
                    visit(offset);
                    visit(offset + 1);
                }
            }
        }
    }
    for (const memory_section& section : state_memories) {
        for (int32_t bank = 0; bank < section.banks; ++bank) {
            offset += static_cast<std::size_t>(section.bank_size);
            if (section.padded) {
                visit(offset++);
            }
        }
    }
}

constexpr std::size_t spare_byte_count = [] {
    std::size_t count = 0;
    for_each_spare_offset([&count](std::size_t) { ++count; });
    return count;
}();

// The spare bytes carry the record that lets a loaded game go on exactly.
constexpr std::array<std::size_t, spare_byte_count> spare_offsets = [] {
    std::array<std::size_t, spare_byte_count> offsets{};
    std::size_t count = 0;
    for_each_spare_offset([&](std::size_t offset) { offsets[count++] = offset; });
    return offsets;
}();
static_assert(resume_record_size <= spare_byte_count, "the record must fit the spare bytes");

uint8_t low_byte(int32_t value) {
    return static_cast<uint8_t>(value & 0xFF);
}

void append_header(std::string& image) {
    // clang-format off
    const uint8_t header[header_size] = {
        A, B, C, D, E, F, H, L,                                     // 0-7
        low_byte(PC.value >> 8), low_byte(PC.value),                // 8-9
        io_page[IE], ram_enable, ram_bank, rom_bank, wram_bank,     // 10-14
        speed_shift, low_byte(tima_cycles), low_byte(tima_period),  // 15-17
        timer_running, stop_flag, low_byte(ime)                     // 18-20
    };
    // clang-format on
    image.append(reinterpret_cast<const char*>(header), sizeof header);
}

void append_palette_grid(std::string& image, const int32_t* table) {
    for (int column = 0; column < grid_columns; ++column) {
        for (int row = 0; row < grid_rows; ++row) {
            const int entry = row * 4 + column;
            const int32_t word = entry < colour_entries ? table[entry] : 0;
            image += static_cast<char>(low_byte(word >> 8));
            image += static_cast<char>(low_byte(word));
        }
    }
}

// The bytes of a state file in order.
class byte_reader {
public:
    explicit byte_reader(std::string_view image) : image_(image) {}
    uint8_t next() { return static_cast<uint8_t>(image_[position_++]); }
    void section(const memory_section& memory) {
        position_ = read_section(image_, position_, memory);
    }

private:
    std::string_view image_;
    std::size_t position_ = 0;
};

void restore_header(byte_reader& in) {
    for (uint8_t* view : {&A, &B, &C, &D, &E, &F, &H, &L}) {
        *view = in.next();
    }
    const int32_t pc_high = in.next();
    PC.value = pc_high * 256 + in.next();
    io_page[IE] = in.next();
    ram_enable = in.next();
    ram_bank = std::min(in.next(), highest_ram_bank);
    clock_selected = 0;  // the file keeps a RAM bank, not the clock's choice
    rom_bank = in.next();
    wram_bank = std::min(in.next(), highest_wram_bank);
    speed_shift = std::min(in.next(), highest_speed_shift);
    tima_cycles = static_cast<int8_t>(in.next());
    in.next();  // tima_period's low byte: the period follows TAC once the I/O page is back
    timer_running = in.next();
    stop_flag = in.next();
    // Interrupts are dispatched only while ime is exactly 1; any other byte
    // leaves them disabled, as the machine would treat it.
    ime = in.next() == 1 ? 1 : 0;
}

void restore_palette_grid(byte_reader& in, int32_t* table) {
    for (int column = 0; column < grid_columns; ++column) {
        for (int row = 0; row < grid_rows; ++row) {
            const int entry = row * 4 + column;
            const int32_t high = in.next();
            const int32_t word = high * 256 + in.next();
            if (entry < colour_entries) {
                table[entry] = word;
            }
        }
    }
}

void restore_machine(std::string_view image) {
    byte_reader in(image);
    restore_header(in);
    restore_palette_grid(in, bg_colours);
    restore_palette_grid(in, obj_colours);
    for (const memory_section& section : state_memories) {
        in.section(section);
    }
    std::copy(std::begin(wram0), std::end(wram0), echo_ram);
    tima_period = tima_period_for_tac(io_page[TAC]);
    write_byte(io_address(LCDC), read_byte(io_address(LCDC)));
    window_lines = {};
    std::string record;
    for (const std::size_t offset : spare_offsets) {
        record += image[offset];
    }
    restore_resume_record(record);
}

}  // namespace

std::string state_image() {
    std::string image;
    append_header(image);
    append_palette_grid(image, bg_colours);
    append_palette_grid(image, obj_colours);
    for (const memory_section& section : state_memories) {
        append_section(image, section);
    }
    const std::string record = resume_record();
    for (std::size_t i = 0; i < record.size(); ++i) {
        image[spare_offsets[i]] = record[i];
    }
    return image;
}

result restore_state(std::string_view image) {
    if (image.size() != state_file_size) {
        return failure("this is not a save state; a save state is exactly " +
                       std::to_string(state_file_size) + " bytes long.");
    }
    restore_machine(image);
    return {};
}

result save_state(const std::string& path) {
    return saving_state(write_file_atomically(path, state_image()));
}

result load_state(const std::string& path) {
    const file_head file = read_file_head(path, state_file_size + 1);
    if (!file.outcome.ok) {
        return loading_state(file.outcome);
    }
    return taking_up_state(path, restore_state(file.content));
}

}  // namespace tov
