#include "accurate/clock/clock.h"

#include <algorithm>
#include <iterator>

namespace tov {

clock_state machine_clock;

namespace {

constexpr uint64_t second = 1 << 23;  // more than a second's cycles in double speed

void find_next() {
    machine_clock.next =
        *std::min_element(std::begin(machine_clock.due), std::end(machine_clock.due));
}

}  // namespace

void schedule(clock_event event, uint64_t when) {
    machine_clock.due[event] = when;
    find_next();
}

void reset_clock() {
    machine_clock = {};
    machine_clock.now = power_on_moment;
    std::fill(std::begin(machine_clock.due), std::end(machine_clock.due), never);
}

void set_double_speed(bool on) {
    uint64_t& picture = machine_clock.due[event_lcd];
    if (picture != never && picture > machine_clock.now) {
        const uint64_t dots = (picture - machine_clock.now) >> machine_clock.double_speed;
        picture = machine_clock.now + (dots << (on ? 1 : 0));
    }
    machine_clock.double_speed = on ? 1 : 0;
    find_next();
}

uint64_t settled_moment(uint64_t moment) {
    const uint64_t now = machine_clock.now;
    const uint64_t earliest = now > second ? now - second : 0;
    return std::clamp(moment, earliest, now + second);
}

void settle_clock() {
    machine_clock.double_speed = machine_clock.double_speed ? 1 : 0;
    machine_clock.cpu_free_at = settled_moment(machine_clock.cpu_free_at);
    for (uint64_t& moment : machine_clock.due) {
        if (moment != never) {
            moment = settled_moment(moment);
        }
    }
    // The picture always has a next moment: its frames are the machine's
    // heartbeat, on or off.
    if (machine_clock.due[event_lcd] == never) {
        machine_clock.due[event_lcd] = machine_clock.now;
    }
    find_next();
}

}  // namespace tov
