#include "session/breaks.h"

#include <algorithm>

#include "accurate/bus/bus.h"
#include "accurate/run/console.h"
#include "machine/cpu_state.h"
#include "machine/options.h"
#include "machine/timing.h"
#include "memory/memory_map.h"
#include "run/frame_driver.h"

namespace tov {

namespace {

constexpr int ld_b_b = 0x40;

// The opcode the CPU fetches next, or -1 when it is halted or PC is in the
// I/O page, whose reads act on the machine.
int next_opcode() {
    const int32_t pc = PC.value;
    if (halted == 1 || (pc >= 0xFF00 && pc < 0xFF80)) {
        return -1;
    }
    return accurate_machine ? bus_read(pc) : read_byte(pc);
}

bool breaks(const break_rule& rule) {
    if (rule.at_ld_b_b && next_opcode() == ld_b_b) {
        return true;
    }
    return std::find(rule.addresses.begin(), rule.addresses.end(), PC.value) !=
           rule.addresses.end();
}

}  // namespace

bool run_until_break(uint64_t frames, const break_rule& rule,
                     const std::function<void(uint64_t done)>& after_frame) {
    const uint64_t first = frame_counter;
    while (frame_counter - first < frames) {
        if (breaks(rule)) {
            return true;
        }
        const uint64_t frame = frame_counter;
        accurate_machine ? step_accurate_machine() : run_step();
        if (frame_counter != frame) {
            after_frame(frame_counter - first);
        }
    }
    return false;
}

}  // namespace tov
