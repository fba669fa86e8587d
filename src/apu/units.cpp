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
    timer = timer_period(period);
}

void volume_envelope::clock() {
    if (period == 0) {
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
    }
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
