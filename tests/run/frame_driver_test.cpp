#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "classic/memory/io_writes.h"
#include "classic/memory/memory_map.h"
#include "classic/run/run_loop.h"
#include "host/clock.h"
#include "host/window.h"
#include "machine/cpu_state.h"
#include "machine/options.h"
#include "machine/registers.h"
#include "machine/shell_flags.h"
#include "machine/timing.h"
#include "memory/io_registers.h"
#include "run/frame_driver.h"
#include "test_cartridge.h"

namespace tov {
namespace {

class recording_window : public silent_window {
public:
    void wait_turn(double, double remaining_ms) override {
        ++wait_turns;
        last_remaining = remaining_ms;
    }
    int wait_turns = 0;
    double last_remaining = 0;
};

// Options and host state the driver reads, put back after each test.
class FrameDriver : public test::machine_test {
protected:
    void SetUp() override {
        set_window(&window_);
        full_throttle = 1;
        frame_skip = 0;
        skip_counter = 0;
        timing_variant = 0;
        rom_loaded = 1;
        emulation_running = 1;
        use_fake_clock(0, 1);
        line_sprite_count = 0;  // a power-on keeps the last rendered line's count
    }
    void TearDown() override {
        set_window(nullptr);
        full_throttle = 0;
        frame_skip = 0;
        timing_variant = 0;
        rom_loaded = 0;
        emulation_running = 0;
    }

    // Loads a program assembled from `source` (code from 0100).
    void load_program(const std::string& source, uint8_t colour_flag = 0x00) {
        ASSERT_TRUE(cartridge_.assemble(source));
        load(colour_flag);
    }

    // Runs steps until `done` holds; fails after `limit` steps.
    void run_until(const std::function<bool()>& done, int limit = 2000000) {
        for (int step = 0; step < limit; ++step) {
            if (done()) {
                return;
            }
            run_step();
        }
        FAIL() << "condition not reached in " << limit << " steps";
    }

    void run_frames(uint64_t frames) {
        const uint64_t target = frame_counter + frames;
        run_until([&] { return frame_counter >= target; });
    }

