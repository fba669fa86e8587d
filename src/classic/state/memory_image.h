// The raw memory images that battery files and save states are made of: each
// memory written byte by byte, bank after bank, in a fixed order with no
// header. Both file kinds share the chunk layout of the banked memories.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "classic/memory/memory_map.h"

namespace tov {

// One memory as the files hold it. Banked memories are interleaved (byte o of
// bank b is element o * banks + b) and are written one bank after another.
// With `padded`, every bank's chunk ends with one more byte that belongs to
// no memory: written as 0, skipped on reading. The chunk sizes that result
// (8193, 4097, ...) are part of the file formats.
struct memory_section {
    uint8_t* memory;
    int32_t bank_size;
    int32_t banks;
    bool padded;

    // Bytes the section takes in a file.
    constexpr std::size_t file_size() const {
        return static_cast<std::size_t>(bank_size + (padded ? 1 : 0)) * banks;
    }
};

// The sections that battery files and save states share.
inline constexpr memory_section cart_ram_section{cart_ram, cart_ram_bank_size, cart_ram_bank_count,
                                                 true};
inline constexpr memory_section wram0_section{wram0, wram_bank_size, 1, true};
inline constexpr memory_section wram_banks_section{wram_banks, wram_bank_size, wram_bank_count,
                                                   true};
// FF80-FFFF: high RAM and IE.
inline constexpr memory_section high_page_section{io_page + 0x80, 0x80, 1, false};

// Appends the section's bytes to `image`.
void append_section(std::string& image, const memory_section& section);

// Stores the section from `image` starting at `position`, as far as the image
// goes. Returns the position after the section.
std::size_t read_section(std::string_view image, std::size_t position,
                         const memory_section& section);

}  // namespace tov
