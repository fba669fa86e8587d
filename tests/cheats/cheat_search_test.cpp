#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "classic/memory/memory_map.h"
#include "cpu_steps.h"
#include "host/keyboard.h"
#include "machine/cpu_state.h"
#include "machine/registers.h"
#include "memory/freeze_list.h"
#include "memory/joypad.h"
#include "session/cheat_search.h"
#include "test_cartridge.h"

namespace tov {
namespace {

using CheatTest = test::machine_test;

// Addresses that a game changes between two search steps.
struct change {
    int32_t address;
    uint8_t before, after;
};

void apply(const std::vector<change>& changes, bool after) {
    for (const change& c : changes) {
        write_byte(c.address, after ? c.after : c.before);
    }
}

TEST_F(CheatTest, EachModeNarrowsToTheAddressesItKeeps) {
    const std::vector<change> changes = {
        {0xC0A5, 0x03, 0x04},  // went up; E0A5 echoes it
        {0xD123, 0x09, 0x02},  // went down; F123 echoes it
        {0x9800, 0x5A, 0x5A},  // kept a value no other address holds
    };
    struct mode_case {
        search_mode mode;
        int32_t typed;
        int32_t count;
        std::vector<std::string> lines;  // when fewer than 100 are left
    };
    const mode_case cases[] = {
        {search_mode::increased, 0, 2, {"4 on C0A5", "4 on E0A5"}},
        {search_mode::decreased, 0, 2, {"2 on D123", "2 on F123"}},
        {search_mode::changed, 0, 4, {"4 on C0A5", "2 on D123", "4 on E0A5", "2 on F123"}},
        {search_mode::unchanged, 0, 0x7FFF - 4, {}},
        {search_mode::equals_value, 0x5A, 1, {"5A on 9800"}},
        {search_mode::equals_value, 0x09, 2, {"2 on D123", "2 on F123"}},  // recorded before
    };
    for (const mode_case& test : cases) {
        apply(changes, false);
        start_search();
        ASSERT_EQ(candidate_count, 0x7FFF);
        apply(changes, true);
        narrow_search(test.mode, test.typed);
        EXPECT_EQ(candidate_count, test.count) << static_cast<int>(test.mode);
        if (test.count < 100) {
            EXPECT_EQ(candidate_lines(), test.lines) << static_cast<int>(test.mode);
        }
    }
}

TEST_F(CheatTest, SearchNarrowsStepByStepAndMarksTheLeavers) {
    write_byte(0x8010, 3);  // video RAM: no echo
    start_search();
    narrow_search(search_mode::unchanged, 0);
    EXPECT_EQ(candidate_count, 0x7FFF) << "nothing changed";
    write_byte(0x8010, 2);
    write_byte(0x8011, 7);
    narrow_search(search_mode::changed, 0);
    EXPECT_EQ(candidate_count, 2);
    EXPECT_EQ(candidates[0x8012 - 0x8000], eliminated_mark);
    EXPECT_EQ(candidates[0x8010 - 0x8000], 2) << "a kept address records its value";
    write_byte(0x8010, 1);
    narrow_search(search_mode::decreased, 0);
    EXPECT_EQ(candidate_lines(), std::vector<std::string>{"1 on 8010"});
    narrow_search(search_mode::increased, 0);
    EXPECT_EQ(candidate_count, 0);
    EXPECT_TRUE(candidate_lines().empty());
    start_search();
    EXPECT_EQ(candidate_count, 0x7FFF) << "a new search starts over";
}

TEST(HexText, OnlyHexDigitsOfTheRightLengthAreValues) {
    struct hex_case {
        const char* text;
        std::optional<int32_t> four, two;
    };
    const hex_case cases[] = {
        {"C0A5", 0xC0A5, std::nullopt},       {"c0a5", 0xC0A5, std::nullopt},
        {"0000", 0x0000, std::nullopt},       {"FFFF", 0xFFFF, std::nullopt},
        {"C0A", std::nullopt, std::nullopt},  {"C0A51", std::nullopt, std::nullopt},
        {"C0AG", std::nullopt, std::nullopt}, {" C0A", std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},     {"5", std::nullopt, 0x05},
        {"05", std::nullopt, 0x05},           {"fF", std::nullopt, 0xFF},
        {"3a", std::nullopt, 0x3A},           {"G", std::nullopt, std::nullopt},
        {"-1", std::nullopt, std::nullopt},   {"123", std::nullopt, std::nullopt},
        {"0x", std::nullopt, std::nullopt},
    };
    for (const hex_case& test : cases) {
        EXPECT_EQ(parse_hex4(test.text), test.four) << '"' << test.text << '"';
        EXPECT_EQ(parse_hex2(test.text), test.two) << '"' << test.text << '"';
    }
}

TEST_F(CheatTest, FrozenAddressReadsItsValueWhileTheSearchSeesMemory) {
    ASSERT_TRUE(add_freeze(0xC0A5, 0x03, "lives"));
    write_byte(0xC0A5, 0x09);               // the game writes another value
    test::execute_one({0xFA, 0xA5, 0xC0});  // LD A,(C0A5)
    EXPECT_EQ(A, 0x03);
    EXPECT_EQ(read_byte(0xC0A5), 0x03);
    EXPECT_EQ(peek_byte(0xC0A5), 0x09);
    start_search();
    EXPECT_EQ(candidates[0xC0A5 - 0x8000], 0x09);
}

TEST_F(CheatTest, FirstEntryForAnAddressWins) {
    add_freeze(0xC0A5, 0x03, "first");
    add_freeze(0xC0A5, 0x07, "second");
    EXPECT_EQ(read_byte(0xC0A5), 0x03);
    EXPECT_EQ(freeze_count, 2);
}

TEST_F(CheatTest, FrozenJoypadRegisterIsNotRefreshed) {
    write_byte(0xFF00, 0x10);  // buttons selected
    add_freeze(0xFF00, 0x2F, "pad");
    key_down(key_map[button_a]);
    EXPECT_EQ(read_byte(0xFF00), 0x2F);
    EXPECT_EQ(io_page[P1], 0x10) << "the keyboard was not read";
    key_up(key_map[button_a]);
}

TEST_F(CheatTest, FreezeListHoldsAtMost256Entries) {
    for (int32_t i = 0; i < 256; ++i) {
        ASSERT_TRUE(add_freeze(0xC000 + i, i, "x"));
    }
    EXPECT_FALSE(add_freeze(0xD000, 0x01, "one too many"));
    EXPECT_EQ(freeze_count, 256);
    EXPECT_EQ(freeze_table[255].address, 0xC0FF);
    EXPECT_EQ(read_byte(0xD000), peek_byte(0xD000)) << "the refused entry is not in force";
}

TEST_F(CheatTest, FreezeLinesArePaddedTo16Characters) {
    add_freeze(0xC0A5, 0x3, "unnamed");
    add_freeze(0xFFFF, 0xFF, "interrupts");
    add_freeze(0x0, 0x0, "a name longer than fifteen");
    add_freeze(0x1C0A5, 0x1FF, "");
    EXPECT_EQ(freeze_line(0), "0xC0A5 = 0x3    unnamed");
    EXPECT_EQ(freeze_line(1), "0xFFFF = 0xFF   interrupts");
    EXPECT_EQ(freeze_line(2), "0x0 = 0x0       a name longer t");
    EXPECT_EQ(freeze_line(3), "0xC0A5 = 0xFF   ") << "address and value kept in range";
}

}  // namespace
}  // namespace tov
