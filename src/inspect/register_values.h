// The CPU's registers as the debuggers read them: a snapshot, and a register
// of it found by name, as breakpoint conditions and debug messages name them.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tov {

struct register_values {
    uint16_t af, bc, de, hl, sp;  // F's flags: Z 0x80, N 0x40, H 0x20, C 0x10
    uint16_t pc = 0;
    bool halted = false;  // the CPU waits in HALT
};

// The machine's registers now, F packed from the working flags.
register_values machine_registers();

struct register_reading {
    int value;
    int digits;  // 2 for an 8-bit register, 4 for a 16-bit one
};

// Register `name` ("A" to "L", "F", "AF", "BC", "DE", "HL", "SP", "PC",
// upper case) of `r`; nothing for another name.
std::optional<register_reading> read_register(std::string_view name, const register_values& r);

}  // namespace tov
