// The accurate machine's serial port. With the internal clock a transfer
// shifts one bit out of SB on each falling edge of the system counter's bit
// 8 (bit 3 with the colour model's fast clock), so its edges keep the phase
// of the counter, not of the write that started it. With no link a 1 comes
// in for every bit: after eight bits SB reads FF, SC's start bit clears and
// the serial interrupt is requested. An external clock never comes.
#pragma once

#include <cstdint>
#include <functional>

namespace tov {

struct serial_state {
    uint8_t sb = 0;
    uint8_t sc = 0;
    uint8_t bits_left = 0;    // 0: no transfer with the internal clock runs
    uint64_t counted_to = 0;  // the bits shifted up to this moment are in sb
};
extern serial_state serial;

// Each byte a transfer sends, as it starts (tests read test cartridges'
// reports this way); empty: none.
extern std::function<void(uint8_t)> serial_listener;

void reset_serial(uint8_t sc);

uint8_t read_sb();
uint8_t read_sc(bool colour);
void write_sb(uint8_t value);
void write_sc(uint8_t value, bool colour);

// The transfer's last bit.
void serial_event(uint64_t when);

// The system counter is about to restart from `before` (a DIV write): the
// falling edge that gives the port when its bit was set.
void serial_counter_restarting(uint64_t before);
void restart_serial_count();
void schedule_serial();

void settle_serial();

}  // namespace tov
