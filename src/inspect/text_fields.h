// Reading the fields of typed and stored text: blanks trimmed, hex numbers.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace tov {

constexpr std::string_view blanks = " \t\r";

std::string_view trimmed(std::string_view text);

// The first line of `text` (without its '\n'), taken off the front of it.
std::string_view next_line(std::string_view& text);

// `text` without a leading "$", "0x" or "0X".
std::string_view without_hex_prefix(std::string_view text);

// A hex number of 1 to `most` digits, the whole of `text`; no sign.
std::optional<int> hex_number(std::string_view text, std::size_t most);

}  // namespace tov
