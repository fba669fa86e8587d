#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "classic/memory/memory_map.h"
#include "classic/video/renderer.h"
#include "machine/timing.h"
#include "memory/io_registers.h"
#include "test_cartridge.h"
#include "video/frame.h"
#include "vram_tiles.h"

namespace tov {
namespace {

using test::fill_tile;
using test::put_tile;

// Pixel x of line y as 0xRRGGBB.
int32_t pixel(int x, int y) {
    return test::pixel_rgb(frame_buffer, 160, x, y);
}

constexpr int32_t grey(int level) {
    return test::grey_rgb(level);
}

void render(int ly) {
    render_ly = ly;
    render_line();
}

void put_sprite(int n, int y, int x, int tile, int flags) {
    oam[n * 4] = static_cast<uint8_t>(y);
    oam[n * 4 + 1] = static_cast<uint8_t>(x);
    oam[n * 4 + 2] = static_cast<uint8_t>(tile);
    oam[n * 4 + 3] = static_cast<uint8_t>(flags);
}

// Shades of BGP E4 in the frame: colour numbers 0-3 as greys.
const int32_t shade[4] = {grey(248), grey(120), grey(88), grey(0)};

// Colour words 001F and 03E0 in the frame.
constexpr int32_t red = 0xF80000;
constexpr int32_t green = 0x00F800;

class Renderer : public test::machine_test {
protected:
    void SetUp() override { load(0x00); }
    void load(uint8_t colour_flag) {
        machine_test::load(colour_flag);
        write_byte(0xFF47, 0xE4);
        write_byte(0xFF48, 0xE4);
        write_byte(0xFF49, 0x1B);
        std::memset(oam, 0, sizeof oam);
    }
};

TEST_F(Renderer, LayersOffLeaveTheLineWhite) {
    write_byte(0xFF40, 0x80);
    render(10);
    for (int x = 0; x < 160; ++x) {
        ASSERT_EQ(pixel(x, 10), grey(255)) << x;
    }
    write_byte(0xFF40, 0x91);  // background on: colour 0 is shade 0, one step darker
    render(10);
    EXPECT_EQ(pixel(0, 10), grey(248));
}

TEST_F(Renderer, BackgroundShadesAndScrolling) {
    write_byte(0xFF40, 0x91);  // tiles at 8000, map 9800
    put_tile(0x0010, {"01230123", "01230123", "01230123", "01230123", "01230123", "01230123",
                      "01230123", "32103210"});
    for (int i = 0; i < 32 * 32; ++i) {
        vram[0x1800 + i] = 1;
    }
    render(0);
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(pixel(x, 0), shade[x % 4]) << x;
    }
    write_byte(0xFF42, 7);  // SCY: line 0 shows tile row 7
    write_byte(0xFF43, 2);  // SCX: starting at column 2
    render(0);
    EXPECT_EQ(pixel(0, 0), shade[1]);
    EXPECT_EQ(pixel(1, 0), shade[0]);
    EXPECT_EQ(pixel(6, 0), shade[3]) << "the next tile's column 0";
}

TEST_F(Renderer, TheMapWrapsAt256) {
    write_byte(0xFF40, 0x91);
    fill_tile(0x0010, '3');
    fill_tile(0x0020, '1');
    vram[0x1800 + 31] = 1;  // map column 31
    vram[0x1800 + 0] = 2;   // map column 0
    write_byte(0xFF43, 0xF8);
    render(0);
    EXPECT_EQ(pixel(0, 0), shade[3]);
    EXPECT_EQ(pixel(7, 0), shade[3]);
    EXPECT_EQ(pixel(8, 0), shade[1]) << "pixel 8 comes from map column 0";
    write_byte(0xFF42, 0xFC);  // line 4 is map row 0 again
    render(4);
    EXPECT_EQ(pixel(8, 4), shade[1]);
}

TEST_F(Renderer, SignedTileNumbersWithTileDataAt8800) {
    write_byte(0xFF40, 0x81);  // bit 4 clear
    fill_tile(0x0800, '1');    // tile 80 at 8800
    fill_tile(0x17F0, '2');    // tile 7F at 97F0
    fill_tile(0x1000, '3');    // tile 00 at 9000
    vram[0x1800] = 0x80;
    vram[0x1801] = 0x7F;
    vram[0x1802] = 0x00;
    render(0);
    EXPECT_EQ(pixel(0, 0), shade[1]);
    EXPECT_EQ(pixel(8, 0), shade[2]);
    EXPECT_EQ(pixel(16, 0), shade[3]);
}

TEST_F(Renderer, WindowPosition) {
    write_byte(0xFF40, 0xF1);  // window on with map 9C00, background on 9800
    fill_tile(0x0010, '3');
    for (int i = 0; i < 32 * 32; ++i) {
        vram[0x1C00 + i] = 1;
    }
    struct case_t {
        int wx, wy, ly;
        int first_window_pixel;  // 160: no window on the line
    };
    const case_t cases[] = {
        {7, 0, 0, 0},     {166, 0, 0, 159}, {167, 0, 0, 160}, {87, 0, 5, 80},
        {87, 10, 5, 160}, {87, 10, 10, 80}, {0, 0, 0, 0},     {255, 0, 0, 160},
    };
    for (const case_t& test : cases) {
        SCOPED_TRACE(testing::Message()
                     << "WX " << test.wx << " WY " << test.wy << " line " << test.ly);
        write_byte(0xFF4B, static_cast<uint8_t>(test.wx));
        write_byte(0xFF4A, static_cast<uint8_t>(test.wy));
        render(test.ly);
        for (int x = 0; x < 160; ++x) {
            ASSERT_EQ(pixel(x, test.ly), x >= test.first_window_pixel ? shade[3] : shade[0]) << x;
        }
    }
}

// Window map row k (9C00) shows tile k + 1, whose row j has window row k * 8 + j
// in binary, one pixel a bit (colour 3 set, colour 0 clear), the highest
// bit at the left. The background is colour 1 everywhere.
void put_window_row_numbers() {
    for (int k = 0; k < 18; ++k) {
        for (int j = 0; j < 8; ++j) {
            const auto number = static_cast<uint8_t>(k * 8 + j);
            vram[(k + 1) * 16 + j * 2] = number;
            vram[(k + 1) * 16 + j * 2 + 1] = number;
        }
        for (int column = 0; column < 32; ++column) {
            vram[0x1C00 + k * 32 + column] = static_cast<uint8_t>(k + 1);
        }
    }
    fill_tile(0x0200, '1');
    std::memset(vram + 0x1800, 0x20, 32 * 32);
}

// The window row shown at the left of line y, or -1 where no window shows.
int window_row_at(int y) {
    int row = 0;
    for (int x = 0; x < 8; ++x) {
        const int32_t p = pixel(x, y);
        if (p != shade[0] && p != shade[3]) {
            return -1;
        }
        row = row << 1 | (p == shade[3] ? 1 : 0);
    }
    return row;
}

TEST_F(Renderer, WindowRowsSkipTheLinesWithoutTheWindow) {
    put_window_row_numbers();
    write_byte(0xFF4A, 16);
    struct hiding_t {
        const char* what;
        uint8_t lcdc;
        uint8_t wx;
    };
    const hiding_t hidings[] = {
        {"WX off the screen", 0xF1, 240},
        {"LCDC bit 5 clear", 0xD1, 7},
        {"LCDC bit 0 clear", 0xF0, 7},
    };
    for (const hiding_t& hiding : hidings) {
        SCOPED_TRACE(hiding.what);
        // Hidden on lines 8-15 (above WY: not counted) and 24-39.
        for (int ly = 0; ly < 144; ++ly) {
            const bool hidden = (ly >= 8 && ly < 16) || (ly >= 24 && ly < 40);
            write_byte(0xFF40, hidden ? hiding.lcdc : 0xF1);
            write_byte(0xFF4B, hidden ? hiding.wx : 7);
            render(ly);
            if (ly == 40) {
                render(ly);  // drawn again, as the debugger's step does
            }
        }
        EXPECT_EQ(window_row_at(15), -1);
        EXPECT_EQ(window_row_at(16), 0);
        EXPECT_EQ(window_row_at(23), 7);
        EXPECT_EQ(window_row_at(24), -1);
        EXPECT_EQ(window_row_at(40), 8) << "the next row after the hidden lines";
        EXPECT_EQ(window_row_at(41), 9);
        EXPECT_EQ(window_row_at(143), 111);
        // A new frame shown throughout starts counting afresh.
        for (int ly = 0; ly <= 40; ++ly) {
            render(ly);
        }
        EXPECT_EQ(window_row_at(40), 24);
    }
}

TEST_F(Renderer, LoadingACartridgeStartsTheWindowRowsAfresh) {
    put_window_row_numbers();
    write_byte(0xFF4A, 0);
    write_byte(0xFF40, 0xF1);
    write_byte(0xFF4B, 240);
    for (int ly = 0; ly < 8; ++ly) {
        render(ly);  // hidden: eight lines counted
    }
    load(0x00);
    put_window_row_numbers();
    write_byte(0xFF40, 0xF1);
    write_byte(0xFF4B, 7);
    render(11);
    EXPECT_EQ(window_row_at(11), 11);
}

TEST_F(Renderer, WhichObjectIsOnTop) {
    struct case_t {
        uint8_t colour_flag;
        int x0, x1;            // OAM X of objects 0 and 1
        int32_t at_12, at_16;  // the pixels of screen columns 12 and 16
    };
    // Object 0 is green on its left half and transparent on its right half,
    // object 1 red throughout.
    const case_t cases[] = {
        {0x00, 20, 18, red, red},    // monochrome: the lower X on top
        {0x00, 18, 20, green, red},  // object 0's transparent half shows object 1
        {0x00, 20, 20, green, red},  // equal X: the lower index on top
        {0x80, 20, 18, green, red},  // colour: the lower index on top
        {0x80, 18, 20, green, red},
    };
    for (const case_t& test : cases) {
        SCOPED_TRACE(testing::Message() << "colour flag " << int{test.colour_flag} << ", X "
                                        << test.x0 << " and " << test.x1);
        load(test.colour_flag);
        write_byte(0xFF40, 0x93);
        obj_colours[1] = 0x001F;
        obj_colours[2] = 0x03E0;
        fill_tile(0x0010, '1');
        put_tile(0x0020, {"22220000", "22220000", "22220000", "22220000", "22220000", "22220000",
                          "22220000", "22220000"});
        put_sprite(0, 16, test.x0, 2, 0x00);
        put_sprite(1, 16, test.x1, 1, 0x00);
        render(0);
        EXPECT_EQ(pixel(12, 0), test.at_12);
        EXPECT_EQ(pixel(16, 0), test.at_16);
    }
}

TEST_F(Renderer, TheBackgroundHidesTheTopObjectAndWhatIsBehindIt) {
    write_byte(0xFF40, 0x93);
    put_tile(0x0010, {"00001111", "00001111", "00001111", "00001111", "00001111", "00001111",
                      "00001111", "00001111"});
    fill_tile(0x0020, '3');
    fill_tile(0x0030, '2');
    vram[0x1800] = 1;
    vram[0x1801] = 1;
    put_sprite(0, 16, 8, 2, 0x80);  // behind the background, on top of object 1
    put_sprite(1, 16, 12, 3, 0x00);
    render(0);
    EXPECT_EQ(pixel(0, 0), shade[3]) << "over background colour 0";
    EXPECT_EQ(pixel(4, 0), shade[1]) << "hidden behind colour 1, and object 1 with it";
    EXPECT_EQ(pixel(8, 0), shade[2]) << "object 1 where object 0 is not";
}

TEST_F(Renderer, AtMostTenObjectsALineInOamOrder) {
    write_byte(0xFF40, 0x93);
    fill_tile(0x0010, '3');
    struct case_t {
        const char* what;
        int first_x;  // OAM X of object 0; objects 1-9 follow 12 apart from 40
    };
    const case_t cases[] = {{"object 0 on the screen", 24}, {"object 0 off the screen", 0}};
    for (const case_t& test : cases) {
        SCOPED_TRACE(test.what);
        put_sprite(0, 20, test.first_x, 1, 0x00);
        for (int n = 1; n < 10; ++n) {
            put_sprite(n, 20, 40 + n * 12, 1, 0x00);
        }
        put_sprite(10, 20, 8, 1, 0x00);  // the eleventh, at the lowest X on the screen
        render(4);
        EXPECT_EQ(line_sprite_count, 10);
        EXPECT_EQ(pixel(0, 4), shade[0]) << "the eleventh is not drawn";
        EXPECT_EQ(pixel(40 + 9 * 12 - 8, 4), shade[3]) << "the tenth is";
    }
    render(3);
    EXPECT_EQ(line_sprite_count, 0);
    write_byte(0xFF40, 0x91);  // sprites off: the count keeps its last value
    render(4);
    EXPECT_EQ(line_sprite_count, 0);
}

TEST_F(Renderer, TallSpritesAndFlips) {
    write_byte(0xFF40, 0x97);  // 8x16 sprites
    put_tile(0x0040, {"10000000", "0", "0", "0", "0", "0", "0", "22222222"});
    put_tile(0x0050, {"33000000", "0", "0", "0", "0", "0", "0", "11110000"});
    put_sprite(0, 16, 8, 0x05, 0x00);
    render(0);
    EXPECT_EQ(pixel(0, 0), shade[1]) << "row 0 from tile 04";
    render(8);
    EXPECT_EQ(pixel(1, 8), shade[3]) << "row 8 from tile 05";
    put_sprite(0, 16, 8, 0x05, 0x40);  // vertical flip
    render(0);
    EXPECT_EQ(pixel(0, 0), shade[1]) << "row 0 shows tile 05's last row";
    EXPECT_EQ(pixel(4, 0), shade[0]);
    put_sprite(0, 16, 8, 0x04, 0x20);  // horizontal flip
    render(0);
    EXPECT_EQ(pixel(7, 0), shade[1]);
    EXPECT_EQ(pixel(0, 0), shade[0]);
}

TEST_F(Renderer, MonochromeSpritesUseObp1AndBankZeroOnly) {
    write_byte(0xFF40, 0x93);
    fill_tile(0x0010, '1');
    fill_tile(0x2010, '3');  // bank 1, never used in monochrome
    put_sprite(0, 16, 8, 1, 0x18);
    render(0);
    EXPECT_EQ(pixel(0, 0), shade[2]) << "OBP1 1B maps colour 1 to shade 2";
    put_sprite(0, 16, 8, 1, 0x08);
    render(0);
    EXPECT_EQ(pixel(0, 0), shade[1]) << "OBP0";
}

TEST_F(Renderer, LinesOutsideTheScreenAreNotDrawn) {
    write_byte(0xFF40, 0x91);
    const uint8_t before = frame_buffer[0];
    for (const int ly : {-1, 144, 200}) {
        render(ly);
    }
    EXPECT_EQ(frame_buffer[0], before);
}

class ColourRenderer : public Renderer {
protected:
    void SetUp() override { load(0x80); }

