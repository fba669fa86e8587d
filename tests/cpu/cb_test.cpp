#include <gtest/gtest.h>

#include "classic/cpu/cpu.h"
#include "classic/memory/memory_map.h"
#include "cpu_steps.h"
#include "machine/cpu_state.h"
#include "test_cartridge.h"

namespace tov {
namespace {

class CbInstructions : public testing::Test {
protected:
    static void SetUpTestSuite() {
        test::reset_test_state();
        static test::test_cartridge cartridge;
        cartridge.byte(0x2100, 0x05);
        ASSERT_TRUE(cartridge.load());
    }
};

// Runs CB opcode `opcode` on operand value v with carry c; returns the result.
uint8_t run_cb(uint8_t opcode, uint8_t v, int carry, const char* flags_before = "----") {
    HL.value = 0xC800;
    write_operand(opcode & 7, v);
    test::set_flags(flags_before);
    flag_c = carry;
    test::execute_one({0xCB, opcode});
    EXPECT_EQ(PC.value, test::code_address + 2);
    return read_operand(opcode & 7);
}

TEST_F(CbInstructions, RotatesShiftsAndSwapOnEveryOperand) {
    struct case_t {
        int y;
        uint8_t v;
        int carry_in;
        uint8_t result;
        const char* flags;
    };
    // clang-format off
    const case_t cases[] = {
        {0, 0x00, 0, 0x00, "Z---"}, {0, 0x00, 1, 0x00, "Z---"}, {0, 0x01, 0, 0x02, "----"},
        {0, 0x01, 1, 0x02, "----"}, {0, 0x80, 0, 0x01, "---C"}, {0, 0x80, 1, 0x01, "---C"},
        {0, 0x81, 0, 0x03, "---C"}, {0, 0x81, 1, 0x03, "---C"}, {0, 0x7F, 0, 0xFE, "----"},
        {0, 0x7F, 1, 0xFE, "----"}, {0, 0xF0, 0, 0xE1, "---C"}, {0, 0xF0, 1, 0xE1, "---C"},
        {1, 0x00, 0, 0x00, "Z---"}, {1, 0x00, 1, 0x00, "Z---"}, {1, 0x01, 0, 0x80, "---C"},
        {1, 0x01, 1, 0x80, "---C"}, {1, 0x80, 0, 0x40, "----"}, {1, 0x80, 1, 0x40, "----"},
        {1, 0x81, 0, 0xC0, "---C"}, {1, 0x81, 1, 0xC0, "---C"}, {1, 0x7F, 0, 0xBF, "---C"},
        {1, 0x7F, 1, 0xBF, "---C"}, {1, 0xF0, 0, 0x78, "----"}, {1, 0xF0, 1, 0x78, "----"},
        {2, 0x00, 0, 0x00, "Z---"}, {2, 0x00, 1, 0x01, "----"}, {2, 0x01, 0, 0x02, "----"},
        {2, 0x01, 1, 0x03, "----"}, {2, 0x80, 0, 0x00, "Z--C"}, {2, 0x80, 1, 0x01, "---C"},
        {2, 0x81, 0, 0x02, "---C"}, {2, 0x81, 1, 0x03, "---C"}, {2, 0x7F, 0, 0xFE, "----"},
        {2, 0x7F, 1, 0xFF, "----"}, {2, 0xF0, 0, 0xE0, "---C"}, {2, 0xF0, 1, 0xE1, "---C"},
        {3, 0x00, 0, 0x00, "Z---"}, {3, 0x00, 1, 0x80, "----"}, {3, 0x01, 0, 0x00, "Z--C"},
        {3, 0x01, 1, 0x80, "---C"}, {3, 0x80, 0, 0x40, "----"}, {3, 0x80, 1, 0xC0, "----"},
        {3, 0x81, 0, 0x40, "---C"}, {3, 0x81, 1, 0xC0, "---C"}, {3, 0x7F, 0, 0x3F, "---C"},
        {3, 0x7F, 1, 0xBF, "---C"}, {3, 0xF0, 0, 0x78, "----"}, {3, 0xF0, 1, 0xF8, "----"},
        {4, 0x00, 0, 0x00, "Z---"}, {4, 0x00, 1, 0x00, "Z---"}, {4, 0x01, 0, 0x02, "----"},
        {4, 0x01, 1, 0x02, "----"}, {4, 0x80, 0, 0x00, "Z--C"}, {4, 0x80, 1, 0x00, "Z--C"},
        {4, 0x81, 0, 0x02, "---C"}, {4, 0x81, 1, 0x02, "---C"}, {4, 0x7F, 0, 0xFE, "----"},
        {4, 0x7F, 1, 0xFE, "----"}, {4, 0xF0, 0, 0xE0, "---C"}, {4, 0xF0, 1, 0xE0, "---C"},
        {5, 0x00, 0, 0x00, "Z---"}, {5, 0x00, 1, 0x00, "Z---"}, {5, 0x01, 0, 0x00, "Z--C"},
        {5, 0x01, 1, 0x00, "Z--C"}, {5, 0x80, 0, 0xC0, "----"}, {5, 0x80, 1, 0xC0, "----"},
        {5, 0x81, 0, 0xC0, "---C"}, {5, 0x81, 1, 0xC0, "---C"}, {5, 0x7F, 0, 0x3F, "---C"},
        {5, 0x7F, 1, 0x3F, "---C"}, {5, 0xF0, 0, 0xF8, "----"}, {5, 0xF0, 1, 0xF8, "----"},
        {6, 0x00, 0, 0x00, "Z---"}, {6, 0x00, 1, 0x00, "Z---"}, {6, 0x01, 0, 0x10, "----"},
        {6, 0x01, 1, 0x10, "----"}, {6, 0x80, 0, 0x08, "----"}, {6, 0x80, 1, 0x08, "----"},
        {6, 0x81, 0, 0x18, "----"}, {6, 0x81, 1, 0x18, "----"}, {6, 0x7F, 0, 0xF7, "----"},
        {6, 0x7F, 1, 0xF7, "----"}, {6, 0xF0, 0, 0x0F, "----"}, {6, 0xF0, 1, 0x0F, "----"},
        {7, 0x00, 0, 0x00, "Z---"}, {7, 0x00, 1, 0x00, "Z---"}, {7, 0x01, 0, 0x00, "Z--C"},
        {7, 0x01, 1, 0x00, "Z--C"}, {7, 0x80, 0, 0x40, "----"}, {7, 0x80, 1, 0x40, "----"},
        {7, 0x81, 0, 0x40, "---C"}, {7, 0x81, 1, 0x40, "---C"}, {7, 0x7F, 0, 0x3F, "---C"},
        {7, 0x7F, 1, 0x3F, "---C"}, {7, 0xF0, 0, 0x78, "----"}, {7, 0xF0, 1, 0x78, "----"},
    };
    // clang-format on
    for (const case_t& test : cases) {
        for (int z = 0; z < 8; ++z) {
            const uint8_t opcode = static_cast<uint8_t>(test.y << 3 | z);
            SCOPED_TRACE(testing::Message() << "CB " << std::hex << +opcode << " v=" << +test.v
                                            << " c=" << test.carry_in);
            EXPECT_EQ(run_cb(opcode, test.v, test.carry_in, "-NH-"), test.result);
            EXPECT_EQ(test::flag_text(), test.flags);
        }
    }
}

TEST_F(CbInstructions, BitTestsSetHalfCarryAndKeepCarry) {
    for (int y = 0; y < 8; ++y) {
        for (int z = 0; z < 8; ++z) {
            const uint8_t opcode = static_cast<uint8_t>(0x40 | y << 3 | z);
            for (const uint8_t v : {uint8_t{0x00}, uint8_t{0xFF}, static_cast<uint8_t>(1 << y),
                                    static_cast<uint8_t>(~(1 << y))}) {
                for (const int carry : {0, 1}) {
                    SCOPED_TRACE(testing::Message() << "CB " << std::hex << +opcode << " v=" << +v);
                    EXPECT_EQ(run_cb(opcode, v, carry, "-N--"), v) << "BIT changes nothing";
                    EXPECT_EQ(flag_z, (v >> y & 1) ? 0 : 1);
                    EXPECT_EQ(flag_n, 0);
                    EXPECT_EQ(flag_h, 1);
                    EXPECT_EQ(flag_c, carry);
                }
            }
        }
    }
}

TEST_F(CbInstructions, ResAndSetChangeOneBitAndNoFlags) {
    for (int y = 0; y < 8; ++y) {
        for (int z = 0; z < 8; ++z) {
            const uint8_t res = static_cast<uint8_t>(0x80 | y << 3 | z);
            const uint8_t set = static_cast<uint8_t>(0xC0 | y << 3 | z);
            SCOPED_TRACE(testing::Message() << "bit " << y << " operand " << z);
            EXPECT_EQ(run_cb(res, 0xFF, 1, "ZNH-"), static_cast<uint8_t>(0xFF & ~(1 << y)));
            EXPECT_EQ(test::flag_text(), "ZNHC");
            EXPECT_EQ(run_cb(set, 0x00, 0, "----"), static_cast<uint8_t>(1 << y));
            EXPECT_EQ(test::flag_text(), "----");
        }
    }
}

TEST_F(CbInstructions, BitOnMemoryReadsWithoutWritingBack) {
    // A write to 2100 would select ROM bank 5.
    HL.value = 0x2100;
    test::execute_one({0xCB, 0x7E});
    EXPECT_EQ(rom_bank, 1);
    EXPECT_EQ(flag_z, 1) << "bit 7 of 05 is clear";
    test::execute_one({0xCB, 0x56});
    EXPECT_EQ(flag_z, 0) << "bit 2 of 05 is set";
    test::execute_one({0xCB, 0x06});
    EXPECT_EQ(rom_bank, 0x0A) << "RLC (HL) writes its result back through the write path";
}

TEST_F(CbInstructions, SwapOfZeroSetsZeroAndClearsCarry) {
    EXPECT_EQ(run_cb(0x37, 0x00, 1), 0x00);
    EXPECT_EQ(test::flag_text(), "Z---");
}

}  // namespace
}  // namespace tov
