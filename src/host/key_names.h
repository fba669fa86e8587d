// The names of the host keys that the key-mapping dialog offers, and the
// codes of the names typed or chosen there.
#pragma once

#include <cstdint>
#include <string>

namespace tov {

// The key's name as the key-mapping files of earlier versions kept it
// ("KEY_UP", "NUMPAD_5", "Q"); any other code gives its character.
std::string key_name(int32_t code);

// The code for a name of key_name; other texts give the code of their first
// character in upper case, an empty text gives 0.
int32_t key_code_from_name(const std::string& name);

// The key as its keyboard labels it, which the key-mapping dialog shows
// ("Up", "Num 5", "Backspace", "Q"); a code of no such key shows as key_name
// gives it.
std::string key_label(int32_t code);

// The code for a label in any case ("up" is Up) or a name of key_name;
// other texts as key_code_from_name.
int32_t key_code_from_label(const std::string& text);

}  // namespace tov
