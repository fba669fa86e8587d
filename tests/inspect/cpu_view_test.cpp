#include "inspect/cpu_view.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "classic/memory/memory_map.h"
#include "cpu_steps.h"
#include "inspect/cpu_step.h"
#include "inspect/palette_view.h"
#include "machine/cpu_state.h"
#include "machine/options.h"
#include "machine/registers.h"
#include "machine/timing.h"
#include "memory/freeze_list.h"
#include "memory/io_registers.h"
#include "test_cartridge.h"
#include "video/frame.h"

namespace tov {
namespace {

// Every field of the view by its label, values joined by blanks.
std::map<std::string, std::string> fields_of(const cpu_view& view) {
    std::map<std::string, std::string> fields;
    for (const view_group& group : view.groups) {
        for (const view_row& row : group.rows) {
            std::string text;
            for (const std::string& value : row.values) {
                text += (text.empty() ? "" : " ") + value;
            }
            fields[row.label] = text;
        }
    }
    return fields;
}

// Each named field holds its expected text.
void expect_fields(const cpu_view& view,
                   std::initializer_list<std::pair<const char*, const char*>> expected) {
    auto fields = fields_of(view);
    for (const auto& [label, text] : expected) {
        EXPECT_EQ(fields[label], text) << label;
    }
}

class CpuView : public test::machine_test {
protected:
    void SetUp() override {
        cartridge_.title("DEBUG").byte(0x0147, 0x03).byte(0x0148, 0x01).byte(0x0149, 0x02);
        cartridge_.byte(0x014A, 0x01);
        machine_test::SetUp();
    }
    void TearDown() override { freeze_count = 0; }
};

TEST_F(CpuView, ShowsRegistersFlagsAndTheCartridge) {
    AF.value = 0x12B0;
    BC.value = 0x3456;
    DE.value = 0x789A;
    HL.value = 0xBCDE;
    SP.value = 0xFFF0;
    PC.value = 0x0150;
    ime = 1;
    const cpu_view view = refresh_cpu_view();
    expect_fields(view, {{"AF", "12B0 12 B0"},
                         {"BC", "3456 34 56"},
                         {"DE", "789A 78 9A"},
                         {"HL", "BCDE BC DE"},
                         {"SP", "FFF0"},
                         {"PC", "0150"}});
    ASSERT_EQ(view.checks.size(), 5u);
    const char* labels[] = {"Z_FLAG", "N_FLAG", "H_FLAG", "C_FLAG", "IME"};
    const bool checked[] = {true, false, true, true, true};  // the power-on flags of F B0
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(view.checks[i].label, labels[i]);
        EXPECT_EQ(view.checks[i].checked, checked[i]) << labels[i];
    }
    const std::vector<std::string> cartridge = {"NAME : DEBUG",
                                                "GB-NORMAL",
                                                "ROM+MBC1+RAM+BATT",
                                                "512Kbit =  64KByte =   4 banks",
                                                "RAM : 64kBit =  8kB = 1 bank",
                                                "Non-Japanese"};
    EXPECT_EQ(view.cartridge, cartridge);
    std::vector<std::string> titles;
    for (const view_group& group : view.groups) {
        titles.push_back(group.title);
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"Registers", "LCDC", "LCD", "Various", "Sound 1",
                                                "Sound 2", "Sound 3", "Sound 4"}));
}

TEST_F(CpuView, LcdcBitsInWords) {
    struct setting {
        uint8_t lcdc;
        std::map<std::string, std::string> texts;
    };
    const setting settings[] = {
        {0x91,
         {{"LCD Control Operation :", "1 : ON"},
          {"Window Tile Map Pointers :", "0 : 9800-9BFF"},
          {"Window Display :", "0 : OFF"},
          {"Bg && Windows Tile Data :", "1 : 8000-8FFF"},
          {"Bg Tilemap Pointers :", "0 : 9800-9BFF"},
          {"Sprite Size :", "0 : 8x8"},
          {"Sprite Display :", "0 : OFF"},
          {"Bg Display :", "1 : ON"}}},
        {0x6E,
         {{"LCD Control Operation :", "0 : OFF"},
          {"Window Tile Map Pointers :", "1 : 9C00-9FFF"},
          {"Window Display :", "1 : ON"},
          {"Bg && Windows Tile Data :", "0 : 8800-97FF"},
          {"Bg Tilemap Pointers :", "1 : 9C00-9FFF"},
          {"Sprite Size :", "1 : 8x16"},
          {"Sprite Display :", "1 : ON"},
          {"Bg Display :", "0 : OFF"}}},
    };
    for (const setting& s : settings) {
        write_byte(0xFF40, s.lcdc);
        auto fields = fields_of(refresh_cpu_view());
        for (const auto& [label, text] : s.texts) {
            EXPECT_EQ(fields[label], text) << int(s.lcdc) << " " << label;
        }
    }
}

