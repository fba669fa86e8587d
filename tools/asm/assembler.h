// A small assembler for the console's CPU, used to build the project's own
// test cartridges and the demo cartridge from readable source.
//
// Source, one statement a line, ';' starts a comment:
//   label:               a global label; '.name:' is local to the last global
//   name equ expr        a constant ('name = expr' works too)
//   org expr             continue at this address (also the file offset)
//   db expr, "text", ... bytes;  dw expr, ...  little-endian words
//   ds count [, fill]    count bytes of fill (default 0)
//   ld a, (hl+)          instructions in the usual syntax; [ ] may stand for ( )
// Numbers: 12, $0C, 0x0C, %1100, 'c'. Expressions use + - * / % & | ^ << >> ~
// and parentheses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tov::assembler {

struct assembly {
    std::vector<uint8_t> image;       // the cartridge bytes, padded
    std::vector<std::string> errors;  // "line N: ..." for every problem found
    std::map<std::string, int32_t> symbols;

    bool ok() const { return errors.empty(); }
};

// Assembles `source` into an image of at least `minimum_size` bytes (the
// size grows to whole 16 KiB banks as the code needs).
assembly assemble(std::string_view source, std::size_t minimum_size = 0x8000);

}  // namespace tov::assembler
