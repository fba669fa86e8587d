#include "cartridge/real_time_clock.h"

#include "accurate/clock/clock.h"

namespace tov {

real_time_clock rtc;

namespace {

constexpr uint8_t day_high_bit = 0x01;
constexpr uint8_t halt_bit = 0x40;
constexpr uint8_t carry_bit = 0x80;
constexpr int32_t days_counted = 512;

bool halted() {
    return (rtc.live.days_high & halt_bit) != 0;
}

int32_t days(const clock_counters& counters) {
    return (counters.days_high & day_high_bit) << 8 | counters.days_low;
}

void set_days(clock_counters& counters, uint64_t count) {
    if (count >= days_counted) {
        counters.days_high |= carry_bit;
    }
    count %= days_counted;
    counters.days_low = static_cast<uint8_t>(count);
    counters.days_high = static_cast<uint8_t>((counters.days_high & ~day_high_bit) | count >> 8);
}

// The registers keep only their own bits.
clock_counters masked(const clock_counters& counters) {
    return {static_cast<uint8_t>(counters.seconds & 0x3F),
            static_cast<uint8_t>(counters.minutes & 0x3F),
            static_cast<uint8_t>(counters.hours & 0x1F), counters.days_low,
            static_cast<uint8_t>(counters.days_high & (carry_bit | halt_bit | day_high_bit))};
}

// One second on. A counter that a game set beyond its range counts on to
// the end of its bits and wraps to 0 without a carry, as the console's do.
void tick_second() {
    clock_counters& live = rtc.live;
    live.seconds = (live.seconds + 1) & 0x3F;
    if (live.seconds != 60) {
        return;
    }
    live.seconds = 0;
    live.minutes = (live.minutes + 1) & 0x3F;
    if (live.minutes != 60) {
        return;
    }
    live.minutes = 0;
    live.hours = (live.hours + 1) & 0x1F;
    if (live.hours != 24) {
        return;
    }
    live.hours = 0;
    set_days(live, days(live) + 1);
}

bool in_range(const clock_counters& counters) {
    return counters.seconds < 60 && counters.minutes < 60 && counters.hours < 24;
}

void put_word(std::string& block, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        block.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
    }
}

uint64_t word_at(std::string_view block, std::size_t position, int bytes) {
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        value |= uint64_t{static_cast<uint8_t>(block[position + i])} << (8 * i);
    }
    return value;
}

void put_counters(std::string& block, const clock_counters& counters) {
    for (const uint8_t value : {counters.seconds, counters.minutes, counters.hours,
                                counters.days_low, counters.days_high}) {
        put_word(block, value, 4);
    }
}

clock_counters counters_at(std::string_view block, std::size_t position) {
    const auto byte = [&](int index) {
        return static_cast<uint8_t>(word_at(block, position + 4 * index, 4));
    };
    return masked({byte(0), byte(1), byte(2), byte(3), byte(4)});
}

}  // namespace

void reset_real_time_clock() {
    rtc = {};
    rtc.counted_to = machine_clock.now;
}

void settle_real_time_clock() {
    rtc.live = masked(rtc.live);
    rtc.latched = masked(rtc.latched);
    rtc.latch_armed = rtc.latch_armed ? 1 : 0;
    rtc.into_second %= cycles_per_second;
    if (rtc.counted_to > machine_clock.now) {
        rtc.counted_to = machine_clock.now;
    }
}

void catch_up_real_time_clock() {
    const uint64_t now = machine_clock.now;
    // A machine powered on again starts its clock afresh: count from there.
    const uint64_t since = now > rtc.counted_to ? now - rtc.counted_to : 0;
    const uint64_t elapsed = since >> machine_clock.double_speed;
    rtc.counted_to = now;
    if (halted()) {
        return;
    }
    const uint64_t counted = rtc.into_second + elapsed;
    rtc.into_second = static_cast<uint32_t>(counted % cycles_per_second);
    advance_clock(counted / cycles_per_second);
}

void advance_clock(uint64_t seconds) {
    if (halted()) {
        return;
    }
    for (; seconds > 0 && !in_range(rtc.live); --seconds) {
        tick_second();
    }
    clock_counters& live = rtc.live;
    uint64_t total = live.seconds + 60 * (live.minutes + uint64_t{60} * live.hours) + seconds;
    live.seconds = static_cast<uint8_t>(total % 60);
    total /= 60;
    live.minutes = static_cast<uint8_t>(total % 60);
    total /= 60;
    live.hours = static_cast<uint8_t>(total % 24);
    const uint64_t more_days = total / 24;
    if (more_days > 0) {
        set_days(live, days(live) + more_days);
    }
}

uint8_t read_clock_register(uint8_t which) {
    const clock_counters& latched = rtc.latched;
    switch (which) {
        case 0x08: return latched.seconds;
        case 0x09: return latched.minutes;
        case 0x0A: return latched.hours;
        case 0x0B: return latched.days_low;
        case 0x0C: return latched.days_high;
        default: return 0xFF;
    }
}

void write_clock_register(uint8_t which, uint8_t value) {
    catch_up_real_time_clock();
    clock_counters& live = rtc.live;
    switch (which) {
        case 0x08:
            live.seconds = value;
            rtc.into_second = 0;  // writing the seconds starts a new second
            break;
        case 0x09: live.minutes = value; break;
        case 0x0A: live.hours = value; break;
        case 0x0B: live.days_low = value; break;
        case 0x0C: live.days_high = value; break;
        default: break;
    }
    live = masked(live);
}

void write_clock_latch(uint8_t value) {
    if (rtc.latch_armed && value == 0x01) {
        catch_up_real_time_clock();
        rtc.latched = rtc.live;
    }
    rtc.latch_armed = value == 0x00 ? 1 : 0;
}

std::string clock_block(int64_t unix_time) {
    catch_up_real_time_clock();
    std::string block;
    put_counters(block, rtc.live);
    put_counters(block, rtc.latched);
    put_word(block, static_cast<uint64_t>(unix_time), 8);
    return block;
}

bool adopt_clock_block(std::string_view block, int64_t unix_now) {
    if (block.size() != clock_block_size && block.size() != short_clock_block_size) {
        return false;
    }
    rtc.live = counters_at(block, 0);
    rtc.latched = counters_at(block, 20);
    rtc.into_second = 0;
    rtc.counted_to = machine_clock.now;
    const int64_t saved =
        static_cast<int64_t>(word_at(block, 40, static_cast<int>(block.size() - 40)));
    if (unix_now > saved) {
        advance_clock(static_cast<uint64_t>(unix_now - saved));
    }
    return true;
}

}  // namespace tov
