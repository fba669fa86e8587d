#include <gtest/gtest.h>

#include "classic/memory/memory_map.h"
#include "machine/registers.h"
#include "memory/console_memory.h"
#include "memory/freeze_list.h"
#include "sound/channels.h"
#include "test_cartridge.h"

namespace tov {
namespace {

// A cartridge of `banks` banks whose byte at offset 0 of bank b holds b, and
// whose byte at offset 3FFF holds the inverse of b.
void load_banked_cartridge(int banks, uint8_t colour_flag = 0x00) {
    test::test_cartridge cartridge(static_cast<std::size_t>(banks) * 0x4000);
    cartridge.colour_flag(colour_flag);
    for (int bank = 1; bank < banks; ++bank) {
        cartridge.byte(bank * 0x4000, static_cast<uint8_t>(bank));
        cartridge.byte(bank * 0x4000 + 0x3FFF, static_cast<uint8_t>(~bank));
    }
    ASSERT_TRUE(cartridge.load());
}

class MemoryMap : public testing::Test {
protected:
    void SetUp() override {
        test::reset_test_state();
        load_banked_cartridge(64);
    }
};

TEST_F(MemoryMap, RomBankWritesSelectEveryBankButZero) {
    struct case_t {
        int32_t address;
        uint8_t value;
        uint8_t bank;
    };
    const case_t cases[] = {
        {0x2000, 0x00, 1},  {0x2000, 0x05, 5},  {0x3FFF, 0x20, 32}, {0x2100, 0x3F, 63},
        {0x2000, 0x40, 64}, {0x2000, 0x60, 96}, {0x3000, 0x00, 1},  {0x2000, 0xFF, 255},
    };
    for (const case_t& test : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << test.address << " <- " << +test.value);
        write_byte(test.address, test.value);
        EXPECT_EQ(rom_bank, test.bank);
        if (test.bank < 64) {
            EXPECT_EQ(read_byte(0x4000), test.bank);
            EXPECT_EQ(read_byte(0x7FFF), static_cast<uint8_t>(~test.bank));
        }
    }
}

TEST_F(MemoryMap, WritesToTheCartridgeRangeNeverChangeTheRom) {
    const uint8_t before = read_byte(0x0150);
    write_byte(0x0150, 0x99);
    EXPECT_EQ(read_byte(0x0150), before);
    poke_byte(0x0150, 0x99);
    EXPECT_EQ(read_byte(0x0150), 0x99) << "poke_byte stores into ROM bank 0";
    write_byte(0x2000, 0x07);
    poke_byte(0x4001, 0x42);
    EXPECT_EQ(rom_banks[1 * 256 + 7], 0x42) << "and into the selected ROM column";
}

TEST_F(MemoryMap, RamEnableFollowsOnlyZeroAndTenAndNeverGatesRam) {
    struct case_t {
        uint8_t value;
        uint8_t enable;
    };
    const case_t cases[] = {{0x00, 0}, {0x0B, 0}, {0x0A, 1}, {0x0B, 1}, {0xFF, 1}, {0x00, 0}};
    for (const case_t& test : cases) {
        write_byte(0x1000, test.value);
        EXPECT_EQ(ram_enable, test.enable) << std::hex << +test.value;
    }
    write_byte(0xA123, 0x5A);
    EXPECT_EQ(read_byte(0xA123), 0x5A) << "cartridge RAM works with ram_enable 0";
}

TEST_F(MemoryMap, RamBankIsTheWrittenValueAndThree) {
    for (int value = 0; value < 256; ++value) {
        write_byte(0x4000 + value, static_cast<uint8_t>(value));
        EXPECT_EQ(ram_bank, value & 3);
    }
    for (uint8_t bank = 0; bank < 4; ++bank) {
        write_byte(0x5000, bank);
        write_byte(0xBFFF, static_cast<uint8_t>(0x10 + bank));
    }
    for (uint8_t bank = 0; bank < 4; ++bank) {
        write_byte(0x5000, bank);
        EXPECT_EQ(read_byte(0xBFFF), 0x10 + bank);
        EXPECT_EQ(cart_ram[0x1FFF * 5 + bank], 0x10 + bank);
    }
    EXPECT_EQ(cart_ram[0x1FFF * 5 + 4], 0) << "bank 4 is reached by no bank number";
}

TEST_F(MemoryMap, BankModeIsStoredOnly) {
    write_byte(0x6000, 0x03);
    EXPECT_EQ(bank_mode, 1);
    write_byte(0x7FFF, 0x02);
    EXPECT_EQ(bank_mode, 0);
}

TEST(WorkRamBanks, SvbkSelectsIndexValueMinusOne) {
    struct case_t {
        uint8_t svbk;
        uint8_t index;
    };
    const case_t cases[] = {{0x00, 0}, {0x01, 0}, {0x08, 0}, {0x02, 1},
                            {0x07, 6}, {0xF8, 0}, {0xFF, 6}, {0x0B, 2}};
    for (const case_t& test : cases) {
        EXPECT_EQ(wram_bank_from_svbk(test.svbk), test.index) << std::hex << +test.svbk;
    }
}

TEST_F(MemoryMap, WorkRamBanksAreSeparateAndInterleaved) {
    for (uint8_t index = 0; index < 8; ++index) {
        wram_bank = index;
        write_byte(0xD800, static_cast<uint8_t>(0xA0 + index));
    }
    for (uint8_t index = 0; index < 8; ++index) {
        wram_bank = index;
        EXPECT_EQ(read_byte(0xD800), 0xA0 + index);
        EXPECT_EQ(wram_banks[0x800 * 8 + index], 0xA0 + index);
    }
}

TEST_F(MemoryMap, EchoAreasMirrorWorkRamBothWays) {
    write_byte(0xC123, 0x11);
    EXPECT_EQ(read_byte(0xE123), 0x11);
    write_byte(0xEFFF, 0x22);
    EXPECT_EQ(read_byte(0xCFFF), 0x22);
    EXPECT_EQ(wram0[0xFFF], echo_ram[0xFFF]);

    wram_bank = 3;
    write_byte(0xD456, 0x33);
    EXPECT_EQ(read_byte(0xF456), 0x33) << "F000-FDFF mirrors the work-RAM bank in use";
    write_byte(0xFDFF, 0x44);
    EXPECT_EQ(read_byte(0xDDFF), 0x44);
    poke_byte(0xF000, 0x55);
    EXPECT_EQ(peek_byte(0xD000), 0x55);
    wram_bank = 0;
    EXPECT_NE(read_byte(0xF456), 0x33) << "another bank, another mirror";
}

TEST(VideoRamBanks, BankOneOnlyInColourMode) {
    test::reset_test_state();
    for (const uint8_t flag : {uint8_t{0x00}, uint8_t{0x80}}) {
        SCOPED_TRACE(+flag);
        load_banked_cartridge(2, flag);
        write_byte(0x8000, 0x01);
        io_page[VBK] = 0x01;
        write_byte(0x8000, 0x02);
        io_page[VBK] = 0xFE;
        EXPECT_EQ(read_byte(0x8000), flag ? 0x01 : 0x02);
        EXPECT_EQ(vram[0x0000], flag ? 0x01 : 0x02);
        EXPECT_EQ(vram[0x2000], flag ? 0x02 : 0x00);
    }
}

TEST_F(MemoryMap, SpriteMemoryAndTheUnusedAreaBelowTheIoPage) {
    write_byte(0xFE9F, 0x77);
    EXPECT_EQ(oam[159], 0x77);
    write_byte(0xFEA0, 0x88);
    EXPECT_EQ(read_byte(0xFEA0), 0x00);
    EXPECT_EQ(peek_byte(0xFEFF), 0x00);
}

TEST_F(MemoryMap, AddressesOutsideTheSpaceReadZeroAndIgnoreWrites) {
    for (const int32_t address : {-1, -0x8000, 0x10000, 0x1FFFF}) {
        write_byte(address, 0x12);
        poke_byte(address, 0x12);
        EXPECT_EQ(read_byte(address), 0x00) << address;
        EXPECT_EQ(peek_byte(address), 0x00) << address;
    }
}

TEST_F(MemoryMap, ReadMasksOfWriteOnlyBits) {
    struct case_t {
        int32_t address;
        uint8_t read;
    };
    // Every register holds FF, so the result is the mask itself.
    const case_t cases[] = {
        {0xFF01, 0xFF}, {0xFF02, 0xFF}, {0xFF11, 0xC0}, {0xFF16, 0xC0}, {0xFF14, 0x40},
        {0xFF19, 0x40}, {0xFF1E, 0x40}, {0xFF23, 0x40}, {0xFF1A, 0x80}, {0xFF13, 0x00},
        {0xFF18, 0x00}, {0xFF1D, 0x00}, {0xFF12, 0xFF}, {0xFF80, 0xFF},
    };
    for (const case_t& test : cases) {
        io_page[test.address - 0xFF00] = 0xFF;
        EXPECT_EQ(read_byte(test.address), test.read) << std::hex << test.address;
        EXPECT_EQ(peek_byte(test.address), 0xFF) << "peek_byte shows the stored byte";
    }
    io_page[SB] = 0x34;
    EXPECT_EQ(read_byte(0xFF01), 0xFF);
}

TEST_F(MemoryMap, Nr52ReportsTheActiveChannels) {
    struct case_t {
        uint8_t stored;
        int active[4];
        uint8_t read;
    };
    const case_t cases[] = {
        {0xF1, {1, 1, 1, 1}, 0x8F}, {0x80, {0, 0, 0, 0}, 0x80}, {0x7F, {0, 0, 0, 0}, 0x00},
        {0x00, {1, 0, 1, 0}, 0x05}, {0xFF, {0, 1, 0, 1}, 0x8A},
    };
    for (const case_t& test : cases) {
        io_page[NR52] = test.stored;
        for (int channel = 0; channel < 4; ++channel) {
            sound_channels[channel].active = test.active[channel];
        }
        EXPECT_EQ(read_byte(0xFF26), test.read);
    }
    for (channel_state& channel : sound_channels) {
        channel.active = 0;
    }
}

TEST_F(MemoryMap, FrozenAddressesWinOverEveryRegionButNotOverPeek) {
    wram_bank = 2;
    const int32_t addresses[] = {0x0150, 0x4000, 0x7FFF, 0x8000, 0xA000, 0xC000,
                                 0xD000, 0xE000, 0xF000, 0xFE00, 0xFEA0, 0xFF00,
                                 0xFF01, 0xFF26, 0xFF44, 0xFF80, 0xFFFF};
    for (const int32_t address : addresses) {
        SCOPED_TRACE(testing::Message() << std::hex << address);
        const uint8_t stored = peek_byte(address);
        freeze_table[0] = {address, static_cast<uint8_t>(stored ^ 0x5A)};
        freeze_count = 1;
        EXPECT_EQ(read_byte(address), stored ^ 0x5A);
        EXPECT_EQ(peek_byte(address), stored);
        freeze_count = 0;
    }
}

TEST_F(MemoryMap, FirstFrozenEntryWinsAndBanksDoNotMatter) {
    freeze_table[0] = {0x4000, 0x12};
    freeze_table[1] = {0x4000, 0x34};
    freeze_count = 2;
    for (const uint8_t bank : {1, 2, 63}) {
        write_byte(0x2000, bank);
        EXPECT_EQ(read_byte(0x4000), 0x12);
        EXPECT_EQ(peek_byte(0x4000), bank);
    }
    write_byte(0xC000, 0x99);
    EXPECT_EQ(wram0[0], 0x99) << "writes ignore the freeze list";
}

TEST_F(MemoryMap, FrozenJoypadIsNotRefreshed) {
    io_page[P1] = 0x20;
    freeze_table[0] = {0xFF00, 0x42};
    freeze_count = 1;
    EXPECT_EQ(read_byte(0xFF00), 0x42);
    EXPECT_EQ(io_page[P1], 0x20) << "the joypad refresh did not run";
}

}  // namespace
}  // namespace tov
