// Matt Currie's acid2 cartridges on the accurate machine: the picture rules in
// one face, each screen against the console's own picture beside the
// cartridge, pixel for pixel (the monochrome one shade for shade).
#include <gtest/gtest.h>

#include "rom_runs.h"

namespace tov {
namespace {

const std::filesystem::path acid2 = test::public_roms() / "acid2";

struct acid2_case {
    const char* cartridge;
    const char* model;
    const char* screen;  // the console's, beside the cartridge
};

void PrintTo(const acid2_case& test, std::ostream* out) {
    *out << test.cartridge << " on " << test.model;
}

class Acid2 : public testing::TestWithParam<acid2_case> {};

TEST_P(Acid2, ScreenIsTheConsoles) {
    const acid2_case& test = GetParam();
    const std::filesystem::path rom = acid2 / test.cartridge;
    if (test::skipped_without(rom)) {
        GTEST_SKIP() << "test cartridges not found at " << rom << "; skipping";
    }
    EXPECT_EQ(test::runner_failure(rom, {"--machine", "accurate", "--model", test.model, "--frames",
                                         "60", "--expect-screen", (acid2 / test.screen).string()}),
              "");
}

const acid2_case cases[] = {
    {"dmg-acid2.gb", "dmg", "dmg-acid2-dmg.png"},
    {"dmg-acid2.gb", "cgb", "dmg-acid2-cgb.png"},
    {"cgb-acid2.gbc", "cgb", "cgb-acid2.png"},
};

INSTANTIATE_TEST_SUITE_P(Console, Acid2, testing::ValuesIn(cases),
                         [](const testing::TestParamInfo<acid2_case>& info) {
                             return test::test_name_of(info.param.cartridge) + "_on_" +
                                    info.param.model;
                         });

}  // namespace
}  // namespace tov
