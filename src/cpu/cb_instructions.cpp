// The CB-prefixed instructions: rotates, shifts and SWAP, then BIT, RES and
// SET, on the operand selected by the low three bits.
#include "cpu/alu.h"
#include "cpu/cpu.h"
#include "machine/cpu_state.h"
#include "timer/timer.h"

namespace tov {

namespace {

// Rotate, shift or swap y of v; sets all four flags and returns the result.
uint8_t shift_rotate(int y, int32_t v) {
    int32_t r = 0;
    int32_t carry = 0;
    switch (y) {
        case 0:  // RLC
            r = (v << 1 | v >> 7) & 0xFF;
            carry = v >> 7;
            break;
        case 1:  // RRC
            r = (v & 1) << 7 | v >> 1;
            carry = v & 1;
            break;
        case 2:  // RL
            r = (v << 1 | flag_c) & 0xFF;
            carry = v >> 7;
            break;
        case 3:  // RR
            r = flag_c << 7 | v >> 1;
            carry = v & 1;
            break;
        case 4:  // SLA
            r = (v << 1) & 0xFF;
            carry = v >> 7;
            break;
        case 5:  // SRA
            r = (v & 0x80) | v >> 1;
            carry = v & 1;
            break;
        case 6:  // SWAP
            r = swap_table[v];
            carry = 0;
            break;
        default:  // SRL
            r = v >> 1;
            carry = v & 1;
            break;
    }
    flag_c = carry;
    flag_z = zero_table[r];
    flag_n = 0;
    flag_h = 0;
    return static_cast<uint8_t>(r);
}

}  // namespace

void execute_cb(uint8_t opcode) {
    charge_cb_cycles(opcode);
    const int x = opcode >> 6;
    const int y = (opcode >> 3) & 7;
    const int z = opcode & 7;
    const uint8_t v = read_operand(z);
    switch (x) {
        case 0: write_operand(z, shift_rotate(y, v)); break;
        case 1:  // BIT: nothing is written back
            flag_z = ((v >> y) & 1) == 0;
            flag_n = 0;
            flag_h = 1;
            break;
        case 2:  // RES
            write_operand(z, static_cast<uint8_t>(v & ~(1 << y)));
            break;
        default:  // SET
            write_operand(z, static_cast<uint8_t>(v | 1 << y));
            break;
    }
}

}  // namespace tov
