#include "session/developer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "machine/cpu_state.h"
#include "machine/options.h"
#include "machine/shell_flags.h"
#include "session/breaks.h"
#include "test_cartridge.h"

namespace tov {
namespace {

// A main loop that calls a routine, which calls another.
constexpr const char* nested_calls = R"(
        org $100
        nop
        jp start
        org $150
    start: ld sp, $DFFE
    loop: call outer        ; 0153
        jr loop             ; 0156
    outer: call inner       ; 0158
        ld b, $22           ; 015B
        ret                 ; 015D
    inner: ld a, $11        ; 015E
        ret                 ; 0160
)";

// Runs the watched game to where `stop` says, at most a frame.
void run_to(const std::function<bool()>& stop) {
    ASSERT_TRUE(run_steps_until(1, stop, [](uint64_t) {}));
}

TEST(Developer, StepsOverIntoAndOutOfCallsOnBothMachines) {
    for (const bool accurate : {false, true}) {
        SCOPED_TRACE(accurate ? "accurate" : "classic");
        test::reset_test_state();
        test::test_cartridge cartridge;
        ASSERT_TRUE(cartridge.assemble(nested_calls));
        rom_loaded = 0;
        set_machine(accurate, model_choice::monochrome);
        ASSERT_TRUE(open_cartridge(cartridge.write()).ok);
        run_to(reached(0x0153));
        const struct {
            const char* step;
            std::function<std::function<bool()>()> test;
            int pc;
        } steps[] = {
            {"step over the call", stepped_over, 0x0156},
            {"step over the jump", stepped_over, 0x0153},
            {"run to inner", [] { return reached(0x015E); }, 0x015E},
            {"step out of inner", stepped_out, 0x015B},
            {"step out of outer", stepped_out, 0x0156},
        };
        for (const auto& step : steps) {
            const std::function<bool()> stop = step.test();
            bool first = true;  // the instruction stood at runs, as when running on
            run_to([&] { return !std::exchange(first, false) && stop(); });
            EXPECT_EQ(PC.value, step.pc) << step.step;
        }
        EXPECT_EQ(A, 0x11);
        EXPECT_EQ(B, 0x22);
        step_instruction_now();
        EXPECT_EQ(PC.value, 0x0153) << "one instruction: the JR";
        rom_loaded = 0;
        set_machine(false, model_choice::automatic);
    }
}

TEST(Developer, RegistersAreSetByNameAndTheFlagsFollowF) {
    test::reset_test_state();
    const struct {
        const char* name;
        int value;
        int af, bc, pc;
    } cases[] = {
        {"A", 0x1234, 0x3400, 0x0000, 0},       {"F", 0xFF, 0x34F0, 0x0000, 0},
        {"C", 0x1AB, 0x34F0, 0x00AB, 0},        {"BC", 0x12345, 0x34F0, 0x2345, 0},
        {"PC", 0x4A81, 0x34F0, 0x2345, 0x4A81}, {"AF", 0x0F8F, 0x0F80, 0x2345, 0x4A81},
    };
    BC.value = PC.value = 0;
    set_register("AF", 0);
    for (const auto& c : cases) {
        ASSERT_TRUE(set_register(c.name, c.value)) << c.name;
        EXPECT_EQ(AF.value, c.af) << c.name;
        EXPECT_EQ(BC.value, c.bc) << c.name;
        EXPECT_EQ(PC.value, c.pc) << c.name;
        EXPECT_EQ(packed_flags(), c.af & 0xF0) << c.name;
    }
    EXPECT_FALSE(set_register("IX", 1));
}

TEST(Developer, ReadsTheSymbolsBesideTheCartridge) {
    test::reset_test_state();
    test::test_cartridge cartridge;
    ASSERT_TRUE(cartridge.assemble(nested_calls));
    const std::filesystem::path path = cartridge.write();
    ASSERT_TRUE(open_cartridge(path).ok);
    EXPECT_TRUE(read_cartridge_symbols().symbols.symbols.empty());
    std::filesystem::path beside = path;
    beside.replace_extension(".sym");
    std::ofstream(beside) << "00:0153 loop\n00:0158 outer\n";
    const cartridge_symbols read = read_cartridge_symbols();
    std::filesystem::remove(beside);
    ASSERT_EQ(read.symbols.symbols.size(), 2u);
    EXPECT_EQ(read.symbols.symbols[1].name, "outer");
    EXPECT_NE(read.note.find("2 symbols"), std::string::npos) << read.note;
}

}  // namespace
}  // namespace tov
