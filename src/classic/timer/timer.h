// Cycle accounting: every instruction's fixed charge advances the line clock,
// DIV and, while the timer runs, TIMA, which requests the timer interrupt.
#pragma once

#include <array>
#include <cstdint>

namespace tov {

extern const std::array<uint8_t, 256> cycle_table;
extern const std::array<uint8_t, 256> cb_cycle_table;

// Charges an unprefixed opcode (every opcode but CB, before it runs).
void charge_cycles(uint8_t opcode);

// Charges a CB-prefixed opcode; the run loop charges opcode 04 (8 cycles)
// for each step spent halted.
void charge_cb_cycles(uint8_t opcode);

// How many charges of `cycles` can follow from now without reloading TIMA
// (as many as an int holds while the timer is stopped).
int32_t charges_before_reload(int32_t cycles);

// `count` charges of `cycles` at once, leaving exactly the state that many
// single charges leave; none of them may reload TIMA.
void charge_repeatedly(int32_t cycles, int32_t count);

// The TIMA period in cycles that TAC `value` selects for the cartridge kind.
int32_t tima_period_for_tac(uint8_t value);

// The effect of a TAC (FF07) write: the TIMA period for the cartridge kind,
// and, while the timer option is on, whether TIMA counts.
void write_tac(uint8_t value);

}  // namespace tov
