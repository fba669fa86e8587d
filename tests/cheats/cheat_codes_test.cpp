// Cheat codes decoded as the devices take them, and the cheat file's lines.
#include "cheats/cheat_codes.h"

#include <gtest/gtest.h>

namespace tov {
namespace {

TEST(CheatCodes, DecodeAsTheDevicesDo) {
    struct case_t {
        const char* text;
        bool rom_patch;
        int address;
        int value;
        int compare;
        int bank;
    };
    const case_t cases[] = {
        {"01FF10C0", false, 0xC010, 0xFF, -1, -1},        // address low byte first
        {"910500D0", false, 0xD000, 0x05, -1, 1},         // work RAM bank 1
        {"900500D0", false, 0xD000, 0x05, -1, 1},         // bank 0 means 1, as SVBK
        {"820744A0", false, 0xA044, 0x07, -1, 2},         // cartridge RAM bank 2
        {"0A1-B9F", true, 0x01B9, 0x0A, -1, -1},          // F of FCDE complemented
        {"068-5FF-E66", true, 0x085F, 0x06, 0x03, -1},    // E6 rotated right 2, XOR BA
        {" 05d-49c-e62 ", true, 0x3D49, 0x05, 0x02, -1},  // either case, spaces around
    };
    for (const case_t& test : cases) {
        SCOPED_TRACE(test.text);
        const decoded_cheat decoded = decode_cheat(test.text);
        ASSERT_TRUE(decoded.code) << decoded.outcome.message;
        EXPECT_EQ(decoded.code->rom_patch, test.rom_patch);
        EXPECT_EQ(decoded.code->address, test.address);
        EXPECT_EQ(decoded.code->value, test.value);
        EXPECT_EQ(decoded.code->compare, test.compare);
        EXPECT_EQ(decoded.code->bank, test.bank);
    }
}

TEST(CheatCodes, RefuseWhatDoesNotDecodeNamingTheBadPart) {
    struct case_t {
        const char* text;
        const char* message_part;
    };
    const case_t cases[] = {
        {"", "Type a GameShark code"},
        {"01FF10C", "8 hex digits, this one 7"},
        {"01FF10CG", "\"G\" is not a hex digit"},
        {"05FF10C0", "type 05"},
        {"910500C0", "type 91"},  // a work RAM bank outside D000-DFFF
        {"01FF0040", "address 4000 is not RAM"},
        {"01FF00FF", "address FF00 is not RAM"},
        {"0A1-B9", "three hex digits in each group"},
        {"0A1-B9F-", "three hex digits in each group"},
        {"0A1-B9F-E66-123", "two or three groups"},
        {"0A1-B97", "sixth digit 7"},
        {"0A1-BXF", "\"X\" is not a hex digit"},
    };
    for (const case_t& test : cases) {
        SCOPED_TRACE(test.text);
        const decoded_cheat decoded = decode_cheat(test.text);
        EXPECT_FALSE(decoded.code);
        EXPECT_NE(decoded.outcome.message.find(test.message_part), std::string::npos)
            << decoded.outcome.message;
    }
}

// The file keeps every entry as it was, a code that does not decode switched
// off, and names the lines that are not entries.
TEST(CheatCodes, FileLinesComeBackAsTheyWereWritten) {
    const std::vector<cheat_entry> entries = {
        {"01FF10C0", "Lives", true}, {"068-5FF-E66", "", false}, {"0A1-B9F", "Moon jump", true}};
    std::vector<int> skipped;
    const std::vector<cheat_entry> read =
        read_cheat_file_text(cheat_file_text(entries) + "on\tZZ\tbroken\nnonsense\n", skipped);
    ASSERT_EQ(read.size(), 4u);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(read[i].code, entries[i].code);
        EXPECT_EQ(read[i].name, entries[i].name);
        EXPECT_EQ(read[i].enabled, entries[i].enabled);
    }
    EXPECT_EQ(read[3].code, "ZZ");
    EXPECT_FALSE(read[3].enabled) << "a code that does not decode is kept, off";
    EXPECT_EQ(skipped, std::vector<int>{6});
}

}  // namespace
}  // namespace tov
