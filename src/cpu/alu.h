// Arithmetic, logic and rotate operations of the CPU with their flag rules.
// They act on A (the high view of AF) and the four working flags.
#pragma once

#include <array>
#include <cstdint>

namespace tov {

// 1 for a zero byte: flag_z of an 8-bit result.
constexpr std::array<uint8_t, 256> zero_table = [] {
    std::array<uint8_t, 256> table{};
    table[0] = 1;
    return table;
}();

// Each byte with its nibbles exchanged.
constexpr std::array<uint8_t, 256> swap_table = [] {
    std::array<uint8_t, 256> table{};
    for (int v = 0; v < 256; ++v) {
        table[v] = static_cast<uint8_t>((v << 4 | v >> 4) & 0xFF);
    }
    return table;
}();

void alu_add(int32_t v);
void alu_adc(int32_t v);
void alu_sub(int32_t v);
void alu_sbc(int32_t v);
void alu_and(int32_t v);
void alu_xor(int32_t v);
void alu_or(int32_t v);
void alu_cp(int32_t v);

// Return the new byte; the caller stores it. C is left alone.
uint8_t alu_inc(int32_t v);
uint8_t alu_dec(int32_t v);

// HL += rr, with H from bit 11 and C from bit 15; Z is left alone.
void add_hl(int32_t rr);

void alu_daa();
void alu_cpl();
void alu_scf();
void alu_ccf();

// The accumulator rotates; all four clear Z, N and H.
void alu_rlca();
void alu_rrca();
void alu_rla();
void alu_rra();

// The CB set's rotate, shift or swap `y` (RLC, RRC, RL, RR, SLA, SRA, SWAP,
// SRL) of v; sets all four flags and returns the result.
uint8_t alu_shift_rotate(int y, int32_t v);

}  // namespace tov
