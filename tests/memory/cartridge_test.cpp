#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "classic/memory/memory_map.h"
#include "machine/cpu_state.h"
#include "machine/registers.h"
#include "memory/cartridge.h"
#include "memory/cartridge_info.h"
#include "test_archive.h"
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

    ASSERT_TRUE(test::power_on_cartridge().ok) << "Reset loads the same file again";
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

TEST_F(Cartridge, ArchivedCartridgesLoadAndResetFromTheirEntry) {
    test::test_cartridge first;
    first.title("FIRST");
    test::test_cartridge second;
    second.title("SECOND").colour_flag(0x80);
    const std::vector<test::archive_item> pair = {
        {"first.gb", first.image()}, {"notes.txt", {'h', 'i'}}, {"second.gbc", second.image()}};
    const std::vector<test::archive_item> one = {pair.front()};
    struct case_t {
        test::archive_format format;
        const std::vector<test::archive_item>& items;
        std::string file_name;
        std::string entry;  // the one asked for
        std::string opened;
        const char* title;
    };
    const case_t cases[] = {
        {test::archive_format::zip, pair, "pair.zip", "", "first.gb", "NAME : FIRST"},
        {test::archive_format::zip, pair, "pair.zip", "second.gbc", "second.gbc", "NAME : SECOND"},
        {test::archive_format::seven_zip, pair, "pair.7z", "", "first.gb", "NAME : FIRST"},
        {test::archive_format::seven_zip, pair, "pair.7z", "second.gbc", "second.gbc",
         "NAME : SECOND"},
        {test::archive_format::gzip, one, "first.gb.gz", "", "first.gb", "NAME : FIRST"},
        {test::archive_format::gzip, one, "first.gb.gz", "first.gb", "first.gb", "NAME : FIRST"},
    };
    for (const case_t& test : cases) {
        SCOPED_TRACE(test.file_name + " " + test.entry);
        const test::test_archive archive(test.format, test.items, test.file_name);
        const result opened = test::power_on_cartridge(archive.path, test.entry);
        ASSERT_TRUE(opened.ok) << opened.message;
        EXPECT_EQ(rom_path, archive.path) << "the file chosen stays the archive";
        EXPECT_EQ(rom_entry, test.opened);
        EXPECT_STREQ(describe_title(), test.title);

        PC.value = 0x1234;
        write_byte(0xC010, 0x42);
        const result reset = test::power_on_cartridge();
        ASSERT_TRUE(reset.ok) << "Reset reads the same entry again: " << reset.message;
        EXPECT_EQ(rom_entry, test.opened);
        EXPECT_STREQ(describe_title(), test.title);
        EXPECT_EQ(PC.value, 0x0100);
        EXPECT_EQ(read_byte(0xC010), 0x00);
    }
}

// The state a refused file must leave alone.
struct snapshot {
    int32_t pc, af, sp;
    uint8_t bank, wram0_byte, io_byte, colour;
    std::string path, entry, title;

    static snapshot take() {
        return {PC.value,      AF.value,    SP.value, rom_bank,  wram0[0x10],
                io_page[0x80], colour_mode, rom_path, rom_entry, describe_title()};
    }
    bool operator==(const snapshot&) const = default;
};

// Powers on with `running`, from its file or from a zip, and changes the
// machine as a running game would.
void run_cartridge(test::test_cartridge& running, const std::string& zip) {
    if (zip.empty()) {
        ASSERT_TRUE(running.load());
    } else {
        ASSERT_TRUE(test::power_on_cartridge(zip).ok);
    }
    PC.value = 0x1234;
    write_byte(0x2000, 0x03);
    write_byte(0xC010, 0x42);
    write_byte(0xFF80, 0x24);
}