    static void set_bg_colour(int palette, int c, int32_t word) {
        bg_colours[palette * 4 + c] = word;
    }
};

TEST_F(ColourRenderer, MapAttributesSelectPaletteBankAndFlips) {
    write_byte(0xFF40, 0x91);
    set_bg_colour(0, 1, 0x001F);  // red
    set_bg_colour(2, 1, 0x03E0);  // green
    set_bg_colour(2, 2, 0x7C00);  // blue
    put_tile(0x0010, {"10000000", "0", "0", "0", "0", "0", "0", "20000000"});
    put_tile(0x2010, {"22222222", "0", "0", "0", "0", "0", "0", "0"});
    for (int column = 0; column < 4; ++column) {
        vram[0x1800 + column] = 1;
    }
    vram[0x3800 + 1] = 0x02;         // palette 2
    vram[0x3800 + 2] = 0x02 | 0x20;  // palette 2, horizontal flip
    vram[0x3800 + 3] = 0x02 | 0x08;  // palette 2, tile data from bank 1
    render(0);
    EXPECT_EQ(pixel(0, 0), red);
    EXPECT_EQ(pixel(8, 0), green);
    EXPECT_EQ(pixel(23, 0), green) << "flipped: column 0 shows at the right";
    EXPECT_EQ(pixel(16, 0), 0x000000) << "colour 0 of palette 2 is black";
    EXPECT_EQ(pixel(26, 0), 0x0000F8) << "bank 1 row of 2s";
    vram[0x3800] = 0x40;  // vertical flip
    render(0);
    EXPECT_EQ(pixel(0, 0), grey(120)) << "colour 2 of palette 0 (3DEF) from the last row";
}

TEST_F(ColourRenderer, PriorityBitsAndLcdcBit0) {
    struct case_t {
        const char* what;
        bool window;
        uint8_t map_attribute;
        uint8_t object_flags;
        bool shown_over_colour_1;  // with LCDC bit 0 set
    };
    const case_t cases[] = {
        {"no priority bit", false, 0x00, 0x00, true},
        {"background attribute", false, 0x80, 0x00, false},
        {"window attribute", true, 0x80, 0x00, false},
        {"object behind the background", false, 0x00, 0x80, false},
        {"object behind the window", true, 0x00, 0x80, false},
    };
    for (const case_t& test : cases) {
        for (const uint8_t bit0 : {0x01, 0x00}) {
            SCOPED_TRACE(testing::Message() << test.what << ", LCDC bit 0 " << int{bit0});
            load(0x80);
            // Map entries 0 and 1: colour 0 on the left half, colour 1 on the right.
            put_tile(0x0010, {"00001111", "00001111", "00001111", "00001111", "00001111",
                              "00001111", "00001111", "00001111"});
            fill_tile(0x0020, '3');
            obj_colours[3] = 0x001F;
            const int map = test.window ? 0x1C00 : 0x1800;
            vram[map] = 1;
            vram[map + 1] = 1;
            vram[0x2000 + map] = test.map_attribute;
            write_byte(0xFF4B, 7);
            write_byte(0xFF4A, 0);
            write_byte(0xFF40, static_cast<uint8_t>((test.window ? 0xF2 : 0x92) | bit0));
            put_sprite(0, 16, 8, 2, test.object_flags);
            render(0);
            EXPECT_EQ(pixel(0, 0), red) << "over colour 0";
            EXPECT_EQ(pixel(4, 0) == red, test.shown_over_colour_1 || bit0 == 0) << "over colour 1";
            EXPECT_EQ(pixel(12, 0), grey(88)) << "the layer is drawn either way";
        }
    }
}

TEST_F(ColourRenderer, ColourSpritesUseTheirPaletteAndBank) {
    write_byte(0xFF40, 0x93);
    fill_tile(0x2010, '2');
    obj_colours[3 * 4 + 2] = 0x03E0;
    put_sprite(0, 16, 8, 1, 0x08 | 0x03);
    render(0);
    EXPECT_EQ(pixel(0, 0), green);
}

}  // namespace
}  // namespace tov
