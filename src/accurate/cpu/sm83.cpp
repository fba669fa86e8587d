#include "accurate/cpu/sm83.h"

#include <algorithm>

#include "accurate/bus/bus.h"
#include "accurate/bus/events.h"
#include "accurate/bus/oam_bug.h"
#include "accurate/dma/vram_dma.h"
#include "accurate/timer/sound_clock.h"
#include "accurate/timer/timer.h"
#include "accurate/video/lcd.h"
#include "cartridge/real_time_clock.h"
#include "cpu/alu.h"
#include "machine/cpu_state.h"
#include "machine/memory.h"
#include "machine/registers.h"

namespace tov {

sm83_state sm83;

namespace {

// After a STOP that switches the speed the CPU sleeps while the divider,
// restarted at 0, counts this many cycles at the new speed.
constexpr uint64_t speed_switch_sleep = uint64_t{1} << 17;

// The CPU looks at the interrupt requests this many cycles into an M-cycle of
// HALT, and into the M-cycle that fetches an opcode.
constexpr uint64_t halted_look = 2;
constexpr uint64_t fetch_look = 3;

register_pair* const word_registers[4] = {&BC, &DE, &HL, &SP};
register_pair* const stack_registers[4] = {&BC, &DE, &HL, &AF};

// The M-cycles of an instruction: a read, a write, or one with no access.
// An address of FE00-FEFF on the bus may spoil OAM on the monochrome model.
uint8_t read(int32_t address) {
    tick();
    address &= 0xFFFF;
    if (in_oam_page(address)) {
        oam_bug(oam_access::read);
    }
    return bus_read(address);
}

void write(int32_t address, uint8_t value) {
    tick();
    address &= 0xFFFF;
    if (in_oam_page(address)) {
        oam_bug(oam_access::write);
    }
    bus_write(address, value);
}

void idle() {
    tick();
}

// A read whose address the 16-bit increment unit moves on in the same
// M-cycle; the caller moves it.
uint8_t read_stepping(int32_t address) {
    tick();
    if (in_oam_page(address)) {
        oam_bug(oam_access::read_and_step);
    }
    return bus_read(address);
}

// An M-cycle with no access in which the increment unit moves `address` on.
void idle_stepping(int32_t address) {
    tick();
    if (in_oam_page(address)) {
        oam_bug(oam_access::write);
    }
}

uint8_t fetch() {
    const uint8_t value = read_stepping(PC.value);
    PC.value = (PC.value + 1) & 0xFFFF;
    return value;
}

int32_t fetch_word() {
    const int32_t low = fetch();
    return fetch() << 8 | low;
}

int32_t fetch_offset() {
    return static_cast<int8_t>(fetch());
}

// Register code 0-7 but 6: B, C, D, E, H, L, -, A.
uint8_t& byte_register(int code) {
    switch (code) {
        case 0: return B;
        case 1: return C;
        case 2: return D;
        case 3: return E;
        case 4: return H;
        case 5: return L;
        default: return A;
    }
}

// Operand code 0-7: the registers, and 6 for (HL).
uint8_t operand(int code) {
    return code == 6 ? read(HL.value) : byte_register(code);
}

void set_operand(int code, uint8_t value) {
    if (code == 6) {
        write(HL.value, value);
    } else {
        byte_register(code) = value;
    }
}

// Condition code 0-3: NZ, Z, NC, C.
bool condition(int code) {
    switch (code) {
        case 0: return flag_z == 0;
        case 1: return flag_z == 1;
        case 2: return flag_c == 0;
        default: return flag_c == 1;
    }
}

void step_pair(register_pair& pair, int32_t delta) {
    idle_stepping(pair.value);
    pair.value = (pair.value + delta) & 0xFFFF;
}

// A push spends an M-cycle before its writes, as SP moves down.
void push(int32_t value) {
    idle_stepping(SP.value);
    SP.value = (SP.value - 1) & 0xFFFF;
    write(SP.value, static_cast<uint8_t>(value >> 8));
    SP.value = (SP.value - 1) & 0xFFFF;
    write(SP.value, static_cast<uint8_t>(value));
}

// Only the first read's step of SP reaches the bus.
int32_t pop() {
    const int32_t low = read_stepping(SP.value);
    SP.value = (SP.value + 1) & 0xFFFF;
    const int32_t high = read(SP.value);
    SP.value = (SP.value + 1) & 0xFFFF;
    return high << 8 | low;
}

void arithmetic(int operation, uint8_t value) {
    switch (operation) {
        case 0: alu_add(value); break;
        case 1: alu_adc(value); break;
        case 2: alu_sub(value); break;
        case 3: alu_sbc(value); break;
        case 4: alu_and(value); break;
        case 5: alu_xor(value); break;
        case 6: alu_or(value); break;
        default: alu_cp(value); break;
    }
}

// The console's DAA: the corrections follow from A, H and C as they were.
void decimal_adjust() {
    int32_t a = A;
    if (flag_n == 0) {
        if (flag_c || a > 0x99) {
            a += 0x60;
            flag_c = 1;
        }
        if (flag_h || (a & 0x0F) > 0x09) {
            a += 0x06;
        }
    } else {
        if (flag_c) {
            a -= 0x60;
        }
        if (flag_h) {
            a -= 0x06;
        }
    }
    A = static_cast<uint8_t>(a);
    flag_z = zero_table[A];
    flag_h = 0;
}

// SP + e for ADD SP,e and LD HL,SP+e: H and C come from the low byte's sum.
int32_t sp_plus(int32_t offset) {
    const int32_t sp = SP.value;
    flag_z = 0;
    flag_n = 0;
    flag_h = (sp & 0x0F) + (offset & 0x0F) > 0x0F;
    flag_c = (sp & 0xFF) + (offset & 0xFF) > 0xFF;
    return (sp + offset) & 0xFFFF;
}

uint8_t pending_interrupts() {
    return io_page[IE] & io_page[IF] & 0x1F;
}

// A jump to itself (how programs wait for an interrupt) does nothing but
// pass time until a unit acts: the passes that end before the next moment
// of any unit are skipped at once. The loop must not read the I/O page.
void skip_idle_loop(int32_t start, uint64_t loop_cycles) {
    const uint64_t next = machine_clock.next;
    if (PC.value != start || start >= 0xFF00 - 3 || next == never || sm83.ime_next ||
        (ime && pending_interrupts())) {
        return;
    }
    const uint64_t now = machine_clock.now;
    if (next > now) {
        machine_clock.now += (next - now - 1) / loop_cycles * loop_cycles;
    }
}

void jump_relative(bool taken) {
    const int32_t start = (PC.value - 1) & 0xFFFF;
    const int32_t offset = fetch_offset();
    if (taken) {
        idle();
        PC.value = (PC.value + offset) & 0xFFFF;
        skip_idle_loop(start, 12);
    }
}

void jump_absolute(bool taken) {
    const int32_t start = (PC.value - 1) & 0xFFFF;
    const int32_t target = fetch_word();
    if (taken) {
        idle();
        PC.value = target;
        skip_idle_loop(start, 16);
    }
}

void call(bool taken) {
    const int32_t target = fetch_word();
    if (taken) {
        push(PC.value);
        PC.value = target;
    }
}

void return_to_caller() {
    PC.value = pop();
    idle();
}

// HALT with an interrupt already pending does not halt; with IME clear the
// next fetch then fails to move PC on.
void halt() {
    if (pending_interrupts() == 0) {
        halted = 1;
    } else if (ime == 0) {
        sm83.halt_bug = 1;
    }
}

// A button is down on a line P1 selects.
bool button_pressed() {
    follow_joypad();
    return (io_page[P1] & 0x0F) != 0x0F;
}

// The colour model's speed switch: the divider restarts at 0 and the units
// that count dots keep their place in the new speed.
void switch_speed() {
    catch_up_real_time_clock();  // it counts the time before at the old speed
    catch_up_sound();
    lcd_speed_switching(machine_clock.double_speed == 0);
    io_page[KEY1] = machine_clock.double_speed ? 0x80 : 0x00;
    write_div();
}

// STOP as the console runs it. With a selected button held it does not
// stop: it halts, or does nothing when an interrupt is pending. Otherwise it
// restarts the divider and switches the speed when KEY1 has the switch armed
// on the colour model, or holds the divider at 0 and sleeps until a button
// goes down. With an interrupt pending the CPU goes on at once with the next
// byte; without, that byte is skipped and the CPU sleeps.
void stop() {
    const bool pending = pending_interrupts() != 0;
    if (button_pressed()) {
        if (!pending) {
            PC.value = (PC.value + 1) & 0xFFFF;
            halted = 1;
        }
        return;
    }
    if (!colour_mode || (io_page[KEY1] & 1) == 0) {
        pause_timers();
        sm83.stopped = 1;
        PC.value = (PC.value + (pending ? 0 : 1)) & 0xFFFF;
        return;
    }
    if (pending) {
        switch_speed();  // the console switches two M-cycles later, the CPU already going on
        return;
    }
    // The switch comes two M-cycles after STOP, at the old speed; the CPU
    // then sleeps until the divider has counted its time.
    PC.value = (PC.value + 1) & 0xFFFF;
    idle();
    idle();
    switch_speed();
    sm83.switching = 1;
    machine_clock.cpu_free_at = machine_clock.now + speed_switch_sleep;
}

void execute_cb() {
    const uint8_t opcode = fetch();
    const int y = (opcode >> 3) & 7;
    const int z = opcode & 7;
    const uint8_t value = operand(z);
    switch (opcode >> 6) {
        case 0: set_operand(z, alu_shift_rotate(y, value)); break;
        case 1:
            flag_z = ((value >> y) & 1) == 0;
            flag_n = 0;
            flag_h = 1;
            break;
        case 2: set_operand(z, static_cast<uint8_t>(value & ~(1 << y))); break;
        default: set_operand(z, static_cast<uint8_t>(value | 1 << y)); break;
    }
}

// 00-3F, column by column of the opcode grid's low three bits.
void execute_block0(uint8_t opcode) {
    const int y = (opcode >> 3) & 7;
    register_pair& pair = *word_registers[y >> 1];
    switch (opcode & 7) {
        case 0:
            switch (y) {
                case 0: break;  // NOP
                case 1: {       // LD (nn),SP
                    const int32_t address = fetch_word();
                    write(address, SP.low);
                    write(address + 1, SP.high);
                    break;
                }
                case 2: stop(); break;
                case 3: jump_relative(true); break;
                default: jump_relative(condition(y - 4)); break;
            }
            break;
        case 1:
            if (y & 1) {  // ADD HL,rr
                idle();
                add_hl(pair.value);
            } else {
                pair.value = fetch_word();
            }
            break;
        case 2: {  // LD (BC),A  LD A,(BC)  ... LD (HL-),A  LD A,(HL-)
            const int32_t address = y < 4 ? word_registers[y >> 1]->value : HL.value;
            if (y & 1) {
                A = y < 4 ? read(address) : read_stepping(address);
            } else {
                write(address, A);
            }
            if (y >= 4) {
                HL.value = (HL.value + (y < 6 ? 1 : -1)) & 0xFFFF;
            }
            break;
        }
        case 3: step_pair(pair, (y & 1) ? -1 : 1); break;
        case 4: set_operand(y, alu_inc(operand(y))); break;
        case 5: set_operand(y, alu_dec(operand(y))); break;
        case 6: set_operand(y, fetch()); break;
        default:
            switch (y) {
                case 0: alu_rlca(); break;
                case 1: alu_rrca(); break;
                case 2: alu_rla(); break;
                case 3: alu_rra(); break;
                case 4: decimal_adjust(); break;
                case 5: alu_cpl(); break;
                case 6: alu_scf(); break;
                default: alu_ccf(); break;
            }
            break;
    }
}

// C0-FF: jumps, calls, returns, the stack, the high page and the rest.
void execute_block3(uint8_t opcode) {
    switch (opcode) {
        case 0xC0:
        case 0xC8:
        case 0xD0:
        case 0xD8:
            idle();
            if (condition((opcode >> 3) & 3)) {
                return_to_caller();
            }
            break;
        case 0xC9: return_to_caller(); break;
        case 0xD9:  // RETI enables interrupts at once
            return_to_caller();
            ime = 1;
            break;
        case 0xC2:
        case 0xCA:
        case 0xD2:
        case 0xDA: jump_absolute(condition((opcode >> 3) & 3)); break;
        case 0xC3: jump_absolute(true); break;
        case 0xC4:
        case 0xCC:
        case 0xD4:
        case 0xDC: call(condition((opcode >> 3) & 3)); break;
        case 0xCD: call(true); break;
        case 0xCB: execute_cb(); break;
        case 0xE0: write(0xFF00 + fetch(), A); break;
        case 0xF0: A = read(0xFF00 + fetch()); break;
        case 0xE2: write(0xFF00 + C, A); break;
        case 0xF2: A = read(0xFF00 + C); break;
        case 0xEA: write(fetch_word(), A); break;
        case 0xFA: A = read(fetch_word()); break;
        case 0xE8: {
            const int32_t offset = fetch_offset();
            idle();
            idle();
            SP.value = sp_plus(offset);
            break;
        }
        case 0xF8: {
            const int32_t offset = fetch_offset();
            idle();
            HL.value = sp_plus(offset);
            break;
        }
        case 0xE9: PC.value = HL.value; break;
        case 0xF9:
            idle();
            SP.value = HL.value;
            break;
        case 0xF3:
            ime = 0;
            sm83.ime_next = 0;
            break;
        case 0xFB: sm83.ime_next = 1; break;
        default:
            switch (opcode & 0x0F) {
                case 0x01:  // POP: F keeps only its four flag bits
                    stack_registers[(opcode >> 4) & 3]->value = pop();
                    if (opcode == 0xF1) {
                        F &= 0xF0;
                        unpack_flags();
                    }
                    break;
                case 0x05:
                    if (opcode == 0xF5) {
                        F = packed_flags();
                    }
                    push(stack_registers[(opcode >> 4) & 3]->value);
                    break;
                case 0x06:
                case 0x0E: arithmetic((opcode >> 3) & 7, fetch()); break;
                case 0x07:
                case 0x0F:
                    push(PC.value);
                    PC.value = opcode & 0x38;
                    break;
                default: sm83.locked = 1; break;  // D3 DB DD E3 E4 EB EC ED F4 FC FD
            }
            break;
    }
}

void execute(uint8_t opcode) {
    switch (opcode >> 6) {
        case 0: execute_block0(opcode); break;
        case 1:
            if (opcode == 0x76) {
                halt();
            } else {
                set_operand((opcode >> 3) & 7, operand(opcode & 7));
            }
            break;
        case 2: arithmetic((opcode >> 3) & 7, operand(opcode & 7)); break;
        default: execute_block3(opcode); break;
    }
}

// Five M-cycles, the first the opcode fetch the interrupt took the place of.
// The vector is chosen after the high byte of PC is pushed: when that push
// lands on IE and no enabled request is left, PC becomes 0000.
void dispatch_interrupt() {
    ime = 0;
    idle_stepping(SP.value);  // SP moves down
    // The halt bug's fetch did not move PC on, so the return is to the HALT.
    const int32_t resume = sm83.halt_bug ? (PC.value - 1) & 0xFFFF : PC.value;
    sm83.halt_bug = 0;
    SP.value = (SP.value - 1) & 0xFFFF;
    write(SP.value, static_cast<uint8_t>(resume >> 8));
    const uint8_t requested = pending_interrupts();
    const uint8_t chosen = requested & static_cast<uint8_t>(-requested);
    io_page[IF] &= static_cast<uint8_t>(~chosen);
    SP.value = (SP.value - 1) & 0xFFFF;
    write(SP.value, static_cast<uint8_t>(resume));
    idle();
    PC.value = chosen == 0 ? 0x0000 : 0x0040 + 8 * __builtin_ctz(chosen);
}

// The opcode fetch's access, its M-cycle already begun.
uint8_t fetch_opcode() {
    const int32_t address = PC.value;
    if (in_oam_page(address)) {
        oam_bug(sm83.halt_bug ? oam_access::read : oam_access::read_and_step);
    }
    if (sm83.halt_bug == 0) {
        PC.value = (address + 1) & 0xFFFF;
    }
    sm83.halt_bug = 0;
    return bus_read(address);
}

// The sleep after a speed switch ends when its time is up or an interrupt
// is requested; true while it lasts.
bool switch_sleeping() {
    const uint64_t now = machine_clock.now;
    if (now < machine_clock.cpu_free_at && pending_interrupts() == 0) {
        advance_to_next_event(machine_clock.cpu_free_at);
        return true;
    }
    sm83.switching = 0;
    machine_clock.cpu_free_at = std::min(machine_clock.cpu_free_at, now);
    if (timer.paused) {
        resume_timers();  // a state of an older TOV held the divider through the switch
    }
    return false;
}

// A halted CPU passes the M-cycles before the one in which it can see what
// the next moment of a unit requests; true when there were such.
bool sleep() {
    const uint64_t next = machine_clock.next;
    const uint64_t seen_in = (next - halted_look + 3) & ~uint64_t{3};
    if (next == never || seen_in <= machine_clock.now) {
        return false;
    }
    advance_to_next_event(seen_in);
    return true;
}

// The CPU does nothing until the next moment of a unit; true while it waits.
bool waiting() {
    if (sm83.switching && switch_sleeping()) {
        return true;
    }
    const uint64_t now = machine_clock.now;
    if (machine_clock.cpu_free_at > now) {
        advance_to_next_event(machine_clock.cpu_free_at);
        return true;
    }
    if (sm83.stopped && button_pressed()) {
        sm83.stopped = 0;
        resume_timers();
    }
    if (sm83.stopped || sm83.locked) {
        advance_to_next_event(never);
        return true;
    }
    return halted == 1 && pending_interrupts() == 0 && sleep();
}

// An M-cycle in which the CPU looks at the requests; true when one was
// pending as it looked.
bool looking_cycle(uint64_t look) {
    machine_clock.now += look;
    if (machine_clock.now >= machine_clock.next) {
        run_due_events();
    }
    const bool requested = pending_interrupts() != 0;
    machine_clock.now += 4 - look;
    if (machine_clock.now >= machine_clock.next) {
        run_due_events();
    }
    return requested;
}

// An M-cycle of HALT: a request the CPU sees wakes it; this M-cycle is then
// the first of the interrupt's dispatch, or the fetch of the next opcode.
void halted_cycle() {
    if (looking_cycle(halted_look)) {
        halted = 0;
        hold_cpu(vram_dma_woken(in_horizontal_blank()));
    }
}

}  // namespace

void reset_sm83() {
    sm83 = {};
}

void cpu_step() {
    if (waiting()) {
        return;
    }
    // The CPU looks for interrupts in the M-cycle that fetches the next
    // opcode; an interrupt takes that M-cycle over. Waking from HALT, the
    // M-cycle in which it saw the request is that one.
    bool requested = true;
    if (halted == 1) {
        halted_cycle();
        if (halted == 1 || machine_clock.cpu_free_at > machine_clock.now) {
            return;
        }
    } else {
        requested = looking_cycle(fetch_look);
    }
    if (ime == 1 && requested) {
        dispatch_interrupt();
        return;
    }
    // EI's effect comes after the instruction that follows it, unless that
    // instruction is DI.
    const bool enabling = sm83.ime_next != 0;
    execute(fetch_opcode());
    if (enabling && sm83.ime_next) {
        sm83.ime_next = 0;
        ime = 1;
    }
}

void settle_sm83() {
    for (uint8_t* flag :
         {&sm83.ime_next, &sm83.halt_bug, &sm83.stopped, &sm83.locked, &sm83.switching}) {
        *flag = *flag ? 1 : 0;
    }
}

}  // namespace tov
