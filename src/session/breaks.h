// Running a game instruction by instruction, for test runs and the tools of
// people who write Game Boy programs: until it breaks at the instruction
// LD B,B, which homebrew and the public test cartridges use as a software
// breakpoint; the bytes the CPU is about to execute, the banks in view, and
// the debug messages of LD D,D.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tov {

// Whether the instruction the CPU is about to execute is LD B,B.
bool ld_b_b_next();

// The byte at `address` as the CPU would fetch it, or -1 for the I/O page,
// whose reads act on the machine.
int code_byte(int32_t address);

// The byte at `address` as code_byte reads it, but from bank `bank` of the
// switched area it lies in (a bank the cartridge lacks reads -1); -1 for
// `bank` reads the bank in view.
int code_byte_in_bank(uint16_t address, int bank);

// The bank in view at `address` now: the ROM bank at 4000-7FFF, the video,
// cartridge and work RAM banks in theirs, 0 elsewhere.
int bank_at_address(uint16_t address);

// The LD D,D debug message of the instruction the CPU is about to execute,
// its operands filled in; nothing when that is no message.
std::optional<std::string> debug_message_next();

// The debug messages as the game runs: asked before each instruction, it
// gives the message of the LD D,D that has just run (none when an interrupt
// was dispatched instead).
class debug_message_watch {
public:
    std::optional<std::string> message_ran();

private:
    std::optional<std::string> pending_;
    int32_t pending_pc_ = -1;
};

// Runs the machine in use a step at a time (an instruction, or a halted
// CPU's wait) until `stop`, asked before each, says to, or until `frames`
// more frames have been emulated, calling `after_frame` with the count so
// far after each. True when `stop` stopped it; the machine then stands
// before that instruction.
bool run_steps_until(uint64_t frames, const std::function<bool()>& stop,
                     const std::function<void(uint64_t done)>& after_frame);

}  // namespace tov
