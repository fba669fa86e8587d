#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "classic/memory/memory_map.h"
#include "classic/state/save_state.h"
#include "classic/video/renderer.h"
#include "cpu_steps.h"
#include "machine/cpu_state.h"
#include "machine/registers.h"
#include "machine/timing.h"
#include "memory/cartridge.h"
#include "memory/io_registers.h"
#include "persist_fixture.h"
#include "video/frame.h"
#include "vram_tiles.h"

namespace tov {
namespace {

class SaveStateTest : public test::persist_test {
protected:
    void SetUp() override {
        persist_test::SetUp();
        state_path = (home_ / "game.gst").string();
    }

    std::string saved() {
        save_state();
        return test::file_bytes(state_path);
    }

    // The saved file without its resume record's marker and with byte
    // `offset` replaced, loaded back: the header alone counts.
    void load_with(std::size_t offset, uint8_t value) {
        std::string bytes = saved();
        bytes.at(37) = 0;
        bytes.at(offset) = static_cast<char>(value);
        test::write_bytes(state_path, bytes);
        load_state();
    }
};

uint8_t at(const std::string& bytes, std::size_t offset) {
    return static_cast<uint8_t>(bytes.at(offset));
}

// Every field of the file given a value of its own.
void set_every_field() {
    AF.value = 0x12B0;
    BC.value = 0x3456;
    DE.value = 0x789A;
    HL.value = 0xBCDE;
    PC.value = 0x1234;
    SP.value = 0xCFF0;
    test::set_flags("Z--C");
    ram_enable = 1;
    ram_bank = 3;
    rom_bank = 0x21;
    wram_bank = 5;
    speed_shift = 0;
    tima_cycles = 100;
    timer_running = 1;
    stop_flag = 1;
    ime = 1;
    write_byte(0xFF07, 0x05);  // TAC: the period follows it
    for (int32_t i = 0; i < 32; ++i) {
        bg_colours[i] = 0x0421 * i;
        obj_colours[i] = 0x7FFF - i;
    }
    for (std::size_t i = 0; i < sizeof vram; ++i) {
        vram[i] = static_cast<uint8_t>(i * 3);
    }
    for (std::size_t i = 0; i < sizeof cart_ram; ++i) {
        cart_ram[i] = static_cast<uint8_t>(i * 5);
    }
    for (std::size_t i = 0; i < sizeof wram0; ++i) {
        wram0[i] = echo_ram[i] = static_cast<uint8_t>(i * 7);
    }
    for (std::size_t i = 0; i < sizeof wram_banks; ++i) {
        wram_banks[i] = static_cast<uint8_t>(i * 11);
    }
    for (std::size_t i = 0; i < sizeof oam; ++i) {
        oam[i] = static_cast<uint8_t>(i * 13);
    }
    for (int32_t i = 0x80; i < 0x100; ++i) {
        io_page[i] = static_cast<uint8_t>(i * 17);
    }
    write_byte(0xFF40, 0x93);
}

TEST_F(SaveStateTest, FileHoldsEachFieldAtItsOffset) {
    set_every_field();
    bg_colours[0] = 0x7FFF;  // palette 0 colour 0: position (0, 0)
    bg_colours[4] = 0x1357;  // palette 1 colour 0: positions (0, 1) and (4, 0)
    obj_colours[31] = 0x2468;
    const std::string bytes = saved();
    ASSERT_EQ(bytes.size(), 94842u);
    struct expected_byte {
        std::size_t offset;
        uint8_t value;
    };
    // clang-format off
    const expected_byte expected[] = {
        {0, 0x12}, {1, 0x34}, {2, 0x56}, {3, 0x78},     // A B C D
        {4, 0x9A}, {5, 0xB0}, {6, 0xBC}, {7, 0xDE},     // E F H L
        {8, 0x12}, {9, 0x34},                           // PC high, low
        {10, 0xEF}, {11, 0x01}, {12, 0x03}, {13, 0x21}, // IE, RAM enable, RAM bank, ROM bank
        {14, 0x05}, {15, 0x00},                         // work RAM bank, speed
        {16, 100}, {17, 0x20},                          // TIMA cycles; period 32
        {18, 0x01}, {19, 0x01}, {20, 0x01},             // timer running, stop, ime
        // Palette position (c, p) at 21 + 2 * (c * 9 + p), high byte first.
        {21, 0x7F}, {22, 0xFF},                         // (0, 0)
        {23, 0x13}, {24, 0x57},                         // (0, 1)
        {93, 0x13}, {94, 0x57},                         // (4, 0) repeats it
        {111 + 2 * (3 * 9 + 7), 0x24},                  // object (3, 7)
        {112 + 2 * (3 * 9 + 7), 0x68},
        {201, 0x00}, {202, 0x03},                       // video RAM
        {16584, static_cast<uint8_t>(0x3FFF * 3)},      // its last byte
        {16586, 0x00},                                  // cartridge RAM bank 0, offset 0
        {16586 + 8193 + 1, 0x1E},                       // bank 1, offset 1: element 6
        {57551, 0x00}, {57552, 0x07},                   // work RAM bank 0
        {61648 + 4097 * 2 + 1, static_cast<uint8_t>(10 * 11)},  // index 2, offset 1
        {94424, 0x00}, {94425, 13},                     // OAM
        {94585 + 0x07, 0x05},                           // FF07 in the first I/O section
        {94585 + 0x40, 0x93},                           // FF40
        {94585 + 0x80, 0x80},                           // FF80 at the end of the first
        {94714, 0x80},                                  // and at the start of the second
        {94841, 0xEF},                                  // FFFF last
    };
    // clang-format on
    for (const expected_byte& byte : expected) {
        EXPECT_EQ(at(bytes, byte.offset), byte.value) << byte.offset;
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(SaveStateTest, SaveThenLoadLeavesEverythingAsItWas) {
    set_every_field();
    const std::vector<int32_t> before = test::machine_snapshot();
    save_state();
    load_state();
    EXPECT_EQ(test::machine_snapshot(), before);
    EXPECT_TRUE(messages.empty());
}

// A file carries SP, the working flags, the halt, the counters whole and the
// bank mode in the bytes that belong to no memory, behind a marker whose
// first byte is at 37; a file without it (as older versions wrote) leaves
// them as they are and takes the timer's counts from its header.
TEST_F(SaveStateTest, TheResumeRecordComesBackOnlyWithItsMarker) {
    set_every_field();
    halted = 1;
    line_cycles = 700;
    div_cycles = 300;
    tima_cycles = 1000;
    bank_mode = 1;
    const std::vector<int32_t> saved_machine = test::machine_snapshot();
    const std::string marked = saved();
    std::string unmarked = marked;
    unmarked.at(37) = 0;
    const auto resumed = [] {
        return std::vector<int32_t>{SP.value, halted, line_cycles, div_cycles, bank_mode};
    };
    const std::vector<int32_t> saved_values = resumed();
    for (const bool with_marker : {true, false}) {
        SCOPED_TRACE(with_marker ? "with the marker" : "without it");
        ASSERT_TRUE(test::power_on_cartridge().ok);  // everything back to its power-on value
        SP.value = 0xDFF0;
        test::set_flags("-NH-");
        line_cycles = 5;
        div_cycles = 6;
        bank_mode = 0;
        const std::vector<int32_t> current = resumed();
        test::write_bytes(state_path, with_marker ? marked : unmarked);
        load_state();
        EXPECT_EQ(resumed(), with_marker ? saved_values : current);
        EXPECT_EQ(test::flag_text(), with_marker ? "Z--C" : "-NH-");
        EXPECT_EQ(tima_cycles, with_marker ? 1000 : -24) << "the header's low byte, E8";
        SP.value = 0xCFF0;
        test::set_flags("Z--C");
        tima_cycles = 1000;
        EXPECT_EQ(test::first_difference(test::machine_snapshot(), saved_machine), -1);
    }
}

TEST_F(SaveStateTest, LoadingBringsBackTheWindowRows) {
    test::put_tile(0x0010, {"33333333", "0", "0", "0", "0", "0", "0", "0"});
    std::fill(vram + 0x1C00, vram + 0x2000, 1);  // the window map: tile 1
    write_byte(0xFF47, 0xE4);
    write_byte(0xFF4A, 0);
    write_byte(0xFF4B, 7);
    save_state();
    write_byte(0xFF40, 0xD1);  // window off: five lines counted as hidden
    for (render_ly = 0; render_ly < 5; ++render_ly) {
        render_line();
    }
    load_state();
    write_byte(0xFF40, 0xF1);
    render_ly = 8;
    render_line();
    EXPECT_EQ(test::pixel_rgb(frame_buffer, 160, 0, 8), 0) << "line 8 shows window row 8";
}

TEST_F(SaveStateTest, StateOfOneCartridgeLoadsIntoAnother) {
    test::test_cartridge first;
    first.byte(0x4000, 0x11).title("FIRST");
    ASSERT_TRUE(first.load());
    write_byte(0xC000, 0x42);
    PC.value = 0x4000;
    save_state();

    test::test_cartridge second(0x4000 * 8);
    second.byte(0x4000, 0x22).byte(0x4000 * 5, 0x55).title("SECOND");
    ASSERT_TRUE(second.load());
    write_byte(0x2000, 0x05);
    load_state();
    EXPECT_EQ(PC.value, 0x4000);
    EXPECT_EQ(rom_bank, 1) << "the bank number comes from the state";
    EXPECT_EQ(read_byte(0x4000), 0x22) << "the ROM stays the second cartridge's";
    EXPECT_EQ(read_byte(0xC000), 0x42);
    EXPECT_EQ(rom_path, second.write());
}

TEST_F(SaveStateTest, HeaderBytesAreWidenedAndKeptInRange) {
    write_byte(0xFF07, 0x05);  // TAC: 32 cycles on a monochrome cartridge
    struct header_case {
        std::size_t offset;
        uint8_t stored;
        std::function<int32_t()> field;
        int32_t expected;
    };
    const header_case cases[] = {
        {16, 200, [] { return tima_cycles; }, -56},  // a signed byte
        {16, 0x7F, [] { return tima_cycles; }, 127},
        {17, 0x00, [] { return tima_period; }, 32},  // from TAC, not the byte
        {20, 1, [] { return ime; }, 1},
        {20, 0, [] { return ime; }, 0},
        {20, 200, [] { return ime; }, 0},  // only 1 enables interrupts
        {12, 3, [] { return ram_bank; }, 3},
        {12, 9, [] { return ram_bank; }, 4},  // cartridge RAM has banks 0-4
        {14, 7, [] { return wram_bank; }, 6},
        {14, 0xFF, [] { return wram_bank; }, 6},
        {15, 5, [] { return speed_shift; }, 1},
        {13, 0xFF, [] { return rom_bank; }, 0xFF},  // every ROM bank has storage
        {11, 0, [] { return ram_enable; }, 0},
    };
    for (const header_case& test : cases) {
        load_with(test.offset, test.stored);
        EXPECT_EQ(test.field(), test.expected)
            << "offset " << test.offset << " holding " << int(test.stored);
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(SaveStateTest, LaterCopiesWinAndSkippedPositionsChangeNothing) {
    set_every_field();
    std::string bytes = saved();
    const auto put_word = [&bytes](std::size_t offset, int32_t word) {
        bytes.at(offset) = static_cast<char>(word >> 8);
        bytes.at(offset + 1) = static_cast<char>(word & 0xFF);
    };
    put_word(23, 0x0123);                       // palette 1 colour 0 at (0, 1)
    put_word(93, 0x0ABC);                       // and again at (4, 0), later
    put_word(21 + 2 * (4 * 9 + 7), 0x7777);     // (4, 7): entry 32, outside
    put_word(21 + 2 * 8, 0x6666);               // (0, 8): outside
    bytes.at(94585 + 0x80) = 0x11;              // FF80 in the first I/O section
    bytes.at(94714) = 0x22;                     // and in the second
    bytes.at(94585 + 0x40) = 0x00;              // LCDC off
    bytes.at(57551) = static_cast<char>(0x99);  // work RAM bank 0, offset 0
    test::write_bytes(state_path, bytes);
    std::vector<int32_t> colours_before(std::begin(bg_colours), std::end(bg_colours));
    load_state();
    EXPECT_EQ(bg_colours[4], 0x0ABC);
    colours_before[4] = 0x0ABC;
    EXPECT_EQ(std::vector<int32_t>(std::begin(bg_colours), std::end(bg_colours)), colours_before);
    EXPECT_EQ(io_page[0x80], 0x22);
    EXPECT_EQ(lcdc_lcd_on, 0) << "LCDC written back with the restored value";
    EXPECT_EQ(echo_ram[0], 0x99);
}

TEST_F(SaveStateTest, FileOfAnotherSizeIsRefusedAndTheMachineUntouched) {
    set_every_field();
    const std::string good = saved();
    const std::vector<int32_t> before = test::machine_snapshot();
    struct refused_file {
        const char* name;
        std::function<void()> make;
    };
    const refused_file files[] = {
        {"one byte short", [&] { test::write_bytes(state_path, good.substr(1)); }},
        {"one byte long", [&] { test::write_bytes(state_path, good + "x"); }},
        {"empty", [&] { test::write_bytes(state_path, ""); }},
        {"missing", [&] { std::filesystem::remove(state_path); }},
    };
    for (const refused_file& file : files) {
        SCOPED_TRACE(file.name);
        file.make();
        messages.clear();
        load_state();
        expect_one_message_naming(state_path);
        EXPECT_EQ(test::first_difference(test::machine_snapshot(), before), -1);
    }
}

TEST_F(SaveStateTest, UnwritableFileIsReportedAndTheOldOneKept) {
    expect_failed_save_keeps_old_file(state_path, 94842, [this] { save_state(); });
}

}  // namespace
}  // namespace tov
