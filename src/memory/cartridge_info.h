// Display texts decoded from the cartridge header. Every operation writes its
// text into one shared buffer and returns it; a code that its table lacks
// leaves the buffer as the previous call left it.
#pragma once

namespace tov {

const char* describe_title();
const char* describe_colour();  // also sets colour_mode
const char* describe_type();
const char* describe_rom_size();
const char* describe_ram_size();
const char* describe_destination();

}  // namespace tov
