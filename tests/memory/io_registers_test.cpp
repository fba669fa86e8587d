#include <gtest/gtest.h>

#include "classic/memory/io_writes.h"
#include "classic/memory/memory_map.h"
#include "machine/registers.h"
#include "memory/freeze_list.h"
#include "memory/io_registers.h"
#include "test_cartridge.h"

namespace tov {
namespace {

using IoRegisters = test::machine_test;

class ColourIoRegisters : public IoRegisters {
protected:
    void SetUp() override { load(0x80); }
};

TEST_F(IoRegisters, SerialDivAndLyDropTheWrittenValue) {
    write_byte(0xFF01, 0x34);
    EXPECT_EQ(io_page[SB], 0xFF);
    EXPECT_EQ(io_page[SC], 0xFF);
    io_page[SC] = 0x00;
    write_byte(0xFF02, 0x81);
    EXPECT_EQ(io_page[SB], 0xFF);
    EXPECT_EQ(io_page[SC], 0xFF);
    io_page[DIV] = 0x55;
    write_byte(0xFF04, 0x12);
    EXPECT_EQ(io_page[DIV], 0x00);
    io_page[LY] = 0x44;
    write_byte(0xFF44, 0x12);
    EXPECT_EQ(io_page[LY], 0x00);
}

TEST_F(IoRegisters, StatKeepsTheModeAndClearsTheCoincidence) {
    struct case_t {
        uint8_t stat, value, result;
    };
    const case_t cases[] = {{0x85, 0x40, 0x41}, {0x06, 0xFF, 0xFA}, {0xFF, 0x00, 0x03}};
    for (const case_t& test : cases) {
        io_page[STAT] = test.stat;
        write_byte(0xFF41, test.value);
        EXPECT_EQ(io_page[STAT], test.result);
    }
}

TEST_F(IoRegisters, LcdcSetsItsEightFlags) {
    const uint8_t* flags[8] = {&lcdc_bg_on,      &lcdc_obj_on, &lcdc_obj_tall,   &lcdc_bg_map_hi,
                               &lcdc_tiles_8000, &lcdc_win_on, &lcdc_win_map_hi, &lcdc_lcd_on};
    for (int bit = 0; bit < 8; ++bit) {
        write_byte(0xFF40, static_cast<uint8_t>(1 << bit));
        for (int flag = 0; flag < 8; ++flag) {
            EXPECT_EQ(*flags[flag], flag == bit ? 1 : 0) << "bit " << bit << " flag " << flag;
        }
    }
    EXPECT_EQ(io_page[LCDC], 0x80);
}

TEST_F(ColourIoRegisters, LcdcBackgroundIsAlwaysOnForColourCartridges) {
    write_byte(0xFF40, 0x00);
    EXPECT_EQ(lcdc_bg_on, 1);
    EXPECT_EQ(lcdc_lcd_on, 0);
    EXPECT_EQ(io_page[LCDC], 0x00);
}

TEST_F(IoRegisters, MonochromePalettesBecomeShades) {
    EXPECT_EQ(bg_colours[0], 0xFFFF) << "power-on BGP FC";
    EXPECT_EQ(bg_colours[1], 0x0000);
    EXPECT_EQ(obj_colours[0], 0x0000) << "power-on OBP0 FF";

    write_byte(0xFF47, 0xE4);
    const int32_t shades[4] = {0xFFFF, 0x3DEF, 0x2D6B, 0x0000};
    for (int colour = 0; colour < 4; ++colour) {
        EXPECT_EQ(bg_colours[colour], shades[colour]);
    }
    write_byte(0xFF48, 0x1B);  // reversed: 3, 2, 1, 0
    write_byte(0xFF49, 0x55);  // all shade 1
    for (int colour = 0; colour < 4; ++colour) {
        EXPECT_EQ(obj_colours[colour], shades[3 - colour]);
        EXPECT_EQ(obj_colours[4 + colour], 0x3DEF);
    }
    EXPECT_EQ(bg_colours[4], 0x0000) << "only palette 0 follows BGP";
}

TEST_F(ColourIoRegisters, MonochromePalettesChangeNoColour) {
    write_byte(0xFF47, 0xE4);
    write_byte(0xFF48, 0xE4);
    EXPECT_EQ(io_page[BGP], 0xE4);
    const int32_t power_on[4] = {0x0000, 0x2D6B, 0x3DEF, 0xFFFF};
    for (int colour = 0; colour < 4; ++colour) {
        EXPECT_EQ(bg_colours[colour], power_on[colour]);
        EXPECT_EQ(obj_colours[colour], power_on[colour]);
    }
    for (int entry = 4; entry < 32; ++entry) {
        EXPECT_EQ(bg_colours[entry], 0);
    }
}

TEST_F(ColourIoRegisters, PaletteDataPortsWithAutoIncrement) {
    write_byte(0xFF68, 0xBF);
    write_byte(0xFF69, 0x12);
    EXPECT_EQ(bg_colours[31], 0x1200);
    EXPECT_EQ(io_page[BCPS], 0x80);
    write_byte(0xFF69, 0x34);
    write_byte(0xFF69, 0x56);
    EXPECT_EQ(bg_colours[0], 0x5634);
    EXPECT_EQ(io_page[BCPS], 0x82);
    EXPECT_EQ(read_byte(0xFF69), 0x56) << "reads return the last byte written";

    write_byte(0xFF68, 0x3F);
    write_byte(0xFF69, 0x77);
    write_byte(0xFF69, 0x78);
    EXPECT_EQ(bg_colours[31], 0x7800);
    EXPECT_EQ(io_page[BCPS], 0x3F) << "without bit 7 the index stays";

    write_byte(0xFF6A, 0x8A);  // palette 1, colour 1, low byte
    write_byte(0xFF6B, 0xEF);
    write_byte(0xFF6B, 0x7D);
    EXPECT_EQ(obj_colours[5], 0x7DEF);
    EXPECT_EQ(io_page[OCPS], 0x8C);
}

TEST_F(IoRegisters, ColourPortsAndVramDmaAreIgnoredOnMonochrome) {
    io_page[BCPD] = 0x11;
    io_page[OCPD] = 0x22;
    io_page[HDMA5] = 0x33;
    io_page[BCPS] = 0x80;
    write_byte(0xFF69, 0x12);
    write_byte(0xFF6B, 0x12);
    write_byte(0xFF55, 0x01);
    EXPECT_EQ(io_page[BCPD], 0x11);
    EXPECT_EQ(io_page[OCPD], 0x22);
    EXPECT_EQ(io_page[HDMA5], 0x33);
    EXPECT_EQ(io_page[BCPS], 0x80);
    EXPECT_EQ(bg_colours[0], 0xFFFF);
    EXPECT_EQ(hdma_active, 0);
}

TEST_F(IoRegisters, Key1ChangesOnlyItsSwitchBit) {
    io_page[KEY1] = 0x80;
    write_byte(0xFF4D, 0x7F);
    EXPECT_EQ(io_page[KEY1], 0x81);
    write_byte(0xFF4D, 0xFE);
    EXPECT_EQ(io_page[KEY1], 0x80);
}

TEST_F(IoRegisters, SvbkSelectsTheWorkRamBankOnEitherKind) {
    write_byte(0xFF70, 0x07);
    EXPECT_EQ(wram_bank, 6);
    EXPECT_EQ(io_page[SVBK], 0x07);
    write_byte(0xFF70, 0x08);
    EXPECT_EQ(wram_bank, 0);
}

void set_hdma_registers(uint8_t source_high, uint8_t source_low, uint8_t target_high,
                        uint8_t target_low) {
    write_byte(0xFF51, source_high);
    write_byte(0xFF52, source_low);
    write_byte(0xFF53, target_high);
    write_byte(0xFF54, target_low);
}

TEST_F(ColourIoRegisters, VramDmaInBothModes) {
    for (int i = 0; i < 0x40; ++i) {
        write_byte(0xC000 + i, static_cast<uint8_t>(i + 1));
    }
    set_hdma_registers(0xC0, 0x00, 0x80, 0x00);
    write_byte(0xFF55, 0x81);
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(vram[i], i + 1);
    }
    EXPECT_EQ(vram[32], 0) << "two blocks of 16 bytes";
    EXPECT_EQ(io_page[HDMA5], 0x80);
    EXPECT_EQ(hdma_active, 1);
    EXPECT_EQ(peek_byte(0xFF51), 0xC0) << "the source registers do not advance";

