#include <gtest/gtest.h>

#include "classic/memory/memory_map.h"
#include "cpu_steps.h"
#include "machine/cpu_state.h"
#include "test_cartridge.h"

namespace tov {
namespace {

// A short program: running sums of 10 down to 1 stored from C000, then a
// subroutine that saves AF on the stack, stores 99 at C010 and restores AF.
TEST(Program, RunsStepByStepToTheExpectedRegistersAndMemory) {
    test::reset_test_state();
    test::test_cartridge cartridge;
    cartridge.bytes(0x0100, {
                                0x31, 0xFE, 0xDF,  // 0100 LD SP,DFFE
                                0x21, 0x00, 0xC0,  // 0103 LD HL,C000
                                0x06, 0x0A,        // 0106 LD B,10
                                0xAF,              // 0108 XOR A
                                0x80,              // 0109 loop: ADD A,B
                                0x22,              // 010A LD (HL+),A
                                0x05,              // 010B DEC B
                                0x20, 0xFB,        // 010C JR NZ,loop
                                0xCD, 0x20, 0x01,  // 010E CALL 0120
                                0x18, 0xFE,        // 0111 done: JR done
                            });
    cartridge.bytes(0x0120, {
                                0xF5,              // 0120 PUSH AF
                                0x3E, 0x99,        // 0121 LD A,99
                                0xEA, 0x10, 0xC0,  // 0123 LD (C010),A
                                0xF1,              // 0126 POP AF
                                0xC9,              // 0127 RET
                            });
    ASSERT_TRUE(cartridge.load());

    int steps = 0;
    while (PC.value != 0x0111 && steps < 1000) {
        test::execute_next();
        ++steps;
    }
    ASSERT_EQ(PC.value, 0x0111);
    EXPECT_EQ(steps, 4 + 10 * 4 + 6);
    EXPECT_EQ(A, 55);
    EXPECT_EQ(B, 0);
    EXPECT_EQ(HL.value, 0xC00A);
    EXPECT_EQ(SP.value, 0xDFFE);
    EXPECT_EQ(flag_z, 1) << "the flags of the last DEC B, saved and restored";
    EXPECT_EQ(flag_n, 1);
    const uint8_t sums[10] = {10, 19, 27, 34, 40, 45, 49, 52, 54, 55};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(read_byte(0xC000 + i), sums[i]) << i;
    }
    EXPECT_EQ(read_byte(0xC010), 0x99);

    test::execute_next();
    EXPECT_EQ(PC.value, 0x0111) << "JR -2 loops on itself";
}

}  // namespace
}  // namespace tov
