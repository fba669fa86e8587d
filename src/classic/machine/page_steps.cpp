#include "classic/machine/page_steps.h"

#include "classic/cpu/cpu.h"
#include "classic/memory/memory_map.h"
#include "classic/run/run_loop.h"
#include "classic/video/renderer.h"
#include "machine/cpu_state.h"
#include "machine/options.h"
#include "machine/registers.h"
#include "machine/timing.h"
#include "run/frame_driver.h"

namespace tov {

namespace {

constexpr uint8_t stat_interrupt = 0x02;

// Enters STAT mode `mode` unless the LCD is in it already; a STAT request
// follows when the mode's enable bit is set (the LCD switch is not asked).
// Returns whether the mode changed.
bool enter_mode(int mode, uint8_t enable_bit) {
    uint8_t& stat = io_page[STAT];
    if ((stat & 0x03) == mode) {
        return false;
    }
    stat = static_cast<uint8_t>((stat & 0xFC) | mode);
    if (stat & enable_bit) {
        io_page[IF] |= stat_interrupt;
    }
    return true;
}

// Its thresholds (81 and 174) are the page's own, not the run loop's; it
// neither compares LY with LYC nor requests VBlank.
void lcd_step() {
    const int s = speed_shift;
    const int32_t c = line_cycles;
    uint8_t& ly = io_page[LY];
    if (c > (456 << s)) {
        ly = ly == 153 ? 0 : static_cast<uint8_t>(ly + 1);
    }
    if (ly >= 144) {
        enter_mode(1, 0x10);
    } else if (c < (81 << s)) {
        enter_mode(2, 0x20);
    } else if (c < ((line_sprite_count * 12 + 174) << s)) {
        if (enter_mode(3, 0x00)) {
            render_ly = ly;
            if (skip_counter >= frame_skip) {
                render_line();
            }
        }
    } else {
        enter_mode(0, 0x08);
    }
}

}  // namespace

void page_first_step() {
    execute_opcode(peek_byte(PC.value));
    advance_pc(1);
}

void page_step() {
    lcd_step();
    execute_step();
}

}  // namespace tov
