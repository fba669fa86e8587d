// Mealybug tearoom's picture cartridges on the accurate machine: register
// writes in the middle of mode 3, each cartridge's last frame against the
// console's picture beside it (the monochrome model's shade for shade; on
// the colour model the cartridges whose CPU C and D pictures agree). A row
// that fails names a fault still to mend.
#include <gtest/gtest.h>

#include <string>

#include "rom_runs.h"

namespace tov {
namespace {

const std::filesystem::path ppu = test::public_roms() / "mealybug" / "ppu";

struct mealybug_case {
    const char* name;
    const char* model;
    bool passes;
};

void PrintTo(const mealybug_case& test, std::ostream* out) {
    *out << test.name << " on " << test.model;
}

class Mealybug : public testing::TestWithParam<mealybug_case> {};

TEST_P(Mealybug, LastFrameIsTheConsoles) {
    const mealybug_case& test = GetParam();
    const std::filesystem::path rom = ppu / (std::string(test.name) + ".gb");
    if (test::skipped_without(rom)) {
        GTEST_SKIP() << "test cartridges not found at " << rom << "; skipping";
    }
    const std::string model = test.model;
    const std::string screen = test.name + std::string(model == "dmg" ? "_dmg_blob" : "_cgb_c");
    const std::string failure = test::runner_failure(
        rom, {"--machine", "accurate", "--model", model, "--until-breakpoint", "--timeout-frames",
              "120", "--expect-screen", (ppu / (screen + ".png")).string()});
    if (test.passes) {
        EXPECT_EQ(failure, "");
    } else {
        EXPECT_NE(failure, "") << "it passes now: mark it so";
    }
}

const mealybug_case cases[] = {
    {"m2_win_en_toggle", "dmg", true},
    {"m2_win_en_toggle", "cgb", true},
    {"m3_obp0_change", "dmg", true},
    {"m3_scx_high_5_bits", "dmg", true},
    // Line 0's mode 2 interrupt comes four dots later than other lines' on
    // the console; here it does not, so line 0's writes land early.
    {"m3_bgp_change", "dmg", false},
    {"m3_bgp_change_sprites", "dmg", false},
    {"m3_window_timing", "dmg", false},
    // An enable bit switched off in the dots where it meets the pixel: line
    // 0 as above, and a few lines where the edge case is not built.
    {"m3_lcdc_bg_en_change", "dmg", false},
    {"m3_lcdc_obj_en_change", "dmg", false},
    // The window switched off and on again in a line, or started again when
    // WX matches again: that needs the fetcher and the FIFOs dot by dot.
    {"m3_lcdc_win_en_change_multiple", "dmg", false},
    {"m3_lcdc_win_en_change_multiple", "cgb", false},
    {"m3_lcdc_win_en_change_multiple_wx", "dmg", false},
    {"m3_wx_4_change", "dmg", false},
    {"m3_wx_4_change_sprites", "dmg", false},
    {"m3_wx_4_change_sprites", "cgb", false},
    {"m3_wx_5_change", "dmg", false},
    {"m3_wx_6_change", "dmg", false},
    {"m3_window_timing_wx_0", "dmg", false},
    // A tile is fetched here in one read at one dot; the console reads its
    // number, low and high bytes at separate dots (SCY and the selects at
    // each), throws away the fine scroll's pixels as SCX says then, and on
    // the Game Boy mixes the tile-data selects for a dot.
    {"m3_lcdc_bg_map_change", "dmg", false},
    {"m3_lcdc_tile_sel_change", "dmg", false},
    {"m3_lcdc_tile_sel_win_change", "dmg", false},
    {"m3_lcdc_win_map_change", "dmg", false},
    {"m3_lcdc_obj_en_change_variant", "dmg", false},
    {"m3_lcdc_obj_size_change", "dmg", false},
    {"m3_lcdc_obj_size_change_scx", "dmg", false},
    {"m3_scx_low_3_bits", "dmg", false},
    {"m3_scy_change", "dmg", false},
    // The colour model's own pipeline timing is not built yet: it draws with
    // the Game Boy's.
    {"m3_lcdc_bg_en_change", "cgb", false},
    {"m3_lcdc_bg_map_change", "cgb", false},
    {"m3_lcdc_obj_en_change", "cgb", false},
    {"m3_lcdc_obj_size_change", "cgb", false},
    {"m3_lcdc_obj_size_change_scx", "cgb", false},
    {"m3_lcdc_tile_sel_change", "cgb", false},
    {"m3_lcdc_tile_sel_win_change", "cgb", false},
    {"m3_lcdc_win_map_change", "cgb", false},
    {"m3_scx_high_5_bits", "cgb", false},
    {"m3_scx_low_3_bits", "cgb", false},
};

INSTANTIATE_TEST_SUITE_P(Console, Mealybug, testing::ValuesIn(cases),
                         [](const testing::TestParamInfo<mealybug_case>& info) {
                             return test::test_name_of(info.param.name) + "_on_" + info.param.model;
                         });

}  // namespace
}  // namespace tov
