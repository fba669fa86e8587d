// Cheat codes in force on both machines: a GameShark code given to the
// runner is in the state it saves, and Game Genie codes patch the ROM where
// it holds their compare byte, until they are taken out.
#include <gtest/gtest.h>

#include <filesystem>

#include "classic/memory/memory_map.h"
#include "headless_run.h"
#include "machine/shell_flags.h"
#include "session/session.h"

namespace tov {
namespace {

TEST(CheatCodes, TakeEffectOnBothMachines) {
    for (const bool accurate : {false, true}) {
        SCOPED_TRACE(accurate ? "accurate machine" : "TOV's own machine");
        test::reset_test_state();
        test::test_cartridge cartridge;
        const std::string path = cartridge.write();
        const std::string state = test::temp_path(".gst");
        std::vector<std::string> arguments = {
            path,       "--cheat",   "01FF10C0",
            "--frames", "60",        "--save-state",
            state,      "--machine", accurate ? "accurate" : "classic"};
        const test::run_result ran = test::run(arguments);
        ASSERT_EQ(ran.code, 0) << ran.error;

        ASSERT_TRUE(set_machine(accurate, model_choice::automatic).ok);
        ASSERT_TRUE(open_cartridge(path).ok);
        EXPECT_NE(peek_byte(0xC010), 0xFF);
        ASSERT_TRUE(load_state_file(state).ok);
        EXPECT_EQ(peek_byte(0xC010), 0xFF) << "written by the code in the saved state";

        const uint8_t before[2] = {peek_byte(0x4150), peek_byte(0x4160)};
        use_cheat_list({{"3C1-50B", "no compare", true}, {"3C1-60B-307", "compare 77", true}});
        EXPECT_EQ(peek_byte(0x4150), 0x3C);
        EXPECT_EQ(peek_byte(0x4160), before[1]) << "the ROM does not hold 77 there";
        use_cheat_list({});
        EXPECT_EQ(peek_byte(0x4150), before[0]) << "the ROM whole again";

        std::filesystem::remove(state);
        rom_loaded = 0;
        emulation_running = 0;
    }
    set_machine(false, model_choice::automatic);
}

}  // namespace
}  // namespace tov
