#include "inspect/text_fields.h"

#include <charconv>

namespace tov {

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string_view next_line(std::string_view& text) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    return line;
}

std::string_view without_hex_prefix(std::string_view text) {
    if (text.starts_with('$')) {
        return text.substr(1);
    }
    if (text.starts_with("0x") || text.starts_with("0X")) {
        return text.substr(2);
    }
    return text;
}

std::optional<int> hex_number(std::string_view text, std::size_t most) {
    unsigned value = 0;  // unsigned: a sign is no digit
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, 16);
    if (text.empty() || text.size() > most || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

}  // namespace tov
