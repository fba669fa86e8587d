#include "accurate/run/console.h"

#include <algorithm>
#include <iterator>

#include "accurate/bus/bus.h"
#include "accurate/clock/clock.h"
#include "accurate/cpu/sm83.h"
#include "accurate/dma/oam_dma.h"
#include "accurate/dma/vram_dma.h"
#include "accurate/timer/serial.h"
#include "accurate/timer/sound_clock.h"
#include "accurate/timer/timer.h"
#include "accurate/video/lcd.h"
#include "accurate/video/line_drawing.h"
#include "cartridge/slot.h"
#include "machine/cpu_state.h"
#include "machine/memory.h"
#include "machine/registers.h"
#include "machine/timing.h"
#include "memory/cartridge.h"
#include "memory/io_registers.h"
#include "run/frame_driver.h"

namespace tov {

namespace {

// What the start-up program of each model leaves behind at 0100.
struct start_up_state {
    uint16_t bc, de, hl;
    uint16_t counter;  // the system counter
    uint8_t sc;
    uint8_t dma;
};
constexpr start_up_state monochrome_start = {0x0013, 0x00D8, 0x014D, 0xABC8, 0x00, 0xFF};
constexpr start_up_state colour_start = {0x0000, 0xFF56, 0x000D, 0x2674, 0x03, 0x00};
constexpr start_up_state colour_compatible_start = {0x0000, 0x0008, 0x007C, 0x2674, 0x03, 0x00};

// When the program starts the picture is 60 dots before line 0: line 153,
// dot 396, LY already reading 0.
constexpr int dots_to_line_0 = 60;

constexpr int32_t header_checksum = 0x014D;

bool colour_cartridge() {
    return (rom_bank0[0x0143] & 0x80) != 0;
}

// The colour console's start-up program leaves B as the sum of the title's
// bytes for Nintendo's own monochrome cartridges, and HL after it.
void compatible_registers() {
    const bool nintendo =
        rom_bank0[0x014B] == 0x01 ||
        (rom_bank0[0x014B] == 0x33 && rom_bank0[0x0144] == '0' && rom_bank0[0x0145] == '1');
    uint8_t sum = 0;
    for (int32_t address = 0x0134; address <= 0x0143; ++address) {
        sum = static_cast<uint8_t>(sum + rom_bank0[address]);
    }
    B = nintendo ? sum : 0;
    if (B == 0x43 || B == 0x58) {
        HL.value = 0x991A;
    }
}

void set_registers(const start_up_state& start) {
    BC.value = start.bc;
    DE.value = start.de;
    HL.value = start.hl;
    SP.value = 0xFFFE;
    PC.value = 0x0100;
    if (colour_model) {
        AF.value = 0x1180;
    } else {
        // H and C follow the header checksum the program verified.
        AF.value = rom_bank0[header_checksum] == 0 ? 0x0180 : 0x01B0;
    }
    if (colour_model && !colour_mode) {
        compatible_registers();
    }
    unpack_flags();
    ime = 0;
    halted = 0;
}

// The colours the colour console's start-up program gives a monochrome game
// it does not know: BGP's and both object palettes' four shades.
constexpr int32_t compatible_background[4] = {0x7FFF, 0x1BEF, 0x6180, 0x0000};
constexpr int32_t compatible_objects[4] = {0x7FFF, 0x421F, 0x1CF2, 0x0000};

void set_io_registers(const start_up_state& start) {
    io_page[P1] = 0xCF;
    io_page[NR34] = 0xBF;  // the start-up program leaves its length switch off
    io_page[IF] = interrupt_vblank;
    io_page[DMA] = start.dma;
    io_page[IE] = 0x00;
    io_page[KEY1] = 0x00;
    io_page[VBK] = 0x00;
    io_page[SVBK] = 0x00;
    wram_bank = 0;
    // The palettes, the LCDC flags and the banks follow the model.
    use_model_shades();
    for (const io_register offset : {BGP, OBP0, OBP1, LCDC}) {
        write_io_register(offset, io_page[offset]);
    }
}

// The monochrome start-up program leaves its logo in video RAM: the header's
// 48 bytes of 4x4 tiles, each pixel doubled, as tiles 1-24 with the (R) mark
// as tile 25, shown from map rows 8 and 9.
constexpr uint8_t registered_mark[8] = {0x3C, 0x42, 0xB9, 0xA5, 0xB9, 0xA5, 0x42, 0x3C};
constexpr int32_t logo_tiles = 0x0010;
constexpr int32_t logo_map = 0x1904;
constexpr int32_t mark_tile = 25;

// A nibble's four pixels, each made two.
uint8_t doubled(int nibble) {
    int wide = 0;
    for (int bit = 0; bit < 4; ++bit) {
        wide |= ((nibble >> bit) & 1) * (3 << (bit * 2));
    }
    return static_cast<uint8_t>(wide);
}

void leave_logo() {
    int32_t row = logo_tiles;  // one colour plane only: every other byte
    for (int32_t address = 0x0104; address < 0x0134; ++address) {
        for (const int nibble : {rom_bank0[address] >> 4, rom_bank0[address] & 15}) {
            vram[row] = vram[row + 2] = doubled(nibble);
            row += 4;
        }
    }
    for (const uint8_t line : registered_mark) {
        vram[row] = line;
        row += 2;
    }
    for (int tile = 0; tile < 12; ++tile) {
        vram[logo_map + tile] = static_cast<uint8_t>(tile + 1);
        vram[logo_map + 0x20 + tile] = static_cast<uint8_t>(tile + 13);
    }
    vram[logo_map + 12] = mark_tile;
}

void reset_units(const start_up_state& start) {
    reset_clock();
    reset_timer(start.counter);
    reset_serial(start.sc);
    reset_sound_clock();
    reset_oam_dma();
    reset_vram_dma();
    reset_lcd(dots_to_line_0);
    reset_line_drawing();
    reset_joypad_port();
    reset_sm83();
    skip_counter = 0;  // the first frame is drawn, whatever ran before
}

}  // namespace

void power_on_accurate_machine(model_choice model, bool keep_cartridge_ram) {
    power_on_console();
    power_on_slot(keep_cartridge_ram);
    colour_model =
        model == model_choice::colour || (model == model_choice::automatic && colour_cartridge());
    colour_mode = colour_model && colour_cartridge();
    const start_up_state& start = !colour_model ? monochrome_start
                                  : colour_mode ? colour_start
                                                : colour_compatible_start;
    set_registers(start);
    set_io_registers(start);
    if (!colour_model) {
        leave_logo();
    }
    reset_units(start);
}

void use_model_shades() {
    use_palette_shades();
    if (colour_model && !colour_mode) {
        std::copy(std::begin(compatible_background), std::end(compatible_background),
                  monochrome_shades[0]);
        for (int32_t* shades : {monochrome_shades[1], monochrome_shades[2]}) {
            std::copy(std::begin(compatible_objects), std::end(compatible_objects), shades);
        }
    }
}

namespace {

void finish_accurate_frame() {
    lcd.frame_done = 0;
    follow_joypad();
    finish_frame();
}

}  // namespace

void run_accurate_frame() {
    while (!lcd.frame_done) {
        cpu_step();
    }
    finish_accurate_frame();
}

void step_accurate_machine() {
    cpu_step();
    if (lcd.frame_done) {
        finish_accurate_frame();
    }
}

void step_accurate_instruction() {
    cpu_step();
    lcd.frame_done = 0;
}

}  // namespace tov
