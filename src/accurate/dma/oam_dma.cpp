#include "accurate/dma/oam_dma.h"

#include <algorithm>

#include "accurate/clock/clock.h"
#include "accurate/memory/memory_peek.h"
#include "machine/memory.h"

namespace tov {

oam_dma_state oam_dma;

namespace {

constexpr uint64_t m_cycle = 4;
constexpr int transfer_bytes = 160;

bool running() {
    return oam_dma.copied < transfer_bytes;
}

uint64_t last_at() {
    return oam_dma.first_at + (transfer_bytes - 1) * m_cycle;
}

// Pages E0-FF read work RAM, as its echo does.
int32_t source_address(int index) {
    const int32_t page = oam_dma.page >= 0xE0 ? oam_dma.page - 0x20 : oam_dma.page;
    return page << 8 | index;
}

// Copies the bytes due up to `moment`.
void copy_to(uint64_t moment) {
    if (!running() || moment < oam_dma.first_at) {
        return;
    }
    const uint64_t due =
        std::min<uint64_t>((moment - oam_dma.first_at) / m_cycle + 1, transfer_bytes);
    for (; oam_dma.copied < due; ++oam_dma.copied) {
        oam[oam_dma.copied] = accurate_peek(source_address(oam_dma.copied));
    }
}

// The bus an address is on: video RAM has its own, and work RAM shares the
// cartridge's on the monochrome model only.
enum class memory_bus { cartridge, work_ram, video };

memory_bus bus_of(int32_t address, bool colour) {
    if (address >= 0x8000 && address < 0xA000) {
        return memory_bus::video;
    }
    if (address >= 0xC000 && colour) {
        return memory_bus::work_ram;
    }
    return memory_bus::cartridge;
}

}  // namespace

void reset_oam_dma() {
    oam_dma = {};
    schedule(event_oam_dma, never);
}

void start_oam_dma(uint8_t page) {
    const uint64_t now = machine_clock.now;
    const bool was_blocking = running() && now >= oam_dma.blocked_from;
    copy_to(now + m_cycle);
    const uint64_t blocked_from = was_blocking ? oam_dma.blocked_from : now + 2 * m_cycle;
    oam_dma.page = page;
    oam_dma.copied = 0;
    oam_dma.first_at = now + 2 * m_cycle;
    oam_dma.blocked_from = blocked_from;
    schedule(event_oam_dma, last_at() + m_cycle);
}

bool oam_dma_blocking() {
    const uint64_t now = machine_clock.now;
    return running() && now >= oam_dma.blocked_from && now <= last_at();
}

bool oam_dma_conflicts(int32_t address, bool colour) {
    if (address >= 0xFE00) {
        return address < 0xFF00;  // OAM, and the area after it
    }
    return bus_of(address, colour) == bus_of(source_address(0), colour);
}

uint8_t oam_dma_bus_byte() {
    const uint64_t now = machine_clock.now;
    const uint64_t index = now < oam_dma.first_at ? 0 : (now - oam_dma.first_at) / m_cycle;
    return accurate_peek(
        source_address(static_cast<int>(std::min<uint64_t>(index, transfer_bytes - 1))));
}

void catch_up_oam_dma() {
    copy_to(machine_clock.now);
}

void oam_dma_event(uint64_t when) {
    copy_to(when);
    schedule(event_oam_dma, never);
}

void settle_oam_dma() {
    oam_dma.copied = std::min<uint8_t>(oam_dma.copied, transfer_bytes);
    oam_dma.first_at = settled_moment(oam_dma.first_at);
    oam_dma.blocked_from = settled_moment(oam_dma.blocked_from);
}

}  // namespace tov
