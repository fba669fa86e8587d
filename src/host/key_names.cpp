#include "host/key_names.h"

#include "host/keyboard.h"

namespace tov {

namespace {

struct named_key {
    const char* name;
    int32_t code;
};

constexpr named_key named_keys[] = {
    {"KEY_UP", vk_up},
    {"KEY_DOWN", vk_down},
    {"KEY_LEFT", vk_left},
    {"KEY_RIGHT", vk_right},
    {"NUMPAD_0", vk_numpad0},
    {"NUMPAD_1", vk_numpad0 + 1},
    {"NUMPAD_2", vk_numpad0 + 2},
    {"NUMPAD_3", vk_numpad0 + 3},
    {"NUMPAD_4", vk_numpad0 + 4},
    {"NUMPAD_5", vk_numpad0 + 5},
    {"NUMPAD_6", vk_numpad0 + 6},
    {"NUMPAD_7", vk_numpad0 + 7},
    {"NUMPAD_8", vk_numpad0 + 8},
    {"NUMPAD_9", vk_numpad0 + 9},
    {"Backspace", vk_back},
};

}  // namespace

std::string key_name(int32_t code) {
    for (const named_key& key : named_keys) {
        if (key.code == code) {
            return key.name;
        }
    }
    const char character = static_cast<char>(code);
    return character == '\0' ? std::string() : std::string(1, character);
}

int32_t key_code_from_name(const std::string& name) {
    for (const named_key& key : named_keys) {
        if (name == key.name) {
            return key.code;
        }
    }
    if (name.empty()) {
        return 0;
    }
    const signed char first = static_cast<signed char>(name[0]);
    return first >= 'a' && first <= 'z' ? first - 'a' + 'A' : first;
}

}  // namespace tov
