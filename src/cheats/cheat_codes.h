// Cheat codes as the cheat devices print them, and the list of them kept per
// cartridge. A GameShark code (TTVVAAAA, 8 hex digits) writes VV to RAM at
// AAAA (low byte first) every frame, in the RAM bank its type TT names; a
// Game Genie code (ABC-DEF, or ABC-DEF-GHI with a compare byte) replaces a
// byte of the cartridge's ROM, where the ROM holds the compare byte when
// there is one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/result.h"

namespace tov {

struct cheat_code {
    bool rom_patch = false;  // a Game Genie code
    uint16_t address = 0;
    uint8_t value = 0;
    int32_t compare = -1;  // the ROM byte it replaces, or -1: any
    int32_t bank = -1;     // GameShark: work RAM bank 1-7 or cartridge RAM bank 0-15, -1: in view
};

struct decoded_cheat {
    std::optional<cheat_code> code;
    result outcome;  // when there is no code: what is wrong, naming the bad part
};

// The value of a hex digit (0-9, a-f, A-F), or -1 for any other character.
int32_t hex_digit(char character);

// Decodes one code as the devices do; spaces around it are ignored and hex
// digits may be in either case.
decoded_cheat decode_cheat(std::string_view text);

// An entry of the list: the code as typed, its name and whether it is on.
struct cheat_entry {
    std::string code;
    std::string name;
    bool enabled = true;
};

// The list's file: one entry a line, "on" or "off", a tab, the code, a tab
// and the name; lines starting with # are comments.
std::string cheat_file_text(const std::vector<cheat_entry>& entries);

// The entries of a file's text. A line that is not an entry is skipped and
// named in `skipped` (by its line number); a code that does not decode is
// kept, switched off, so that rewriting the file loses nothing.
std::vector<cheat_entry> read_cheat_file_text(std::string_view text, std::vector<int>& skipped);

}  // namespace tov
