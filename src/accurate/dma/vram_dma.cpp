#include "accurate/dma/vram_dma.h"

#include <algorithm>

#include "accurate/clock/clock.h"
#include "accurate/memory/memory_peek.h"
#include "machine/memory.h"
#include "machine/registers.h"
#include "memory/console_memory.h"

namespace tov {

vram_dma_state vram_dma;

namespace {

constexpr int block_bytes = 16;

uint64_t block_wait() {
    return uint64_t{32} << machine_clock.double_speed;
}

// One block; false when the destination ran past the end of video RAM.
bool copy_block() {
    for (int i = 0; i < block_bytes; ++i) {
        vram[vram_bank_offset() + vram_dma.destination] = accurate_peek(vram_dma.source);
        vram_dma.source = static_cast<uint16_t>(vram_dma.source + 1);
        vram_dma.destination = static_cast<uint16_t>(vram_dma.destination + 1);
        if (vram_dma.destination >= vram_bank_size) {
            return false;
        }
    }
    return true;
}

uint64_t copy_blocks(int count) {
    uint64_t wait = 0;
    for (int block = 0; block < count && vram_dma.blocks_left > 0; ++block) {
        --vram_dma.blocks_left;
        wait += block_wait();
        if (!copy_block()) {
            vram_dma.blocks_left = 0;
        }
    }
    if (vram_dma.blocks_left == 0) {
        vram_dma.hblank = 0;
    }
    return wait;
}

}  // namespace

void reset_vram_dma() {
    vram_dma = {};
}

uint8_t read_hdma5() {
    if (vram_dma.blocks_left == 0) {
        return 0xFF;
    }
    const uint8_t left = static_cast<uint8_t>(vram_dma.blocks_left - 1);
    return vram_dma.hblank ? left : static_cast<uint8_t>(0x80 | left);
}

uint64_t write_hdma5(uint8_t value) {
    if (vram_dma.hblank && !(value & 0x80)) {
        vram_dma.hblank = 0;  // stopped: the blocks left stay readable
        return 0;
    }
    vram_dma.source = static_cast<uint16_t>((io_page[HDMA1] << 8 | io_page[HDMA2]) & 0xFFF0);
    vram_dma.destination = static_cast<uint16_t>((io_page[HDMA3] << 8 | io_page[HDMA4]) & 0x1FF0);
    vram_dma.blocks_left = static_cast<uint8_t>((value & 0x7F) + 1);
    vram_dma.hblank = (value & 0x80) ? 1 : 0;
    return vram_dma.hblank ? 0 : copy_blocks(vram_dma.blocks_left);
}

uint64_t vram_dma_hblank(bool cpu_halted) {
    if (!vram_dma.hblank) {
        return 0;
    }
    vram_dma.held = cpu_halted ? 1 : 0;
    return cpu_halted ? 0 : copy_blocks(1);
}

uint64_t vram_dma_woken(bool in_horizontal_blank) {
    const bool held = vram_dma.held != 0;
    vram_dma.held = 0;
    return held && in_horizontal_blank && vram_dma.hblank ? copy_blocks(1) : 0;
}

void settle_vram_dma() {
    vram_dma.destination &= vram_bank_size - 1;
    vram_dma.blocks_left = std::min<uint8_t>(vram_dma.blocks_left, 0x80);
    vram_dma.hblank = vram_dma.hblank ? 1 : 0;
    vram_dma.held = vram_dma.held ? 1 : 0;
}

}  // namespace tov
