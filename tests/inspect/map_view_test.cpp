#include "inspect/map_view.h"

#include <gtest/gtest.h>

#include <string>

#include "classic/memory/memory_map.h"
#include "inspect/bitmaps.h"
#include "memory/io_registers.h"
#include "test_cartridge.h"
#include "vram_tiles.h"

namespace tov {
namespace {

using test::grey_rgb;
using test::red_rgb;

int32_t map_pixel(int x, int y) {
    return test::pixel_rgb(map_bitmap, map_bitmap_width, x, y);
}

constexpr int bank1 = 0x2000;

class MapView : public test::machine_test {
protected:
    map_view_options grey_light() {
        map_view_options options;
        options.colouring = map_colouring::grey_white_zero;
        return options;
    }
};

// LCDC bit 4 clear: the tile data is at 8800 and tile numbers are signed,
// so 00 is the tile at 9000 and 80 the tile at 8800.
TEST_F(MapView, TileNumbers00And80WithLcdcBit4Clear) {
    write_byte(0xFF40, 0x81);
    test::fill_tile(0x0000, '3');  // 8000: tile 00 when the data is at 8000
    test::fill_tile(0x0800, '2');  // 8800
    test::fill_tile(0x1000, '1');  // 9000
    vram[0x1800] = 0x00;
    vram[0x1801] = 0x80;
    draw_map(grey_light());
    EXPECT_EQ(map_pixel(0, 0), grey_rgb(200)) << "00 from 9000";
    EXPECT_EQ(map_pixel(7, 7), grey_rgb(200));
    EXPECT_EQ(map_pixel(8, 0), grey_rgb(150)) << "80 from 8800";
    EXPECT_EQ(map_pixel(15, 7), grey_rgb(150));

    map_view_options from_8000 = grey_light();
    from_8000.tiles = tile_source::area_8000;
    draw_map(from_8000);
    EXPECT_EQ(map_pixel(0, 0), grey_rgb(0)) << "the chosen 8000 area overrides LCDC";

    write_byte(0xFF40, 0x91);
    draw_map(grey_light());
    EXPECT_EQ(map_pixel(0, 0), grey_rgb(0)) << "Auto follows LCDC bit 4";
    map_view_options from_8800 = grey_light();
    from_8800.tiles = tile_source::area_8800;
    draw_map(from_8800);
    EXPECT_EQ(map_pixel(0, 0), grey_rgb(200));
}

TEST_F(MapView, MapSourceFollowsLcdcOrTheChoice) {
    test::fill_tile(0x0000, '0');
    test::fill_tile(0x0010, '3');
    vram[0x1800] = 0x00;
    vram[0x1C00] = 0x01;
    struct choice {
        uint8_t lcdc;
        map_source map;
        int32_t top_left;
    };
    const choice choices[] = {
        {0x91, map_source::automatic, grey_rgb(255)},
        {0x99, map_source::automatic, grey_rgb(0)},
        {0x99, map_source::area_9800, grey_rgb(255)},
        {0x91, map_source::area_9c00, grey_rgb(0)},
    };
    for (const choice& c : choices) {
        write_byte(0xFF40, c.lcdc);
        map_view_options options = grey_light();
        options.map = c.map;
        draw_map(options);
        EXPECT_EQ(map_pixel(0, 0), c.top_left) << int(c.lcdc) << " " << int(c.map);
    }
}

TEST_F(MapView, GreyLevelsOfBothGreyModes) {
    test::put_tile(0x0000, {"01230123", "3210", "", "", "", "", "", ""});
    map_view_options options;
    options.colouring = map_colouring::grey_white_zero;
    draw_map(options);
    const int white_first[4] = {255, 200, 150, 0};
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(map_pixel(x, 0), grey_rgb(white_first[x % 4])) << x;
    }
    options.colouring = map_colouring::grey_black_zero;
    draw_map(options);
    const int black_first[4] = {0, 150, 200, 255};
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(map_pixel(x, 0), grey_rgb(black_first[x % 4])) << x;
    }
    EXPECT_EQ(map_pixel(0, 1), grey_rgb(255)) << "colour 3, W/B";
    EXPECT_EQ(map_pixel(4, 1), grey_rgb(0)) << "colour 0, W/B";
}

// A monochrome cartridge has no attributes: nothing is flipped, and "YES"
// shows the shades the BGP write put into background palette 0.
TEST_F(MapView, MonochromeColoursComeFromTheBgpShades) {
    write_byte(0xFF47, 0xE4);
    test::put_tile(0x0000, {"0123", "", "", "", "", "", "", ""});
    vram[0x1800] = 0x00;
    draw_map(map_view_options{});
    EXPECT_EQ(map_pixel(0, 0), grey_rgb(248));
    EXPECT_EQ(map_pixel(1, 0), grey_rgb(120));
    EXPECT_EQ(map_pixel(2, 0), grey_rgb(88));
    EXPECT_EQ(map_pixel(3, 0), grey_rgb(0));
}

