// The instruction interpreter. On entry PC holds the opcode's address;
// operands are read by first advancing PC, so an instruction ends with PC on
// its last byte and the caller's +1 moves it on. Every control transfer
// therefore stores its target minus 1.
#pragma once

#include <cstdint>

namespace tov {

// Carries out one unprefixed instruction (CB hands over to execute_cb).
void execute_opcode(uint8_t opcode);

// Carries out one CB-prefixed instruction; the byte after CB is its opcode.
void execute_cb(uint8_t opcode);

// PC += 1, then the byte there as a signed value.
int32_t fetch_offset();

// PC += 2, then the word whose low byte is at PC - 1 and high byte at PC.
int32_t fetch_word();

// PC += 1, then the byte there.
uint8_t fetch_byte();

void push_word(int32_t value);
int32_t pop_word();

// The byte of operand code 0-7: B, C, D, E, H, L, (HL), A.
uint8_t read_operand(int code);
void write_operand(int code, uint8_t value);

}  // namespace tov
