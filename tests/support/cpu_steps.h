// Running single instructions in tests: code is written into memory and
// executed the way the run loop executes it.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

namespace tov::test {

// Where tests place code by default: work RAM, so no cartridge is rebuilt.
constexpr int32_t code_address = 0xC000;

// Writes `code` at `address` through write_byte and points PC at it.
void place_code(std::initializer_list<uint8_t> code, int32_t address = code_address);

// The opcode at PC executed and PC moved on by one, as one run-loop step
// does, without the LCD step, interrupts or the halt handling.
void execute_next();

// Places `code` and executes its first instruction.
void execute_one(std::initializer_list<uint8_t> code);

// The four working flags as "ZNHC" with '-' for a clear flag.
std::string flag_text();

// Sets the four working flags from "ZNHC"-style text.
void set_flags(const std::string& text);

}  // namespace tov::test
