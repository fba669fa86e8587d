#include <gtest/gtest.h>

#include <vector>

#include "classic/cpu/cpu.h"
#include "classic/memory/memory_map.h"
#include "cpu_steps.h"
#include "machine/cpu_state.h"
#include "machine/registers.h"
#include "machine/timing.h"
#include "test_cartridge.h"

namespace tov {
namespace {

class Cpu : public testing::Test {
protected:
    void SetUp() override {
        test::reset_test_state();
        cartridge_.byte(0x0000, 0x5E);                 // read by POP at SP = FFFF
        cartridge_.bytes(0x1234, {0xCD, 0x00, 0x40});  // CALL 4000
        cartridge_.byte(0x0150, 0xFF);                 // RST 38
        cartridge_.colour_flag(colour_flag());
        ASSERT_TRUE(cartridge_.load());
    }
    virtual uint8_t colour_flag() const { return 0x00; }

    test::test_cartridge cartridge_;
};

class ColourCpu : public Cpu {
protected:
    uint8_t colour_flag() const override { return 0x80; }
};

// Every register copy, register store and (HL) load of the 40-7F block.
TEST_F(Cpu, LoadsBetweenEveryOperandPair) {
    for (int opcode = 0x40; opcode <= 0x7F; ++opcode) {
        if (opcode == 0x76) {
            continue;  // HALT
        }
        const int target = (opcode >> 3) & 7;
        const int source = opcode & 7;
        SCOPED_TRACE(testing::Message() << std::hex << opcode);
        BC.value = 0x1122;
        DE.value = 0x3344;
        HL.value = 0xC855;
        A = 0x77;
        write_byte(HL.value, 0x66);
        uint8_t before[8];
        for (int code = 0; code < 8; ++code) {
            before[code] = read_operand(code);
        }
        const int32_t address = HL.value;
        test::execute_one({static_cast<uint8_t>(opcode)});
        for (int code = 0; code < 8; ++code) {
            if (code != 6) {
                EXPECT_EQ(read_operand(code), code == target ? before[source] : before[code])
                    << "operand " << code;
            }
        }
        EXPECT_EQ(read_byte(address), target == 6 ? before[source] : 0x66);
        EXPECT_EQ(PC.value, test::code_address + 1);
    }
}

TEST_F(Cpu, ImmediateAndIndirectLoads) {
    // LD r,n for B, C, D, E, H, L, (HL), A.
    for (int code = 0; code < 8; ++code) {
        HL.value = 0xC900;
        const uint8_t opcode = static_cast<uint8_t>(0x06 + 8 * code);
        test::execute_one({opcode, static_cast<uint8_t>(0xA0 + code)});
        if (code == 6) {
            EXPECT_EQ(read_byte(0xC900), 0xA6);
        } else {
            EXPECT_EQ(read_operand(code), 0xA0 + code) << code;
        }
        EXPECT_EQ(PC.value, test::code_address + 2);
    }
    // LD rr,nn.
    test::execute_one({0x01, 0x34, 0x12});
    EXPECT_EQ(BC.value, 0x1234);
    test::execute_one({0x11, 0x78, 0x56});
    EXPECT_EQ(DE.value, 0x5678);
    test::execute_one({0x21, 0xBC, 0x9A});
    EXPECT_EQ(HL.value, 0x9ABC);
    test::execute_one({0x31, 0xFE, 0xDF});
    EXPECT_EQ(SP.value, 0xDFFE);
    EXPECT_EQ(PC.value, test::code_address + 3);

    // Through BC and DE.
    A = 0x42;
    BC.value = 0xC901;
    DE.value = 0xC902;
    test::execute_one({0x02});
    test::execute_one({0x12});
    EXPECT_EQ(read_byte(0xC901), 0x42);
    EXPECT_EQ(read_byte(0xC902), 0x42);
    write_byte(0xC901, 0x17);
    write_byte(0xC902, 0x18);
    test::execute_one({0x0A});
    EXPECT_EQ(A, 0x17);
    test::execute_one({0x1A});
    EXPECT_EQ(A, 0x18);

    // (HL+) and (HL-) wrap at the ends of the address space.
    HL.value = 0xFFFF;
    A = 0x99;
    test::execute_one({0x22});
    EXPECT_EQ(HL.value, 0x0000);
    EXPECT_EQ(io_page[IE], 0x99);
    test::execute_one({0x32});
    EXPECT_EQ(HL.value, 0xFFFF);
    HL.value = 0xC901;
    test::execute_one({0x2A});
    EXPECT_EQ(A, 0x17);
    EXPECT_EQ(HL.value, 0xC902);
    test::execute_one({0x3A});
    EXPECT_EQ(A, 0x18);
    EXPECT_EQ(HL.value, 0xC901);

    // LD (nn),SP stores low then high.
    SP.value = 0xBEEF;
    test::execute_one({0x08, 0x10, 0xC9});
    EXPECT_EQ(read_byte(0xC910), 0xEF);
    EXPECT_EQ(read_byte(0xC911), 0xBE);
    EXPECT_EQ(PC.value, test::code_address + 3);

    // The high page through n and C, and LD (nn),A / LD A,(nn).
    A = 0x5A;
    test::execute_one({0xE0, 0x80});
    EXPECT_EQ(io_page[0x80], 0x5A);
    C = 0x81;
    test::execute_one({0xE2});
    EXPECT_EQ(io_page[0x81], 0x5A);
    io_page[0x82] = 0x3C;
    test::execute_one({0xF0, 0x82});
    EXPECT_EQ(A, 0x3C);
    io_page[0x81] = 0x4D;
    test::execute_one({0xF2});
    EXPECT_EQ(A, 0x4D);
    test::execute_one({0xEA, 0x20, 0xC9});
    EXPECT_EQ(read_byte(0xC920), 0x4D);
    write_byte(0xC921, 0x6E);
    test::execute_one({0xFA, 0x21, 0xC9});
    EXPECT_EQ(A, 0x6E);
    EXPECT_EQ(PC.value, test::code_address + 3);

    HL.value = 0xD123;
    test::execute_one({0xF9});
    EXPECT_EQ(SP.value, 0xD123);
}

TEST_F(Cpu, PushAndPopWrapTheStackPointer) {
    SP.value = 0x0000;
    BC.value = 0x1234;
    test::execute_one({0xC5});
    EXPECT_EQ(io_page[IE], 0x12) << "the high byte goes to FFFF";
    EXPECT_EQ(io_page[0xFE], 0x34);
    EXPECT_EQ(SP.value, 0xFFFE);

    SP.value = 0xFFFF;
    io_page[IE] = 0xA7;
    test::execute_one({0xD1});
    EXPECT_EQ(DE.value, 0x5EA7) << "POP reads FFFF, then 0000";
    EXPECT_EQ(SP.value, 0x0001);

    SP.value = 0xD000;
    for (const uint8_t push : {0xC5, 0xD5, 0xE5}) {
        BC.value = 0x0102;
        DE.value = 0x0304;
        HL.value = 0x0506;
        test::execute_one({push});
    }
    EXPECT_EQ(SP.value, 0xCFFA);
    test::execute_one({0xC1});
    test::execute_one({0xD1});
    test::execute_one({0xE1});
    EXPECT_EQ(BC.value, 0x0506);
    EXPECT_EQ(DE.value, 0x0304);
    EXPECT_EQ(HL.value, 0x0102);
    EXPECT_EQ(SP.value, 0xD000);
}

TEST_F(Cpu, PopAfKeepsTheWholeFByteAndPushAfPacksTheFlags) {
    SP.value = 0xD000;
    write_byte(0xD000, 0xFF);
    write_byte(0xD001, 0x12);
    test::execute_one({0xF1});
    EXPECT_EQ(AF.value, 0x12FF);
    EXPECT_EQ(test::flag_text(), "ZNHC");
    EXPECT_EQ(shown_flags[0] + shown_flags[1] + shown_flags[2] + shown_flags[3], 4);
    test::execute_one({0xF5});
    EXPECT_EQ(read_byte(0xD000), 0xF0);
    EXPECT_EQ(read_byte(0xD001), 0x12);

    test::set_flags("Z-H-");
    test::execute_one({0xF5});
    EXPECT_EQ(read_byte(0xCFFE), 0xA0);
}

TEST_F(Cpu, ControlTransfers) {
    struct case_t {
        const char* name;
        std::vector<uint8_t> code;
        const char* flags;
        int32_t pc_after;
    };
    const int32_t base = test::code_address;
    const case_t cases[] = {
        {"JP nn", {0xC3, 0x34, 0x12}, "----", 0x1234},
        {"JP NZ taken", {0xC2, 0x34, 0x12}, "----", 0x1234},
        {"JP NZ not taken", {0xC2, 0x34, 0x12}, "Z---", base + 3},
        {"JP Z taken", {0xCA, 0x34, 0x12}, "Z---", 0x1234},
        {"JP NC not taken", {0xD2, 0x34, 0x12}, "---C", base + 3},
        {"JP C taken", {0xDA, 0x00, 0x00}, "---C", 0x0000},
        {"JR -2 loops", {0x18, 0xFE}, "----", base},
        {"JR +5", {0x18, 0x05}, "----", base + 7},
        {"JR -128", {0x18, 0x80}, "----", base + 2 - 128},
        {"JR NZ not taken", {0x20, 0x05}, "Z---", base + 2},
        {"JR Z taken", {0x28, 0x05}, "Z---", base + 7},
        {"JR NC taken", {0x30, 0xFC}, "----", base - 2},
        {"JR C not taken", {0x38, 0xFC}, "----", base + 2},
        {"CALL NZ not taken", {0xC4, 0x00, 0x40}, "Z---", base + 3},
        {"CALL C not taken", {0xDC, 0x00, 0x40}, "----", base + 3},
        {"RET NZ not taken", {0xC0}, "Z---", base + 1},
        {"RET NC not taken", {0xD0}, "---C", base + 1},
    };
    for (const case_t& test : cases) {
        test::set_flags(test.flags);
        PC.value = base;
        for (std::size_t i = 0; i < test.code.size(); ++i) {
            write_byte(base + static_cast<int32_t>(i), test.code[i]);
        }
        test::execute_next();
        EXPECT_EQ(PC.value, test.pc_after) << test.name;
    }

    HL.value = 0x4567;
    test::execute_one({0xE9});
    EXPECT_EQ(PC.value, 0x4567) << "JP (HL)";
}

TEST_F(Cpu, CallsReturnsAndRestarts) {
    SP.value = 0xD000;
    PC.value = 0x1234;
    test::execute_next();
    EXPECT_EQ(PC.value, 0x4000);
    EXPECT_EQ(SP.value, 0xCFFE);
    EXPECT_EQ(read_byte(0xCFFE), 0x37);
    EXPECT_EQ(read_byte(0xCFFF), 0x12);

    test::execute_one({0xC9});
    EXPECT_EQ(PC.value, 0x1237);
    EXPECT_EQ(SP.value, 0xD000);

    PC.value = 0x0150;
    test::execute_next();
    EXPECT_EQ(PC.value, 0x0038);
    EXPECT_EQ(read_byte(0xCFFE), 0x51) << "RST pushes the address after itself";
    EXPECT_EQ(read_byte(0xCFFF), 0x01);

    const struct {
        uint8_t opcode;
        int32_t vector;
    } restarts[] = {{0xC7, 0x00}, {0xCF, 0x08}, {0xD7, 0x10}, {0xDF, 0x18},
                    {0xE7, 0x20}, {0xEF, 0x28}, {0xF7, 0x30}, {0xFF, 0x38}};
    for (const auto& restart : restarts) {
        SP.value = 0xD000;
        test::execute_one({restart.opcode});
        EXPECT_EQ(PC.value, restart.vector) << std::hex << +restart.opcode;
        EXPECT_EQ(read_byte(0xCFFE), 0x01);
    }

    // Conditional call and return, taken.
    SP.value = 0xD000;
    flag_z = 1;
    test::execute_one({0xCC, 0x00, 0x50});
    EXPECT_EQ(PC.value, 0x5000);
    test::execute_one({0xC8});
    EXPECT_EQ(PC.value, test::code_address + 3);

    // RETI returns and enables interrupts.
    SP.value = 0xD000;
    test::execute_one({0xCD, 0x00, 0x50});
    ime = 0;
    test::execute_one({0xD9});
    EXPECT_EQ(PC.value, test::code_address + 3);
    EXPECT_EQ(ime, 1);
}

TEST_F(Cpu, HaltAndInterruptEnable) {
    ime = 1;
    test::execute_one({0x76});
    EXPECT_EQ(halted, 1);
    EXPECT_EQ(halt_repeat, 0);

    halted = 0;
    ime = 0;
    test::execute_one({0x76});
    EXPECT_EQ(halted, 0) << "with IME clear the CPU does not stop";
    EXPECT_EQ(halt_repeat, 1);

    // EI as the repeated instruction halts after all.
    test::execute_one({0xFB});
    EXPECT_EQ(ime, 1);
    EXPECT_EQ(halted, 1);
    EXPECT_EQ(halt_repeat, 0);

    // RETI does the same.
    halted = 0;
    ime = 0;
    halt_repeat = 1;
    SP.value = 0xD000;
    test::execute_one({0xD9});
    EXPECT_EQ(ime, 1);
    EXPECT_EQ(halted, 1);

    // Without a pending repeat EI only enables.
    halted = 0;
    ime = 0;
    test::execute_one({0xFB});
    EXPECT_EQ(ime, 1);
    EXPECT_EQ(halted, 0);
    test::execute_one({0xF3});
    EXPECT_EQ(ime, 0);
}

TEST_F(Cpu, StopOnAMonochromeCartridgeOnlySetsItsFlag) {
    stop_flag = 0;
    io_page[KEY1] = 0x01;
    test::execute_one({0x10});
    EXPECT_EQ(stop_flag, 1);
    EXPECT_EQ(speed_shift, 1);
    EXPECT_EQ(io_page[KEY1], 0x01);
    EXPECT_EQ(PC.value, test::code_address + 1) << "STOP is one byte long";
}

TEST_F(ColourCpu, StopTogglesTheSpeedWhenASwitchIsRequested) {
    stop_flag = 0;
    io_page[KEY1] = 0x7E;
    test::execute_one({0x10});
    EXPECT_EQ(speed_shift, 0) << "no request, no switch";
    EXPECT_EQ(stop_flag, 1);

    io_page[KEY1] = 0x7F;
    test::execute_one({0x10});
    EXPECT_EQ(speed_shift, 1);
    EXPECT_EQ(io_page[KEY1], 0xFF);
    test::execute_one({0x10});
    EXPECT_EQ(speed_shift, 0);
    EXPECT_EQ(io_page[KEY1], 0x7F) << "bit 0 stays set";
}

TEST_F(Cpu, UndefinedOpcodesAreOneByteNoOperationsCostingNothing) {
    for (const uint8_t opcode :
         {0xD3, 0xDB, 0xDD, 0xE3, 0xE4, 0xEB, 0xEC, 0xED, 0xF4, 0xFC, 0xFD}) {
        AF.value = 0x1230;
        BC.value = 0x4567;
        SP.value = 0xD000;
        test::set_flags("Z-H-");
        line_cycles = 0;
        test::execute_one({opcode, 0x01, 0x02});
        EXPECT_EQ(PC.value, test::code_address + 1) << std::hex << +opcode;
        EXPECT_EQ(line_cycles, 0);
        EXPECT_EQ(AF.value, 0x1230);
        EXPECT_EQ(BC.value, 0x4567);
        EXPECT_EQ(SP.value, 0xD000);
        EXPECT_EQ(test::flag_text(), "Z-H-");
    }
}

TEST_F(Cpu, ProgramCounterWrapsPastTheTop) {
    write_byte(0xFFFF, 0x00);  // NOP in IE
    PC.value = 0xFFFF;
    test::execute_next();
    EXPECT_EQ(PC.value, 0x0000);
}

}  // namespace
}  // namespace tov
