#include "inspect/memory_access.h"

#include <optional>

namespace tov {

namespace {

using access_list = std::vector<memory_access>;

bool is_byte(int value) {
    return value >= 0 && value <= 0xFF;
}

// Whether the condition of a conditional CALL, RET or JP (NZ, Z, NC, C by
// bits 4-3 of its opcode) holds by F's flags.
bool condition_holds(uint8_t opcode, uint16_t af) {
    const bool zero = af & 0x80;
    const bool carry = af & 0x10;
    switch ((opcode >> 3) & 3) {
        case 0: return !zero;
        case 1: return zero;
        case 2: return !carry;
        default: return carry;
    }
}

struct hl_use {
    bool read;
    bool write;
};

// How an unprefixed opcode uses its (HL) operand.
hl_use hl_use_of(uint8_t opcode) {
    const int y = (opcode >> 3) & 7;
    const int z = opcode & 7;
    switch (opcode >> 6) {
        case 0: return {y == 6 && (z == 4 || z == 5), y == 6 && z >= 4 && z <= 6};  // INC, DEC, LD
        case 1: return {z == 6 && y != 6, y == 6 && z != 6};  // LD r,r but HALT
        case 2: return {z == 6, false};                       // the ALU reads
        default: return {false, false};
    }
}

// A CB opcode's (HL) operand: BIT only reads it, the others write it back.
hl_use prefixed_hl_use(int opcode) {
    const bool through_hl = is_byte(opcode) && (opcode & 7) == 6;
    return {through_hl, through_hl && (opcode >> 6) != 1};
}

access_list hl_accesses(hl_use use, uint16_t hl) {
    access_list list;
    if (use.read) {
        list.push_back({hl, false});
    }
    if (use.write) {
        list.push_back({hl, true});
    }
    return list;
}

enum class stack_use { none, push, pop };

// PUSH, CALL and RST write below SP; POP, RET and RETI read from SP. A
// conditional CALL or RET touches the stack only when it is taken.
stack_use stack_use_of(uint8_t opcode, uint16_t af) {
    if (opcode >> 6 != 3) {
        return stack_use::none;
    }
    const int y = (opcode >> 3) & 7;
    const bool taken = y < 4 && condition_holds(opcode, af);
    switch (opcode & 7) {
        case 0: return taken ? stack_use::pop : stack_use::none;
        case 1: return (y & 1) == 0 || y < 4 ? stack_use::pop : stack_use::none;  // POP, RET, RETI
        case 4: return taken ? stack_use::push : stack_use::none;
        case 5: return (y & 1) == 0 || y == 1 ? stack_use::push : stack_use::none;  // PUSH, CALL
        case 7: return stack_use::push;
        default: return stack_use::none;
    }
}

// A push writes the high byte first, at SP-1; SP wraps at 16 bits.
access_list stack_accesses(stack_use use, uint16_t sp) {
    if (use == stack_use::push) {
        return {{static_cast<uint16_t>(sp - 1), true}, {static_cast<uint16_t>(sp - 2), true}};
    }
    return {{sp, false}, {static_cast<uint16_t>(sp + 1), false}};
}

// LD (BC),A, LD A,(DE), LD (HL+),A and the like: bits 5-4 pick the pair,
// bit 3 clear stores.
access_list pair_access(uint8_t opcode, const register_values& r) {
    const uint16_t pairs[4] = {r.bc, r.de, r.hl, r.hl};
    return {{pairs[(opcode >> 4) & 3], (opcode & 0x08) == 0}};
}

// The address that LD (a16),SP, LD (a16),A, LDH and LD ($FF00+C) name by
// their bytes or by C; nothing for other opcodes or an unreadable operand.
std::optional<uint16_t> named_address(uint8_t opcode, uint16_t pc,
                                      const std::function<int(uint16_t)>& byte_at, uint8_t c) {
    if (opcode == 0xE2 || opcode == 0xF2) {
        return static_cast<uint16_t>(0xFF00 + c);
    }
    if (opcode != 0x08 && opcode != 0xE0 && opcode != 0xF0 && opcode != 0xEA && opcode != 0xFA) {
        return std::nullopt;
    }
    const int low = byte_at(static_cast<uint16_t>(pc + 1));
    const int high = (opcode & 0x0F) == 0 ? 0xFF : byte_at(static_cast<uint16_t>(pc + 2));
    if (!is_byte(low) || !is_byte(high)) {
        return std::nullopt;
    }
    return static_cast<uint16_t>(high << 8 | low);
}

// LD (a16),SP stores SP's two bytes; of the others, bit 4 clear stores A.
access_list named_accesses(uint8_t opcode, uint16_t address) {
    if (opcode == 0x08) {
        return {{address, true}, {static_cast<uint16_t>(address + 1), true}};
    }
    return {{address, (opcode & 0x10) == 0}};
}

}  // namespace

std::vector<memory_access> instruction_accesses(uint16_t pc,
                                                const std::function<int(uint16_t)>& byte_at,
                                                const register_values& r) {
    const int opcode = byte_at(pc);
    if (!is_byte(opcode)) {
        return {};
    }
    if (opcode == 0xCB) {
        return hl_accesses(prefixed_hl_use(byte_at(static_cast<uint16_t>(pc + 1))), r.hl);
    }
    if (const stack_use use = stack_use_of(opcode, r.af); use != stack_use::none) {
        return stack_accesses(use, r.sp);
    }
    if ((opcode & 0xC7) == 0x02) {
        return pair_access(opcode, r);
    }
    if (const std::optional<uint16_t> address = named_address(opcode, pc, byte_at, r.bc & 0xFF)) {
        return named_accesses(opcode, *address);
    }
    return hl_accesses(hl_use_of(opcode), r.hl);
}

}  // namespace tov
