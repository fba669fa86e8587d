#include "accurate/memory/memory_peek.h"

#include "cartridge/slot.h"
#include "memory/console_memory.h"

namespace tov {

uint8_t accurate_peek(int32_t address) {
    const bool cartridge = address < 0x8000 || (address >= 0xA000 && address < 0xC000);
    return address >= 0 && cartridge ? peek_slot(address) : read_console_memory(address);
}

}  // namespace tov
