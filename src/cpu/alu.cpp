#include "cpu/alu.h"

#include "machine/cpu_state.h"

namespace tov {

void alu_add(int32_t v) {
    const int32_t a = A;
    const int32_t r = a + v;
    A = static_cast<uint8_t>(r);
    flag_z = zero_table[A];
    flag_n = 0;
    flag_h = (a & 0xF) + (v & 0xF) > 0xF;
    flag_c = r > 0xFF;
}

void alu_adc(int32_t v) {
    const int32_t a = A;
    const int32_t c = flag_c;
    const int32_t r = a + v + c;
    A = static_cast<uint8_t>(r);
    flag_z = zero_table[A];
    flag_n = 0;
    flag_h = (a & 0xF) + (v & 0xF) + c > 0xF;
    flag_c = r > 0xFF;
}

void alu_sub(int32_t v) {
    const int32_t a = A;
    const int32_t r = a - v;
    A = static_cast<uint8_t>(r);
    flag_z = zero_table[A];
    flag_n = 1;
    flag_h = (a & 0xF) < (v & 0xF);
    flag_c = r < 0;
}

// The half-carry is the borrow out of the low nibble, carry in included.
void alu_sbc(int32_t v) {
    const int32_t a = A;
    const int32_t c = flag_c;
    const int32_t r = a - c - v;
    A = static_cast<uint8_t>(r);
    flag_z = zero_table[A];
    flag_n = 1;
    flag_h = (a & 0xF) - (v & 0xF) - c < 0;
    flag_c = r < 0;
}

void alu_and(int32_t v) {
    A = static_cast<uint8_t>(A & v);
    flag_z = zero_table[A];
    flag_n = 0;
    flag_h = 1;
    flag_c = 0;
}

void alu_xor(int32_t v) {
    A = static_cast<uint8_t>(A ^ v);
    flag_z = zero_table[A];
    flag_n = 0;
    flag_h = 0;
    flag_c = 0;
}

void alu_or(int32_t v) {
    A = static_cast<uint8_t>(A | v);
    flag_z = zero_table[A];
    flag_n = 0;
    flag_h = 0;
    flag_c = 0;
}

void alu_cp(int32_t v) {
    const int32_t a = A;
    flag_z = a == v;
    flag_n = 1;
    flag_h = (a & 0xF) < (v & 0xF);
    flag_c = a < v;
}

uint8_t alu_inc(int32_t v) {
    const uint8_t r = static_cast<uint8_t>(v + 1);
    flag_z = zero_table[r];
    flag_n = 0;
    flag_h = (v & 0xF) == 0xF;
    return r;
}

uint8_t alu_dec(int32_t v) {
    const uint8_t r = static_cast<uint8_t>(v - 1);
    flag_z = zero_table[r];
    flag_n = 1;
    flag_h = (v & 0xF) == 0;
    return r;
}

void add_hl(int32_t rr) {
    const int32_t r = HL.value + rr;
    flag_h = (HL.value & 0xFFF) + (rr & 0xFFF) > 0xFFF;
    flag_c = r > 0xFFFF;
    flag_n = 0;
    HL.value = r & 0xFFFF;
}

// Both corrections work on the updated value; C is only ever set here.
void alu_daa() {
    int32_t t = A;
    if (flag_n == 0) {
        if ((t & 0xF) >= 0xA || flag_h) {
            t += 0x06;
        }
        if ((t & 0xF0) >= 0xA0 || flag_c) {
            t += 0x60;
            flag_c = 1;
        }
    } else {
        if ((t & 0xF) >= 0xA || flag_h) {
            t -= 0x06;
        }
        if ((t & 0xF0) >= 0xA0 || flag_c) {
            t -= 0x60;
            flag_c = 1;
        }
    }
    A = static_cast<uint8_t>(t);
    flag_h = 0;
    flag_z = zero_table[A];
}

void alu_cpl() {
    A ^= 0xFF;
    flag_h = 1;
    flag_n = 1;
}

void alu_scf() {
    flag_c = 1;
    flag_h = 0;
    flag_n = 0;
}

void alu_ccf() {
    flag_c = 1 - flag_c;
    flag_h = 0;
    flag_n = 0;
}

namespace {
void clear_znh() {
    flag_z = 0;
    flag_n = 0;
    flag_h = 0;
}
}  // namespace

void alu_rlca() {
    flag_c = A >> 7;
    A = static_cast<uint8_t>(A << 1 | A >> 7);
    clear_znh();
}

void alu_rrca() {
    flag_c = A & 1;
    A = static_cast<uint8_t>((A & 1) << 7 | A >> 1);
    clear_znh();
}

void alu_rla() {
    const int32_t r = A << 1 | flag_c;
    flag_c = r > 0xFF;
    A = static_cast<uint8_t>(r);
    clear_znh();
}

void alu_rra() {
    const int32_t r = A >> 1 | flag_c << 7;
    flag_c = A & 1;
    A = static_cast<uint8_t>(r);
    clear_znh();
}

uint8_t alu_shift_rotate(int y, int32_t v) {
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

}  // namespace tov
