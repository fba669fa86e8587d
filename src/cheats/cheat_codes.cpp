#include "cheats/cheat_codes.h"

#include <sstream>

namespace tov {

namespace {

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// Sets `digits` to the digits of `text`; fails naming the first character
// that is not one.
result digits_of(std::string_view text, std::vector<int>& digits) {
    digits.clear();
    for (const char c : text) {
        const int digit = hex_digit(c);
        if (digit < 0) {
            return failure("\"" + std::string(1, c) + "\" is not a hex digit");
        }
        digits.push_back(digit);
    }
    return {};
}

std::string hex_byte(int value) {
    static const char digits[] = "0123456789ABCDEF";
    return {digits[(value >> 4) & 15], digits[value & 15]};
}

decoded_cheat refused(std::string_view text, const std::string& why) {
    return {std::nullopt, failure("\"" + std::string(text) + "\": " + why + ".")};
}

// TTVVAAAA: type, value, address low byte, address high byte.
decoded_cheat decode_game_shark(std::string_view text) {
    if (text.size() != 8) {
        return refused(
            text, "a GameShark code has 8 hex digits, this one " + std::to_string(text.size()));
    }
    std::vector<int> digits;
    if (const result read = digits_of(text, digits); !read.ok) {
        return refused(text, read.message);
    }
    const auto byte = [&](int at) { return digits[at] << 4 | digits[at + 1]; };
    cheat_code code;
    const int type = byte(0);
    code.value = static_cast<uint8_t>(byte(2));
    code.address = static_cast<uint16_t>(byte(6) << 8 | byte(4));
    const bool in_cartridge_ram = code.address >= 0xA000 && code.address < 0xC000;
    const bool in_work_ram_bank = code.address >= 0xD000 && code.address < 0xE000;
    if (type >= 0x80 && type <= 0x8F && in_cartridge_ram) {
        code.bank = type & 0x0F;
    } else if (type >= 0x90 && type <= 0x97 && in_work_ram_bank) {
        code.bank = (type & 7) == 0 ? 1 : type & 7;
    } else if (type > 0x01) {
        return refused(text, "type " + hex_byte(type) +
                                 " is not one GameShark uses here (01 for the RAM in view, "
                                 "80-8F for a cartridge RAM bank at A000-BFFF, 90-97 for a work "
                                 "RAM bank at D000-DFFF)");
    }
    const bool writable = code.address >= 0x8000 && code.address != 0xFFFF &&
                          !(code.address >= 0xFF00 && code.address < 0xFF80);
    if (!writable) {
        return refused(text, "address " + hex_byte(code.address >> 8) +
                                 hex_byte(code.address & 0xFF) +
                                 " is not RAM (8000-FEFF or FF80-FFFE)");
    }
    return {code, {}};
}

// ABC-DEF(-GHI): AB is the value, FCDE the address with F complemented, and
// the compare byte is GI rotated right by 2, XOR BA (H is a check digit).
decoded_cheat decode_game_genie(std::string_view text) {
    std::string groups;
    std::size_t group_count = 0;
    for (std::size_t start = 0; start <= text.size(); ++group_count) {
        const std::size_t dash = std::min(text.find('-', start), text.size());
        if (dash - start != 3) {
            return refused(text,
                           "a Game Genie code is ABC-DEF or ABC-DEF-GHI, three hex "
                           "digits in each group");
        }
        groups += text.substr(start, 3);
        start = dash + 1;
    }
    if (group_count > 3) {
        return refused(text, "a Game Genie code has two or three groups");
    }
    std::vector<int> d;
    if (const result read = digits_of(groups, d); !read.ok) {
        return refused(text, read.message);
    }
    if (d[5] < 8) {
        return refused(text, "its sixth digit " + std::string(1, groups[5]) +
                                 " would place it outside the cartridge's ROM (0000-7FFF)");
    }
    cheat_code code;
    code.rom_patch = true;
    code.value = static_cast<uint8_t>(d[0] << 4 | d[1]);
    code.address = static_cast<uint16_t>((d[5] ^ 0xF) << 12 | d[2] << 8 | d[3] << 4 | d[4]);
    if (d.size() == 9) {
        const int encoded = d[6] << 4 | d[8];
        code.compare = (((encoded >> 2) | (encoded << 6)) & 0xFF) ^ 0xBA;
    }
    return {code, {}};
}

}  // namespace

int32_t hex_digit(char character) {
    if (character >= '0' && character <= '9') {
        return character - '0';
    }
    if (character >= 'a' && character <= 'f') {
        return character - 'a' + 10;
    }
    if (character >= 'A' && character <= 'F') {
        return character - 'A' + 10;
    }
    return -1;
}

decoded_cheat decode_cheat(std::string_view text) {
    const std::string_view code = trimmed(text);
    if (code.empty()) {
        return {std::nullopt,
                failure("Type a GameShark code (01VVAAAA) or a Game Genie code (ABC-DEF-GHI).")};
    }
    return code.find('-') == std::string_view::npos ? decode_game_shark(code)
                                                    : decode_game_genie(code);
}

std::string cheat_file_text(const std::vector<cheat_entry>& entries) {
    std::string text = "# TOV cheat codes: on or off, the code, its name\n";
    for (const cheat_entry& entry : entries) {
        text += (entry.enabled ? "on\t" : "off\t") + entry.code + "\t" + entry.name + "\n";
    }
    return text;
}

std::vector<cheat_entry> read_cheat_file_text(std::string_view text, std::vector<int>& skipped) {
    std::vector<cheat_entry> entries;
    std::istringstream lines{std::string(text)};
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        const std::string_view kept = trimmed(line);
        if (kept.empty() || kept.front() == '#') {
            continue;
        }
        const std::size_t first_tab = kept.find('\t');
        const std::string_view state = kept.substr(0, first_tab);
        if (first_tab == std::string_view::npos || (state != "on" && state != "off")) {
            skipped.push_back(number);
            continue;
        }
        const std::string_view rest = kept.substr(first_tab + 1);
        const std::size_t second_tab = rest.find('\t');
        cheat_entry entry;
        entry.code = std::string(trimmed(rest.substr(0, second_tab)));
        entry.name = second_tab == std::string_view::npos
                         ? std::string()
                         : std::string(trimmed(rest.substr(second_tab + 1)));
        entry.enabled = state == "on" && decode_cheat(entry.code).code.has_value();
        entries.push_back(entry);
    }
    return entries;
}

}  // namespace tov
