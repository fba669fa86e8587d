// Taking an idle CPU's quiet steps at once must leave the machine exactly as
// the step-by-step loop does: whole cartridges run frame by frame both ways,
// and the machine state is compared after every frame.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "classic/run/run_loop.h"
#include "host/clock.h"
#include "machine/cpu_state.h"
#include "machine/memory.h"
#include "machine/options.h"
#include "machine/shell_flags.h"
#include "machine/timing.h"
#include "run/frame_driver.h"
#include "session/session.h"
#include "test_cartridge.h"
#include "video/frame.h"

namespace tov {
namespace {

std::string source_file(const std::string& name) {
    std::ifstream file(std::filesystem::path(TOV_SOURCE_DIR) / name);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Halts between interrupts from the VBlank, the LCD STAT (HBlank) and a fast
// timer, and reads DIV in the handlers, so the quiet runs end at every kind of
// event. The byte at 0150 asks for double speed on a colour cartridge; the
// idle loop at 0200 may be patched into a jump to itself.
constexpr const char* halting_on_three_interrupts = R"(
        org $40
        jp count
        org $48
        jp count
        org $50
        jp count
        org $100
        jp start
        org $150
double_speed:
        db 0
start:  ld sp, $DFFE
        ld a, (double_speed)
        or a
        jr z, .speed_set
        ld a, $01
        ldh ($4D), a
        stop
.speed_set:
        ld a, $C0
        ldh ($06), a            ; TMA
        ld a, $05
        ldh ($07), a            ; TAC: on, the fastest rate
        ld a, $08
        ldh ($41), a            ; STAT: HBlank requests
        ld a, $07
        ldh ($FF), a            ; IE: VBlank, STAT, timer
        ei
        jp idle
        org $200
idle:   halt
        jr idle
count:  push af
        ldh a, ($04)            ; DIV
        ld ($C000), a
        ld a, ($C001)
        inc a
        ld ($C001), a
        pop af
        reti
)";

// FNV-1a over the machine state a frame can change.
struct state_hash {
    uint64_t value = 1469598103934665603ULL;

    void add(const void* data, std::size_t size) {
        const auto* bytes = static_cast<const uint8_t*>(data);
        for (std::size_t i = 0; i < size; ++i) {
            value = (value ^ bytes[i]) * 1099511628211ULL;
        }
    }
    template <typename T>
    void add(const T& item) {
        add(&item, sizeof item);
    }
};

uint64_t machine_state() {
    state_hash hash;
    for (const register_pair* pair : {&AF, &BC, &DE, &HL, &SP, &PC}) {
        hash.add(pair->value);
    }
    for (const int32_t value :
         {flag_z, flag_n, flag_h, flag_c, ime, halted, halt_repeat, line_cycles, div_cycles,
          tima_cycles, render_ly, line_sprite_count, fps_count, window_lines.hidden_before}) {
        hash.add(value);
    }
    hash.add(speed_shift);
    hash.add(skip_counter);
    hash.add(now_ms);
    hash.add(last_frame_ms);
    hash.add(io_page, sizeof io_page);
    hash.add(vram, sizeof vram);
    hash.add(wram0, sizeof wram0);
    hash.add(wram_banks, sizeof wram_banks);
    hash.add(oam, sizeof oam);
    hash.add(frame_buffer, sizeof frame_buffer);
    return hash.value;
}

// The state after each of `frames` frames of the cartridge at `path`.
std::vector<uint64_t> states_per_frame(const std::string& path, int timing, bool skip, int frames) {
    test::reset_test_state();
    use_fake_clock(0, 1);
    skip_idle_steps = skip;
    full_throttle = 0;
    EXPECT_TRUE(open_cartridge(path).ok);
    set_timing(timing);
    std::vector<uint64_t> states;
    run_frames(frames, [&](uint64_t) { states.push_back(machine_state()); });
    skip_idle_steps = true;
    rom_loaded = 0;
    emulation_running = 0;
    set_timing(1);
    return states;
}

TEST(IdleSkip, IdleStepsAtOnceLeaveTheSameStateAfterEveryFrame) {
    struct case_t {
        const char* name;
        std::string source;
        std::vector<std::pair<std::size_t, uint8_t>> patches;
    };
    const case_t cases[] = {
        {"demo", source_file("apps/tov/demo/demo.asm"), {}},
        {"mono_scroll",
         source_file("tests/cartridges/bench/mono_scroll.asm") +
             source_file("tests/cartridges/bench/scene.asm"),
         {}},
        {"colour_scroll",
         source_file("tests/cartridges/bench/colour_scroll.asm") +
             source_file("tests/cartridges/bench/scene.asm"),
         {}},
        {"lyc_scroll",
         source_file("tests/cartridges/pictures/setup.asm") +
             source_file("tests/cartridges/pictures/lyc_scroll.asm"),
         {}},
        {"three interrupts, monochrome", halting_on_three_interrupts, {}},
        {"three interrupts, colour", halting_on_three_interrupts, {{0x143, 0x80}}},
        {"three interrupts, double speed",
         halting_on_three_interrupts,
         {{0x143, 0x80}, {0x150, 1}}},
        {"three interrupts, JR to itself",
         halting_on_three_interrupts,
         {{0x200, 0x18}, {0x201, 0xFE}}},
        {"three interrupts, JP to itself, colour",
         halting_on_three_interrupts,
         {{0x143, 0x80}, {0x200, 0xC3}, {0x201, 0x00}, {0x202, 0x02}}},
    };
    for (const case_t& test : cases) {
        test::test_cartridge cartridge;
        ASSERT_TRUE(cartridge.assemble(test.source)) << test.name;
        for (const auto& [offset, value] : test.patches) {
            cartridge.byte(offset, value);
        }
        const std::string& path = cartridge.write();
        for (const int timing : {1, 2}) {
            SCOPED_TRACE(std::string(test.name) + ", timing " + std::to_string(timing));
            const std::vector<uint64_t> stepped = states_per_frame(path, timing, false, 300);
            const std::vector<uint64_t> skipped = states_per_frame(path, timing, true, 300);
            ASSERT_EQ(stepped.size(), skipped.size());
            for (std::size_t frame = 0; frame < stepped.size(); ++frame) {
                ASSERT_EQ(stepped[frame], skipped[frame]) << "after frame " << frame + 1;
            }
        }
    }
}

}  // namespace
}  // namespace tov
