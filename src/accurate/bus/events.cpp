#include "accurate/bus/events.h"

#include <algorithm>

#include "accurate/dma/oam_dma.h"
#include "accurate/dma/vram_dma.h"
#include "accurate/timer/serial.h"
#include "accurate/timer/sound_clock.h"
#include "accurate/timer/timer.h"
#include "accurate/video/lcd.h"
#include "machine/cpu_state.h"

namespace tov {

namespace {

// The M-cycle boundary at or after `moment`.
uint64_t on_grid(uint64_t moment) {
    return (moment + 3) & ~uint64_t{3};
}

void serve(clock_event event, uint64_t when) {
    switch (event) {
        case event_timer: timer_event(when); break;
        case event_lcd:
            catch_up_oam_dma();  // a line drawn now sees the objects copied so far
            if (lcd_event(when) == lcd_moment::horizontal_blank) {
                hold_cpu(vram_dma_hblank(halted == 1));
            }
            break;
        case event_oam_dma: oam_dma_event(when); break;
        case event_serial: serial_event(when); break;
        default: sequencer_event(when); break;
    }
}

}  // namespace

void run_due_events() {
    while (machine_clock.next <= machine_clock.now) {
        int first = 0;
        for (int event = 1; event < event_count; ++event) {
            if (machine_clock.due[event] < machine_clock.due[first]) {
                first = event;
            }
        }
        const auto event = static_cast<clock_event>(first);
        const uint64_t when = machine_clock.due[event];
        schedule(event, never);
        serve(event, when);
    }
}

void advance_to_next_event(uint64_t limit) {
    const uint64_t next = machine_clock.next == never ? never : on_grid(machine_clock.next);
    machine_clock.now = std::max(machine_clock.now, std::min(next, limit));
    run_due_events();
}

void hold_cpu(uint64_t cycles) {
    if (cycles > 0) {
        machine_clock.cpu_free_at = std::max(machine_clock.cpu_free_at, machine_clock.now) + cycles;
    }
}

}  // namespace tov
