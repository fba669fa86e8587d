#include "accurate/bus/bus.h"

#include "accurate/clock/clock.h"
#include "accurate/dma/oam_dma.h"
#include "accurate/video/lcd.h"
#include "cartridge/slot.h"
#include "machine/cpu_state.h"
#include "machine/memory.h"
#include "memory/console_memory.h"
#include "memory/freeze_list.h"

namespace tov {

namespace {

bool cartridge_ram(int32_t address) {
    return address >= 0xA000 && address < 0xC000;
}

bool video_ram(int32_t address) {
    return address >= 0x8000 && address < 0xA000;
}

bool object_memory(int32_t address) {
    return address >= 0xFE00 && address < 0xFEA0;
}

// Whether the picture keeps the CPU out of `address` now.
bool locked_by_picture(int32_t address, bool write) {
    return (video_ram(address) && vram_locked(write)) ||
           (object_memory(address) && oam_locked(write));
}

// Memory below the I/O page, as the CPU sees it when no DMA holds the bus.
uint8_t read_memory_area(int32_t address) {
    if (address < 0x8000) {
        return read_rom(address);
    }
    if (cartridge_ram(address)) {
        return read_cartridge_ram(address);
    }
    if (locked_by_picture(address, false)) {
        return 0xFF;
    }
    return read_console_memory(address);
}

uint8_t read_plainly(int32_t address) {
    if (address < 0xFF00) {
        return read_memory_area(address);
    }
    if (address >= 0xFF80 && address < 0xFFFF) {
        return io_page[address - 0xFF00];
    }
    return read_port(address - 0xFF00);
}

uint8_t frozen_or_read(int32_t address) {
    for (int32_t i = 0; i < freeze_count; ++i) {
        if (freeze_table[i].address == address) {
            return static_cast<uint8_t>(freeze_table[i].value);
        }
    }
    if (oam_dma_blocking() && oam_dma_conflicts(address, colour_model)) {
        return address >= 0xFE00 ? 0xFF : oam_dma_bus_byte();
    }
    return read_plainly(address);
}

bool oam_dma_running() {
    return machine_clock.due[event_oam_dma] != never;
}

void write_memory_area(int32_t address, uint8_t value) {
    if (address < 0x8000) {
        catch_up_oam_dma();  // its source may be the bank that changes
        write_controller(address, value);
    } else if (cartridge_ram(address)) {
        write_cartridge_ram(address, value);
    } else if (!locked_by_picture(address, true)) {
        write_console_memory(address, value);
    }
}

}  // namespace

uint8_t bus_read(int32_t address) {
    if (freeze_count == 0 && !oam_dma_running()) {
        return read_plainly(address);
    }
    return frozen_or_read(address);
}

void bus_write(int32_t address, uint8_t value) {
    if (address >= 0xFF00) {
        if (address >= 0xFF80 && address < 0xFFFF) {
            io_page[address - 0xFF00] = value;
        } else {
            write_port(address - 0xFF00, value);
        }
        return;
    }
    if (oam_dma_running() && oam_dma_blocking() && oam_dma_conflicts(address, colour_model)) {
        return;
    }
    write_memory_area(address, value);
}

}  // namespace tov
