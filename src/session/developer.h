// The developer window's side of the session: the game run under watch, a
// step at a time, until a stop test says to stop; the steps of a debugger;
// register edits; the symbols beside the cartridge and the breakpoints kept
// for it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "inspect/breakpoints.h"
#include "inspect/symbols.h"
#include "session/session.h"

namespace tov {

// While a watch is set, the window's timer runs the game a step at a time
// and asks `stop` before each instruction; when it says to, the emulation
// stops before that instruction. An empty function runs the game as usual.
void watch_run(std::function<bool()> stop);
bool watching();

// The timer message's slice while watching: a frame of steps.
void run_watched_frame();

// Whether the watch stopped the game since the last call.
bool take_watch_stop();

// Lets the stopped game run on under watch; `stop` is not asked before the
// instruction the game stands at, so that it leaves a breakpoint.
void run_on(std::function<bool()> stop);

// One instruction (a halted CPU waits until it runs one), or `stop` first.
void step_instruction_now();

// The stop tests of Step Over, Step Out and Run to Cursor, from the machine
// as it stands: back after the CALL or RST at PC (just the next instruction
// for any other), back from the routine it is in, at `address`.
std::function<bool()> stepped_over();
std::function<bool()> stepped_out();
std::function<bool()> reached(uint16_t address);

// The machine before the instruction about to run.
cpu_moment moment_now();

// A register by name ("A".."L", "F", "AF".."SP", "PC") set to `value`; the
// flags follow F. False for an unknown name.
bool set_register(const std::string& name, int value);

// The symbols of the cartridge's program: the .sym file beside the cartridge
// (game.sym or game.gb.sym), or none; the message says what was read.
struct cartridge_symbols {
    symbol_file symbols;
    std::string note;
};
cartridge_symbols read_cartridge_symbols();

// The breakpoints kept for the loaded cartridge in
// BREAKPOINTS/<cartridge name>.brk; none when there is no file.
std::vector<breakpoint> read_breakpoints();
result save_breakpoints(const std::vector<breakpoint>& points);

}  // namespace tov
