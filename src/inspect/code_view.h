// The developer window's disassembly: lines of code from an address, with
// the program's labels, and the way back to the lines before.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "inspect/symbols.h"

namespace tov {

// Labels by bank and address. An address outside the switched areas
// (4000-7FFF, 8000-9FFF, A000-BFFF, D000-DFFF) matches a label of any bank.
class symbol_index {
public:
    symbol_index() = default;
    explicit symbol_index(const symbol_file& file);

    std::string name_at(int bank, uint16_t address) const;

private:
    std::map<uint32_t, std::string> names_;  // by bank << 16 | address
    std::map<uint16_t, std::string> any_bank_;
};

struct code_source {
    std::function<int(uint16_t)> byte_at;           // the bytes of the bank shown
    std::function<std::string(uint16_t)> label_of;  // "" when unnamed
};

struct code_line {
    uint16_t address;
    std::string label;  // the label at the address, or ""
    std::string bytes;  // "CD 50 01"
    std::string text;   // "CALL wait_vblank"
    std::optional<uint16_t> target;
};

// `count` instructions from `first` on (wrapping at FFFF).
std::vector<code_line> code_lines(uint16_t first, int count, const code_source& source);

// Where the code `lines` instructions before `address` starts: each step
// back takes the instruction that ends exactly there, decoding from a little
// before, or one byte when none does.
uint16_t code_before(uint16_t address, int lines, const code_source& source);

}  // namespace tov