    write_byte(0xFF4F, 0x01);
    set_hdma_registers(0xC0, 0x0F, 0x1F, 0x0F);  // low nibbles ignored; 1F -> 9F
    write_byte(0xFF55, 0x01);
    EXPECT_EQ(io_page[HDMA5], 0xFF);
    EXPECT_EQ(hdma_active, 0);
    EXPECT_EQ(vram[0x2000 + 0x1F00], 1) << "into VRAM bank 1 at 9F00";
    EXPECT_EQ(vram[0x2000 + 0x1F1F], 32);
}

TEST_F(ColourIoRegisters, VramDmaPastTheEndOfVramGoesOnIntoCartridgeRam) {
    write_byte(0x4000, 0x00);
    set_hdma_registers(0xC0, 0x00, 0x9F, 0x00);
    write_byte(0xC100, 0xAB);
    write_byte(0xC7FF, 0xCD);
    write_byte(0xFF55, 0x7F);
    EXPECT_EQ(read_byte(0xA000), 0xAB);
    EXPECT_EQ(read_byte(0xA6FF), 0xCD);
    EXPECT_EQ(read_byte(0xA700), 0x00) << "2048 bytes in all";
}

TEST_F(IoRegisters, OamDmaCopiesThroughTheReadPath) {
    for (int i = 0; i < 0xA0; ++i) {
        write_byte(0xC100 + i, static_cast<uint8_t>(0xA0 - i));
    }
    freeze_table[0] = {0xC105, 0x77};
    freeze_count = 1;
    write_byte(0xFF46, 0xC1);
    EXPECT_EQ(io_page[DMA], 0xC1);
    EXPECT_EQ(oam[0], 0xA0);
    EXPECT_EQ(oam[5], 0x77) << "frozen values are copied";
    EXPECT_EQ(oam[159], 0x01);
    freeze_count = 0;

    write_byte(0xFF46, 0xFF);  // the I/O page itself, read masks included
    EXPECT_EQ(oam[1], 0xFF) << "FF01 reads FF";
    EXPECT_EQ(oam[0x13], 0x00) << "FF13 reads 00";
}

TEST_F(IoRegisters, SoundRegistersAreStored) {
    for (const int32_t address :
         {0xFF10, 0xFF14, 0xFF16, 0xFF1A, 0xFF1E, 0xFF20, 0xFF23, 0xFF24, 0xFF25, 0xFF30, 0xFF3F}) {
        write_byte(address, 0x3C);
        EXPECT_EQ(peek_byte(address), 0x3C) << std::hex << address;
    }
}

}  // namespace
}  // namespace tov
