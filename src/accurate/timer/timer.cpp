#include "accurate/timer/timer.h"

#include <algorithm>

#include "accurate/clock/clock.h"
#include "accurate/timer/serial.h"
#include "accurate/timer/sound_clock.h"
#include "machine/memory.h"
#include "machine/registers.h"

namespace tov {

timer_state timer;

namespace {

constexpr uint64_t m_cycle = 4;

// The counter bit TIMA follows, by TAC bits 1-0: 4096, 262144, 65536 and
// 16384 Hz at single speed.
constexpr int tima_bits[4] = {9, 3, 5, 7};

bool tima_enabled() {
    return (timer.tac & 0x04) != 0;
}

uint64_t tima_period() {
    return uint64_t{2} << tima_bits[timer.tac & 3];
}

// The falling edges of the selected bit in (from, to].
uint64_t edges_between(uint64_t from, uint64_t to) {
    const uint64_t period = tima_period();
    return system_counter_at(to) / period - system_counter_at(from) / period;
}

// TIMA with every edge up to `moment`. The overflow's own moment is
// scheduled, so TIMA never passes FF here.
void count_edges(uint64_t moment) {
    if (moment <= timer.counted_to) {
        return;
    }
    if (tima_enabled() && !timer.paused) {
        timer.tima = static_cast<uint8_t>(timer.tima + edges_between(timer.counted_to, moment));
    }
    timer.counted_to = moment;
}

// One edge outside the counter's own running (a DIV or TAC write).
void extra_edge(uint64_t moment) {
    if (timer.tima == 0xFF) {
        timer.tima = 0;
        timer.reload_at = moment + m_cycle;
        schedule(event_timer, timer.reload_at);
    } else {
        ++timer.tima;
    }
}

// The moment of the edge that takes TIMA from FF to 00.
void schedule_overflow() {
    if (timer.reload_at != never) {
        return;  // the reload is scheduled
    }
    if (!tima_enabled() || timer.paused) {
        schedule(event_timer, never);
        return;
    }
    const uint64_t period = tima_period();
    const uint64_t steps = 0x100 - timer.tima;
    const uint64_t edge = (system_counter_at(timer.counted_to) / period + steps) * period;
    schedule(event_timer, edge - timer.offset);
}

bool selected_bit_set(uint64_t counter) {
    return ((counter >> tima_bits[timer.tac & 3]) & 1) != 0;
}

}  // namespace

void reset_timer(uint16_t counter) {
    timer = {};
    timer.offset = static_cast<uint16_t>(counter - machine_clock.now);
    timer.counted_to = machine_clock.now;
    timer.reload_at = never;
    timer.reloaded_at = never;
    schedule(event_timer, never);
}

uint8_t read_div() {
    if (timer.paused) {
        return 0;
    }
    return static_cast<uint8_t>(system_counter_at(machine_clock.now) >> 8);
}

uint8_t read_tima() {
    count_edges(machine_clock.now);
    return timer.tima;
}

void write_div() {
    const uint64_t now = machine_clock.now;
    count_edges(now);
    const uint64_t before = system_counter_at(now);
    catch_up_sound();
    if (tima_enabled() && selected_bit_set(before)) {
        extra_edge(now);
    }
    serial_counter_restarting(before);
    sound_counter_restarting(before);
    timer.offset = static_cast<uint16_t>(0 - now);
    schedule_overflow();
    schedule_serial();
    schedule_sequencer();
}

// In the M-cycle after an overflow the write keeps TIMA and cancels the
// reload; in the reload's own M-cycle TMA wins.
void write_tima(uint8_t value) {
    const uint64_t now = machine_clock.now;
    count_edges(now);
    if (now == timer.reloaded_at) {
        return;
    }
    if (timer.reload_at != never) {
        timer.reload_at = never;
    }
    timer.tima = value;
    schedule_overflow();
}

void write_tma(uint8_t value) {
    count_edges(machine_clock.now);
    timer.tma = value;
    if (machine_clock.now == timer.reloaded_at) {
        timer.tima = value;
        schedule_overflow();
    }
}

// The edge detector sees the selected bit AND the enable: a write that turns
// that signal from 1 to 0 steps TIMA, switching the timer off included (on
// both models, as mooneye's rapid_toggle finds). The write reaches the
// detector before the counter's step in its M-cycle, so that step is judged
// with the new TAC; the step the write makes itself comes as the write ends.
void write_timer_control(uint8_t value) {
    const uint64_t moment = machine_clock.now - m_cycle;
    count_edges(moment);
    const uint64_t counter = system_counter_at(moment);
    const bool before = tima_enabled() && selected_bit_set(counter);
    timer.tac = value & 0x07;
    const bool after = tima_enabled() && selected_bit_set(counter);
    if (before && !after) {
        extra_edge(machine_clock.now);
    }
    schedule_overflow();
}

void timer_event(uint64_t when) {
    if (timer.reload_at != never && when >= timer.reload_at) {
        timer.tima = timer.tma;
        timer.reloaded_at = timer.reload_at;
        timer.reload_at = never;
        io_page[IF] |= interrupt_timer;
        schedule_overflow();
        return;
    }
    count_edges(when - 1);
    timer.counted_to = when;
    timer.tima = 0;
    timer.reload_at = when + m_cycle;
    schedule(event_timer, timer.reload_at);
}

void pause_timers() {
    const uint64_t now = machine_clock.now;
    count_edges(now);
    catch_up_sound();
    timer.paused = 1;
    timer.offset = static_cast<uint16_t>(0 - now);
    schedule_overflow();
    schedule_serial();
    schedule_sequencer();
}

void resume_timers() {
    const uint64_t now = machine_clock.now;
    timer.paused = 0;
    timer.counted_to = now;
    timer.offset = static_cast<uint16_t>(0 - now);
    restart_serial_count();
    schedule_overflow();
    schedule_serial();
    schedule_sequencer();
}

void settle_timer() {
    timer.tac &= 0x07;
    timer.paused = timer.paused ? 1 : 0;
    timer.counted_to = std::min(settled_moment(timer.counted_to), machine_clock.now);
    for (uint64_t* moment : {&timer.reload_at, &timer.reloaded_at}) {
        if (*moment != never) {
            *moment = settled_moment(*moment);
        }
    }
}

}  // namespace tov
