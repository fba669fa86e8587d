#include "inspect/memory_access.h"

#include <gtest/gtest.h>

namespace tov {

void PrintTo(const memory_access& access, std::ostream* out) {
    *out << (access.write ? "write $" : "read $") << std::hex << access.address;
}

namespace {

constexpr bool r = false;
constexpr bool w = true;

TEST(MemoryAccess, PredictsTheDataAnInstructionReadsAndWrites) {
    // BC=$1234 DE=$5678 HL=$C000 SP=$DFF0; F holds Z or C, or neither.
    const register_values flags_zc = {0x0190, 0x1234, 0x5678, 0xC000, 0xDFF0};
    const register_values no_flags = {0x0100, 0x1234, 0x5678, 0xC000, 0xDFF0};
    const register_values low_stack = {0x0100, 0x1234, 0x5678, 0xC000, 0x0001};
    const struct {
        std::vector<int> bytes;
        const register_values& registers;
        std::vector<memory_access> accesses;
    } rows[] = {
        {{0x77}, no_flags, {{0xC000, w}}},                           // LD (HL),A
        {{0x2A}, no_flags, {{0xC000, r}}},                           // LD A,(HL+)
        {{0x32}, no_flags, {{0xC000, w}}},                           // LD (HL-),A
        {{0x0A}, no_flags, {{0x1234, r}}},                           // LD A,(BC)
        {{0x12}, no_flags, {{0x5678, w}}},                           // LD (DE),A
        {{0x36, 0x99}, no_flags, {{0xC000, w}}},                     // LD (HL),$99
        {{0x46}, no_flags, {{0xC000, r}}},                           // LD B,(HL)
        {{0xEA, 0x00, 0xD0}, no_flags, {{0xD000, w}}},               // LD ($D000),A
        {{0xFA, 0x00, 0xD0}, no_flags, {{0xD000, r}}},               // LD A,($D000)
        {{0xFA, 0x00, -1}, no_flags, {}},                            // LD A,(??)
        {{0xE0, 0x44}, no_flags, {{0xFF44, w}}},                     // LDH ($FF44),A
        {{0xF0, 0x44}, no_flags, {{0xFF44, r}}},                     // LDH A,($FF44)
        {{0xE2}, no_flags, {{0xFF34, w}}},                           // LD ($FF00+C),A
        {{0xF2}, no_flags, {{0xFF34, r}}},                           // LD A,($FF00+C)
        {{0x08, 0xFF, 0xFF}, no_flags, {{0xFFFF, w}, {0x0000, w}}},  // LD ($FFFF),SP
        {{0x34}, no_flags, {{0xC000, r}, {0xC000, w}}},              // INC (HL)
        {{0x35}, no_flags, {{0xC000, r}, {0xC000, w}}},              // DEC (HL)
        {{0xCB, 0x46}, no_flags, {{0xC000, r}}},                     // BIT 0,(HL)
        {{0xCB, 0xDE}, no_flags, {{0xC000, r}, {0xC000, w}}},        // SET 3,(HL)
        {{0xCB, 0x36}, no_flags, {{0xC000, r}, {0xC000, w}}},        // SWAP (HL)
        {{0xCB, 0x7C}, no_flags, {}},                                // BIT 7,H
        {{0xC5}, no_flags, {{0xDFEF, w}, {0xDFEE, w}}},              // PUSH BC
        {{0xF5}, low_stack, {{0x0000, w}, {0xFFFF, w}}},             // PUSH AF
        {{0xCD, 0x00, 0x20}, no_flags, {{0xDFEF, w}, {0xDFEE, w}}},  // CALL $2000
        {{0xDC, 0x00, 0x20}, flags_zc, {{0xDFEF, w}, {0xDFEE, w}}},  // CALL C,$2000 taken
        {{0xDC, 0x00, 0x20}, no_flags, {}},                          // CALL C,$2000 not taken
        {{0xC4, 0x00, 0x20}, no_flags, {{0xDFEF, w}, {0xDFEE, w}}},  // CALL NZ,$2000 taken
        {{0xC0}, no_flags, {{0xDFF0, r}, {0xDFF1, r}}},              // RET NZ taken
        {{0xC0}, flags_zc, {}},                                      // RET NZ not taken
        {{0xD0}, no_flags, {{0xDFF0, r}, {0xDFF1, r}}},              // RET NC taken
        {{0xC8}, flags_zc, {{0xDFF0, r}, {0xDFF1, r}}},              // RET Z taken
        {{0xCC, 0x00, 0x20}, no_flags, {}},                          // CALL Z,$2000 not taken
        {{0xC9}, flags_zc, {{0xDFF0, r}, {0xDFF1, r}}},              // RET
        {{0xD9}, flags_zc, {{0xDFF0, r}, {0xDFF1, r}}},              // RETI
        {{0xE1}, no_flags, {{0xDFF0, r}, {0xDFF1, r}}},              // POP HL
        {{0xFF}, low_stack, {{0x0000, w}, {0xFFFF, w}}},             // RST $38
        {{0x86}, no_flags, {{0xC000, r}}},                           // ADD A,(HL)
        {{0x80}, no_flags, {}},                                      // ADD A,B
        {{0xE9}, no_flags, {}},                                      // JP (HL)
        {{0xF9}, no_flags, {}},                                      // LD SP,HL
        {{0x76}, no_flags, {}},                                      // HALT
        {{0x31, 0x00, 0xD0}, no_flags, {}},                          // LD SP,$D000
        {{-1}, no_flags, {}},                                        // unreadable
    };
    for (const auto& row : rows) {
        const auto byte_at = [&](uint16_t address) {
            const uint16_t index = address - 0x4000;
            return index < row.bytes.size() ? row.bytes[index] : -1;
        };
        EXPECT_EQ(instruction_accesses(0x4000, byte_at, row.registers), row.accesses)
            << std::hex << row.bytes[0];
    }
}

}  // namespace
}  // namespace tov
