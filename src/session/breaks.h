// Running a game until it breaks, for test runs and the tools of people who
// write Game Boy programs: at the instruction LD B,B, which homebrew and the
// public test cartridges use as a software breakpoint, or at addresses.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace tov {

struct break_rule {
    bool at_ld_b_b = true;
    std::vector<uint16_t> addresses;  // PC reaching any of them breaks
};

// Runs instruction by instruction on the machine in use until the CPU is
// about to execute an instruction that breaks by `rule`, or until `frames`
// more frames have been emulated, calling `after_frame` with the count so
// far after each. True when it broke; the machine then stands before that
// instruction.
bool run_until_break(uint64_t frames, const break_rule& rule,
                     const std::function<void(uint64_t done)>& after_frame);

}  // namespace tov
