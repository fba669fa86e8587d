#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <vector>

#include "headless_run.h"
#include "test_archive.h"

namespace tov {
namespace {

using test::assembled_cartridge;
using test::run;
using test::run_result;
using test::source_of;

TEST(Headless, HelpDocumentsEveryOption) {
    const run_result result = run({"--help"});
    EXPECT_EQ(result.code, 0);
    const char* const options[] = {"--entry",
                                   "--machine",
                                   "--model",
                                   "--serial",
                                   "--frames",
                                   "--timing",
                                   "--frameskip",
                                   "--press",
                                   "--screenshot",
                                   "--screen-text",
                                   "--bench",
                                   "--rewind",
                                   "--until-breakpoint",
                                   "--break",
                                   "--timeout-frames",
                                   "--expect-fibonacci",
                                   "--expect-serial",
                                   "--expect-screen",
                                   "--trace",
                                   "--trace-limit",
                                   "--symbols",
                                   "--debug-messages",
                                   "--help"};
    for (const char* option : options) {
        EXPECT_NE(result.out.find(option), std::string::npos) << option;
    }
    EXPECT_NE(result.out.find("zip, 7z or gzip archive"), std::string::npos);
}

TEST(Headless, BadCommandLinesAreRefusedWithAReason) {
    struct case_t {
        std::vector<std::string> arguments;
        const char* message;
    };
    const case_t cases[] = {
        {{}, "no cartridge given"},
        {{"x.gb", "--bogus"}, "unknown option '--bogus'"},
        {{"x.gb", "y.gb"}, "unknown option 'y.gb'"},
        {{"x.gb", "--frames"}, "--frames needs a value"},
        {{"x.gb", "--frames", "0"}, "--frames takes a number from 1"},
        {{"x.gb", "--frames", "ten"}, "not 'ten'"},
        {{"x.gb", "--timing", "3"}, "--timing takes a number from 1 to 2"},
        {{"x.gb", "--frameskip", "4"}, "--frameskip takes a number from 0 to 3"},
        {{"x.gb", "--press", "jump@3"}, "--press takes KEY@FRAME"},
        {{"x.gb", "--press", "a@"}, "--press takes KEY@FRAME"},
        {{"x.gb", "--press", "a@1+x"}, "--press takes KEY@FRAME"},
        {{"x.gb", "--machine", "fast"}, "--machine takes classic or accurate, not 'fast'"},
        {{"x.gb", "--model", "gba"}, "--model takes auto, dmg or cgb, not 'gba'"},
        {{"x.gb", "--break", "10000"}, "--break: \"10000\" is not an address, a symbol"},
        {{"x.gb", "--break", "read C0FF-C000"}, "--break: the range ends before it starts"},
        {{"x.gb", "--timeout-frames", "0"}, "--timeout-frames takes a number from 1"},
        {{"x.gb", "--rewind", "61"}, "--rewind takes a number from 1 to 60"},
    };
    for (const case_t& test : cases) {
        const run_result result = run(test.arguments);
        EXPECT_EQ(result.code, 2);
        EXPECT_NE(result.error.find(test.message), std::string::npos) << result.error;
        EXPECT_NE(result.error.find("--help"), std::string::npos);
    }
}

TEST(Headless, UnusableCartridgeFails) {
    const test::test_archive notes(test::archive_format::zip, {{"notes.txt", {'h', 'i'}}},
                                   "notes.zip");
    for (const std::string& path : {test::temp_path(".gb"), notes.path}) {
        const run_result result = run({path, "--frames", "1"});
        EXPECT_EQ(result.code, 1);
        EXPECT_NE(result.error.find(path), std::string::npos) << result.error;
    }
}

TEST(Headless, RunsTheFirstCartridgeOfAnArchive) {
    assembled_cartridge joypad(source_of("joypad.asm"));
    const test::archive_item notes{"notes.txt", {'h', 'i'}};
    const test::archive_item game = test::item_from_file("joypad.gb", joypad.path);
    const test::archive_item blank{"zz.gb", std::vector<uint8_t>(0x8000, 0)};
    for (const test::archive_format format : test::all_archive_formats) {
        const std::string file_name = std::string("joypad.gb.") + test::file_ending(format);
        const bool one_stream = format == test::archive_format::gzip;
        const test::test_archive archive(
            format, one_stream ? std::vector{game} : std::vector{notes, game, blank}, file_name);
        const run_result result =
            run({archive.path, "--frames", "6", "--press", "a@3+5", "--screen-text"});
        ASSERT_EQ(result.code, 0) << result.error;
        EXPECT_EQ(result.out.substr(0, result.out.find('\n')), "A") << file_name;
    }
}

// A cartridge that keeps writing its letter to the top-left tile, so the
// screen tells which cartridge's program runs.
std::string letter_source(char letter) {
    return std::string(R"(
        org $100
    again:
        ld hl, letter
        ld a, (hl)
        ld ($9800), a
        jr again
    letter: db ')") +
           letter + "'\n";
}

// A state saved on the second cartridge of an archive loads back onto that
// cartridge, as it does onto the same cartridge opened as a plain file.
TEST(Headless, EntryChoosesTheArchivesCartridgeForRunsAndStates) {
    assembled_cartridge first(letter_source('A'));
    assembled_cartridge second(letter_source('B'));
    const test::test_archive pair(
        test::archive_format::zip,
        {test::item_from_file("a.gb", first.path), test::item_from_file("b.gb", second.path)},
        "pair.zip");
    const std::string state = test::temp_path(".gst");
    ASSERT_EQ(run({pair.path, "--entry", "b.gb", "--frames", "5", "--save-state", state}).code, 0);

    struct case_t {
        std::vector<std::string> arguments;
        const char* first_line;
    };
    const case_t cases[] = {
        {{pair.path}, "A"},
        {{pair.path, "--entry", "a.gb"}, "A"},
        {{pair.path, "--entry", "b.gb"}, "B"},
        {{pair.path, "--entry", "b.gb", "--load-state", state}, "B"},
        {{second.path, "--load-state", state}, "B"},
    };
    for (const case_t& test : cases) {
        std::vector<std::string> arguments = test.arguments;
        arguments.insert(arguments.end(), {"--frames", "2", "--screen-text"});
        const run_result result = run(arguments);
        ASSERT_EQ(result.code, 0) << result.error;
        EXPECT_EQ(result.out.substr(0, result.out.find('\n')), test.first_line)
            << testing::PrintToString(test.arguments);
    }
    const run_result missing = run({pair.path, "--entry", "c.gb"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.error.find("holds no cartridge named \"c.gb\""), std::string::npos)
        << missing.error;
    std::filesystem::remove(state);
}

TEST(Headless, ScreenTextShowsTheVisibleBackgroundTiles) {
    assembled_cartridge hello(R"(
        org $100
        ld hl, $9800 + 32 + 2    ; row 1, column 2
        ld a, 'H'
        ld (hl+), a
        ld a, 'I'
        ld (hl+), a
        ld a, $80                ; not ASCII: shown as a blank
        ld (hl+), a
        ld a, '!'
        ld (hl), a
        ld a, 8                  ; scroll one tile right
        ldh ($43), a
    done: jr done
    )");
    const run_result result = run({hello.path, "--frames", "2", "--screen-text"});
    ASSERT_EQ(result.code, 0) << result.error;
    EXPECT_EQ(result.out, "\n HI !\n" + std::string(16, '\n')) << "column 2 shows at 1";
}

TEST(Headless, PressHoldsAButtonOverAFrameRange) {
    assembled_cartridge joypad(source_of("joypad.asm"));
    struct case_t {
        std::string frames, press;
        const char* shown;
    };
    const case_t cases[] = {
        {"6", "a@3+5", "A"}, {"10", "a@3+5", "-"}, {"3", "a@3", "-"},
        {"4", "a@3", "A"},   {"6", "b@0+9", "-"},
    };
    for (const case_t& test : cases) {
        const run_result result =
            run({joypad.path, "--frames", test.frames, "--press", test.press, "--screen-text"});
        ASSERT_EQ(result.code, 0) << result.error;
        EXPECT_EQ(result.out.substr(0, result.out.find('\n')), test.shown)
            << test.frames << " frames, " << test.press;
    }
}

// A cartridge of tests/cartridges/digits, which show values as hex digits.
std::string digits_source(const std::string& name) {
    return source_of("digits/" + name) + source_of("digits/hex_digit.asm");
}

// The first screen line after running with `presses`.
std::string first_line_after(const std::string& cartridge, const std::string& frames,
                             const std::vector<std::string>& presses) {
    std::vector<std::string> arguments = {cartridge, "--frames", frames, "--screen-text"};
    for (const std::string& press : presses) {
        arguments.insert(arguments.end(), {"--press", press});
    }
    const run_result result = run(arguments);
    EXPECT_EQ(result.code, 0) << result.error;
    return result.out.substr(0, result.out.find('\n'));
}

TEST(Headless, JoypadRowsAreChosenByBits5And4) {
    // Low nibbles read with EF, DF and CF written.
    assembled_cartridge rows(digits_source("joypad_rows.asm"));
    struct case_t {
        std::vector<std::string> presses;
        const char* shown;
    };
    const case_t cases[] = {
        {{}, "FFF"},
        {{"right@0+5"}, "EFE"},
        {{"a@0+5", "down@0+5"}, "7E6"},
        {{"up@0+5", "start@0+5"}, "B73"},
    };
    for (const case_t& test : cases) {
        EXPECT_EQ(first_line_after(rows.path, "3", test.presses), test.shown);
    }
}

TEST(Headless, PressMarksTheKeyOnceAsARealKeyDoes) {
    // Reads the button row at frame 3 and again at frame 11.
    assembled_cartridge twice(digits_source("press_once.asm"));
    struct case_t {
        const char* press;
        const char* shown;
    };
    const case_t cases[] = {
        {"a@1+5", "EF"},   // released before the second read, and seen so
        {"a@1+12", "EE"},  // still held
        {"a@5", "FE"},     // a tap between the reads is seen by the next one
    };
    for (const case_t& test : cases) {
        EXPECT_EQ(first_line_after(twice.path, "14", {test.press}), test.shown) << test.press;
    }
}

// Timer interrupts over 60 frames for TAC 04-07 with TMA 0, against what the
// console counts: 70224 clocks a frame, TIMA stepping every 1024, 16, 64 and
// 256 clocks (half that in double speed) and overflowing every 256 steps.
// This machine reloads TIMA as it reaches FF, every 255 steps.
TEST(Headless, TimerInterruptsComeAtTheConsolesRate) {
    struct case_t {
        const char* kind;
        uint8_t colour_flag;
        uint8_t double_speed;
    };
    const case_t cases[] = {
        {"monochrome", 0x00, 0}, {"colour", 0x80, 0}, {"colour, double speed", 0x80, 1}};
    const int clocks_per_step[4] = {1024, 16, 64, 256};
    for (const case_t& test : cases) {
        assembled_cartridge counter(digits_source("timer_rates.asm"),
                                    {{0x143, test.colour_flag}, {0x150, test.double_speed}});
        const run_result result = run({counter.path, "--frames", "300", "--screen-text"});
        ASSERT_EQ(result.code, 0) << result.error;
        std::istringstream screen(result.out);
        for (int rate = 0; rate < 4; ++rate) {
            std::string row;
            std::getline(screen, row);
            const double steps = 60.0 * 70224 * (test.double_speed + 1) / clocks_per_step[rate];
            const double console = std::floor(steps / 256);
            const double shown = static_cast<double>(std::stoi(row, nullptr, 16));
            EXPECT_NEAR(shown, console, console * 0.02) << test.kind << ", TAC 0" << rate + 4;
        }
    }
}

TEST(Headless, BenchPrintsOneLineOfFigures) {
    assembled_cartridge idle("org $100\nloop: jr loop\n");
    const run_result result = run({idle.path, "--frames", "30", "--bench"});
    ASSERT_EQ(result.code, 0) << result.error;
    EXPECT_TRUE(std::regex_match(result.out, std::regex("frames=30 seconds=[0-9.]+ fps=[0-9]+\n")))
        << result.out;
    const run_result stopped = run(
        {idle.path, "--frames", "30", "--bench", "--break", "SP == 0001", "--timeout-frames", "7"});
    EXPECT_EQ(stopped.code, 3);
    EXPECT_EQ(stopped.out.substr(0, 9), "frames=7 ") << "the frames run, not --frames";
}

TEST(Headless, TimingAndFrameskipOptionsRun) {
    assembled_cartridge idle("org $100\nloop: jr loop\n");
    EXPECT_EQ(run({idle.path, "--frames", "5", "--timing", "2", "--frameskip", "3"}).code, 0);
}

// The picture the scene cartridge draws, from its own description.
uint32_t expected_scene_pixel(int x, int y) {
    const uint32_t shades[4] = {0xF8F8F8, 0x787878, 0x585858, 0x000000};
    const bool in_frame = x >= 20 && x <= 27 && y >= 20 && y <= 27;
    if (in_frame && (x == 20 || x == 27 || y == 20 || y == 27)) {
        return shades[3];  // sprite 0's border
    }
    if (x >= 24 && x <= 31 && y >= 24 && y <= 31) {
        return shades[0];  // sprite 1
    }
    if (x >= 80 && y >= 72) {
        return shades[3];  // the window
    }
    return shades[(x / 8 + y / 8) % 2 + 1];
}

TEST(Headless, ScreenshotOfTheSceneCartridgeMatchesItsPicture) {
    assembled_cartridge scene(source_of("scene.asm"));
    for (const char* timing : {"1", "2"}) {
        const std::string picture = test::temp_path(".png");
        const run_result result =
            run({scene.path, "--frames", "3", "--timing", timing, "--screenshot", picture});
        ASSERT_EQ(result.code, 0) << result.error;
        const test::rgb_picture shot = test::read_png(picture);
        ASSERT_EQ(shot.width, 160);
        ASSERT_EQ(shot.height, 144);
        int wrong = 0;
        for (int y = 0; y < 144; ++y) {
            for (int x = 0; x < 160; ++x) {
                const uint32_t rgb = shot.at(x, y);
                if (rgb != expected_scene_pixel(x, y) && wrong++ < 5) {
                    ADD_FAILURE() << "timing " << timing << " pixel " << x << "," << y << ": "
                                  << std::hex << rgb << " instead of "
                                  << expected_scene_pixel(x, y);
                }
            }
        }
        EXPECT_EQ(wrong, 0);
        std::filesystem::remove(picture);
    }
}

TEST(Headless, WavCapturesAToneAtTheChannelsFrequency) {
    assembled_cartridge tone(source_of("tone.asm"));
    const std::string wav = test::temp_path(".wav");
    const run_result result = run({tone.path, "--frames", "120", "--wav", wav});
    ASSERT_EQ(result.code, 0) << result.error;
    const test::wav_sound sound = test::read_wav(wav);
    EXPECT_EQ(sound.rate, 44100);
    ASSERT_GT(sound.left.size(), 44100u) << "two seconds of the fake clock";
    // Register 1775 gives 131072 / (2049 - 1775) = 478 Hz; the channel renders
    // whole periods per 1/60 s, 8 of them here, so it plays 480 Hz.
    const double expected = 131072.0 / (2049 - 1775);
    EXPECT_NEAR(test::measured_frequency(sound.left, sound.rate), expected, expected * 0.01);
    std::filesystem::remove(wav);
}

// Work RAM byte C000 of a state file (work RAM bank 0 starts at 57551).
int state_byte_c000(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    file.seekg(57551);
    return file.get();
}

TEST(Headless, StatesCarryTheGameBetweenRuns) {
    // Counts at C000 while A is held.
    assembled_cartridge counter(R"(
        org $100
    loop: ld a, $10
        ldh ($00), a
        ldh a, ($00)
        bit 0, a
        jr nz, loop
        ld hl, $C000
        inc (hl)
        jr loop
    )");
    const std::string first = test::temp_path(".gst");
    const std::string second = test::temp_path(".gst");
    ASSERT_EQ(run({counter.path, "--frames", "2", "--press", "a@0+1", "--save-state", first}).code,
              0);
    EXPECT_EQ(std::filesystem::file_size(first), 94842u);
    const int counted = state_byte_c000(first);
    EXPECT_NE(counted, 0);

    const run_result loaded =
        run({counter.path, "--frames", "1", "--load-state", first, "--save-state", second});
    ASSERT_EQ(loaded.code, 0) << loaded.error;
    EXPECT_EQ(state_byte_c000(second), counted) << "the count came back with the state";
    ASSERT_EQ(run({counter.path, "--frames", "1", "--save-state", second}).code, 0);
    EXPECT_EQ(state_byte_c000(second), 0) << "and is not there without it";

    std::filesystem::resize_file(first, 100);
    const run_result refused = run({counter.path, "--load-state", first});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.error.find("94842"), std::string::npos) << refused.error;
    std::filesystem::remove(first);
    std::filesystem::remove(second);
}

// A game that keeps its data on the stack goes on after a loaded state as
// it would have without the break: 1 and 120 frames on, the picture is the
// uninterrupted run's. A file without the resume record (its marker's first
// byte, at 37, cleared, as older versions wrote) loads its fixed fields
// alone: SP stays the machine's own, the power-on FFFE.
TEST(Headless, LoadedStatesGoOnAsTheUninterruptedGame) {
    assembled_cartridge game(source_of("stack_frames.asm"));
    const std::string state = test::temp_path(".gst");
    const std::string picture = test::temp_path(".png");
    ASSERT_EQ(run({game.path, "--frames", "600", "--save-state", state}).code, 0);
    for (const int frames : {1, 120}) {
        ASSERT_EQ(
            run({game.path, "--frames", std::to_string(600 + frames), "--screenshot", picture})
                .code,
            0);
        const run_result resumed = run({game.path, "--load-state", state, "--frames",
                                        std::to_string(frames), "--expect-screen", picture});
        EXPECT_EQ(resumed.code, 0) << frames << " frames on: " << resumed.error;
    }

    std::string older = test::file_bytes(state);
    older.at(37) = 0;
    const std::string older_state = test::temp_path(".gst");
    test::write_bytes(older_state, older);
    const std::string trace = test::temp_path(".txt");
    // Saved in the VBlank handler, below the sum and the return address.
    const std::pair<std::string, const char*> loads[] = {{state, "SP=DFEC"},
                                                         {older_state, "SP=FFFE"}};
    for (const auto& [file, stack] : loads) {
        ASSERT_EQ(run({game.path, "--load-state", file, "--frames", "1", "--trace", trace,
                       "--trace-limit", "1"})
                      .code,
                  0);
        EXPECT_NE(test::file_bytes(trace).find(stack), std::string::npos)
            << test::file_bytes(trace);
    }
    for (const std::string& file : {state, picture, older_state, trace}) {
        std::filesystem::remove(file);
    }
}

TEST(Headless, ReportsResidentMemoryEveryNFrames) {
    assembled_cartridge idle("org $100\nloop: jr loop\n");
    const run_result result = run({idle.path, "--frames", "4", "--rss-every", "2"});
    ASSERT_EQ(result.code, 0);
    EXPECT_TRUE(std::regex_match(
        result.out,
        std::regex("frame=0 rss_kib=[0-9]+\nframe=2 rss_kib=[0-9]+\nframe=4 rss_kib=[0-9]+\n")))
        << result.out;
}

TEST(Headless, ScreenshotToAnUnwritablePlaceFails) {
    assembled_cartridge idle("org $100\nloop: jr loop\n");
    const run_result result =
        run({idle.path, "--frames", "1", "--screenshot", "/nonexistent/folder/x.png"});
    EXPECT_EQ(result.code, 1);
    EXPECT_NE(result.error.find("/nonexistent/folder/x.png"), std::string::npos);
}

}  // namespace
}  // namespace tov
