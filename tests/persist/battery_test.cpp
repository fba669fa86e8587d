#include <gtest/gtest.h>

#include <algorithm>

#include "classic/memory/memory_map.h"
#include "classic/state/battery.h"
#include "memory/cartridge.h"
#include "memory/io_registers.h"
#include "persist_fixture.h"
#include "test_archive.h"

namespace tov {
namespace {

using BatteryTest = test::persist_test;

uint8_t at(const std::string& bytes, std::size_t offset) {
    return static_cast<uint8_t>(bytes.at(offset));
}

TEST_F(BatteryTest, PathIsTheCartridgeFileNameInTheBatteryFolder) {
    rom_path = "/games/puzzle.gb";
    EXPECT_EQ(battery_path(), home_ / "BATTERY" / "puzzle.gb.sav");
    rom_path = "/elsewhere/puzzle.gb";
    EXPECT_EQ(battery_path(), home_ / "BATTERY" / "puzzle.gb.sav")
        << "cartridges with the same file name share one battery file";
}

TEST_F(BatteryTest, AnArchiveKeepsItsSaveUnderItsOwnFileName) {
    for (const test::archive_format format : test::all_archive_formats) {
        const std::string file_name = std::string("game.gb.") + test::file_ending(format);
        SCOPED_TRACE(file_name);
        const test::test_archive archive(format, {{"game.gb", cartridge_.image()}}, file_name);
        ASSERT_TRUE(test::power_on_cartridge(archive.path).ok);
        EXPECT_EQ(battery_path(), home_ / "BATTERY" / (file_name + ".sav"));
        write_byte(0x0000, 0x0A);
        write_byte(0xA123, 0x5A);
        save_battery();

        ASSERT_TRUE(cartridge_.load()) << "another cartridge in between";
        std::fill(std::begin(cart_ram), std::end(cart_ram), 0);
        ASSERT_TRUE(test::power_on_cartridge(archive.path).ok);
        load_battery();
        write_byte(0x0000, 0x0A);
        EXPECT_EQ(read_byte(0xA123), 0x5A) << "the same archive finds its save";
        EXPECT_TRUE(messages.empty());
    }
}

TEST_F(BatteryTest, FileHoldsEachMemoryAtItsOffset) {
    cart_ram[0 * 5 + 0] = 0xC0;       // bank 0, offset 0000
    cart_ram[0x0123 * 5 + 2] = 0xC2;  // bank 2, offset 0123
    cart_ram[0x1FFF * 5 + 4] = 0xC4;  // bank 4, offset 1FFF
    wram0[0x000] = 0xD0;
    wram0[0xFFF] = 0xDF;
    wram_banks[0x020 * 8 + 1] = 0xE1;  // index 1, offset 020
    wram_banks[0xFFF * 8 + 7] = 0xE7;  // index 7, offset FFF
    io_page[0x80] = 0xF0;
    io_page[0x90] = 0xF9;
    io_page[0xFF] = 0x1F;
    save_battery();
    const std::string bytes = test::file_bytes(battery_path());
    ASSERT_EQ(bytes.size(), 77966u);
    struct expected_byte {
        std::size_t offset;
        uint8_t value;
    };
    const expected_byte expected[] = {
        {0, 0xC0},     {16677, 0xC2}, {40963, 0xC4},  // chunks of 8193 bytes
        {40965, 0xD0}, {45060, 0xDF},                 // work RAM bank 0 after 5 chunks
        {49191, 0xE1}, {77836, 0xE7},                 // chunks of 4097 bytes
        {77838, 0xF0}, {77854, 0xF9}, {77965, 0x1F},  // FF80-FFFF, IE last
    };
    for (const expected_byte& byte : expected) {
        EXPECT_EQ(at(bytes, byte.offset), byte.value) << byte.offset;
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(BatteryTest, SaveThenReopenRestoresCartridgeWorkAndHighRam) {
    load(0x80);  // colour, so work RAM banks can be switched
    write_byte(0x0000, 0x0A);
    write_byte(0x4000, 0x02);  // cartridge RAM bank 2
    write_byte(0xA123, 0x5A);
    write_byte(0xC010, 0x42);
    write_byte(0xFF70, 0x03);  // work RAM bank 3 at D000
    write_byte(0xD020, 0x77);
    write_byte(0xFF90, 0x99);
    write_byte(0xFFFF, 0x1F);
    save_battery();
    ASSERT_EQ(test::file_bytes(battery_path()).size(), 77966u);

    ASSERT_TRUE(test::power_on_cartridge().ok);
    std::fill(std::begin(cart_ram), std::end(cart_ram), 0);
    ASSERT_EQ(read_byte(0xC010), 0x00);
    load_battery();
    write_byte(0x0000, 0x0A);
    write_byte(0x4000, 0x02);
    write_byte(0xFF70, 0x03);
    EXPECT_EQ(read_byte(0xA123), 0x5A);
    EXPECT_EQ(read_byte(0xC010), 0x42);
    EXPECT_EQ(read_byte(0xE010), 0x42) << "the echo follows work RAM bank 0";
    EXPECT_EQ(read_byte(0xD020), 0x77);
    EXPECT_EQ(read_byte(0xFF90), 0x99);
    EXPECT_EQ(read_byte(0xFFFF), 0x1F);
    EXPECT_TRUE(std::equal(std::begin(wram0), std::end(wram0), echo_ram));
}

TEST_F(BatteryTest, ShortFileIsReadAsFarAsItGoes) {
    std::filesystem::create_directories(battery_path().parent_path());
    std::string save(0x2000, '\0');  // an 8 KiB save made elsewhere
    for (std::size_t i = 0; i < save.size(); ++i) {
        save[i] = static_cast<char>(i * 7);
    }
    test::write_bytes(battery_path(), save);
    write_byte(0xC000, 0x42);
    load_battery();
    int different = 0;
    for (int32_t offset = 0; offset < 0x2000; ++offset) {
        different += cart_ram[offset * 5] != static_cast<uint8_t>(offset * 7);
    }
    EXPECT_EQ(different, 0) << "the save lands in cartridge RAM bank 0";
    EXPECT_EQ(read_byte(0xC000), 0x42) << "work RAM lies past the end of the file";
    EXPECT_TRUE(messages.empty());
}

TEST_F(BatteryTest, MissingFolderIsCreatedAndMissingFileIsNoError) {
    ASSERT_FALSE(std::filesystem::exists(home_ / "BATTERY"));
    write_byte(0xC000, 0x42);
    load_battery();
    EXPECT_EQ(read_byte(0xC000), 0x42);
    save_battery();
    EXPECT_EQ(std::filesystem::file_size(battery_path()), 77966u);
    EXPECT_TRUE(messages.empty());
}

TEST_F(BatteryTest, LoadingWritesLcdcBackWithItsOwnValue) {
    save_battery();
    ASSERT_EQ(lcdc_lcd_on, 1);
    poke_byte(0xFF40, 0x00);  // the register changes, its derived flags not yet
    ASSERT_EQ(lcdc_lcd_on, 1);
    load_battery();
    EXPECT_EQ(lcdc_lcd_on, 0);
    EXPECT_EQ(lcdc_bg_on, 0);
}

TEST_F(BatteryTest, UnwritableFileIsReportedAndTheOldOneKept) {
    write_byte(0xC000, 0x42);
    expect_failed_save_keeps_old_file(battery_path(), 77966, [this] { save_battery(); });
    EXPECT_EQ(read_byte(0xC000), 0x42) << "the game goes on";
}

TEST_F(BatteryTest, FileWhereTheFolderShouldBeIsReported) {
    test::write_bytes(home_ / "BATTERY", "not a folder");
    save_battery();
    expect_one_message_naming((home_ / "BATTERY").string());
    EXPECT_EQ(test::file_bytes(home_ / "BATTERY"), "not a folder");
}

TEST_F(BatteryTest, UnreadableFileIsReportedAndTheMemoriesKept) {
    std::filesystem::create_directories(battery_path());  // a folder in the file's place
    write_byte(0xC000, 0x42);
    load_battery();
    expect_one_message_naming(battery_path().string());
    EXPECT_EQ(read_byte(0xC000), 0x42);
}

}  // namespace
}  // namespace tov
