#include <gtest/gtest.h>

#include "classic/memory/memory_map.h"
#include "host/clock.h"
#include "machine/cpu_state.h"
#include "machine/options.h"
#include "machine/registers.h"
#include "machine/timing.h"
#include "test_cartridge.h"

namespace tov {
namespace {

TEST(RegisterPair, ByteViewsAliasTheWord) {
    HL.value = 0x1200;
    L = 0x34;
    EXPECT_EQ(HL.value, 0x1234);

    BC.value = 0xABCD;
    EXPECT_EQ(B, 0xAB);
    EXPECT_EQ(C, 0xCD);

    D = 0x12;
    E = 0x34;
    EXPECT_EQ(DE.value, 0x1234);

    SP.value = 0xFFFE;
    SP.low = 0x00;
    EXPECT_EQ(SP.value, 0xFF00);
    EXPECT_EQ(&A, &AF.high);
    EXPECT_EQ(&F, &AF.low);
}

TEST(Flags, UnpackTakesTheHighNibbleIntoWorkingAndShownFlags) {
    struct case_t {
        uint8_t f;
        int z, n, h, c;
    };
    const case_t cases[] = {
        {0xFF, 1, 1, 1, 1}, {0x0F, 0, 0, 0, 0}, {0x80, 1, 0, 0, 0}, {0x40, 0, 1, 0, 0},
        {0x20, 0, 0, 1, 0}, {0x10, 0, 0, 0, 1}, {0xB0, 1, 0, 1, 1},
    };
    for (const case_t& test : cases) {
        SCOPED_TRACE(test.f);
        AF.value = 0x1200 | test.f;
        unpack_flags();
        EXPECT_EQ(flag_z, test.z);
        EXPECT_EQ(flag_n, test.n);
        EXPECT_EQ(flag_h, test.h);
        EXPECT_EQ(flag_c, test.c);
        EXPECT_EQ(shown_flags[0], test.z);
        EXPECT_EQ(shown_flags[1], test.n);
        EXPECT_EQ(shown_flags[2], test.h);
        EXPECT_EQ(shown_flags[3], test.c);
        EXPECT_EQ(F, test.f) << "unpacking leaves F as it is, low nibble included";
        EXPECT_EQ(packed_flags(), test.f & 0xF0);
    }
}

TEST(ProgramCounter, PlainStepsWrapAtTheTopOfTheAddressSpace) {
    PC.value = 0xFFFF;
    advance_pc(1);
    EXPECT_EQ(PC.value, 0x0000);
    advance_pc(-1);
    EXPECT_EQ(PC.value, 0xFFFF);
    PC.value = 0xFFFE;
    advance_pc(3);
    EXPECT_EQ(PC.value, 0x0001);
}

class PowerOn : public testing::TestWithParam<uint8_t> {
protected:
    void SetUp() override { test::reset_test_state(); }
};

TEST_P(PowerOn, SetsTheRegistersOfTheCartridgeKind) {
    const uint8_t flag = GetParam();
    const bool colour = flag == 0x80 || flag == 0xC0;

    // Dirty the state that the power-on must reset, and the state it must keep.
    ime = halted = halt_repeat = 1;
    line_cycles = div_cycles = tima_cycles = tima_period = 77;
    timer_running = 1;
    fps_count = 9;
    render_ly = 100;
    stop_flag = 1;
    timer_option = 0;
    frame_skip = 2;
    fps_window_start = 1234.0;
    use_fake_clock(5000);

    test::test_cartridge cartridge;
    cartridge.colour_flag(flag);
    ASSERT_TRUE(cartridge.load());

    EXPECT_EQ(AF.value, colour ? 0x11B0 : 0x01B0);
    EXPECT_EQ(BC.value, 0x0013);
    EXPECT_EQ(DE.value, 0x00D8);
    EXPECT_EQ(HL.value, 0x014D);
    EXPECT_EQ(SP.value, 0xFFFE);
    EXPECT_EQ(PC.value, 0x0100);
    EXPECT_EQ(flag_z, 1);
    EXPECT_EQ(flag_n, 0);
    EXPECT_EQ(flag_h, 1);
    EXPECT_EQ(flag_c, 1);
    EXPECT_EQ(colour_mode, colour ? 1 : 0);
    EXPECT_EQ(speed_shift, colour ? 0 : 1);
    EXPECT_EQ(ime, 0);
    EXPECT_EQ(halted, 0);
    EXPECT_EQ(halt_repeat, 0);
    EXPECT_EQ(line_cycles, 0);
    EXPECT_EQ(div_cycles, 0);
    EXPECT_EQ(tima_cycles, 0);
    EXPECT_EQ(tima_period, 0);
    EXPECT_EQ(timer_running, 0);
    EXPECT_EQ(fps_count, 0);
    EXPECT_EQ(render_ly, 0);
    EXPECT_EQ(io_page[IE], 0);
    EXPECT_EQ(last_frame_ms, 5000.0);
    EXPECT_EQ(now_ms, 5000.0);

    EXPECT_EQ(stop_flag, 1) << "power-on keeps the STOP flag";
    EXPECT_EQ(timer_option, 0) << "options survive a power-on";
    EXPECT_EQ(frame_skip, 2);
    EXPECT_EQ(fps_window_start, 1234.0);

    timer_option = 1;
    frame_skip = 0;
}

INSTANTIATE_TEST_SUITE_P(ColourFlags, PowerOn, testing::Values(0x00, 0x40, 0x80, 0xC0));

}  // namespace
}  // namespace tov
