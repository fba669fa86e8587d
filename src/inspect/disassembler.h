// The CPU's instructions as text, for the debugger's listings: one
// instruction from its bytes, with the names of a program's labels in place
// of the addresses they stand for.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tov {

struct instruction {
    std::string text;                // such as "LD A,(HL+)", "JR NZ,$0156", "CALL wait_vblank"
    int length = 1;                  // 1 to 3 bytes; CB xx and STOP are 2
    std::optional<uint16_t> target;  // where a JP, JR, CALL or RST with a fixed address goes
};

// The instruction at `address`. byte_at gives the byte at an address, or a
// value outside 0-255 for one that cannot be read (shown as "??"); label_of
// gives an address's name or "", and may be empty.
instruction disassemble(uint16_t address, const std::function<int(uint16_t)>& byte_at,
                        const std::function<std::string(uint16_t)>& label_of);

// The bytes an instruction takes, its opcode's included: 1 for an invalid opcode.
int instruction_length(uint8_t opcode);

// The eleven opcodes the CPU has no instruction for: D3 DB DD E3 E4 EB EC ED F4 FC FD.
bool is_invalid_opcode(uint8_t opcode);

}  // namespace tov
