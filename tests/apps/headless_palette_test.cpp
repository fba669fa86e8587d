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

TEST(HeadlessPalette, ScreenshotShowsTheChosenShades) {
    test::assembled_cartridge steps(test::shade_steps_source);
    struct case_t {
        std::vector<std::string> machine;
        uint32_t shades[4];
    };
    // Original Green (9BBC0F, 8BAC0F, 306230, 0F380F) at five bits a level;
    // the accurate colour model keeps its start-up program's colours.
    const case_t cases[] = {
        {{}, {0x98B808, 0x88A808, 0x306030, 0x083808}},
        {{"--machine", "accurate", "--model", "dmg"}, {0x98B808, 0x88A808, 0x306030, 0x083808}},
        {{"--machine", "accurate", "--model", "cgb"}, {0xF8F8F8, 0x78F830, 0x0060C0, 0x000000}},
    };
    for (const case_t& test : cases) {
        SCOPED_TRACE(testing::PrintToString(test.machine));
        const std::string picture = test::temp_path(".png");
        std::vector<std::string> arguments = {steps.path, "--palette",    "green", "--frames",
                                              "5",        "--screenshot", picture};
        arguments.insert(arguments.end(), test.machine.begin(), test.machine.end());
        const test::run_result result = test::run(arguments);
        ASSERT_EQ(result.code, 0) << result.error;
        const test::rgb_picture shot = test::read_png(picture);
        ASSERT_EQ(shot.width, 160);
        for (int shade = 0; shade < 4; ++shade) {
            EXPECT_EQ(shot.at(test::shade_column(shade), 4), test.shades[shade]) << shade;
        }
        std::filesystem::remove(picture);
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
