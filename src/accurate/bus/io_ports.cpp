// The accurate machine's I/O registers: each read as the console returns it,
// its unused bits as 1 and the registers the model lacks as FF, and each
// write handed to its unit at the M-cycle it happens.
#include <algorithm>

#include "accurate/bus/bus.h"
#include "accurate/bus/events.h"
#include "accurate/dma/oam_dma.h"
#include "accurate/dma/vram_dma.h"
#include "accurate/timer/serial.h"
#include "accurate/timer/sound_clock.h"
#include "accurate/timer/timer.h"
#include "accurate/video/lcd.h"
#include "apu/apu.h"
#include "machine/cpu_state.h"
#include "machine/memory.h"
#include "machine/registers.h"
#include "memory/io_registers.h"
#include "memory/joypad.h"

namespace tov {

namespace {

constexpr int32_t OPRI = 0x6C;
constexpr int32_t RP = 0x56;

bool sound_port(int32_t offset) {
    return offset >= NR10 && offset < LCDC;
}

// The registers whose reads and writes the two machines share: the picture's
// scroll, window and palettes, and the colour model's banks and palette data.
bool shared_register(int32_t offset) {
    switch (offset) {
        case SCY:
        case SCX:
        case BGP:
        case OBP0:
        case OBP1:
        case WY:
        case WX: return true;
        case VBK:
        case HDMA1:
        case HDMA2:
        case HDMA3:
        case HDMA4:
        case BCPS:
        case BCPD:
        case OCPS:
        case OCPD:
        case SVBK: return colour_mode == 1;
        default: return false;
    }
}

// BCPD and OCPD read the byte of the colour table their index register names.
uint8_t palette_byte(int index_register, const int32_t* table) {
    const uint8_t index = io_page[index_register];
    const int32_t word = table[((index >> 3) & 7) * 4 + ((index >> 1) & 3)];
    return static_cast<uint8_t>((index & 1) ? word >> 8 : word);
}

// A write to BCPD or OCPD moves its index on when its bit 7 asks.
void step_palette_index(int index_register) {
    uint8_t& index = io_page[index_register];
    if (index & 0x80) {
        index = static_cast<uint8_t>((index & 0xC0) | ((index + 1) & 0x3F));
    }
}

uint8_t read_colour_port(int32_t offset) {
    switch (offset) {
        case KEY1: return static_cast<uint8_t>(0x7E | (io_page[KEY1] & 0x81));
        case VBK: return static_cast<uint8_t>(0xFE | io_page[VBK]);
        case HDMA5: return read_hdma5();
        case RP: return static_cast<uint8_t>(0x3E | (io_page[RP] & 0xC1));
        case BCPS: return static_cast<uint8_t>(0x40 | io_page[BCPS]);
        case BCPD: return vram_locked(false) ? 0xFF : palette_byte(BCPS, bg_colours);
        case OCPS: return static_cast<uint8_t>(0x40 | io_page[OCPS]);
        case OCPD: return vram_locked(false) ? 0xFF : palette_byte(OCPS, obj_colours);
        case OPRI: return static_cast<uint8_t>(0xFE | io_page[OPRI]);
        case SVBK: return static_cast<uint8_t>(0xF8 | io_page[SVBK]);
        case 0x72:
        case 0x73:
        case 0x74: return io_page[offset];
        case 0x75: return static_cast<uint8_t>(0x8F | io_page[offset]);
        case 0x76:
        case 0x77: catch_up_sound(); return apu_read_levels(offset);
        default: return 0xFF;
    }
}

void write_colour_port(int32_t offset, uint8_t value) {
    switch (offset) {
        case KEY1:
            io_page[KEY1] = static_cast<uint8_t>((io_page[KEY1] & 0x80) | (value & 1));
            break;
        case HDMA5:
            hold_cpu(write_hdma5(value));
            if ((value & 0x80) && (!lcd.on || in_horizontal_blank())) {
                hold_cpu(vram_dma_hblank(false));
            }
            break;
        case RP: io_page[RP] = value & 0xC1; break;
        case OPRI: io_page[OPRI] = value & 1; break;
        case 0x72:
        case 0x73:
        case 0x74: io_page[offset] = value; break;
        case 0x75: io_page[offset] = value & 0x70; break;
        default: break;
    }
}

uint8_t read_sound_port(int32_t offset) {
    catch_up_sound();
    return apu_read(offset);
}

void write_sound_port(int32_t offset, uint8_t value) {
    catch_up_sound();
    apu_write(offset, value);
}

}  // namespace

joypad_state joypad_port;

void follow_joypad() {
    read_joypad();
    const uint8_t lines = io_page[P1] & 0x0F;
    if (joypad_port.lines & ~lines) {
        io_page[IF] |= interrupt_joypad;
    }
    joypad_port.lines = lines;
}

void reset_joypad_port() {
    joypad_port = {};
}

void settle_joypad_port() {
    joypad_port.lines &= 0x0F;
}

uint8_t read_port(int32_t offset) {
    if (sound_port(offset)) {
        return read_sound_port(offset);
    }
    switch (offset) {
        case P1: follow_joypad(); return static_cast<uint8_t>(0xC0 | io_page[P1]);
        case SB: return read_sb();
        case SC: return read_sc(colour_mode == 1);
        case DIV: return read_div();
        case TIMA: return read_tima();
        case TMA: return timer.tma;
        case TAC: return static_cast<uint8_t>(0xF8 | timer.tac);
        case IF: return static_cast<uint8_t>(0xE0 | io_page[IF]);
        case STAT: return read_stat();
        case LY: return read_ly();
        case LCDC:
        case SCY:
        case SCX:
        case LYC:
        case DMA:
        case BGP:
        case OBP0:
        case OBP1:
        case WY:
        case WX:
        case IE: return io_page[offset];
        default: return colour_mode ? read_colour_port(offset) : 0xFF;
    }
}

void write_port(int32_t offset, uint8_t value) {
    if (sound_port(offset)) {
        write_sound_port(offset, value);
        return;
    }
    if (shared_register(offset)) {
        // Drawing holds the colour palettes; the index still moves on.
        if ((offset == BCPD || offset == OCPD) && vram_locked(true)) {
            step_palette_index(offset == BCPD ? BCPS : OCPS);
            return;
        }
        picture_register_writing(offset, value);
        write_io_register(offset, value);
        if (offset == WX || offset == WY) {
            window_register_written();
        }
        return;
    }
    switch (offset) {
        case P1:
            io_page[P1] = static_cast<uint8_t>((io_page[P1] & 0xCF) | (value & 0x30));
            follow_joypad();
            break;
        case SB: write_sb(value); break;
        case SC: write_sc(value, colour_mode == 1); break;
        case DIV: write_div(); break;
        case TIMA: write_tima(value); break;
        case TMA: write_tma(value); break;
        case TAC: write_timer_control(value); break;
        case IF: io_page[IF] = value & 0x1F; break;
        case LCDC: {
            const bool switched_off = lcd.on && !(value & 0x80);
            const bool blanking = in_horizontal_blank();
            picture_register_writing(LCDC, value);
            write_io_register(LCDC, value);
            lcd_switch((value & 0x80) != 0);
            window_register_written();
            if (switched_off && !blanking && colour_mode) {
                hold_cpu(vram_dma_hblank(false));
            }
            break;
        }
        case STAT: stat_written(value, colour_model == 0); break;
        case LYC: lyc_written(value); break;
        case DMA:
            io_page[DMA] = value;
            start_oam_dma(value);
            break;
        case IE: io_page[IE] = value; break;
        default:
            if (colour_mode) {
                write_colour_port(offset, value);
            }
            break;
    }
}

}  // namespace tov
