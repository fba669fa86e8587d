#include <gtest/gtest.h>

#include "classic/cpu/cpu.h"
#include "classic/memory/memory_map.h"
#include "cpu/alu.h"
#include "cpu_steps.h"
#include "machine/cpu_state.h"
#include "test_cartridge.h"

namespace tov {
namespace {

class Alu : public testing::Test {
protected:
    static void SetUpTestSuite() {
        test::reset_test_state();
        static test::test_cartridge cartridge;
        ASSERT_TRUE(cartridge.load());
    }
};

enum class alu_op { add, adc, sub, sbc, and_, xor_, or_, cp };

struct alu_case {
    alu_op op;
    uint8_t a, v;
    int carry_in;
    uint8_t result;
    const char* flags;
};

// Opcode of the B form of each operation (B, C, D, E, H, L, (HL), A follow)
// and of its immediate form.
uint8_t register_opcode(alu_op op) {
    return static_cast<uint8_t>(0x80 + 8 * static_cast<int>(op));
}
uint8_t immediate_opcode(alu_op op) {
    return static_cast<uint8_t>(0xC6 + 8 * static_cast<int>(op));
}

// clang-format off
const alu_case alu_cases[] = {
    // ADD
    {alu_op::add, 0x00, 0x00, 1, 0x00, "Z---"}, {alu_op::add, 0x00, 0x01, 1, 0x01, "----"},
    {alu_op::add, 0x01, 0x01, 1, 0x02, "----"}, {alu_op::add, 0x0F, 0x01, 1, 0x10, "--H-"},
    {alu_op::add, 0x10, 0x01, 1, 0x11, "----"}, {alu_op::add, 0x7F, 0x01, 1, 0x80, "--H-"},
    {alu_op::add, 0x80, 0x80, 1, 0x00, "Z--C"}, {alu_op::add, 0xFF, 0x01, 1, 0x00, "Z-HC"},
    {alu_op::add, 0xFF, 0xFF, 1, 0xFE, "--HC"}, {alu_op::add, 0x10, 0x0F, 1, 0x1F, "----"},
    {alu_op::add, 0x80, 0x7F, 1, 0xFF, "----"}, {alu_op::add, 0x05, 0x00, 1, 0x05, "----"},
    // ADC
    {alu_op::adc, 0x00, 0x00, 0, 0x00, "Z---"}, {alu_op::adc, 0x00, 0x01, 0, 0x01, "----"},
    {alu_op::adc, 0x01, 0x01, 0, 0x02, "----"}, {alu_op::adc, 0x0F, 0x01, 0, 0x10, "--H-"},
    {alu_op::adc, 0x10, 0x01, 0, 0x11, "----"}, {alu_op::adc, 0x7F, 0x01, 0, 0x80, "--H-"},
    {alu_op::adc, 0x80, 0x80, 0, 0x00, "Z--C"}, {alu_op::adc, 0xFF, 0x01, 0, 0x00, "Z-HC"},
    {alu_op::adc, 0xFF, 0xFF, 0, 0xFE, "--HC"}, {alu_op::adc, 0x10, 0x0F, 0, 0x1F, "----"},
    {alu_op::adc, 0x80, 0x7F, 0, 0xFF, "----"}, {alu_op::adc, 0x05, 0x00, 0, 0x05, "----"},
    {alu_op::adc, 0x00, 0x00, 1, 0x01, "----"}, {alu_op::adc, 0x00, 0x01, 1, 0x02, "----"},
    {alu_op::adc, 0x01, 0x01, 1, 0x03, "----"}, {alu_op::adc, 0x0F, 0x01, 1, 0x11, "--H-"},
    {alu_op::adc, 0x10, 0x01, 1, 0x12, "----"}, {alu_op::adc, 0x7F, 0x01, 1, 0x81, "--H-"},
    {alu_op::adc, 0x80, 0x80, 1, 0x01, "---C"}, {alu_op::adc, 0xFF, 0x01, 1, 0x01, "--HC"},
    {alu_op::adc, 0xFF, 0xFF, 1, 0xFF, "--HC"}, {alu_op::adc, 0x10, 0x0F, 1, 0x20, "--H-"},
    {alu_op::adc, 0x80, 0x7F, 1, 0x00, "Z-HC"}, {alu_op::adc, 0x05, 0x00, 1, 0x06, "----"},
    // SUB
    {alu_op::sub, 0x00, 0x00, 1, 0x00, "ZN--"}, {alu_op::sub, 0x00, 0x01, 1, 0xFF, "-NHC"},
    {alu_op::sub, 0x01, 0x01, 1, 0x00, "ZN--"}, {alu_op::sub, 0x0F, 0x01, 1, 0x0E, "-N--"},
    {alu_op::sub, 0x10, 0x01, 1, 0x0F, "-NH-"}, {alu_op::sub, 0x7F, 0x01, 1, 0x7E, "-N--"},
    {alu_op::sub, 0x80, 0x80, 1, 0x00, "ZN--"}, {alu_op::sub, 0xFF, 0x01, 1, 0xFE, "-N--"},
    {alu_op::sub, 0xFF, 0xFF, 1, 0x00, "ZN--"}, {alu_op::sub, 0x10, 0x0F, 1, 0x01, "-NH-"},
    {alu_op::sub, 0x80, 0x7F, 1, 0x01, "-NH-"}, {alu_op::sub, 0x05, 0x00, 1, 0x05, "-N--"},
    // SBC
    {alu_op::sbc, 0x00, 0x00, 0, 0x00, "ZN--"}, {alu_op::sbc, 0x00, 0x01, 0, 0xFF, "-NHC"},
    {alu_op::sbc, 0x01, 0x01, 0, 0x00, "ZN--"}, {alu_op::sbc, 0x0F, 0x01, 0, 0x0E, "-N--"},
    {alu_op::sbc, 0x10, 0x01, 0, 0x0F, "-NH-"}, {alu_op::sbc, 0x7F, 0x01, 0, 0x7E, "-N--"},
    {alu_op::sbc, 0x80, 0x80, 0, 0x00, "ZN--"}, {alu_op::sbc, 0xFF, 0x01, 0, 0xFE, "-N--"},
    {alu_op::sbc, 0xFF, 0xFF, 0, 0x00, "ZN--"}, {alu_op::sbc, 0x10, 0x0F, 0, 0x01, "-NH-"},
    {alu_op::sbc, 0x80, 0x7F, 0, 0x01, "-NH-"}, {alu_op::sbc, 0x05, 0x00, 0, 0x05, "-N--"},
    {alu_op::sbc, 0x00, 0x00, 1, 0xFF, "-NHC"}, {alu_op::sbc, 0x00, 0x01, 1, 0xFE, "-NHC"},
    {alu_op::sbc, 0x01, 0x01, 1, 0xFF, "-NHC"}, {alu_op::sbc, 0x0F, 0x01, 1, 0x0D, "-N--"},
    {alu_op::sbc, 0x10, 0x01, 1, 0x0E, "-NH-"}, {alu_op::sbc, 0x7F, 0x01, 1, 0x7D, "-N--"},
    {alu_op::sbc, 0x80, 0x80, 1, 0xFF, "-NHC"}, {alu_op::sbc, 0xFF, 0x01, 1, 0xFD, "-N--"},
    {alu_op::sbc, 0xFF, 0xFF, 1, 0xFF, "-NHC"}, {alu_op::sbc, 0x10, 0x0F, 1, 0x00, "ZNH-"},
    {alu_op::sbc, 0x80, 0x7F, 1, 0x00, "ZNH-"}, {alu_op::sbc, 0x05, 0x00, 1, 0x04, "-N--"},
    // AND
    {alu_op::and_, 0x00, 0x00, 1, 0x00, "Z-H-"}, {alu_op::and_, 0x00, 0x01, 1, 0x00, "Z-H-"},
    {alu_op::and_, 0x01, 0x01, 1, 0x01, "--H-"}, {alu_op::and_, 0x0F, 0x01, 1, 0x01, "--H-"},
    {alu_op::and_, 0x10, 0x01, 1, 0x00, "Z-H-"}, {alu_op::and_, 0x7F, 0x01, 1, 0x01, "--H-"},
    {alu_op::and_, 0x80, 0x80, 1, 0x80, "--H-"}, {alu_op::and_, 0xFF, 0x01, 1, 0x01, "--H-"},
    {alu_op::and_, 0xFF, 0xFF, 1, 0xFF, "--H-"}, {alu_op::and_, 0x10, 0x0F, 1, 0x00, "Z-H-"},
    {alu_op::and_, 0x80, 0x7F, 1, 0x00, "Z-H-"}, {alu_op::and_, 0x05, 0x00, 1, 0x00, "Z-H-"},
    // XOR
    {alu_op::xor_, 0x00, 0x00, 1, 0x00, "Z---"}, {alu_op::xor_, 0x00, 0x01, 1, 0x01, "----"},
    {alu_op::xor_, 0x01, 0x01, 1, 0x00, "Z---"}, {alu_op::xor_, 0x0F, 0x01, 1, 0x0E, "----"},
    {alu_op::xor_, 0x10, 0x01, 1, 0x11, "----"}, {alu_op::xor_, 0x7F, 0x01, 1, 0x7E, "----"},
    {alu_op::xor_, 0x80, 0x80, 1, 0x00, "Z---"}, {alu_op::xor_, 0xFF, 0x01, 1, 0xFE, "----"},
    {alu_op::xor_, 0xFF, 0xFF, 1, 0x00, "Z---"}, {alu_op::xor_, 0x10, 0x0F, 1, 0x1F, "----"},
    {alu_op::xor_, 0x80, 0x7F, 1, 0xFF, "----"}, {alu_op::xor_, 0x05, 0x00, 1, 0x05, "----"},
    // OR
    {alu_op::or_, 0x00, 0x00, 1, 0x00, "Z---"}, {alu_op::or_, 0x00, 0x01, 1, 0x01, "----"},
    {alu_op::or_, 0x01, 0x01, 1, 0x01, "----"}, {alu_op::or_, 0x0F, 0x01, 1, 0x0F, "----"},
    {alu_op::or_, 0x10, 0x01, 1, 0x11, "----"}, {alu_op::or_, 0x7F, 0x01, 1, 0x7F, "----"},
    {alu_op::or_, 0x80, 0x80, 1, 0x80, "----"}, {alu_op::or_, 0xFF, 0x01, 1, 0xFF, "----"},
    {alu_op::or_, 0xFF, 0xFF, 1, 0xFF, "----"}, {alu_op::or_, 0x10, 0x0F, 1, 0x1F, "----"},
    {alu_op::or_, 0x80, 0x7F, 1, 0xFF, "----"}, {alu_op::or_, 0x05, 0x00, 1, 0x05, "----"},
    // CP
    {alu_op::cp, 0x00, 0x00, 1, 0x00, "ZN--"}, {alu_op::cp, 0x00, 0x01, 1, 0x00, "-NHC"},
    {alu_op::cp, 0x01, 0x01, 1, 0x01, "ZN--"}, {alu_op::cp, 0x0F, 0x01, 1, 0x0F, "-N--"},
    {alu_op::cp, 0x10, 0x01, 1, 0x10, "-NH-"}, {alu_op::cp, 0x7F, 0x01, 1, 0x7F, "-N--"},
    {alu_op::cp, 0x80, 0x80, 1, 0x80, "ZN--"}, {alu_op::cp, 0xFF, 0x01, 1, 0xFF, "-N--"},
    {alu_op::cp, 0xFF, 0xFF, 1, 0xFF, "ZN--"}, {alu_op::cp, 0x10, 0x0F, 1, 0x10, "-NH-"},
    {alu_op::cp, 0x80, 0x7F, 1, 0x80, "-NH-"}, {alu_op::cp, 0x05, 0x00, 1, 0x05, "-N--"},
};
// clang-format on

// Each operation over boundary operands, through every operand form: the six
// registers, (HL), and the immediate byte.
TEST_F(Alu, EightBitOperationsInEveryOperandForm) {
    for (const alu_case& test : alu_cases) {
        for (int code = 0; code <= 7; ++code) {
            if (code == 7) {
                continue;  // A as operand: covered below
            }
            SCOPED_TRACE(testing::Message()
                         << "op " << static_cast<int>(test.op) << " A=" << std::hex << +test.a
                         << " v=" << +test.v << " c=" << test.carry_in << " operand " << code);
            HL.value = 0xC800;
            write_operand(code, test.v);
            A = test.a;
            flag_c = test.carry_in;
            test::execute_one({static_cast<uint8_t>(register_opcode(test.op) + code)});
            EXPECT_EQ(A, test.result);
            EXPECT_EQ(test::flag_text(), test.flags);
            EXPECT_EQ(PC.value, test::code_address + 1);
        }
        A = test.a;
        flag_c = test.carry_in;
        test::execute_one({immediate_opcode(test.op), test.v});
        EXPECT_EQ(A, test.result) << "immediate";
        EXPECT_EQ(test::flag_text(), test.flags) << "immediate";
        EXPECT_EQ(PC.value, test::code_address + 2);
    }
}

TEST_F(Alu, IncrementAndDecrementKeepCarry) {
    struct case_t {
        uint8_t v;
        int carry;
        uint8_t inc;
        const char* inc_flags;
        uint8_t dec;
        const char* dec_flags;
    };
    // clang-format off
    const case_t cases[] = {
        {0x00, 0, 0x01, "----", 0xFF, "-NH-"}, {0x00, 1, 0x01, "---C", 0xFF, "-NHC"},
        {0x01, 0, 0x02, "----", 0x00, "ZN--"}, {0x01, 1, 0x02, "---C", 0x00, "ZN-C"},
        {0x0F, 0, 0x10, "--H-", 0x0E, "-N--"}, {0x0F, 1, 0x10, "--HC", 0x0E, "-N-C"},
        {0x10, 0, 0x11, "----", 0x0F, "-NH-"}, {0x10, 1, 0x11, "---C", 0x0F, "-NHC"},
        {0x7F, 0, 0x80, "--H-", 0x7E, "-N--"}, {0x7F, 1, 0x80, "--HC", 0x7E, "-N-C"},
        {0x80, 0, 0x81, "----", 0x7F, "-NH-"}, {0x80, 1, 0x81, "---C", 0x7F, "-NHC"},
        {0xFF, 0, 0x00, "Z-H-", 0xFE, "-N--"}, {0xFF, 1, 0x00, "Z-HC", 0xFE, "-N-C"},
    };
    // clang-format on
    for (const case_t& test : cases) {
        for (int code = 0; code <= 7; ++code) {
            SCOPED_TRACE(testing::Message() << std::hex << +test.v << " operand " << code);
            HL.value = 0xC800;
            write_operand(code, test.v);
            flag_c = test.carry;
            test::execute_one({static_cast<uint8_t>(0x04 + 8 * code)});
            EXPECT_EQ(read_operand(code), test.inc);
            EXPECT_EQ(test::flag_text(), test.inc_flags);

            HL.value = 0xC800;
            write_operand(code, test.v);
            test::execute_one({static_cast<uint8_t>(0x05 + 8 * code)});
            EXPECT_EQ(read_operand(code), test.dec);
            EXPECT_EQ(test::flag_text(), test.dec_flags);
        }
    }
}

TEST_F(Alu, SixteenBitIncrementAndDecrementWrapAndLeaveFlags) {
    struct case_t {
        uint8_t inc, dec;
        register_pair& pair;
    };
    const case_t cases[] = {{0x03, 0x0B, BC}, {0x13, 0x1B, DE}, {0x23, 0x2B, HL}, {0x33, 0x3B, SP}};
    for (const case_t& test : cases) {
        test::set_flags("-NH-");
        test.pair.value = 0xFFFF;
        test::execute_one({test.inc});
        EXPECT_EQ(test.pair.value, 0x0000);
        test::execute_one({test.dec});
        EXPECT_EQ(test.pair.value, 0xFFFF);
        EXPECT_EQ(test::flag_text(), "-NH-");
    }
}

TEST_F(Alu, AddHlSetsHalfCarryFromBitElevenAndKeepsZero) {
    struct case_t {
        int32_t hl, rr, result;
        const char* flags;  // Z is set beforehand and must stay
    };
    const case_t cases[] = {
        {0x0FFF, 0x0001, 0x1000, "Z-H-"}, {0xFFFF, 0x0001, 0x0000, "Z-HC"},
        {0x8000, 0x8000, 0x0000, "Z--C"}, {0x1234, 0x1111, 0x2345, "Z---"},
        {0x0FFF, 0x0FFF, 0x1FFE, "Z-H-"}, {0xF000, 0x1000, 0x0000, "Z--C"},
    };
    for (const case_t& test : cases) {
        HL.value = test.hl;
        BC.value = test.rr;
        test::set_flags("ZN--");
        test::execute_one({0x09});
        EXPECT_EQ(HL.value, test.result);
        EXPECT_EQ(test::flag_text(), test.flags) << std::hex << test.hl << "+" << test.rr;
    }
    HL.value = 0x8888;
    test::execute_one({0x29});
    EXPECT_EQ(HL.value, 0x1110) << "ADD HL,HL";
    SP.value = 0x0F00;
    HL.value = 0x0100;
    test::execute_one({0x39});
    EXPECT_EQ(HL.value, 0x1000) << "ADD HL,SP";
}

TEST_F(Alu, SignedOffsetsFromSp) {
    struct case_t {
        int32_t sp;
        uint8_t e;
        int32_t result;
        const char* flags;
    };
    const case_t cases[] = {
        {0xFFFF, 0x01, 0x0000, "--HC"}, {0x0005, 0xF8, 0xFFFD, "---C"},
        {0x0FFF, 0x01, 0x1000, "--H-"}, {0x1000, 0xFF, 0x0FFF, "----"},
        {0x00FF, 0x01, 0x0100, "----"}, {0xFFF8, 0x08, 0x0000, "--HC"},
        {0x0000, 0x80, 0xFF80, "---C"}, {0x1234, 0x7F, 0x12B3, "----"},
    };
    for (const case_t& test : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << test.sp << " + " << +test.e);
        SP.value = test.sp;
        test::set_flags("ZN--");
        test::execute_one({0xE8, test.e});
        EXPECT_EQ(SP.value, test.result) << "ADD SP,e";
        EXPECT_EQ(test::flag_text(), test.flags);
        EXPECT_EQ(PC.value, test::code_address + 2);

        SP.value = test.sp;
        HL.value = 0;
        test::set_flags("ZN--");
        test::execute_one({0xF8, test.e});
        EXPECT_EQ(HL.value, test.result) << "LD HL,SP+e";
        EXPECT_EQ(SP.value, test.sp);
        EXPECT_EQ(test::flag_text(), test.flags);
    }
}

TEST_F(Alu, DecimalAdjust) {
    struct case_t {
        uint8_t a;
        const char* flags_in;
        uint8_t result;
        const char* flags_out;
    };
    const case_t cases[] = {
        {0x7D, "----", 0x83, "----"}, {0x00, "----", 0x00, "Z---"}, {0x9A, "----", 0x00, "Z--C"},
        {0x0A, "----", 0x10, "----"}, {0xA0, "----", 0x00, "Z--C"}, {0x99, "----", 0x99, "----"},
        {0x15, "--H-", 0x1B, "----"}, {0x15, "---C", 0x75, "---C"}, {0xFF, "----", 0x05, "----"},
        {0x45, "-N--", 0x45, "-N--"}, {0x0F, "-NH-", 0x09, "-N--"}, {0x00, "-NH-", 0x9A, "-N-C"},
        {0x60, "-N-C", 0x00, "ZN-C"}, {0x03, "-NHC", 0x9D, "-N-C"}, {0xFA, "-N--", 0x94, "-N-C"},
        {0x9A, "---C", 0x00, "Z--C"},
    };
    for (const case_t& test : cases) {
        A = test.a;
        test::set_flags(test.flags_in);
        test::execute_one({0x27});
        EXPECT_EQ(A, test.result) << std::hex << +test.a << " " << test.flags_in;
        EXPECT_EQ(test::flag_text(), test.flags_out) << std::hex << +test.a << " " << test.flags_in;
    }
    // 45 + 38 = 7D, adjusted to the decimal sum 83.
    A = 0x45;
    B = 0x38;
    test::execute_one({0x80});
    test::execute_one({0x27});
    EXPECT_EQ(A, 0x83);
}

TEST_F(Alu, FlagInstructionsAndComplement) {
    struct case_t {
        uint8_t opcode;
        const char* flags_in;
        const char* flags_out;
    };
    const case_t cases[] = {
        {0x37, "ZNH-", "Z--C"}, {0x37, "----", "---C"}, {0x3F, "ZNH-", "Z--C"},
        {0x3F, "-NHC", "----"}, {0x2F, "---C", "-NHC"}, {0x2F, "Z---", "ZNH-"},
    };
    for (const case_t& test : cases) {
        A = 0x35;
        test::set_flags(test.flags_in);
        test::execute_one({test.opcode});
        EXPECT_EQ(test::flag_text(), test.flags_out) << std::hex << +test.opcode;
        EXPECT_EQ(A, test.opcode == 0x2F ? 0xCA : 0x35);
    }
}

// One-byte instructions on A: A as its own ALU operand, and the rotates,
// which clear Z whatever the result.
TEST_F(Alu, AccumulatorInstructions) {
    struct case_t {
        uint8_t opcode, a;
        int carry_in;
        uint8_t result;
        const char* flags;
    };
    const case_t cases[] = {
        {0x87, 0x80, 0, 0x00, "Z--C"}, {0x87, 0x08, 0, 0x10, "--H-"}, {0x8F, 0x80, 1, 0x01, "---C"},
        {0x97, 0x42, 1, 0x00, "ZN--"}, {0x9F, 0x42, 1, 0xFF, "-NHC"}, {0xA7, 0x00, 1, 0x00, "Z-H-"},
        {0xAF, 0x42, 1, 0x00, "Z---"}, {0xB7, 0x42, 1, 0x42, "----"}, {0xBF, 0x42, 1, 0x42, "ZN--"},
        {0x07, 0x00, 1, 0x00, "----"}, {0x07, 0x85, 0, 0x0B, "---C"}, {0x07, 0x40, 1, 0x80, "----"},
        {0x0F, 0x00, 1, 0x00, "----"}, {0x0F, 0x01, 0, 0x80, "---C"}, {0x0F, 0x82, 1, 0x41, "----"},
        {0x17, 0x80, 0, 0x00, "---C"}, {0x17, 0x80, 1, 0x01, "---C"}, {0x17, 0x40, 1, 0x81, "----"},
        {0x1F, 0x01, 0, 0x00, "---C"}, {0x1F, 0x01, 1, 0x80, "---C"}, {0x1F, 0x02, 1, 0x81, "----"},
    };
    for (const case_t& test : cases) {
        A = test.a;
        test::set_flags("ZNH-");
        flag_c = test.carry_in;
        test::execute_one({test.opcode});
        EXPECT_EQ(A, test.result) << std::hex << +test.opcode << " " << +test.a;
        EXPECT_EQ(test::flag_text(), test.flags) << std::hex << +test.opcode << " " << +test.a;
    }
}

TEST(AluTables, ZeroAndSwap) {
    EXPECT_EQ(zero_table[0], 1);
    for (int v = 1; v < 256; ++v) {
        EXPECT_EQ(zero_table[v], 0);
    }
    EXPECT_EQ(swap_table[0x12], 0x21);
    EXPECT_EQ(swap_table[0xF0], 0x0F);
    EXPECT_EQ(swap_table[0xA5], 0x5A);
}

}  // namespace
}  // namespace tov
