// The accurate machine's object-memory DMA: a write to FF46 copies 160 bytes
// from the page it names to OAM, one an M-cycle, after one M-cycle of start
// delay. While it runs the CPU cannot use the bus it copies over (on the
// monochrome model, anything but high RAM and the I/O registers): reads
// there see the byte being copied, or FF in OAM, and writes are lost. A new
// write restarts it; the transfer under way goes on until the new one starts.
#pragma once

#include <cstdint>

namespace tov {

struct oam_dma_state {
    uint8_t page = 0;           // the source page, as written to FF46
    uint8_t copied = 160;       // bytes of the transfer already in OAM
    uint64_t first_at = 0;      // the M-cycle that copies byte 0
    uint64_t blocked_from = 0;  // the CPU is shut out from here to the end
};
extern oam_dma_state oam_dma;

void reset_oam_dma();

void start_oam_dma(uint8_t page);

// Whether the transfer holds the bus in the M-cycle that ends now.
bool oam_dma_blocking();

// Whether the CPU's access to `address` meets the transfer, on the model.
bool oam_dma_conflicts(int32_t address, bool colour);

// The byte the transfer reads in this M-cycle, as a conflicting read sees it.
uint8_t oam_dma_bus_byte();

// Copies what the transfer has copied by now (before OAM is looked at).
void catch_up_oam_dma();

// The transfer's end.
void oam_dma_event(uint64_t when);

void settle_oam_dma();

}  // namespace tov
