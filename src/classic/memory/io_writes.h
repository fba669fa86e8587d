// TOV's own machine's writes to the I/O page: its serial port, timer, STAT
// and LY, DMA, speed switch and VRAM transfer, and the sound registers to
// the voices and the cycle-timed sound; the rest as both machines write them.
#pragma once

#include <cstdint>

namespace tov {

// 1 while an HBlank-mode VRAM transfer is reported as running.
extern uint8_t hdma_active;

// A write to the I/O register at io_page[offset], offset 0x00-0xFF.
void write_classic_register(int32_t offset, uint8_t value);

}  // namespace tov
