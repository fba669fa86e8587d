// The monochrome model's OAM corruption. While the object search reads OAM
// (mode 2), a row of eight bytes an M-cycle, the CPU putting an address of
// FE00-FEFF on the bus spoils the row being read with the row before it:
// by reading or writing there, or by the 16-bit increment unit moving such
// an address on (INC rr, DEC rr, (HL+), (HL-), the stack, PC). The first
// row is never spoiled; the colour model has no such fault.
#pragma once

#include <cstdint>

namespace tov {

// What the CPU does with the address in the M-cycle: a write, a read, or a
// read while the increment unit moves the same address on. The unit alone
// spoils OAM as a write does.
enum class oam_access { write, read, read_and_step };

// Whether `address` is one the fault can come from.
inline bool in_oam_page(int32_t address) {
    return (address & 0xFF00) == 0xFE00;
}

// Spoils the row the search reads now, if it reads one; for an address in
// FE00-FEFF only.
void oam_bug(oam_access access);

}  // namespace tov