// The registers are read as the CPU reads them: frozen values, masked
// sound registers; the bank fields are the bank register's state.
TEST_F(CpuView, RegistersAreReadAsTheCpuReadsThem) {
    io_page[LY] = 0x63;
    write_byte(0xFF11, 0xBF);
    write_byte(0x2000, 0x05);
    write_byte(0x6000, 0x01);
    write_byte(0x0000, 0x00);
    freeze_table[0] = {0xFF42, 0x77};
    freeze_count = 1;
    io_page[IF] = 0xE1;
    io_page[IE] = 0x1F;
    expect_fields(refresh_cpu_view(), {{"<= FF44 LY", "63"},
                                       {"<= FF42 SCY", "77"},  // the frozen value
                                       {"<= FF40 LCD", "91"},
                                       {"<= FF11 NR11", "80"},  // the duty bits only
                                       {"<= FF13 NR13", "00"},  // write-only
                                       {"<= FF23 KIK", "00"},  // NR44 reads bit 6 only, clear in BF
                                       {"<= FF01 SB", "FF"},
                                       {"<= FF0F IE", "E1"},
                                       {"<= FFFF IF", "1F"},
                                       {"<= FF4D SPEED", "7F"},
                                       {"<= 4000 BANK", "05"},
                                       {"<= 6000 MODE", "01"},
                                       {"<= 0000 RAM", "00"}});
}

// The view shows the working flags and leaves them alone: F is only the
// byte PUSH AF last packed, and unpacking it would undo the instructions'
// flags after every step.
TEST_F(CpuView, LookingNeverChangesTheFlags) {
    AF.value = 0x1200;  // stored F: no flag
    unpack_flags();
    test::place_code({0xAF, 0x00});  // XOR A: Z set
    io_page[LY] = 0;
    line_cycles = 0;
    step_instruction();
    ASSERT_EQ(flag_z, 1);
    const cpu_view view = refresh_cpu_view();
    EXPECT_EQ(flag_z, 1) << "still set after the refresh";
    EXPECT_EQ(F, 0x00) << "the stored byte is not rewritten";
    EXPECT_EQ(fields_of(view)["AF"], "0000 00 00");
    EXPECT_TRUE(view.checks[0].checked) << "Z shown as the CPU has it";
    EXPECT_EQ(shown_flags[0], 1);
    EXPECT_FALSE(view.checks[3].checked);

    AF.value = 0x12FF;  // as POP AF leaves it
    unpack_flags();
    const cpu_view popped = refresh_cpu_view();
    EXPECT_EQ(fields_of(popped)["AF"], "12FF 12 FF");
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(popped.checks[i].checked) << i;
    }
}

TEST_F(CpuView, PaletteTextListsBothTablesWithAnEmptyLineBetween) {
    load(0x80);
    for (int i = 0; i < 32; ++i) {
        bg_colours[i] = 0x0100 * (i / 4) + i % 4;
        obj_colours[i] = 0x7000 + 0x0010 * (i / 4) + i % 4;
    }
    EXPECT_EQ(palette_text(),
              "0000  0001  0002  0003\n0100  0101  0102  0103\n0200  0201  0202  0203\n"
              "0300  0301  0302  0303\n0400  0401  0402  0403\n0500  0501  0502  0503\n"
              "0600  0601  0602  0603\n0700  0701  0702  0703\n\n"
              "7000  7001  7002  7003\n7010  7011  7012  7013\n7020  7021  7022  7023\n"
              "7030  7031  7032  7033\n7040  7041  7042  7043\n7050  7051  7052  7053\n"
              "7060  7061  7062  7063\n7070  7071  7072  7073");
}

// The page's first instruction is read past the cheats and runs even when
// halted, with no interrupt and no repeat after a HALT.
TEST_F(CpuView, FirstInstructionRunsOnceAsStored) {
    test::place_code({0x04, 0x0C});  // INC B, INC C
    BC.value = 0x0000;
    halted = 1;
    halt_repeat = 1;
    ime = 1;
    io_page[IE] = 0x01;
    io_page[IF] = 0x01;
    freeze_table[0] = {test::code_address, 0x0C};
    freeze_count = 1;
    const int32_t sp = SP.value;
    execute_first_instruction();
    EXPECT_EQ(B, 1);
    EXPECT_EQ(C, 0);
    EXPECT_EQ(PC.value, test::code_address + 1);
    EXPECT_EQ(SP.value, sp) << "no interrupt entered";
    EXPECT_EQ(halt_repeat, 1);
    EXPECT_EQ(next_opcode_text(), "C");
    poke_byte(PC.value, 0xCB);
    EXPECT_EQ(next_opcode_text(), "CB");
}

