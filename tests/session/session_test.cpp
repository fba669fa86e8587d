#include "session/session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <utility>

#include "apu/mixer.h"
#include "classic/memory/memory_map.h"
#include "host/clock.h"
#include "machine/registers.h"
#include "machine/shell_flags.h"
#include "memory/cartridge_info.h"
#include "memory/joypad.h"
#include "test_archive.h"
#include "test_cartridge.h"

namespace tov {
namespace {

TEST(Session, ListsAndOpensTheCartridgesOfFilesAndArchives) {
    test::reset_test_state();
    test::test_cartridge running;
    running.title("RUNNING");
    test::test_cartridge first;
    first.title("FIRST");
    test::test_cartridge second;
    second.title("SECOND");
    const test::test_archive pair(test::archive_format::zip,
                                  {{"first.gb", first.image()}, {"second.gb", second.image()}},
                                  "pair.zip");
    const std::string plain = first.write();
    const std::string plain_name = std::filesystem::path(plain).filename().string();
    const std::string missing = test::temp_path(".zip");
    const std::vector<std::string> both = {"first.gb", "second.gb"};

    struct case_t {
        std::string path;
        std::string entry;
        std::vector<std::string> listed;  // none when the file cannot be used
        bool opens;
        const char* text;  // the title it shows, or part of the refusal
    };
    const case_t cases[] = {
        {plain, "", {plain_name}, true, "NAME : FIRST"},
        {plain, plain_name, {plain_name}, true, "NAME : FIRST"},
        {plain, "second.gb", {plain_name}, false, "is not an archive"},
        {pair.path, "", both, true, "NAME : FIRST"},
        {pair.path, "second.gb", both, true, "NAME : SECOND"},
        {pair.path, "third.gb", both, false, "holds no cartridge named \"third.gb\""},
        {missing, "", {}, false, "not a readable file"},
    };
    for (const case_t& test : cases) {
        SCOPED_TRACE(test.path + " " + test.entry);
        const cartridge_listing listing = list_cartridges(test.path);
        EXPECT_EQ(listing.outcome.ok, !test.listed.empty());
        EXPECT_EQ(listing.entries, test.listed);
        if (!listing.outcome.ok) {
            EXPECT_NE(listing.outcome.message.find(test.path), std::string::npos);
        }

        ASSERT_TRUE(open_cartridge(running.write()).ok);
        const result opened = open_cartridge(test.path, test.entry);
        EXPECT_EQ(opened.ok, test.opens) << opened.message;
        EXPECT_TRUE(emulating()) << "a refused file leaves the running cartridge running";
        if (test.opens) {
            EXPECT_EQ(cartridge_path(), test.path);
            EXPECT_STREQ(describe_title(), test.text);
        } else {
            EXPECT_NE(opened.message.find(test.text), std::string::npos) << opened.message;
            EXPECT_EQ(cartridge_path(), running.write());
            EXPECT_STREQ(describe_title(), "NAME : RUNNING");
        }
    }
    rom_loaded = 0;
    emulation_running = 0;
}

// Each cartridge of an archive has a name of its own for its quick states,
// and a state saved on the second one loads back onto it.
TEST(Session, ArchiveEntriesHaveTheirOwnNamesAndStates) {
    test::reset_test_state();
    use_fake_clock(0, 1);
    // Each keeps writing its letter to the first tile of the map.
    test::test_cartridge first;
    test::test_cartridge second;
    for (auto [cartridge, letter] : {std::pair{&first, 'A'}, std::pair{&second, 'B'}}) {
        ASSERT_TRUE(cartridge->assemble(std::string("org $100\nagain: ld hl, letter\n") +
                                        "ld a, (hl)\nld ($9800), a\njr again\nletter: db '" +
                                        letter + "'\n"));
    }
    const test::test_archive pair(test::archive_format::zip,
                                  {{"a.gb", first.image()}, {"games/b.gb", second.image()}},
                                  "pair.zip");
    const test::test_archive single(test::archive_format::zip, {{"a.gb", first.image()}},
                                    "single.zip");
    const std::string plain = second.write();
    struct case_t {
        std::string path;
        std::string entry;
        std::string name;
    };
    const case_t cases[] = {
        {plain, "", std::filesystem::path(plain).filename().string()},
        {single.path, "", "single.zip"},
        {pair.path, "", "pair.zip#a.gb"},
        {pair.path, "games/b.gb", "pair.zip#games_b.gb"},
    };
    for (const case_t& test : cases) {
        ASSERT_TRUE(open_cartridge(test.path, test.entry).ok);
        EXPECT_EQ(cartridge_name(), test.name);
    }

    const std::string state = test::temp_path(".gst");
    run_frames(5, [](uint64_t) {});
    ASSERT_TRUE(save_state_file(state).ok);
    run_frames(5, [](uint64_t) {});
    ASSERT_TRUE(load_state_file(state).ok);
    run_frames(1, [](uint64_t) {});
    EXPECT_EQ(read_byte(0x9800), 'B') << "the second cartridge's program runs on";
    EXPECT_EQ(read_byte(0x0109), 'B') << "its letter, in its ROM";
    std::filesystem::remove(state);
    rom_loaded = 0;
    emulation_running = 0;
}

// A button pressed at the seam counts as a mapped key does: held, it reads
// as pressed; let go before the program looked, it is still seen once.
TEST(Session, PressedButtonsReachTheJoypadRows) {
    test::reset_test_state();
    struct case_t {
        joypad_button button;
        uint8_t rows;  // P1 bits 5-4: a clear bit selects a row
        uint8_t line;
    };
    const case_t cases[] = {
        {button_a, 0x10, 0x01},     {button_b, 0x10, 0x02},     {button_select, 0x10, 0x04},
        {button_start, 0x10, 0x08}, {button_right, 0x20, 0x01}, {button_left, 0x20, 0x02},
        {button_up, 0x20, 0x04},    {button_down, 0x20, 0x08},
    };
    const auto line_low = [](const case_t& test) {
        io_page[P1] = test.rows;
        read_joypad();
        return (io_page[P1] & test.line) == 0;
    };
    for (const case_t& test : cases) {
        SCOPED_TRACE(test.button);
        press_button(test.button, true);
        EXPECT_TRUE(line_low(test));
        EXPECT_TRUE(line_low(test)) << "held";
        EXPECT_FALSE(line_low({test.button, static_cast<uint8_t>(test.rows ^ 0x30), test.line}))
            << "the other row";
        press_button(test.button, false);
        EXPECT_FALSE(line_low(test));
        press_button(test.button, true);
        press_button(test.button, false);
        EXPECT_TRUE(line_low(test)) << "a tap between two reads";
        EXPECT_FALSE(line_low(test));
    }
}

// A sink that only remembers whether it is heard and what it was given.
class listening_sink : public sample_sink {
public:
    void take(const float*, int count) override { frames += count; }
    void set_heard(bool now) override { heard = now; }
    bool heard = false;
    long frames = 0;
};

// The accurate sound is heard, and mixed, only while it is chosen, sound is
// on and the game runs at normal speed.
TEST(Session, AccurateSoundIsHeardOnlyWhileTheGameRunsAtNormalSpeed) {
    test::reset_test_state();
    use_fake_clock(0, 1);  // every reading a millisecond on, so frames end
    test::test_cartridge cartridge;
    listening_sink sink;
    start_session(nullptr);
    set_accurate_sound_output(&sink);
    ASSERT_TRUE(open_cartridge(cartridge.write()).ok);
    set_sound_enabled(true);

    struct case_t {
        const char* what;
        std::function<void(bool)> set;  // true: the state that silences
    };
    const case_t cases[] = {
        {"classic chosen", [](bool on) { set_accurate_sound(!on); }},
        {"fast forward", [](bool on) { set_fast_forward(on); }},
        {"full throttle", [](bool on) { set_full_throttle(on); }},
        {"stopped", [](bool on) { on ? stop() : resume(); }},
        {"sound off", [](bool on) { set_sound_enabled(!on); }},
    };
    set_accurate_sound(true);
    for (const case_t& test : cases) {
        SCOPED_TRACE(test.what);
        run_frames(1, [](uint64_t) {});
        EXPECT_TRUE(sink.heard);
        test.set(true);
        const long frames = sink.frames;
        run_frames(1, [](uint64_t) {});
        EXPECT_FALSE(sink.heard);
        EXPECT_EQ(sink.frames, frames) << "nothing mixed while silent";
        test.set(false);
    }
    run_frames(2, [](uint64_t) {});
    EXPECT_TRUE(sink.heard);
    EXPECT_GT(sink.frames, 0);
    set_accurate_sound(false);
    end_session();
}

}  // namespace
}  // namespace tov
