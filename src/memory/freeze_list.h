// The cheat freeze list: addresses whose CPU reads return a fixed value,
// whatever the memory holds. read_byte scans it before anything else. Entries
// are only ever added, and live until the program ends.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tov {

struct freeze_entry {
    int32_t address;  // 0000-FFFF
    int32_t value;    // 0-255
};

constexpr int32_t freeze_capacity = 256;
constexpr std::size_t freeze_name_length = 15;

extern freeze_entry freeze_table[freeze_capacity];
extern int32_t freeze_count;

// The name typed for each entry, at most freeze_name_length characters.
extern std::string freeze_names[freeze_capacity];

// Adds an entry at the end, in force from the next CPU read; when the same
// address is listed twice the earlier entry wins. False, and nothing added,
// when the list is full.
bool add_freeze(int32_t address, int32_t value, std::string_view name);

// The list line of entry `index`: "0x%X = 0x%X" with address and value,
// padded with spaces to 16 characters, then the name.
std::string freeze_line(int32_t index);

}  // namespace tov
