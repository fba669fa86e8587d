// The public CPU test cartridges, run to their final screen. Where a test
// fails, the cause is a rule of this machine that differs from the hardware
// on purpose; each pinned failure names that rule.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "runner.h"
#include "test_cartridge.h"

namespace tov {
namespace {

const std::filesystem::path roms =
    std::filesystem::path(TOV_SOURCE_DIR) / ".." / "shared" / "roms" / "blargg" / "cpu_instrs";

// The screen's non-empty lines after `frames` frames.
std::string final_screen(const std::filesystem::path& rom, int frames) {
    std::ostringstream out;
    std::ostringstream error;
    const int code = run_headless(
        {rom.string(), "--frames", std::to_string(frames), "--screen-text"}, out, error);
    EXPECT_EQ(code, 0) << error.str();
    std::istringstream screen(out.str());
    std::string text;
    for (std::string line; std::getline(screen, line);) {
        if (!line.empty()) {
            text += line + "\n";
        }
    }
    return text;
}

struct blargg_case {
    const char* file;
    const char* screen;
};

// clang-format off
const blargg_case cases[] = {
    // DAA follows this machine's rules: the upper correction tests the value
    // after the lower one, and carry is only ever set, never cleared.
    {"individual/01-special.gb", "01-special\nF43EFB7B\nDAA\nFailed #6\n"},
    // The timer runs at the console's rate (TAC 5: TIMA steps every 16
    // cycles, so it overflows after about 4080), but this machine's cycle
    // table charges the test's delay loop (SUB n 4, JR NC 8) less than the
    // console takes: the wait ends at about 3950 cycles, with TIMA at F8 and
    // no timer request yet.
    {"individual/02-interrupts.gb", "02-interrupts\nTimer doesn't work\nFailed #4\n"},
    // ADD SP,e and LD HL,SP+e take H from bit 12 and C from the 16-bit sum
    // leaving 0000-FFFF, this machine's rule, not from bits 3 and 7.
    {"individual/03-op sp,hl.gb", "03-op sp,hl\nE8 E8 F8 F8\nFailed\n"},
    {"individual/04-op r,imm.gb", "04-op r,imm\nPassed\n"},
    {"individual/05-op rp.gb", "05-op rp\nPassed\n"},
    {"individual/06-ld r,r.gb", "06-ld r,r\nPassed\n"},
    {"individual/07-jr,jp,call,ret,rst.gb", "07-jr,jp,call,ret,rs\nt\nPassed\n"},
    {"individual/08-misc instrs.gb", "08-misc instrs\nPassed\n"},
    {"individual/09-op r,r.gb", "09-op r,r\nPassed\n"},
    {"individual/10-bit ops.gb", "10-bit ops\nPassed\n"},
    // DAA (as in 01).
    {"individual/11-op a,(hl).gb", "11-op a,(hl)\n27\nFailed\n"},
    // All eleven in one: 01, 02, 03 and 11 fail for the reasons above
    // (their codes are drawn in inverse tiles, which read as blanks).
    {"cpu_instrs.gb", "cpu_instrs\n01:    02:    03:\n04:ok  05:ok  06:ok\n07:ok  08:ok  09:ok\n"
                      "10:ok  11:\nFailed 4 tests.\n"},
};
// clang-format on

class Blargg : public testing::TestWithParam<blargg_case> {};

TEST_P(Blargg, FinalScreen) {
    const std::filesystem::path rom = roms / GetParam().file;
    if (!std::filesystem::exists(rom)) {
        GTEST_SKIP() << "test cartridges not found at " << roms << "; skipping";
    }
    EXPECT_EQ(final_screen(rom, 3000), GetParam().screen);
}

INSTANTIATE_TEST_SUITE_P(CpuInstrs, Blargg, testing::ValuesIn(cases),
                         [](const testing::TestParamInfo<blargg_case>& info) {
                             std::string name = std::filesystem::path(info.param.file).stem();
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c))) {
                                     c = '_';
                                 }
                             }
                             return name;
                         });

}  // namespace
}  // namespace tov
