#include "host/clock.h"

#include <chrono>
#include <cmath>

namespace tov {

namespace {

bool fake_clock;
uint32_t fake_now;
uint32_t fake_step;

constexpr double counter_range_ms = 4294967296.0;

}  // namespace

double clock_time_ms() {
    if (fake_clock) {
        const uint32_t now = fake_now;
        fake_now += fake_step;
        return static_cast<double>(now);
    }
    const auto since_epoch = std::chrono::steady_clock::now().time_since_epoch();
    const auto microseconds =
        std::chrono::duration_cast<std::chrono::microseconds>(since_epoch).count();
    return std::fmod(static_cast<double>(microseconds) / 1000.0, counter_range_ms);
}

void use_fake_clock(uint32_t start_ms, uint32_t step_ms) {
    fake_clock = true;
    fake_now = start_ms;
    fake_step = step_ms;
}

void set_fake_clock(uint32_t ms) {
    fake_now = ms;
}

void use_real_clock() {
    fake_clock = false;
}

}  // namespace tov
