#include "host/key_names.h"

#include <algorithm>
#include <cctype>

#include "host/keyboard.h"

namespace tov {

namespace {

// The keys with more than a character for a name: the name earlier
// versions kept and the label on the keyboard.
struct named_key {
    int32_t code;
    const char* name;
    const char* label;
};

constexpr named_key named_keys[] = {
    {vk_up, "KEY_UP", "Up"},
    {vk_down, "KEY_DOWN", "Down"},
    {vk_left, "KEY_LEFT", "Left"},
    {vk_right, "KEY_RIGHT", "Right"},
    {vk_numpad0, "NUMPAD_0", "Num 0"},
    {vk_numpad0 + 1, "NUMPAD_1", "Num 1"},
    {vk_numpad0 + 2, "NUMPAD_2", "Num 2"},
    {vk_numpad0 + 3, "NUMPAD_3", "Num 3"},
    {vk_numpad0 + 4, "NUMPAD_4", "Num 4"},
    {vk_numpad0 + 5, "NUMPAD_5", "Num 5"},
    {vk_numpad0 + 6, "NUMPAD_6", "Num 6"},
    {vk_numpad0 + 7, "NUMPAD_7", "Num 7"},
    {vk_numpad0 + 8, "NUMPAD_8", "Num 8"},
    {vk_numpad0 + 9, "NUMPAD_9", "Num 9"},
    {vk_back, "Backspace", "Backspace"},
};

const named_key* key_of_code(int32_t code) {
    const auto found = std::find_if(std::begin(named_keys), std::end(named_keys),
                                    [code](const named_key& key) { return key.code == code; });
    return found == std::end(named_keys) ? nullptr : found;
}

bool same_ignoring_case(const std::string& text, const std::string& label) {
    return std::equal(text.begin(), text.end(), label.begin(), label.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

}  // namespace

std::string key_name(int32_t code) {
    if (const named_key* key = key_of_code(code)) {
        return key->name;
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

std::string key_label(int32_t code) {
    const named_key* key = key_of_code(code);
    return key ? key->label : key_name(code);
}

int32_t key_code_from_label(const std::string& text) {
    for (const named_key& key : named_keys) {
        if (same_ignoring_case(text, key.label)) {
            return key.code;
        }
    }
    return key_code_from_name(text);
}

}  // namespace tov
