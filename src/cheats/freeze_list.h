// The cheat freeze list: addresses whose CPU reads return a fixed value,
// whatever the memory holds. read_byte scans it before anything else.
#pragma once

#include <cstdint>

namespace tov {

struct freeze_entry {
    int32_t address;  // 0000-FFFF
    int32_t value;    // 0-255
};

constexpr int32_t freeze_capacity = 256;

extern freeze_entry freeze_table[freeze_capacity];
extern int32_t freeze_count;

}  // namespace tov
