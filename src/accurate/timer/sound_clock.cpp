#include "accurate/timer/sound_clock.h"

#include <algorithm>

#include "accurate/clock/clock.h"
#include "accurate/timer/timer.h"
#include "apu/apu.h"

namespace tov {

sound_clock_state sound_clock;

namespace {

int sequencer_bit() {
    return 12 + machine_clock.double_speed;
}

}  // namespace

void reset_sound_clock() {
    sound_clock.counted_to = machine_clock.now;
    schedule_sequencer();
}

void catch_up_sound() {
    const uint64_t now = machine_clock.now;
    if (now <= sound_clock.counted_to) {
        return;
    }
    const uint64_t dots = (now - sound_clock.counted_to) >> machine_clock.double_speed;
    sound_clock.counted_to += dots << machine_clock.double_speed;
    apu_advance(static_cast<int32_t>(dots));
}

void sequencer_event(uint64_t) {
    catch_up_sound();
    apu_clock_sequencer();
    schedule_sequencer();
}

void sound_counter_restarting(uint64_t before) {
    if ((before >> sequencer_bit()) & 1) {
        apu_clock_sequencer();
    }
}

void schedule_sequencer() {
    if (timer.paused) {
        schedule(event_sequencer, never);
        return;
    }
    const uint64_t period = uint64_t{2} << sequencer_bit();
    const uint64_t edge = (system_counter_at(machine_clock.now) / period + 1) * period;
    schedule(event_sequencer, edge - timer.offset);
}

void settle_sound_clock() {
    sound_clock.counted_to = std::min(settled_moment(sound_clock.counted_to), machine_clock.now);
}

}  // namespace tov