    recording_window window_;
};

constexpr const char* idle_loop = "org $100\nloop: jr loop\n";

TEST_F(FrameDriver, TickDoesNothingWithoutACartridgeAndOnlyTitlesWhileStopped) {
    load_program(idle_loop);
    window_.title = "unchanged";
    rom_loaded = 0;
    frame_tick(run_slice);
    EXPECT_EQ(window_.title, "unchanged");
    EXPECT_EQ(line_cycles, 0);

    rom_loaded = 1;
    emulation_running = 0;
    frame_tick(run_slice);
    EXPECT_EQ(window_.title, "TOV");
    EXPECT_EQ(line_cycles, 0) << "no emulation while stopped";
}

TEST_F(FrameDriver, TickRunsOneSliceAndTitlesTheFramesOfTheLastSecond) {
    load_program(idle_loop, 0x80);
    fps_window_start = 0;
    set_fake_clock(500);
    const uint64_t before = frame_counter;
    frame_tick(run_slice);
    const int32_t frames = static_cast<int32_t>(frame_counter - before);
    // 116736 steps of JR (12 cycles) at 456 cycles a line and 154 lines.
    EXPECT_NEAR(frames, 116736 * 12 / (457 * 154), 1);
    EXPECT_EQ(fps_count, frames) << "less than a second: no title yet";
    EXPECT_EQ(window_.title, "");

    set_fake_clock(1500);
    frame_tick(run_slice);
    const long per_second = std::lround(2 * frames * 1000.0 / 1500.0);
    EXPECT_EQ(window_.title, "TOV (" + std::to_string(per_second) + " FPS)")
        << "both slices counted over the 1.5 s window";
    EXPECT_EQ(fps_count, 0);
    EXPECT_EQ(fps_window_start, 1500.0);
}

TEST_F(FrameDriver, FrameSkipDrawsAndPresentsOneFrameInFour) {
    load_program(idle_loop);
    frame_skip = 3;
    run_frames(8);
    EXPECT_EQ(window_.presented, 2);
    EXPECT_EQ(fps_count, 8);
}

TEST_F(FrameDriver, ThrottleWaitsAFramePeriodFromTheEndOfTheLastWait) {
    load_program(idle_loop);
    full_throttle = 0;
    use_fake_clock(1000, 1);
    last_frame_ms = 1000;
    run_frames(1);
    EXPECT_GE(last_frame_ms - 1000, frame_period_ms);
    EXPECT_LT(last_frame_ms - 1000, frame_period_ms + 2);
    EXPECT_EQ(now_ms, last_frame_ms);
    EXPECT_GT(window_.wait_turns, 10) << "one turn per millisecond of the fake clock";
    EXPECT_LE(window_.last_remaining, 1.0);

    const double first = last_frame_ms;
    run_frames(1);
    EXPECT_GE(last_frame_ms - first, frame_period_ms);
}

TEST_F(FrameDriver, FullThrottleDoesNotWait) {
    load_program(idle_loop);
    last_frame_ms = 123;
    run_frames(3);
    EXPECT_EQ(last_frame_ms, 123);
    EXPECT_EQ(window_.wait_turns, 0);
}

TEST_F(FrameDriver, Variant1ComparesLycWithTheNewLineOnBothCartridgeKinds) {
    struct case_t {
        uint8_t colour_flag;
        uint8_t lyc;
    };
    const case_t cases[] = {{0x00, 5}, {0x80, 5}, {0x00, 0}, {0x80, 0}};
    for (const case_t& test : cases) {
        SCOPED_TRACE(testing::Message()
                     << "colour flag " << int{test.colour_flag} << " LYC " << int{test.lyc});
        load_program(idle_loop, test.colour_flag);
        write_byte(0xFF45, test.lyc);
        write_byte(0xFF41, 0x40);
        const uint8_t before = test.lyc == 0 ? 153 : test.lyc - 1;
        run_until([&] { return io_page[LY] == before; });
        io_page[IF] = 0;
        run_until([&] { return io_page[LY] == test.lyc; });  // the first step of line LYC
        EXPECT_EQ(io_page[STAT] & 0x04, 0x04) << "seen as LY becomes LYC";
        EXPECT_EQ(io_page[IF] & 0x02, 0x02);
        run_until([&] { return io_page[LY] != test.lyc; });
        EXPECT_EQ(io_page[STAT] & 0x04, 0) << "cleared on the next line";
    }
}

TEST_F(FrameDriver, Variant1WithTheLcdOffStillCountsAndRequestsSomeInterrupts) {
    load_program(idle_loop);
    write_byte(0xFF40, 0x00);
    write_byte(0xFF45, 0x10);
    write_byte(0xFF41, 0x78);  // every STAT source enabled
    io_page[IF] = 0;
    run_until([] { return io_page[LY] == 0x11; });  // found as LY becomes 10
    EXPECT_EQ(io_page[IF], 0x02) << "LY=LYC requested; modes 2 and 0 need the LCD on";
    io_page[IF] = 0;
    run_until([] { return io_page[LY] == 144 && (io_page[STAT] & 3) == 1; });
    EXPECT_EQ(io_page[IF], 0x02) << "mode 1 requested, VBlank not";
}

TEST_F(FrameDriver, Variant1ModeSequenceAndRequests) {
    load_program(idle_loop);
    write_byte(0xFF41, 0x28);  // modes 2 and 0
    run_until([] { return io_page[LY] == 2; });
    io_page[IF] = 0;
    run_until([] { return io_page[LY] == 3; });
    EXPECT_EQ(io_page[STAT] & 3, 2);
    EXPECT_EQ(io_page[IF], 0x02);
    io_page[IF] = 0;
    run_until([] { return (io_page[STAT] & 3) == 3; });
    EXPECT_EQ(render_ly, 3);
    EXPECT_EQ(io_page[IF], 0x00);
    run_until([] { return (io_page[STAT] & 3) == 0; });
    EXPECT_EQ(io_page[IF], 0x02);
    EXPECT_GE(line_cycles, (line_sprite_count * 12 + 284) << speed_shift);
}

TEST_F(FrameDriver, Variant1Mode3CountsAtMostTenObjects) {
    load_program(idle_loop);
    write_byte(0xFF40, 0x93);
    for (int n = 0; n < 15; ++n) {
        oam[n * 4] = 16 + 20;  // all on lines 20-27
        oam[n * 4 + 1] = static_cast<uint8_t>(8 + n);
    }
    write_byte(0xFF41, 0x08);
    run_until([] { return io_page[LY] == 20 && (io_page[STAT] & 3) == 3; });
    io_page[IF] = 0;
    run_until([] { return (io_page[STAT] & 3) == 0 || io_page[LY] == 21; });
    EXPECT_EQ(line_sprite_count, 10);
    EXPECT_EQ(io_page[LY], 20) << "mode 0 comes on the same line";
    EXPECT_GE(line_cycles, 10 * 12 + 284);
    EXPECT_EQ(io_page[IF] & 0x02, 0x02) << "with its HBlank request";
}

TEST_F(FrameDriver, Variant1HandsOffTheHblankTransferAtTheNextLine) {
    load_program(idle_loop, 0x80);
    write_byte(0xFF51, 0xC0);
    write_byte(0xFF53, 0x00);
    write_byte(0xFF55, 0x80);
    ASSERT_EQ(hdma_active, 1);
    const int line = io_page[LY];
    run_until([&] { return io_page[LY] != line; });
    EXPECT_EQ(hdma_active, 0);
    EXPECT_EQ(io_page[HDMA5], 0x00);
}

TEST_F(FrameDriver, Variant2RepeatsStatRequestsAndNeverTouchesTheTransfer) {
    load_program(idle_loop, 0x80);
    timing_variant = 1;
    write_byte(0xFF41, 0x08);  // mode 0
    write_byte(0xFF55, 0x80);
    run_until([] { return io_page[LY] == 2; });
    int requests = 0;
    while (line_cycles <= 207) {
        io_page[IF] = 0;
        const int32_t before = line_cycles;  // the mode follows the count before the instruction
        run_step();
        requests += (io_page[IF] & 0x02) ? 1 : 0;
        EXPECT_EQ(io_page[STAT] & 3, before <= 207 ? 0 : 2);
    }
    EXPECT_GT(requests, 10) << "requested again on every step of mode 0";
    EXPECT_EQ(hdma_active, 1);
    EXPECT_EQ(io_page[HDMA5], 0x80);
}

TEST_F(FrameDriver, Variant2RequestsVblankAsLine144EndsAndPresentsAtTheWrap) {
    load_program(idle_loop);
    timing_variant = 1;
    run_until([] { return io_page[LY] == 144; });
    io_page[IF] = 0;
    const long presented = window_.presented;
    run_until([] { return io_page[LY] == 145; });
    EXPECT_EQ(io_page[IF] & 0x01, 0x01);
    EXPECT_EQ(window_.presented, presented);
    run_until([] { return io_page[LY] == 0; });
    EXPECT_EQ(window_.presented, presented + 1);
    EXPECT_EQ(io_page[STAT] & 3, 0);
}

TEST_F(FrameDriver, HaltWithInterruptsDisabledRepeatsTheNextInstruction) {
    load_program(R"(
        org $100
        di
        xor a
        halt
        inc a
        halt
        ld a, 7
    spin: jr spin
    )");
    for (int i = 0; i < 4; ++i) {
        execute_step();  // di, xor a, halt + repeated inc a, inc a
    }
    EXPECT_EQ(A, 2) << "INC A ran twice";
    execute_step();  // halt, then LD A,n repeated with its opcode as operand
    EXPECT_EQ(A, 0x3E);
    EXPECT_EQ(PC.value, 0x0106) << "LD A,n ends one byte early: its operand runs next";
    execute_step();
    EXPECT_EQ(A, 0x7C) << "07 executed as RLCA";
}

TEST_F(FrameDriver, HaltedStepsChargeEightCyclesUntilAnInterrupt) {
    load_program(R"(
        org $50
        reti
        org $100
        ld a, $04
        ldh ($FF), a     ; IE: timer
        ei
        halt
    after: jr after
    )");
    for (int i = 0; i < 4; ++i) {
        execute_step();
    }
    ASSERT_EQ(halted, 1);
    line_cycles = 0;
    execute_step();
    execute_step();
    EXPECT_EQ(line_cycles, 16);
    EXPECT_EQ(halted, 1);
    io_page[IF] = 0x04;
    execute_step();  // dispatch, and the handler's RETI in the same step
    EXPECT_EQ(halted, 0);
    EXPECT_EQ(PC.value, 0x0106) << "back after the HALT";
}

// A cartridge that counts its VBlank and STAT (HBlank) interrupts.
constexpr const char* interrupt_counter = R"(
        org $40
        jp vblank
        org $48
        jp stat
        org $100
        di
        ld sp, $DFFE
        xor a
        ld ($C000), a
        ld ($C001), a
        ld ($C002), a
        ld a, $08        ; STAT: HBlank source
        ldh ($41), a
        ld a, $03        ; IE: VBlank and STAT
        ldh ($FF), a
        xor a
        ldh ($0F), a
        ei
    idle: halt
        jr idle
    vblank:
        push af
        ld a, ($C000)
        inc a
        ld ($C000), a
        pop af
        reti
    stat:
        push af
        ld a, ($C001)
        inc a
        ld ($C001), a
        jr nz, .done
        ld a, ($C002)
        inc a
        ld ($C002), a
    .done:
        pop af
        reti
)";

TEST_F(FrameDriver, InterruptCountingCartridgeSeesEveryVblankAndHblank) {
    load_program(interrupt_counter);
    run_until([] { return io_page[LY] == 1; });
    const int vblanks = read_byte(0xC000);
    const int hblanks = read_byte(0xC001) | read_byte(0xC002) << 8;
    for (int frame = 0; frame < 10; ++frame) {
        run_until([] { return io_page[LY] == 0; });
        run_until([] { return io_page[LY] == 1; });
    }
    EXPECT_EQ(read_byte(0xC000) - vblanks, 10);
    const int counted = (read_byte(0xC001) | read_byte(0xC002) << 8) - hblanks;
    EXPECT_EQ(counted, 10 * 144) << "one HBlank request per visible line";
}

TEST_F(FrameDriver, DoubleSpeedDoublesTheSliceFromTheNextStep) {
    const char* program = R"(
        org $100
        ld a, SWITCH
        ldh ($4D), a
        stop
        ld bc, 0
    loop: inc bc
        jr loop
    )";
    for (const int request : {0, 1}) {
        SCOPED_TRACE(request);
        load_program(std::string("SWITCH equ ") + std::to_string(request) + "\n" + program, 0x80);
        run_slice();
        EXPECT_EQ(speed_shift, request);
        const int32_t slice = (456 << request) << 8;
        EXPECT_EQ(BC.value, ((slice - 4) / 2) & 0xFFFF);
    }
}

}  // namespace
}  // namespace tov