TEST_F(Cartridge, UnusableFilesAreRefusedBeforeAnythingChanges) {
    test::test_cartridge running;
    running.title("RUNNING").colour_flag(0x80);
    const test::test_archive running_zip(test::archive_format::zip,
                                         {{"running.gbc", running.image()}}, "running.zip");

    const std::string missing = test::temp_path(".gb");
    const std::string folder = test::temp_path("_folder");
    std::filesystem::create_directory(folder);
    const std::string huge = test::temp_path(".gb");
    std::ofstream(huge).put('x');
    std::filesystem::resize_file(huge, max_cartridge_size + 1);
    const std::string empty = test::temp_path(".gb");
    std::ofstream{empty};
    const std::string text = test::temp_path(".gb");  // 41 bytes of text
    std::ofstream(text) << "This is not a cartridge, only some text.\n";
    test::test_cartridge header_short(0x14F);

    using test::archive_format;
    using test::test_archive;
    const test::archive_item game{"game.gb", test::noise(0x8000, 5)};
    const test::archive_item big{"big.gb", {}, max_cartridge_size + 1};
    const test_archive big_zip(archive_format::zip, {big}, "big.zip");
    const test_archive big_7z(archive_format::seven_zip, {big}, "big.7z");
    const test_archive big_gz(archive_format::gzip, {big}, "big.gb.gz");
    const test_archive bomb(archive_format::zip, {{"bomb.gb", {}, 100 << 20}}, "bomb.zip");
    const test_archive cut_zip(archive_format::zip, {game}, "cut.zip");
    const test_archive cut_7z(archive_format::seven_zip, {game}, "cut.7z");
    const test_archive cut_gz(archive_format::gzip, {game}, "game.gb.gz");
    for (const test_archive* cut : {&cut_zip, &cut_7z, &cut_gz}) {
        test::cut_in_half(cut->path);
    }
    const test_archive empty_entry(archive_format::zip, {{"empty.gb", {}}, game}, "empty.zip");
    const test_archive short_entry(archive_format::zip, {{"short.gb", {1, 2, 3}}}, "short.zip");
    const test_archive notes_zip(archive_format::zip, {{"notes.txt", {'h', 'i'}}}, "notes.zip");
    const test_archive notes_7z(archive_format::seven_zip, {{"notes.txt", {'h', 'i'}}}, "notes.7z");
    const test_archive notes_gz(archive_format::gzip, {{"", {'h', 'i'}}}, "notes.txt.gz");
    const test_archive claims(archive_format::zip, {{"claims.gb", {}, 1000}}, "claims.zip");
    test::claim_size(claims.path, 1000, 5000);
    const test_archive bad_size(archive_format::gzip, {game}, "size.gb.gz");
    test::flip_byte_from_end(bad_size.path, 1);  // the length's top byte
    const test_archive bad_crc(archive_format::gzip, {game}, "crc.gb.gz");
    test::flip_byte_from_end(bad_crc.path, 8);  // the CRC-32's low byte
    // Files that start as archives do and go on with garbage.
    test::test_cartridge not_a_zip(0);
    not_a_zip.bytes(0, {'P', 'K', 3, 4, 0xEE, 0xEE, 0xEE});
    test::test_cartridge not_a_7z(0);
    not_a_7z.bytes(0, {'7', 'z', 0xBC, 0xAF, 0x27, 0x1C, 0, 4, 0xEE, 0xEE, 0xEE});
    test::test_cartridge not_a_gzip(0);  // flags with reserved bits set
    not_a_gzip.bytes(0, {0x1F, 0x8B, 0x08, 0xE0, 0, 0, 0, 0, 0, 3, 0xEE, 0xEE, 0xEE});

    struct case_t {
        std::string path;
        std::string entry;
        const char* reason_part;
        std::string named_entry;  // the entry the message names besides the file
    };
    const case_t cases[] = {
        {missing, "", "not a readable file", ""},
        {folder, "", "not a readable file", ""},
        {huge, "", "larger than 4 MiB", ""},
        {empty, "", "is empty", ""},
        {text, "", "too short to be a cartridge: it holds 41 bytes", ""},
        {header_short.write(), "", "too short to be a cartridge: it holds 335 bytes", ""},
        {running.write(), "other.gb", "is not an archive", "other.gb"},
        {big_zip.path, "", "larger than 4 MiB", "big.gb"},
        {big_7z.path, "", "larger than 4 MiB", "big.gb"},
        {big_gz.path, "", "larger than 4 MiB", "big.gb"},
        {bomb.path, "", "larger than 4 MiB", "bomb.gb"},
        {cut_zip.path, "", "", ""},
        {cut_7z.path, "", "", ""},
        {cut_gz.path, "", "", ""},
        {empty_entry.path, "", "is empty", "empty.gb"},
        {short_entry.path, "", "too short to be a cartridge", "short.gb"},
        {empty_entry.path, "missing.gb", "holds no cartridge named", "missing.gb"},
        {notes_zip.path, "", "holds no cartridge", ""},
        {notes_7z.path, "", "holds no cartridge", ""},
        {notes_gz.path, "", "holds no cartridge", ""},
        {claims.path, "", "cannot be decompressed", "claims.gb"},
        {bad_size.path, "", "does not match its declared size", "size.gb"},
        {bad_crc.path, "", "CRC-32 does not match", "crc.gb"},
        {not_a_zip.write(), "", "is damaged", ""},
        {not_a_7z.write(), "", "is damaged", ""},
        {not_a_gzip.write(), "", "its gzip header is damaged", ""},
    };
    for (const std::string& from : {std::string(), running_zip.path}) {
        run_cartridge(running, from);
        for (const case_t& test : cases) {
            SCOPED_TRACE(test.path + " " + test.entry);
            const snapshot before = snapshot::take();
            const result refused = test::power_on_cartridge(test.path, test.entry);
            const std::string& reason = refused.message;
            EXPECT_FALSE(refused.ok);
            EXPECT_NE(reason.find(test.reason_part), std::string::npos) << reason;
            EXPECT_NE(reason.find(test.path), std::string::npos) << "the message names the file";
            if (!test.named_entry.empty()) {
                EXPECT_NE(reason.find('"' + test.named_entry + '"'), std::string::npos) << reason;
            }
            EXPECT_TRUE(before == snapshot::take());
        }
    }
    std::filesystem::remove(folder);
    std::filesystem::remove(huge);
    std::filesystem::remove(empty);
    std::filesystem::remove(text);
}

}  // namespace
}  // namespace tov
