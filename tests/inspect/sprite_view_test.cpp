#include "inspect/sprite_view.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "classic/memory/memory_map.h"
#include "inspect/bitmaps.h"
#include "memory/io_registers.h"
#include "test_cartridge.h"
#include "video/frame.h"
#include "vram_tiles.h"

namespace tov {
namespace {

using test::grey_rgb;
using test::red_rgb;

int32_t thumbnail_pixel(int x, int y) {
    return test::pixel_rgb(sprite_bitmap, sprite_bitmap_width, x, y);
}

int32_t snapshot_pixel(int x, int y) {
    return test::pixel_rgb(snapshot_bitmap, snapshot_bitmap_width, x, y);
}

void put_sprite(int n, int y, int x, int tile, int attributes) {
    const uint8_t bytes[4] = {static_cast<uint8_t>(y), static_cast<uint8_t>(x),
                              static_cast<uint8_t>(tile), static_cast<uint8_t>(attributes)};
    std::memcpy(oam + n * 4, bytes, 4);
}

// Sprite palettes from OBP0 E4 and OBP1 1B: colour numbers 0-3 as the
// greys 248, 120, 88, 0 and the reverse.
class SpriteView : public test::machine_test {
protected:
    void SetUp() override {
        machine_test::SetUp();
        write_byte(0xFF48, 0xE4);
        write_byte(0xFF49, 0x1B);
        std::memset(oam, 0xFF, sizeof oam);
    }
};

TEST_F(SpriteView, EightBySixteenThumbnailShowsBothTilesOfThePair) {
    write_byte(0xFF40, 0x97);      // sprites 8 x 16
    test::fill_tile(0x0020, '1');  // tile 02
    test::fill_tile(0x0030, '2');  // tile 03
    put_sprite(5, 50, 60, 0x03, 0x00);
    draw_sprite_thumbnail(5);
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 16; ++y) {
            EXPECT_EQ(thumbnail_pixel(x, y), grey_rgb(y < 8 ? 120 : 88)) << x << "," << y;
        }
    }
    put_sprite(5, 50, 60, 0x03, 0x40);  // Y flip: tile 03 on top
    draw_sprite_thumbnail(5);
    EXPECT_EQ(thumbnail_pixel(0, 0), grey_rgb(88));
    EXPECT_EQ(thumbnail_pixel(0, 15), grey_rgb(120));
}

// An 8-pixel sprite fills rows 4-11 on white; colour 0 is drawn in the
// palette's colour, not left white.
TEST_F(SpriteView, EightByEightThumbnailWithFlipsAndPalettes) {
    write_byte(0xFF40, 0x93);
    test::put_tile(0x0010, {"3", "", "", "", "", "", "", "1"});
    struct look {
        uint8_t attributes;
        int x, y;       // where colour 3 lands; colour 1 lands at x, 15 - y
        int32_t three;  // colour 3
        int32_t zero;   // colour 0
    };
    const look looks[] = {
        {0x00, 0, 4, grey_rgb(0), grey_rgb(248)},  {0x20, 7, 4, grey_rgb(0), grey_rgb(248)},
        {0x40, 0, 11, grey_rgb(0), grey_rgb(248)}, {0x60, 7, 11, grey_rgb(0), grey_rgb(248)},
        {0x10, 0, 4, grey_rgb(248), grey_rgb(0)},  // OBP1
        {0x0F, 0, 4, grey_rgb(0), grey_rgb(248)},  // low nibble ignored without colour
    };
    for (const look& l : looks) {
        put_sprite(0, 40, 40, 0x01, l.attributes);
        draw_sprite_thumbnail(0);
        SCOPED_TRACE(int(l.attributes));
        EXPECT_EQ(thumbnail_pixel(l.x, l.y), l.three);
        EXPECT_EQ(thumbnail_pixel(l.x, 15 - l.y),
                  l.three == grey_rgb(0) ? grey_rgb(120) : grey_rgb(88));
        EXPECT_EQ(thumbnail_pixel(3, 6), l.zero);
        for (int x = 0; x < 8; ++x) {
            for (int y : {0, 3, 12, 15}) {
                EXPECT_EQ(thumbnail_pixel(x, y), grey_rgb(255)) << x << "," << y;
            }
        }
    }
}

