#include "inspect/memory_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "accurate/bus/bus.h"
#include "accurate/machine/accurate_machine.h"
#include "accurate/run/console.h"
#include "cartridge/slot.h"
#include "classic/machine/classic_machine.h"
#include "classic/memory/memory_map.h"
#include "machine/memory.h"
#include "test_cartridge.h"

namespace tov {
namespace {

// Three whole banks and a last part of 256 bytes: ROMX banks 1-3, bank 3
// the padded part. Byte 0010 of each bank names it.
class MemoryView : public testing::Test {
protected:
    void SetUp() override {
        test::reset_test_state();
        cartridge_.colour_flag(0x80).byte(0x4010, 0x11).byte(0x8010, 0x22).byte(0xC010, 0x33);
        ASSERT_TRUE(cartridge_.load());
        std::fill(std::begin(cart_ram), std::end(cart_ram), 0);
    }

    test::test_cartridge cartridge_{3 * 0x4000 + 0x100};
};

// Each byte reads as loaded, then takes a new value; a bank in view shows
// it at its address (and work RAM bank 0 in its echo), any other does not.
TEST_F(MemoryView, ReadsAndStoresEachRegionsBanksAndRefusesTheRest) {
    const struct {
        int region, bank;
        int32_t offset;
        int before;
        int32_t in_view_at;  // -1: a bank out of view
        int32_t echo_at;     // -1: none
    } bytes[] = {
        {region_rom0, 0, 0x0143, 0x80, 0x0143, -1},
        {region_romx, 1, 0x0010, 0x11, 0x4010, -1},
        {region_romx, 2, 0x0010, 0x22, -1, -1},
        {region_romx, 3, 0x0010, 0x33, -1, -1},
        {region_romx, 3, 0x3FFF, 0xFF, -1, -1},
        {region_vram, 0, 0x0000, 0x00, 0x8000, -1},
        {region_vram, 1, 0x1FFF, 0x00, -1, -1},
        {region_sram, 0, 0x0001, 0x00, 0xA001, -1},
        {region_sram, 4, 0x1FFF, 0x00, -1, -1},
        {region_wram0, 0, 0x0FFF, 0x00, 0xCFFF, 0xEFFF},
        {region_wramx, 1, 0x0000, 0x00, 0xD000, -1},
        {region_wramx, 7, 0x0FFF, 0x00, -1, -1},
        {region_oam, 0, 0x009F, 0x00, 0xFE9F, -1},
        {region_io, 0, 0x00FE, 0x00, 0xFFFE, -1},
    };
    uint8_t value = 0xA0;
    for (const auto& b : bytes) {
        SCOPED_TRACE(testing::Message()
                     << region_of(b.region).name << " " << b.bank << ":" << std::hex << b.offset);
        EXPECT_EQ(stored_byte(b.region, b.bank, b.offset), b.before);
        ASSERT_TRUE(store_byte(b.region, b.bank, b.offset, ++value));
        EXPECT_EQ(stored_byte(b.region, b.bank, b.offset), value);
        const int32_t address = region_of(b.region).first_address + b.offset;
        EXPECT_EQ(peek_byte(address) == value, b.in_view_at == address);
        if (b.echo_at >= 0) {
            EXPECT_EQ(peek_byte(b.echo_at), value);
        }
    }
    const struct {
        int region, bank;
        int32_t offset;
    } refused[] = {
        {-1, 0, 0},
        {memory_region_count, 0, 0},
        {region_rom0, 0, -1},
        {region_rom0, 0, 0x4000},
        {region_rom0, 1, 0},
        {region_romx, 0, 0},
        {region_romx, 4, 0},
        {region_vram, 2, 0},
        {region_sram, 5, 0},
        {region_wramx, 0, 0},
        {region_wramx, 8, 0},
        {region_oam, 0, 0xA0},
        {region_io, 0, 0x100},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(testing::Message()
                     << r.region << " " << r.bank << ":" << std::hex << r.offset);
        EXPECT_EQ(stored_byte(r.region, r.bank, r.offset), -1);
        EXPECT_FALSE(store_byte(r.region, r.bank, r.offset, 0x5A));
    }
}

// On the accurate machine the RAM is the slot's, as many banks as the header
// names; a monochrome console has one bank of VRAM and of WRAMX.
TEST_F(MemoryView, TheAccurateMachinesRamIsTheSlots) {
    cartridge_.colour_flag(0x00).byte(0x0147, 0x1B).byte(0x0149, 0x03);  // MBC5, 4 banks
    ASSERT_TRUE(cartridge_.load());
    use_machine(accurate_machine);
    power_on_accurate_machine(model_choice::monochrome, false);
    EXPECT_EQ(region_of(region_sram).bank_count, 4);
    EXPECT_EQ(region_of(region_vram).bank_count, 1);
    EXPECT_EQ(region_of(region_wramx).bank_count, 1);
    EXPECT_EQ(bank_in_view(region_sram), 0);
    ASSERT_TRUE(store_byte(region_sram, 0, 0x0005, 0x12));
    EXPECT_EQ(machine().peek(0xA005), 0x12);
    ASSERT_TRUE(store_byte(region_sram, 3, 0x0005, 0x34));
    EXPECT_EQ(cartridge_ram[3 * 0x2000 + 5], 0x34);
    EXPECT_FALSE(store_byte(region_sram, 4, 0, 0x56));
    bus_write(0x2000, 0x02);  // the ROM bank register
    EXPECT_EQ(bank_in_view(region_romx), 2);
    use_machine(classic_machine);
}

TEST(MemoryRows, TextsOfRowsAndTypedNumbers) {
    test::reset_test_state();
    ASSERT_TRUE(test::test_cartridge().bytes(0x4020, {'H', 'i', '!', 0x7E, 0x7F, 0x00}).load());
    const struct {
        int region, bank;
        int32_t offset;
        const char* address;
        const char* first_bytes;  // the first six
        const char* characters;
    } rows[] = {
        {region_romx, 1, 0x0025, "01:4020", "4869217E7F00", "Hi!~.."},
        {region_rom0, 0, 0x0000, "0000", "000000000000", "......"},
        {region_sram, 9, 0x0000, "09:A000", "------------", "      "},
    };
    for (const auto& r : rows) {
        const memory_row row = memory_row_at(r.region, r.bank, r.offset);
        std::string bytes;
        for (int i = 0; i < 6; ++i) {
            bytes += row.bytes[i];
        }
        EXPECT_EQ(row.address, r.address);
        EXPECT_EQ(bytes, r.first_bytes) << r.address;
        EXPECT_EQ(row.characters.substr(0, 6), r.characters) << r.address;
        EXPECT_EQ(row.characters.size(), 16u);
    }
    const struct {
        const char* text;
        int32_t largest;
        bool ok;
        int32_t value;
        const char* message;
    } entries[] = {
        {"3F", 0xFF, true, 0x3F, ""},
        {"$3f", 0xFF, true, 0x3F, ""},
        {" 0x3F ", 0xFF, true, 0x3F, ""},
        {"C000", 0xFFFF, true, 0xC000, ""},
        {"", 0xFF, false, 0, "Type a hex number from 0 to FF."},
        {"3G", 0xFF, false, 0, "\"3G\" is not a hex number."},
        {"$", 0xFF, false, 0, "\"$\" is not a hex number."},
        {"-1", 0xFF, false, 0, "\"-1\" is not a hex number."},
        {"100", 0xFF, false, 0, "\"100\" is more than FF."},
        {"123456789ABC", 0xFFFF, false, 0, "\"123456789ABC\" is more than FFFF."},
    };
    for (const auto& e : entries) {
        const hex_entry entry = parse_hex_entry(e.text, e.largest);
        EXPECT_EQ(entry.ok, e.ok) << e.text;
        EXPECT_EQ(entry.value, e.value) << e.text;
        EXPECT_EQ(entry.message, e.message) << e.text;
    }
    const struct {
        int32_t address;
        int region;
    } places[] = {{0x0000, region_rom0}, {0x7FFF, region_romx}, {0xDFFF, region_wramx},
                  {0xE000, -1},          {0xFEA0, -1},          {0xFFFF, region_io}};
    for (const auto& p : places) {
        EXPECT_EQ(region_at(p.address), p.region) << std::hex << p.address;
    }
}

}  // namespace
}  // namespace tov
