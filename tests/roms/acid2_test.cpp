// Matt Currie's acid2 cartridges on the accurate machine: the picture rules in
// one face, each screen against the console's, pixel for pixel. Colours are
// compared as the console's 5-bit levels; the monochrome screen's four greys
// stand for TOV's four shades.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "png_picture.h"
#include "rom_runs.h"
#include "test_cartridge.h"

namespace tov {
namespace {

const std::filesystem::path acid2 = test::public_roms() / "acid2";

struct acid2_case {
    const char* cartridge;
    const char* model;
    const char* screen;  // the console's, beside the cartridge
    bool greys;          // a monochrome screen: compared by grey level
};

void PrintTo(const acid2_case& test, std::ostream* out) {
    *out << test.cartridge << " on " << test.model;
}

// A pixel of TOV's screenshot (levels 0-248, eight apart) and of the
// console's PNG (0-255) as the same 5-bit levels, or as a grey's rank 0-3.
int tov_level(uint32_t pixel, int shift) {
    return static_cast<int>((pixel >> shift) & 0xFF) >> 3;
}

int console_level(uint32_t pixel, int shift) {
    return static_cast<int>(std::lround(((pixel >> shift) & 0xFF) * 31 / 255.0));
}

// The rank, lightest first, of TOV's shades FFFF, 3DEF, 2D6B and 0000
// (levels 31, 15, 11 and 0) and of the console's greys (FF, AA, 55, 00).
int tov_grey(uint32_t pixel) {
    const int level = tov_level(pixel, 0);
    return level == 31 ? 0 : level == 15 ? 1 : level == 11 ? 2 : 3;
}

int console_grey(uint32_t pixel) {
    return 3 - (static_cast<int>(pixel & 0xFF) + 42) / 85;
}

class Acid2 : public testing::TestWithParam<acid2_case> {};

TEST_P(Acid2, ScreenIsTheConsoles) {
    const acid2_case& test = GetParam();
    const std::filesystem::path rom = acid2 / test.cartridge;
    if (test::skipped_without(rom)) {
        GTEST_SKIP() << "test cartridges not found at " << rom << "; skipping";
    }
    const std::string shot = test::temp_path(".png");
    test::final_screen(rom, 60,
                       {"--machine", "accurate", "--model", test.model, "--screenshot", shot});
    const test::rgb_picture ours = test::read_png(shot);
    const test::rgb_picture console = test::read_png((acid2 / test.screen).string());
    ASSERT_EQ(ours.pixels.size(), console.pixels.size());
    const auto same = [&](uint32_t mine, uint32_t theirs) {
        if (test.greys) {
            return tov_grey(mine) == console_grey(theirs);
        }
        return tov_level(mine, 16) == console_level(theirs, 16) &&
               tov_level(mine, 8) == console_level(theirs, 8) &&
               tov_level(mine, 0) == console_level(theirs, 0);
    };
    int differing = 0;
    for (std::size_t at = 0; at < ours.pixels.size(); ++at) {
        differing += same(ours.pixels[at], console.pixels[at]) ? 0 : 1;
    }
    EXPECT_EQ(differing, 0);
    std::filesystem::remove(shot);
}

const acid2_case cases[] = {
    {"dmg-acid2.gb", "dmg", "dmg-acid2-dmg.png", true},
    {"dmg-acid2.gb", "cgb", "dmg-acid2-cgb.png", false},
    {"cgb-acid2.gbc", "cgb", "cgb-acid2.png", false},
};

INSTANTIATE_TEST_SUITE_P(Console, Acid2, testing::ValuesIn(cases),
                         [](const testing::TestParamInfo<acid2_case>& info) {
                             return test::test_name_of(info.param.cartridge) + "_on_" +
                                    info.param.model;
                         });

}  // namespace
}  // namespace tov
