#include "machine/shell_flags.h"

namespace tov {

uint8_t rom_loaded;
uint8_t emulation_running;
uint8_t zoom = 2;

}  // namespace tov
