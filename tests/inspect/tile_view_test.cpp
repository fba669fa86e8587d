#include "inspect/tile_view.h"

#include <gtest/gtest.h>

#include <string>

#include "classic/memory/memory_map.h"
#include "inspect/bitmaps.h"
#include "test_cartridge.h"
#include "vram_tiles.h"

namespace tov {
namespace {

using test::grey_rgb;

int32_t tile_pixel(int x, int y) {
    return test::pixel_rgb(tile_bitmap, tile_bitmap_width, x, y);
}

constexpr int bank1 = 0x2000;

using TileView = test::machine_test;

// Tile t sits at column t mod 16, row t / 16 of its half; bank 1 from column 128.
TEST_F(TileView, BothBanksInGreyWithAMonochromeBankOneWhite) {
    test::put_tile(0x0000, {"0123", "", "", "", "", "", "", ""});
    test::fill_tile(17 * 16, '2');   // tile 17: column 1, row 1
    test::fill_tile(383 * 16, '3');  // tile 383: column 15, row 23
    draw_tiles();
    EXPECT_EQ(tile_pixel(0, 0), grey_rgb(255));
    EXPECT_EQ(tile_pixel(1, 0), grey_rgb(200));
    EXPECT_EQ(tile_pixel(2, 0), grey_rgb(150));
    EXPECT_EQ(tile_pixel(3, 0), grey_rgb(0));
    EXPECT_EQ(tile_pixel(8, 8), grey_rgb(150));
    EXPECT_EQ(tile_pixel(15, 15), grey_rgb(150));
    EXPECT_EQ(tile_pixel(16, 8), grey_rgb(255));
    EXPECT_EQ(tile_pixel(127, 191), grey_rgb(0));
    EXPECT_EQ(tile_pixel(120, 184), grey_rgb(0));
    int not_white = 0;
    for (int y = 0; y < tile_bitmap_height; ++y) {
        for (int x = 128; x < tile_bitmap_width; ++x) {
            not_white += tile_pixel(x, y) != grey_rgb(255);
        }
    }
    EXPECT_EQ(not_white, 0) << "a monochrome cartridge's bank 1 is empty";
}

// The left half shows what the CPU reads at 8000-97FF: on a colour cartridge
// the bank FF4F selects. The right half is always bank 1.
TEST_F(TileView, TheLeftHalfFollowsTheSelectedBank) {
    load(0x80);
    test::fill_tile(0x0000, '1');
    test::fill_tile(bank1 + 0x0000, '3');
    draw_tiles();
    EXPECT_EQ(tile_pixel(0, 0), grey_rgb(200));
    EXPECT_EQ(tile_pixel(128, 0), grey_rgb(0));
    write_byte(0xFF4F, 0x01);
    draw_tiles();
    EXPECT_EQ(tile_pixel(0, 0), grey_rgb(0));
    EXPECT_EQ(tile_pixel(128, 0), grey_rgb(0));
}

TEST(TileDetails, NameTheTileUnderThePointer) {
    struct pointer {
        int x, y;
        const char* tile_no;
        const char* address;
    };
    const pointer pointers[] = {
        {0, 0, "0", "0:8000"},
        {20 * 16 + 5, 17 * 16 + 3, "20", "1:9140"},  // row 17, column 20 of the page
        {17 * 16, 0, "1", "1:8010"},
        {15 * 16 + 15, 15 * 16 + 15, "255", "0:8FF0"},
        {0, 16 * 16, "0", "0:9000"},
        {600, 500, "127", "1:97F0"},  // held inside the picture: column 31, row 23
        {-20, -20, "0", "0:8000"},
    };
    for (const pointer& p : pointers) {
        const tile_texts t = describe_tile(p.x, p.y);
        EXPECT_EQ(t.tile_no, p.tile_no) << p.x << "," << p.y;
        EXPECT_EQ(t.tile_address, p.address) << p.x << "," << p.y;
    }
}

}  // namespace
}  // namespace tov
