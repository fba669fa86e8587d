// Formatting of the numbers the debugger pages show.
#pragma once

#include <cstdio>
#include <string>

namespace tov {

// One number in a printf format such as "%d" or "%.2X".
inline std::string formatted(const char* format, int value) {
    char text[24];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// `value` in hex with at least `digits` digits, upper case.
inline std::string hex_text(int value, int digits) {
    char text[24];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

}  // namespace tov
