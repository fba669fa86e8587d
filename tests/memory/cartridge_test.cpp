#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "machine/cpu_state.h"
#include "machine/registers.h"
#include "memory/cartridge.h"
#include "memory/cartridge_info.h"
#include "memory/memory_map.h"
#include "test_cartridge.h"

namespace tov {
namespace {

class Cartridge : public testing::Test {
protected:
    void SetUp() override { test::reset_test_state(); }
};

TEST_F(Cartridge, PowerOnIoValues) {
    struct case_t {
        int32_t address;
        uint8_t value;
    };
    const case_t cases[] = {
        {0xFF00, 0xCF}, {0xFF01, 0x00}, {0xFF02, 0x7E}, {0xFF03, 0xFF}, {0xFF04, 0xAF},
        {0xFF07, 0x00}, {0xFF08, 0xFF}, {0xFF0E, 0xFF}, {0xFF0F, 0x00}, {0xFF10, 0x80},
        {0xFF11, 0xBF}, {0xFF1E, 0xFF}, {0xFF24, 0x77}, {0xFF25, 0xF3}, {0xFF26, 0xF1},
        {0xFF30, 0x06}, {0xFF3F, 0xF7}, {0xFF40, 0x91}, {0xFF41, 0x85}, {0xFF44, 0x00},
        {0xFF47, 0xFC}, {0xFF48, 0xFF}, {0xFF49, 0xFF}, {0xFF4D, 0x7F}, {0xFF4F, 0xFE},
        {0xFF55, 0xFF}, {0xFF68, 0xC0}, {0xFF6A, 0xC1}, {0xFF70, 0xF8}, {0xFFFF, 0x00},
        {0xFF57, 0x00}, {0xFF80, 0x00}, {0xFFFE, 0x00},
    };
    for (const uint8_t flag : {uint8_t{0x00}, uint8_t{0xC0}}) {
        std::fill(io_page, io_page + 256, 0xEE);
        test::test_cartridge cartridge;
        cartridge.colour_flag(flag);
        ASSERT_TRUE(cartridge.load());
        for (const case_t& test : cases) {
            EXPECT_EQ(peek_byte(test.address), test.value)
                << std::hex << test.address << " colour flag " << +flag;
        }
        EXPECT_EQ(wram_bank, 0) << "FF70 holds F8 but is stored plainly";
        EXPECT_EQ(ram_enable, 1);
        EXPECT_EQ(rom_bank, 1);
        EXPECT_EQ(ram_bank, 0);
    }
}

TEST_F(Cartridge, PowerOnClearsMemoriesButKeepsCartridgeRamAndBankMode) {
    test::test_cartridge cartridge;
    ASSERT_TRUE(cartridge.load());
    write_byte(0xA000, 0x12);
    write_byte(0x6000, 0x01);
    write_byte(0x8000, 0x34);
    write_byte(0xC000, 0x56);
    write_byte(0xD000, 0x78);
    write_byte(0xFE00, 0x9A);
    write_byte(0xFF80, 0xBC);
    write_byte(0xFFFF, 0x1F);
    write_byte(0x2000, 0x05);
    write_byte(0x4000, 0x02);

    ASSERT_TRUE(load_cartridge()) << "Reset loads the same file again";
    write_byte(0x4000, 0x00);
    EXPECT_EQ(read_byte(0xA000), 0x12);
    EXPECT_EQ(bank_mode, 1);
    EXPECT_EQ(read_byte(0x8000), 0x00);
    EXPECT_EQ(read_byte(0xC000), 0x00);
    EXPECT_EQ(read_byte(0xE000), 0x00);
    EXPECT_EQ(read_byte(0xD000), 0x00);
    EXPECT_EQ(read_byte(0xFE00), 0x00);
    EXPECT_EQ(read_byte(0xFF80), 0x00);
    EXPECT_EQ(read_byte(0xFFFF), 0x00);
    EXPECT_EQ(rom_bank, 1);
}

TEST_F(Cartridge, ColourFlagSelectsTheMode) {
    struct case_t {
        uint8_t flag;
        uint8_t colour;
        const char* text;
    };
    const case_t cases[] = {
        {0x80, 1, "GB-COLOR"},  {0xC0, 1, "GB-COLOR"},  {0x40, 0, "GB-NORMAL"},
        {0x00, 0, "GB-NORMAL"}, {0xFF, 0, "GB-NORMAL"}, {0x81, 0, "GB-NORMAL"},
    };
    for (const case_t& test : cases) {
        test::test_cartridge cartridge;
        cartridge.colour_flag(test.flag);
        ASSERT_TRUE(cartridge.load());
        EXPECT_EQ(colour_mode, test.colour) << std::hex << +test.flag;
        EXPECT_STREQ(describe_colour(), test.text);
        EXPECT_EQ(AF.value, test.colour ? 0x11B0 : 0x01B0);
    }
}

TEST_F(Cartridge, TitleText) {
    test::test_cartridge cartridge;
    cartridge.title("TETRIS");
    ASSERT_TRUE(cartridge.load());
    EXPECT_STREQ(describe_title(), "NAME : TETRIS") << "a zero byte ends the title";

    cartridge.title("ABCDEFGHIJKLMNOP");
    ASSERT_TRUE(cartridge.load());
    EXPECT_STREQ(describe_title(), "NAME : ABCDEFGHIJKLMNOP  ");

    cartridge.title("FIFTEEN CHARS!!").colour_flag(0x80);
    ASSERT_TRUE(cartridge.load());
    EXPECT_STREQ(describe_title(), "NAME : FIFTEEN CHARS!!\x80  ") << "the colour byte shows";

    cartridge.title("");
    ASSERT_TRUE(cartridge.load());
    EXPECT_STREQ(describe_title(), "NAME : ");
}

TEST_F(Cartridge, HeaderCodeTexts) {
    struct case_t {
        int32_t address;
        uint8_t code;
        const char* (*describe)();
        const char* text;
    };
    const case_t cases[] = {
        {0x0147, 0x00, describe_type, "ROM ONLY"},
        {0x0147, 0x03, describe_type, "ROM+MBC1+RAM+BATT"},
        {0x0147, 0x10, describe_type, "ROM+MBC3+TIMER+RAM+BATT"},
        {0x0147, 0x1E, describe_type, "ROM+MBC5+RUMBLE+SRAM+BATT"},
        {0x0147, 0xFF, describe_type, "Hudson HuC-1"},
        {0x0148, 0x00, describe_rom_size, "256Kbit =  32KByte =   2 banks"},
        {0x0148, 0x07, describe_rom_size, "32Mbit =   4MByte = 256 banks"},
        {0x0148, 0x54, describe_rom_size, "12Mbit = 1.5MByte =  96 banks"},
        {0x0149, 0x00, describe_ram_size, "RAM : None"},
        {0x0149, 0x04, describe_ram_size, "RAM : 1MBit =128kB =16 banks"},
        {0x014A, 0x00, describe_destination, "Japanese"},
        {0x014A, 0x01, describe_destination, "Non-Japanese"},
        {0x014A, 0x02, describe_destination, "Language=Unknowlegdge"},
    };
    for (const case_t& test : cases) {
        test::test_cartridge cartridge;
        cartridge.byte(test.address, test.code);
        ASSERT_TRUE(cartridge.load());
        EXPECT_STREQ(test.describe(), test.text);
    }
}

TEST_F(Cartridge, UnknownCodesKeepThePreviousText) {
    test::test_cartridge cartridge;
    cartridge.byte(0x0147, 0x04).byte(0x0148, 0x08).byte(0x0149, 0x05).byte(0x014A, 0x00);
    ASSERT_TRUE(cartridge.load());
    EXPECT_STREQ(describe_destination(), "Japanese");
    EXPECT_STREQ(describe_type(), "Japanese");
    EXPECT_STREQ(describe_rom_size(), "Japanese");
    EXPECT_STREQ(describe_colour(), "GB-NORMAL");
    EXPECT_STREQ(describe_ram_size(), "GB-NORMAL");
}

TEST_F(Cartridge, BanksFollowTheFileLength) {
    // Fill columns 1-3 with a marker a shorter file must not reach.
    for (int bank = 1; bank <= 3; ++bank) {
        rom_banks[0 * 256 + bank] = 0xEE;
    }
    struct case_t {
        std::size_t size;
        int loaded_banks;  // columns 1 .. loaded_banks - 1 come from the file
    };
    const case_t cases[] = {{0x8000, 2}, {0xC000 + 100, 3}, {0x10000, 4}};
    for (const case_t& test : cases) {
        SCOPED_TRACE(test.size);
        test::test_cartridge cartridge(test.size);
        for (int bank = 1; bank * 0x4000 < static_cast<int>(test.size); ++bank) {
            cartridge.byte(bank * 0x4000, static_cast<uint8_t>(0x10 + bank));
        }
        ASSERT_TRUE(cartridge.load());
        for (int bank = 1; bank <= 3; ++bank) {
            const uint8_t expected = bank < test.loaded_banks ? 0x10 + bank : 0xEE;
            EXPECT_EQ(rom_banks[bank], expected) << "column " << bank;
            rom_banks[bank] = 0xEE;
        }
    }
}

TEST_F(Cartridge, ShortFileFillsOnlyTheStartOfBankZero) {
    test::test_cartridge full(0x8000);
    full.byte(0x3000, 0xAB).byte(0x4000, 0xCD);
    ASSERT_TRUE(full.load());

    test::test_cartridge short_file(0x200);
    short_file.byte(0x100, 0x00).byte(0x101, 0x18);
    ASSERT_TRUE(short_file.load());
    EXPECT_EQ(rom_bank0[0x0101], 0x18);
    EXPECT_EQ(rom_bank0[0x3000], 0xAB) << "the rest of bank 0 keeps its bytes";
    EXPECT_EQ(read_byte(0x4000), 0xCD) << "bank 1 keeps the previous cartridge's bytes";
}

TEST_F(Cartridge, FourMegabyteFileFillsEveryColumn) {
    test::test_cartridge cartridge(max_cartridge_size);
    cartridge.byte(255 * 0x4000 + 0x3FFF, 0x77);
    ASSERT_TRUE(cartridge.load());
    write_byte(0x2000, 0xFF);
    EXPECT_EQ(read_byte(0x7FFF), 0x77);
}

// The state a refused file must leave alone.
struct snapshot {
    int32_t pc, af, sp;
    uint8_t bank, wram0_byte, io_byte, colour;
    std::string path, title;

