// tov-headless --palette: the shades a monochrome game's screenshot shows on
// each machine, and a name the runner does not know.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "headless_run.h"
#include "shade_steps.h"

namespace tov {
namespace {

// The picture after a few frames of the cartridge at `path` in `palette` on
// `machine` (the runner's options; none: TOV's own machine).
test::rgb_picture screenshot(const std::string& path, const char* palette,
                             const std::vector<std::string>& machine) {
    const std::string picture = test::temp_path(".png");
    std::vector<std::string> arguments = {path, "--palette",    palette, "--frames",
                                          "5",  "--screenshot", picture};
    arguments.insert(arguments.end(), machine.begin(), machine.end());
    const test::run_result result = test::run(arguments);
    EXPECT_EQ(result.code, 0) << result.error;
    test::rgb_picture shot = test::read_png(picture);
    std::filesystem::remove(picture);
    return shot;
}

TEST(HeadlessPalette, ScreenshotShowsTheChosenShades) {
    test::assembled_cartridge steps(test::shade_steps_source);
    struct case_t {
        std::vector<std::string> machine;
        uint32_t shades[4];
    };
    // Original Green (9BBC0F, 8BAC0F, 306230, 0F380F) at five bits a level,
    // which the accurate machine spreads over the full range; its colour
    // model keeps its start-up program's colours.
    const case_t cases[] = {
        {{}, {0x98B808, 0x88A808, 0x306030, 0x083808}},
        {{"--machine", "accurate", "--model", "dmg"}, {0x9CBD08, 0x8CAD08, 0x316331, 0x083908}},
        {{"--machine", "accurate", "--model", "cgb"}, {0xFFFFFF, 0x7BFF31, 0x0063C6, 0x000000}},
    };
    for (const case_t& test : cases) {
        SCOPED_TRACE(testing::PrintToString(test.machine));
        const test::rgb_picture shot = screenshot(steps.path, "green", test.machine);
        ASSERT_EQ(shot.width, 160);
        for (int shade = 0; shade < 4; ++shade) {
            EXPECT_EQ(shot.at(test::shade_column(shade), 4), test.shades[shade]) << shade;
        }
    }
}

// A screen without background, or dark, shows the palette's lightest shade,
// as the console's would; TOV's own machine keeps TOV Greys' white there, a
// step lighter than their lightest shade, and a colour picture its white.
TEST(HeadlessPalette, BlankScreenShowsTheLightestShade) {
    struct case_t {
        std::vector<std::string> machine;
        const char* palette;
        const char* lcdc;  // 90: background off, 00: LCD off
        uint32_t shown;
    };
    const std::vector<std::string> dmg = {"--machine", "accurate", "--model", "dmg"};
    const case_t cases[] = {
        {{}, "tov", "90", 0xFFFFFF},
        {{}, "green", "90", 0x98B808},
        {dmg, "tov", "90", 0xFFFFFF},
        {dmg, "green", "90", 0x9CBD08},
        {dmg, "green", "00", 0x9CBD08},
        {{"--machine", "accurate", "--model", "cgb"}, "green", "90", 0xFFFFFF},
    };
    for (const case_t& test : cases) {
        SCOPED_TRACE(testing::PrintToString(test.machine) + " " + test.palette + " " + test.lcdc);
        test::assembled_cartridge blank(std::string("org $100\nld a, $") + test.lcdc +
                                        "\nldh ($40), a\nloop: jr loop\n");
        const test::rgb_picture shot = screenshot(blank.path, test.palette, test.machine);
        ASSERT_EQ(shot.width, 160);
        EXPECT_EQ(shot.at(0, 0), test.shown);
        EXPECT_EQ(shot.at(159, 143), test.shown);
    }
}

TEST(HeadlessPalette, AnUnknownNameIsAUsageError) {
    const test::run_result result = test::run({"x.gb", "--palette", "purple"});
    EXPECT_EQ(result.code, 2);
    EXPECT_NE(result.error.find("--palette takes tov, green, pocket, light or contrast, not "
                                "'purple'"),
              std::string::npos)
        << result.error;
    EXPECT_NE(test::run({"--help"}).out.find("--palette NAME"), std::string::npos);
}

}  // namespace
}  // namespace tov
