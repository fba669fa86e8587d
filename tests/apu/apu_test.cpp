// The cycle-timed sound's registers and the units its frame sequencer
// clocks, through the CPU's read and write paths.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "apu/apu.h"
#include "classic/memory/memory_map.h"
#include "classic/timer/timer.h"
#include "machine/options.h"
#include "machine/registers.h"
#include "machine/timing.h"
#include "session/session.h"
#include "test_cartridge.h"

namespace tov {
namespace {

struct register_write {
    int32_t address;
    uint8_t value;
};

class AccurateSound : public test::machine_test {
protected:
    void SetUp() override {
        accurate_sound = 1;
        load(0x00);
        write_all({{0xFF26, 0x00}, {0xFF26, 0x80}});  // sequencer at its first step
    }
    void TearDown() override { accurate_sound = 0; }

    static void write_all(const std::vector<register_write>& writes) {
        for (const register_write& write : writes) {
            write_byte(write.address, write.value);
        }
    }

    // One fall of DIV bit 4.
    static void step_sequencer() { apu_div_written(0x10); }

    static int status() { return read_byte(0xFF26) & 0x0F; }
};

TEST_F(AccurateSound, RegistersReadBackWithTheirUnusedBitsSet) {
    struct case_ {
        int32_t address;
        uint8_t written;
        uint8_t read;
    };
    const case_ cases[] = {
        {0xFF10, 0x00, 0x80}, {0xFF11, 0x80, 0xBF}, {0xFF12, 0x00, 0x00}, {0xFF13, 0x12, 0xFF},
        {0xFF14, 0x47, 0xFF}, {0xFF14, 0x07, 0xBF}, {0xFF15, 0x00, 0xFF}, {0xFF1A, 0x80, 0xFF},
        {0xFF1C, 0x20, 0xBF}, {0xFF20, 0x3F, 0xFF}, {0xFF22, 0x5A, 0x5A}, {0xFF24, 0x77, 0x77},
        {0xFF27, 0x00, 0xFF}, {0xFF30, 0x5A, 0x5A},
    };
    for (const case_& c : cases) {
        write_byte(c.address, c.written);
        EXPECT_EQ(read_byte(c.address), c.read) << std::hex << c.address;
    }
}

TEST_F(AccurateSound, PowerOffClearsTheRegistersAndIgnoresWritesButWaveRam) {
    write_all({{0xFF24, 0x77}, {0xFF12, 0xF0}, {0xFF14, 0x80}});
    EXPECT_EQ(status(), 0x01);
    write_byte(0xFF26, 0x00);
    EXPECT_EQ(read_byte(0xFF26), 0x70) << "off, no channel";
    EXPECT_EQ(read_byte(0xFF24), 0x00);
    write_all({{0xFF24, 0x77}, {0xFF12, 0xF0}, {0xFF30, 0x12}});
    EXPECT_EQ(read_byte(0xFF24), 0x00);
    EXPECT_EQ(read_byte(0xFF12), 0x00);
    EXPECT_EQ(read_byte(0xFF30), 0x12);
    write_all({{0xFF26, 0x80}, {0xFF24, 0x77}});
    EXPECT_EQ(read_byte(0xFF26), 0xF0);
    EXPECT_EQ(read_byte(0xFF24), 0x77);
}

// Each case starts a channel and counts the sequencer steps until NR52 says
// it has ended: the lengths run on every second step, the sweep on every
// fourth, from the step after power-on.
TEST_F(AccurateSound, ChannelsEndAfterTheirStepsOfTheSequencer) {
    struct case_ {
        std::string what;
        std::vector<register_write> writes;
        int channel_bit;
        int steps_to_end;  // 0: ends at once
    };
    const std::vector<case_> cases = {
        {"length of 1", {{0xFF12, 0xF0}, {0xFF11, 0x3F}, {0xFF14, 0xC0}}, 0x01, 1},
        {"full length 64", {{0xFF17, 0xF0}, {0xFF16, 0x00}, {0xFF19, 0xC0}}, 0x02, 127},
        {"wave full length 256", {{0xFF1A, 0x80}, {0xFF1B, 0x00}, {0xFF1E, 0xC0}}, 0x04, 511},
        {"noise length 2", {{0xFF21, 0xF0}, {0xFF20, 0x3E}, {0xFF23, 0xC0}}, 0x08, 3},
        {"DAC off", {{0xFF12, 0x07}, {0xFF14, 0x80}}, 0x01, 0},
        {"sweep overflows at the trigger",
         {{0xFF12, 0xF0}, {0xFF10, 0x01}, {0xFF13, 0xFF}, {0xFF14, 0x87}},
         0x01,
         0},
        {"sweep overflows on its first step",
         {{0xFF12, 0xF0}, {0xFF10, 0x11}, {0xFF13, 0x00}, {0xFF14, 0x85}},
         0x01,
         3},
        {"no length without the length switch",
         {{0xFF12, 0xF0}, {0xFF11, 0x3F}, {0xFF14, 0x80}},
         0x01,
         -1},
    };
    for (const case_& c : cases) {
        SCOPED_TRACE(c.what);
        write_all({{0xFF26, 0x00}, {0xFF26, 0x80}});
        write_all(c.writes);
        const int last = c.steps_to_end < 0 ? 600 : c.steps_to_end;
        for (int step = 0; step < last; ++step) {
            EXPECT_EQ(status() & c.channel_bit, c.channel_bit) << "after " << step << " steps";
            step_sequencer();
        }
        EXPECT_EQ(status() & c.channel_bit, c.steps_to_end < 0 ? c.channel_bit : 0);
    }
}

// NRx2 written while the channel plays moves the volume counter as the
// console's does.
TEST_F(AccurateSound, EnvelopeWritesWhilePlayingMoveTheVolume) {
    struct case_ {
        uint8_t started;  // NR12 at the trigger
        uint8_t written;  // NR12 while it plays
        int volume;
    };
    const case_ cases[] = {
        {0x08, 0x08, 1},   // no period, counting: one up
        {0xF1, 0xF1, 1},   // counting down: two up, 17 wraps to 1
        {0x51, 0x59, 9},   // down, then up: 5 + 2 mirrored to 16 - 7
        {0x59, 0x59, 5},   // counting up with a period: unchanged
        {0x58, 0x50, 10},  // no period, then down: 5 + 1 mirrored to 16 - 6
    };
    for (const case_& c : cases) {
        write_all({{0xFF12, c.started}, {0xFF14, 0x80}, {0xFF12, c.written}});
        EXPECT_EQ(apu.channels[0].envelope.volume, c.volume)
            << std::hex << int{c.started} << " then " << int{c.written};
    }
}

// A loaded state brings its registers back, and the channels that were
// sounding sound again.
TEST_F(AccurateSound, StartsAgainFromTheRegistersOfALoadedState) {
    write_all({{0xFF24, 0x35}, {0xFF12, 0xF0}, {0xFF14, 0x80}, {0xFF22, 0x5A}});
    ASSERT_EQ(status(), 0x01);
    const std::string state = test::temp_path(".gst");
    ASSERT_TRUE(save_state_file(state).ok);
    write_all({{0xFF26, 0x00}, {0xFF26, 0x80}});
    ASSERT_EQ(status(), 0x00);
    ASSERT_TRUE(load_state_file(state).ok);
    EXPECT_EQ(status(), 0x01);
    EXPECT_EQ(read_byte(0xFF24), 0x35);
    EXPECT_EQ(read_byte(0xFF22), 0x5A);
    std::remove(state.c_str());
}

// The sequencer follows DIV, whose steps take twice the cycles in double
// speed, so a note lasts as long in time in both speeds (within the cycles
// DIV drops at each of its steps).
TEST_F(AccurateSound, DoubleSpeedKeepsTheSequencerRate) {
    int charges[2] = {};
    for (const int shift : {0, 1}) {
        speed_shift = static_cast<uint8_t>(shift);
        io_page[DIV] = 0;
        div_cycles = 0;
        write_all({{0xFF26, 0x00}, {0xFF26, 0x80}});
        write_all({{0xFF12, 0xF0}, {0xFF11, 0x30}, {0xFF14, 0xC0}});  // 16 length steps
        while (status() & 0x01) {
            charge_cycles(0x00);  // NOP, 4 cycles
            ++charges[shift];
        }
    }
    EXPECT_GT(charges[0], 1000);
    EXPECT_NEAR(charges[1], 2 * charges[0], 2 * charges[0] / 100);
}

}  // namespace
}  // namespace tov
