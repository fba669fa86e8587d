#include "classic/cpu/interrupts.h"

#include <cstdint>

#include "classic/cpu/cpu.h"
#include "classic/memory/memory_map.h"
#include "machine/cpu_state.h"
#include "machine/registers.h"

namespace tov {

namespace {

struct interrupt_source {
    uint8_t bit;  // in IE and IF
    int32_t vector;
};

// In priority order.
constexpr interrupt_source sources[] = {
    {interrupt_vblank, 0x0040}, {interrupt_stat, 0x0048},   {interrupt_timer, 0x0050},
    {interrupt_serial, 0x0058}, {interrupt_joypad, 0x0060},
};

}  // namespace

// IE and IF are read once: nothing between two reads could change them.
void dispatch_interrupts() {
    if (ime != 1) {
        return;
    }
    const uint8_t enabled = read_byte(io_address(IE));
    if (enabled == 0) {
        return;
    }
    const uint8_t requested = enabled & read_byte(io_address(IF));
    if (requested == 0) {
        return;  // the usual case while halted
    }
    for (const interrupt_source& source : sources) {
        if (requested & source.bit) {
            io_page[IF] &= static_cast<uint8_t>(~source.bit);
            halted = 0;
            // PC already holds the next instruction's address, so it is pushed
            // as it is and the vector is stored without the minus-1 rule.
            push_word(PC.value);
            ime = 0;
            PC.value = source.vector;
            return;
        }
    }
}

}  // namespace tov
