// MBC3's clock: seconds, minutes, hours and a 9-bit day counter with its
// carry and halt bits, counting the console's time while the game runs and
// the wall clock's while it is closed; the game reads a copy latched by
// writing 00 then 01 to 6000-7FFF.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tov {

// The registers 08-0C in order: seconds, minutes, hours, the day counter's
// low byte, and its bit 8 with the halt (bit 6) and carry (bit 7) bits.
struct clock_counters {
    uint8_t seconds = 0, minutes = 0, hours = 0, days_low = 0, days_high = 0;
};

struct real_time_clock {
    clock_counters live;
    clock_counters latched;
    uint8_t latch_armed = 0;   // the last write to 6000-7FFF was 00
    uint32_t into_second = 0;  // clock cycles counted into the current second
    uint64_t counted_to = 0;   // the machine's clock when last caught up
};
extern real_time_clock rtc;

// The clock runs on its own crystal: a second is this many cycles of the
// machine's single-speed clock, whatever speed the CPU runs at.
constexpr uint32_t cycles_per_second = 4194304;

void reset_real_time_clock();
void settle_real_time_clock();

// Counts the machine's time since the clock was last caught up.
void catch_up_real_time_clock();

// Register 08-0C: reading gives the latched copy, writing sets the live one.
uint8_t read_clock_register(uint8_t which);
void write_clock_register(uint8_t which, uint8_t value);

// A write to 6000-7FFF: 00 then 01 latches the live registers.
void write_clock_latch(uint8_t value);

// Moves the live registers on by `seconds` (the time the game was closed).
void advance_clock(uint64_t seconds);

// The block that battery files end with: live and latched registers as
// 32-bit little-endian words, then the 64-bit UNIX time of the save. Files
// whose time is a 32-bit word (44 bytes) are read too.
constexpr std::size_t clock_block_size = 48;
constexpr std::size_t short_clock_block_size = 44;
std::string clock_block(int64_t unix_time);

// Takes a block up and moves the clock on to `unix_now`; false when `block`
// has neither size.
bool adopt_clock_block(std::string_view block, int64_t unix_now);

}  // namespace tov
