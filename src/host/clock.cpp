#include "host/clock.h"

#include <chrono>

namespace tov {

namespace {
bool fake_clock;
uint32_t fake_now;
uint32_t fake_step;
}  // namespace

uint32_t clock_ms() {
    if (fake_clock) {
        const uint32_t now = fake_now;
        fake_now += fake_step;
        return now;
    }
    const auto since_epoch = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(since_epoch).count());
}

double clock_time_ms() {
    return static_cast<double>(static_cast<uint64_t>(clock_ms()));
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
