#include "memory/joypad.h"

#include <algorithm>
#include <iterator>

#include "machine/memory.h"
#include "machine/registers.h"
#include "machine/timing.h"

namespace tov {

key_mapping key_map = default_key_map;
extra_key_mapping extra_key_map = default_extra_keys;
int turbo_rate = default_turbo_rate;

namespace {

constexpr int no_turbo = -1;

struct row_bit {
    joypad_button button;
    uint8_t bit;
    int turbo;  // the extra control that presses the button in bursts, or no_turbo
};

// Each row in the order its keys are queried.
constexpr row_bit direction_row[] = {{button_down, 0x08, no_turbo},
                                     {button_up, 0x04, no_turbo},
                                     {button_left, 0x02, no_turbo},
                                     {button_right, 0x01, no_turbo}};
constexpr row_bit button_row[] = {{button_start, 0x08, no_turbo},
                                  {button_select, 0x04, no_turbo},
                                  {button_b, 0x02, control_turbo_b},
                                  {button_a, 0x01, control_turbo_a}};

constexpr uint64_t frames_per_second = 60;

// Both are queried, so each keeps its own "pressed since" mark.
bool key_or_controller(int32_t key, int32_t controller) {
    const bool key_pressed = query_key(key);
    const bool controller_pressed = query_key(controller);
    return key_pressed || controller_pressed;
}

uint64_t divide_rounding_up(uint64_t dividend, uint64_t divisor) {
    return (dividend + divisor - 1) / divisor;
}

// Turbo period p holds the frames n with n * rate / 60 (rounded down) = p,
// so any 60 frames start exactly `rate` periods of two frames or more. Each
// is down for its first frames and up for the rest, split so that the frames
// down so far are half of all frames so far, rounded down: a period of an
// odd number of frames is down a frame longer one time, shorter the next.
bool turbo_burst_down() {
    const uint64_t rate = std::clamp(turbo_rate, lowest_turbo_rate, highest_turbo_rate);
    const uint64_t period = frame_counter * rate / frames_per_second;
    const uint64_t start = divide_rounding_up(period * frames_per_second, rate);
    const uint64_t end = divide_rounding_up((period + 1) * frames_per_second, rate);
    return frame_counter < (start + 1) / 2 + end / 2;
}

// The turbo control is queried even while its burst is up, so a tap then is
// not taken for a press later.
bool turbo_presses(int turbo) {
    return turbo != no_turbo && control_held(static_cast<extra_control>(turbo)) &&
           turbo_burst_down();
}

// The bits of the row's buttons whose keys count as pressed.
uint8_t pressed_bits(const row_bit (&row)[4]) {
    uint8_t bits = 0;
    for (const row_bit& entry : row) {
        const bool held =
            key_or_controller(key_map[entry.button], vk_controller_first + entry.button);
        const bool turbo = turbo_presses(entry.turbo);
        if (held || turbo) {
            bits |= entry.bit;
        }
    }
    return bits;
}

}  // namespace

bool control_held(extra_control control) {
    if (control < 0 || control >= extra_control_count) {
        return false;
    }
    return key_or_controller(extra_key_map[control], vk_controller_turbo_a + control);
}

// Only bits 5-4 choose the rows (a clear bit selects); bits 7-6 keep what the
// program wrote. With both rows selected a line reads 0 when its key in
// either row is held; with none, the low nibble reads F and no key is queried.
void read_joypad() {
    const uint8_t selected = io_page[P1] & 0xF0;
    uint8_t pressed = 0;
    if (!(selected & 0x10)) {
        pressed |= pressed_bits(direction_row);
    }
    if (!(selected & 0x20)) {
        pressed |= pressed_bits(button_row);
    }
    io_page[P1] = static_cast<uint8_t>(selected | (~pressed & 0x0F));
}

}  // namespace tov
