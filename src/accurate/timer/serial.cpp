#include "accurate/timer/serial.h"

#include <algorithm>

#include "accurate/clock/clock.h"
#include "accurate/timer/timer.h"
#include "machine/memory.h"
#include "machine/registers.h"

namespace tov {

serial_state serial;
std::function<void(uint8_t)> serial_listener;

namespace {

// The port's clock sees the counter's step one M-cycle before DIV and TIMA
// show it (as mooneye's boot_sclk_align finds).
constexpr uint64_t clock_lead = 4;

uint64_t port_counter_at(uint64_t moment) {
    return system_counter_at(moment) + clock_lead;
}

int clock_bit() {
    return (serial.sc & 0x02) ? 3 : 8;
}

uint64_t bit_period() {
    return uint64_t{2} << clock_bit();
}

bool internal_transfer() {
    return serial.bits_left > 0;
}

// Shifts in a 1 for each edge in (counted_to, moment], at most the bits left.
void shift_to(uint64_t moment) {
    if (moment <= serial.counted_to) {
        return;
    }
    if (internal_transfer() && !timer.paused) {
        const uint64_t period = bit_period();
        const uint64_t edges =
            port_counter_at(moment) / period - port_counter_at(serial.counted_to) / period;
        const int bits = static_cast<int>(std::min<uint64_t>(edges, serial.bits_left));
        for (int bit = 0; bit < bits; ++bit) {
            serial.sb = static_cast<uint8_t>(serial.sb << 1 | 1);
        }
        serial.bits_left = static_cast<uint8_t>(serial.bits_left - bits);
    }
    serial.counted_to = moment;
}

void finish_transfer() {
    serial.sc &= 0x7F;
    io_page[IF] |= interrupt_serial;
    schedule(event_serial, never);
}

void shift_one() {
    serial.sb = static_cast<uint8_t>(serial.sb << 1 | 1);
    if (--serial.bits_left == 0) {
        finish_transfer();
    }
}

}  // namespace

void reset_serial(uint8_t sc) {
    serial = {};
    serial.sc = sc;
    serial.counted_to = machine_clock.now;
    schedule(event_serial, never);
}

uint8_t read_sb() {
    shift_to(machine_clock.now);
    return serial.sb;
}

// The unused bits read 1; the colour model has the clock speed in bit 1.
uint8_t read_sc(bool colour) {
    return colour ? (serial.sc | 0x7C) : (serial.sc | 0x7E);
}

void write_sb(uint8_t value) {
    shift_to(machine_clock.now);
    serial.sb = value;
}

void write_sc(uint8_t value, bool colour) {
    shift_to(machine_clock.now);
    serial.sc = colour ? (value & 0x83) : (value & 0x81);
    serial.bits_left = (value & 0x81) == 0x81 ? 8 : 0;
    if (serial.bits_left > 0 && serial_listener) {
        serial_listener(serial.sb);
    }
    schedule_serial();
}

void serial_event(uint64_t when) {
    shift_to(when - 1);
    serial.counted_to = when;
    if (internal_transfer()) {
        shift_one();
    }
    schedule_serial();
}

void serial_counter_restarting(uint64_t before) {
    shift_to(machine_clock.now);
    if (internal_transfer() && (((before + clock_lead) >> clock_bit()) & 1)) {
        shift_one();
    }
}

void restart_serial_count() {
    serial.counted_to = machine_clock.now;
}

// The edge that shifts the last bit.
void schedule_serial() {
    if (!internal_transfer() || timer.paused) {
        schedule(event_serial, never);
        return;
    }
    const uint64_t period = bit_period();
    const uint64_t edge = (port_counter_at(serial.counted_to) / period + serial.bits_left) * period;
    schedule(event_serial, edge - timer.offset - clock_lead);
}

void settle_serial() {
    serial.bits_left = std::min<uint8_t>(serial.bits_left, 8);
    serial.counted_to = std::min(settled_moment(serial.counted_to), machine_clock.now);
}

}  // namespace tov