TEST(MapViewColour, FlippedEntriesBankAndPalette) {
    test::reset_test_state();
    test::test_cartridge cartridge;
    cartridge.colour_flag(0x80);
    ASSERT_TRUE(cartridge.load());
    write_byte(0xFF40, 0x91);
    test::put_tile(0x0000, {"3", "", "", "", "", "", "", ""});          // bank 0, tile 0
    test::put_tile(bank1 + 0x0000, {"", "", "", "", "", "", "", "2"});  // bank 1, tile 0
    for (int c = 0; c < 4; ++c) {
        bg_colours[2 * 4 + c] = 0;
    }
    bg_colours[2 * 4 + 2] = 0x001F;  // red
    bg_colours[2 * 4 + 3] = 0x7C00;  // blue
    struct entry {
        uint8_t attributes;
        int x, y;  // where the marked pixel lands in the entry
        int32_t colour;
    };
    const entry entries[] = {
        {0x02, 0, 0, 0x0000F8},  // palette 2, no flip: top left, blue
        {0x22, 7, 0, 0x0000F8},  // X flip
        {0x42, 0, 7, 0x0000F8},  // Y flip
        {0x62, 7, 7, 0x0000F8},  // both
        {0x0A, 0, 7, 0xF80000},  // tile from bank 1: its bottom left, red
        {0x6A, 7, 0, 0xF80000},  // bank 1, both flips
    };
    for (int i = 0; i < 6; ++i) {
        vram[0x1800 + i] = 0x00;
        vram[bank1 + 0x1800 + i] = entries[i].attributes;
    }
    draw_map(map_view_options{});
    for (int i = 0; i < 6; ++i) {
        const entry& e = entries[i];
        EXPECT_EQ(map_pixel(i * 8 + e.x, e.y), e.colour) << int(e.attributes);
        EXPECT_EQ(map_pixel(i * 8 + 7 - e.x, 7 - e.y), 0) << int(e.attributes) << " opposite";
    }
}

// SCX F0, SCY C8: the left edge at column 240, the right edge wraps to
// column 144; the top edge at row 200, the bottom one wraps to row 88.
TEST_F(MapView, ScreenOutlineWrapsAtTheMapEdges) {
    write_byte(0xFF43, 0xF0);
    write_byte(0xFF42, 0xC8);
    map_view_options options = grey_light();
    options.outline = true;
    draw_map(options);
    for (int i = 0; i <= 144; ++i) {
        const int y = (200 + i) % 256;
        EXPECT_EQ(map_pixel(240, y), red_rgb) << y;
        EXPECT_EQ(map_pixel(144, y), red_rgb) << y;
    }
    for (int i = 0; i <= 160; ++i) {
        const int x = (240 + i) % 256;
        EXPECT_EQ(map_pixel(x, 200), red_rgb) << x;
        EXPECT_EQ(map_pixel(x, 88), red_rgb) << x;
    }
    EXPECT_EQ(map_pixel(239, 200), grey_rgb(255));
    EXPECT_EQ(map_pixel(145, 200), grey_rgb(255));
    EXPECT_EQ(map_pixel(240, 89), grey_rgb(255));
    EXPECT_EQ(map_pixel(240, 199), grey_rgb(255));
    EXPECT_EQ(map_pixel(200, 150), grey_rgb(255)) << "outside the screen area";
    EXPECT_EQ(map_pixel(20, 20), grey_rgb(255)) << "inside it";

    options.outline = false;
    draw_map(options);
    EXPECT_EQ(map_pixel(240, 200), grey_rgb(255)) << "no outline without ScrX";
}

TEST(MapViewColour, PointerDetailsNameTheEntryUnderThePointer) {
    test::reset_test_state();
    test::test_cartridge cartridge;
    cartridge.colour_flag(0x80);
    ASSERT_TRUE(cartridge.load());
    write_byte(0xFF40, 0x91);
    vram[0x1800 + 2 * 32 + 31] = 0x42;
    vram[bank1 + 0x1800 + 2 * 32 + 31] = 0xAD;  // priority, X flip, bank 1, palette 5
    vram[0x1C00 + 2 * 32 + 31] = 0x07;
    vram[bank1 + 0x1C00 + 2 * 32 + 31] = 0x40;  // Y flip
    vram[0x1800] = 0x11;
    struct pointer {
        int x, y;
        map_source map;
        map_entry_texts expected;
    };
    const pointer pointers[] = {
        {600,
         40,
         map_source::automatic,
         {"31", "2", "66", "173", "985F", "1", "5", true, false, true}},
        {511,
         47,
         map_source::area_9c00,
         {"31", "2", "7", "64", "9C5F", "0", "0", false, true, false}},
        {15,
         15,
         map_source::automatic,
         {"0", "0", "17", "0", "9800", "0", "0", false, false, false}},
        {-3,
         -9,
         map_source::automatic,
         {"0", "0", "17", "0", "9800", "0", "0", false, false, false}},
    };
    for (const pointer& p : pointers) {
        map_view_options options;
        options.map = p.map;
        const map_entry_texts t = describe_map_entry(options, p.x, p.y);
        const map_entry_texts& e = p.expected;
        SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
        EXPECT_EQ(t.x_loc, e.x_loc);
        EXPECT_EQ(t.y_loc, e.y_loc);
        EXPECT_EQ(t.tile_no, e.tile_no);
        EXPECT_EQ(t.attribute, e.attribute);
        EXPECT_EQ(t.map_address, e.map_address);
        EXPECT_EQ(t.tile_bank, e.tile_bank);
        EXPECT_EQ(t.palette, e.palette);
        EXPECT_EQ(t.x_flip, e.x_flip);
        EXPECT_EQ(t.y_flip, e.y_flip);
        EXPECT_EQ(t.priority, e.priority);
    }
}

}  // namespace
}  // namespace tov
