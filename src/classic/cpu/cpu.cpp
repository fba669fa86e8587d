#include "classic/cpu/cpu.h"

#include "classic/memory/memory_map.h"
#include "classic/timer/timer.h"
#include "cpu/alu.h"
#include "machine/cpu_state.h"
#include "machine/registers.h"
#include "machine/timing.h"

namespace tov {

int32_t fetch_offset() {
    advance_pc(1);
    const int32_t byte = read_byte(PC.value);
    return byte > 0x7F ? byte - 0x100 : byte;
}

int32_t fetch_word() {
    advance_pc(2);
    const int32_t low = read_byte((PC.value - 1) & 0xFFFF);
    const int32_t high = read_byte(PC.value);
    return high << 8 | low;
}

uint8_t fetch_byte() {
    advance_pc(1);
    return read_byte(PC.value);
}

void push_word(int32_t value) {
    SP.value -= 1;
    if (SP.value < 0) {
        SP.value = 0xFFFF;
    }
    write_byte(SP.value, static_cast<uint8_t>(value >> 8));
    SP.value = (SP.value - 1) & 0xFFFF;
    write_byte(SP.value, static_cast<uint8_t>(value));
}

int32_t pop_word() {
    const int32_t low = read_byte(SP.value);
    SP.value = (SP.value + 1) & 0xFFFF;
    const int32_t high = read_byte(SP.value);
    SP.value = (SP.value + 1) & 0xFFFF;
    return high << 8 | low;
}

uint8_t read_operand(int code) {
    switch (code) {
        case 0: return B;
        case 1: return C;
        case 2: return D;
        case 3: return E;
        case 4: return H;
        case 5: return L;
        case 6: return read_byte(HL.value);
        default: return A;
    }
}

void write_operand(int code, uint8_t value) {
    switch (code) {
        case 0: B = value; break;
        case 1: C = value; break;
        case 2: D = value; break;
        case 3: E = value; break;
        case 4: H = value; break;
        case 5: L = value; break;
        case 6: write_byte(HL.value, value); break;
        default: A = value; break;
    }
}

namespace {

// SP plus the signed immediate after the opcode (fetched here), for ADD SP,e
// and LD HL,SP+e; sets H and C and clears Z and N.
int32_t add_sp_offset() {
    const int32_t e = fetch_offset();
    const int32_t r = SP.value + e;
    flag_h = ((SP.value ^ r ^ e) >> 12) & 1;
    flag_c = e >= 0 ? r > 0xFFFF : r < 0;
    flag_n = 0;
    flag_z = 0;
    return r & 0xFFFF;
}

uint8_t read_hl() {
    return read_byte(HL.value);
}
void write_hl(uint8_t value) {
    write_byte(HL.value, value);
}

// HL after LD (HL+) and LD (HL-).
void step_hl(int32_t delta) {
    HL.value = (HL.value + delta) & 0xFFFF;
}

void increment(register_pair& rr) {
    rr.value = (rr.value + 1) & 0xFFFF;
}
void decrement(register_pair& rr) {
    rr.value = (rr.value - 1) & 0xFFFF;
}

// The run loop adds 1 after the instruction, so a jump stores target - 1.
void jump_to(int32_t target) {
    PC.value = (target - 1) & 0xFFFF;
}

void jump_if(bool condition) {
    if (condition) {
        jump_to(fetch_word());
    } else {
        advance_pc(2);
    }
}

void jump_relative_if(bool condition) {
    if (condition) {
        const int32_t offset = fetch_offset();
        advance_pc(offset);
    } else {
        advance_pc(1);
    }
}

// The return address is pushed first; the operand is then read from
// PC + 1 and PC + 2 without moving PC.
void call_if(bool condition) {
    if (condition) {
        push_word((PC.value + 3) & 0xFFFF);
        const int32_t low = read_byte((PC.value + 1) & 0xFFFF);
        const int32_t high = read_byte((PC.value + 2) & 0xFFFF);
        jump_to(high << 8 | low);
    } else {
        advance_pc(2);
    }
}

void return_if(bool condition) {
    if (condition) {
        jump_to(pop_word());
    }
}

void restart(int32_t vector) {
    push_word((PC.value + 1) & 0xFFFF);
    jump_to(vector);
}

void push_af() {
    F = packed_flags();
    push_word(AF.value);
}

void pop_af() {
    AF.value = pop_word();
    unpack_flags();
}

// With interrupts disabled the CPU does not stop: the run loop repeats the
// next instruction instead.
void halt() {
    if (ime == 1) {
        halted = 1;
    } else {
        halt_repeat = 1;
    }
}

// On a colour cartridge with a speed switch requested, STOP toggles the
// double-speed mode. It never halts the CPU.
void stop() {
    if (colour_mode == 1 && (io_page[KEY1] & 0x01)) {
        if (speed_shift == 1) {
            speed_shift = 0;
            io_page[KEY1] &= 0x7F;
        } else {
            speed_shift = 1;
            io_page[KEY1] |= 0x80;
        }
    }
    stop_flag = 1;
}

// No delay: the next step's dispatch already sees IME set. Executed as the
// repeat after a HALT with IME clear, it halts the CPU after all.
void enable_interrupts() {
    ime = 1;
    if (halt_repeat == 1) {
        halted = 1;
        halt_repeat = 0;
    }
}

void return_from_interrupt() {
    jump_to(pop_word());
    enable_interrupts();
}

}  // namespace

void execute_opcode(uint8_t opcode) {
    if (opcode != 0xCB) {
        charge_cycles(opcode);
    }
    switch (opcode) {
        case 0x00: break;  // NOP
        case 0x01: BC.value = fetch_word(); break;
        case 0x02: write_byte(BC.value, A); break;
        case 0x03: increment(BC); break;
        case 0x04: B = alu_inc(B); break;
        case 0x05: B = alu_dec(B); break;
        case 0x06: B = fetch_byte(); break;
        case 0x07: alu_rlca(); break;
        case 0x08: {
            const int32_t address = fetch_word();
            write_byte(address, SP.low);
            write_byte(address + 1, SP.high);
            break;
        }
        case 0x09: add_hl(BC.value); break;
        case 0x0A: A = read_byte(BC.value); break;
        case 0x0B: decrement(BC); break;
        case 0x0C: C = alu_inc(C); break;
        case 0x0D: C = alu_dec(C); break;
        case 0x0E: C = fetch_byte(); break;
        case 0x0F: alu_rrca(); break;

        case 0x10: stop(); break;
        case 0x11: DE.value = fetch_word(); break;
        case 0x12: write_byte(DE.value, A); break;
        case 0x13: increment(DE); break;
        case 0x14: D = alu_inc(D); break;
        case 0x15: D = alu_dec(D); break;
        case 0x16: D = fetch_byte(); break;
        case 0x17: alu_rla(); break;
        case 0x18: jump_relative_if(true); break;
        case 0x19: add_hl(DE.value); break;
        case 0x1A: A = read_byte(DE.value); break;
        case 0x1B: decrement(DE); break;
        case 0x1C: E = alu_inc(E); break;
        case 0x1D: E = alu_dec(E); break;
        case 0x1E: E = fetch_byte(); break;
        case 0x1F: alu_rra(); break;

        case 0x20: jump_relative_if(flag_z == 0); break;
        case 0x21: HL.value = fetch_word(); break;
        case 0x22:
            write_hl(A);
            step_hl(1);
            break;
        case 0x23: increment(HL); break;
        case 0x24: H = alu_inc(H); break;
        case 0x25: H = alu_dec(H); break;
        case 0x26: H = fetch_byte(); break;
        case 0x27: alu_daa(); break;
        case 0x28: jump_relative_if(flag_z == 1); break;
        case 0x29: add_hl(HL.value); break;
        case 0x2A:
            A = read_hl();
            step_hl(1);
            break;
        case 0x2B: decrement(HL); break;
        case 0x2C: L = alu_inc(L); break;
        case 0x2D: L = alu_dec(L); break;
        case 0x2E: L = fetch_byte(); break;
        case 0x2F: alu_cpl(); break;

        case 0x30: jump_relative_if(flag_c == 0); break;
        case 0x31: SP.value = fetch_word(); break;
        case 0x32:
            write_hl(A);
            step_hl(-1);
            break;
        case 0x33: increment(SP); break;
        case 0x34: write_hl(alu_inc(read_hl())); break;
        case 0x35: write_hl(alu_dec(read_hl())); break;
        case 0x36: write_hl(fetch_byte()); break;
        case 0x37: alu_scf(); break;
        case 0x38: jump_relative_if(flag_c == 1); break;
        case 0x39: add_hl(SP.value); break;
        case 0x3A:
            A = read_hl();
            step_hl(-1);
            break;
        case 0x3B: decrement(SP); break;
        case 0x3C: A = alu_inc(A); break;
        case 0x3D: A = alu_dec(A); break;
        case 0x3E: A = fetch_byte(); break;
        case 0x3F: alu_ccf(); break;

        case 0x40: break;  // LD B,B
        case 0x41: B = C; break;
        case 0x42: B = D; break;
        case 0x43: B = E; break;
        case 0x44: B = H; break;
        case 0x45: B = L; break;
        case 0x46: B = read_hl(); break;
        case 0x47: B = A; break;
        case 0x48: C = B; break;
        case 0x49: break;  // LD C,C
        case 0x4A: C = D; break;
        case 0x4B: C = E; break;
        case 0x4C: C = H; break;
        case 0x4D: C = L; break;
        case 0x4E: C = read_hl(); break;
        case 0x4F: C = A; break;

        case 0x50: D = B; break;
        case 0x51: D = C; break;
        case 0x52: break;  // LD D,D
        case 0x53: D = E; break;
        case 0x54: D = H; break;
        case 0x55: D = L; break;
        case 0x56: D = read_hl(); break;
        case 0x57: D = A; break;
        case 0x58: E = B; break;
        case 0x59: E = C; break;
        case 0x5A: E = D; break;
        case 0x5B: break;  // LD E,E
        case 0x5C: E = H; break;
        case 0x5D: E = L; break;
        case 0x5E: E = read_hl(); break;
        case 0x5F: E = A; break;

        case 0x60: H = B; break;
        case 0x61: H = C; break;
        case 0x62: H = D; break;
        case 0x63: H = E; break;
        case 0x64: break;  // LD H,H
        case 0x65: H = L; break;
        case 0x66: H = read_hl(); break;
        case 0x67: H = A; break;
        case 0x68: L = B; break;
        case 0x69: L = C; break;
        case 0x6A: L = D; break;
        case 0x6B: L = E; break;
        case 0x6C: L = H; break;
        case 0x6D: break;  // LD L,L
        case 0x6E: L = read_hl(); break;
        case 0x6F: L = A; break;

        case 0x70: write_hl(B); break;
        case 0x71: write_hl(C); break;
        case 0x72: write_hl(D); break;
        case 0x73: write_hl(E); break;
        case 0x74: write_hl(H); break;
        case 0x75: write_hl(L); break;
        case 0x76: halt(); break;
        case 0x77: write_hl(A); break;
        case 0x78: A = B; break;
        case 0x79: A = C; break;
        case 0x7A: A = D; break;
        case 0x7B: A = E; break;
        case 0x7C: A = H; break;
        case 0x7D: A = L; break;
        case 0x7E: A = read_hl(); break;
        case 0x7F: break;  // LD A,A

        case 0x80: alu_add(B); break;
        case 0x81: alu_add(C); break;
        case 0x82: alu_add(D); break;
        case 0x83: alu_add(E); break;
        case 0x84: alu_add(H); break;
        case 0x85: alu_add(L); break;
        case 0x86: alu_add(read_hl()); break;
        case 0x87: alu_add(A); break;
        case 0x88: alu_adc(B); break;
        case 0x89: alu_adc(C); break;
        case 0x8A: alu_adc(D); break;
        case 0x8B: alu_adc(E); break;
        case 0x8C: alu_adc(H); break;
        case 0x8D: alu_adc(L); break;
        case 0x8E: alu_adc(read_hl()); break;
        case 0x8F: alu_adc(A); break;

        case 0x90: alu_sub(B); break;
        case 0x91: alu_sub(C); break;
        case 0x92: alu_sub(D); break;
        case 0x93: alu_sub(E); break;
        case 0x94: alu_sub(H); break;
        case 0x95: alu_sub(L); break;
        case 0x96: alu_sub(read_hl()); break;
        case 0x97: alu_sub(A); break;
        case 0x98: alu_sbc(B); break;
        case 0x99: alu_sbc(C); break;
        case 0x9A: alu_sbc(D); break;
        case 0x9B: alu_sbc(E); break;
        case 0x9C: alu_sbc(H); break;
        case 0x9D: alu_sbc(L); break;
        case 0x9E: alu_sbc(read_hl()); break;
        case 0x9F: alu_sbc(A); break;

        case 0xA0: alu_and(B); break;
        case 0xA1: alu_and(C); break;
        case 0xA2: alu_and(D); break;
        case 0xA3: alu_and(E); break;
        case 0xA4: alu_and(H); break;
        case 0xA5: alu_and(L); break;
        case 0xA6: alu_and(read_hl()); break;
        case 0xA7: alu_and(A); break;
        case 0xA8: alu_xor(B); break;
        case 0xA9: alu_xor(C); break;
        case 0xAA: alu_xor(D); break;
        case 0xAB: alu_xor(E); break;
        case 0xAC: alu_xor(H); break;
        case 0xAD: alu_xor(L); break;
        case 0xAE: alu_xor(read_hl()); break;
        case 0xAF: alu_xor(A); break;

        case 0xB0: alu_or(B); break;
        case 0xB1: alu_or(C); break;
        case 0xB2: alu_or(D); break;
        case 0xB3: alu_or(E); break;
        case 0xB4: alu_or(H); break;
        case 0xB5: alu_or(L); break;
        case 0xB6: alu_or(read_hl()); break;
        case 0xB7: alu_or(A); break;
        case 0xB8: alu_cp(B); break;
        case 0xB9: alu_cp(C); break;
        case 0xBA: alu_cp(D); break;
        case 0xBB: alu_cp(E); break;
        case 0xBC: alu_cp(H); break;
        case 0xBD: alu_cp(L); break;
        case 0xBE: alu_cp(read_hl()); break;
        case 0xBF: alu_cp(A); break;

        case 0xC0: return_if(flag_z == 0); break;
        case 0xC1: BC.value = pop_word(); break;
        case 0xC2: jump_if(flag_z == 0); break;
        case 0xC3: jump_if(true); break;
        case 0xC4: call_if(flag_z == 0); break;
        case 0xC5: push_word(BC.value); break;
        case 0xC6: alu_add(fetch_byte()); break;
        case 0xC7: restart(0x00); break;
        case 0xC8: return_if(flag_z == 1); break;
        case 0xC9: return_if(true); break;
        case 0xCA: jump_if(flag_z == 1); break;
        case 0xCB: execute_cb(fetch_byte()); break;
        case 0xCC: call_if(flag_z == 1); break;
        case 0xCD: call_if(true); break;
        case 0xCE: alu_adc(fetch_byte()); break;
        case 0xCF: restart(0x08); break;

        case 0xD0: return_if(flag_c == 0); break;
        case 0xD1: DE.value = pop_word(); break;
        case 0xD2: jump_if(flag_c == 0); break;
        case 0xD4: call_if(flag_c == 0); break;
        case 0xD5: push_word(DE.value); break;
        case 0xD6: alu_sub(fetch_byte()); break;
        case 0xD7: restart(0x10); break;
        case 0xD8: return_if(flag_c == 1); break;
        case 0xD9: return_from_interrupt(); break;
        case 0xDA: jump_if(flag_c == 1); break;
        case 0xDC: call_if(flag_c == 1); break;
        case 0xDE: alu_sbc(fetch_byte()); break;
        case 0xDF: restart(0x18); break;

        case 0xE0: write_byte(0xFF00 + fetch_byte(), A); break;
        case 0xE1: HL.value = pop_word(); break;
        case 0xE2: write_byte(0xFF00 + C, A); break;
        case 0xE5: push_word(HL.value); break;
        case 0xE6: alu_and(fetch_byte()); break;
        case 0xE7: restart(0x20); break;
        case 0xE8: SP.value = add_sp_offset(); break;
        case 0xE9: jump_to(HL.value); break;
        case 0xEA: write_byte(fetch_word(), A); break;
        case 0xEE: alu_xor(fetch_byte()); break;
        case 0xEF: restart(0x28); break;

        case 0xF0: A = read_byte(0xFF00 + fetch_byte()); break;
        case 0xF1: pop_af(); break;
        case 0xF2: A = read_byte(0xFF00 + C); break;
        case 0xF3: ime = 0; break;
        case 0xF5: push_af(); break;
        case 0xF6: alu_or(fetch_byte()); break;
        case 0xF7: restart(0x30); break;
        case 0xF8: HL.value = add_sp_offset(); break;
        case 0xF9: SP.value = HL.value; break;
        case 0xFA: A = read_byte(fetch_word()); break;
        case 0xFB: enable_interrupts(); break;
        case 0xFE: alu_cp(fetch_byte()); break;
        case 0xFF: restart(0x38); break;

        // D3 DB DD E3 E4 EB EC ED F4 FC FD: undefined, one-byte no-operations.
        default: break;
    }
}

}  // namespace tov
