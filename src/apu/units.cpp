#include "apu/units.h"

namespace tov {

bool length_counter::clock() {
    if (!enabled || left == 0) {
        return false;
    }
    --left;
    return left == 0;
}

void volume_envelope::start(uint8_t nrx2) {
    volume = nrx2 >> 4;
    up = (nrx2 & 0x08) != 0;
    period = nrx2 & 0x07;
    stopped = 0;
    timer = timer_period(period);
}

void volume_envelope::clock() {
    if (period == 0 || stopped) {
        return;
    }
    if (--timer > 0) {
        return;
    }
    timer = timer_period(period);
    if (up && volume < 15) {
        ++volume;
    } else if (!up && volume > 0) {
        --volume;
    } else {
        stopped = 1;
    }
}

void volume_envelope::rewrite(uint8_t nrx2) {
    const uint8_t turns_up = (nrx2 & 0x08) != 0;
    if (period == 0 && !stopped) {
        volume += 1;
    } else if (!up) {
        volume += 2;
    }
    if (turns_up != up) {
        volume = 16 - volume;
    }
    volume &= 15;
    up = turns_up;
    period = nrx2 & 0x07;
}

int32_t frequency_sweep::next(uint8_t nr10) {
    const int32_t delta = shadow >> (nr10 & 0x07);
    if (nr10 & 0x08) {
        subtracted = true;
        return shadow - delta;
    }
    return shadow + delta;
}

int32_t timer_period(int32_t period) {
    return period == 0 ? 8 : period;
}

}  // namespace tov
