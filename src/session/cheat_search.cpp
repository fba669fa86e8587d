#include "session/cheat_search.h"

#include <cstdio>

#include "cheats/cheat_codes.h"
#include "core/machine_interface.h"

namespace tov {

int32_t candidates[search_size];
int32_t candidate_count;

namespace {

bool in_search(int32_t recorded) {
    return recorded >= eliminated_mark + 1;
}

bool keeps(search_mode mode, int32_t now, int32_t recorded, int32_t typed_value) {
    switch (mode) {
        case search_mode::unchanged: return now == recorded;
        case search_mode::increased: return now > recorded;
        case search_mode::decreased: return now < recorded;
        case search_mode::changed: return now != recorded;
        case search_mode::equals_value: return recorded == typed_value;
    }
    return false;
}

std::optional<int32_t> parse_hex(std::string_view text) {
    int32_t value = 0;
    for (const char character : text) {
        const int32_t digit = hex_digit(character);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 16 + digit;
    }
    return value;
}

}  // namespace

void start_search() {
    for (int32_t i = 0; i < search_size; ++i) {
        candidates[i] = machine().peek(search_first + i);
    }
    candidate_count = search_size;
}

void narrow_search(search_mode mode, int32_t typed_value) {
    for (int32_t i = 0; i < search_size; ++i) {
        if (!in_search(candidates[i])) {
            continue;
        }
        const int32_t now = machine().peek(search_first + i);
        if (keeps(mode, now, candidates[i], typed_value)) {
            candidates[i] = now;
        } else {
            candidates[i] = eliminated_mark;
            --candidate_count;
        }
    }
}

std::vector<std::string> candidate_lines() {
    std::vector<std::string> lines;
    for (int32_t i = 0; i < search_size; ++i) {
        if (in_search(candidates[i])) {
            char text[16];
            std::snprintf(text, sizeof text, "%X on %X", static_cast<unsigned>(candidates[i]),
                          static_cast<unsigned>(search_first + i));
            lines.emplace_back(text);
        }
    }
    return lines;
}

std::optional<int32_t> parse_hex4(std::string_view text) {
    return text.size() == 4 ? parse_hex(text) : std::nullopt;
}

std::optional<int32_t> parse_hex2(std::string_view text) {
    return text.size() == 1 || text.size() == 2 ? parse_hex(text) : std::nullopt;
}

}  // namespace tov