    static snapshot take() {
        return {PC.value,      AF.value,    SP.value, rom_bank,        wram0[0x10],
                io_page[0x80], colour_mode, rom_path, describe_title()};
    }
    bool operator==(const snapshot&) const = default;
};

TEST_F(Cartridge, UnusableFilesAreRefusedBeforeAnythingChanges) {
    test::test_cartridge running;
    running.title("RUNNING").colour_flag(0x80);
    ASSERT_TRUE(running.load());
    PC.value = 0x1234;
    write_byte(0x2000, 0x03);
    write_byte(0xC010, 0x42);
    write_byte(0xFF80, 0x24);

    const std::string missing = test::temp_path(".gb");
    const std::string folder = test::temp_path("_folder");
    std::filesystem::create_directory(folder);
    const std::string huge = test::temp_path(".gb");
    std::ofstream(huge).put('x');
    std::filesystem::resize_file(huge, max_cartridge_size + 1);
    const std::string empty = test::temp_path(".gb");
    std::ofstream{empty};

    struct case_t {
        std::string path;
        const char* reason_part;
    };
    const case_t cases[] = {
        {missing, "not a readable file"},
        {folder, "not a readable file"},
        {huge, "larger than 4 MiB"},
        {empty, "is empty"},
    };
    for (const case_t& test : cases) {
        const snapshot before = snapshot::take();
        std::string reason;
        EXPECT_FALSE(load_cartridge_file(test.path, &reason));
        EXPECT_NE(reason.find(test.reason_part), std::string::npos) << reason;
        EXPECT_NE(reason.find(test.path), std::string::npos) << "the message names the file";
        EXPECT_TRUE(before == snapshot::take()) << test.path;
    }
    std::filesystem::remove(folder);
    std::filesystem::remove(huge);
    std::filesystem::remove(empty);
}

}  // namespace
}  // namespace tov