TEST_F(SpriteView, ColourSpritesUseTheirPaletteAndBank) {
    load(0x80);
    std::memset(oam, 0xFF, sizeof oam);
    write_byte(0xFF40, 0x93);
    test::fill_tile(0x0010, '1');
    test::fill_tile(0x2000 + 0x0010, '2');
    obj_colours[6 * 4 + 1] = 0x03E0;  // green
    obj_colours[6 * 4 + 2] = 0x001F;  // red
    put_sprite(3, 40, 40, 0x01, 0x06);
    draw_sprite_thumbnail(3);
    EXPECT_EQ(thumbnail_pixel(2, 5), 0x00F800);
    put_sprite(3, 40, 40, 0x01, 0x0E);
    draw_sprite_thumbnail(3);
    EXPECT_EQ(thumbnail_pixel(2, 5), 0xF80000);
}

// A sprite at 0,0 gets a line from the corner to 8,16: one pixel a row,
// at half the row's number.
TEST_F(SpriteView, SpriteAtTheOriginIsStruckThrough) {
    write_byte(0xFF40, 0x93);
    put_sprite(7, 0, 0, 0x00, 0x00);
    draw_sprite_thumbnail(7);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(thumbnail_pixel(x, y) == red_rgb, x == y / 2) << x << "," << y;
        }
    }
    for (const auto& [y, x] : {std::pair{0, 1}, std::pair{1, 0}}) {
        put_sprite(7, y, x, 0x00, 0x00);
        draw_sprite_thumbnail(7);
        EXPECT_NE(thumbnail_pixel(0, 0), red_rgb) << y << "," << x;
        EXPECT_NE(thumbnail_pixel(3, 7), red_rgb) << y << "," << x;
    }
}

TEST_F(SpriteView, ThumbnailsEightARow) {
    const page_point first = thumbnail_position(0);
    const page_point eighth = thumbnail_position(7);
    const page_point ninth = thumbnail_position(8);
    const page_point last = thumbnail_position(39);
    EXPECT_EQ(first.x, 30);
    EXPECT_EQ(first.y, 15);
    EXPECT_EQ(eighth.x, 478);
    EXPECT_EQ(eighth.y, 15);
    EXPECT_EQ(ninth.x, 30);
    EXPECT_EQ(ninth.y, 79);
    EXPECT_EQ(last.x, 478);
    EXPECT_EQ(last.y, 271);
}

TEST_F(SpriteView, OamColumnsListFiveSpritesEach) {
    for (int i = 0; i < oam_size; ++i) {
        oam[i] = static_cast<uint8_t>(i);
    }
    EXPECT_EQ(oam_column_text(0),
              "00\n01\n02\n03\n\n20\n21\n22\n23\n\n40\n41\n42\n43 \n\n60\n61\n62\n63 \n\n"
              "80\n81\n82\n83 ");
    EXPECT_EQ(oam_column_text(7),
              "1C\n1D\n1E\n1F\n\n3C\n3D\n3E\n3F\n\n5C\n5D\n5E\n5F \n\n7C\n7D\n7E\n7F \n\n"
              "9C\n9D\n9E\n9F ");
}

TEST_F(SpriteView, PointerPicksTheSpriteAndItsDetails) {
    const int pointers[][3] = {{0, 0, 0},  {66, 67, 0},    {67, 0, 1},     {600, 0, 7},
                               {0, 68, 8}, {469, 340, 39}, {600, 600, 39}, {-5, -5, 0}};
    for (const auto& p : pointers) {
        EXPECT_EQ(sprite_under_pointer(p[0], p[1]), p[2]) << p[0] << "," << p[1];
    }
    put_sprite(9, 0x50, 0x30, 0x12, 0xF5);
    const sprite_texts t = describe_sprite(9);
    EXPECT_EQ(t.sprite_no, "9");
    EXPECT_EQ(t.x_loc, "48");
    EXPECT_EQ(t.y_loc, "80");
    EXPECT_EQ(t.attribute, "F5");
    EXPECT_EQ(t.oam_address, "FE24");
    EXPECT_EQ(t.palette, "1");
    EXPECT_TRUE(t.x_flip);
    EXPECT_TRUE(t.y_flip);
    EXPECT_TRUE(t.priority);
    put_sprite(9, 0x50, 0x30, 0x12, 0x05);
    const sprite_texts plain = describe_sprite(9);
    EXPECT_EQ(plain.palette, "0");
    EXPECT_FALSE(plain.x_flip || plain.y_flip || plain.priority);
}