// The step's own LCD step on a colour cartridge (no speed shift): modes 2,
// 3 and 0 below 81, below 174 + 12 per sprite, and above; the line advances
// whenever line_cycles is above 456, which the step never resets.
TEST_F(CpuView, StepAdvancesTheLcdByItsOwnThresholds) {
    struct step_case {
        int32_t cycles;
        uint8_t ly, stat, sprites;
        uint8_t ly_after, stat_after;
        bool stat_request, rendered;
    };
    const step_case cases[] = {
        {10, 5, 0x20, 0, 5, 0x22, true, false},       // mode 2, its enable set
        {80, 5, 0x00, 0, 5, 0x02, false, false},      // mode 2, no enable
        {10, 5, 0x22, 0, 5, 0x22, false, false},      // already in mode 2
        {81, 5, 0x02, 0, 5, 0x03, false, true},       // mode 3 renders the line
        {173, 5, 0x03, 0, 5, 0x03, false, false},     // already in mode 3
        {200, 5, 0x02, 3, 5, 0x03, false, true},      // 174 + 36 with three sprites
        {174, 5, 0x0B, 0, 5, 0x08, true, false},      // mode 0, its enable set
        {457, 10, 0x00, 0, 11, 0x00, false, false},   // next line, still past mode 3
        {456, 10, 0x00, 0, 10, 0x00, false, false},   // not above 456
        {500, 153, 0x00, 0, 0, 0x00, false, false},   // wraps to line 0
        {500, 143, 0x10, 0, 144, 0x11, true, false},  // VBlank mode, no VBlank request
        {10, 150, 0x01, 0, 150, 0x01, false, false},  // stays in mode 1
    };
    for (const step_case& c : cases) {
        SCOPED_TRACE(std::to_string(c.cycles) + " LY " + std::to_string(c.ly));
        load(0x80);
        write_byte(0xFF40, 0x80);
        test::place_code({0x00});
        line_cycles = c.cycles;
        io_page[LY] = c.ly;
        io_page[LYC] = c.ly_after;
        io_page[STAT] = c.stat;
        io_page[IF] = 0x00;
        line_sprite_count = c.sprites;
        std::memset(frame_buffer, 0x12, sizeof frame_buffer);
        step_instruction();
        EXPECT_EQ(io_page[LY], c.ly_after);
        EXPECT_EQ(io_page[STAT], c.stat_after) << "no LY=LYC flag either";
        EXPECT_EQ(io_page[IF], c.stat_request ? 0x02 : 0x00);
        const int row = c.ly_after < 144 ? c.ly_after : 0;
        EXPECT_EQ(frame_buffer[row * frame_row_bytes] != 0x12, c.rendered);
        EXPECT_EQ(PC.value, test::code_address + 1) << "one instruction";
        EXPECT_GT(line_cycles, c.cycles) << "never reset";
    }
}

TEST_F(CpuView, StepRendersOnlyFramesThatAreDrawn) {
    write_byte(0xFF40, 0x80);
    test::place_code({0x00, 0x00});
    std::memset(frame_buffer, 0x12, sizeof frame_buffer);
    frame_skip = 1;
    skip_counter = 0;
    line_cycles = 100 << speed_shift;
    io_page[LY] = 7;
    io_page[STAT] = 0x02;
    step_instruction();
    EXPECT_EQ(frame_buffer[7 * frame_row_bytes], 0x12) << "a skipped frame";
    EXPECT_EQ(render_ly, 7);
    skip_counter = 1;
    io_page[STAT] = 0x02;
    step_instruction();
    EXPECT_EQ(frame_buffer[7 * frame_row_bytes], 0xFF);
    frame_skip = 0;
    skip_counter = 0;
}

// The instruction part is the run loop's: interrupts first, then the halted
// step, which leaves PC where it is.
TEST_F(CpuView, StepServesInterruptsAndHalts) {
    test::place_code({0x04});
    line_cycles = 0;
    halted = 1;
    step_instruction();
    EXPECT_EQ(PC.value, test::code_address);
    EXPECT_EQ(B, 0x00);
    halted = 0;
    ime = 1;
    io_page[IE] = 0x04;
    io_page[IF] = 0x04;
    step_instruction();
    EXPECT_EQ(ime, 0);
    EXPECT_EQ(PC.value, 0x0051) << "the timer handler's first byte has run";
}

}  // namespace
}  // namespace tov
