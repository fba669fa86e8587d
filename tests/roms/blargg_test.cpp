// Shay Green's (blargg's) test cartridges, run to their final screen. On TOV's
// own machine a failure comes from a rule of that machine that differs from
// the console on purpose; each pinned failure names the rule. On the
// accurate machine a failure is a fault still to mend; each names its cause.
#include <gtest/gtest.h>

#include <string>

#include "rom_runs.h"

namespace tov {
namespace {

const std::filesystem::path blargg = test::public_roms() / "blargg";

// How a cartridge reports: its screen, or the serial port too (the older
// tests print there as well; on the colour model they run in double speed,
// where their wait for VBlank gives up before it comes, so some of their
// screen writes meet mode 3 and are lost, as on the console).
enum class report { screen, serial };

struct blargg_case {
    const char* file;
    const char* text;  // all the screen on TOV's own machine, the last line on the accurate one
    int frames = 1200;
    report channel = report::screen;
    const char* model = "auto";  // the accurate machine's console
};

void PrintTo(const blargg_case& test, std::ostream* out) {
    *out << test.file;
}

std::string name_of(const testing::TestParamInfo<blargg_case>& info) {
    return test::test_name_of(info.param.file);
}

// clang-format off
const blargg_case classic_cases[] = {
    // DAA follows this machine's rules: the upper correction tests the value
    // after the lower one, and carry is only ever set, never cleared.
    {"cpu_instrs/individual/01-special.gb", "01-special\nF43EFB7B\nDAA\nFailed #6\n"},
    // The timer runs at the console's rate (TAC 5: TIMA steps every 16
    // cycles, so it overflows after about 4080), but this machine's cycle
    // table charges the test's delay loop (SUB n 4, JR NC 8) less than the
    // console takes: the wait ends at about 3950 cycles, with TIMA at F8 and
    // no timer request yet.
    {"cpu_instrs/individual/02-interrupts.gb", "02-interrupts\nTimer doesn't work\nFailed #4\n"},
    // ADD SP,e and LD HL,SP+e take H from bit 12 and C from the 16-bit sum
    // leaving 0000-FFFF, this machine's rule, not from bits 3 and 7.
    {"cpu_instrs/individual/03-op sp,hl.gb", "03-op sp,hl\nE8 E8 F8 F8\nFailed\n"},
    {"cpu_instrs/individual/04-op r,imm.gb", "04-op r,imm\nPassed\n"},
    {"cpu_instrs/individual/05-op rp.gb", "05-op rp\nPassed\n"},
    {"cpu_instrs/individual/06-ld r,r.gb", "06-ld r,r\nPassed\n"},
    {"cpu_instrs/individual/07-jr,jp,call,ret,rst.gb", "07-jr,jp,call,ret,rs\nt\nPassed\n"},
    {"cpu_instrs/individual/08-misc instrs.gb", "08-misc instrs\nPassed\n"},
    {"cpu_instrs/individual/09-op r,r.gb", "09-op r,r\nPassed\n"},
    {"cpu_instrs/individual/10-bit ops.gb", "10-bit ops\nPassed\n"},
    // DAA (as in 01).
    {"cpu_instrs/individual/11-op a,(hl).gb", "11-op a,(hl)\n27\nFailed\n"},
    // All eleven in one: 01, 02, 03 and 11 fail for the reasons above
    // (their codes are drawn in inverse tiles, which read as blanks).
    {"cpu_instrs/cpu_instrs.gb", "cpu_instrs\n01:    02:    03:\n04:ok  05:ok  06:ok\n07:ok  08:ok  09:ok\n"
                                 "10:ok  11:\nFailed 4 tests.\n", 3000},
};

const blargg_case accurate_cases[] = {
    {"cpu_instrs/cpu_instrs.gb", "Passed all tests", 3500, report::serial},
    {"cpu_instrs/individual/01-special.gb", "Passed", 1200, report::serial},
    {"cpu_instrs/individual/02-interrupts.gb", "Passed", 1200, report::serial},
    {"cpu_instrs/individual/03-op sp,hl.gb", "Passed", 1200, report::serial},
    {"cpu_instrs/individual/04-op r,imm.gb", "Passed", 1200, report::serial},
    {"cpu_instrs/individual/05-op rp.gb", "Passed", 1200, report::serial},
    {"cpu_instrs/individual/06-ld r,r.gb", "Passed", 1200, report::serial},
    {"cpu_instrs/individual/07-jr,jp,call,ret,rst.gb", "Passed", 1200, report::serial},
    {"cpu_instrs/individual/08-misc instrs.gb", "Passed", 1200, report::serial},
    {"cpu_instrs/individual/09-op r,r.gb", "Passed", 1200, report::serial},
    {"cpu_instrs/individual/10-bit ops.gb", "Passed", 1200, report::serial},
    {"cpu_instrs/individual/11-op a,(hl).gb", "Passed", 1200, report::serial},
    {"instr_timing/instr_timing.gb", "Passed", 1200, report::serial},
    {"mem_timing/mem_timing.gb", "Passed all tests", 1200, report::serial},
    {"mem_timing/individual/01-read_timing.gb", "Passed", 1200, report::serial},
    {"mem_timing/individual/02-write_timing.gb", "Passed", 1200, report::serial},
    {"mem_timing/individual/03-modify_timing.gb", "Passed", 1200, report::serial},
    {"mem_timing-2/mem_timing.gb", "Passed"},
    {"mem_timing-2/rom_singles/01-read_timing.gb", "Passed"},
    {"mem_timing-2/rom_singles/02-write_timing.gb", "Passed"},
    {"mem_timing-2/rom_singles/03-modify_timing.gb", "Passed"},
    {"interrupt_time/interrupt_time.gb", "Passed"},
    {"halt_bug.gb", "Passed"},
    // The object memory's corruption is the monochrome model's alone.
    {"oam_bug/oam_bug.gb", "Passed", 3500, report::screen, "dmg"},
    {"oam_bug/rom_singles/1-lcd_sync.gb", "Passed", 1200, report::screen, "dmg"},
    {"oam_bug/rom_singles/2-causes.gb", "Passed", 1200, report::screen, "dmg"},
    {"oam_bug/rom_singles/3-non_causes.gb", "Passed", 1200, report::screen, "dmg"},
    {"oam_bug/rom_singles/4-scanline_timing.gb", "Passed", 1200, report::screen, "dmg"},
    {"oam_bug/rom_singles/5-timing_bug.gb", "Passed", 1200, report::screen, "dmg"},
    {"oam_bug/rom_singles/6-timing_no_bug.gb", "Passed", 1200, report::screen, "dmg"},
    // On the colour model, which has no such corruption. On the monochrome
    // model its log of the corrupted OAM outgrows the cartridge RAM it is
    // written to from A004 and overwrites the test's own code at C000, so it
    // never finishes; the same test passes inside oam_bug.gb.
    {"oam_bug/rom_singles/7-timing_effect.gb", "Failed"},
    {"oam_bug/rom_singles/8-instr_effect.gb", "Passed", 1200, report::screen, "dmg"},
    {"dmg_sound/dmg_sound.gb", "Passed", 3500},
    {"dmg_sound/rom_singles/01-registers.gb", "Passed"},
    {"dmg_sound/rom_singles/02-len ctr.gb", "Passed"},
    {"dmg_sound/rom_singles/03-trigger.gb", "Passed"},
    {"dmg_sound/rom_singles/04-sweep.gb", "Passed"},
    {"dmg_sound/rom_singles/05-sweep details.gb", "Passed"},
    {"dmg_sound/rom_singles/06-overflow on trigger.gb", "Passed"},
    {"dmg_sound/rom_singles/07-len sweep period sync.gb", "Passed"},
    {"dmg_sound/rom_singles/08-len ctr during power.gb", "Passed"},
    {"dmg_sound/rom_singles/09-wave read while on.gb", "Passed"},
    {"dmg_sound/rom_singles/10-wave trigger while on.gb", "Passed"},
    {"dmg_sound/rom_singles/11-regs after power.gb", "Passed"},
    {"dmg_sound/rom_singles/12-wave write while on.gb", "Passed"},
    {"cgb_sound/cgb_sound.gb", "Passed", 3500},
    {"cgb_sound/rom_singles/01-registers.gb", "Passed"},
    {"cgb_sound/rom_singles/02-len ctr.gb", "Passed"},
    {"cgb_sound/rom_singles/03-trigger.gb", "Passed"},
    {"cgb_sound/rom_singles/04-sweep.gb", "Passed"},
    {"cgb_sound/rom_singles/05-sweep details.gb", "Passed"},
    {"cgb_sound/rom_singles/06-overflow on trigger.gb", "Passed"},
    {"cgb_sound/rom_singles/07-len sweep period sync.gb", "Passed"},
    {"cgb_sound/rom_singles/08-len ctr during power.gb", "Passed"},
    {"cgb_sound/rom_singles/09-wave read while on.gb", "Passed"},
    {"cgb_sound/rom_singles/10-wave trigger while on.gb", "Passed"},
    {"cgb_sound/rom_singles/11-regs after power.gb", "Passed"},
    {"cgb_sound/rom_singles/12-wave.gb", "Passed"},
};
// clang-format on

class ClassicBlargg : public testing::TestWithParam<blargg_case> {};

TEST_P(ClassicBlargg, FinalScreen) {
    const std::filesystem::path rom = blargg / GetParam().file;
    if (test::skipped_without(rom)) {
        GTEST_SKIP() << "test cartridges not found at " << rom << "; skipping";
    }
    EXPECT_EQ(test::final_screen(rom, GetParam().frames), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Rules, ClassicBlargg, testing::ValuesIn(classic_cases), name_of);

class AccurateBlargg : public testing::TestWithParam<blargg_case> {};

TEST_P(AccurateBlargg, FinalLine) {
    const std::filesystem::path rom = blargg / GetParam().file;
    if (test::skipped_without(rom)) {
        GTEST_SKIP() << "test cartridges not found at " << rom << "; skipping";
    }
    const std::vector<std::string> machine = {"--machine", "accurate", "--model", GetParam().model};
    const std::string text = GetParam().channel == report::serial
                                 ? test::serial_output(rom, GetParam().frames, machine)
                                 : test::final_screen(rom, GetParam().frames, machine);
    EXPECT_EQ(test::last_line(text), GetParam().text) << text;
}

INSTANTIATE_TEST_SUITE_P(Console, AccurateBlargg, testing::ValuesIn(accurate_cases), name_of);

}  // namespace
}  // namespace tov
