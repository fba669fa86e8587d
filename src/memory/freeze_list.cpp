#include "memory/freeze_list.h"

#include <algorithm>
#include <cstdio>

namespace tov {

freeze_entry freeze_table[freeze_capacity];
int32_t freeze_count;
std::string freeze_names[freeze_capacity];

namespace {
constexpr std::size_t freeze_line_width = 16;
}  // namespace

bool add_freeze(int32_t address, int32_t value, std::string_view name) {
    if (freeze_count >= freeze_capacity) {
        return false;
    }
    freeze_table[freeze_count] = {address & 0xFFFF, value & 0xFF};
    freeze_names[freeze_count] = std::string(name.substr(0, freeze_name_length));
    ++freeze_count;
    return true;
}

std::string freeze_line(int32_t index) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%X = 0x%X",
                  static_cast<unsigned>(freeze_table[index].address),
                  static_cast<unsigned>(freeze_table[index].value));
    std::string line(text);
    line.resize(std::max(line.size(), freeze_line_width), ' ');
    return line + freeze_names[index];
}

}  // namespace tov
