// The headless runner: loads a cartridge with the emulator core and runs it
// with the fake clock and no window, for tests, benchmarks and scripted play.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tov {

// Runs the command line `arguments` (without the program name), printing to
// `out` and `error`; returns the exit code: 0 done, 1 failed, 2 bad usage.
int run_headless(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& error);

}  // namespace tov
