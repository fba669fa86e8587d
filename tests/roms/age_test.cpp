// AGE's cartridges on the accurate machine: LY, the STAT modes and
// interrupts, OAM and video RAM access, HALT and the speed switch, each on
// the models its name gives (dmgC on the monochrome model; cgbE, cgbBCE and
// ncmE, ncmBCE, a monochrome cartridge, on the colour model as CPU revision
// E). A test reports in B-L at its LD B,B, or with the console's picture
// beside it. A row that fails names a fault still to mend.
#include <gtest/gtest.h>

#include <string>

#include "rom_runs.h"

namespace tov {
namespace {

const std::filesystem::path age = test::public_roms() / "age";

struct age_case {
    const char* file;
    const char* model;
    const char* screen;  // the console's picture, or null: the registers report
    bool passes;
};

void PrintTo(const age_case& test, std::ostream* out) {
    *out << test.file << " on " << test.model;
}

class Age : public testing::TestWithParam<age_case> {};

TEST_P(Age, ReportsAsTheConsole) {
    const age_case& test = GetParam();
    const std::filesystem::path rom = age / test.file;
    if (test::skipped_without(rom)) {
        GTEST_SKIP() << "test cartridges not found at " << rom << "; skipping";
    }
    std::vector<std::string> options = {"--machine", "accurate",           "--model",
                                        test.model,  "--until-breakpoint", "--timeout-frames",
                                        "600"};
    if (test.screen) {
        options.insert(options.end(), {"--expect-screen", (age / test.screen).string()});
    } else {
        options.push_back("--expect-fibonacci");
    }
    const std::string failure = test::runner_failure(rom, options);
    if (test.passes) {
        EXPECT_EQ(failure, "");
    } else {
        EXPECT_NE(failure, "") << "it passes now: mark it so";
    }
}

const age_case cases[] = {
    {"halt/ei-halt-dmgC-cgbBCE.gb", "dmg", nullptr, true},
    {"halt/ei-halt-dmgC-cgbBCE.gb", "cgb", nullptr, true},
    {"halt/halt-m0-interrupt-dmgC-cgbBCE.gb", "dmg", nullptr, true},
    {"halt/halt-m0-interrupt-dmgC-cgbBCE.gb", "cgb", nullptr, true},
    {"halt/halt-prefetch-dmgC-cgbBCE.gb", "dmg", nullptr, true},
    {"halt/halt-prefetch-dmgC-cgbBCE.gb", "cgb", nullptr, true},
    {"ly/ly-dmgC-cgbBC.gb", "dmg", nullptr, true},
    {"oam/oam-read-dmgC-cgbBC.gb", "dmg", nullptr, true},
    {"stat-mode/stat-mode-dmgC-cgbBC.gb", "dmg", nullptr, true},
    {"vram/vram-read-dmgC.gb", "dmg", nullptr, true},
    {"speed-switch/spsw-div-cgbBCE.gb", "cgb", nullptr, true},
    {"speed-switch/spsw-stop-prefetch-cgbBCE.gb", "cgb", nullptr, true},
    {"m3-bg-bgp/m3-bg-bgp.gb", "cgb", "m3-bg-bgp/m3-bg-bgp-ncmE.png", true},
    // A STAT request in the last dots of the M-cycle that fetches an opcode
    // (as gbmicrotest's), and mode 3's end with objects and the window.
    {"stat-interrupt/stat-int-dmgC-cgbBCE.gb", "dmg", nullptr, false},
    {"stat-mode-sprites/stat-mode-sprites-dmgC-cgbBCE.gb", "dmg", nullptr, false},
    {"stat-mode-window/stat-mode-window-dmgC.gb", "dmg", nullptr, false},
    // OAM's write lock: its edges are not found yet.
    {"oam/oam-write-dmgC.gb", "dmg", nullptr, false},
    // The colour model's own picture timing, CPU CGB E in both speeds and
    // for a monochrome cartridge, is not built: it runs the Game Boy's.
    {"lcd-align-ly/lcd-align-ly-cgbE.gb", "cgb", nullptr, false},
    {"ly/ly-cgbE.gb", "cgb", nullptr, false},
    {"ly/ly-ncmE.gb", "cgb", nullptr, false},
    {"oam/oam-read-cgbE.gb", "cgb", nullptr, false},
    {"oam/oam-read-ncmE.gb", "cgb", nullptr, false},
    {"oam/oam-write-cgbBCE.gb", "cgb", nullptr, false},
    {"oam/oam-write-ncmBCE.gb", "cgb", nullptr, false},
    {"stat-interrupt/stat-int-dmgC-cgbBCE.gb", "cgb", nullptr, false},
    {"stat-interrupt/stat-int-ncmBCE.gb", "cgb", nullptr, false},
    {"stat-mode-sprites/stat-mode-sprites-dmgC-cgbBCE.gb", "cgb", nullptr, false},
    {"stat-mode-sprites/stat-mode-sprites-ds-cgbBCE.gb", "cgb", nullptr, false},
    {"stat-mode-window/stat-mode-window-cgbBCE.gb", "cgb", nullptr, false},
    {"stat-mode-window/stat-mode-window-ds-cgbBCE.gb", "cgb", nullptr, false},
    {"stat-mode-window/stat-mode-window-ncmBCE.gb", "cgb", nullptr, false},
    {"stat-mode/stat-mode-cgbE.gb", "cgb", nullptr, false},
    {"stat-mode/stat-mode-ds-cgbBCE.gb", "cgb", nullptr, false},
    {"stat-mode/stat-mode-ncmE.gb", "cgb", nullptr, false},
    {"vram/vram-read-cgbBCE.gb", "cgb", nullptr, false},
    {"vram/vram-read-ncmBCE.gb", "cgb", nullptr, false},
    {"speed-switch/spsw-mode0-cgbBCE.gb", "cgb", nullptr, false},
    // The speed switch: revision E's extra TIMA step at the divider's reset,
    // the length counter's tick an M-cycle late after a switch, and the
    // switch two M-cycles after STOP while an interrupt is pending.
    {"speed-switch/spsw-tima-cgbE.gb", "cgb", nullptr, false},
    {"speed-switch/spsw-ch2-lc-delay-cgbBCE.gb", "cgb", nullptr, false},
    {"speed-switch/caution/spsw-interrupts-cgbE.gb", "cgb", nullptr, false},
    // Pictures: line 0's writes land early (its mode 2 interrupt comes late
    // on the console), a tile's reads at separate dots, SCX's fine scroll
    // as it is when the pixels are thrown away.
    {"m3-bg-bgp/m3-bg-bgp.gb", "dmg", "m3-bg-bgp/m3-bg-bgp-dmgC.png", false},
    {"m3-bg-lcdc/m3-bg-lcdc.gb", "cgb", "m3-bg-lcdc/m3-bg-lcdc-cgbBCE.png", false},
    {"m3-bg-lcdc/m3-bg-lcdc.gb", "dmg", "m3-bg-lcdc/m3-bg-lcdc-dmgC.png", false},
    {"m3-bg-lcdc/m3-bg-lcdc-ds.gb", "cgb", "m3-bg-lcdc/m3-bg-lcdc-ds-cgbBCE.png", false},
    {"m3-bg-lcdc/m3-bg-lcdc-nocgb.gb", "cgb", "m3-bg-lcdc/m3-bg-lcdc-nocgb-ncmBCE.png", false},
    {"m3-bg-scx/m3-bg-scx.gb", "cgb", "m3-bg-scx/m3-bg-scx-cgbBCE.png", false},
    {"m3-bg-scx/m3-bg-scx.gb", "dmg", "m3-bg-scx/m3-bg-scx-dmgC.png", false},
    {"m3-bg-scx/m3-bg-scx-ds.gb", "cgb", "m3-bg-scx/m3-bg-scx-ds-cgbBCE.png", false},
    {"m3-bg-scx/m3-bg-scx-nocgb.gb", "cgb", "m3-bg-scx/m3-bg-scx-nocgb-ncmBCE.png", false},
};

std::string name_of(const testing::TestParamInfo<age_case>& info) {
    const std::string screen = info.param.screen ? info.param.screen : "";
    return test::test_name_of(screen.empty() ? info.param.file : screen) + "_on_" +
           info.param.model;
}

INSTANTIATE_TEST_SUITE_P(Console, Age, testing::ValuesIn(cases), name_of);

}  // namespace
}  // namespace tov
