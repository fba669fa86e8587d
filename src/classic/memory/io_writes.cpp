#include "classic/memory/io_writes.h"

#include "apu/apu.h"
#include "classic/memory/memory_map.h"
#include "classic/timer/timer.h"
#include "machine/cpu_state.h"
#include "machine/registers.h"
#include "memory/io_registers.h"

namespace tov {

uint8_t hdma_active;

namespace {

// Sprite memory from any page, through the CPU's read path.
void oam_dma(uint8_t value) {
    const int32_t source = value * 256;
    for (int32_t i = 0; i < oam_size; ++i) {
        oam[i] = read_byte(source + i);
    }
}

// The whole transfer happens at once, in both modes. An HBlank-mode transfer
// is then reported as running until the run loop's next line change.
void vram_dma(uint8_t value) {
    io_page[HDMA5] = value;
    const int32_t length = ((value & 0x7F) + 1) * 16;
    const int32_t source = io_page[HDMA1] << 8 | (io_page[HDMA2] & 0xF0);
    const int32_t destination = ((io_page[HDMA3] & 0x1F) | 0x80) << 8 | (io_page[HDMA4] & 0xF0);
    for (int32_t i = 0; i < length; ++i) {
        write_byte(destination + i, peek_byte(source + i));
    }
    hdma_active = 0;
    if (value & 0x80) {
        hdma_active = 1;
        io_page[HDMA5] = 0x80;
    } else {
        io_page[HDMA5] = 0xFF;
    }
}

}  // namespace

void write_classic_register(int32_t offset, uint8_t value) {
    offset &= 0xFF;
    if (write_sound_io(offset, value)) {
        return;
    }
    switch (offset) {
        case SB:
        case SC:  // no serial link: both read back FF
            io_page[SB] = 0xFF;
            io_page[SC] = 0xFF;
            break;
        case DIV: {
            const uint8_t before = io_page[DIV];
            io_page[DIV] = 0x00;
            apu_div_written(before);
            break;
        }
        case TAC:
            io_page[TAC] = value;
            write_tac(value);
            break;
        case STAT:  // the mode bits stay, the coincidence bit clears
            io_page[STAT] = static_cast<uint8_t>((io_page[STAT] & 0x03) | (value & 0xF8));
            break;
        case LY: io_page[LY] = 0x00; break;
        case DMA:
            io_page[DMA] = value;
            oam_dma(value);
            break;
        case KEY1:  // only the switch request is writable
            io_page[KEY1] = static_cast<uint8_t>((io_page[KEY1] & 0xFE) | (value & 0x01));
            break;
        case HDMA5:
            if (colour_mode) {
                vram_dma(value);
            }
            break;
        default: write_io_register(offset, value); break;
    }
}

}  // namespace tov