class SpriteSnapshot : public SpriteView {
protected:
    void SetUp() override {
        SpriteView::SetUp();
        for (std::size_t i = 0; i < sizeof frame_buffer; ++i) {
            frame_buffer[i] = static_cast<uint8_t>(i * 7 % 251 & 0xF0);  // never pure red
        }
        take_snapshot();
    }
    static int red_pixels() {
        int count = 0;
        for (int y = 0; y < snapshot_bitmap_height; ++y) {
            for (int x = 0; x < snapshot_bitmap_width; ++x) {
                count += snapshot_pixel(x, y) == red_rgb;
            }
        }
        return count;
    }
};

TEST_F(SpriteSnapshot, TheSnapshotIsTheScreen) {
    EXPECT_EQ(std::memcmp(snapshot_bitmap, frame_buffer, sizeof frame_buffer), 0);
}

// Sprite at X 58, Y 116 (8 x 8): its frame's corner at 50,100, the right
// edge one column further at 58, the bottom edge at row 108.
TEST_F(SpriteSnapshot, MarksTheSpriteWithAFrameAndALine) {
    write_byte(0xFF40, 0x93);
    put_sprite(4, 116, 58, 0x00, 0x00);
    mark_sprite_on_snapshot(4);
    for (int x = 50; x <= 57; ++x) {
        EXPECT_EQ(snapshot_pixel(x, 100), red_rgb) << x;
        EXPECT_EQ(snapshot_pixel(x, 108), red_rgb) << x;
    }
    for (int y = 100; y <= 107; ++y) {
        EXPECT_EQ(snapshot_pixel(50, y), red_rgb) << y;
        EXPECT_EQ(snapshot_pixel(58, y), red_rgb) << y;
    }
    EXPECT_NE(snapshot_pixel(58, 108), red_rgb);
    EXPECT_NE(snapshot_pixel(54, 104), red_rgb) << "the inside stays";
    EXPECT_EQ(snapshot_pixel(0, 0), red_rgb) << "the line starts at the corner";
    EXPECT_EQ(snapshot_pixel(25, 50), red_rgb) << "and runs to the sprite";
    EXPECT_EQ(snapshot_pixel(30, 60), red_rgb);
    EXPECT_NE(snapshot_pixel(60, 30), red_rgb);
}

// 8 x 16 sprites at Y 159: the frame's top edge is row 143, the last row of
// the picture; everything below it is dropped.
TEST_F(SpriteSnapshot, MarkingIsClippedAtTheBottomEdge) {
    write_byte(0xFF40, 0x97);
    put_sprite(2, 159, 20, 0x00, 0x00);
    mark_sprite_on_snapshot(2);
    for (int x = 12; x <= 20; ++x) {
        EXPECT_EQ(snapshot_pixel(x, 143), red_rgb) << x;
    }
    EXPECT_NE(snapshot_pixel(21, 143), red_rgb);
    EXPECT_GT(red_pixels(), 9) << "and the line to the corner";
    EXPECT_LT(red_pixels(), 9 + 144) << "one line pixel a row at most";
}

TEST_F(SpriteSnapshot, SpritesOffTheScreenAreNotMarked) {
    write_byte(0xFF40, 0x93);
    const int positions[][2] = {{0, 0}, {15, 40}, {40, 7}, {160, 40}, {40, 168}};
    for (const auto& [y, x] : positions) {
        put_sprite(1, y, x, 0x00, 0x00);
        mark_sprite_on_snapshot(1);
        EXPECT_EQ(red_pixels(), 0) << y << "," << x;
    }
    put_sprite(1, 16, 8, 0x00, 0x00);
    mark_sprite_on_snapshot(1);
    EXPECT_EQ(snapshot_pixel(0, 0), red_rgb) << "the first position on the screen is marked";
}

}  // namespace
}  // namespace tov
