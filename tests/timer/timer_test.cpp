#include <gtest/gtest.h>

#include <vector>

#include "classic/cpu/cpu.h"
#include "classic/cpu/interrupts.h"
#include "classic/memory/memory_map.h"
#include "classic/timer/timer.h"
#include "cpu_steps.h"
#include "machine/cpu_state.h"
#include "machine/options.h"
#include "machine/registers.h"
#include "machine/timing.h"
#include "test_cartridge.h"

namespace tov {
namespace {

using Timing = test::machine_test;

// Cycles charged per instruction, where the machine's table is its own.
TEST_F(Timing, InstructionCharges) {
    struct case_t {
        const char* name;
        std::vector<uint8_t> code;
        const char* flags;
        int32_t cycles;
    };
    const case_t cases[] = {
        {"NOP", {0x00}, "----", 4},
        {"LD (nn),SP", {0x08, 0x00, 0xD0}, "----", 20},
        {"INC (HL)", {0x34}, "----", 8},
        {"DEC (HL)", {0x35}, "----", 8},
        {"LD (HL),n", {0x36, 0x00}, "----", 12},
        {"ADD A,n", {0xC6, 0x01}, "----", 4},
        {"CP n", {0xFE, 0x01}, "----", 4},
        {"RET", {0xC9}, "----", 20},
        {"RETI", {0xD9}, "----", 20},
        {"LD (nn),A", {0xEA, 0x00, 0xD0}, "----", 4},
        {"LD A,(nn)", {0xFA, 0x00, 0xD0}, "----", 4},
        {"JR NZ taken", {0x20, 0x00}, "----", 8},
        {"JR NZ not taken", {0x20, 0x00}, "Z---", 8},
        {"JP NZ taken", {0xC2, 0x00, 0xC1}, "----", 12},
        {"JP NZ not taken", {0xC2, 0x00, 0xC1}, "Z---", 12},
        {"CALL NZ taken", {0xC4, 0x00, 0xC1}, "----", 12},
        {"CALL NZ not taken", {0xC4, 0x00, 0xC1}, "Z---", 12},
        {"RET NZ taken", {0xC0}, "----", 8},
        {"RET NZ not taken", {0xC0}, "Z---", 8},
        {"CALL nn", {0xCD, 0x00, 0xC1}, "----", 24},
        {"PUSH BC", {0xC5}, "----", 16},
        {"ADD SP,e", {0xE8, 0x01}, "----", 16},
        {"LD HL,SP+e", {0xF8, 0x01}, "----", 12},
        {"LD A,(C)", {0xF2}, "----", 8},
        {"HALT", {0x76}, "----", 4},
        {"CB RLC B", {0xCB, 0x00}, "----", 8},
        {"CB RLC (HL)", {0xCB, 0x06}, "----", 16},
        {"CB BIT 0,(HL)", {0xCB, 0x46}, "----", 16},
        {"CB SET 7,A", {0xCB, 0xFF}, "----", 8},
        {"undefined DD", {0xDD}, "----", 0},
    };
    for (const case_t& test : cases) {
        SP.value = 0xD000;
        HL.value = 0xD100;
        ime = 1;
        halt_repeat = 0;
        test::set_flags(test.flags);
        line_cycles = 0;
        test::place_code({});
        for (std::size_t i = 0; i < test.code.size(); ++i) {
            write_byte(test::code_address + static_cast<int32_t>(i), test.code[i]);
        }
        test::execute_next();
        EXPECT_EQ(line_cycles, test.cycles) << test.name;
    }
}

TEST(CycleTables, CbTableChargesSixteenForHlOperands) {
    for (int opcode = 0; opcode < 256; ++opcode) {
        EXPECT_EQ(cb_cycle_table[opcode], (opcode & 7) == 6 ? 16 : 8) << opcode;
    }
    EXPECT_EQ(cycle_table[0xCB], 0);
}

// DIV steps when a charge lifts its counter above 256 << speed_shift and
// the counter restarts at 0, so 4-cycle steps advance it every 65.
TEST_F(Timing, DivStepsEverySixtyFiveNopsAtNormalSpeed) {
    load(0x80);
    io_page[DIV] = 0x00;
    div_cycles = 0;
    for (int i = 0; i < 64; ++i) {
        charge_cycles(0x00);
    }
    EXPECT_EQ(io_page[DIV], 0x00);
    charge_cycles(0x00);
    EXPECT_EQ(io_page[DIV], 0x01);
    EXPECT_EQ(div_cycles, 0);
}

TEST_F(Timing, DivThresholdDoublesAtSpeedShiftOne) {
    io_page[DIV] = 0x00;
    div_cycles = 0;
    for (int i = 0; i < 128; ++i) {
        charge_cycles(0x00);
    }
    EXPECT_EQ(io_page[DIV], 0x00);
    charge_cycles(0x00);
    EXPECT_EQ(io_page[DIV], 0x01);
}

TEST_F(Timing, DivSkipsFf) {
    io_page[DIV] = 0xFE;
    div_cycles = 512;
    charge_cycles(0x00);
    EXPECT_EQ(io_page[DIV], 0x00);
}

TEST_F(Timing, TimaReloadsFromTmaInsteadOfReachingFf) {
    write_byte(0xFF07, 0x05);  // on, period 32 on a monochrome cartridge
    ASSERT_EQ(timer_running, 1);
    ASSERT_EQ(tima_period, 32);
    io_page[TMA] = 0xF0;
    io_page[TIMA] = 0xFE;
    io_page[IF] = 0x00;
    tima_cycles = 30;
    charge_cycles(0x00);
    EXPECT_EQ(io_page[TIMA], 0xF0);
    EXPECT_EQ(io_page[IF], 0x04);
    EXPECT_EQ(tima_cycles, 2) << "the remainder carries over";

    io_page[TIMA] = 0xFF;
    io_page[IF] = 0x00;
    tima_cycles = 30;
    charge_cycles(0x00);
    EXPECT_EQ(io_page[TIMA], 0x00) << "a written FF steps to 00 without a reload";
    EXPECT_EQ(io_page[IF], 0x00);

    timer_running = 0;
    tima_cycles = 30;
    charge_cycles(0x00);
    EXPECT_EQ(io_page[TIMA], 0x00) << "a stopped timer does not count";
    EXPECT_EQ(tima_cycles, 30);
}

// The console's 4096, 262144, 65536 and 16384 Hz: 1024, 16, 64 and 256 cycles
// on a colour cartridge in either speed, twice that on a monochrome one.
TEST_F(Timing, TacSelectsThePeriodOfTheCartridgeKind) {
    struct case_t {
        uint8_t colour_flag;
        uint8_t speed;
        uint8_t tac;
        int32_t period;
        uint8_t running;
    };
    const case_t cases[] = {
        {0x00, 1, 0x04, 2048, 1}, {0x00, 1, 0x05, 32, 1},  {0x00, 1, 0x06, 128, 1},
        {0x00, 1, 0x07, 512, 1},  {0x00, 1, 0x03, 512, 0}, {0x80, 0, 0x04, 1024, 1},
        {0x80, 0, 0x05, 16, 1},   {0x80, 0, 0x06, 64, 1},  {0x80, 0, 0xFF, 256, 1},
        {0x80, 1, 0x04, 1024, 1}, {0x80, 1, 0x05, 16, 1},  {0x80, 1, 0x06, 64, 1},
        {0x80, 1, 0x07, 256, 1},
    };
    for (const case_t& test : cases) {
        load(test.colour_flag);
        speed_shift = test.speed;
        write_byte(0xFF07, test.tac);
        EXPECT_EQ(tima_period, test.period) << std::hex << +test.tac;
        EXPECT_EQ(timer_running, test.running);
        EXPECT_EQ(io_page[TAC], test.tac);
    }
}

// A charge steps TIMA once for every whole period it passes and keeps the
// rest, so a 16-cycle period fed by 8-cycle steps ticks every 16 cycles.
TEST_F(Timing, TimaKeepsItsRateWithShortPeriods) {
    struct case_t {
        uint8_t colour_flag;
        uint8_t tac;
        int opcode;  // -1: a halted step, charged as CB 04
        int charges;
        uint8_t tima;
    };
    const case_t cases[] = {
        {0x80, 0x05, 0x00, 100, 24},  // 400 cycles of NOP, period 16
        {0x80, 0x05, -1, 200, 99},    // 1600 cycles of halted steps
        {0x80, 0x05, 0xCD, 2, 2},     // CALL: 24 cycles, then 48
        {0x80, 0x07, 0x00, 640, 9},   // 2560 cycles, period 256
        {0x00, 0x05, 0x00, 100, 12},  // monochrome: period 32
        {0x00, 0x04, 0x00, 1100, 2},  // 4400 cycles, period 2048
    };
    for (const case_t& test : cases) {
        load(test.colour_flag);
        write_byte(0xFF07, test.tac);
        io_page[TIMA] = 0x00;
        for (int i = 0; i < test.charges; ++i) {
            if (test.opcode < 0) {
                charge_cb_cycles(0x04);
            } else {
                charge_cycles(static_cast<uint8_t>(test.opcode));
            }
        }
        EXPECT_EQ(io_page[TIMA], test.tima) << std::hex << +test.tac << " " << test.opcode;
    }
}

TEST_F(Timing, TimerOptionOffLeavesRunningAloneButSetsThePeriod) {
    timer_option = 0;
    timer_running = 0;
    write_byte(0xFF07, 0x05);
    EXPECT_EQ(timer_running, 0);
    EXPECT_EQ(tima_period, 32);
    timer_running = 1;
    write_byte(0xFF07, 0x00);
    EXPECT_EQ(timer_running, 1);
    timer_option = 1;
}

class Interrupts : public Timing {};

TEST_F(Interrupts, HighestPriorityFirstAndOnePerCall) {
    ime = 1;
    halted = 1;
    PC.value = 0x1234;
    SP.value = 0xD000;
    io_page[IE] = 0x05;
    io_page[IF] = 0x05;
    dispatch_interrupts();
    EXPECT_EQ(PC.value, 0x0040) << "the vector is stored as it is";
    EXPECT_EQ(io_page[IF], 0x04);
    EXPECT_EQ(ime, 0);
    EXPECT_EQ(halted, 0);
    EXPECT_EQ(read_byte(0xCFFE), 0x34);
    EXPECT_EQ(read_byte(0xCFFF), 0x12);

    dispatch_interrupts();
    EXPECT_EQ(PC.value, 0x0040) << "the timer waits until IME is set again";
    ime = 1;
    dispatch_interrupts();
    EXPECT_EQ(PC.value, 0x0050);
    EXPECT_EQ(io_page[IF], 0x00);
}

TEST_F(Interrupts, EachSourceHasItsVector) {
    const int32_t vectors[5] = {0x40, 0x48, 0x50, 0x58, 0x60};
    for (int bit = 0; bit < 5; ++bit) {
        ime = 1;
        SP.value = 0xD000;
        io_page[IE] = 0xFF;
        io_page[IF] = static_cast<uint8_t>(0xE0 | 1 << bit);
        dispatch_interrupts();
        EXPECT_EQ(PC.value, vectors[bit]);
        EXPECT_EQ(io_page[IF], 0xE0) << "bits 5-7 are left alone";
    }
}

TEST_F(Interrupts, NothingIsDispatchedWithoutImeOrEnables) {
    struct case_t {
        int32_t ime;
        uint8_t ie, flags;
    };
    const case_t cases[] = {{0, 0xFF, 0x1F}, {1, 0x00, 0x1F}, {1, 0xE0, 0xE0}, {1, 0x01, 0x1E}};
    for (const case_t& test : cases) {
        ime = test.ime;
        halted = 1;
        PC.value = 0x1234;
        io_page[IE] = test.ie;
        io_page[IF] = test.flags;
        dispatch_interrupts();
        EXPECT_EQ(PC.value, 0x1234);
        EXPECT_EQ(halted, 1) << "a halted CPU stays halted";
        EXPECT_EQ(io_page[IF], test.flags);
    }
}

}  // namespace
}  // namespace tov
