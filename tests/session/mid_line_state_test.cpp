// A state saved in the middle of a line, while the picture, the sound and the
// serial port are all at work, taken up by a machine just powered on: from
// there it plays on exactly as the machine it was saved from.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "apu/mixer.h"
#include "core/machine_interface.h"
#include "host/clock.h"
#include "machine/memory.h"
#include "machine/registers.h"
#include "machine/shell_flags.h"
#include "session/developer.h"
#include "session/session.h"
#include "test_cartridge.h"
#include "video/frame.h"

namespace tov {
namespace {

constexpr int stop_line = 80;        // the window and six objects are on it
constexpr int steps_into_line = 12;  // instructions run while it is drawn
constexpr int frames_after = 4;

class sample_recording : public sample_sink {
public:
    void take(const float* frames, int count) override {
        samples.insert(samples.end(), frames, frames + 2 * count);
    }
    std::vector<float> samples;
};

// What a machine gave out: each finished picture, the sound, the serial bytes.
struct output {
    std::vector<std::string> pictures;
    std::vector<float> samples;
    std::string serial;
};

std::string picture_now() {
    return {reinterpret_cast<const char*>(finished_picture()), sizeof frame_buffer};
}

bool drawing_stop_line() {
    return machine().io_register(LY) == stop_line && (machine().io_register(STAT) & 3) == 3;
}

struct machine_case {
    const char* what;
    bool accurate;
    model_choice model;
    int frame_skip;
};

class MidLineStateTest : public testing::Test {
protected:
    void SetUp() override {
        test::reset_test_state();
        use_fake_clock(0, 1);  // every reading a millisecond on, so frames end
        start_session(nullptr);
        const auto source =
            std::filesystem::path(TOV_SOURCE_DIR) / "tests/cartridges/busy_lines.asm";
        ASSERT_TRUE(cartridge_.assemble(test::file_bytes(source)));
        set_serial_output([this](uint8_t byte) { serial_ += static_cast<char>(byte); });
        press_button(button_a, true);  // its line stays low while the cartridge selects it
    }
    void TearDown() override {
        press_button(button_a, false);
        set_frame_skip(0);
        set_serial_output({});
        set_accurate_sound_output(nullptr);
        set_machine(false, model_choice::automatic);
        rom_loaded = 0;
        emulation_running = 0;
        end_session();
    }

    void power_on(const machine_case& machine) {
        set_machine(machine.accurate, machine.model);
        ASSERT_TRUE(open_cartridge(cartridge_.write()).ok);
        set_sound_enabled(true);
        set_frame_skip(machine.frame_skip);
        set_accurate_sound_output(&sound_);  // mixed only while heard
    }

    // Runs past the cartridge's set-up, then steps instruction by instruction
    // until steps_into_line have run while stop_line is drawn: the machine
    // then stands in the middle of it. False when it never got there.
    static bool stop_mid_line() {
        run_frames(2, [](uint64_t) {});
        int drawing_steps = 0;
        for (int step = 0; step < 100000 && drawing_steps < steps_into_line; ++step) {
            step_instruction_now();
            drawing_steps = drawing_stop_line() ? drawing_steps + 1 : 0;
        }
        return drawing_steps == steps_into_line;
    }

    // The sound mixed so far handed over and forgotten, with the serial
    // bytes: the recording starts now.
    void start_recording() {
        set_accurate_sound_output(nullptr);
        sound_.samples.clear();
        serial_.clear();
        set_accurate_sound_output(&sound_);
    }

    output play() {
        output out;
        run_frames(frames_after, [&](uint64_t) { out.pictures.push_back(picture_now()); });
        set_accurate_sound_output(nullptr);  // hands over the sound mixed up to now
        out.samples = std::move(sound_.samples);
        out.serial = std::move(serial_);
        return out;
    }

    test::test_cartridge cartridge_;
    sample_recording sound_;
    std::string serial_;
};

TEST_F(MidLineStateTest, ResumesBitForBitOnAMachineJustPoweredOn) {
    const machine_case machines[] = {
        {"TOV's own machine", false, model_choice::automatic, 0},
        {"the accurate Game Boy", true, model_choice::monochrome, 0},
        {"the accurate Game Boy Color", true, model_choice::automatic, 0},
        {"the accurate Game Boy Color skipping frames", true, model_choice::automatic, 1},
    };
    for (const machine_case& machine : machines) {
        SCOPED_TRACE(machine.what);
        power_on(machine);
        ASSERT_TRUE(stop_mid_line());
        const std::string state = state_bytes();
        // A state holds no picture: the lines drawn before it are kept
        // beside it, as rewind keeps them.
        const std::string picture = picture_now();
        start_recording();
        const output whole = play();

        power_on(machine);
        ASSERT_TRUE(load_state_bytes(state).ok);
        std::copy(picture.begin(), picture.end(), frame_buffer);
        start_recording();
        const output loaded = play();

        for (int frame = 0; frame < frames_after; ++frame) {
            EXPECT_TRUE(loaded.pictures[frame] == whole.pictures[frame]) << "frame " << frame;
        }
        EXPECT_TRUE(loaded.samples == whole.samples)
            << loaded.samples.size() << " samples against " << whole.samples.size();
        EXPECT_EQ(loaded.serial, whole.serial);
        EXPECT_EQ(loaded.samples.empty(), !machine.accurate) << "the accurate sound plays";
        EXPECT_EQ(loaded.serial.empty(), !machine.accurate) << "the serial port sends";
    }
}

}  // namespace
}  // namespace tov
