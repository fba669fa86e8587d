// The names of the host keys that the key-mapping dialog offers, and the
// codes of the names typed or chosen there.
#pragma once

#include <cstdint>
#include <string>

namespace tov {

// The name the key-mapping dialog shows for a code ("KEY_UP", "NUMPAD_5", "Q").
std::string key_name(int32_t code);

// The code for a name typed or chosen in the dialog; other texts give the code
// of their first character in upper case, an empty text gives 0.
int32_t key_code_from_name(const std::string& name);

}  // namespace tov
