// The cheat search: every byte from 8000 to FFFE is recorded, then each step
// keeps the addresses whose memory compares with the recorded value as the
// chosen mode asks, until the address of a game value (lives, energy) is
// found. The search peeks at the machine's memory, so it sees what the game
// wrote and not the frozen values. A found address then goes to the freeze
// list, which is part of the cheat facility and is included here for its
// users.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "memory/freeze_list.h"

namespace tov {

constexpr int32_t search_first = 0x8000;
constexpr int32_t search_last = 0xFFFE;  // FFFF is not searched
constexpr int32_t search_size = search_last - search_first + 1;

// Marks an address that left the search; any element >= -9 is still in it.
constexpr int32_t eliminated_mark = -10;

// The value recorded for address a at element a - search_first, or the mark.
extern int32_t candidates[search_size];

// Addresses still in the search; 0 before the first search starts.
extern int32_t candidate_count;

enum class search_mode {
    unchanged,     // "=="
    increased,     // ">"
    decreased,     // "<"
    changed,       // "!="
    equals_value,  // "= Value": the recorded value equals the typed one
};

// "New Cheat": records every address and puts them all in the search.
void start_search();

// One narrowing step. Kept addresses record their current value; the others
// leave the search. `typed_value` is used by search_mode::equals_value, which
// compares the value recorded at the previous step, not the memory.
void narrow_search(search_mode mode, int32_t typed_value);

// "%X on %X" (recorded value, address) for every address still in the
// search, in address order.
std::vector<std::string> candidate_lines();

// Exactly four hex digits (0-9, a-f, A-F) as a 16-bit value; anything else,
// a shorter text included, gives no value.
std::optional<int32_t> parse_hex4(std::string_view text);

// One or two hex digits as an 8-bit value, one digit c read as 0c; anything
// else gives no value.
std::optional<int32_t> parse_hex2(std::string_view text);

}  // namespace tov
