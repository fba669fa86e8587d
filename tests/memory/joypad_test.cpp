#include <gtest/gtest.h>

#include <vector>

#include "classic/memory/memory_map.h"
#include "host/key_names.h"
#include "host/keyboard.h"
#include "machine/registers.h"
#include "memory/joypad.h"
#include "test_cartridge.h"

namespace tov {
namespace {

class Joypad : public testing::Test {
protected:
    void SetUp() override { test::reset_test_state(); }
    void TearDown() override { test::reset_test_state(); }
};

TEST_F(Joypad, RowsReadTheHeldKeys) {
    struct case_t {
        uint8_t written;
        std::vector<int32_t> held;
        uint8_t read;
    };
    const case_t cases[] = {
        {0x20, {}, 0x2F},
        {0x20, {vk_down}, 0x27},
        {0x20, {vk_up}, 0x2B},
        {0x20, {vk_left, vk_right}, 0x2C},
        {0x10, {}, 0x1F},
        {0x10, {'A'}, 0x1E},
        {0x10, {'S'}, 0x1D},
        {0x10, {'F'}, 0x1B},
        {0x10, {'D'}, 0x17},
        {0x10, {vk_down}, 0x1F},
        {0x20, {'A'}, 0x2F},
        {0x2F, {vk_down}, 0x27},
        {0x30, {vk_down, 'A'}, 0x3F},
        {0xF0, {vk_down, 'A'}, 0xFF},
        {0xEF, {}, 0xEF},
        {0xEF, {vk_right}, 0xEE},
        {0x60, {vk_up}, 0x6B},
        {0xD0, {'A'}, 0xDE},
        {0x00, {}, 0x0F},
        {0x00, {vk_down, 'A'}, 0x06},
        {0xC0, {vk_right, 'S', 'D'}, 0xC4},
    };
    for (const case_t& test : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << +test.written);
        release_all_keys();
        for (const int32_t key : test.held) {
            key_down(key);
        }
        write_byte(0xFF00, test.written);
        EXPECT_EQ(read_byte(0xFF00), test.read);
        EXPECT_EQ(io_page[P1], test.read) << "the refresh rewrites the register";
    }
}

TEST_F(Joypad, EveryReadQueriesTheKeysAfresh) {
    write_byte(0xFF00, 0x20);
    key_down(vk_right);
    EXPECT_EQ(read_byte(0xFF00), 0x2E);
    key_up(vk_right);
    EXPECT_EQ(read_byte(0xFF00), 0x2F);
    key_down(vk_left);
    key_up(vk_left);
    EXPECT_EQ(read_byte(0xFF00), 0x2D) << "a tap between two reads is seen";
    EXPECT_EQ(read_byte(0xFF00), 0x2F);
}

TEST_F(Joypad, RemappedAndSharedKeys) {
    key_map[button_a] = vk_numpad0 + 5;
    key_map[button_start] = vk_numpad0 + 5;
    key_down(vk_numpad0 + 5);
    key_down('A');
    write_byte(0xFF00, 0x10);
    EXPECT_EQ(read_byte(0xFF00), 0x16) << "A and START share a key; the old A key is free";
}

TEST_F(Joypad, NegativeCodesInTheMapAreNeverPressed) {
    key_map[button_b] = -23;
    write_byte(0xFF00, 0x10);
    EXPECT_EQ(read_byte(0xFF00), 0x1F);
}

TEST(KeyNames, NamesAndCodes) {
    struct case_t {
        int32_t code;
        const char* name;
    };
    const case_t cases[] = {
        {0x26, "KEY_UP"},   {0x28, "KEY_DOWN"}, {0x25, "KEY_LEFT"}, {0x27, "KEY_RIGHT"},
        {0x60, "NUMPAD_0"}, {0x65, "NUMPAD_5"}, {0x69, "NUMPAD_9"}, {'A', "A"},
        {'Z', "Z"},         {'0', "0"},         {'9', "9"},         {vk_back, "Backspace"},
    };
    for (const case_t& test : cases) {
        EXPECT_EQ(key_name(test.code), test.name);
        EXPECT_EQ(key_code_from_name(test.name), test.code);
    }
    EXPECT_EQ(key_name('#'), "#") << "other codes show as their character";
    EXPECT_EQ(key_name(0x6A), "j");
}

TEST(KeyNames, TypedTextGivesItsFirstCharacterInUpperCase) {
    struct case_t {
        const char* text;
        int32_t code;
    };
    const case_t cases[] = {
        {"", 0},           {"q", 0x51},        {"quit", 0x51}, {"w", 0x57},   {"key_up", 0x4B},
        {"KEY_UPX", 0x4B}, {"numpad_1", 0x4E}, {"#", '#'},     {"\xE9", -23},
    };
    for (const case_t& test : cases) {
        EXPECT_EQ(key_code_from_name(test.text), test.code) << test.text;
    }
}

TEST(KeyNames, LabelsAreTheKeyboardsAndTheNamesStillRead) {
    struct case_t {
        int32_t code;
        const char* label;
    };
    const case_t cases[] = {
        {vk_up, "Up"},          {vk_down, "Down"}, {vk_left, "Left"}, {vk_right, "Right"},
        {0x60, "Num 0"},        {0x65, "Num 5"},   {0x69, "Num 9"},   {'A', "A"},
        {vk_back, "Backspace"}, {'0', "0"},        {'#', "#"},
    };
    for (const case_t& test : cases) {
        EXPECT_EQ(key_label(test.code), test.label);
        EXPECT_EQ(key_code_from_label(test.label), test.code);
        EXPECT_EQ(key_code_from_label(key_name(test.code)), test.code) << key_name(test.code);
    }
}

TEST(KeyNames, TypedLabelsAreReadInAnyCase) {
    struct case_t {
        const char* text;
        int32_t code;
    };
    const case_t cases[] = {
        {"up", vk_up}, {"NUM 5", 0x65}, {"backspace", vk_back}, {"d", 'D'}, {"upper", 'U'},
        {"num5", 'N'}, {"", 0},
    };
    for (const case_t& test : cases) {
        EXPECT_EQ(key_code_from_label(test.text), test.code) << test.text;
    }
}

}  // namespace
}  // namespace tov
