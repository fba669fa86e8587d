// The "Memory" page's fields: CPU registers and flags, the LCDC bits in
// words, the LCD, timer, serial, bank and sound registers in hex, and the
// cartridge header texts. Registers are read the way the CPU reads them.
#pragma once

#include <string>
#include <vector>

namespace tov {

struct view_row {
    std::string label;
    std::vector<std::string> values;
};

struct view_group {
    std::string title;
    std::vector<view_row> rows;
};

struct view_check {
    std::string label;
    bool checked;
};

struct cpu_view {
    std::vector<view_group> groups;      // Registers, LCDC, LCD, Various, Sound 1-4
    std::vector<view_check> checks;      // Z_FLAG, N_FLAG, H_FLAG, C_FLAG, IME
    std::vector<std::string> cartridge;  // the six header texts
};

// Every field as the machine stands now. The flag check marks show the
// working flags (copied into shown_flags); the F byte is shown as stored,
// and neither F nor the working flags are changed by looking.
cpu_view refresh_cpu_view();

}  // namespace tov
