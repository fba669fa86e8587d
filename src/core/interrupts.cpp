#include "core/interrupts.h"

#include <cstdint>

#include "core/cpu.h"
#include "core/machine.h"
#include "memory/memory_map.h"
#include "memory/registers.h"

namespace tov {

namespace {
// VBlank, LCD STAT, timer, serial, joypad: bit n of IE/IF, in priority order.
constexpr int32_t vectors[5] = {0x0040, 0x0048, 0x0050, 0x0058, 0x0060};
}  // namespace

// IE and IF are read once: nothing between two reads could change them.
void dispatch_interrupts() {
    if (ime != 1) {
        return;
    }
    const uint8_t enabled = read_byte(0xFFFF);
    if (enabled == 0) {
        return;
    }
    const uint8_t requested = enabled & read_byte(0xFF0F);
    for (int bit = 0; bit < 5; ++bit) {
        const uint8_t mask = static_cast<uint8_t>(1 << bit);
        if (requested & mask) {
            io_page[IF] &= static_cast<uint8_t>(~mask);
            halted = 0;
            // PC already holds the next instruction's address, so it is pushed
            // as it is and the vector is stored without the minus-1 rule.
            push_word(PC.value);
            ime = 0;
            PC.value = vectors[bit];
            return;
        }
    }
}

}  // namespace tov
