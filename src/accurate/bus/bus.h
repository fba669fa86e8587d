// The accurate machine's memory bus: the CPU's reads and writes in the
// M-cycle the clock stands at, with the OAM DMA's hold on the bus, the
// cartridge's controller, the cheat finder's frozen values, and the I/O
// registers with their units.
#pragma once

#include <cstdint>

namespace tov {

uint8_t bus_read(int32_t address);
void bus_write(int32_t address, uint8_t value);

// The I/O registers FF00-FF7F and FFFF, by offset.
uint8_t read_port(int32_t offset);
void write_port(int32_t offset, uint8_t value);

// A joypad line of the selected rows going low requests the joypad
// interrupt; called when the rows or the buttons may have changed.
void follow_joypad();

// The lines as follow_joypad last saw them (bit set: high).
struct joypad_state {
    uint8_t lines = 0x0F;
};
extern joypad_state joypad_port;

// Power-on: no row selected, every line high.
void reset_joypad_port();

void settle_joypad_port();

}  // namespace tov
