#include "host/keyboard.h"

#include <algorithm>
#include <iterator>

namespace tov {

namespace {
constexpr int32_t key_count = vk_controller_rewind + 1;
bool held[key_count];
bool pressed_since_query[key_count];

bool valid(int32_t code) {
    return code >= 0 && code < key_count;
}
}  // namespace

void key_down(int32_t code) {
    if (!valid(code)) {
        return;
    }
    held[code] = true;
    pressed_since_query[code] = true;
}

void key_up(int32_t code) {
    if (valid(code)) {
        held[code] = false;
    }
}

void release_all_keys() {
    std::fill(std::begin(held), std::end(held), false);
    std::fill(std::begin(pressed_since_query), std::end(pressed_since_query), false);
}

bool query_key(int32_t code) {
    if (!valid(code)) {
        return false;
    }
    const bool pressed = held[code] || pressed_since_query[code];
    pressed_since_query[code] = false;
    return pressed;
}

}  // namespace tov
