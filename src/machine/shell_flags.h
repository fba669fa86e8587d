// What the front end has done with the machine: whether a cartridge is
// loaded, whether it runs, and the zoom the picture is presented at.
#pragma once

#include <cstdint>

namespace tov {

extern uint8_t rom_loaded;         // 0/1
extern uint8_t emulation_running;  // 0/1
extern uint8_t zoom;               // 1-4

}  // namespace tov
