// The CPU's part of the machine record: the register pairs with their byte
// views, the working flags, the interrupt and halt state, and the model the
// machine runs as. There is exactly one machine; every part of the emulator
// reaches this state directly by name.
#pragma once

#include <bit>
#include <cstdint>

namespace tov {

static_assert(std::endian::native == std::endian::little,
              "the register byte views assume a little-endian host");

// A 16-bit register with byte views that alias its storage: writing the low
// view of BC changes C and therefore BC. The views are bound once, at
// construction, and never rebound.
struct register_pair {
    int32_t value = 0;
    uint8_t& high;
    uint8_t& low;

    register_pair();
    register_pair(const register_pair&) = delete;
    register_pair& operator=(const register_pair&) = delete;
};

extern register_pair AF, BC, DE, HL, SP, PC;
extern uint8_t& A;
extern uint8_t& F;
extern uint8_t& B;
extern uint8_t& C;
extern uint8_t& D;
extern uint8_t& E;
extern uint8_t& H;
extern uint8_t& L;

// The working flags, each 0 or 1. Instructions use these, never the F byte.
extern int32_t flag_z, flag_n, flag_h, flag_c;

// The debugger's copy of the flags (Z, N, H, C), written only by unpack_flags.
extern uint8_t shown_flags[4];

// The four working flags from `bits` laid out as F's upper nibble; F itself
// is left as it is.
void set_working_flags(uint8_t bits);

// F to the four working flags and shown_flags.
void unpack_flags();

// F packed from the working flags, as PUSH AF stores it (low nibble 0).
uint8_t packed_flags();

// Interrupt and halt state.
extern int32_t ime;
extern int32_t halted;
extern int32_t halt_repeat;
extern uint8_t stop_flag;

// 1 when the cartridge runs as a Game Boy Color program.
extern uint8_t colour_mode;

// 1 when the accurate machine is a Game Boy Color, whether the cartridge runs
// as a colour program on it or not.
extern uint8_t colour_model;

// Moves PC by n. PC stays a 16-bit address: stepping past FFFF wraps to 0000.
inline void advance_pc(int32_t n) {
    PC.value = (PC.value + n) & 0xFFFF;
}

// The CPU as the start-up program leaves it for a cartridge kind, at 0100
// with its speed (the I/O page is set elsewhere).
void power_on_cpu();

}  // namespace tov
