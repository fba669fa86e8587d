// The colour model's DMA to video RAM. A general transfer (HDMA5 bit 7
// clear) copies all its blocks of 16 bytes at once; an HBlank transfer
// copies one block at the start of each horizontal blank of lines 0-143,
// and one at once when it starts in a horizontal blank or with the LCD off,
// or when the LCD goes off outside one. The CPU waits while a block is
// copied: 8 M-cycles a block at single speed, 16 in double speed. A halted
// CPU holds the transfer: the block of a horizontal blank that began while it
// was halted comes when it wakes in that blank. A transfer stops when its
// destination passes 9FFF.
#pragma once

#include <cstdint>

namespace tov {

struct vram_dma_state {
    uint16_t source = 0;       // the next byte's address
    uint16_t destination = 0;  // the next byte's offset in video RAM's bank, 0000-1FFF
    uint8_t blocks_left = 0;
    uint8_t hblank = 0;  // 1 while an HBlank transfer runs
    uint8_t held = 0;    // a block waits for the halted CPU
};
extern vram_dma_state vram_dma;

void reset_vram_dma();

uint8_t read_hdma5();

// Starts or stops a transfer; the CPU's wait, in cycles.
uint64_t write_hdma5(uint8_t value);

// A horizontal blank began (or the LCD went off): the next block of an
// HBlank transfer, unless the CPU is halted; the CPU's wait, in cycles.
uint64_t vram_dma_hblank(bool cpu_halted);

// The CPU woke: the block held for it, when its horizontal blank lasts.
uint64_t vram_dma_woken(bool in_horizontal_blank);

void settle_vram_dma();

}  // namespace tov
