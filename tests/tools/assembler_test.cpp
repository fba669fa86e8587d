#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assembler.h"

namespace tov::assembler {
namespace {

// The bytes one line assembles to at address 0.
std::vector<uint8_t> bytes_of(const std::string& line, std::size_t count) {
    const assembly result = assemble(line);
    EXPECT_TRUE(result.ok()) << line << ": " << (result.errors.empty() ? "" : result.errors[0]);
    return std::vector<uint8_t>(result.image.begin(),
                                result.image.begin() + static_cast<std::ptrdiff_t>(count));
}

TEST(Assembler, InstructionEncodings) {
    struct case_t {
        const char* source;
        std::vector<uint8_t> bytes;
    };
    const case_t cases[] = {
        {"nop", {0x00}},
        {"ld bc, $1234", {0x01, 0x34, 0x12}},
        {"ld (bc), a", {0x02}},
        {"inc b", {0x04}},
        {"ld b, 7", {0x06, 0x07}},
        {"ld ($C000), sp", {0x08, 0x00, 0xC0}},
        {"add hl, de", {0x19}},
        {"ld a, [de]", {0x1A}},
        {"stop", {0x10}},
        {"jr 5", {0x18, 0x03}},
        {"jr nz, 0", {0x20, 0xFE}},
        {"ld (hl+), a", {0x22}},
        {"ld a, [hli]", {0x2A}},
        {"ld (hld), a", {0x32}},
        {"inc (hl)", {0x34}},
        {"ld (hl), $FF", {0x36, 0xFF}},
        {"jr c, 2", {0x38, 0x00}},
        {"ld sp, $DFFE", {0x31, 0xFE, 0xDF}},
        {"ld b, c", {0x41}},
        {"ld d, (hl)", {0x56}},
        {"ld (hl), e", {0x73}},
        {"halt", {0x76}},
        {"ld a, a", {0x7F}},
        {"add a, (hl)", {0x86}},
        {"adc a, c", {0x89}},
        {"sub b", {0x90}},
        {"sub a, b", {0x90}},
        {"sbc a, l", {0x9D}},
        {"and e", {0xA3}},
        {"xor a", {0xAF}},
        {"or (hl)", {0xB6}},
        {"cp a, h", {0xBC}},
        {"ret nz", {0xC0}},
        {"pop bc", {0xC1}},
        {"jp nz, $1234", {0xC2, 0x34, 0x12}},
        {"jp $0150", {0xC3, 0x50, 0x01}},
        {"call z, $4000", {0xCC, 0x00, 0x40}},
        {"push af", {0xF5}},
        {"add a, $10", {0xC6, 0x10}},
        {"rst $38", {0xFF}},
        {"rst 8", {0xCF}},
        {"ret", {0xC9}},
        {"call $1234", {0xCD, 0x34, 0x12}},
        {"reti", {0xD9}},
        {"cp 'A'", {0xFE, 0x41}},
        {"ldh ($80), a", {0xE0, 0x80}},
        {"ld (c), a", {0xE2}},
        {"ldh a, [c]", {0xF2}},
        {"add sp, -2", {0xE8, 0xFE}},
        {"jp (hl)", {0xE9}},
        {"jp hl", {0xE9}},
        {"ld ($C000), a", {0xEA, 0x00, 0xC0}},
        {"ldh a, ($44)", {0xF0, 0x44}},
        {"di", {0xF3}},
        {"ld hl, sp+5", {0xF8, 0x05}},
        {"ld hl, sp - 1", {0xF8, 0xFF}},
        {"ld sp, hl", {0xF9}},
        {"ld a, ($FF44)", {0xFA, 0x44, 0xFF}},
        {"ei", {0xFB}},
        {"rlc b", {0xCB, 0x00}},
        {"rr (hl)", {0xCB, 0x1E}},
        {"swap a", {0xCB, 0x37}},
        {"srl a", {0xCB, 0x3F}},
        {"bit 7, h", {0xCB, 0x7C}},
        {"res 0, (hl)", {0xCB, 0x86}},
        {"set 3, a", {0xCB, 0xDF}},
        {"LD A, $3C", {0x3E, 0x3C}},
    };
    for (const case_t& test : cases) {
        EXPECT_EQ(bytes_of(test.source, test.bytes.size()), test.bytes) << test.source;
    }
}

TEST(Assembler, LabelsConstantsAndData) {
    const assembly result = assemble(R"(
LCDC equ $FF40
COUNT = 3
        org $0100
start:  ld a, COUNT * 2 + 1   ; 0100
.loop:  dec a                 ; 0102
        jr nz, .loop          ; 0103
        ld (LCDC), a          ; 0105
        jp start              ; 0108
other:
.loop:  jr .loop              ; 010B
data:   db 1, 2, "Hi", 'x'
        dw $1234, data
        ds 3, $EE
after:
)");
    ASSERT_TRUE(result.ok()) << result.errors[0];
    EXPECT_EQ(result.symbols.at("start"), 0x0100);
    EXPECT_EQ(result.symbols.at("start.loop"), 0x0102);
    EXPECT_EQ(result.symbols.at("other.loop"), 0x010B);
    EXPECT_EQ(result.symbols.at("after"), 0x010D + 5 + 4 + 3);
    const std::vector<uint8_t> expected = {
        0x3E, 0x07, 0x3D, 0x20, 0xFD, 0xEA, 0x40, 0xFF, 0xC3, 0x00, 0x01, 0x18, 0xFE,
        0x01, 0x02, 'H',  'i',  'x',  0x34, 0x12, 0x0D, 0x01, 0xEE, 0xEE, 0xEE,
    };
    EXPECT_EQ(std::vector<uint8_t>(result.image.begin() + 0x100,
                                   result.image.begin() + 0x100 + expected.size()),
              expected);
    EXPECT_EQ(result.image.size(), 0x8000u) << "padded to two banks";
}

TEST(Assembler, ImageGrowsToWholeBanks) {
    EXPECT_EQ(assemble("org $8000\ndb 1").image.size(), 0xC000u);
    EXPECT_EQ(assemble("nop", 0).image.size(), 0x4000u);
}

TEST(Assembler, ErrorsNameTheLine) {
    struct case_t {
        const char* source;
        const char* error;
    };
    const case_t cases[] = {
        {"nop\nfrobnicate a", "line 2: no instruction 'frobnicate a'"},
        {"ld a, missing", "line 1: 'missing' is not defined"},
        {"jr far\nds 200\nfar:", "line 1: jump target is 200 bytes away"},
        {"ld a, 300", "line 1: value 300 does not fit a byte"},
        {"bit 8, a", "line 1: bit number 8 is out of 0..7"},
        {"x:\nx:", "line 2: 'x' is defined twice"},
        {"ld a, (1 + 2", "line 1: missing ')' in '(1 + 2'"},
        {"ld b, 1 / 0", "line 1: division by zero"},
        {"ld (hl), (hl)", "line 1: no instruction 'ld (hl),(hl)'"},
    };
    for (const case_t& test : cases) {
        const assembly result = assemble(test.source);
        ASSERT_FALSE(result.ok()) << test.source;
        EXPECT_EQ(result.errors[0], test.error) << test.source;
    }
}

}  // namespace
}  // namespace tov::assembler
