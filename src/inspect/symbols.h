// Symbol files: the labels of a program as its assembler lists them beside
// the cartridge, one "BANK:ADDRESS NAME" per line in hex (RGBDS writes two
// bank digits, no$gmb four), with ';' starting a comment.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tov {

struct symbol {
    int bank;
    uint16_t address;
    std::string name;
};

struct symbol_file {
    std::vector<symbol> symbols;
    std::vector<int> skipped_lines;  // numbered from 1: neither a symbol nor a comment
};

symbol_file read_symbols(std::string_view text);

// The symbol named `name` (the first when several are), if any.
std::optional<symbol> find_symbol(const symbol_file& file, std::string_view name);

}  // namespace tov
