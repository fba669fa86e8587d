// The CB-prefixed instructions: rotates, shifts and SWAP, then BIT, RES and
// SET, on the operand selected by the low three bits.
#include "classic/cpu/cpu.h"
#include "classic/timer/timer.h"
#include "cpu/alu.h"
#include "machine/cpu_state.h"

namespace tov {

void execute_cb(uint8_t opcode) {
    charge_cb_cycles(opcode);
    const int x = opcode >> 6;
    const int y = (opcode >> 3) & 7;
    const int z = opcode & 7;
    const uint8_t v = read_operand(z);
    switch (x) {
        case 0: write_operand(z, alu_shift_rotate(y, v)); break;
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
