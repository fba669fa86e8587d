// The machines' states at the seam: in memory and back, and what a damaged
// state or one of the other machine's kind does (nothing).
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "host/clock.h"
#include "machine/cpu_state.h"
#include "machine/shell_flags.h"
#include "session/session.h"
#include "test_cartridge.h"
#include "video/frame.h"

namespace tov {
namespace {

// A cartridge that keeps the timer, the serial port and the picture busy,
// so that a state holds every unit in the middle of its work.
constexpr const char* busy_source = R"(
        org $100
        ld a, $05               ; TIMA at 262144 Hz
        ldh ($07), a
        ld a, $04
        ldh ($FF), a            ; the timer interrupt
        ei
        ld a, $81
        ldh ($02), a            ; a serial transfer
        ld hl, $9800
loop:   ldh a, ($05)
        ld (hl+), a
        ld a, h
        and $9B
        ld h, a
        ldh a, ($00)
        ld ($C000), a
        jr loop
        org $50
        push af
        ldh a, ($44)
        ld ($C001), a
        pop af
        reti
)";

class MachineStateTest : public testing::Test {
protected:
    void SetUp() override {
        test::reset_test_state();
        use_fake_clock(0, 1);
        start_session(nullptr);
        set_machine(true, model_choice::automatic);
        ASSERT_TRUE(cartridge_.assemble(busy_source));
        ASSERT_TRUE(open_cartridge(cartridge_.write()).ok);
        set_full_throttle(true);
    }
    void TearDown() override {
        set_machine(false, model_choice::automatic);
        set_full_throttle(false);
        rom_loaded = 0;
        emulation_running = 0;
        end_session();
    }

    static void run(int frames) {
        run_frames(static_cast<uint64_t>(frames), [](uint64_t) {});
    }

    test::test_cartridge cartridge_;
};

TEST_F(MachineStateTest, InMemoryStateRunsOnExactlyAsTheMachineDid) {
    for (const bool accurate : {true, false}) {
        SCOPED_TRACE(accurate ? "the accurate machine" : "TOV's own machine");
        set_machine(accurate, model_choice::automatic);
        press_button(button_a, true);
        run(7);
        const std::string saved = state_bytes();
        run(5);
        const std::string later = state_bytes();
        const std::string picture(reinterpret_cast<const char*>(finished_picture()),
                                  sizeof frame_buffer);
        ASSERT_NE(saved, later);

        ASSERT_TRUE(load_state_bytes(saved).ok);
        EXPECT_EQ(state_bytes(), saved);
        run(5);
        EXPECT_EQ(state_bytes(), later);
        EXPECT_EQ(std::memcmp(finished_picture(), picture.data(), picture.size()), 0);
        press_button(button_a, false);
    }
}

// Each image is refused, with a message, or taken; a refused one leaves the
// machine exactly as it was.
TEST_F(MachineStateTest, DamagedAndForeignStatesAreRefusedAndChangeNothing) {
    run(3);
    const std::string good = state_bytes();
    set_machine(false, model_choice::automatic);
    const std::string classic = state_bytes();
    set_machine(true, model_choice::automatic);
    run(3);

    // The image with the 32-bit length of section `tag` changed by `delta`,
    // and its record one byte shorter when `shorten`.
    const auto with_length = [&](const char* tag, int delta, bool shorten) {
        std::string image = good;
        const std::size_t at = image.find(tag) + 4;
        uint32_t length = 0;
        std::memcpy(&length, image.data() + at, 4);
        if (shorten) {
            image.erase(at + 4 + length - 1, 1);
        }
        length += static_cast<uint32_t>(delta);
        std::memcpy(image.data() + at, &length, 4);
        return image;
    };
    const auto without = [&](const char* tag) {
        std::string image = good;
        const std::size_t at = image.find(tag);
        uint32_t length = 0;
        std::memcpy(&length, image.data() + at + 4, 4);
        return image.erase(at, 8 + length);
    };
    struct case_t {
        const char* what;
        std::string image;
        const char* refusal;  // part of the message, or null: taken
    };
    const case_t cases[] = {
        {"empty", "", "not a save state"},
        {"TOV's own machine's", classic, "saved by TOV's own machine"},
        {"cut short", good.substr(0, good.size() / 2), "cut short"},
        {"cut in its version", good.substr(0, 9), "not a save state"},
        {"of a newer version", std::string("TOVSTATE\x04\x00", 10), "newer version"},
        {"of the first version", std::string("TOVSTATE\x01\x00", 10), "controllers apart"},
        {"of the second version", std::string("TOVSTATE\x02\x00", 10), "its sound unit"},
        {"of no version", std::string("TOVSTATE\x00\x00", 10), "older version"},
        {"with a record of another size", with_length("TIMR", -1, true), "\"TIMR\" does not fit"},
        {"with a section longer than the file", with_length("OBPL", 1000, false), "cut short"},
        {"with a section it does not know", good + "XTRA" + std::string("\x02\0\0\0ab", 6),
         nullptr},
        {"without the serial port's record", without("SERL"), nullptr},
        {"without the line drawing's record", without("DRAW"), nullptr},
        {"without the mixer's record", without("MIXR"), nullptr},
        {"without the joypad's record", without("JOYP"), nullptr},
        {"without the frame skip's record", without("SKIP"), nullptr},
    };
    for (const case_t& test : cases) {
        SCOPED_TRACE(test.what);
        const std::string before = state_bytes();
        const result loaded = load_state_bytes(test.image);
        if (test.refusal) {
            EXPECT_FALSE(loaded.ok);
            EXPECT_NE(loaded.message.find(test.refusal), std::string::npos) << loaded.message;
            EXPECT_EQ(state_bytes(), before);
        } else {
            EXPECT_TRUE(loaded.ok) << loaded.message;
            run(1);  // and it runs on
        }
    }

    set_machine(false, model_choice::automatic);
    const std::string classic_before = state_bytes();
    const result on_classic = load_state_bytes(good);
    EXPECT_FALSE(on_classic.ok);
    EXPECT_NE(on_classic.message.find("saved by the accurate machine"), std::string::npos);
    EXPECT_EQ(state_bytes(), classic_before);
}

}  // namespace
}  // namespace tov
