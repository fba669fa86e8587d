// The picture cartridges of tests/cartridges/pictures, each assembled after
// setup.asm, against their golden screens (NAME.png beside each source)
// pixel for pixel. Each screen must also show the pixels that make
// the cartridge's point, read from its own description, so a golden recorded
// from a wrong picture cannot pass.
//
// To record a golden after a deliberate change: assemble the cartridge as
// setup.asm says, run tov-headless CARTRIDGE --frames 10 --screenshot
// tests/cartridges/pictures/NAME.png, and look at the picture before keeping it.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "headless_run.h"

namespace tov {
namespace {

// A pixel that shows the cartridge's rule, with what it shows.
struct rule_pixel {
    int x, y;
    uint32_t rgb;
    const char* shows;
};

struct picture_cartridge {
    const char* name;
    std::vector<rule_pixel> rule;
};

// Names the cartridge in failure messages.
void PrintTo(const picture_cartridge& cartridge, std::ostream* out) {
    *out << cartridge.name;
}

// Monochrome shades of colour numbers 0-3 under E4, and the cleared white.
constexpr uint32_t shade0 = 0xF8F8F8;
constexpr uint32_t shade1 = 0x787878;
constexpr uint32_t shade2 = 0x585858;
constexpr uint32_t shade3 = 0x000000;
constexpr uint32_t cleared = 0xFFFFFF;

// The colour cartridge's palettes.
constexpr uint32_t light_grey = 0xA0A0A0;
constexpr uint32_t dark_grey = 0x505050;
constexpr uint32_t red = 0xF80000;
constexpr uint32_t green = 0x00F800;
constexpr uint32_t blue = 0x0000F8;

const picture_cartridge cartridges[] = {
    {"lyc_scroll",
     {{0, 39, shade3, "line 39 unscrolled: a black stripe at X 0-3"},
      {4, 39, shade1, "line 39 unscrolled: a grey stripe at X 4-7"},
      {0, 40, shade1, "line 40 scrolled by the LYC handler"},
      {4, 40, shade3, "line 40 scrolled by the LYC handler"}}},
    {"window_rows",
     {{7, 23, shade0, "line 23: window row 7, its diagonal at column 7"},
      {1, 39, shade0, "line 39: window hidden by WX"},
      {0, 40, shade0, "line 40: window row 8, its diagonal at column 0"},
      {1, 40, shade2, "line 40: window row 8 in map row 1 (dark grey)"},
      {1, 65, shade0, "line 65: window hidden by LCDC bit 5"},
      {0, 68, shade0, "line 68: window row 32, its diagonal at column 0"},
      {1, 68, shade2, "line 68: window row 32 in map row 4 (dark grey)"},
      {1, 98, cleared, "line 98: LCDC bit 0 hides window and background"},
      {4, 101, shade0, "line 101: window row 60, its diagonal at column 4"},
      {0, 101, shade2, "line 101: window row 60 in map row 7 (dark grey)"}}},
    {"ten_objects",
     {{16, 40, shade3, "object 0"},
      {124, 40, shade3, "object 9, the tenth on the line"},
      {4, 44, shade0, "object 10, the eleventh on the line, is dropped"},
      {4, 48, shade2, "object 10 is drawn where it is the only one"}}},
    {"object_order",
     {{20, 16, shade1, "object 1 (lower X) on top of object 0"},
      {21, 18, shade3, "object 0 inside object 1's outline"},
      {26, 18, shade3, "object 0 beside object 1"},
      {40, 32, shade1, "equal X: object 2 (lower index) on top"},
      {42, 34, shade3, "object 3 inside object 2's outline"},
      {62, 66, shade3, "object 4, behind the background, over colour 0"},
      {65, 66, shade1, "object 4 hidden by colour 1 hides object 5 too"},
      {69, 66, shade2, "object 5 where object 4 is not"}}},
    {"colour_priority",
     {{10, 66, red, "object over colour 0 of an attributed tile"},
      {13, 66, light_grey, "object hidden by colour 1 of an attributed tile"},
      {13, 76, red, "LCDC bit 0 clear: the object over the attributed tile"},
      {21, 76, light_grey, "LCDC bit 0 clear: the background is still drawn"},
      {29, 66, light_grey, "object behind the background hidden by colour 1"},
      {29, 76, red, "LCDC bit 0 clear: the object behind the background shows"},
      {42, 66, blue, "object 3 where object 2 is not"},
      {45, 66, green, "object 2 (lower index, higher X) on top of object 3"},
      {89, 66, red, "window colour 0 with attribute bit 7 leaves the object visible"},
      {93, 66, dark_grey, "window colour 2 with attribute bit 7 hides the object"},
      {93, 76, red, "LCDC bit 0 clear: the object over the window"}}},
};

// Fails for each rule pixel `picture` does not show.
void expect_rule(const test::rgb_picture& picture, const picture_cartridge& cartridge,
                 const std::string& which) {
    ASSERT_EQ(picture.width, 160) << which;
    ASSERT_EQ(picture.height, 144) << which;
    for (const rule_pixel& pixel : cartridge.rule) {
        EXPECT_EQ(picture.at(pixel.x, pixel.y), pixel.rgb)
            << which << " at " << pixel.x << "," << pixel.y << ": " << pixel.shows;
    }
}

// The number of pixels in which the two pictures differ; the first few are
// reported.
int differing_pixels(const test::rgb_picture& shot, const test::rgb_picture& golden) {
    int differing = 0;
    for (int y = 0; y < 144; ++y) {
        for (int x = 0; x < 160; ++x) {
            if (shot.at(x, y) != golden.at(x, y) && differing++ < 5) {
                ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << shot.at(x, y)
                              << " instead of " << golden.at(x, y);
            }
        }
    }
    return differing;
}

class PictureCartridge : public testing::TestWithParam<picture_cartridge> {};

TEST_P(PictureCartridge, MatchesItsGoldenScreenAndShowsItsRule) {
    const picture_cartridge& cartridge = GetParam();
    const std::string name = cartridge.name;
    const test::rgb_picture golden =
        test::read_png(test::cartridge_file("pictures/" + name + ".png"));
    expect_rule(golden, cartridge, "golden");
    test::assembled_cartridge image(test::source_of("pictures/setup.asm") +
                                    test::source_of("pictures/" + name + ".asm"));
    for (const char* timing : {"1", "2"}) {
        SCOPED_TRACE(std::string("timing ") + timing);
        const std::string path = test::temp_path(".png");
        const test::run_result result =
            test::run({image.path, "--frames", "10", "--timing", timing, "--screenshot", path});
        ASSERT_EQ(result.code, 0) << result.error;
        const test::rgb_picture shot = test::read_png(path);
        std::filesystem::remove(path);
        expect_rule(shot, cartridge, "screenshot");
        if (!HasFatalFailure()) {
            EXPECT_EQ(differing_pixels(shot, golden), 0);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cartridges, PictureCartridge, testing::ValuesIn(cartridges),
                         [](const testing::TestParamInfo<picture_cartridge>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace tov
